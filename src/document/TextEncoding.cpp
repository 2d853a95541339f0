#include "document/TextEncoding.h"

#include "document/Lines.h"

#include <algorithm>
#include <cstring>

namespace tarvok {
namespace {

constexpr QStringConverter::Flags kStateless = QStringConverter::Flag::Stateless;

const char* codecName(Encoding e) {
    return e == Encoding::Utf8 ? "UTF-8" : "GBK";
}

bool isAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// The length of the well-formed UTF-8 character at p (a byte of 0x80 or more), or 0 when
// it is none: a stray continuation byte, an overlong form, a surrogate, a value beyond
// U+10FFFF or a character cut short.
qsizetype utf8CharLength(const unsigned char* p, const unsigned char* end) {
    const unsigned char b = p[0];
    qsizetype len = 0;
    unsigned char lo = 0x80, hi = 0xBF; // the range of the second byte
    if (b >= 0xC2 && b <= 0xDF) {
        len = 2;
    } else if (b >= 0xE0 && b <= 0xEF) {
        len = 3;
        lo = b == 0xE0 ? 0xA0 : 0x80;
        hi = b == 0xED ? 0x9F : 0xBF;
    } else if (b >= 0xF0 && b <= 0xF4) {
        len = 4;
        lo = b == 0xF0 ? 0x90 : 0x80;
        hi = b == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (end - p < len || p[1] < lo || p[1] > hi)
        return 0;
    for (qsizetype i = 2; i < len; ++i)
        if ((p[i] & 0xC0) != 0x80)
            return 0;
    return len;
}

} // namespace

Encoding detectEncoding(QByteArrayView content) {
    if (content.startsWith(kUtf8Bom))
        return Encoding::Utf8;
    // One pass: at each byte of 0x80 or more, one character is read. A well-formed UTF-8
    // character counts as valid and is skipped whole; anything else counts as invalid
    // and skips one byte. A stray byte in a UTF-8 file leaves it UTF-8, while GBK text,
    // whose pairs of bytes are seldom well-formed UTF-8, gets many invalid ones.
    const auto* p = reinterpret_cast<const unsigned char*>(content.data());
    const auto* end = p + content.size();
    qint64 valid = 0, invalid = 0;
    while (p < end) {
        if (*p < 0x80) {
            ++p;
            // Runs of ASCII, most of any rules file, eight bytes at a time.
            for (quint64 word = 0; end - p >= 8; p += 8) {
                std::memcpy(&word, p, 8);
                if (word & 0x8080808080808080ULL)
                    break;
            }
            continue;
        }
        const qsizetype len = utf8CharLength(p, end);
        if (len > 0) {
            ++valid;
            p += len;
        } else {
            ++invalid;
            ++p;
            // UTF-8 needs 99 valid characters for each invalid one, and what is left can add
            // at most one valid character per two bytes: once that cannot be reached, the
            // rest need not be read.
            if (valid + (end - p) / 2 < invalid * 99)
                return Encoding::Gbk;
        }
    }
    return valid > 0 && valid * 100 >= (valid + invalid) * 99 ? Encoding::Utf8 : Encoding::Gbk;
}

TextCodec::TextCodec(Encoding encoding)
    : encoding_(encoding), decoder_(codecName(encoding), kStateless),
      encoder_(codecName(encoding), kStateless) {}

TextCodec& TextCodec::operator=(const TextCodec& other) {
    if (this != &other) {
        encoding_ = other.encoding_;
        decoder_ = QStringDecoder(codecName(encoding_), kStateless);
        encoder_ = QStringEncoder(codecName(encoding_), kStateless);
    }
    return *this;
}

// Each call stands alone: the converters are stateless. A stateless converter drops a
// character cut short at the very end of its input instead of replacing it, though, so
// input that may end in one gets a line feed after it, which no character can take in,
// and the result loses the line feed again.
QStringList TextCodec::decodeAll(const std::vector<QByteArrayView>& texts) const {
    // An LF ends whatever a broken character before it started, in GBK as in UTF-8, so
    // the joined texts decode to the texts decoded one by one, joined.
    qsizetype size = 0;
    for (QByteArrayView t : texts)
        size += t.size() + 1;
    QByteArray joined;
    joined.reserve(size);
    for (QByteArrayView t : texts)
        joined.append(t).append('\n');
    if (texts.empty())
        return {};
    QStringList out = decode(joined).split(QLatin1Char('\n'));
    out.removeLast();
    return out;
}

QString TextCodec::decode(QByteArrayView bytes) const {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    decoder_.resetState();
    if (static_cast<unsigned char>(bytes.back()) < 0x80)
        return decoder_.decode(bytes);
    QByteArray ended(bytes.size() + 1, '\n');
    std::copy(bytes.begin(), bytes.end(), ended.begin());
    QString text = decoder_.decode(ended);
    text.chop(1);
    return text;
}

QByteArray TextCodec::encode(QStringView text) const {
    encoder_.resetState();
    if (text.isEmpty() || !text.back().isHighSurrogate())
        return encoder_.encode(text);
    QByteArray bytes = encoder_.encode(text.toString() + QLatin1Char('\n'));
    bytes.chop(1);
    return bytes;
}

bool TextCodec::roundTrips(QByteArrayView bytes) const {
    return isAscii(bytes) || encode(decode(bytes)) == bytes;
}

Encoding encodingOf(QByteArrayView content, Encoding includer) {
    return isAscii(content) ? includer : detectEncoding(content);
}

std::optional<QByteArray> transcode(QByteArrayView bytes, Encoding from, Encoding to) {
    if (from == to || isAscii(bytes))
        return bytes.toByteArray();
    const QByteArrayView bom = bytes.startsWith(kUtf8Bom) ? kUtf8Bom : QByteArrayView();
    const QByteArrayView text = bytes.sliced(bom.size());
    const TextCodec in(from), out(to);
    const QString decoded = in.decode(text);
    QByteArray recoded = out.encode(decoded);
    if (in.encode(out.decode(recoded)) != text)
        return std::nullopt;
    return recoded.prepend(bom);
}

QStringList decodeLines(QByteArrayView content) {
    const TextCodec codec(detectEncoding(content));
    QStringList out;
    LineCursor in(content);
    while (!in.atEnd())
        out << codec.decode(in.next());
    return out;
}

} // namespace tarvok
