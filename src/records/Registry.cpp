#include "records/Registry.h"

#include "document/FileSet.h"
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

} // namespace

qsizetype lastKeyLine(const IniText& text, const IniText::Section& s) {
    for (qsizetype i = s.bodyEnd - 1; i >= s.bodyBegin; --i)
        if (text.kind(i) == Kind::Key)
            return i;
    return s.header;
}

std::vector<long long> addRegistryLines(const IniText& text, QByteArrayView registry,
                                        const std::vector<QByteArray>& ids, long long count,
                                        IniEdits& edits) {
    const std::vector<IniText::Section> sections = text.sections(registry);

    // The numbers of every section of the registry: the game reads them all as one list.
    std::vector<long long> numbers;
    for (const IniText::Section& s : sections)
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd; ++i)
            if (const std::optional<long long> n = keyNumber(text.key(i)))
                numbers.push_back(*n);
    long long largest = numbers.empty() ? -1 : *std::max_element(numbers.begin(), numbers.end());
    std::sort(numbers.begin(), numbers.end());

    qsizetype after = fileset::firstFileLast(text);
    QByteArrayView indent;
    bool added = false; // a registry written only as "+=ID" lines gets one more
    if (sections.empty()) {
        edits.insertAfter(after, '[' + registry.toByteArray() + ']');
    } else {
        // A registry named twice gets the entries in its last section, which the game reads
        // last: they end the list as they do in the window.
        const IniText::Section& s = sections.back();
        after = lastKeyLine(text, s);
        if (after != s.header)
            indent = text.text(after).first(text.nameRange(after).begin);
        added = after != s.header;
        for (qsizetype i = s.bodyBegin; i < s.bodyEnd && added; ++i)
            added = text.kind(i) != Kind::Key || text.key(i) == QByteArrayView("+");
    }
    std::vector<long long> given;
    for (const QByteArray& id : ids) {
        const long long wanted = count + static_cast<long long>(given.size());
        const bool taken = std::binary_search(numbers.begin(), numbers.end(), wanted) ||
                           std::find(given.begin(), given.end(), wanted) != given.end();
        const long long number = taken ? largest + 1 : wanted;
        largest = std::max(largest, number);
        given.push_back(number);
        edits.insertAfter(after, indent.toByteArray() +
                                     (added ? QByteArray("+") : QByteArray::number(number)) + '=' +
                                     id);
    }
    return given;
}

long long addRegistryEdits(const IniText& text, QByteArrayView registry, QByteArrayView id,
                           long long count, const std::vector<QByteArray>& block, IniEdits& edits) {
    const long long number = addRegistryLines(text, registry, {id.toByteArray()}, count, edits)[0];
    const std::vector<IniText::Section> sections = text.sections(registry);
    qsizetype sectionAfter = fileset::firstFileLast(text); // the line the new section follows
    bool blankAbove = false;
    if (!sections.empty()) {
        const IniText::Section& s = sections.back();
        sectionAfter = s.bodyEnd - 1;
        blankAbove = sectionAfter > lastKeyLine(text, s) && text.kind(sectionAfter) == Kind::Blank;
    }
    if (!blankAbove)
        edits.insertAfter(sectionAfter, {});
    edits.insertAfter(sectionAfter, '[' + id.toByteArray() + ']');
    for (const QByteArray& line : block)
        edits.insertAfter(sectionAfter, line);
    if (blankAbove)
        edits.insertAfter(sectionAfter, {});
    return number;
}

std::optional<RegistryAddition> addRegistryEntry(QByteArrayView content, QByteArrayView registry,
                                                 QByteArrayView id, long long count,
                                                 const std::vector<QByteArray>& block) {
    const IniText text(content);
    IniEdits edits;
    const long long number = addRegistryEdits(text, registry, id, count, block, edits);
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
                edits.replaceInLine(i, text.nameRange(i), QByteArray::number(*own - shift));
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
