#include "core/document/CElements.h"
#include "core/document/CHeader.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

QStringList keysOf(const CElements &elements)
{
    QStringList keys;
    for (const auto &e : elements)
        keys << e->Key();
    return keys;
}

} // namespace

TEST(CAttributesTest, KeysIgnoreCaseAndDuplicatesAreRefused)
{
    CAttributes attributes;
    const auto text = attributes.Add("text", 1, "v");
    ASSERT_TRUE(text);
    EXPECT_EQ(attributes.Item("TEXT"), text);
    EXPECT_EQ(attributes.Item("Text"), text);
    EXPECT_FALSE(attributes.Add("TEXT", 2, "other"));
    EXPECT_EQ(attributes.Count(), 1);
    EXPECT_EQ(attributes.Item("text")->Value, "v");
    EXPECT_FALSE(attributes.Item("missing"));
}

TEST(CAttributesTest, PositionsAreOneBasedAndFollowInsertionOrder)
{
    CAttributes attributes;
    for (const char *name : {"b", "a", "c"})
        ASSERT_TRUE(attributes.Add(name));
    EXPECT_FALSE(attributes.Item(0));
    EXPECT_FALSE(attributes.Item(4));
    EXPECT_EQ(attributes.Item(1)->AttributeName, "b");
    EXPECT_EQ(attributes.Item(3)->AttributeName, "c");

    EXPECT_TRUE(attributes.Remove(2));
    EXPECT_FALSE(attributes.Remove(3));
    EXPECT_FALSE(attributes.Remove("a"));
    EXPECT_EQ(attributes.Item(2)->AttributeName, "c");
    QStringList order;
    for (const auto &a : attributes)
        order << a->AttributeName;
    EXPECT_EQ(order, QStringList({"b", "c"}));
    // A removed name can be added again, at the end.
    ASSERT_TRUE(attributes.Add("A"));
    EXPECT_EQ(attributes.Item(3)->AttributeName, "A");
}

TEST(CAttributesTest, AddKeepsEveryField)
{
    CAttributes attributes;
    const auto a = attributes.Add("count", 5, "3", "1|2|3", true, 7, "Count");
    ASSERT_TRUE(a);
    EXPECT_EQ(a->AttributeName, "count");
    EXPECT_EQ(a->DataType, 5);
    EXPECT_EQ(a->Value, "3");
    EXPECT_EQ(a->ArrayValues, "1|2|3");
    EXPECT_TRUE(a->Required);
    EXPECT_EQ(a->DefaultValue, QVariant(7));
    EXPECT_EQ(a->Description, "Count");
}

TEST(CElementsTest, AddStoresUnderUpperCasedNameAndRefusesDuplicates)
{
    CElements catalogue;
    const auto e = catalogue.Add("msgbox", "Message box", true, "Message", true, true, "Dialogs",
                                 "hello", true);
    ASSERT_TRUE(e);
    EXPECT_EQ(e->Key(), "MSGBOX");
    EXPECT_EQ(e->TextDescription, "Message");
    EXPECT_TRUE(e->TextRequired);
    EXPECT_TRUE(e->TextAllowMultiLine);
    EXPECT_EQ(e->Parent, "Dialogs");
    EXPECT_EQ(e->Text, "hello");
    EXPECT_TRUE(e->Disabled);
    EXPECT_EQ(catalogue.Item("MsgBox"), e);
    EXPECT_FALSE(catalogue.Add("MSGBOX"));
    EXPECT_EQ(catalogue.Count(), 1);
}

TEST(CElementsTest, AddCopyMakesIndependentCopies)
{
    CElements catalogue;
    auto def = catalogue.Add("var", "Variable", true, "Text", true, false, "Vars", "t", false);
    def->Information = "info";
    def->IsComment = false;
    (void)def->Attributes().Add("name", 8, "x", "", true, QVariant("d"), "Name");

    CElements steps;
    const auto copy = steps.AddCopy(*def, "K1");
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->Key(), "K1");
    EXPECT_EQ(def->Key(), "VAR");
    EXPECT_EQ(copy->ElementName, "var");
    EXPECT_EQ(copy->Information, "info");
    EXPECT_EQ(copy->Parent, "Vars");
    EXPECT_EQ(copy->Text, "t");
    EXPECT_TRUE(copy->ContainsText);
    EXPECT_TRUE(copy->TextRequired);
    ASSERT_EQ(copy->Attributes().Count(), 1);
    const auto attr = copy->Attributes().Item("NAME");
    EXPECT_NE(attr, def->Attributes().Item("name"));
    EXPECT_EQ(attr->DefaultValue, QVariant("d"));

    attr->Value = "changed";
    copy->Text = "other";
    EXPECT_EQ(def->Attributes().Item("name")->Value, "x");
    EXPECT_EQ(def->Text, "t");

    // Same key again is refused and leaves the first copy.
    EXPECT_FALSE(steps.AddCopy(*def, "k1"));
    EXPECT_EQ(steps.Item("K1"), copy);
}

TEST(CElementsTest, AddCopyKeyFallsBackToSourceKeyThenElementName)
{
    CElements catalogue;
    auto def = catalogue.Add("endif");
    CElements other;
    const auto viaSourceKey = other.AddCopy(*def);
    ASSERT_TRUE(viaSourceKey);
    EXPECT_EQ(viaSourceKey->Key(), "ENDIF");

    CElement loose; // never stored: empty key
    loose.ElementName = "loop";
    const auto viaName = other.AddCopy(loose);
    ASSERT_TRUE(viaName);
    EXPECT_EQ(viaName->Key(), "LOOP");
    EXPECT_EQ(other.Item("loop"), viaName);
}

TEST(CElementsTest, GetVariableNamesComparesNamesExactlyAndSkipsEmpty)
{
    CElements catalogue;
    auto var = catalogue.Add("var");
    (void)var->Attributes().Add("name");
    auto capital = catalogue.Add("Var2");
    capital->ElementName = "Var";
    (void)capital->Attributes().Add("name", 0, "shouting");
    auto range = catalogue.Add("range");
    (void)range->Attributes().Add("name");

    CElements steps;
    var->Attributes().Item("name")->Value = "a";
    (void)steps.AddCopy(*var, "K1");
    var->Attributes().Item("name")->Value = "";
    (void)steps.AddCopy(*var, "K2");
    (void)steps.AddCopy(*capital, "K3");
    range->Attributes().Item("name")->Value = "r1";
    (void)steps.AddCopy(*range, "K4");
    var->Attributes().Item("name")->Value = "a";
    (void)steps.AddCopy(*var, "K5");

    EXPECT_EQ(steps.GetVariableNames(false), QStringList({"a", "a"}));
    EXPECT_EQ(steps.GetVariableNames(true), QStringList({"r1"}));
    EXPECT_TRUE(CElements().GetVariableNames(false).isEmpty());
}

TEST(CElementsTest, ClearEmptiesAndAllowsReuseOfKeys)
{
    CElements steps;
    CElement e;
    for (int i = 1; i <= 5; ++i)
        ASSERT_TRUE(steps.AddCopy(e, "K" + QString::number(i)));
    steps.Clear();
    EXPECT_EQ(steps.Count(), 0);
    EXPECT_FALSE(steps.Item(1));
    EXPECT_TRUE(steps.AddCopy(e, "K1"));
}

// Positions, keys and iteration stay consistent with a plain list under heavy removal.
TEST(CElementsTest, RandomRemovalsMatchAReferenceList)
{
    CElements steps;
    CElement e;
    QStringList reference;
    for (int i = 0; i < 3000; ++i) {
        const QString key = "K" + QString::number(i);
        ASSERT_TRUE(steps.AddCopy(e, key));
        reference << key;
    }
    std::mt19937 random(7);
    for (int round = 0; round < 2500; ++round) {
        const int position = std::uniform_int_distribution<int>(1, steps.Count())(random);
        if (round % 3 == 0) {
            ASSERT_TRUE(steps.Remove(position));
            reference.removeAt(position - 1);
        } else {
            const QString key = reference.at(position - 1);
            ASSERT_EQ(steps.Item(position)->Key(), key);
            ASSERT_TRUE(steps.Remove(key.toLower()));
            reference.removeAt(position - 1);
        }
        if (round % 200 == 0) {
            const QString key = "N" + QString::number(round);
            ASSERT_TRUE(steps.AddCopy(e, key));
            reference << key;
        }
    }
    ASSERT_EQ(steps.Count(), reference.size());
    for (int i = 0; i < reference.size(); ++i)
        ASSERT_EQ(steps.Item(i + 1)->Key(), reference.at(i)) << i;
    EXPECT_EQ(keysOf(steps), reference);
}

TEST(CElementsTest, KeysFoldLikeQtAndNewKeysAreFoundOnceIndexed)
{
    // The ASCII fast path of key folding gives Qt's case folding for every kind of key.
    for (const QString &key :
         {QString(), QStringLiteral("k12"), QStringLiteral("K12"), QStringLiteral("msgBOX"),
          QStringLiteral("ABC-xyz_09 Z"), QStringLiteral("\u00C4rger"), QStringLiteral("x\u212A"),
          QStringLiteral("STRASSE\u00DF"), QStringLiteral("[@`{")}) {
        EXPECT_EQ(KeyedList<CElement>::foldKey(key), key.toCaseFolded()) << key.toStdString();
    }

    // Steps stored without a search are found by any case once the collection is indexed.
    CElements steps;
    for (int id = 1; id <= 40; ++id) {
        auto step = std::make_shared<CElement>();
        step->ElementName = QStringLiteral("var");
        steps.AdoptNew(step, QStringLiteral("K%1").arg(id));
    }
    EXPECT_EQ(steps.Count(), 40);
    EXPECT_EQ(steps.Item(QStringLiteral("k7"))->Key(), "K7");
    EXPECT_TRUE(steps.Remove(QStringLiteral("K8")));
    steps.AdoptNew(std::make_shared<CElement>(), QStringLiteral("K41"));
    EXPECT_TRUE(steps.Contains(QStringLiteral("k41")));
    EXPECT_FALSE(steps.Contains(QStringLiteral("K8")));
    EXPECT_EQ(steps.Item(40)->Key(), "K41");
}

TEST(CHeaderTest, ResetWithoutHostSettingsGivesVersionOnly)
{
    CHeader header;
    EXPECT_EQ(header.Version, "1.0");
    header.Author = "a";
    header.Company = "c";
    header.EMail = "e";
    header.Web = "w";
    header.Description = "d";
    header.Version = "2";
    header.Reset();
    EXPECT_EQ(header.Version, "1.0");
    EXPECT_TRUE(header.Author.isEmpty());
    EXPECT_TRUE(header.Company.isEmpty());
    EXPECT_TRUE(header.EMail.isEmpty());
    EXPECT_TRUE(header.Web.isEmpty());
    EXPECT_TRUE(header.Description.isEmpty());
}
