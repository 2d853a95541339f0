#include "catalogues/StringTable.h"

#include <QtEndian>

#include <algorithm>
#include <climits>
#include <optional>

namespace tarvok {
namespace {

constexpr qsizetype kHeaderSize = 0x18;

// Reads a content front to back; every read fails once the content is used up, so a
// length field never reaches past the end, however large it claims to be.
class Reader {
  public:
    explicit Reader(QByteArrayView content) : rest_(content) {}

    bool tag(QByteArrayView expected) {
        if (!rest_.startsWith(expected))
            return false;
        rest_ = rest_.sliced(expected.size());
        return true;
    }
    bool number(quint32* out) {
        if (rest_.size() < 4)
            return false;
        *out = qFromLittleEndian<quint32>(rest_.data());
        rest_ = rest_.sliced(4);
        return true;
    }
    bool bytes(quint64 count, QByteArrayView* out) {
        if (count > static_cast<quint64>(rest_.size()))
            return false;
        *out = rest_.first(static_cast<qsizetype>(count));
        rest_ = rest_.sliced(static_cast<qsizetype>(count));
        return true;
    }

  private:
    QByteArrayView rest_;
};

// UTF-16LE with every byte inverted, as the string tables keep their texts.
QString invertedUtf16(QByteArrayView bytes) {
    QString text(bytes.size() / 2, Qt::Uninitialized);
    QChar* out = text.data();
    for (qsizetype i = 0; i + 1 < bytes.size(); i += 2)
        *out++ = QChar(static_cast<char16_t>(
            ~(static_cast<uchar>(bytes[i]) | static_cast<uchar>(bytes[i + 1]) << 8)));
    return text;
}

} // namespace

int StringTable::read(QByteArrayView content) {
    Reader in(content);
    QByteArrayView header;
    if (!in.bytes(kHeaderSize, &header) || !header.startsWith(" FSC"))
        return 1;
    const quint32 labels = qFromLittleEndian<quint32>(header.data() + 8);

    for (quint32 label = 0; label < labels; ++label) {
        const int damaged = static_cast<int>(std::min<quint64>(label + 1ull, INT_MAX));
        quint32 pairs = 0, nameLength = 0;
        QByteArrayView name;
        if (!in.tag(" LBL") || !in.number(&pairs) || !in.number(&nameLength) ||
            !in.bytes(nameLength, &name))
            return damaged;
        std::optional<QString> first;
        for (quint32 pair = 0; pair < pairs; ++pair) {
            const bool wide = in.tag("WRTS");
            quint32 length = 0;
            QByteArrayView text;
            if ((!wide && !in.tag(" RTS")) || !in.number(&length) ||
                !in.bytes(quint64{length} * 2, &text))
                return damaged;
            if (wide) {
                quint32 extraLength = 0;
                QByteArrayView extra;
                if (!in.number(&extraLength) || !in.bytes(extraLength, &extra))
                    return damaged;
            }
            if (!first)
                first = invertedUtf16(text);
        }
        if (first)
            texts_.insert(name.toByteArray().toLower(), *std::move(first));
    }
    return 0;
}

const QString* StringTable::text(QByteArrayView label) const {
    const auto it = texts_.constFind(label.toByteArray().toLower());
    return it == texts_.cend() ? nullptr : &*it;
}

} // namespace tarvok
