#include "core/document/CDocument.h"
#include "core/document/StepRowGeometry.h"

#include "support/TestCatalogue.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <vector>

namespace {

class DocumentTest : public ::testing::Test {
protected:
    void SetUp() override { FillTestCatalogue(doc.Catalogue()); }
    const CElement &def(const QString &name) { return *doc.Catalogue().Item(name); }
    int append(const QString &name) { return doc.InsertStep(def(name), -1); }
    std::vector<int> depths() const
    {
        std::vector<int> out;
        for (int r = 0; r < doc.RowCount(); ++r)
            out.push_back(doc.Rows()->depth(r));
        return out;
    }
    std::vector<int> stepIds() const
    {
        std::vector<int> out;
        for (int r = 0; r < doc.RowCount(); ++r)
            out.push_back(doc.Rows()->stepId(r));
        return out;
    }

    CDocument doc;
    QAbstractItemModelTester tester{doc.Rows(),
                                    QAbstractItemModelTester::FailureReportingMode::Fatal};
};

} // namespace

TEST_F(DocumentTest, InsertStepCopiesUnderNewIdAndBuildsTheRow)
{
    QSignalSpy inserted(&doc, &CDocument::stepInserted);
    QSignalSpy dirty(&doc, &CDocument::dirtyChanged);
    auto &var = *doc.Catalogue().Item("var");
    var.Attributes().Item("name")->Value = "n";
    EXPECT_EQ(doc.InsertStep(var, -1), 0);
    EXPECT_TRUE(doc.Dirty());
    EXPECT_EQ(dirty.count(), 1);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(0).toInt(), 0);

    EXPECT_EQ(doc.Rows()->stepId(0), 1);
    EXPECT_EQ(doc.Rows()->rowText(0), "<var name=\"n\" value=\"\" />");
    const auto step = doc.Step(0);
    ASSERT_TRUE(step);
    // The step handed out is the document's: asked again, the same element.
    EXPECT_EQ(doc.Step(0), step);
    EXPECT_EQ(doc.StepCount(), 1);
    // The step is a copy: editing it leaves the catalogue alone.
    step->Attributes().Item("name")->Value = "changed";
    EXPECT_EQ(var.Attributes().Item("name")->Value, "n");
    EXPECT_FALSE(doc.Step(1));
    EXPECT_FALSE(doc.Step(-1));
}

TEST_F(DocumentTest, InsertPositionsAndDepths)
{
    for (const char *name : {"if", "var", "else", "var", "endif"})
        append(name);
    EXPECT_EQ(depths(), std::vector<int>({0, 1, 0, 1, 0}));

    doc.Clear();
    for (const char *name : {"loop", "if", "endif", "endloop"})
        append(name);
    EXPECT_EQ(depths(), std::vector<int>({0, 1, 1, 0}));

    // An if inserted after a row of depth 2 gets depth 2, its endif the same right below.
    doc.Clear();
    append("loop");
    append("loop");
    append("var");
    EXPECT_EQ(doc.InsertStep(def("if"), 3), 3);
    EXPECT_EQ(doc.InsertStep(def("endif"), 4), 4);
    EXPECT_EQ(depths(), std::vector<int>({0, 1, 2, 2, 2}));
    // In the middle, after an opener.
    EXPECT_EQ(doc.InsertStep(def("var"), 4), 4);
    EXPECT_EQ(depths(), std::vector<int>({0, 1, 2, 2, 3, 2}));
    // Row 0 is always depth 0, even for a closer.
    EXPECT_EQ(doc.InsertStep(def("endif"), 0), 0);
    EXPECT_EQ(doc.Rows()->depth(0), 0);
}

TEST_F(DocumentTest, CommentStepsGetOrdinaryDepth)
{
    append("if");
    CElement comment;
    comment.IsComment = true;
    comment.Text = "note";
    EXPECT_EQ(doc.InsertStep(comment, -1), 1);
    EXPECT_EQ(doc.Rows()->depth(1), 1);
    EXPECT_EQ(doc.Rows()->rowText(1), "<!--\r\nnote\r\n-->");
}

TEST_F(DocumentTest, NewStepIdReusesTheSmallestFreeId)
{
    EXPECT_EQ(doc.NewStepId(), 1);
    for (int i = 0; i < 4; ++i)
        append("var"); // K1..K4
    // Remove K3: K1, K2, K4 remain.
    doc.RemoveSteps({2});
    EXPECT_EQ(doc.NewStepId(), 3);
    EXPECT_EQ(stepIds(), std::vector<int>({1, 2, 4}));
    EXPECT_EQ(doc.StepCount(), 3);
    // Only K2 left.
    doc.RemoveSteps({0, 2});
    EXPECT_EQ(stepIds(), std::vector<int>({2}));
    EXPECT_EQ(doc.NewStepId(), 1);
    append("var");
    append("var");
    append("var");
    EXPECT_EQ(stepIds(), std::vector<int>({2, 1, 3, 4}));
    doc.RemoveSteps({0, 1, 2, 3});
    EXPECT_EQ(doc.StepCount(), 0);
    EXPECT_EQ(doc.NewStepId(), 1);
}

TEST_F(DocumentTest, RemoveStepsRemovesRowsAndStepsAndSetsDirty)
{
    for (int i = 0; i < 6; ++i)
        append("var");
    doc.SetDirty(false);
    EXPECT_EQ(doc.RemoveSteps({}), 0);
    EXPECT_EQ(doc.RemoveSteps({17}), 0);
    EXPECT_FALSE(doc.Dirty());
    EXPECT_EQ(doc.RemoveSteps({5, 1, 1, 3}), 3);
    EXPECT_TRUE(doc.Dirty());
    EXPECT_EQ(stepIds(), std::vector<int>({1, 3, 5}));
    EXPECT_EQ(doc.StepCount(), 3);
}

TEST_F(DocumentTest, BatchInsertUsesOneBlockAndGivenDepths)
{
    append("var");
    append("var");
    QSignalSpy rowsInserted(doc.Rows(), &QAbstractItemModel::rowsInserted);
    QSignalSpy batch(&doc, &CDocument::stepsInserted);
    std::vector<CDocument::NewStep> steps;
    steps.push_back({doc.Catalogue().Item("loop"), -1});
    steps.push_back({doc.Catalogue().Item("var"), -1});
    steps.push_back({doc.Catalogue().Item("endloop"), -1});
    steps.push_back({doc.Catalogue().Item("var"), 5});
    steps.push_back({nullptr, 0}); // skipped
    EXPECT_EQ(doc.InsertSteps(steps, 1), 1);
    EXPECT_EQ(rowsInserted.count(), 1);
    ASSERT_EQ(batch.count(), 1);
    EXPECT_EQ(batch.at(0).at(1).toInt(), 4);
    EXPECT_EQ(depths(), std::vector<int>({0, 0, 1, 0, 5, 0}));
    EXPECT_EQ(stepIds(), std::vector<int>({1, 3, 4, 5, 6, 2}));
    EXPECT_EQ(doc.Step(1)->ElementName, "loop");
    // Copies, not the catalogue's objects.
    EXPECT_NE(doc.Step(1).get(), doc.Catalogue().Item("loop").get());
}

TEST_F(DocumentTest, IndentAndOutdentClampAndLeaveDirtyAlone)
{
    append("var");
    append("var");
    doc.SetDirty(false);
    doc.SetDepth(1, 44);
    doc.Indent({0, 1, 1});
    EXPECT_EQ(depths(), std::vector<int>({1, 45}));
    doc.Indent({1});
    EXPECT_EQ(doc.Rows()->depth(1), 45);
    doc.Outdent({0, 1});
    doc.Outdent({0});
    EXPECT_EQ(depths(), std::vector<int>({0, 44}));
    EXPECT_FALSE(doc.Dirty());
}

TEST_F(DocumentTest, MoveAndRefresh)
{
    append("var");
    append("if");
    append("endif");
    doc.SetDirty(false);
    EXPECT_FALSE(doc.MoveSteps({0}, true));
    EXPECT_FALSE(doc.Dirty());
    EXPECT_TRUE(doc.MoveSteps({0}, false));
    EXPECT_TRUE(doc.Dirty());
    EXPECT_EQ(stepIds(), std::vector<int>({2, 1, 3}));

    doc.Step(1)->Disabled = true;
    doc.RefreshRow(1);
    EXPECT_EQ(doc.Rows()->rowText(1), "<!-- <var name=\"\" value=\"\" /> -->");
}

TEST_F(DocumentTest, RowTextIsBuiltFromTheStepNotStored)
{
    append("var");
    append("if");
    CElement comment;
    comment.IsComment = true;
    comment.Text = "one";
    doc.InsertStep(comment, -1);
    for (int r = 0; r < doc.RowCount(); ++r)
        EXPECT_TRUE(doc.Rows()->row(r).text.isNull()) << r;

    // An edited step shows its new text once its row is refreshed, and views are told.
    QSignalSpy changed(doc.Rows(), &QAbstractItemModel::dataChanged);
    doc.Step(0)->Attributes().Item("name")->Value = "a<b";
    doc.RefreshRow(0);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>().row(), 0);
    EXPECT_TRUE(changed.at(0).at(2).value<QList<int>>().contains(Qt::DisplayRole));
    EXPECT_EQ(doc.Rows()->index(0).data().toString(), "<var name=\"a&lt;b\" value=\"\" />");
    doc.Step(2)->Text = "one\r\ntwo";
    doc.RefreshRow(2);
    EXPECT_EQ(doc.Rows()->rowText(2), "<!--\r\none\r\ntwo\r\n-->");

    // Text set on the model by hand gives way to the step's on refresh.
    doc.Rows()->setRowText(1, "<stale />");
    doc.RefreshRow(1);
    EXPECT_EQ(doc.Rows()->rowText(1), "<if cond=\"\" />");

    // A reused id shows the new step's text, not the removed one's.
    ASSERT_EQ(doc.RemoveSteps({0}), 1);
    auto &var = *doc.Catalogue().Item("var");
    var.Attributes().Item("name")->Value = "fresh";
    EXPECT_EQ(doc.InsertStep(var, 0), 0);
    EXPECT_EQ(doc.Rows()->stepId(0), 1);
    EXPECT_EQ(doc.Rows()->rowText(0), "<var name=\"fresh\" value=\"\" />");
}

TEST_F(DocumentTest, ClearStartsANewDocument)
{
    QSignalSpy names(&doc, &CDocument::fileNameChanged);
    doc.SetFileName("/tmp/a.zml");
    append("var");
    append("var");
    doc.Header().Version = "9";
    doc.Header().Description = "x";
    doc.Clear();
    EXPECT_EQ(doc.RowCount(), 0);
    EXPECT_EQ(doc.StepCount(), 0);
    EXPECT_TRUE(doc.FileName().isEmpty());
    EXPECT_FALSE(doc.Dirty());
    EXPECT_EQ(doc.Header().Version, "1.0");
    EXPECT_TRUE(doc.Header().Description.isEmpty());
    EXPECT_EQ(names.count(), 2);
    EXPECT_EQ(doc.NewStepId(), 1);
    // The catalogue survives a new document.
    EXPECT_TRUE(doc.Catalogue().Item("var"));
}

// Large documents: ids stay dense and correct through bulk removal and reinsertion.
TEST(DocumentLargeTest, BulkRemovalFreesIdsForReuse)
{
    CDocument doc;
    FillTestCatalogue(doc.Catalogue());
    std::vector<CDocument::NewStep> steps(20000, {doc.Catalogue().Item("var"), -1});
    doc.InsertSteps(steps, -1);
    std::vector<int> rows;
    for (int r = 1; r < 20000; r += 2)
        rows.push_back(r);
    EXPECT_EQ(doc.RemoveSteps(rows), 10000);
    EXPECT_EQ(doc.NewStepId(), 2);
    doc.InsertSteps(std::vector<CDocument::NewStep>(10000, {doc.Catalogue().Item("var"), -1}), 0);
    EXPECT_EQ(doc.StepCount(), 20000);
    EXPECT_EQ(doc.NewStepId(), 20001);
    for (int r = 0; r < 10000; ++r)
        ASSERT_EQ(doc.Rows()->stepId(r), 2 * (r + 1));
}

TEST_F(DocumentTest, RowsDescribeTheirStepsThroughRoles)
{
    append("var");
    CElement comment;
    comment.IsComment = true;
    comment.Text = "one\r\ntwo";
    doc.InsertStep(comment, -1);
    doc.Step(0)->Attributes().Item("value")->Value = "a\r\nb";
    doc.Step(0)->Disabled = true;
    doc.RefreshRow(0);

    const QModelIndex var = doc.Rows()->index(0);
    const QModelIndex note = doc.Rows()->index(1);
    EXPECT_EQ(var.data(ElementNameRole).toString(), "var");
    EXPECT_TRUE(var.data(DisabledRole).toBool());
    EXPECT_FALSE(var.data(CommentRole).toBool());
    EXPECT_TRUE(note.data(CommentRole).toBool());
    EXPECT_EQ(var.data(CaptionRole).toString(), VisualCaption(*doc.Step(0)));
    // The value's break adds a line to the caption; the row text keeps it as "&#10;".
    EXPECT_EQ(var.data(CaptionLinesRole).toInt(), 3);
    EXPECT_EQ(var.data(RowTextLinesRole).toInt(), 1);
    EXPECT_EQ(note.data(CaptionLinesRole).toInt(), 2);
    EXPECT_EQ(note.data(RowTextLinesRole).toInt(), 4);
}
