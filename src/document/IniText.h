#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QtGlobal>

#include <optional>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace tarvok {

// A rules file's content as physical lines, each read the way the game reads it.
//
// Lines end at LF or CR LF; a lone CR stays part of its line. A UTF-8 byte-order mark
// at the start belongs to no line. On each line ';' starts a comment that runs to the
// line's end; what is left, trimmed of spaces and tabs, is
//   - nothing: a Blank line (a Comment line when there was a ';');
//   - "[" name "]": a Header line starting the section name (the name is not trimmed);
//   - text with an '=': a Key line, key and value trimmed on either side of the first '=';
//   - anything else: an Other line, which the game ignores.
// A section runs from its header to the next header line or the end of the content.
// Names are compared byte for byte, so GBK and UTF-8 names need no decoding: ';', '='
// and blanks never occur inside a GBK or UTF-8 character. ']' does, as the second byte of
// some GBK characters; it can mislead only on a line that starts with '[' and has no ']'
// of its own after such a character, which is then read as a header.
//
// Everything returned is a view into the content, which must outlive the IniText.
// A line of 4 GiB or more is not read (its kind is Other).
class IniText {
  public:
    enum class Kind : quint8 { Blank, Comment, Header, Key, Other };

    // A byte range inside one line's text.
    struct Range {
        qsizetype begin = 0;
        qsizetype length = 0;
    };

    struct Section {
        QByteArrayView name;
        qsizetype header = 0;    // index of its header line
        qsizetype bodyBegin = 0; // header + 1
        qsizetype bodyEnd = 0;   // the next header line, or lineCount()
    };

    explicit IniText(QByteArrayView content);
    // The same reading, the work shared with a task of Qt's thread pool when content has at
    // least minShared bytes: its second half is read there, from a line's start.
    static IniText readShared(QByteArrayView content, qsizetype minShared = qsizetype(1) << 22);

    QByteArrayView content() const { return content_; }
    bool hasBom() const { return bom_; }

    qsizetype lineCount() const { return static_cast<qsizetype>(lines_.size()); }
    // Where line i starts in the content, its length without the line end, and the
    // length of its line end: 0 (only on the last line), 1 (LF) or 2 (CR LF).
    qsizetype offset(qsizetype i) const { return lines_[i].offset; }
    qsizetype length(qsizetype i) const { return endOf(i) - offset(i); }
    int endLength(qsizetype i) const { return lines_[i].endLength; }
    QByteArrayView text(qsizetype i) const { return content_.sliced(offset(i), length(i)); }
    QByteArrayView lineEnd(qsizetype i) const { return content_.sliced(endOf(i), endLength(i)); }

    Kind kind(qsizetype i) const { return lines_[i].kind; }
    // The section name of a Header line; empty for other lines.
    QByteArrayView sectionName(qsizetype i) const;
    // The key and value of a Key line, trimmed, without the comment; empty for others.
    QByteArrayView key(qsizetype i) const;
    QByteArrayView value(qsizetype i) const;
    // Where the value lies in the line's text. An empty value lies right after the '=',
    // so replacing the range keeps the indentation, the spacing around '=' and a
    // trailing comment. Empty for lines other than Key lines.
    Range valueRange(qsizetype i) const;
    // Where the section name of a Header line, or the key of a Key line, lies in the
    // line's text; empty for other lines.
    Range nameRange(qsizetype i) const;

    // Every section, in file order.
    const std::vector<Section>& sections() const { return sections_; }
    // Every section with this name, in file order (a look-up through all sections).
    std::vector<Section> sections(QByteArrayView name) const;

  private:
    struct Line {
        qsizetype offset = 0;
        // Relative to the line's start: the section name of a header, or the key.
        quint32 nameBegin = 0;
        quint32 nameLength = 0;
        quint32 valueBegin = 0;
        quint32 valueLength = 0;
        quint8 endLength = 0;
        Kind kind = Kind::Other;
    };

    qsizetype endOf(qsizetype i) const;
    IniText() = default;
    // Reads the lines of [p, end) of the content after the lines read so far.
    void readLines(const char* p, const char* end);
    // The section ends, once every header is known.
    void closeSections();

    QByteArrayView content_;
    bool bom_ = false;
    std::vector<Line> lines_;
    std::vector<Section> sections_;
};

// Maps keyed by names as bytes (section names, IDs) of a content that outlives the map:
// on large files the standard library's hash of a string view is several times cheaper
// than QHash's of a byte array.
inline std::string_view stdView(QByteArrayView v) {
    return {v.data(), static_cast<size_t>(v.size())};
}
template <class T> using ByName = std::unordered_map<std::string_view, T>;

// Rows (indices of a list) grouped by a name, in list order: one map entry per name and
// one link per row, rather than a list per name, which a large file would pay for in
// allocations.
class RowsByName {
  public:
    // nameOf(i) is the name of row i, for i below count.
    template <class NameOf> void build(size_t count, NameOf nameOf) {
        head_.clear();
        head_.reserve(count);
        next_.assign(count, kEnd);
        for (size_t i = count; i-- > 0;) { // backwards: each chain then runs in list order
            auto [it, added] = head_.try_emplace(stdView(nameOf(i)), static_cast<quint32>(i));
            if (!added) {
                next_[i] = it->second;
                it->second = static_cast<quint32>(i);
            }
        }
    }
    // f(row) for each row named name, in list order.
    template <class F> void forEach(QByteArrayView name, F f) const {
        const auto it = head_.find(stdView(name));
        for (quint32 i = it == head_.end() ? kEnd : it->second; i != kEnd; i = next_[i])
            f(static_cast<size_t>(i));
    }
    bool contains(QByteArrayView name) const { return head_.count(stdView(name)) > 0; }

  private:
    static constexpr quint32 kEnd = 0xFFFFFFFFu;
    ByName<quint32> head_;
    std::vector<quint32> next_;
};

// A list section (a registry such as [VehicleTypes] or [#include]) as the game keeps it,
// read over one file or several in their order: a key given again takes its new value in
// its first place, and every "+" key ("+=ID") adds an entry. Keys are views of contents
// that outlive the reading.
template <class V> class ListValues {
  public:
    void read(QByteArrayView key, V value) {
        if (key == QByteArrayView("+")) {
            values_.push_back(std::move(value));
            return;
        }
        const auto [it, added] = places_.try_emplace(stdView(key), values_.size());
        if (added)
            values_.push_back(std::move(value));
        else
            values_[it->second] = std::move(value);
    }
    const std::vector<V>& values() const { return values_; }

  private:
    ByName<size_t> places_;
    std::vector<V> values_;
};

// Where the sections named name stand in content: from the line of the first such header
// to the end of the last such section (the start of the next header line, or the end of
// the content), as byte offsets. Empty (begin == end) when content has no such section.
// A record's loads and saves read only this part as lines, so they do not grow with the
// rest of the file. Only the places where "[name]" occurs, and the lines of the sections,
// are looked at.
IniText::Range sectionSpan(QByteArrayView content, QByteArrayView name);

// Where needle next occurs in content from from, or -1. The standard library's search (its
// first byte found by memchr) is several times faster on a file of megabytes than
// QByteArrayView::indexOf when that byte is rare, as '[' is in a rules file.
qsizetype findBytes(QByteArrayView content, QByteArrayView needle, qsizetype from);

// Changes to the lines of an IniText, applied in one pass by applyEdits. Lines are named
// by their index in the IniText; every byte no edit touches comes back unchanged.
class IniEdits {
  public:
    // The text of line i becomes text; its line end stays.
    void replaceLine(qsizetype line, QByteArray text);
    // The bytes [begin, begin + length) of line i's text become text. Several ranges of
    // one line may be replaced as long as they do not overlap.
    void replaceInLine(qsizetype line, IniText::Range range, QByteArray text);
    // Line i goes, with its line end.
    void deleteLine(qsizetype line);
    // A new line after line i (-1: before the first line, after a byte-order mark).
    // Lines inserted after the same line keep the order they were inserted in. A new
    // line ends like the line above it (CR LF at the start of the content, or after a
    // last line without line end, when the line above that has none); a last line
    // without line end first gets the new line's line end (CR LF when its text ends in a
    // lone CR, which stays part of the text).
    void insertAfter(qsizetype line, QByteArray text);
    // The same, the new line ending with lineEnd ("\n" or "\r\n"; empty: like the line
    // above): a copy of a line keeps its own line end.
    void insertAfter(qsizetype line, QByteArray text, QByteArrayView lineEnd);

    bool isEmpty() const { return edits_.empty(); }
    qsizetype size() const { return static_cast<qsizetype>(edits_.size()); }

  private:
    friend std::optional<QByteArray> applyEdits(const IniText& text, const IniEdits& edits);
    enum class Op : quint8 { Replace, ReplaceRange, Delete, Insert };
    struct Edit {
        qsizetype line;
        Op op;
        IniText::Range range;
        QByteArray text;
        quint8 endLength = 0; // of an inserted line: 0 like the line above, 1 LF, 2 CR LF
    };
    std::vector<Edit> edits_;
};

// The content of text with the edits made. Nothing when an edit names a line or a range
// that text does not have, a new text holds an LF, or two edits of one line collide (a
// line replaced or deleted twice or both, or overlapping ranges).
std::optional<QByteArray> applyEdits(const IniText& text, const IniEdits& edits);

} // namespace tarvok
