#include "CatalogueCbor.h"
#include "CatalogueHelp.h"
#include "CatalogueJson.h"

#include <QCborArray>
#include <QCborValue>

#include <gtest/gtest.h>

using namespace stepsmith::catalogue;

namespace {

Catalogue sampleCatalogue()
{
    Catalogue c;
    Action find;
    find.elementName = QStringLiteral("findtext");
    find.parent = QStringLiteral("Find");
    find.description = QStringLiteral("Find text");
    find.information = QStringLiteral("Finds text.");
    Attribute text;
    text.name = QStringLiteral("text");
    text.description = QStringLiteral("Find what");
    text.required = true;
    text.defaultValue = QStringLiteral("abc");
    Attribute matchCase;
    matchCase.name = QStringLiteral("matchcase");
    matchCase.dataType = Boolean;
    matchCase.defaultValue = true;
    Attribute times;
    times.name = QStringLiteral("times");
    times.dataType = Integer;
    times.defaultValue = qint64(5);
    Attribute direction;
    direction.name = QStringLiteral("direction");
    direction.dataType = List;
    direction.arrayValues = QStringLiteral("Up|Down");
    direction.defaultValue = QStringLiteral("Down");
    direction.value = QStringLiteral("Up");
    find.attributes = {text, matchCase, times, direction};
    Action box;
    box.elementName = QStringLiteral("msgbox");
    box.parent = QStringLiteral("Dialogs");
    box.description = QStringLiteral("Message box");
    box.containsText = true;
    box.textRequired = true;
    box.textMultiLine = true;
    box.textDescription = QStringLiteral("Message");
    box.text = QStringLiteral("line 1\r\nline 2");
    c.actions = {find, box};
    return c;
}

const char kMinimalJson[] = R"({"Actions": [
    {"ElementName": "a", "Parent": "P", "Description": "A"}
]})";

QStringList errorsOf(const QByteArray &json)
{
    return readJson(json).errors;
}

bool anyContains(const QStringList &errors, const QString &fragment)
{
    for (const QString &e : errors) {
        if (e.contains(fragment))
            return true;
    }
    return false;
}

} // namespace

TEST(CatalogueCbor, WritesTheExactKeysAndValueTypes)
{
    const QCborValue decoded = QCborValue::fromCbor(toCbor(sampleCatalogue()));
    ASSERT_TRUE(decoded.isMap());
    const QCborMap map = decoded.toMap();

    EXPECT_TRUE(map.value(QStringLiteral("ElementCount")).isInteger());
    EXPECT_EQ(map.value(QStringLiteral("ElementCount")).toInteger(), 2);
    EXPECT_EQ(map.value(QStringLiteral("ElementName1")).toString(), QStringLiteral("findtext"));
    EXPECT_EQ(map.value(QStringLiteral("Parent1")).toString(), QStringLiteral("Find"));
    EXPECT_EQ(map.value(QStringLiteral("AttribCount1")).toInteger(), 4);
    EXPECT_EQ(map.value(QStringLiteral("AttribCount2")).toInteger(), 0);

    // The type key uses a hyphen, every other attribute key an underscore.
    EXPECT_TRUE(map.value(QStringLiteral("Type1-2")).isInteger());
    EXPECT_EQ(map.value(QStringLiteral("Type1-2")).toInteger(), Boolean);
    EXPECT_FALSE(map.contains(QStringLiteral("Type1_2")));
    EXPECT_EQ(map.value(QStringLiteral("AttribName1_4")).toString(), QStringLiteral("direction"));
    EXPECT_EQ(map.value(QStringLiteral("ArrayValues1_4")).toString(), QStringLiteral("Up|Down"));
    EXPECT_EQ(map.value(QStringLiteral("Value1_4")).toString(), QStringLiteral("Up"));
    EXPECT_TRUE(map.value(QStringLiteral("Required1_1")).isTrue());
    EXPECT_TRUE(map.value(QStringLiteral("Required1_2")).isFalse());

    // Defaults keep the type they were given.
    EXPECT_TRUE(map.value(QStringLiteral("DefaultValue1_1")).isString());
    EXPECT_TRUE(map.value(QStringLiteral("DefaultValue1_2")).isTrue());
    EXPECT_TRUE(map.value(QStringLiteral("DefaultValue1_3")).isInteger());
    EXPECT_EQ(map.value(QStringLiteral("DefaultValue1_3")).toInteger(), 5);

    EXPECT_TRUE(map.value(QStringLiteral("ContainsText2")).isTrue());
    EXPECT_TRUE(map.value(QStringLiteral("TextMultiLine2")).isTrue());
    EXPECT_TRUE(map.value(QStringLiteral("TextRequired2")).isTrue());
    EXPECT_TRUE(map.value(QStringLiteral("ContainsText1")).isFalse());
    EXPECT_EQ(map.value(QStringLiteral("TextDescription2")).toString(), QStringLiteral("Message"));
    EXPECT_EQ(map.value(QStringLiteral("Text2")).toString(), QStringLiteral("line 1\r\nline 2"));
    // 1 count + 2 × 10 action keys + 4 × 7 attribute keys: nothing else is written.
    EXPECT_EQ(map.size(), 1 + 20 + 28);
}

TEST(CatalogueCbor, RoundTripKeepsEveryField)
{
    const Catalogue original = sampleCatalogue();
    const CborReadResult back = fromCbor(toCbor(original));
    ASSERT_TRUE(back.ok()) << back.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(back.catalogue, original);
    EXPECT_EQ(back.catalogue.actions.at(0).attributes.at(1).defaultValue.typeId(), QMetaType::Bool);
    EXPECT_EQ(back.catalogue.actions.at(0).attributes.at(2).defaultValue.typeId(),
              QMetaType::LongLong);
}

TEST(CatalogueCbor, MissingKeysTakeDefaultsAndOnlyTheHyphenTypeKeyIsRead)
{
    QCborMap map;
    map.insert(QStringLiteral("ElementCount"), 1);
    map.insert(QStringLiteral("ElementName1"), QStringLiteral("x"));
    map.insert(QStringLiteral("AttribCount1"), 2);
    map.insert(QStringLiteral("AttribName1_1"), QStringLiteral("a"));
    map.insert(QStringLiteral("Type1_1"), 5); // wrong separator: not the type key
    map.insert(QStringLiteral("AttribName1_2"), QStringLiteral("b"));
    map.insert(QStringLiteral("Type1-2"), 6);
    map.insert(QStringLiteral("Required1_2"), QStringLiteral("yes")); // wrong type: ignored
    map.insert(QStringLiteral("ContainsText1"), 1);                   // wrong type: ignored
    const CborReadResult r = fromCborMap(map);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.catalogue.actions.size(), 1);
    const Action &a = r.catalogue.actions.at(0);
    EXPECT_FALSE(a.containsText);
    EXPECT_TRUE(a.parent.isEmpty());
    ASSERT_EQ(a.attributes.size(), 2);
    EXPECT_EQ(a.attributes.at(0).dataType, String);
    EXPECT_EQ(a.attributes.at(1).dataType, Boolean);
    EXPECT_FALSE(a.attributes.at(1).required);
    EXPECT_EQ(a.attributes.at(0).defaultValue, QVariant(QString()));
}

TEST(CatalogueCbor, DamagedFilesAreErrorsNotCrashes)
{
    EXPECT_FALSE(fromCbor(QByteArray()).ok());
    EXPECT_FALSE(fromCbor(QByteArray("\xff\xfe garbage", 10)).ok());
    EXPECT_FALSE(fromCbor(QCborValue(QCborArray{1, 2}).toCbor()).ok());
    // A truncated file.
    const QByteArray good = toCbor(sampleCatalogue());
    EXPECT_FALSE(fromCbor(good.left(good.size() / 2)).ok());

    QCborMap noCount;
    noCount.insert(QStringLiteral("ElementName1"), QStringLiteral("x"));
    EXPECT_TRUE(anyContains(fromCborMap(noCount).errors, QStringLiteral("ElementCount")));

    // Absurd counts are refused at once instead of looping over missing keys.
    QCborMap huge;
    huge.insert(QStringLiteral("ElementCount"), qint64(1) << 40);
    EXPECT_FALSE(fromCborMap(huge).ok());
    QCborMap negative;
    negative.insert(QStringLiteral("ElementCount"), -3);
    EXPECT_FALSE(fromCborMap(negative).ok());
    QCborMap hugeAttributes;
    hugeAttributes.insert(QStringLiteral("ElementCount"), 1);
    hugeAttributes.insert(QStringLiteral("AttribCount1"), qint64(1) << 40);
    EXPECT_FALSE(fromCborMap(hugeAttributes).ok());

    // Counts that are each plausible but together exceed the keys: n actions of n attributes.
    QCborMap square;
    const int n = 2000;
    square.insert(QStringLiteral("ElementCount"), n);
    for (int i = 1; i <= n; ++i)
        square.insert(QStringLiteral("AttribCount%1").arg(i), n);
    EXPECT_FALSE(fromCborMap(square).ok());
}

TEST(CatalogueJson, SourceDumpRoundTrip)
{
    const Catalogue original = sampleCatalogue();
    const JsonReadResult back = readJson(writeJson(original));
    ASSERT_TRUE(back.ok()) << back.errors.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(back.catalogue, original);
}

TEST(CatalogueJson, ReadsOptionalFieldsWithDefaultsAndArrayValueForms)
{
    const JsonReadResult r = readJson(R"({"Format": "stepsmith-catalogue", "Version": 1,
        "Actions": [{"ElementName": "a", "Parent": "P", "Attributes": [
            {"Name": "x"},
            {"Name": "y", "DataType": 7, "ArrayValues": ["1", "2"], "DefaultValue": "2"},
            {"Name": "z", "DataType": 7, "ArrayValues": "p|q"},
            {"Name": "n", "DataType": 5, "DefaultValue": -7}]}]})");
    ASSERT_TRUE(r.ok()) << r.errors.join(QLatin1Char('\n')).toStdString();
    const Action &a = r.catalogue.actions.at(0);
    EXPECT_FALSE(a.containsText);
    EXPECT_EQ(a.attributes.at(0).dataType, String);
    EXPECT_FALSE(a.attributes.at(0).required);
    EXPECT_EQ(a.attributes.at(1).arrayValues, QStringLiteral("1|2"));
    EXPECT_EQ(a.attributes.at(2).arrayValueList(), (QStringList{"p", "q"}));
    EXPECT_EQ(a.attributes.at(3).defaultValue, QVariant(qint64(-7)));
}

TEST(CatalogueJson, InvalidSourcesGiveClearErrors)
{
    struct Case {
        const char *json;
        const char *expected;
    };
    const Case cases[] = {
        {"{\"Actions\": [\n{\"ElementName\": \"a\",,}]}", "line 2"},
        {"[1, 2]", "top level"},
        {"{\"Actions\": {}}", "\"Actions\" must be an array"},
        {"{\"Actions\": [3]}", "must be an object"},
        {"{\"Actions\": [{\"Parent\": \"P\"}]}", "ElementName is missing"},
        {"{\"Actions\": [{\"ElementName\": \"a b\", \"Parent\": \"P\"}]}", "not a valid tag"},
        {"{\"Actions\": [{\"ElementName\": \"Var\", \"Parent\": \"P\"},"
         "{\"ElementName\": \"var\", \"Parent\": \"P\"}]}",
         "repeats an earlier action"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\"}, {\"Name\": \"X\"}]}]}",
         "repeats an earlier attribute"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DataType\": 10}]}]}",
         "DataType 10 is not one of 1 to 9"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DataType\": 0}]}]}",
         "DataType 0"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DataType\": \"5\"}]}]}",
         "\"DataType\" must be a whole number"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DataType\": 2.5}]}]}",
         "\"DataType\" must be a whole number"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"Required\": \"yes\"}]}]}",
         "\"Required\" must be true or false"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DefaultValue\": {}}]}]}",
         "\"DefaultValue\" must be a string, a boolean or a whole number"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DataType\": 7, \"ArrayValues\": [\"a|b\"]}]}]}",
         "must not contain \"|\""},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DataType\": 7, \"ArrayValues\": [\"a\"], \"DefaultValue\": \"b\"}"
         "]}]}",
         "not one of the ArrayValues"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DataType\": 7}]}]}",
         "needs ArrayValues"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DefaultValue\": true}]}]}",
         "boolean default needs DataType 6"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Attributes\": ["
         "{\"Name\": \"x\", \"DataType\": 5, \"DefaultValue\": \"ten\"}]}]}",
         "not a whole number"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"Requried\": true}]}",
         "unknown field \"Requried\""},
        {"{\"Actions\": [{\"ElementName\": \"a\"}]}", "Parent"},
        {"{\"Actions\": [{\"ElementName\": \"a\", \"Parent\": \"P\", \"TextRequired\": true}]}",
         "need ContainsText"},
        {"{\"Version\": 2, \"Actions\": []}", "not supported"},
    };
    for (const Case &c : cases) {
        const QStringList errors = errorsOf(QByteArray(c.json));
        EXPECT_TRUE(anyContains(errors, QString::fromUtf8(c.expected)))
            << "input: " << c.json << "\nerrors: " << errors.join(QLatin1Char('\n')).toStdString();
    }
    // The minimal valid source has no errors, so the cases above fail for their own reason.
    EXPECT_TRUE(errorsOf(kMinimalJson).isEmpty());
}

TEST(CatalogueJson, HostileInputDoesNotCrash)
{
    EXPECT_FALSE(readJson(QByteArray()).ok());
    EXPECT_FALSE(readJson(QByteArray(100000, '[')).ok());
    EXPECT_FALSE(readJson(QByteArray("{\"Actions\": [{\"ElementName\": \"\xff\xfe\"")).ok());
    EXPECT_FALSE(readJson(QByteArray("{\"Actions\": null}")).ok());
}

TEST(CatalogueHelp, HasAnIndexAndAnAnchorPerActionAndEscapesText)
{
    Catalogue c = sampleCatalogue();
    c.actions[0].description = QStringLiteral("Find <b>bold</b> & more");
    c.actions[0].information = QStringLiteral("x < y && z");
    c.actions[0].attributes[0].description = QStringLiteral("<script>");
    c.actions[0].attributes[3].arrayValues = QStringLiteral("<Up>|Down&Out");
    c.actions[0].attributes[3].defaultValue = QStringLiteral("<Up>");
    c.actions[1].parent = QStringLiteral("R&D");
    const QString html =
        helpHtml(c, QStringLiteral("<html><head><title>x</title></head><body><p>Intro "
                                   "text</p></body></html>"));

    EXPECT_TRUE(html.contains(QLatin1String("id=\"index\"")));
    EXPECT_TRUE(html.contains(QLatin1String("name=\"index\"")));
    for (const Action &a : c.actions) {
        EXPECT_TRUE(html.contains(QStringLiteral("<a name=\"%1\">").arg(a.elementName)));
        EXPECT_TRUE(html.contains(QStringLiteral("id=\"%1\"").arg(a.elementName)));
        EXPECT_TRUE(html.contains(QStringLiteral("href=\"#%1\"").arg(a.elementName)));
    }
    EXPECT_TRUE(html.contains(QLatin1String("Find &lt;b&gt;bold&lt;/b&gt; &amp; more")));
    EXPECT_TRUE(html.contains(QLatin1String("x &lt; y &amp;&amp; z")));
    EXPECT_TRUE(html.contains(QLatin1String("&lt;script&gt;")));
    EXPECT_TRUE(html.contains(QLatin1String("&lt;Up&gt;")));
    EXPECT_TRUE(html.contains(QLatin1String("Down&amp;Out")));
    EXPECT_TRUE(html.contains(QLatin1String("R&amp;D")));
    EXPECT_FALSE(html.contains(QLatin1String("<script>")));
    EXPECT_FALSE(html.contains(QLatin1String("<b>bold")));
    // Only the introduction's body is embedded, once.
    EXPECT_TRUE(html.contains(QLatin1String("<p>Intro text</p>")));
    EXPECT_EQ(html.count(QLatin1String("<body")), 1);
    EXPECT_EQ(html.count(QLatin1String("<title>")), 1);
    // Type, required flag, default and the multi-line text note are shown.
    EXPECT_TRUE(html.contains(QLatin1String("yes/no")));
    EXPECT_TRUE(html.contains(QLatin1String("several lines allowed")));
    EXPECT_TRUE(html.contains(QLatin1String("<td>yes</td>")));
}

TEST(CatalogueHelp, IndexListsFoldersInOrderOfTheirFirstAction)
{
    Catalogue c;
    const char *names[][2] = {{"a", "Zeta"}, {"b", "Alpha"}, {"c", "Zeta"}};
    for (const auto &n : names) {
        Action a;
        a.elementName = QString::fromLatin1(n[0]);
        a.parent = QString::fromLatin1(n[1]);
        c.actions << a;
    }
    const QString html = helpHtml(c, QString());
    const qsizetype index = html.indexOf(QLatin1String("id=\"index\""));
    const qsizetype zeta = html.indexOf(QLatin1String("Zeta"), index);
    const qsizetype alpha = html.indexOf(QLatin1String("Alpha"), index);
    const qsizetype linkA = html.indexOf(QLatin1String("href=\"#a\""));
    const qsizetype linkC = html.indexOf(QLatin1String("href=\"#c\""));
    const qsizetype linkB = html.indexOf(QLatin1String("href=\"#b\""));
    ASSERT_GE(index, 0);
    EXPECT_LT(zeta, alpha);
    // Both Zeta actions are listed under Zeta, before Alpha's.
    EXPECT_LT(linkA, linkC);
    EXPECT_LT(linkC, linkB);
    EXPECT_EQ(html.count(QLatin1String("<p class=\"folder\">Zeta</p>")), 1);
}

TEST(CatalogueJson, DumpKeepsSchemaOrderAndAwkwardText)
{
    Catalogue c = sampleCatalogue();
    c.actions[0].description = QStringLiteral("quote \" backslash \\ tab \t line\nbreak é ✓");
    c.actions[0].attributes[0].value = QStringLiteral("{\"not\": \"json\"}");
    const QByteArray json = writeJson(c);
    const JsonReadResult back = readJson(json);
    ASSERT_TRUE(back.ok()) << json.toStdString();
    EXPECT_EQ(back.catalogue, c);
    EXPECT_LT(json.indexOf("\"ElementName\""), json.indexOf("\"Parent\""));
    EXPECT_LT(json.indexOf("\"Parent\""), json.indexOf("\"Attributes\""));

    const JsonReadResult empty = readJson(writeJson(Catalogue()));
    ASSERT_TRUE(empty.ok());
    EXPECT_TRUE(empty.catalogue.actions.isEmpty());
}

TEST(CatalogueJson, WarnsAboutWhatTheEditorNeeds)
{
    Catalogue c;
    for (const char *name : {"if", "else", "endif", "loop", "endloop", "var", "range"}) {
        Action a;
        a.elementName = QString::fromLatin1(name);
        a.parent = QStringLiteral("P");
        c.actions << a;
    }
    Attribute name;
    name.name = QStringLiteral("name");
    c.actions[5].attributes << name;
    c.actions[6].attributes << name;
    EXPECT_TRUE(editorWarnings(c).isEmpty())
        << editorWarnings(c).join(QLatin1Char('\n')).toStdString();

    c.actions[2].elementName = QStringLiteral("EndIf"); // block names are compared exactly
    c.actions[6].attributes[0].name = QStringLiteral("title");
    const QStringList warnings = editorWarnings(c);
    ASSERT_EQ(warnings.size(), 2) << warnings.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(warnings.at(0).contains(QLatin1String("\"endif\"")));
    EXPECT_TRUE(warnings.at(1).contains(QLatin1String("\"range\"")));
}

TEST(CatalogueCbor, DeeplyNestedInputIsRefused)
{
    // 100 000 nested one-element arrays: must fail cleanly, not overflow the stack.
    QByteArray nested(100000, '\x81');
    nested.append('\x00');
    EXPECT_FALSE(fromCbor(nested).ok());
}
