#include "core/settings/RegFileFormat.h"

#include <QStringList>
#include <QtEndian>

#include <gtest/gtest.h>

namespace {

const QString kRoot = QStringLiteral("HKEY_CURRENT_USER");

QByteArray utf16z(const QString &text)
{
    QByteArray bytes;
    for (QChar c : text) {
        bytes.append(static_cast<char>(c.unicode() & 0xFF));
        bytes.append(static_cast<char>(c.unicode() >> 8));
    }
    return bytes.append(2, '\0');
}

RegValue valueAt(const RegFileContent &content, const char *path, const char *name)
{
    const RegFileNamedValue *found =
        content.value(QString::fromUtf8(path), QString::fromUtf8(name));
    return found != nullptr ? found->value : RegValue{};
}

} // namespace

TEST(RegFileFormat, ReadsAHandWrittenFile)
{
    const QByteArray text = "Windows Registry Editor Version 5.00\r\n"
                            "\r\n"
                            "; a comment\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Halvern\\TR AddIn Editor]\r\n"
                            "\"FontName\"=\"Courier \\\"New\\\" C:\\\\x\"\r\n"
                            "\"IconStyle\"=dword:0000000A\r\n"
                            "@=\"default\"\r\n"
                            "\"Path\"=hex(2):25,00,41,00,25,00,00,00\r\n"
                            "\"Big\"=hex(5):01,02,03,04\r\n"
                            "\"Multi\"=hex(7):61,00,00,00,62,00,00,00,00,00\r\n"
                            "\"Blob\"=hex:00,01,\\\r\n"
                            "  02,ff\r\n"
                            "\"Empty\"=hex:\r\n"
                            "\"Gone\"=\"x\"\r\n"
                            "\"Gone\"=-\r\n"
                            "\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Old]\r\n"
                            "\"a\"=\"b\"\r\n"
                            "[-HKEY_CURRENT_USER\\Software\\Old]\r\n";
    const RegFileContent content = RegFileFormat::parse(text, kRoot);
    EXPECT_EQ(content.skippedLines, 0);
    const char *key = "software\\halvern\\tr addin editor"; // keys ignore case
    EXPECT_EQ(valueAt(content, key, "FontName"),
              (RegValue{RegSz, utf16z(QStringLiteral("Courier \"New\" C:\\x"))}));
    EXPECT_EQ(valueAt(content, key, "iconstyle"),
              (RegValue{RegDword, QByteArray("\x0a\0\0\0", 4)}));
    EXPECT_EQ(valueAt(content, key, ""), (RegValue{RegSz, utf16z(QStringLiteral("default"))}));
    EXPECT_EQ(valueAt(content, key, "Path"),
              (RegValue{RegExpandSz, utf16z(QStringLiteral("%A%"))}));
    EXPECT_EQ(valueAt(content, key, "Big"), (RegValue{RegDwordBigEndian, QByteArray("\1\2\3\4")}));
    EXPECT_EQ(valueAt(content, key, "Multi").data, QByteArray("a\0\0\0b\0\0\0\0\0", 10));
    EXPECT_EQ(valueAt(content, key, "Blob"), (RegValue{RegBinary, QByteArray("\0\1\2\xff", 4)}));
    EXPECT_EQ(valueAt(content, key, "Empty"), (RegValue{RegBinary, QByteArray()}));
    EXPECT_EQ(content.value(QString::fromUtf8(key), QStringLiteral("Gone")), nullptr);
    EXPECT_FALSE(content.keyExists(QStringLiteral("Software\\Old")));
    EXPECT_TRUE(content.keyExists(QStringLiteral("SOFTWARE"))); // parents exist implicitly
    EXPECT_FALSE(content.keyExists(QStringLiteral("Soft")));
}

TEST(RegFileFormat, RemovingAKeyTakesItsSubkeysOnly)
{
    const QByteArray text = "[HKEY_CURRENT_USER\\Software\\Old]\r\n\"a\"=\"1\"\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Old\\Sub]\r\n\"a\"=\"2\"\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Old!]\r\n\"a\"=\"3\"\r\n"
                            "[HKEY_CURRENT_USER\\Software\\Older]\r\n\"a\"=\"4\"\r\n"
                            "[-HKEY_CURRENT_USER\\SOFTWARE\\old]\r\n"
                            "[-HKEY_CURRENT_USER\\Software\\Never]\r\n";
    const RegFileContent content = RegFileFormat::parse(text, kRoot);
    EXPECT_EQ(content.skippedLines, 0);
    EXPECT_FALSE(content.keyExists(QStringLiteral("Software\\Old")));
    EXPECT_FALSE(content.keyExists(QStringLiteral("Software\\Old\\Sub")));
    EXPECT_TRUE(content.keyExists(QStringLiteral("Software\\Old!")));
    EXPECT_TRUE(content.keyExists(QStringLiteral("Software\\Older")));
    EXPECT_EQ(RegFileFormat::parse(text + "[-HKEY_CURRENT_USER]\r\n", kRoot).keys.size(), 0);
}

TEST(RegFileFormat, ReadsUtf16FilesAsRegeditWritesThem)
{
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n"
                                        "[HKEY_CURRENT_USER\\Software\\Tessaro\\Paths]\r\n"
                                        "\"AppPath\"=\"C:\\\\Programme\\\\Tessaro \u00e9\"\r\n");
    QByteArray bytes("\xFF\xFE");
    bytes.append(utf16z(text).chopped(2));
    const RegFileContent content = RegFileFormat::parse(bytes, kRoot);
    EXPECT_EQ(valueAt(content, "Software\\Tessaro\\Paths", "AppPath").data,
              utf16z(QStringLiteral("C:\\Programme\\Tessaro \u00e9")));
}

TEST(RegFileFormat, Utf16SurrogatesWithoutPartnerBecomeReplacementCharacters)
{
    // A key path and a string with lone surrogates: written back as UTF-8 they must read the
    // same, so they are read as U+FFFD; a proper pair stays.
    const QString text = QStringLiteral("Windows Registry Editor Version 5.00\r\n\r\n[") + kRoot +
                         QStringLiteral("\\A") + QChar(0xD800) + QStringLiteral("]\r\n\"X\"=\"") +
                         QChar(0xDC00) + QChar(0xD83D) + QChar(0xDE00) + QChar(0xD83D) +
                         QStringLiteral("\"\r\n");
    QByteArray bytes("\xFF\xFE");
    bytes.append(utf16z(text).chopped(2));
    const RegFileContent first = RegFileFormat::parse(bytes, kRoot);
    const QString path = QStringLiteral("A") + QChar(QChar::ReplacementCharacter);
    ASSERT_TRUE(first.keyExists(path));
    const RegFileNamedValue *value = first.value(path, QStringLiteral("X"));
    ASSERT_NE(value, nullptr);
    EXPECT_EQ(value->value.data,
              utf16z(QString(QChar(QChar::ReplacementCharacter)) + QChar(0xD83D) + QChar(0xDE00) +
                     QChar(QChar::ReplacementCharacter)));
    const QByteArray written = RegFileFormat::serialise(first, kRoot);
    const RegFileContent second = RegFileFormat::parse(written, kRoot);
    EXPECT_EQ(second.skippedLines, 0);
    ASSERT_TRUE(second.keyExists(path));
    EXPECT_EQ(second.value(path, QStringLiteral("X"))->value, value->value);
    EXPECT_EQ(RegFileFormat::serialise(second, kRoot), written);
}

TEST(RegFileFormat, EveryValueTypeRoundTrips)
{
    QByteArray longBinary;
    for (int i = 0; i < 700; ++i)
        longBinary.append(static_cast<char>(i * 7));
    RegFileContent content;
    RegFileKey &key = content.createKey(QStringLiteral("Software\\Mixed Case\\Key"));
    const QList<RegFileNamedValue> values = {
        {QStringLiteral("plain"),
         {RegSz, utf16z(QStringLiteral("a \"quoted\" \\ path \U0001F600"))}},
        {QStringLiteral("empty"), {RegSz, utf16z(QString())}},
        {QStringLiteral("multiline"), {RegSz, utf16z(QStringLiteral("one\r\ntwo"))}},
        {QStringLiteral("unterminated"), {RegSz, QByteArray("a\0b\0", 4)}},
        {QStringLiteral("odd"), {RegSz, QByteArray("abc")}},
        {QStringLiteral("expand"), {RegExpandSz, utf16z(QStringLiteral("%HOME%\\x"))}},
        {QStringLiteral("dword"), {RegDword, QByteArray("\xff\xff\xff\xff")}},
        {QStringLiteral("short dword"), {RegDword, QByteArray("\1\2", 2)}},
        {QStringLiteral("big"), {RegDwordBigEndian, QByteArray("\1\2\3\4")}},
        {QStringLiteral("multi"), {RegMultiSz, QByteArray("a\0\0\0b\0\0\0\0\0", 10)}},
        {QStringLiteral("binary"), {RegBinary, longBinary}},
        {QStringLiteral("empty binary"), {RegBinary, QByteArray()}},
        {QStringLiteral("none"), {RegNone, QByteArray("\0", 1)}},
        {QStringLiteral("qword"), {11, QByteArray("\1\2\3\4\5\6\7\x08")}},
        {QStringLiteral("back\\slash \"name\""), {RegSz, utf16z(QStringLiteral("v"))}},
        {QString(), {RegSz, utf16z(QStringLiteral("the default"))}},
    };
    for (const RegFileNamedValue &value : values)
        key.values.insert(RegFileFormat::fold(value.name), value);
    content.createKey(QString()); // the root key itself
    content.createKey(QStringLiteral("Software\\Empty"));

    const QByteArray text = RegFileFormat::serialise(content, kRoot);
    const RegFileContent back = RegFileFormat::parse(text, kRoot);
    EXPECT_EQ(back.skippedLines, 0);
    for (const RegFileNamedValue &value : values) {
        const RegFileNamedValue *found = back.value(key.path, value.name);
        ASSERT_NE(found, nullptr) << value.name.toStdString();
        EXPECT_EQ(found->name, value.name);
        EXPECT_EQ(found->value, value.value) << value.name.toStdString();
    }
    EXPECT_TRUE(back.keys.contains(QStringLiteral("software\\empty")));
    EXPECT_EQ(back.keys.value(QStringLiteral("software\\mixed case\\key")).path,
              QStringLiteral("Software\\Mixed Case\\Key"));

    // The text itself is regedit's: readable forms where possible, hex lines kept short.
    const QString written = QString::fromUtf8(text);
    EXPECT_TRUE(written.startsWith(QStringLiteral("Windows Registry Editor Version 5.00\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("[HKEY_CURRENT_USER]\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("\"dword\"=dword:ffffffff\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("\"big\"=hex(5):01,02,03,04\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("\"back\\\\slash \\\"name\\\"\"=\"v\"\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("@=\"the default\"\r\n")));
    EXPECT_TRUE(written.contains(QStringLiteral("\"multiline\"=hex(1):")));
    for (const QString &line : written.split(QStringLiteral("\r\n")))
        EXPECT_LE(line.size(), 80) << line.toStdString();
}

TEST(RegFileFormat, DamagedTextKeepsEveryValueThatParses)
{
    QByteArray text = "Windows Registry Editor Version 5.00\r\n"
                      "\"orphan\"=\"before any key\"\r\n"
                      "[HKEY_CURRENT_USER\\Software\\A]\r\n"
                      "\"one\"=\"1\"\r\n"
                      "this line is garbage\r\n"
                      "\"bad dword\"=dword:123456789\r\n"
                      "\"bad hex\"=hex:01,zz,03\r\n"
                      "\"unterminated=\"x\r\n"
                      "\"two\"=dword:00000002\r\n"
                      "\"truncated\"=hex:01,02,\\\r\n"
                      "\"three\"=hex(2):41,00,00,00\r\n"
                      "[HKEY_LOCAL_MACHINE\\Software\\Other]\r\n"
                      "\"foreign\"=\"x\"\r\n"
                      "[HKEY_CURRENT_USER\\Software\\B\r\n";
    text.append("\x00\xff\xfe\x01junk\x80\x81\r\n", 12);
    text.append("[HKEY_CURRENT_USER\\Software\\C]\r\n\"four\"=\"4\"\r\n\"tail\"=hex:0a,0b,\\");
    const RegFileContent content = RegFileFormat::parse(text, kRoot);
    EXPECT_EQ(valueAt(content, "Software\\A", "one").data, utf16z(QStringLiteral("1")));
    EXPECT_EQ(valueAt(content, "Software\\A", "two").data, QByteArray("\2\0\0\0", 4));
    EXPECT_EQ(valueAt(content, "Software\\A", "three").data, utf16z(QStringLiteral("A")));
    EXPECT_EQ(valueAt(content, "Software\\C", "four").data, utf16z(QStringLiteral("4")));
    for (const char *name : {"bad dword", "bad hex", "truncated", "foreign", "tail"})
        EXPECT_EQ(valueAt(content, "Software\\A", name).type, RegNone) << name;
    EXPECT_EQ(content.value(QStringLiteral("Software\\C"), QStringLiteral("tail")), nullptr);
    EXPECT_FALSE(content.keyExists(QStringLiteral("Software\\Other")));
    EXPECT_GE(content.skippedLines, 10);
}

TEST(RegFileFormat, KeyPathsAreNormalisedOrRefused)
{
    QString out;
    ASSERT_TRUE(RegFileFormat::normaliseKeyPath(
        QStringLiteral("Software\\Halvern\\TR AddIn Editor\\"), &out));
    EXPECT_EQ(out, QStringLiteral("Software\\Halvern\\TR AddIn Editor"));
    ASSERT_TRUE(RegFileFormat::normaliseKeyPath(QStringLiteral("\\"), &out));
    EXPECT_EQ(out, QString());
    EXPECT_FALSE(RegFileFormat::normaliseKeyPath(QStringLiteral("a\\\\b"), &out));
    EXPECT_FALSE(RegFileFormat::normaliseKeyPath(QStringLiteral("a\nb"), &out));
}
