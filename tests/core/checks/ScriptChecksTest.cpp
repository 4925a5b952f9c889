#include "core/checks/ScriptChecks.h"
#include "core/document/CDocument.h"
#include "core/zml/ZmlWriter.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

using ScriptChecks::CheckDocument;
using ScriptChecks::Problem;
using ScriptChecks::ProblemKind;

namespace {

// A row to add: its element name, disabled (a leading '-'), and every required value filled.
class ChecksTest : public ::testing::Test {
protected:
    void SetUp() override { FillTestCatalogue(m_doc.Catalogue()); }

    int add(const QString &spec)
    {
        const bool disabled = spec.startsWith(QLatin1Char('-'));
        const QString name = disabled ? spec.mid(1) : spec;
        const auto definition = m_doc.Catalogue().Item(name);
        CElement unknown;
        unknown.ElementName = name;
        const int row = m_doc.InsertStep(definition ? *definition : unknown, -1);
        const auto step = m_doc.Step(row);
        step->Disabled = disabled;
        CAttributes &attributes = step->Attributes();
        for (int i = 0; i < attributes.Count(); ++i)
            attributes.SetValueAt(i, QStringLiteral("1"));
        return row;
    }

    void script(std::initializer_list<const char *> specs)
    {
        for (const char *spec : specs)
            add(QString::fromLatin1(spec));
    }

    std::vector<std::pair<int, ProblemKind>> found() const
    {
        std::vector<std::pair<int, ProblemKind>> result;
        for (const Problem &problem : CheckDocument(m_doc))
            result.emplace_back(problem.row, problem.kind);
        return result;
    }

    bool saveRefused() const
    {
        return CheckBlocksUtf8(BuildDocumentUtf8(m_doc)) != BlockCheckResult::Ok;
    }

    CDocument m_doc;
};

using Found = std::vector<std::pair<int, ProblemKind>>;

TEST_F(ChecksTest, BlockProblemsAtTheirRowsAgreeWithTheSaveCheck)
{
    struct Case {
        std::initializer_list<const char *> rows;
        Found expected;
    };
    const Case cases[] = {
        {{"var", "if", "else", "var", "endif", "loop", "endloop"}, {}},
        {{"var", "endif"}, {{1, ProblemKind::CloserWithoutOpener}}},
        {{"endloop"}, {{0, ProblemKind::CloserWithoutOpener}}},
        {{"loop", "var", "if"},
         {{0, ProblemKind::OpenerWithoutCloser}, {2, ProblemKind::OpenerWithoutCloser}}},
        // Crossed: reported once, at the closer that crosses.
        {{"if", "loop", "endif", "endloop"}, {{2, ProblemKind::CrossedBlocks}}},
        {{"if", "endloop", "loop", "endif"},
         {{1, ProblemKind::CloserWithoutOpener},
          {2, ProblemKind::OpenerWithoutCloser},
          {3, ProblemKind::CrossedBlocks}}},
        // A disabled opener is a comment in the file: its closer closes nothing.
        {{"-if", "endif"}, {{1, ProblemKind::CloserWithoutOpener}}},
        {{"if", "-loop", "endif"}, {}},
        // A disabled closer is still written as an end tag.
        {{"if", "-endif"}, {}},
    };
    for (const Case &c : cases) {
        m_doc.Clear();
        script(c.rows);
        const Found got = found();
        EXPECT_EQ(got, c.expected) << "rows: " << c.rows.size();
        EXPECT_EQ(ScriptChecks::FirstBlockProblemRow(CheckDocument(m_doc)) >= 0, saveRefused())
            << "rows: " << c.rows.size();
    }
}

TEST_F(ChecksTest, ElseOnlyDirectlyInsideAnIf)
{
    script({"else", "loop", "else", "endloop", "if", "loop", "else", "endloop", "else", "endif",
            "-else"});
    EXPECT_EQ(found(), (Found{{0, ProblemKind::ElseOutsideIf},
                              {2, ProblemKind::ElseOutsideIf},
                              {6, ProblemKind::ElseOutsideIf}}));
    // An else alone does not refuse a save.
    EXPECT_EQ(ScriptChecks::FirstBlockProblemRow(CheckDocument(m_doc)), -1);
    EXPECT_FALSE(saveRefused());
}

TEST_F(ChecksTest, EmptyRequiredValuesAndText)
{
    script({"var", "loop", "endloop", "saytext", "var", "saytext"});
    m_doc.Step(0)->Attributes().SetValueAt(0, QString()); // var's required name
    m_doc.Step(0)->Attributes().SetValueAt(1, QString()); // its value is optional
    m_doc.Step(1)->Attributes().SetValueAt(0, QString()); // loop's required count
    m_doc.Step(3)->TextRequired = true;                   // saytext without text
    m_doc.Step(4)->Attributes().SetValueAt(0, QString()); // disabled below: not checked
    m_doc.Step(4)->Disabled = true;
    m_doc.Step(5)->Text = QStringLiteral("Hello");
    m_doc.Step(5)->TextRequired = true;

    const std::vector<Problem> problems = CheckDocument(m_doc);
    ASSERT_EQ(problems.size(), 3U);
    EXPECT_EQ(problems[0], (Problem{0, ProblemKind::EmptyRequiredValue,
                                    QStringLiteral("\"Name\" requires a value")}));
    EXPECT_EQ(problems[1].row, 1);
    EXPECT_EQ(problems[1].text, QStringLiteral("\"Count\" requires a value"));
    EXPECT_EQ(problems[2], (Problem{3, ProblemKind::EmptyRequiredValue,
                                    QStringLiteral("\"Text to say\" requires a value")}));
}

TEST_F(ChecksTest, RequiredYesNoValueIsNeverEmptyAndCommentsAreSkipped)
{
    auto flag = m_doc.Catalogue().Add("beep", "Beep");
    (void)flag->Attributes().Add("loud", 6, {}, {}, true, {}, "Loud");
    const int row = m_doc.InsertStep(*flag, -1);
    m_doc.Step(row)->Attributes().SetValueAt(0, QString());
    CElement comment;
    comment.IsComment = true;
    comment.Text = QStringLiteral("endif");
    m_doc.InsertStep(comment, -1);
    EXPECT_TRUE(CheckDocument(m_doc).empty());
}

TEST_F(ChecksTest, ActionMissingFromTheCatalogue)
{
    script({"var", "frobnicate", "-frobnicate"});
    const std::vector<Problem> problems = CheckDocument(m_doc);
    ASSERT_EQ(problems.size(), 1U);
    EXPECT_EQ(problems[0], (Problem{1, ProblemKind::UnknownAction,
                                    QStringLiteral("The action \"frobnicate\" is not in the "
                                                   "catalogue")}));
}

} // namespace
