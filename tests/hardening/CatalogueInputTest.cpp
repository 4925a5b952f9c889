// The compiled catalogue reader and the catalogue source reader against large and damaged input.
#include "CatalogueCbor.h"
#include "CatalogueJson.h"

#include <QCborArray>
#include <QCborMap>
#include <QCborValue>

#include <gtest/gtest.h>

using namespace stepsmith::catalogue;

namespace {

Catalogue manyActions(int count)
{
    Catalogue catalogue;
    catalogue.actions.reserve(count);
    for (int i = 0; i < count; ++i) {
        Action action;
        action.elementName = QStringLiteral("action%1").arg(i);
        action.parent = QStringLiteral("Group %1").arg(i % 17);
        action.description = QStringLiteral("Action number %1").arg(i);
        action.containsText = i % 2 == 0;
        for (int j = 0; j < 3; ++j) {
            Attribute a;
            a.name = QStringLiteral("attr%1").arg(j);
            a.dataType = 1 + (i + j) % 9;
            a.required = j == 0;
            a.arrayValues = a.dataType == List ? QStringLiteral("a|b|c") : QString();
            action.attributes << a;
        }
        catalogue.actions << action;
    }
    return catalogue;
}

} // namespace

TEST(CatalogueInput, TenThousandActionsReadBackCompletely)
{
    const Catalogue catalogue = manyActions(10000);
    const QByteArray compiled = toCbor(catalogue);
    const CborReadResult read = fromCbor(compiled);
    ASSERT_TRUE(read.ok()) << read.errors.join(u'\n').toStdString();
    ASSERT_EQ(read.catalogue.actions.size(), 10000);
    EXPECT_EQ(read.catalogue, catalogue);

    const JsonReadResult source = readJson(writeJson(catalogue));
    ASSERT_TRUE(source.ok()) << source.errors.mid(0, 3).join(u'\n').toStdString();
    EXPECT_EQ(source.catalogue, catalogue);
}

TEST(CatalogueInput, BrokenKeysAreIgnoredAndTheFirstOfDuplicateKeysCounts)
{
    QCborMap map;
    map.insert(QStringLiteral("ElementCount"), 2);
    map.insert(QStringLiteral("ElementName1"), QStringLiteral("first"));
    map.insert(QStringLiteral("ElementName01"), QStringLiteral("padded")); // not a key we read
    map.insert(QStringLiteral("elementname2"), QStringLiteral("lower"));   // keys keep their case
    map.insert(QStringLiteral("ElementName3"), QStringLiteral("beyond the count"));
    map.insert(QStringLiteral("AttribCount1"), 1);
    map.insert(QStringLiteral("AttribName1_1"), QByteArray("bytes, not text"));
    map.insert(QStringLiteral("Type1-1"), QStringLiteral("5")); // text, not a number
    map.insert(QStringLiteral("DefaultValue1_1"), 2.5);         // a type the format lacks
    map.insert(QCborValue(7), QStringLiteral("an integer key"));
    map.insert(QCborValue(QCborArray{1}), QStringLiteral("an array key"));
    // A second entry with the same key: the first one counts.
    QCborMap doubled = map;
    QCborValue duplicated(doubled);
    QByteArray bytes = duplicated.toCbor();
    // Append one more pair "ElementName1" -> "second" and raise the map's size by one.
    ASSERT_EQ(static_cast<uchar>(bytes.at(0)), 0xA0 + doubled.size());
    bytes[0] = static_cast<char>(0xA0 + doubled.size() + 1);
    bytes += QCborValue(QStringLiteral("ElementName1")).toCbor();
    bytes += QCborValue(QStringLiteral("second")).toCbor();

    for (const CborReadResult &r : {fromCborMap(map), fromCbor(bytes)}) {
        ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
        ASSERT_EQ(r.catalogue.actions.size(), 2);
        const Action &first = r.catalogue.actions.at(0);
        EXPECT_EQ(first.elementName, QStringLiteral("first"));
        ASSERT_EQ(first.attributes.size(), 1);
        EXPECT_TRUE(first.attributes.at(0).name.isEmpty());
        EXPECT_EQ(first.attributes.at(0).dataType, String);
        EXPECT_EQ(first.attributes.at(0).defaultValue, QVariant(QString()));
        EXPECT_TRUE(r.catalogue.actions.at(1).elementName.isEmpty());
    }
}

TEST(CatalogueInput, OutOfRangeTypesAndCountsDoNotOverflow)
{
    QCborMap map;
    map.insert(QStringLiteral("ElementCount"), 1);
    map.insert(QStringLiteral("ElementName1"), QStringLiteral("x"));
    map.insert(QStringLiteral("AttribCount1"), 2);
    map.insert(QStringLiteral("Type1-1"), std::numeric_limits<qint64>::max());
    map.insert(QStringLiteral("Type1-2"), std::numeric_limits<qint64>::min());
    const CborReadResult r = fromCborMap(map);
    ASSERT_TRUE(r.ok());
    ASSERT_EQ(r.catalogue.actions.at(0).attributes.size(), 2);
    for (const Attribute &a : r.catalogue.actions.at(0).attributes)
        EXPECT_EQ(a.dataType, String);

    QCborMap negativeAttributes;
    negativeAttributes.insert(QStringLiteral("ElementCount"), 1);
    negativeAttributes.insert(QStringLiteral("AttribCount1"), -1);
    EXPECT_FALSE(fromCborMap(negativeAttributes).ok());
}

TEST(CatalogueInput, HostileSourceTextIsRefusedWithoutAFault)
{
    // Deep nesting, a huge string and a huge count of actions all end in a result, not a crash.
    QByteArray deep = "{\"Format\":\"stepsmith-catalogue\",\"Version\":1,\"Actions\":";
    deep += QByteArray(100000, '[');
    EXPECT_FALSE(readJson(deep).ok());

    QByteArray big = "{\"Format\":\"stepsmith-catalogue\",\"Version\":1,\"Actions\":[{"
                     "\"ElementName\":\"x\",\"Parent\":\"p\",\"Description\":\"";
    big += QByteArray(1 << 20, 'd');
    big += "\"}]}";
    const JsonReadResult r = readJson(big);
    ASSERT_TRUE(r.ok()) << r.errors.join(u'\n').toStdString();
    EXPECT_EQ(r.catalogue.actions.at(0).description.size(), 1 << 20);

    EXPECT_FALSE(readJson(QByteArray("\xEF\xBB\xBF\x00\x00garbage", 10)).ok());
}
