#include "gui/mainwindow/frmRecover.h"

#include <QPushButton>
#include <QTreeWidget>

#include <gtest/gtest.h>

namespace {

QStringList row(const QTreeWidget &list, int index)
{
    const QTreeWidgetItem *item = list.topLevelItem(index);
    return {item->text(0), item->text(1)};
}

TEST(FrmRecoverTest, ListsTheFilesAndChoosesPerRow)
{
    RecoveryEntry untitled;
    untitled.readable = true;
    untitled.saved = QDateTime::currentDateTime();
    RecoveryEntry damaged;
    damaged.originalPath = QStringLiteral("/home/ann/scripts/tidy.zml");
    RecoveryEntry named;
    named.originalPath = QStringLiteral("/tmp/a.zml");
    named.readable = true;

    frmRecover dialog({untitled, damaged, named});
    QTreeWidget &list = *dialog.list();
    ASSERT_EQ(list.topLevelItemCount(), 3);
    EXPECT_EQ(row(list, 0), QStringList({QStringLiteral("[Untitled]"), QString()}));
    EXPECT_EQ(row(list, 1), QStringList({QStringLiteral("tidy.zml (cannot be read)"),
                                         QStringLiteral("/home/ann/scripts")}));
    EXPECT_FALSE(list.topLevelItem(0)->text(2).isEmpty()) << "time of the last autosave";

    // A file that cannot be read can be discarded, not recovered.
    list.setCurrentItem(list.topLevelItem(1));
    EXPECT_FALSE(dialog.recoverButton()->isEnabled());
    dialog.discardButton()->click();
    EXPECT_EQ(list.topLevelItemCount(), 2);
    EXPECT_EQ(dialog.result(), 0) << "still open";

    list.setCurrentItem(list.topLevelItem(1));
    ASSERT_TRUE(dialog.recoverButton()->isEnabled());
    dialog.recoverButton()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.choices(),
              (std::vector<RecoveryChoice>{RecoveryChoice::Later, RecoveryChoice::Discard,
                                           RecoveryChoice::Recover}));
}

TEST(FrmRecoverTest, ChooserKeepsOneRecoveryAndLaterWithoutAnswer)
{
    const std::vector<RecoveryEntry> entries(3);
    EXPECT_EQ(ChooseRecovery(entries), std::vector<RecoveryChoice>(3, RecoveryChoice::Later));
    SetRecoveryChooser([](const std::vector<RecoveryEntry> &) {
        return std::vector<RecoveryChoice>{RecoveryChoice::Recover, RecoveryChoice::Recover};
    });
    EXPECT_EQ(ChooseRecovery(entries),
              (std::vector<RecoveryChoice>{RecoveryChoice::Recover, RecoveryChoice::Later,
                                           RecoveryChoice::Later}))
        << "one window opens one script; a short answer keeps the rest";
    SetRecoveryChooser({});
}

} // namespace
