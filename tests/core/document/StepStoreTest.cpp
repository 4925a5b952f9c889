#include "core/document/CDocument.h"
#include "core/document/StepText.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include "support/TestCatalogue.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

namespace {

class StepStoreTest : public ::testing::Test {
protected:
    void SetUp() override { FillTestCatalogue(doc.Catalogue()); }

    // Appends a step of the action with the given values (name -> value) and text.
    int add(const QString &action, const std::vector<std::pair<QString, QString>> &values = {},
            const QString &text = {}, bool disabled = false)
    {
        auto step = CElements::Copy(*doc.Catalogue().Item(action));
        for (const auto &[name, value] : values)
            step->Attributes().Item(name)->Value = value;
        step->Text = text;
        step->Disabled = disabled;
        return doc.InsertStep(*step, -1);
    }
    QStringList lines() const
    {
        QStringList out;
        for (int r = 0; r < doc.RowCount(); ++r)
            out << doc.Rows()->rowText(r);
        return out;
    }

    CDocument doc;
};

} // namespace

TEST_F(StepStoreTest, ViewsReadWhatWasStoredAndStepsOfOneActionShareItsDefinitions)
{
    add("var", {{"name", "a"}, {"value", "1"}});
    add("var");
    add("saytext", {}, "Hello\r\nworld", true);
    auto comment = std::make_shared<CElement>();
    comment->IsComment = true;
    comment->Text = "a note";
    doc.InsertStep(*comment, -1);

    const StepView first = doc.View(0);
    ASSERT_TRUE(first);
    EXPECT_EQ(first.ElementName(), "var");
    EXPECT_EQ(first.Description(), "Declare a variable");
    ASSERT_EQ(first.AttributeCount(), 2);
    EXPECT_EQ(first.DefinitionAt(0).AttributeName, "name");
    EXPECT_EQ(first.ValueAt(first.IndexOf("NAME")), "a");
    EXPECT_EQ(first.ValueAt(1), "1");
    EXPECT_EQ(first.ValueAt(2), ""); // out of range
    EXPECT_EQ(doc.View(1).ValueAt(0), "");
    EXPECT_EQ(doc.View(1).SharedDefinitions(), first.SharedDefinitions());

    const StepView say = doc.View(2);
    EXPECT_TRUE(say.Disabled());
    EXPECT_TRUE(say.ContainsText());
    EXPECT_EQ(say.Text(), "Hello\r\nworld");
    EXPECT_TRUE(doc.View(3).IsComment());
    EXPECT_EQ(doc.View(3).Text(), "a note");
    EXPECT_FALSE(doc.View(4));
    EXPECT_FALSE(doc.View(-1));
    EXPECT_EQ(doc.ElementName(2), "saytext");
    EXPECT_EQ(doc.ElementName(9), "");
    // A view and the element it stands for write the same line.
    EXPECT_EQ(lines(),
              QStringList({"<var name=\"a\" value=\"1\" />", "<var name=\"\" value=\"\" />",
                           "<!-- <saytext title=\"\">Hello&#10;world</saytext> -->",
                           "<!--\r\na note\r\n-->"}));
    EXPECT_EQ(BuildStepText(*doc.Step(0)), lines().at(0));
}

TEST_F(StepStoreTest, AStepHandedOutStaysTheDocumentsUntilNobodyHoldsIt)
{
    add("var", {{"name", "a"}});
    add("var", {{"name", "b"}});
    {
        const auto step = doc.Step(0);
        ASSERT_TRUE(step);
        EXPECT_EQ(doc.Step(0), step); // the same element every time
        step->Attributes().Item("value")->Value = "changed";
        step->Disabled = true;
        // Readers see the edit at once, before any refresh.
        EXPECT_EQ(doc.View(0).ValueAt(1), "changed");
        EXPECT_TRUE(doc.View(0).Disabled());
        doc.Settle(); // still held: stays as it is
        EXPECT_EQ(doc.View(0).Element(), step.get());
        doc.SetStepDisabled(0, false);
        EXPECT_FALSE(step->Disabled);
    }
    doc.Settle();
    const StepView settled = doc.View(0);
    EXPECT_EQ(settled.Element(), nullptr);
    EXPECT_EQ(settled.ValueAt(0), "a");
    EXPECT_EQ(settled.ValueAt(1), "changed");
    EXPECT_FALSE(settled.Disabled());
    doc.SetStepDisabled(1, true);
    EXPECT_TRUE(doc.View(1).Disabled());
    EXPECT_EQ(doc.View(1).ValueAt(0), "b");

    // A step removed while held stays valid for its holder, and can be handed back.
    const auto held = doc.Step(1);
    doc.RemoveSteps({1});
    EXPECT_EQ(held->Attributes().Item("name")->Value, "b");
    doc.InsertSteps({CDocument::NewStep{nullptr, 0, held}}, 0);
    EXPECT_EQ(doc.Step(0), held);
    EXPECT_EQ(doc.StepCount(), 2);
}

TEST_F(StepStoreTest, ManyEditsAndRemovalsKeepEveryOtherStepIntact)
{
    constexpr int kSteps = 20000;
    for (int i = 0; i < kSteps; ++i)
        add("var", {{"name", QString::number(i)}});
    // Edits through handed-out steps, dropped at once (folded back in bulk), then removals of
    // every other row (their strings dropped when they are many).
    for (int i = 0; i < kSteps; i += 3)
        doc.Step(i)->Attributes().Item("value")->Value = QStringLiteral("v%1").arg(i);
    std::vector<int> odd;
    for (int i = 1; i < kSteps; i += 2)
        odd.push_back(i);
    doc.RemoveSteps(odd);
    doc.Settle();
    ASSERT_EQ(doc.RowCount(), kSteps / 2);
    ASSERT_EQ(doc.StepCount(), kSteps / 2);
    for (int r = 0; r < doc.RowCount(); ++r) {
        const int i = 2 * r;
        const StepView step = doc.View(r);
        ASSERT_EQ(step.ValueAt(0), QString::number(i)) << r;
        ASSERT_EQ(step.ValueAt(1), i % 3 == 0 ? QStringLiteral("v%1").arg(i) : QString()) << r;
    }
    EXPECT_EQ(doc.VariableNames(false).size(), kSteps / 2);
}

TEST_F(StepStoreTest, VariableNamesFollowTheRows)
{
    add("var", {{"name", "late"}});
    add("range", {{"name", "r"}});
    add("var");
    doc.InsertStep(*CElements::Copy(*doc.Catalogue().Item("var")), 0);
    doc.Step(0)->Attributes().Item("name")->Value = "early";
    EXPECT_EQ(doc.VariableNames(false), QStringList({"early", "late"}));
    EXPECT_EQ(doc.VariableNames(true), QStringList({"r"}));
}

TEST_F(StepStoreTest, ABatchCopyAndAStagedOpenGiveTheSameScript)
{
    add("if", {{"cond", "x < 1"}});
    add("saytext", {{"title", "t"}}, "two\r\nlines");
    add("endif");
    add("loop", {}, {}, true);
    doc.Step(1)->Text = "edited"; // held by nobody: read from the element until settled
    const QByteArray saved = BuildDocumentUtf8(doc);

    StepBatch batch;
    for (int r = 0; r < doc.RowCount(); ++r)
        doc.CopyStep(r, batch);
    CDocument copy;
    copy.InsertSteps(std::move(batch), -1);
    EXPECT_EQ(BuildDocumentUtf8(copy), saved);
    EXPECT_TRUE(batch.empty());

    // Opening stages the steps apart from the document and hands them over whole.
    QTemporaryDir dir;
    const QString path = dir.filePath("s.zml");
    ASSERT_TRUE(SaveDocument(doc, path, false));
    CDocument opened;
    FillTestCatalogue(opened.Catalogue());
    ASSERT_TRUE(OpenDocument(opened, path));
    EXPECT_EQ(BuildDocumentUtf8(opened), saved);
    EXPECT_EQ(opened.NewStepId(), opened.RowCount() + 1);
    EXPECT_FALSE(opened.Dirty());
}

TEST_F(StepStoreTest, AppendedStoresKeepTheirStepsUnderMovedIdsAndShareActions)
{
    const auto var = CElements::Copy(*doc.Catalogue().Item("var"));
    var->Attributes().Item("name")->Value = "a";
    const auto say = CElements::Copy(*doc.Catalogue().Item("saytext"));
    say->Text = "text";
    StepStore into;
    into.StoreCopy(1, *var);
    StepStore other;
    other.StoreCopy(1, *var);
    other.StoreCopy(2, *say);
    other.StoreCopy(4, *var);
    const std::shared_ptr<CElement> held = other.Detach(4);
    into.Append(std::move(other), 1);

    EXPECT_EQ(into.Count(), 4);
    EXPECT_EQ(other.Count(), 0);
    EXPECT_FALSE(into.Contains(4)); // other had no step 3
    EXPECT_EQ(into.View(2).ValueAt(0), "a");
    EXPECT_EQ(into.View(2).ActionKey(), into.View(1).ActionKey());
    EXPECT_EQ(into.View(3).Text(), "text");
    held->Attributes().Item("name")->Value = "edited"; // a step handed out stays shared
    EXPECT_EQ(into.View(5).ValueAt(0), "edited");
}
