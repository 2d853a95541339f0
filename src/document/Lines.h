#pragma once

#include <QByteArray>
#include <QByteArrayView>

#include <vector>

namespace tarvok {

// Byte-level line tests shared by the scan, the loads and every rewrite rule.
// They only ever look for ASCII bytes that cannot occur inside a multi-byte GBK or
// UTF-8 character ('=', ',', ' ', line ends), or compare whole byte strings, so they
// are safe on the file's raw bytes.
namespace lines {

// Leading and trailing space characters removed; tabs stay.
QByteArrayView trimSpaces(QByteArrayView line);
// Spaces and tabs removed, for the comparison of key names.
QByteArrayView trimBlanks(QByteArrayView line);

inline bool hasEquals(QByteArrayView line) { return line.contains('='); }
inline bool hasComma(QByteArrayView line) { return line.contains(','); }

// Text before the first occurrence of sep (the whole line when it has none).
QByteArrayView before(QByteArrayView line, char sep);
// Text after the first occurrence of sep (empty when it has none).
QByteArrayView after(QByteArrayView line, char sep);

// True when the line with its surrounding spaces removed is "[" + name + "]".
bool isHeader(QByteArrayView line, QByteArrayView name);
// True when the line with its surrounding spaces and tabs removed starts with "[" and
// ends with "]": the header of a section of any name.
bool isAnyHeader(QByteArrayView line);

// The leading decimal number of a text, skipping leading spaces and tabs; 0 when there
// is none.
// Saturates instead of overflowing.
long long leadingNumber(QByteArrayView text);

} // namespace lines

// Reads a file's content line by line. Lines end at LF or CR LF; a lone CR stays part
// of its line. A UTF-8 byte-order mark at the start is not part of the first line.
class LineCursor {
public:
    explicit LineCursor(QByteArrayView content);

    bool hadBom() const { return bom_; }
    bool atEnd() const { return pos_ >= data_.size(); }
    QByteArrayView next();
    QByteArrayView peek() const;

private:
    QByteArrayView lineAt(qsizetype pos, qsizetype* nextPos) const;

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool bom_ = false;
};

// Collects the lines a rewrite writes; every line is followed by CR LF.
// Given the content being rewritten, it copies runs of its lines that already end in
// CR LF and are written back in order as one block, instead of line by line: the bytes
// are the same, the copying much cheaper.
class LineSink {
public:
    explicit LineSink(qsizetype expectedSize = 0, QByteArrayView source = {});
    void write(QByteArrayView line);
    void writeRaw(QByteArrayView bytes);
    QByteArray take();

private:
    void flush();

    QByteArray out_;
    QByteArrayView source_;
    const char* runBegin_ = nullptr; // pending run of source bytes, copied at the next flush
    const char* runEnd_ = nullptr;
};

// All lines of a content, as views into it.
std::vector<QByteArrayView> splitLines(QByteArrayView content);

} // namespace tarvok
