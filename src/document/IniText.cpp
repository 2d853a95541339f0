#include "document/IniText.h"

#include "document/Pool.h"
#include "document/TextEncoding.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <string_view>

namespace tarvok {
namespace {

constexpr qsizetype kMaxReadLine = std::numeric_limits<quint32>::max();

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

const char* find(const char* begin, const char* end, char c) {
    if (begin >= end)
        return nullptr;
    return static_cast<const char*>(std::memchr(begin, c, static_cast<size_t>(end - begin)));
}

} // namespace

IniText::IniText(QByteArrayView content) : content_(content) {
    const char* p = content.data();
    if (content.startsWith(kUtf8Bom)) {
        bom_ = true;
        p += kUtf8Bom.size();
    }
    const char* const end = content.data() + content.size();
    lines_.reserve(static_cast<size_t>(std::count(p, end, '\n')) + 1);
    readLines(p, end);
    closeSections();
}

IniText IniText::readShared(QByteArrayView content, qsizetype minShared) {
    const char* const middle = content.data() + content.size() / 2;
    const char* const end = content.data() + content.size();
    const char* const nl = content.size() < minShared ? nullptr : find(middle, end, '\n');
    if (!nl || nl + 1 >= end)
        return IniText(content);
    // The second half's lines are read by a task of the pool, numbered from its first line,
    // and joined to the first half's once both are done.
    pool::Task<IniText> reading = pool::run([content, nl, end] {
        IniText second;
        second.content_ = content;
        second.lines_.reserve(static_cast<size_t>(std::count(nl + 1, end, '\n')) + 1);
        second.readLines(nl + 1, end);
        return second;
    });
    IniText text;
    text.content_ = content;
    const char* p = content.data();
    if (content.startsWith(kUtf8Bom)) {
        text.bom_ = true;
        p += kUtf8Bom.size();
    }
    text.lines_.reserve(static_cast<size_t>(std::count(p, nl + 1, '\n')));
    text.readLines(p, nl + 1);
    const IniText second = reading.take();
    const qsizetype before = text.lineCount();
    text.lines_.reserve(text.lines_.size() + second.lines_.size());
    text.lines_.insert(text.lines_.end(), second.lines_.begin(), second.lines_.end());
    for (Section s : second.sections_) {
        s.header += before;
        s.bodyBegin += before;
        text.sections_.push_back(s);
    }
    text.closeSections();
    return text;
}

void IniText::readLines(const char* p, const char* const end) {
    const char* const data = content_.data();
    while (p < end) {
        Line line;
        line.offset = p - data;
        const char* nl = find(p, end, '\n');
        const char* lineEnd = nl ? nl : end;
        if (nl) {
            line.endLength = 1;
            if (lineEnd > p && lineEnd[-1] == '\r') {
                --lineEnd;
                line.endLength = 2;
            }
        }
        if (lineEnd - p <= kMaxReadLine) {
            const char* semi = find(p, lineEnd, ';');
            const char* b = p;
            const char* e = semi ? semi : lineEnd;
            while (b < e && isBlank(*b))
                ++b;
            while (e > b && isBlank(e[-1]))
                --e;
            const auto at = [p](const char* q) { return static_cast<quint32>(q - p); };
            if (b == e) {
                line.kind = semi ? Kind::Comment : Kind::Blank;
            } else if (*b == '[' && e[-1] == ']' && e - b >= 2) {
                line.kind = Kind::Header;
                line.nameBegin = at(b + 1);
                line.nameLength = at(e - 1) - line.nameBegin;
                sections_.push_back(
                    {QByteArrayView(b + 1, e - b - 2), lineCount(), lineCount() + 1, 0});
            } else if (const char* eq = find(b, e, '=')) {
                line.kind = Kind::Key;
                const char* keyEnd = eq;
                while (keyEnd > b && isBlank(keyEnd[-1]))
                    --keyEnd;
                const char* value = eq + 1;
                while (value < e && isBlank(*value))
                    ++value;
                line.nameBegin = at(b);
                line.nameLength = at(keyEnd) - line.nameBegin;
                line.valueBegin = at(value);
                line.valueLength = at(e) - line.valueBegin;
            }
        }
        lines_.push_back(line);
        p = nl ? nl + 1 : end;
    }
}

void IniText::closeSections() {
    for (size_t s = 0; s < sections_.size(); ++s)
        sections_[s].bodyEnd = s + 1 < sections_.size() ? sections_[s + 1].header : lineCount();
}

qsizetype IniText::endOf(qsizetype i) const {
    const qsizetype next = i + 1 < lineCount() ? lines_[i + 1].offset : content_.size();
    return next - lines_[i].endLength;
}

QByteArrayView IniText::sectionName(qsizetype i) const {
    const Line& l = lines_[i];
    return l.kind == Kind::Header ? content_.sliced(l.offset + l.nameBegin, l.nameLength)
                                  : QByteArrayView();
}

QByteArrayView IniText::key(qsizetype i) const {
    const Line& l = lines_[i];
    return l.kind == Kind::Key ? content_.sliced(l.offset + l.nameBegin, l.nameLength)
                               : QByteArrayView();
}

QByteArrayView IniText::value(qsizetype i) const {
    const Line& l = lines_[i];
    return l.kind == Kind::Key ? content_.sliced(l.offset + l.valueBegin, l.valueLength)
                               : QByteArrayView();
}

IniText::Range IniText::valueRange(qsizetype i) const {
    const Line& l = lines_[i];
    return l.kind == Kind::Key ? Range{l.valueBegin, l.valueLength} : Range{};
}

IniText::Range IniText::nameRange(qsizetype i) const {
    const Line& l = lines_[i];
    return l.kind == Kind::Key || l.kind == Kind::Header ? Range{l.nameBegin, l.nameLength}
                                                         : Range{};
}

std::vector<IniText::Section> IniText::sections(QByteArrayView name) const {
    std::vector<Section> out;
    for (const Section& s : sections_) {
        if (s.name == name)
            out.push_back(s);
    }
    return out;
}

// ---------------------------------------------------------------- edits

void IniEdits::replaceLine(qsizetype line, QByteArray text) {
    edits_.push_back({line, Op::Replace, {}, std::move(text)});
}

void IniEdits::replaceInLine(qsizetype line, IniText::Range range, QByteArray text) {
    edits_.push_back({line, Op::ReplaceRange, range, std::move(text)});
}

void IniEdits::deleteLine(qsizetype line) {
    edits_.push_back({line, Op::Delete, {}, {}});
}

void IniEdits::insertAfter(qsizetype line, QByteArray text) {
    edits_.push_back({line, Op::Insert, {}, std::move(text)});
}

void IniEdits::insertAfter(qsizetype line, QByteArray text, QByteArrayView lineEnd) {
    const quint8 endLength = lineEnd == "\r\n" ? 2 : lineEnd == "\n" ? 1 : 0;
    edits_.push_back({line, Op::Insert, {}, std::move(text), endLength});
}

std::optional<QByteArray> applyEdits(const IniText& text, const IniEdits& edits) {
    using Op = IniEdits::Op;
    using Edit = IniEdits::Edit;
    const QByteArrayView content = text.content();

    // In file order: by line, a line's own change before the lines inserted after it,
    // ranges by position; otherwise in the order the edits were made.
    std::vector<const Edit*> order;
    order.reserve(edits.edits_.size());
    qsizetype added = 0;
    for (const Edit& e : edits.edits_) {
        const bool lineOk = e.op == Op::Insert ? e.line >= -1 && e.line < text.lineCount()
                                               : e.line >= 0 && e.line < text.lineCount();
        if (!lineOk || e.text.contains('\n'))
            return std::nullopt;
        if (e.op == Op::ReplaceRange && (e.range.begin < 0 || e.range.length < 0 ||
                                         e.range.begin + e.range.length > text.length(e.line)))
            return std::nullopt;
        order.push_back(&e);
        added += e.text.size() + 2;
    }
    std::stable_sort(order.begin(), order.end(), [](const Edit* a, const Edit* b) {
        if (a->line != b->line)
            return a->line < b->line;
        const bool aInsert = a->op == Op::Insert, bInsert = b->op == Op::Insert;
        if (aInsert != bInsert)
            return bInsert;
        return !aInsert && a->range.begin < b->range.begin;
    });

    QByteArray out;
    out.reserve(content.size() + added);
    if (text.hasBom())
        out.append(kUtf8Bom);
    qsizetype copied = text.hasBom() ? kUtf8Bom.size() : 0; // content before this is done
    const QByteArrayView crlf("\r\n");

    for (size_t k = 0; k < order.size();) {
        const qsizetype line = order[k]->line;
        size_t groupEnd = k;
        while (groupEnd < order.size() && order[groupEnd]->line == line)
            ++groupEnd;

        QByteArrayView newEnd = crlf; // the line end of lines inserted after this one
        if (line >= 0) {
            const qsizetype begin = text.offset(line);
            const qsizetype textEnd = begin + text.length(line);
            out.append(content.sliced(copied, begin - copied));
            copied = textEnd + text.endLength(line);

            bool replaced = false, deleted = false, ranged = false;
            qsizetype from = begin; // the line's text before this is written
            for (; k < groupEnd && order[k]->op != Op::Insert; ++k) {
                const Edit& e = *order[k];
                if (replaced || deleted || (ranged && e.op != Op::ReplaceRange))
                    return std::nullopt;
                if (e.op == Op::Replace) {
                    out.append(e.text);
                    replaced = true;
                } else if (e.op == Op::Delete) {
                    deleted = true;
                } else {
                    if (begin + e.range.begin < from)
                        return std::nullopt; // overlaps the range before it
                    out.append(content.sliced(from, begin + e.range.begin - from));
                    out.append(e.text);
                    from = begin + e.range.begin + e.range.length;
                    ranged = true;
                }
            }
            if (!deleted) {
                if (!replaced)
                    out.append(content.sliced(from, textEnd - from));
                out.append(text.lineEnd(line));
            }
            if (text.endLength(line) > 0)
                newEnd = text.lineEnd(line);
            else if (line > 0)
                newEnd = text.lineEnd(line - 1);
            // A last line without line end gets one before the lines inserted after it. A
            // lone CR that ends its text stays in it: after it, LF alone would make a CR LF.
            if (!deleted && text.endLength(line) == 0 && k < groupEnd)
                out.append(out.endsWith('\r') ? crlf : newEnd);
        }
        for (; k < groupEnd; ++k) {
            out.append(order[k]->text);
            out.append(order[k]->endLength == 0 ? newEnd : crlf.last(order[k]->endLength));
        }
    }
    out.append(content.sliced(copied));
    return out;
}

namespace {

// The line [begin, end) read as the game reads a header: its name, or nothing.
std::optional<QByteArrayView> headerName(const char* begin, const char* end) {
    const char* semi = find(begin, end, ';');
    const char* b = begin;
    const char* e = semi ? semi : end;
    while (b < e && isBlank(*b))
        ++b;
    while (e > b && isBlank(e[-1]))
        --e;
    if (e - b < 2 || *b != '[' || e[-1] != ']')
        return std::nullopt;
    return QByteArrayView(b + 1, e - b - 2);
}

// Where a line ends without its line end: before the LF, or before the CR of a CR LF.
const char* withoutLineEnd(const char* begin, const char* nl, const char* end) {
    if (!nl)
        return end;
    return nl > begin && nl[-1] == '\r' ? nl - 1 : nl;
}

} // namespace

qsizetype findBytes(QByteArrayView content, QByteArrayView needle, qsizetype from) {
    const std::string_view in(content.data(), static_cast<size_t>(content.size()));
    const size_t found =
        in.find(std::string_view(needle.data(), static_cast<size_t>(needle.size())),
                static_cast<size_t>(from));
    return found == std::string_view::npos ? -1 : static_cast<qsizetype>(found);
}

IniText::Range sectionSpan(QByteArrayView content, QByteArrayView name) {
    const char* const data = content.data();
    const char* const end = data + content.size();
    const qsizetype first = content.startsWith(kUtf8Bom) ? kUtf8Bom.size() : 0;
    const QByteArray needle = '[' + name.toByteArray() + ']';
    qsizetype begin = -1;
    qsizetype stop = 0;
    for (qsizetype from = first; from < content.size();) {
        const qsizetype hit = findBytes(content, needle, from);
        if (hit < 0)
            break;
        from = hit + 1;
        const char* lineStart = data + hit;
        while (lineStart > data + first && lineStart[-1] != '\n')
            --lineStart;
        if (lineStart - data < stop)
            continue; // inside the section already taken
        const char* nl = find(data + hit, end, '\n');
        const std::optional<QByteArrayView> header =
            headerName(lineStart, withoutLineEnd(lineStart, nl, end));
        if (!header || *header != name)
            continue;
        if (begin < 0)
            begin = lineStart - data;
        // The section runs to the next header line of any name.
        const char* p = nl ? nl + 1 : end;
        while (p < end) {
            const char* next = find(p, end, '\n');
            const char* e = withoutLineEnd(p, next, end);
            const char* b = p;
            while (b < e && isBlank(*b))
                ++b;
            if (b < e && *b == '[' && headerName(p, e))
                break;
            p = next ? next + 1 : end;
        }
        stop = p - data;
        from = stop;
    }
    if (begin < 0)
        return {0, 0};
    return {begin, stop - begin};
}

} // namespace tarvok
