#include "records/Registry.h"

#include "document/IniText.h"

#include <algorithm>

namespace tarvok {
namespace {

using Kind = IniText::Kind;

// A key of decimal digits only, as a number. Other keys, and numbers of more than 18
// digits, have none: they are never counted on, nor renumbered.
std::optional<long long> keyNumber(QByteArrayView key) {
    if (key.isEmpty())
        return std::nullopt;
    long long n = 0;
    for (const char c : key) {
        if (c < '0' || c > '9' || n >= 100'000'000'000'000'000LL)
            return std::nullopt;
        n = n * 10 + (c - '0');
    }
    return n;
}

// Where line i's key lies in its text, and the blanks before it.
IniText::Range keyRange(const IniText& text, qsizetype i) {
    return {text.key(i).data() - text.text(i).data(), text.key(i).size()};
}

// The last key line of a section; its header when it has none.
qsizetype lastKeyLine(const IniText& text, const IniText::Section& s) {
    for (qsizetype i = s.bodyEnd - 1; i >= s.bodyBegin; --i)
        if (text.kind(i) == Kind::Key)
            return i;
    return s.header;
}

} // namespace

std::optional<RegistryAddition> addRegistryEntry(QByteArrayView content, QByteArrayView registry,
                                                 QByteArrayView id, long long count,
                                                 const std::vector<QByteArray>& block) {
    const IniText text(content);
    const std::vector<IniText::Section> sections = text.sections(registry);

    // The numbers of every section of the registry: the game reads them all as one list.
    bool taken = false;
    long long largest = -1;
    for (const IniText::Section& s : sections)
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (const std::optional<long long> n = keyNumber(text.key(i))) {
                taken = taken || *n == count;
                largest = std::max(largest, *n);
            }
    const long long number = taken ? largest + 1 : count;
    const QByteArray entry = QByteArray::number(number) + '=' + id.toByteArray();

    IniEdits edits;
    qsizetype sectionAfter = text.lineCount() - 1; // the line the new section follows
    bool blankAbove = false;
    if (sections.empty()) {
        edits.insertAfter(sectionAfter, '[' + registry.toByteArray() + ']');
        edits.insertAfter(sectionAfter, entry);
    } else {
        // A registry named twice gets the entry in its last section, which the game reads
        // last: the entry ends the list as it does in the window.
        const IniText::Section& s = sections.back();
        const qsizetype last = lastKeyLine(text, s);
        const QByteArrayView indent =
            last == s.header ? QByteArrayView() : text.text(last).first(keyRange(text, last).begin);
        edits.insertAfter(last, indent.toByteArray() + entry);
        sectionAfter = s.bodyEnd - 1;
        blankAbove = sectionAfter > last && text.kind(sectionAfter) == Kind::Blank;
    }
    if (!blankAbove)
        edits.insertAfter(sectionAfter, {});
    edits.insertAfter(sectionAfter, '[' + id.toByteArray() + ']');
    for (const QByteArray& line : block)
        edits.insertAfter(sectionAfter, line);
    if (blankAbove)
        edits.insertAfter(sectionAfter, {});

    std::optional<QByteArray> out = applyEdits(text, edits);
    if (!out)
        return std::nullopt;
    return RegistryAddition{std::move(*out), number};
}

RegistryRemoval removeRegistryEntry(QByteArrayView content, QByteArrayView registry,
                                    QByteArrayView id) {
    if (id.isEmpty())
        return {content.toByteArray()};
    const IniText text(content);
    IniEdits edits;
    RegistryRemoval removal;

    for (const IniText::Section& s : text.sections(id)) {
        const qsizetype last = lastKeyLine(text, s);
        for (qsizetype i = s.header; i <= last; ++i)
            edits.deleteLine(i);
        ++removal.sectionsRemoved;
    }

    // (An id naming the registry itself has taken its key lines with its sections.)
    for (const IniText::Section& s :
         id == registry ? std::vector<IniText::Section>() : text.sections(registry)) {
        // The numbers freed by the dropped lines move up the list: each line that carries
        // the next number of an unbroken sequence after a dropped line takes a number
        // `shift` lower. The first line off that sequence stops the renumbering, so two
        // lines never end up with one number however the registry is numbered.
        long long shift = 0;
        long long expected = 0; // the number the next line needs to be renumbered
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i) {
            if (text.kind(i) != Kind::Key)
                continue;
            const std::optional<long long> own = keyNumber(text.key(i));
            const bool next = shift > 0 && own == expected;
            if (text.value(i) == id) {
                edits.deleteLine(i);
                ++removal.entriesRemoved;
                shift = !own ? 0 : next ? shift + 1 : 1;
                expected = own.value_or(0) + 1;
            } else if (next) {
                edits.replaceInLine(i, keyRange(text, i), QByteArray::number(*own - shift));
                ++expected;
            } else {
                shift = 0;
            }
        }
    }

    // The edits touch distinct lines, each once: they always apply.
    std::optional<QByteArray> out = removal.found() ? applyEdits(text, edits) : std::nullopt;
    if (!out)
        return {content.toByteArray()};
    removal.content = std::move(*out);
    return removal;
}

} // namespace tarvok
