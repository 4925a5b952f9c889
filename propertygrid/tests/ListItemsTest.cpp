#include "QtPrinters.h"

#include <fieldpane/CListItems.h>

#include <QMetaObject>
#include <QSignalSpy>

#include <gtest/gtest.h>

using namespace Fieldpane;

namespace {

// A string row with `pattern` given `value`: true when the value was stored.
bool accepts(const QString &pattern, const QString &value)
{
    CListItems list;
    CListItem row = list.Add(QStringLiteral("r"), hlvString, QVariant(), pattern);
    row.setValue(value);
    return row.Value() == QVariant(value);
}

} // namespace

TEST(ListItemPattern, WildcardsOfStringRows)
{
    EXPECT_TRUE(accepts(QStringLiteral("#*"), QStringLiteral("12abc")));
    EXPECT_FALSE(accepts(QStringLiteral("#*"), QStringLiteral("abc")));
    EXPECT_FALSE(accepts(QStringLiteral("#*"), QString()));
    EXPECT_TRUE(accepts(QStringLiteral("a?c"), QStringLiteral("abc")));
    EXPECT_FALSE(accepts(QStringLiteral("a?c"), QStringLiteral("ac")));
    EXPECT_FALSE(accepts(QStringLiteral("a?c"), QStringLiteral("abbc")));
    // Case-sensitive.
    EXPECT_FALSE(accepts(QStringLiteral("abc"), QStringLiteral("ABC")));
    // Lists, ranges and negated lists.
    EXPECT_TRUE(accepts(QStringLiteral("[a-cx]9"), QStringLiteral("b9")));
    EXPECT_TRUE(accepts(QStringLiteral("[a-cx]9"), QStringLiteral("x9")));
    EXPECT_FALSE(accepts(QStringLiteral("[a-cx]9"), QStringLiteral("d9")));
    EXPECT_TRUE(accepts(QStringLiteral("[!0-9]*"), QStringLiteral("k1")));
    EXPECT_FALSE(accepts(QStringLiteral("[!0-9]*"), QStringLiteral("1k")));
    // Inside brackets the special characters stand for themselves; "-" at an end is literal.
    EXPECT_TRUE(accepts(QStringLiteral("[*?#]"), QStringLiteral("#")));
    EXPECT_FALSE(accepts(QStringLiteral("[*?#]"), QStringLiteral("5")));
    EXPECT_TRUE(accepts(QStringLiteral("[-a]"), QStringLiteral("-")));
    EXPECT_TRUE(accepts(QStringLiteral("x[a-]"), QStringLiteral("x-")));
    // Stars need backtracking: the last "b" has to be found after earlier ones.
    EXPECT_TRUE(accepts(QStringLiteral("*b*b"), QStringLiteral("abcbxb")));
    EXPECT_FALSE(accepts(QStringLiteral("*b*b"), QStringLiteral("abcx")));
    EXPECT_TRUE(accepts(QStringLiteral("a**"), QStringLiteral("a")));
    EXPECT_TRUE(accepts(QStringLiteral("[]ab"), QStringLiteral("ab")));
    // "]" outside a list is an ordinary character.
    EXPECT_TRUE(accepts(QStringLiteral("a]"), QStringLiteral("a]")));
    // A malformed pattern accepts nothing.
    EXPECT_FALSE(accepts(QStringLiteral("[abc"), QStringLiteral("a")));
    EXPECT_FALSE(accepts(QStringLiteral("[z-a]"), QStringLiteral("m")));
}

TEST(ListItemPattern, EmptyPatternAcceptsAnythingAndAddAppliesThePattern)
{
    CListItems list;
    CListItem free = list.Add(QStringLiteral("free"), hlvString, QStringLiteral("x"));
    free.setValue(QStringLiteral("anything at all"));
    EXPECT_EQ(free.Value(), QVariant(QStringLiteral("anything at all")));

    CListItem strict =
        list.Add(QStringLiteral("strict"), hlvString, QStringLiteral("abc"), QStringLiteral("#*"));
    EXPECT_FALSE(strict.Value().isValid());
    strict.setValue(QStringLiteral("7 up"));
    EXPECT_EQ(strict.Value(), QVariant(QStringLiteral("7 up")));
    strict.setValue(QStringLiteral("up"));
    EXPECT_EQ(strict.Value(), QVariant(QStringLiteral("7 up")));
}

TEST(ListItemValue, IntegerConversionRoundsHalvesToEven)
{
    CListItems list;
    CListItem row = list.Add(QStringLiteral("n"), hlvInteger, QStringLiteral("42"));
    EXPECT_EQ(row.Value().typeId(), QMetaType::Int);
    EXPECT_EQ(row.Value().toInt(), 42);
    const std::vector<std::pair<QVariant, int>> cases = {
        {QStringLiteral("4.5"), 4},
        {QStringLiteral("5.5"), 6},
        {QStringLiteral("-2.5"), -2},
        {QStringLiteral("2.51"), 3},
        {QStringLiteral(" 17 "), 17},
        {QVariant(3.5), 4},
        {QVariant(-0.5), 0},
        {QStringLiteral("&H1F"), 31},
        {QVariant(true), -1},
        {QStringLiteral("1e3"), 1000},
        {QStringLiteral("2147483647"), 2147483647},
        {QStringLiteral("-2147483648"), -2147483647 - 1}};
    for (const auto &[input, expected] : cases) {
        row.setValue(input);
        EXPECT_EQ(row.Value().toInt(), expected) << input.toString().toStdString();
    }
    // Refused values keep the previous number.
    row.setValue(7);
    for (const QVariant &bad :
         {QVariant(QStringLiteral("x")), QVariant(QString()),
          QVariant(QStringLiteral("2147483648")), QVariant(QStringLiteral("2147483647.5")),
          QVariant(1e12), QVariant(QStringLiteral("12abc")), QVariant(qInf())}) {
        row.setValue(bad);
        EXPECT_EQ(row.Value().toInt(), 7) << bad.toString().toStdString();
    }
}

TEST(ListItemValue, BooleanConversionFallsBackToFalse)
{
    CListItems list;
    CListItem row = list.Add(QStringLiteral("b"), hlvBoolean, QStringLiteral("TRUE"));
    EXPECT_EQ(row.Value(), QVariant(QStringLiteral("true")));
    const std::vector<std::pair<QVariant, QString>> cases = {
        {QVariant(0), QStringLiteral("false")},
        {QVariant(-1), QStringLiteral("true")},
        {QStringLiteral("False"), QStringLiteral("false")},
        {QVariant(2.5), QStringLiteral("true")},
        {QVariant(true), QStringLiteral("true")},
        {QStringLiteral("maybe"), QStringLiteral("false")},
        {QStringLiteral("1"), QStringLiteral("true")},
        {QStringLiteral("0"), QStringLiteral("false")}};
    for (const auto &[input, expected] : cases) {
        row.setValue(QStringLiteral("true"));
        row.setValue(input);
        EXPECT_EQ(row.Value(), QVariant(expected)) << input.toString().toStdString();
    }
}

TEST(ListItemValue, OtherTypesStoreWhatTheyAreGiven)
{
    CListItems list;
    for (eValueTypes type : {hlvTextArea, hlvFilePath, hlvBrowseForFolder, hlvArray, hlvVariable}) {
        CListItem row = list.Add(QStringLiteral("r"), type, 12, QStringLiteral("#"));
        EXPECT_EQ(row.Value(), QVariant(12));
        row.setValue(QStringLiteral("text"));
        EXPECT_EQ(row.Value(), QVariant(QStringLiteral("text")));
    }
}

TEST(ListItem, NewRowDefaultsAndReadOnlyFields)
{
    CListItems list;
    const QStringList choices{QStringLiteral("a"), QStringLiteral("b")};
    CListItem row = list.Add(QStringLiteral("Name"), hlvArray, QStringLiteral("b"), choices,
                             QStringLiteral("K1"));
    EXPECT_EQ(row.FileFilter(), QStringLiteral("All Files (*.*)|*.*"));
    EXPECT_FALSE(row.Bold());
    EXPECT_EQ(row.ValueType(), hlvArray);
    EXPECT_EQ(row.Key(), QStringLiteral("K1"));
    EXPECT_EQ(row.Name(), QStringLiteral("Name"));
    EXPECT_EQ(row.ValidValuesList(), choices);
    row.setBold(true);
    row.setName(QStringLiteral("Other"));
    row.setFileFilter(QStringLiteral("Text|*.txt"));
    const CListItem same = list.Item(1);
    EXPECT_TRUE(same == row);
    EXPECT_TRUE(same.Bold());
    EXPECT_EQ(same.Name(), QStringLiteral("Other"));
    EXPECT_EQ(same.FileFilter(), QStringLiteral("Text|*.txt"));
    // Late binding reaches the same fields through the meta-object system.
    const QMetaObject &meta = CListItem::staticMetaObject;
    EXPECT_EQ(meta.property(meta.indexOfProperty("Name")).readOnGadget(&row).toString(),
              QStringLiteral("Other"));
    EXPECT_FALSE(meta.property(meta.indexOfProperty("Key")).isWritable());
    EXPECT_FALSE(meta.property(meta.indexOfProperty("ValueType")).isWritable());
    EXPECT_FALSE(meta.property(meta.indexOfProperty("ValidValues")).isWritable());
}

TEST(ListItems, LookupByPositionAndCaseInsensitiveKey)
{
    CListItems list;
    list.Add(QStringLiteral("first"), hlvString, QStringLiteral("1"), {}, QStringLiteral("Alpha"));
    CListItem unkeyed = list.Add(QStringLiteral("second"), hlvString, QStringLiteral("2"));
    list.Add(QStringLiteral("third"), hlvString, QStringLiteral("3"), {}, QStringLiteral("beta"));
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.Item(QStringLiteral("ALPHA")).Name(), QStringLiteral("first"));
    EXPECT_EQ(list.Item(QVariant(QStringLiteral("Beta"))).Name(), QStringLiteral("third"));
    EXPECT_EQ(list.Item(QVariant(2)), unkeyed);
    EXPECT_TRUE(unkeyed.Key().isEmpty());
    EXPECT_TRUE(list.Item(QString()).isNull()); // an unkeyed row is found only by position
    EXPECT_TRUE(list.Item(0).isNull());
    EXPECT_TRUE(list.Item(4).isNull());
    EXPECT_TRUE(list.Item(QStringLiteral("gamma")).isNull());
    // A text that looks like a number is a key, not a position.
    EXPECT_TRUE(list.Item(QVariant(QStringLiteral("1"))).isNull());
    EXPECT_TRUE(list.Contains(QStringLiteral("alpha")));

    QStringList names;
    for (const CListItem &row : list)
        names << row.Name();
    EXPECT_EQ(names, QStringList({QStringLiteral("first"), QStringLiteral("second"),
                                  QStringLiteral("third")}));
}

TEST(ListItems, DuplicateKeyIsRefusedWithoutNotification)
{
    CListItems list;
    QSignalSpy added(&list, &CListItems::ItemAdded);
    ASSERT_FALSE(list.Add(QStringLiteral("a"), hlvString, {}, {}, QStringLiteral("Key")).isNull());
    EXPECT_TRUE(list.Add(QStringLiteral("b"), hlvString, {}, {}, QStringLiteral("KEY")).isNull());
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(added.count(), 1);
    EXPECT_EQ(list.Item(QStringLiteral("key")).Name(), QStringLiteral("a"));
}

TEST(ListItems, RemoveNotifiesAndLeavesADetachedValidRow)
{
    CListItems list;
    list.Add(QStringLiteral("a"), hlvString, {}, {}, QStringLiteral("A"));
    list.Add(QStringLiteral("b"), hlvInteger, 5, {}, QStringLiteral("B"));
    list.Add(QStringLiteral("c"), hlvString);
    QSignalSpy removed(&list, &CListItems::ItemRemoved);
    CListItem kept = list.Item(QStringLiteral("b"));

    EXPECT_FALSE(list.Remove(QStringLiteral("zzz")));
    EXPECT_FALSE(list.Remove(0));
    EXPECT_FALSE(list.Remove(4));
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(list.Count(), 3);

    ASSERT_TRUE(list.Remove(QStringLiteral("B")));
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed.at(0).at(0).value<CListItem>(), kept);
    EXPECT_EQ(list.Count(), 2);
    EXPECT_FALSE(list.Contains(QStringLiteral("b")));
    EXPECT_EQ(list.IndexOf(kept), 0);
    // The detached row still works, and its key can be used again.
    kept.setValue(QStringLiteral("8"));
    EXPECT_EQ(kept.Value().toInt(), 8);
    EXPECT_FALSE(list.Add(QStringLiteral("b2"), hlvString, {}, {}, QStringLiteral("b")).isNull());

    ASSERT_TRUE(list.Remove(1));
    EXPECT_EQ(list.Item(1).Name(), QStringLiteral("c"));
}

TEST(ListItems, ClearRaisesListClearedOnceAndNoItemRemoved)
{
    CListItems list;
    QSignalSpy removed(&list, &CListItems::ItemRemoved);
    QSignalSpy cleared(&list, &CListItems::ListCleared);
    list.Clear();
    EXPECT_EQ(cleared.count(), 1);
    for (int i = 0; i < 3; ++i)
        list.Add(QStringLiteral("r"), hlvString, {}, {}, QStringLiteral("k%1").arg(i));
    list.Clear();
    EXPECT_EQ(cleared.count(), 2);
    EXPECT_EQ(removed.count(), 0);
    EXPECT_EQ(list.Count(), 0);
    EXPECT_FALSE(
        list.Add(QStringLiteral("again"), hlvString, {}, {}, QStringLiteral("k0")).isNull());
}

TEST(ListItems, ReachableThroughTheMetaObjectSystem)
{
    CListItems list;
    CListItem row;
    ASSERT_TRUE(QMetaObject::invokeMethod(
        &list, "Add", Q_RETURN_ARG(Fieldpane::CListItem, row), Q_ARG(QString, QStringLiteral("n")),
        Q_ARG(Fieldpane::eValueTypes, hlvInteger), Q_ARG(QVariant, QVariant(QStringLiteral("9")))));
    ASSERT_FALSE(row.isNull());
    EXPECT_EQ(row.Value().toInt(), 9);
    EXPECT_EQ(list.property("Count").toInt(), 1);
}
