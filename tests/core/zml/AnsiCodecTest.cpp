#include "core/zml/AnsiCodec.h"

#include <QBuffer>

#include <gtest/gtest.h>

TEST(AnsiCodecTest, Utf8SystemWithWindows1252Fallback)
{
    ASSERT_TRUE(AnsiCodec::systemIsUtf8());
    EXPECT_EQ(AnsiCodec::decode("plain"), "plain");
    EXPECT_EQ(AnsiCodec::decode("\xC3\xA9"), QString::fromUtf8("é"));
    // Invalid sequences: lone continuation bytes, a truncated sequence, overlong and surrogate
    // forms are each read byte by byte as Windows-1252.
    EXPECT_EQ(AnsiCodec::decode("a\x80"
                                "b"),
              QString::fromUtf8("a€b"));
    EXPECT_EQ(AnsiCodec::decode("\xE9t\xE9"), QString::fromUtf8("été"));
    EXPECT_EQ(AnsiCodec::decode("\xE2\x82"), QString::fromUtf8("â‚"));
    EXPECT_EQ(AnsiCodec::decode("\xC0\xAF"), QString::fromUtf8("À¯"));
    EXPECT_EQ(AnsiCodec::decode("\xED\xA0\x80"),
              QString(QChar(0xED)) + QChar(0xA0) + QChar(0x20AC));
    EXPECT_EQ(AnsiCodec::decode("\x81\x8D\x9F"), QString(QChar(0x81)) + QChar(0x8D) + QChar(0x178));
    EXPECT_TRUE(AnsiCodec::isValidUtf8("\xF0\x9F\x98\x80"));
    EXPECT_FALSE(AnsiCodec::isValidUtf8("\xF0\x9F\x98"));
    EXPECT_EQ(AnsiCodec::encode(QString::fromUtf8("é€")), QByteArray("\xC3\xA9\xE2\x82\xAC"));
}

// The check a failed parse makes: only sequences that start at or before the offset count.
TEST(AnsiCodecTest, FirstInvalidUtf8UpToAnOffset)
{
    const auto firstInvalid = [](QByteArray bytes, qint64 offset) {
        QBuffer buffer(&bytes);
        EXPECT_TRUE(buffer.open(QIODevice::ReadOnly));
        buffer.seek(3); // read from the start, wherever the device stands
        qint64 at = -2;
        EXPECT_TRUE(AnsiCodec::FirstInvalidUtf8(buffer, offset, &at));
        return at;
    };
    const QByteArray text = "ab \xC3\xA9 cd \xE9 ef";
    EXPECT_EQ(firstInvalid(text, 100), 9);
    EXPECT_EQ(firstInvalid(text, 9), 9);
    EXPECT_EQ(firstInvalid(text, 8), -1);
    // A valid sequence that starts at the offset is read whole; one cut by the end is not valid.
    EXPECT_EQ(firstInvalid("ab\xF0\x9F\x98\x80", 2), -1);
    EXPECT_EQ(firstInvalid("ab\xF0\x9F\x98", 2), 2);
    EXPECT_EQ(firstInvalid(QByteArray(3 << 20, 'a') + "\xFF", 3 << 20), 3 << 20);

    QBuffer closed;
    qint64 at = -2;
    EXPECT_FALSE(AnsiCodec::FirstInvalidUtf8(closed, 0, &at));
}
