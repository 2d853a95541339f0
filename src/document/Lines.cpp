#include "document/Lines.h"

#include "document/TextEncoding.h"

#include <cstring>
#include <limits>

namespace tarvok {
namespace lines {

QByteArrayView trimBlanks(QByteArrayView line) {
    auto blank = [](char c) { return c == ' ' || c == '\t'; };
    qsizetype b = 0, e = line.size();
    while (b < e && blank(line[b]))
        ++b;
    while (e > b && blank(line[e - 1]))
        --e;
    return line.sliced(b, e - b);
}

QByteArrayView before(QByteArrayView line, char sep) {
    const qsizetype i = line.indexOf(sep);
    return i < 0 ? line : line.first(i);
}

QByteArrayView after(QByteArrayView line, char sep) {
    const qsizetype i = line.indexOf(sep);
    return i < 0 ? QByteArrayView() : line.sliced(i + 1);
}

long long leadingNumber(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    long long value = 0;
    constexpr long long kMax = std::numeric_limits<long long>::max() / 10 - 10;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value > kMax ? value : value * 10 + (text[i] - '0');
    return value;
}

} // namespace lines

LineCursor::LineCursor(QByteArrayView content) : data_(content) {
    if (data_.startsWith(kUtf8Bom)) {
        bom_ = true;
        pos_ = kUtf8Bom.size();
    }
}

QByteArrayView LineCursor::lineAt(qsizetype pos, qsizetype* nextPos) const {
    const char* begin = data_.data() + pos;
    const auto remaining = static_cast<size_t>(data_.size() - pos);
    const void* nl = std::memchr(begin, '\n', remaining);
    if (!nl) {
        *nextPos = data_.size();
        return QByteArrayView(begin, static_cast<qsizetype>(remaining));
    }
    qsizetype len = static_cast<const char*>(nl) - begin;
    *nextPos = pos + len + 1;
    if (len > 0 && begin[len - 1] == '\r')
        --len;
    return QByteArrayView(begin, len);
}

QByteArrayView LineCursor::next() {
    if (atEnd())
        return {};
    qsizetype nextPos = 0;
    const QByteArrayView line = lineAt(pos_, &nextPos);
    pos_ = nextPos;
    return line;
}

void LineSink::write(QByteArrayView line) {
    out_.append(line);
    out_.append("\r\n", 2);
}

} // namespace tarvok
