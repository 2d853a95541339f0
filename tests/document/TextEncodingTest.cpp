#include "document/TextEncoding.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

using namespace tarvok;
using namespace tarvok::test;

TEST(DetectEncoding, TellsGbkFromUtf8) {
    EXPECT_EQ(detectEncoding("[AITriggerTypes]\r\nA=a,1\r\n"), Encoding::Gbk); // plain ASCII
    EXPECT_EQ(detectEncoding(gbk(QStringLiteral("Name=苏军进攻\r\n"))), Encoding::Gbk);
    EXPECT_EQ(detectEncoding(utf8(QStringLiteral("Name=苏军进攻\r\n"))), Encoding::Utf8);
    EXPECT_EQ(detectEncoding("\xEF\xBB\xBF[A]\r\n"), Encoding::Utf8); // the mark alone decides
    // A UTF-8 sequence cut by the end of the file is no UTF-8.
    EXPECT_EQ(detectEncoding(QByteArray("Name=\xE8\x8B")), Encoding::Gbk);
}

// A malformed character (cut short, overlong, a surrogate, beyond U+10FFFF) counts per byte.
TEST(DetectEncoding, Utf8WhenAtLeast99PercentOfItsCharactersAre) {
    const QByteArray ok99 = utf8(QStringLiteral("中")).repeated(99);
    EXPECT_EQ(detectEncoding(ok99 + ";\xB9\r\n"), Encoding::Utf8);
    // The bad byte first, and the fewest bytes that can still make 99 good characters.
    EXPECT_EQ(detectEncoding("\xB9" + utf8(QStringLiteral("é")).repeated(99)), Encoding::Utf8);
    for (const char* bad : {"\xB9\xB9", "\xE8\x8B", "\xC0\x80", "\xED\xA0\x80", "\xF4\x90\x80\x80"})
        EXPECT_EQ(detectEncoding(ok99 + bad), Encoding::Gbk)
            << QByteArray(bad).toHex().toStdString();
}

TEST(DetectEncoding, LooksAtTheWholeFile) {
    // Valid UTF-8 for more than a megabyte, then one GBK line.
    QByteArray content;
    const QByteArray line = utf8(QStringLiteral("Name=进攻小队\r\n"));
    while (content.size() < (3 << 20))
        content += line;
    EXPECT_EQ(detectEncoding(content), Encoding::Utf8);
    EXPECT_EQ(detectEncoding(content + gbk(QStringLiteral("Name=进攻\r\n"))),
              Encoding::Utf8); // stray bytes
    // One long line without line ends is still read whole.
    QByteArray longLine = QByteArray(3 << 20, 'a') + utf8(QStringLiteral("中"));
    EXPECT_EQ(detectEncoding(longLine), Encoding::Utf8);
}

TEST(TextCodec, RoundTripsChineseInBothEncodings) {
    const QString text = QStringLiteral("苏军=进攻,<all>");
    for (Encoding e : {Encoding::Gbk, Encoding::Utf8}) {
        const TextCodec codec(e);
        const QByteArray bytes = codec.encode(text);
        EXPECT_EQ(bytes, e == Encoding::Gbk ? gbk(text) : utf8(text));
        EXPECT_EQ(codec.decode(bytes), text);
        EXPECT_EQ(codec.decode(bytes + "\xD6") + codec.decode(bytes),
                  text + QChar(0xFFFD) + text); // cut short
        EXPECT_EQ(codec.encode(text + QChar(0xD800)).chopped(e == Encoding::Gbk ? 1 : 3) +
                      codec.encode(text),
                  bytes + bytes);
        EXPECT_TRUE(codec.roundTrips(bytes));
        EXPECT_FALSE(codec.roundTrips(bytes + "\xD6")); // as a UTF-8 name in a GBK file may be
    }
    // A copy keeps working after the original is gone.
    auto* original = new TextCodec(Encoding::Gbk);
    const TextCodec copy = *original;
    delete original;
    EXPECT_EQ(copy.decode(gbk(QStringLiteral("中文"))), QStringLiteral("中文"));
}
