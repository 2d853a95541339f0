// Feeds a hostile pair of an AI file and a game rules file (with the files it includes) to the
// mod's rules reading and the whole-file check. The input is the AI file, a NUL byte, then the
// rules file and its included files, separated by NUL bytes, read in that order. Checks that
// the check runs with and without the mod's types, and that every problem it gives names a
// line of the AI file, in the order of the lines of each file.
#include "catalogues/ModRules.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"
#include "records/FileCheck.h"

#include <QHash>

#include <deque>

#include "FuzzCheck.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QList<QByteArray> files = input.split('\0').mid(0, 6);
    const QByteArray& ai = files[0];
    std::deque<IniText> texts;
    std::deque<TextCodec> codecs;
    std::vector<modrules::RulesFile> rules;
    for (qsizetype i = 1; i < files.size(); ++i) {
        texts.emplace_back(files[i]);
        codecs.emplace_back(detectEncoding(files[i]));
        rules.push_back({&texts.back(), &codecs.back()});
    }
    const modrules::DeclaredTypes declared = modrules::readTypes(rules);
    filecheck::ModTypes mod;
    for (const QStringList& list : declared.lists)
        for (const QString& id : list)
            mod.ids.insert(id);
    mod.buildingCount = declared.lists[modrules::Buildings].size();
    mod.world = &declared.world;
    const IniText text(ai);
    const TextCodec codec(detectEncoding(ai));
    for (const filecheck::CheckCatalogues& with :
         {filecheck::CheckCatalogues{}, filecheck::CheckCatalogues{{}, mod}}) {
        const std::vector<filecheck::Problem> problems = filecheck::checkRules(text, codec, with);
        QHash<QString, qsizetype> last; // of each file a marker line in the AI file starts
        for (const filecheck::Problem& p : problems) {
            check(p.line >= last.value(p.file) && p.line <= text.lineCount() + 1);
            last.insert(p.file, p.line);
        }
    }
    return 0;
}
