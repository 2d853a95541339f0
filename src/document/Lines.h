#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace tarvok {

// Byte-level line tests shared by the record reads, the field checks and the notes file.
// They only ever look for ASCII bytes that cannot occur inside a multi-byte GBK or
// UTF-8 character ('=', ',', blanks, line ends), or compare whole byte strings, so they
// are safe on the file's raw bytes.
namespace lines {

// Spaces and tabs removed, for the comparison of key names.
QByteArrayView trimBlanks(QByteArrayView line);

inline bool hasComma(QByteArrayView line) {
    return line.contains(',');
}

// Text before the first occurrence of sep (the whole line when it has none).
QByteArrayView before(QByteArrayView line, char sep);
// Text after the first occurrence of sep (empty when it has none).
QByteArrayView after(QByteArrayView line, char sep);

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

  private:
    QByteArrayView lineAt(qsizetype pos, qsizetype* nextPos) const;

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool bom_ = false;
};

// Collects the lines of a rewritten notes file; every line is followed by CR LF.
class LineSink {
  public:
    explicit LineSink(qsizetype expectedSize = 0) { out_.reserve(expectedSize); }
    void write(QByteArrayView line);
    void writeRaw(QByteArrayView bytes) { out_.append(bytes); }
    QByteArray take() { return std::move(out_); }

  private:
    QByteArray out_;
};

} // namespace tarvok
