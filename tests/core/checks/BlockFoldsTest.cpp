#include "core/checks/BlockFolds.h"
#include "core/document/CDocument.h"
#include "support/TestCatalogue.h"

#include <gtest/gtest.h>

namespace {

class FoldsTest : public ::testing::Test {
protected:
    void SetUp() override { FillTestCatalogue(m_doc.Catalogue()); }

    void script(std::initializer_list<const char *> names)
    {
        for (const char *spec : names) {
            const QString name = QString::fromLatin1(spec).remove(QLatin1Char('-'));
            const int row = m_doc.InsertStep(*m_doc.Catalogue().Item(name), -1);
            m_doc.Step(row)->Disabled = spec[0] == '-';
        }
        m_folds.update(m_doc);
    }

    QString hidden() const
    {
        QString marks;
        for (bool h : m_folds.hiddenRows())
            marks += h ? QLatin1Char('h') : QLatin1Char('.');
        return marks;
    }

    CDocument m_doc;
    BlockFolds m_folds;
};

TEST_F(FoldsTest, BlocksPairAsTheFileNestsThem)
{
    script({"if", "loop", "var", "endloop", "else", "endif", "-if", "endif", "loop", "if",
            "endloop", "endif"});
    EXPECT_EQ(BlockFolds::Closers(m_doc),
              (std::vector<int>{5, 3, -1, -1, -1, -1, -1, -1, -1, 11, -1, -1}));
    EXPECT_FALSE(m_folds.setFolded(2, true)); // not an opener
    EXPECT_FALSE(m_folds.setFolded(6, true)); // disabled: opens nothing
    EXPECT_FALSE(m_folds.setFolded(8, true)); // crossed by its End Loop: unpaired
}

TEST_F(FoldsTest, FoldedBlocksHideUpToTheirClosersAndNestedFoldsStayFolded)
{
    script({"var", "if", "loop", "var", "endloop", "var", "endif", "var"});
    EXPECT_EQ(hidden(), "........");
    EXPECT_TRUE(m_folds.setFolded(2, true));
    EXPECT_EQ(hidden(), "...hh...");
    EXPECT_EQ(m_folds.hiddenCount(2), 2);
    EXPECT_TRUE(m_folds.setFolded(1, true));
    EXPECT_EQ(hidden(), "..hhhhh.");
    EXPECT_EQ(m_folds.hiddenCount(1), 5);
    EXPECT_EQ(m_folds.hiddenCount(2), 0); // hidden itself
    EXPECT_TRUE(m_folds.setFolded(1, false));
    EXPECT_EQ(hidden(), "...hh...");

    // Revealing a row unfolds what hides it, only that.
    m_folds.foldAll();
    EXPECT_EQ(hidden(), "..hhhhh.");
    EXPECT_TRUE(m_folds.reveal(3));
    EXPECT_EQ(hidden(), "........");
    EXPECT_FALSE(m_folds.reveal(3));
    m_folds.foldAll();
    m_folds.unfoldAll();
    EXPECT_EQ(hidden(), "........");
}

TEST_F(FoldsTest, FoldsFollowTheirOpenersThroughEditsAndEndWithTheirBlocks)
{
    script({"if", "var", "endif", "loop", "var", "endloop"});
    m_folds.setFolded(0, true);
    m_folds.setFolded(3, true);
    m_doc.InsertStep(*m_doc.Catalogue().Item("var"), 0);
    m_folds.update(m_doc);
    EXPECT_EQ(hidden(), "..hh.hh");
    EXPECT_TRUE(m_folds.isFolded(1));

    m_doc.RemoveSteps({6}); // the endloop: the loop opens no block now
    m_folds.update(m_doc);
    EXPECT_EQ(hidden(), "..hh..");
    m_doc.InsertStep(*m_doc.Catalogue().Item("endloop"), -1);
    m_folds.update(m_doc);
    EXPECT_FALSE(m_folds.isFolded(4)); // the fold ended with its block
}

} // namespace
