#include "core/host/CHTMLHelp.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <vector>

class CHTMLHelpTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_file = m_dir.filePath(QStringLiteral("stepsmith.html"));
        write("<html><body><h1 id=\"index\">Index</h1>\n"
              "<h2 id=\"msgbox\">msgbox</h2><a name='InputBox'></a>\n"
              "<p class=x ID=range>range</p><div data-id=\"decoy\"></div></body></html>\n");
        m_previous = CHTMLHelp::SetViewer([this](const QUrl &url) { m_shown.push_back(url); });
    }
    void TearDown() override { CHTMLHelp::SetViewer(std::move(m_previous)); }

    void write(const QByteArray &html)
    {
        QFile file(m_file);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(html);
    }
    QString shownFragment(const QString &keyword)
    {
        CHTMLHelp help;
        help.setFileName(m_file);
        m_shown.clear();
        EXPECT_TRUE(help.ShowContent(keyword));
        EXPECT_EQ(m_shown.size(), 1u);
        return m_shown.empty() ? QString() : m_shown.back().fragment();
    }

    QTemporaryDir m_dir;
    QString m_file;
    std::vector<QUrl> m_shown;
    CHTMLHelp::Viewer m_previous;
};

TEST_F(CHTMLHelpTest, FileNameAcceptsOnlyExistingFiles)
{
    CHTMLHelp help;
    help.setFileName(m_dir.filePath(QStringLiteral("missing.html")));
    EXPECT_EQ(help.FileName(), QString());
    help.setFileName(m_file);
    EXPECT_EQ(help.FileName(), m_file);
    help.setFileName(m_dir.filePath(QStringLiteral("missing.html")));
    help.setFileName(QString());
    help.setFileName(m_dir.path()); // a folder is not a help file
    EXPECT_EQ(help.FileName(), m_file);
    EXPECT_TRUE(CHTMLHelp::DefaultFileName().endsWith(QStringLiteral("/stepsmith.html")));
}

TEST_F(CHTMLHelpTest, DisplayOpensTheFileWithoutAnchor)
{
    CHTMLHelp help;
    EXPECT_FALSE(help.Display());
    EXPECT_FALSE(help.ShowContent(QStringLiteral("msgbox")));
    EXPECT_TRUE(m_shown.empty());
    help.setFileName(m_file);
    ASSERT_TRUE(help.Display());
    ASSERT_EQ(m_shown.size(), 1u);
    EXPECT_EQ(m_shown[0], QUrl::fromLocalFile(m_file));
    EXPECT_FALSE(m_shown[0].hasFragment());
}

TEST_F(CHTMLHelpTest, ShowContentFindsTheKeywordsAnchorElseTheIndex)
{
    EXPECT_EQ(shownFragment(QStringLiteral("msgbox")), QStringLiteral("msgbox"));
    EXPECT_EQ(shownFragment(QStringLiteral("MsgBox")), QStringLiteral("msgbox"));
    EXPECT_EQ(shownFragment(QStringLiteral("InputBox")), QStringLiteral("InputBox"));
    EXPECT_EQ(shownFragment(QStringLiteral("range")), QStringLiteral("range"));
    EXPECT_EQ(shownFragment(QStringLiteral("decoy")), QStringLiteral("index"));
    EXPECT_EQ(shownFragment(QStringLiteral("nosuchaction")), QStringLiteral("index"));
    EXPECT_EQ(shownFragment(QString()), QStringLiteral("index"));
    EXPECT_EQ(m_shown.back().toLocalFile(), m_file);
}

TEST_F(CHTMLHelpTest, AnchorsFollowChangesOfTheFile)
{
    EXPECT_EQ(shownFragment(QStringLiteral("shell")), QStringLiteral("index"));
    write("<html><body><h1 id=\"index\">Index</h1><h2 id=\"shell\">shell, a longer file</h2>"
          "</body></html>\n");
    EXPECT_EQ(shownFragment(QStringLiteral("shell")), QStringLiteral("shell"));
}

TEST_F(CHTMLHelpTest, AMissingFileOrViewerShowsNothing)
{
    CHTMLHelp help;
    help.setFileName(m_file);
    QFile::remove(m_file);
    EXPECT_FALSE(help.Display());
    EXPECT_FALSE(help.ShowContent(QStringLiteral("msgbox")));
    EXPECT_TRUE(m_shown.empty());

    write("<p id=\"index\"></p>");
    CHTMLHelp::SetViewer({});
    EXPECT_FALSE(help.Display());
}
