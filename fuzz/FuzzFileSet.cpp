// Feeds arbitrary bytes to the joined format of several files: a content is split into its
// files (markers, left-out parts, line ends and byte-order marks taken back), the places of its
// lines are named, and the files are transcoded between the two encodings. Checks that what
// split gives joins back to what it was split from, where the join is its own, and that a
// transcoded text always comes back byte for byte.
#include "document/FileSet.h"
#include "document/IniText.h"
#include "document/TextEncoding.h"

#include "FuzzCheck.h"

using namespace tarvok;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArrayView content(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const IniText text(content);
    const fileset::Origins origins(text);
    for (qsizetype i = 0; i < text.lineCount(); i += 1 + text.lineCount() / 64) {
        const fileset::Place p = origins.place(i);
        check(p.part >= 0 && p.part < origins.partCount() && p.line >= 1);
    }
    (void)fileset::firstFileLast(text);
    if (std::optional<std::vector<fileset::Part>> parts = fileset::split(content, "a.ini")) {
        check(!parts->empty());
        // A content that split and join agree on comes back whole, and splits the same again.
        const QByteArray again = fileset::join(*parts);
        if (fileset::joinsTo(*parts, content))
            check(again == content);
        const std::optional<std::vector<fileset::Part>> twice = fileset::split(again, "a.ini");
        check(twice && *twice == *parts);
        // Left-out parts take the bytes of the parts of their names.
        std::vector<fileset::Part> given = *parts;
        for (fileset::Part& g : given)
            g.omitted = false;
        check(fileset::fill(*parts, given));
    }
    for (const auto& [from, to] :
         {std::pair{Encoding::Gbk, Encoding::Utf8}, std::pair{Encoding::Utf8, Encoding::Gbk}})
        if (const std::optional<QByteArray> there = transcode(content, from, to))
            check(transcode(*there, to, from) == content.toByteArray());
    return 0;
}
