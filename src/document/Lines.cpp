#include "document/Lines.h"

#include "document/TextEncoding.h"

#include <cstring>
#include <limits>

namespace tarvok {
namespace lines {

QByteArrayView trimSpaces(QByteArrayView line) {
    qsizetype b = 0, e = line.size();
    while (b < e && line[b] == ' ')
        ++b;
    while (e > b && line[e - 1] == ' ')
        --e;
    return line.sliced(b, e - b);
}

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

bool isHeader(QByteArrayView line, QByteArrayView name) {
    const QByteArrayView t = trimSpaces(line);
    return t.size() == name.size() + 2 && t.front() == '[' && t.back() == ']' &&
           t.sliced(1, name.size()) == name;
}

bool isAnyHeader(QByteArrayView line) {
    const QByteArrayView t = trimBlanks(line);
    return t.size() >= 2 && t.front() == '[' && t.back() == ']';
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

QByteArrayView LineCursor::peek() const {
    if (atEnd())
        return {};
    qsizetype nextPos = 0;
    return lineAt(pos_, &nextPos);
}

LineSink::LineSink(qsizetype expectedSize, QByteArrayView source) : source_(source) {
    out_.reserve(expectedSize);
}

void LineSink::write(QByteArrayView line) {
    const auto at = [](const char* p) { return reinterpret_cast<quintptr>(p); };
    const char* end = line.data() + line.size();
    const bool inSource = !source_.isNull() && at(line.data()) >= at(source_.data()) &&
                          at(end) + 2 <= at(source_.data() + source_.size());
    if (inSource && end[0] == '\r' && end[1] == '\n') {
        if (runBegin_ && line.data() == runEnd_) {
            runEnd_ = end + 2;
            return;
        }
        flush();
        runBegin_ = line.data();
        runEnd_ = end + 2;
        return;
    }
    flush();
    out_.append(line);
    out_.append("\r\n", 2);
}

void LineSink::writeRaw(QByteArrayView bytes) {
    flush();
    out_.append(bytes);
}

void LineSink::flush() {
    if (runBegin_)
        out_.append(runBegin_, runEnd_ - runBegin_);
    runBegin_ = runEnd_ = nullptr;
}

QByteArray LineSink::take() {
    flush();
    return std::move(out_);
}

std::vector<QByteArrayView> splitLines(QByteArrayView content) {
    std::vector<QByteArrayView> out;
    LineCursor cursor(content);
    while (!cursor.atEnd())
        out.push_back(cursor.next());
    return out;
}

} // namespace tarvok
