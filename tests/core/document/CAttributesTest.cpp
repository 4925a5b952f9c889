#include "core/document/CAttributes.h"
#include "core/document/CDocument.h"
#include "core/document/CElement.h"
#include "core/document/StepText.h"
#include "core/zml/ZmlReader.h"

#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

namespace {

// An action's attributes as the catalogue loader builds them (full mode), with loaded values.
void fillAction(CAttributes &action)
{
    (void)action.Add("name", 8, "n0", {}, true, {}, "Name");
    (void)action.Add("Value", 1, "v0", "a|b", false, QVariant("d"), "Value");
    (void)action.Add("title", 1, {}, {}, false, {}, "Title");
}

QStringList namesOf(const CAttributes &attributes)
{
    QStringList names;
    for (const auto &a : attributes)
        names << a->AttributeName;
    return names;
}

QStringList valuesOf(const CAttributes &attributes)
{
    QStringList values;
    for (int i = 0; i < attributes.Count(); ++i)
        values << attributes.ValueAt(i);
    return values;
}

} // namespace

TEST(CAttributesCompactTest, CopyStartsWithTheActionsValuesAndMaterialisesOnItem)
{
    CAttributes action;
    fillAction(action);
    CElement step;
    step.ElementName = "var";
    step.Attributes().CopyFrom(action);
    CAttributes &attributes = step.Attributes();
    ASSERT_TRUE(attributes.IsCompact());
    EXPECT_EQ(attributes.Count(), 3);
    EXPECT_EQ(valuesOf(attributes), QStringList({"n0", "v0", ""}));
    EXPECT_EQ(attributes.DefinitionAt(1).AttributeName, "Value");
    EXPECT_EQ(attributes.DefinitionAt(1).ArrayValues, "a|b");
    EXPECT_EQ(attributes.DefinitionAt(1).DefaultValue, QVariant("d"));
    EXPECT_EQ(BuildStepText(step), "<var name=\"n0\" Value=\"v0\" title=\"\" />");

    attributes.SetValueAt(0, "count");
    const auto value = attributes.Item("VALUE");
    ASSERT_TRUE(value);
    EXPECT_FALSE(attributes.IsCompact());
    // The materialised object carries the definition and this step's values.
    EXPECT_EQ(value->Description, "Value");
    EXPECT_EQ(value->DataType, 1);
    EXPECT_EQ(attributes.Item("name")->Value, "count");
    value->Value = "a < b";
    EXPECT_EQ(attributes.ValueAt(1), "a < b");
    EXPECT_EQ(BuildStepText(step), "<var name=\"count\" Value=\"a &lt; b\" title=\"\" />");
    // Writes through the index reach the handed-out object too.
    attributes.SetValueAt(1, "z");
    EXPECT_EQ(value->Value, "z");
    EXPECT_EQ(attributes.Item(2), value);
}

TEST(CAttributesCompactTest, CopiesOfOneActionNeverShareValues)
{
    CAttributes action;
    fillAction(action);
    CAttributes first;
    CAttributes second;
    first.CopyFrom(action);
    second.CopyFrom(action);

    // Both compact.
    first.SetValueAt(0, "one");
    EXPECT_EQ(second.ValueAt(0), "n0");
    EXPECT_EQ(action.Item("name")->Value, "n0");

    // One materialised, the other compact.
    first.Item("name")->Value = "first";
    second.SetValueAt(0, "second");
    EXPECT_EQ(first.ValueAt(0), "first");
    EXPECT_EQ(second.ValueAt(0), "second");

    // Both materialised: distinct objects.
    EXPECT_NE(first.Item("name"), second.Item("name"));
    second.Item("name")->Value = "changed";
    EXPECT_EQ(first.ValueAt(0), "first");
    EXPECT_EQ(action.Item("name")->Value, "n0");
}

TEST(CAttributesCompactTest, CatalogueEditsAfterCopyingDoNotReachSteps)
{
    CAttributes action;
    fillAction(action);
    CAttributes step;
    step.CopyFrom(action);

    action.Item("name")->Value = "edited";
    action.Item("name")->Description = "Edited";
    ASSERT_TRUE(action.Remove("title"));
    (void)action.Add("extra");

    EXPECT_EQ(step.Count(), 3);
    EXPECT_EQ(step.ValueAt(0), "n0");
    EXPECT_EQ(step.DefinitionAt(0).Description, "Name");
    EXPECT_EQ(namesOf(step), QStringList({"name", "Value", "title"}));
    // A copy made now sees the edits.
    CAttributes later;
    later.CopyFrom(action);
    EXPECT_EQ(namesOf(later), QStringList({"name", "Value", "extra"}));
    EXPECT_EQ(later.ValueAt(0), "edited");
}

TEST(CAttributesCompactTest, IndexOfIgnoresCaseInShortAndLongLists)
{
    CAttributes action;
    fillAction(action);
    CAttributes compact;
    compact.CopyFrom(action);
    for (const CAttributes *list : {&action, &compact}) {
        EXPECT_EQ(list->IndexOf("NAME"), 0);
        EXPECT_EQ(list->IndexOf("value"), 1);
        EXPECT_EQ(list->IndexOf("Title"), 2);
        EXPECT_EQ(list->IndexOf("missing"), -1);
        EXPECT_EQ(list->IndexOf(""), -1);
        EXPECT_EQ(list->ValueAt(-1), "");
        EXPECT_EQ(list->ValueAt(3), "");
    }
    EXPECT_TRUE(compact.IsCompact()); // reading by index never materialises

    CAttributes big;
    for (int i = 0; i < 1000; ++i)
        (void)big.Add("attr" + QString::number(i), 0, QString::number(i));
    CAttributes bigStep;
    bigStep.CopyFrom(big);
    EXPECT_EQ(bigStep.IndexOf("ATTR999"), 999);
    EXPECT_EQ(bigStep.IndexOf("attr0"), 0);
    EXPECT_EQ(bigStep.IndexOf("attr1000"), -1);
    EXPECT_EQ(bigStep.ValueAt(bigStep.IndexOf("Attr500")), "500");

    // Materialised with removals: indexes count live attributes only.
    ASSERT_TRUE(bigStep.Remove("attr0"));
    ASSERT_TRUE(bigStep.Remove(5)); // attr5 (attr0 is gone)
    EXPECT_EQ(bigStep.IndexOf("attr1"), 0);
    EXPECT_EQ(bigStep.IndexOf("attr6"), 4);
    EXPECT_EQ(bigStep.IndexOf("attr5"), -1);
    EXPECT_EQ(bigStep.ValueAt(bigStep.IndexOf("attr999")), "999");
    EXPECT_EQ(bigStep.Count(), 998);
}

TEST(CAttributesCompactTest, LookupFollowsKeysWhenANameWasChangedAfterAdding)
{
    CAttributes action;
    fillAction(action);
    action.Item("name")->AttributeName = "label";
    CAttributes step;
    step.CopyFrom(action);
    // The key stays "name", as the full list finds it.
    EXPECT_FALSE(action.Item("label"));
    EXPECT_EQ(step.IndexOf("label"), -1);
    EXPECT_EQ(step.IndexOf("NAME"), 0);
    EXPECT_EQ(step.Item("name")->AttributeName, "label");
}

TEST(CAttributesCompactTest, CopyOfACompactListSharesDefinitionsNotValues)
{
    CAttributes action;
    fillAction(action);
    const auto definitions = action.Definitions();
    ASSERT_TRUE(definitions);
    CAttributes first;
    first.AssignDefinitions(definitions);
    first.SetValueAt(2, "t1");
    CAttributes third;
    third.CopyFrom(first);
    ASSERT_TRUE(third.IsCompact());
    EXPECT_EQ(&third.DefinitionAt(0), &first.DefinitionAt(0));
    EXPECT_EQ(third.ValueAt(2), "t1");
    third.SetValueAt(2, "t3");
    EXPECT_EQ(first.ValueAt(2), "t1");

    // An unedited compact list hands out its shared definitions; an edited one a snapshot
    // with its values, which leaves the shared definitions alone.
    CAttributes fresh;
    fresh.AssignDefinitions(definitions);
    EXPECT_EQ(fresh.Definitions(), definitions);
    const auto edited = third.Definitions();
    ASSERT_NE(edited, definitions);
    CAttributes fromEdited;
    fromEdited.AssignDefinitions(edited);
    EXPECT_EQ(valuesOf(fromEdited), QStringList({"n0", "v0", "t3"}));
    EXPECT_EQ(definitions->At(2).Value, "");
    EXPECT_TRUE(third.IsCompact());

    fresh.AssignDefinitions(nullptr);
    EXPECT_EQ(fresh.Count(), 0);
    EXPECT_FALSE(fresh.Item(1));
    EXPECT_FALSE(CAttributes().Definitions());
}

TEST(CAttributesCompactTest, ChangesOnACompactListBehaveAsOnAFullOne)
{
    CAttributes action;
    fillAction(action);
    CAttributes full;
    fillAction(full);
    CAttributes compact;
    compact.CopyFrom(action);
    compact.SetValueAt(0, "n1");
    full.Item("name")->Value = "n1";

    for (CAttributes *list : {&full, &compact}) {
        EXPECT_FALSE(list->Add("VALUE")); // duplicate in any case
        ASSERT_TRUE(list->Remove("Value"));
        EXPECT_FALSE(list->Remove("value"));
        ASSERT_TRUE(list->Add("value", 2, "new"));
        EXPECT_EQ(namesOf(*list), QStringList({"name", "title", "value"}));
        EXPECT_EQ(valuesOf(*list), QStringList({"n1", "", "new"}));
        EXPECT_EQ(list->IndexOf("VALUE"), 2);
        ASSERT_TRUE(list->Remove(1));
        EXPECT_EQ(list->Item(1)->AttributeName, "title");
        list->Clear();
        EXPECT_EQ(list->Count(), 0);
        EXPECT_EQ(list->begin(), list->end());
    }
    EXPECT_EQ(action.Count(), 3);
    EXPECT_EQ(action.Item("name")->Value, "n0");
}

TEST(CAttributesCompactTest, MaterialisingKeepsOrderKeysAndEveryField)
{
    CAttributes action;
    for (int i = 20; i > 0; --i) // longer than a linear list, not in name order
        (void)action.Add("A" + QString::number(i), i, "v" + QString::number(i), "x|y", i % 2 == 0,
                         i, "D" + QString::number(i));
    CAttributes step;
    step.CopyFrom(action);
    step.SetValueAt(19, "last");
    ASSERT_EQ(namesOf(step), namesOf(action));
    auto source = action.begin();
    for (const auto &a : step) {
        const CAttribute &s = **source++;
        EXPECT_EQ(step.Item(a->AttributeName.toLower()), a);
        EXPECT_EQ(a->DataType, s.DataType);
        EXPECT_EQ(a->Required, s.Required);
        EXPECT_EQ(a->DefaultValue, s.DefaultValue);
        EXPECT_EQ(a->Description, s.Description);
        EXPECT_EQ(a->ArrayValues, s.ArrayValues);
    }
    EXPECT_EQ(step.Item(20)->Value, "last");
    EXPECT_EQ(step.Item(1)->Value, "v20");
    EXPECT_FALSE(step.Add("a7"));
}

TEST(CAttributesCompactTest, StepsReadFromAFileShareDefinitionsButNotValues)
{
    CDocument doc;
    FillTestCatalogue(doc.Catalogue());
    ASSERT_EQ(InsertXmlFragment(doc,
                                "<zmlclip><var NAME=\"a\" value=\"1 &amp; 2\"/><var name=\"b\"/>"
                                "<endif/></zmlclip>",
                                0),
              3);
    const auto first = doc.Step(0);
    const auto second = doc.Step(1);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(first->Attributes().IsCompact());
    EXPECT_EQ(&first->Attributes().DefinitionAt(0), &second->Attributes().DefinitionAt(0));
    EXPECT_EQ(valuesOf(first->Attributes()), QStringList({"a", "1 & 2"}));
    EXPECT_EQ(valuesOf(second->Attributes()), QStringList({"b", ""}));
    EXPECT_EQ(doc.Step(2)->Attributes().Count(), 0);

    first->Attributes().Item("name")->Value = "changed";
    EXPECT_EQ(second->Attributes().ValueAt(0), "b");
    EXPECT_EQ(BuildStepText(*first), "<var name=\"changed\" value=\"1 &amp; 2\" />");
    EXPECT_EQ(doc.Catalogue().Item("var")->Attributes().Item("name")->Value, "");
}
