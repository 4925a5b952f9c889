#include "core/document/BlockRules.h"

#include <QStringList>

#include <gtest/gtest.h>

#include <vector>

using namespace BlockRules;

namespace {

// Depths of rows appended one after the other.
std::vector<int> appendDepths(const QStringList &names)
{
    std::vector<int> depths;
    for (int i = 0; i < names.size(); ++i) {
        depths.push_back(i == 0 ? NewRowDepth(0, 0, {}, names.at(i))
                                : NewRowDepth(i, depths.back(), names.at(i - 1), names.at(i)));
    }
    return depths;
}

} // namespace

TEST(BlockRulesTest, OpenersAndClosersCompareExactly)
{
    for (const char *name : {"if", "else", "loop"})
        EXPECT_TRUE(IsOpener(name)) << name;
    for (const char *name : {"else", "endif", "endloop"})
        EXPECT_TRUE(IsCloser(name)) << name;
    for (const char *name : {"IF", "Loop", "endif", "var", ""})
        EXPECT_FALSE(IsOpener(name)) << name;
    for (const char *name : {"ENDIF", "EndLoop", "if", "loop", ""})
        EXPECT_FALSE(IsCloser(name)) << name;
}

TEST(BlockRulesTest, DepthsOfAppendedSequences)
{
    EXPECT_EQ(appendDepths({"if", "a", "else", "b", "endif"}), std::vector<int>({0, 1, 0, 1, 0}));
    EXPECT_EQ(appendDepths({"loop", "if", "endif", "endloop"}), std::vector<int>({0, 1, 1, 0}));
    // Comments (empty name) take the depth an ordinary step would get.
    EXPECT_EQ(appendDepths({"if", "", "endif"}), std::vector<int>({0, 1, 0}));
    // Wrong-case keywords are ordinary steps.
    EXPECT_EQ(appendDepths({"IF", "a", "ENDIF"}), std::vector<int>({0, 0, 0}));
    // Closers never go below 0; nesting has no upper limit.
    EXPECT_EQ(appendDepths({"endif", "endloop", "x"}), std::vector<int>({0, 0, 0}));
}

TEST(BlockRulesTest, NewRowAfterAnOpener)
{
    EXPECT_EQ(NewRowDepth(3, 2, "if", "var"), 3);
    EXPECT_EQ(NewRowDepth(3, 2, "if", "endif"), 2);
    EXPECT_EQ(NewRowDepth(3, 2, "var", "if"), 2);
    EXPECT_EQ(NewRowDepth(3, 2, "loop", "if"), 3);
    EXPECT_EQ(NewRowDepth(0, 7, "if", "endif"), 0);
    EXPECT_EQ(NewRowDepth(5, 60, "loop", "x"), 61);
}

TEST(BlockRulesTest, IndentStopsAt45AndOutdentAt0)
{
    EXPECT_EQ(Indent(0), 1);
    EXPECT_EQ(Indent(44), 45);
    EXPECT_EQ(Indent(45), 45);
    EXPECT_EQ(Indent(50), 50);
    EXPECT_EQ(Outdent(0), 0);
    EXPECT_EQ(Outdent(1), 0);
    EXPECT_EQ(Outdent(45), 44);
}
