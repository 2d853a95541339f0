#include "document/TextEncoding.h"

#include "document/Lines.h"

#include <algorithm>

namespace tarvok {
namespace {

const char* codecName(Encoding e) { return e == Encoding::Utf8 ? "UTF-8" : "GBK"; }

bool isAscii(QByteArrayView bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

qsizetype firstNonAscii(QByteArrayView bytes) {
    const auto it = std::find_if(bytes.begin(), bytes.end(),
                                 [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    return it == bytes.end() ? -1 : it - bytes.begin();
}

} // namespace

Encoding detectEncoding(QByteArrayView content) {
    if (content.startsWith(kUtf8Bom))
        return Encoding::Utf8;
    const qsizetype start = firstNonAscii(content);
    if (start < 0)
        return Encoding::Gbk;
    // Validate from the first non-ASCII byte on, in chunks that end at a line end: no
    // UTF-8 sequence spans an LF byte, so a stateless decoder sees every sequence whole
    // and a sequence cut by the end of the file counts as an error.
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    constexpr qsizetype kChunk = 1 << 20;
    qsizetype pos = start;
    while (pos < content.size()) {
        qsizetype end = std::min(pos + kChunk, content.size());
        if (end < content.size()) {
            const qsizetype nl = content.indexOf('\n', end);
            end = nl < 0 ? content.size() : nl + 1;
        }
        const QString decoded = utf8.decode(content.sliced(pos, end - pos));
        if (utf8.hasError())
            return Encoding::Gbk;
        pos = end;
    }
    return Encoding::Utf8;
}

TextCodec::TextCodec(Encoding encoding)
    : encoding_(encoding), decoder_(codecName(encoding)), encoder_(codecName(encoding)) {}

TextCodec& TextCodec::operator=(const TextCodec& other) {
    if (this != &other) {
        encoding_ = other.encoding_;
        decoder_ = QStringDecoder(codecName(encoding_));
        encoder_ = QStringEncoder(codecName(encoding_));
    }
    return *this;
}

QString TextCodec::decode(QByteArrayView bytes) const {
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    decoder_.resetState();
    return decoder_.decode(bytes);
}

QByteArray TextCodec::encode(QStringView text) const {
    encoder_.resetState();
    return encoder_.encode(text);
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
