// Feeds arbitrary bytes to the opening scan, the encoding detection, the line model and
// every rule that changes a rules file. The first line of the input chooses the ID or
// key the rules look for, the rest is the rules file. Checks the properties every rule
// keeps: an edit that changes nothing gives back the same bytes, lines are never lost,
// and what an add wrote a delete takes away again.
#include "document/IniText.h"
#include "document/RulesScan.h"
#include "document/TextEncoding.h"
#include "records/RecordIds.h"
#include "records/Registry.h"
#include "records/TriggerList.h"

#include <algorithm>
#include <cstdlib>

using namespace tarvok;

namespace {

void check(bool ok) {
    if (!ok)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView all(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const qsizetype nl = all.indexOf('\n');
    const QByteArray key = (nl < 0 ? all : all.first(nl)).toByteArray();
    const QByteArrayView content = nl < 0 ? QByteArrayView() : all.sliced(nl + 1);

    (void)scanRules(content);
    const TextCodec codec(detectEncoding(content));
    (void)codec.decode(content);
    (void)recordIdInUse(content, key);

    // The line model gives back every byte, and an empty edit list changes nothing.
    const IniText text(content);
    QByteArray joined = text.hasBom() ? QByteArray("\xEF\xBB\xBF") : QByteArray();
    for (qsizetype i = 0; i < text.lineCount(); ++i)
        joined += text.text(i).toByteArray() + text.lineEnd(i).toByteArray();
    check(joined == content);
    check(applyEdits(text, IniEdits()) == content.toByteArray());
    const IniText::Range span = sectionSpan(content, key);
    check(span.begin >= 0 && span.begin + span.length <= content.size());

    // Nothing is removed for an empty ID; what an add wrote, a delete finds.
    check(removeRegistryEntry(content, "TaskForces", {}).content == content.toByteArray());
    if (const std::optional<RegistryAddition> added =
            addRegistryEntry(content, "TaskForces", key, 3, {"Name=", "Group=-1"})) {
        const RegistryRemoval removed = removeRegistryEntry(added->content, "TaskForces", key);
        // An ID of letters, digits and "-" reads back as itself.
        const bool plain = !key.isEmpty() && std::all_of(key.begin(), key.end(), [](char c) {
            return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') ||
                   c == '-';
        });
        check(!plain || removed.found());
    }
    if (const std::optional<QByteArray> withTrigger = addTriggerEntry(content, key))
        (void)removeTriggerEntry(*withTrigger, key);
    return 0;
}
