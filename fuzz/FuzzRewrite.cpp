// Feeds arbitrary bytes to the opening scan, the encoding detection and every rewrite
// rule. The first line of the input chooses the key or ID the rules look for, the rest
// is the rules file. Checks the properties every rule keeps: lines the rule does not
// touch come back byte for byte, in order, each followed by CR LF.
#include "document/Lines.h"
#include "document/Rewrite.h"
#include "document/RulesScan.h"
#include "document/TextEncoding.h"
#include "records/Registry.h"

#include <cstdlib>

using namespace tarvok;

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

// Every line of in, with CR LF, in order: what a rule that changes nothing must give.
QByteArray normalised(QByteArrayView content) {
    return rewriteLines(content, [](QByteArrayView l, LineCursor&, LineSink& o) { o.write(l); });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype nl = all.indexOf('\n');
    const QByteArray key = (nl < 0 ? all : all.first(nl)).toByteArray();
    const QByteArrayView content = nl < 0 ? QByteArrayView() : all.sliced(nl + 1);

    (void)scanRules(content);
    (void)detectEncoding(content);
    const TextCodec codec(detectEncoding(content));
    (void)codec.decode(content);

    const QByteArray same = normalised(content);
    check(rewriteLines(same, RemoveTriggerLines({})) == same);
    check(rewriteLines(same, ReplaceSectionBody(key, [](const std::vector<QByteArrayView>& old) {
              std::vector<QByteArray> b;
              for (QByteArrayView v : old)
                  b.push_back(v.toByteArray());
              return b;
          })) == same);
    check(rewriteLines(same, ReplaceTriggerLine(key, [](QByteArrayView old) {
              return old.toByteArray();
          })) == same);
    (void)rewriteLines(content, RemoveTriggerLines(key));
    (void)rewriteLines(content, InsertAfterHeader(key, "N=n,1"));

    RegistryAddition added;
    const QByteArray withEntry =
        rewriteLines(content, AddRegistryEntry("TaskForces", key, 3, {"Name=", "Group=-1"}, &added));
    check(added.count == 3 + added.headersFound);
    RegistryDeletion removed;
    (void)rewriteLines(withEntry, DeleteRegistryEntry("TaskForces", key, added.count, &removed));
    check(removed.count <= added.count);
    RegistryDeletion none;
    check(rewriteLines(same, DeleteRegistryEntry("TaskForces", {}, 5, &none)) == same);
    return 0;
}
