#include "core/document/StepRowsModel.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>

#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <vector>

namespace {

StepRow makeRow(int id, int depth = 0)
{
    return StepRow{id, depth, "<s" + QString::number(id) + " />"};
}

std::vector<int> ids(const StepRowsModel &model)
{
    std::vector<int> out;
    for (int r = 0; r < model.count(); ++r)
        out.push_back(model.stepId(r));
    return out;
}

std::vector<StepRow> makeRows(int firstId, int count)
{
    std::vector<StepRow> rows;
    for (int i = 0; i < count; ++i)
        rows.push_back(makeRow(firstId + i));
    return rows;
}

class StepRowsModelTest : public ::testing::Test {
protected:
    StepRowsModel model;
    QAbstractItemModelTester tester{&model, QAbstractItemModelTester::FailureReportingMode::Fatal};
};

} // namespace

TEST_F(StepRowsModelTest, RolesAndData)
{
    EXPECT_EQ(model.insertStepRow(-1, StepRow{7, 2, "<var />"}), 0);
    const QModelIndex i = model.index(0);
    EXPECT_EQ(i.data(Qt::DisplayRole).toString(), "<var />");
    EXPECT_EQ(i.data(RowTextRole).toString(), "<var />");
    EXPECT_EQ(i.data(StepIdRole).toInt(), 7);
    EXPECT_EQ(i.data(DepthRole).toInt(), 2);
    EXPECT_EQ(model.roleNames().value(DepthRole), "depth");
    EXPECT_FALSE(model.index(1).isValid());
}

TEST_F(StepRowsModelTest, BatchInsertIsOneSignal)
{
    model.insertStepRows(-1, makeRows(1, 4));
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    EXPECT_EQ(model.insertStepRows(2, makeRows(100, 3)), 2);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 2);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 4);
    EXPECT_EQ(ids(model), std::vector<int>({1, 2, 100, 101, 102, 3, 4}));
    // Out-of-range positions append.
    EXPECT_EQ(model.insertStepRow(99, makeRow(9)), 7);
    EXPECT_EQ(model.insertStepRow(-5, makeRow(10)), 8);
    EXPECT_EQ(model.insertStepRow(0, makeRow(11)), 0);
    EXPECT_EQ(model.stepId(0), 11);
}

TEST_F(StepRowsModelTest, RemoveArbitrarySetOneSignalPerRun)
{
    model.insertStepRows(-1, makeRows(0, 10));
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    model.removeStepRows({9, 2, 3, 3, 7, 42, -1});
    EXPECT_EQ(removed.count(), 3); // [2,3], [7], [9]
    EXPECT_EQ(ids(model), std::vector<int>({0, 1, 4, 5, 6, 8}));
    model.removeStepRows({0, 1, 2, 3, 4, 5});
    EXPECT_EQ(model.count(), 0);
}

TEST_F(StepRowsModelTest, MoveSelectionKeepsOrder)
{
    model.insertStepRows(-1, makeRows(0, 4));
    EXPECT_TRUE(model.moveStepRows({1, 2}, true));
    EXPECT_EQ(ids(model), std::vector<int>({1, 2, 0, 3}));
    EXPECT_TRUE(model.moveStepRows({1, 2}, false)); // rows 1 and 2 of four go to 2 and 3
    EXPECT_EQ(ids(model), std::vector<int>({1, 3, 2, 0}));
    EXPECT_TRUE(model.moveStepRows({1, 3}, true));
    EXPECT_EQ(ids(model), std::vector<int>({3, 1, 0, 2}));
    // Refused at the edges, nothing moves.
    EXPECT_FALSE(model.moveStepRows({0, 2}, true));
    EXPECT_FALSE(model.moveStepRows({1, 3}, false));
    EXPECT_FALSE(model.moveStepRows({}, true));
    EXPECT_EQ(ids(model), std::vector<int>({3, 1, 0, 2}));
}

TEST_F(StepRowsModelTest, MovedRowsKeepTheirDepth)
{
    model.insertStepRows(-1, {makeRow(1, 0), makeRow(2, 3)});
    ASSERT_TRUE(model.moveStepRows({1}, true));
    EXPECT_EQ(model.stepId(0), 2);
    EXPECT_EQ(model.depth(0), 3);
    EXPECT_EQ(model.depth(1), 0);
}

TEST_F(StepRowsModelTest, SetDepthAndTextEmitDataChanged)
{
    model.insertStepRows(-1, makeRows(1, 3));
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setDepth(1, 4);
    model.setDepth(1, 4); // unchanged: no signal
    model.setDepth(2, -3);
    model.setRowText(0, "<x />");
    model.setDepth(5, 1); // out of range: ignored
    ASSERT_EQ(changed.count(), 2);
    EXPECT_EQ(changed.at(0).at(0).value<QModelIndex>().row(), 1);
    EXPECT_EQ(model.depth(1), 4);
    EXPECT_EQ(model.depth(2), 0);
    EXPECT_EQ(model.rowText(0), "<x />");
    model.clear();
    EXPECT_EQ(model.count(), 0);
}

TEST_F(StepRowsModelTest, ExplicitTextWinsOverTheProviderWhichFollowsTheStepId)
{
    model.insertStepRows(-1, {StepRow{1, 0, {}}, StepRow{2, 0, "<own />"}, StepRow{3, 0, {}}});
    EXPECT_TRUE(model.rowText(0).isEmpty()); // no provider yet
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    model.setRowTextProvider([](int id) { return "<p" + QString::number(id) + " />"; });
    ASSERT_EQ(changed.count(), 1); // views repaint every row once
    EXPECT_EQ(changed.at(0).at(1).value<QModelIndex>().row(), 2);
    EXPECT_EQ(model.rowText(0), "<p1 />");
    EXPECT_EQ(model.index(0).data(Qt::DisplayRole).toString(), "<p1 />");
    EXPECT_EQ(model.index(2).data(RowTextRole).toString(), "<p3 />");
    EXPECT_EQ(model.rowText(1), "<own />");
    // The text travels with the row's id when rows move.
    ASSERT_TRUE(model.moveStepRows({2}, true));
    EXPECT_EQ(model.rowText(1), "<p3 />");
    EXPECT_EQ(model.rowText(2), "<own />");
    // A null text hands the row back to the provider; an empty one is explicit.
    model.setRowText(2, QString());
    EXPECT_EQ(model.rowText(2), "<p2 />");
    model.setRowText(0, QLatin1String(""));
    EXPECT_TRUE(model.rowText(0).isEmpty());
    changed.clear();
    model.rowTextChanged(1);
    model.rowTextChanged(7); // out of range: ignored
    ASSERT_EQ(changed.count(), 1);
    EXPECT_TRUE(changed.at(0).at(2).value<QList<int>>().contains(Qt::DisplayRole));
}

// Random inserts, removals and moves agree with a plain vector. maxBatch large crosses many
// storage chunk boundaries.
static void checkRandomOperations(StepRowsModel &model, int rounds, int maxBatch)
{
    std::vector<int> reference = ids(model);
    std::mt19937 random(11);
    int nextId = reference.empty() ? 1 : *std::max_element(reference.begin(), reference.end()) + 1;
    const auto pick = [&](int bound) {
        return std::uniform_int_distribution<int>(0, bound)(random);
    };
    for (int round = 0; round < rounds; ++round) {
        const int size = static_cast<int>(reference.size());
        const int op = pick(3);
        if (op <= 1 || size < 10) {
            const int position = pick(size);
            const int count = op == 0 ? 1 : pick(maxBatch);
            model.insertStepRows(position, makeRows(nextId, count));
            for (int i = 0; i < count; ++i)
                reference.insert(reference.begin() + position + i, nextId + i);
            nextId += count;
        } else if (op == 2) {
            std::vector<int> rows;
            const int count = pick(size / 2);
            for (int i = 0; i < count; ++i)
                rows.push_back(pick(size - 1));
            model.removeStepRows(rows);
            std::sort(rows.begin(), rows.end());
            rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
            for (auto it = rows.rbegin(); it != rows.rend(); ++it)
                reference.erase(reference.begin() + *it);
        } else {
            std::vector<int> rows;
            for (int i = 1; i + 1 < size; i += 1 + pick(3))
                rows.push_back(i);
            const bool up = pick(1) == 0;
            ASSERT_TRUE(model.moveStepRows(rows, up));
            if (up) {
                for (int r : rows)
                    std::swap(reference[static_cast<std::size_t>(r)],
                              reference[static_cast<std::size_t>(r - 1)]);
            } else {
                for (auto it = rows.rbegin(); it != rows.rend(); ++it)
                    std::swap(reference[static_cast<std::size_t>(*it)],
                              reference[static_cast<std::size_t>(*it + 1)]);
            }
        }
        ASSERT_EQ(ids(model), reference) << "round " << round;
    }
}

// The model tester checks every signal; it is slow on big models, so small ones here.
TEST_F(StepRowsModelTest, RandomOperationsKeepTheModelContract)
{
    checkRandomOperations(model, 200, 6);
}

TEST(StepRowsModelLargeTest, RandomOperationsAcrossChunksMatchAReferenceVector)
{
    StepRowsModel big;
    checkRandomOperations(big, 300, 1500);
}

// Rows staged one by one and joined store to store are taken over whole, in one signal, and
// behave as inserted rows afterwards.
TEST_F(StepRowsModelTest, AdoptedRowsAreTheModelsRows)
{
    StepRowStore staged;
    for (int id = 1; id <= 1100; ++id)
        staged.append(makeRow(id, id == 3 ? -2 : id % 4));
    StepRowStore later;
    for (int id = 1; id <= 700; ++id)
        later.append(makeRow(id, 1));
    staged.append(std::move(later), [](StepRow &row) {
        row.id += 1100;
        row.depth -= 1;
    });
    EXPECT_EQ(later.size(), 0);
    ASSERT_EQ(staged.size(), 1800);
    EXPECT_EQ(staged.back().id, 1800);
    EXPECT_EQ(staged.at(1099).id, 1100);
    EXPECT_EQ(staged.at(1100).depth, 0);

    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    ASSERT_TRUE(model.adoptRows(std::move(staged)));
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted.at(0).at(1).toInt(), 0);
    EXPECT_EQ(inserted.at(0).at(2).toInt(), 1799);
    std::vector<int> expected(1800);
    std::iota(expected.begin(), expected.end(), 1);
    EXPECT_EQ(ids(model), expected);
    EXPECT_EQ(model.depth(2), 0); // was below 0
    EXPECT_EQ(model.depth(5), 2);
    EXPECT_EQ(model.rowText(1500), QStringLiteral("<s401 />")); // made as the later 401st

    StepRowStore more;
    more.append(makeRow(5000));
    EXPECT_FALSE(model.adoptRows(std::move(more)));
    EXPECT_EQ(model.count(), 1800);
}

TEST(StepRowsModelLargeTest, AdoptedRowsTakeRandomOperations)
{
    StepRowsModel big;
    StepRowStore staged;
    for (int id = 1; id <= 3000; ++id)
        staged.append(makeRow(id));
    ASSERT_TRUE(big.adoptRows(std::move(staged)));
    checkRandomOperations(big, 200, 1500);
}
