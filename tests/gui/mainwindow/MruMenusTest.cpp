#include "gui/mainwindow/MruMenus.h"
#include "core/settings/CMru.h"

#include <QAction>
#include <QMenu>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace {

QStringList texts(const QList<QAction *> &actions)
{
    QStringList result;
    for (const QAction *action : actions)
        result.append(action->text());
    return result;
}

class MruMenusTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_mru.setListSize(9);
        m_open = m_file.addAction(QStringLiteral("&Open..."));
        m_separator = m_file.addSeparator();
        m_exit = m_file.addAction(QStringLiteral("&Exit"));
    }

    CMru m_mru;
    QMenu m_file;
    QMenu m_dropDown;
    QAction *m_open = nullptr;
    QAction *m_separator = nullptr;
    QAction *m_exit = nullptr;
};

} // namespace

TEST_F(MruMenusTest, ListsTheFilesBeforeTheSeparatorAndInTheDropDown)
{
    MruMenus menus(&m_mru, &m_file, m_separator, &m_dropDown);
    EXPECT_FALSE(m_separator->isVisible());
    EXPECT_EQ(m_file.actions(), (QList<QAction *>{m_open, m_separator, m_exit}));
    EXPECT_TRUE(m_dropDown.actions().isEmpty());

    m_mru.AddToMruList(QStringLiteral("/s/first.zml"));
    m_mru.AddToMruList(QStringLiteral("C:\\R&D\\second.zml"), QStringLiteral("R&D plan"));
    EXPECT_TRUE(m_separator->isVisible());
    EXPECT_EQ(texts(m_file.actions()),
              (QStringList{QStringLiteral("&Open..."), QStringLiteral("&1 - R&&D plan"),
                           QStringLiteral("&2 - first.zml"), QString(), QStringLiteral("&Exit")}));
    EXPECT_EQ(texts(m_dropDown.actions()),
              (QStringList{QStringLiteral("1 - R&&D plan"), QStringLiteral("2 - first.zml")}));

    for (int i = 3; i <= 10; ++i)
        m_mru.AddToMruList(QStringLiteral("/s/file%1.zml").arg(i));
    ASSERT_EQ(menus.fileActions().size(), 9);
    EXPECT_EQ(menus.fileActions().first()->text(), QStringLiteral("&1 - file10.zml"));
    EXPECT_EQ(menus.fileActions().last()->text(), QStringLiteral("&9 - R&&D plan"));
    EXPECT_EQ(m_dropDown.actions().size(), 9);
    EXPECT_EQ(m_file.actions().size(), 12);

    for (int i = 0; i < 9; ++i)
        m_mru.RemoveFromMruList(m_mru.FileName(0));
    EXPECT_FALSE(m_separator->isVisible());
    EXPECT_EQ(m_file.actions(), (QList<QAction *>{m_open, m_separator, m_exit}));
    EXPECT_TRUE(m_dropDown.actions().isEmpty());
}

TEST_F(MruMenusTest, ChoosingAnEntryAsksToOpenItsFile)
{
    m_mru.AddToMruList(QStringLiteral("/s/a.zml"));
    m_mru.AddToMruList(QStringLiteral("/s/b.zml"));
    m_mru.AddToMruList(QStringLiteral("/s/c.zml"));
    MruMenus menus(&m_mru, &m_file, m_separator, &m_dropDown);
    QSignalSpy opens(&menus, &MruMenus::openRequested);
    // Opening a file promotes it, which rebuilds the menus while the entry is being chosen.
    QObject::connect(&menus, &MruMenus::openRequested, &m_mru,
                     [this](const QString &path) { m_mru.AddToMruList(path); });

    menus.fileActions().at(1)->trigger();
    ASSERT_EQ(opens.count(), 1);
    EXPECT_EQ(opens.at(0).at(0).toString(), QStringLiteral("/s/b.zml"));
    EXPECT_EQ(m_mru.FileName(0), QStringLiteral("/s/b.zml"));
    EXPECT_EQ(menus.fileActions().at(0)->text(), QStringLiteral("&1 - b.zml"));

    m_dropDown.actions().at(2)->trigger();
    ASSERT_EQ(opens.count(), 2);
    EXPECT_EQ(opens.at(1).at(0).toString(), QStringLiteral("/s/a.zml"));
    EXPECT_EQ(m_dropDown.actions().at(0)->text(), QStringLiteral("1 - a.zml"));
}
