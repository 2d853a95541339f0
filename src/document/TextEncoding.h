#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QStringList>

#include <optional>
#include <vector>

namespace tarvok {

// The encodings a rules file or data file is found in. GBK is what the game's
// Chinese-speaking users save in; UTF-8 files exist too.
enum class Encoding { Gbk, Utf8 };

inline constexpr QByteArrayView kUtf8Bom{"\xEF\xBB\xBF", 3};

// UTF-8 when the content starts with a UTF-8 byte-order mark, or when it has non-ASCII
// characters and at least 99% of them are well-formed UTF-8 (a UTF-8 file with a stray
// byte of another encoding stays UTF-8); GBK otherwise, plain ASCII included.
Encoding detectEncoding(QByteArrayView content);

// Decodes text for the user and encodes what the user typed, in one file's encoding.
// Lines the user did not touch never pass through here. Each call stands alone: every
// byte decodes to some character (U+FFFD for bytes that make none, a character cut
// short at the end included), and nothing of one call carries over into the next.
class TextCodec {
  public:
    explicit TextCodec(Encoding encoding = Encoding::Gbk);
    TextCodec(const TextCodec& other) : TextCodec(other.encoding_) {}
    TextCodec& operator=(const TextCodec& other);

    Encoding encoding() const { return encoding_; }
    QString decode(QByteArrayView bytes) const;
    // Each of many texts decoded as decode() does, in one pass: none may hold an LF.
    QStringList decodeAll(const std::vector<QByteArrayView>& texts) const;
    QByteArray encode(QStringView text) const;
    // True when decoding bytes and encoding the text again gives exactly bytes back: text
    // that cannot be shown and saved unchanged fails (invalid bytes, for one).
    bool roundTrips(QByteArrayView bytes) const;

  private:
    Encoding encoding_;
    mutable QStringDecoder decoder_;
    mutable QStringEncoder encoder_;
};

// The encoding of one file of several read as one: its own (detectEncoding), or, for a file
// of ASCII only, the encoding of the file that includes it.
Encoding encodingOf(QByteArrayView content, Encoding includer);
// Text in one encoding as the same text in another, a leading UTF-8 byte-order mark kept as
// it is; nothing when the text would not come back byte for byte (bytes that make no
// character, a character the other encoding cannot hold).
std::optional<QByteArray> transcode(QByteArrayView bytes, Encoding from, Encoding to);

// Every line of a content, decoded in its own encoding (a data file, the usage guide).
QStringList decodeLines(QByteArrayView content);

} // namespace tarvok
