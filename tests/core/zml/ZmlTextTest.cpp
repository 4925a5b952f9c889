#include "core/zml/ZmlText.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace {
using Case = std::pair<QString, QString>;
const QChar kNbsp(0x00A0);
} // namespace

TEST(ZmlTextTest, EncodeTable)
{
    const std::vector<Case> cases = {
        {"", ""},
        {"a<b & c>d", "a&lt;b &amp; c&gt;d"},
        {"  x", "&#160;&#160;x"},
        {"a   b", "a &#160; b"},
        {"a  ", "a &#160;"},
        {"    ", "&#160;&#160;&#160;&#160;"},
        {" a  b", "&#160;a &#160;b"},
        {"x\r\ny", "x&#10;y"},
        {"x\ny", "x&#10;y"},
        {"x\ry", "x&#10;y"},
        {"x\r\r\ny\n", "x&#10;&#10;y&#10;"},
        {"a\tb", "a&#9;b"},
        {"\"", "&quot;"},
        {"it's", "it's"},
        {"a >= b <= c", "a &gt;= b &lt;= c"},
        {"&lt;", "&amp;lt;"},
        {"&#10;", "&amp;#10;"},
        {QString("a") + kNbsp + "b", QString("a") + kNbsp + "b"},
        // Spaces after a line break are not leading spaces of the value.
        {"x\n  y", "x&#10; &#160;y"},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(EncodeText(input), expected) << input.toStdString();
}

// The encoding as a chain of replacements over the whole text: the one-pass encoder must give
// the same result for any mix of spaces, line breaks and markup characters.
static QString encodeByReplacing(QString s)
{
    s.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
    s.replace('&', "&amp;").replace("\r\n", "&#10;");
    qsizetype leading = 0;
    while (leading < s.size() && s.at(leading) == u' ')
        ++leading;
    s = QString("&#160;").repeated(leading) + s.mid(leading);
    s.replace("  ", " &#160;").replace('\t', "&#9;").replace('<', "&lt;");
    return s.replace('>', "&gt;").replace('"', "&quot;");
}

TEST(ZmlTextTest, EncodingAgreesWithTheReplacementChain)
{
    const QString alphabet = QStringLiteral(" \r\n\t&<>\"a;#") + kNbsp;
    std::mt19937 random(7);
    for (int round = 0; round < 3000; ++round) {
        QString input;
        const int size = std::uniform_int_distribution<int>(0, 12)(random);
        for (int i = 0; i < size; ++i)
            input += alphabet.at(
                std::uniform_int_distribution<qsizetype>(0, alphabet.size() - 1)(random));
        ASSERT_EQ(EncodeText(input), encodeByReplacing(input)) << round;
    }
}

TEST(ZmlTextTest, DecodeTable)
{
    const std::vector<Case> cases = {
        {"", ""},
        {"x &ge; 1", "x >= 1"},
        {"x &le; 1", "x <= 1"},
        {"&amp;#10;", "&#10;"},
        {"&amp;lt;", "&lt;"},
        {"a&#10;b", "a\r\nb"},
        {"a\nb", "a\r\nb"},
        {"a\rb\r\nc", "a\r\nb\r\nc"},
        {"a&#9;b", "a\tb"},
        {"&#160;&#160;x", "  x"},
        {"&quot;&gt;&lt;", "\">"
                           "<"},
        {"a &amp; b", "a & b"},
    };
    for (const auto &[input, expected] : cases)
        EXPECT_EQ(DecodeText(input), expected) << input.toStdString();
}

// DecodeText against the chain of replacements it stands for, on text made of the pieces of
// references and line breaks.
TEST(ZmlTextTest, DecodingAgreesWithTheReplacementChain)
{
    const auto decodeByReplacing = [](QString s) {
        s.replace("\r\n", "\n").replace('\r', '\n').replace("\n", "\r\n");
        s.replace("&#10;", "\r\n").replace("&#9;", "\t").replace("&#160;", " ");
        s.replace("&quot;", "\"").replace("&gt;", ">").replace("&lt;", "<");
        return s.replace("&ge;", ">=").replace("&le;", "<=").replace("&amp;", "&");
    };
    const QStringList pieces = {"&",     "amp;", "lt;", "gt;", "ge;", "le;", "quot;", "#10;", "#9;",
                                "#160;", "#1",   "\r",  "\n",  ";",   "a",   " ",     "&amp;"};
    std::mt19937 random(11);
    for (int round = 0; round < 5000; ++round) {
        QString input;
        for (int i = std::uniform_int_distribution<int>(0, 10)(random); i > 0; --i)
            input +=
                pieces.at(std::uniform_int_distribution<qsizetype>(0, pieces.size() - 1)(random));
        ASSERT_EQ(DecodeText(input), decodeByReplacing(input)) << input.toStdString();
    }
}

// What the reader sees after the XML parser resolved the references of an encoded value.
TEST(ZmlTextTest, RoundTripThroughXmlUnescaping)
{
    const auto xmlUnescape = [](QString s) {
        s.replace("&#10;", "\n");
        s.replace("&#9;", "\t");
        s.replace("&#160;", QString(kNbsp));
        s.replace("&lt;", "<");
        s.replace("&gt;", ">");
        s.replace("&quot;", "\"");
        s.replace("&amp;", "&");
        return s;
    };
    EXPECT_EQ(DecodeText(xmlUnescape(EncodeText("a & \"b\"\nc\td"))), "a & \"b\"\r\nc\td");
    // Leading and doubled spaces come back as no-break spaces.
    EXPECT_EQ(DecodeText(xmlUnescape(EncodeText("  a  b"))),
              QString(kNbsp) + kNbsp + "a " + kNbsp + "b");
    // Entity-like text typed by the user comes back decoded.
    EXPECT_EQ(DecodeText(xmlUnescape(EncodeText("&lt;"))), "<");
}
