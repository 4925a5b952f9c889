#include "DialogAnswerer.h"
#include "QtPrinters.h"

#include <fieldpane/CCommonDialogs.h>
#include <fieldpane/SystemColors.h>

#include <QApplication>
#include <QDir>
#include <QFontDatabase>
#include <QFontDialog>
#include <QGuiApplication>
#include <QListView>
#include <QPalette>
#include <QTimer>

#include <gtest/gtest.h>

using Fieldpane::CCommonDialogs;

namespace {

CCommonDialogs::Answer accepted()
{
    CCommonDialogs::Answer a;
    a.Accepted = true;
    return a;
}

} // namespace

TEST(CommonDialogsFilter, ConvertsPairsToQtFilters)
{
    EXPECT_EQ(CCommonDialogs::ConvertFilter(QStringLiteral("ZML Files|*.zml|All Files|*.*")),
              QStringList({QStringLiteral("ZML Files (*.zml)"), QStringLiteral("All Files (*)")}));
    // A description that already names its patterns offers one entry, not a doubled one.
    EXPECT_EQ(CCommonDialogs::ConvertFilter(QStringLiteral("All Files (*.*)|*.*")),
              QStringList({QStringLiteral("All Files (*)")}));
    EXPECT_EQ(CCommonDialogs::ConvertFilter(QStringLiteral("Texts|*.txt;*.log")),
              QStringList({QStringLiteral("Texts (*.txt *.log)")}));
    // A description without a pattern is dropped; an empty filter offers nothing.
    EXPECT_EQ(CCommonDialogs::ConvertFilter(QStringLiteral("Texts|*.txt|Dangling")),
              QStringList({QStringLiteral("Texts (*.txt)")}));
    EXPECT_TRUE(CCommonDialogs::ConvertFilter(QString()).isEmpty());
}

TEST(CommonDialogs, OpenPassesPropertiesAndReadsBackPathAndTitle)
{
    CCommonDialogs::Answer answer = accepted();
    answer.FileName = QStringLiteral("/home/u/scripts/a.zml");
    DialogAnswerer answerer(answer);

    CCommonDialogs dlg;
    dlg.setFilter(QStringLiteral("ZML Files|*.zml"));
    dlg.setTitle(QStringLiteral("Open"));
    dlg.setDefExt(QStringLiteral("zml"));
    dlg.setPath(QStringLiteral("/home/u"));
    dlg.setFileName(QStringLiteral("old.zml"));
    ASSERT_TRUE(dlg.ShowOpen());

    ASSERT_EQ(answerer.requests.size(), 1u);
    const CCommonDialogs::Request &r = answerer.requests.front();
    EXPECT_EQ(r.Kind, CCommonDialogs::DialogKind::Open);
    EXPECT_EQ(r.Directory, QStringLiteral("/home/u"));
    EXPECT_EQ(r.FileName, QStringLiteral("old.zml"));
    EXPECT_EQ(r.Title, QStringLiteral("Open"));
    EXPECT_EQ(r.DefExt, QStringLiteral("zml"));
    EXPECT_EQ(r.NameFilters, QStringList({QStringLiteral("ZML Files (*.zml)")}));

    EXPECT_EQ(dlg.FileName(), QStringLiteral("/home/u/scripts/a.zml"));
    EXPECT_EQ(dlg.Path(), QStringLiteral("/home/u/scripts"));
    EXPECT_EQ(dlg.FileTitle(), QStringLiteral("a.zml"));
}

TEST(CommonDialogs, SaveStartsInCurrentFolderWithoutPathAndKeepsRootFolder)
{
    CCommonDialogs::Answer answer = accepted();
    answer.FileName = QStringLiteral("/top.zml");
    DialogAnswerer answerer(answer);
    CCommonDialogs dlg;
    ASSERT_TRUE(dlg.ShowSave());
    EXPECT_EQ(answerer.requests.front().Kind, CCommonDialogs::DialogKind::Save);
    EXPECT_EQ(answerer.requests.front().Directory, QDir::currentPath());
    EXPECT_EQ(dlg.Path(), QStringLiteral("/"));
    EXPECT_EQ(dlg.FileTitle(), QStringLiteral("top.zml"));
}

TEST(CommonDialogs, CancelLeavesEveryPropertyUnchanged)
{
    DialogAnswerer answerer(CCommonDialogs::Answer{});
    CCommonDialogs dlg;
    dlg.setFileName(QStringLiteral("/a/b.txt"));
    dlg.setPath(QStringLiteral("/a"));
    dlg.setFileTitle(QStringLiteral("b.txt"));
    dlg.setColor(0x123456);
    dlg.setFontName(QStringLiteral("Mono"));
    dlg.setFontSize(9);
    dlg.setPrintCopies(2);
    EXPECT_FALSE(dlg.ShowOpen());
    EXPECT_FALSE(dlg.ShowSave());
    EXPECT_FALSE(dlg.ShowColor());
    EXPECT_FALSE(dlg.ShowFont());
    EXPECT_FALSE(dlg.ShowPrinter());
    EXPECT_FALSE(dlg.ShowFolder(true));
    EXPECT_EQ(dlg.FileName(), QStringLiteral("/a/b.txt"));
    EXPECT_EQ(dlg.Path(), QStringLiteral("/a"));
    EXPECT_EQ(dlg.FileTitle(), QStringLiteral("b.txt"));
    EXPECT_EQ(dlg.Color(), 0x123456u);
    EXPECT_EQ(dlg.FontName(), QStringLiteral("Mono"));
    EXPECT_EQ(dlg.FontSize(), 9);
    EXPECT_EQ(dlg.PrintCopies(), 2);
    EXPECT_EQ(answerer.requests.size(), 6u);
}

TEST(CommonDialogs, FolderStartsOnPathOnlyWithInitPath)
{
    CCommonDialogs::Answer answer = accepted();
    answer.Folder = QStringLiteral("/srv/data");
    DialogAnswerer answerer(answer);
    CCommonDialogs dlg;
    dlg.setPath(QStringLiteral("/home"));
    dlg.setTitle(QStringLiteral("Select a folder"));
    dlg.setFileName(QStringLiteral("/home/x"));
    dlg.setFileTitle(QStringLiteral("x"));
    ASSERT_TRUE(dlg.ShowFolder(false));
    EXPECT_TRUE(answerer.requests.at(0).Directory.isEmpty());
    EXPECT_EQ(answerer.requests.at(0).Title, QStringLiteral("Select a folder"));
    EXPECT_EQ(dlg.Path(), QStringLiteral("/srv/data"));
    EXPECT_TRUE(dlg.FileName().isEmpty());
    EXPECT_TRUE(dlg.FileTitle().isEmpty());

    ASSERT_TRUE(dlg.ShowFolder(true));
    EXPECT_EQ(answerer.requests.at(1).Directory, QStringLiteral("/srv/data"));
}

TEST(CommonDialogs, TextGettersStopAtNul)
{
    CCommonDialogs dlg;
    dlg.setFileName(QStringLiteral("abc") + QChar(u'\0') + QStringLiteral("   "));
    dlg.setPath(QStringLiteral("/p") + QChar(u'\0'));
    EXPECT_EQ(dlg.FileName(), QStringLiteral("abc"));
    EXPECT_EQ(dlg.Path(), QStringLiteral("/p"));
}

TEST(CommonDialogs, ColorRoundTripsAsBgrAndResolvesSystemColours)
{
    CCommonDialogs::Answer answer = accepted();
    answer.Color = QColor(1, 2, 3);
    DialogAnswerer answerer(answer);
    CCommonDialogs dlg;
    dlg.setColor(0x00FF0000); // blue in 0x00BBGGRR
    ASSERT_TRUE(dlg.ShowColor(true));
    EXPECT_EQ(answerer.requests.front().Color, QColor(Qt::blue));
    EXPECT_TRUE(answerer.requests.front().FullOpen);
    EXPECT_EQ(dlg.Color(), 0x030201u);

    // The button face (system colour 15) is stored as its current RGB value.
    dlg.setColor(0x8000000Fu);
    const QColor face = QGuiApplication::palette().color(QPalette::Active, QPalette::Button);
    EXPECT_EQ(dlg.Color(), Fieldpane::ToOleColor(face));
    EXPECT_FALSE(Fieldpane::IsSystemColor(dlg.Color()));
}

TEST(CommonDialogs, FontAndPrinterResults)
{
    CCommonDialogs::Answer answer = accepted();
    QFont chosen(QStringLiteral("DejaVu Sans Mono"));
    chosen.setPointSizeF(10.5);
    chosen.setBold(true);
    answer.Font = chosen;
    answer.DeviceName = QStringLiteral("Office");
    answer.Orientation = 2;
    answer.PrintCopies = 3;
    DialogAnswerer answerer(answer);

    CCommonDialogs dlg;
    dlg.setFontName(QStringLiteral("Courier"));
    dlg.setFontSize(12);
    dlg.setFontItalic(true);
    ASSERT_TRUE(dlg.ShowFont());
    const CCommonDialogs::Request &fontRequest = answerer.requests.at(0);
    EXPECT_EQ(fontRequest.Font.family(), QStringLiteral("Courier"));
    EXPECT_EQ(fontRequest.Font.pointSize(), 12);
    EXPECT_TRUE(fontRequest.Font.italic());
    EXPECT_TRUE(fontRequest.FixedPitchOnly);
    EXPECT_EQ(dlg.FontName(), QStringLiteral("DejaVu Sans Mono"));
    EXPECT_EQ(dlg.FontSize(), 10);
    EXPECT_TRUE(dlg.FontBold());
    EXPECT_FALSE(dlg.FontItalic());

    dlg.setPrintCopies(1);
    ASSERT_TRUE(dlg.ShowPrinter());
    EXPECT_EQ(answerer.requests.at(1).PrintCopies, 1);
    EXPECT_EQ(dlg.DeviceName(), QStringLiteral("Office"));
    EXPECT_EQ(dlg.Orientation(), 2);
    EXPECT_EQ(dlg.PrintCopies(), 3);

    ASSERT_TRUE(dlg.ShowPrinterProperties());
    EXPECT_EQ(answerer.requests.at(2).DeviceName, QStringLiteral("Office"));
}

TEST(SystemColors, TableCoversIndexesZeroToTwentyFour)
{
    QPalette palette;
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(10, 20, 30));
    palette.setColor(QPalette::Active, QPalette::ToolTipBase, QColor(40, 50, 60));
    EXPECT_EQ(Fieldpane::SystemColor(13, palette), QColor(10, 20, 30));
    EXPECT_EQ(Fieldpane::SystemColor(24, palette), QColor(40, 50, 60));
    for (int i = 0; i <= 24; ++i)
        EXPECT_TRUE(Fieldpane::SystemColor(i, palette).isValid()) << i;
    EXPECT_FALSE(Fieldpane::SystemColor(25, palette).isValid());
    EXPECT_FALSE(Fieldpane::SystemColor(-1, palette).isValid());
    EXPECT_EQ(Fieldpane::FromOleColor(0x8000000Du, palette), QColor(10, 20, 30));
    EXPECT_EQ(Fieldpane::FromOleColor(0x80000019u, palette), QColor(Qt::black));
    EXPECT_EQ(Fieldpane::FromOleColor(0x00030201u, palette), QColor(1, 2, 3));
    EXPECT_EQ(Fieldpane::ToOleColor(QColor(1, 2, 3)), 0x00030201u);
}

TEST(CommonDialogs, PrinterDialogCanChooseAPdfFileWhenAllowed)
{
    CCommonDialogs::Answer toFile = accepted();
    toFile.OutputFileName = QStringLiteral("/tmp/out.pdf");
    toFile.Orientation = 1;
    CCommonDialogs dlg;
    {
        // Not offered unless the host asks for it: a file answer is not taken as a choice.
        DialogAnswerer answerer(toFile);
        dlg.setOutputFileName(QStringLiteral("/tmp/old.pdf"));
        ASSERT_TRUE(dlg.ShowPrinter());
        EXPECT_FALSE(answerer.requests.at(0).AllowPrintToFile);
        EXPECT_TRUE(dlg.OutputFileName().isEmpty());
    }
    {
        DialogAnswerer answerer(toFile);
        dlg.setAllowPrintToFile(true);
        dlg.setOutputFileName(QStringLiteral("/tmp/old.pdf"));
        ASSERT_TRUE(dlg.ShowPrinter());
        EXPECT_TRUE(answerer.requests.at(0).AllowPrintToFile);
        EXPECT_EQ(answerer.requests.at(0).OutputFileName, QStringLiteral("/tmp/old.pdf"));
        EXPECT_EQ(dlg.OutputFileName(), QStringLiteral("/tmp/out.pdf"));
    }
    {
        // Choosing a printer afterwards forgets the file.
        CCommonDialogs::Answer device = accepted();
        device.DeviceName = QStringLiteral("Office");
        DialogAnswerer answerer(device);
        ASSERT_TRUE(dlg.ShowPrinter());
        EXPECT_EQ(answerer.requests.at(0).OutputFileName, QStringLiteral("/tmp/out.pdf"));
        EXPECT_TRUE(dlg.OutputFileName().isEmpty());
        EXPECT_EQ(dlg.DeviceName(), QStringLiteral("Office"));
    }
    {
        // A cancelled dialog keeps the choice.
        DialogAnswerer answerer(CCommonDialogs::Answer{});
        dlg.setOutputFileName(QStringLiteral("/tmp/kept.pdf"));
        EXPECT_FALSE(dlg.ShowPrinter());
        EXPECT_EQ(dlg.OutputFileName(), QStringLiteral("/tmp/kept.pdf"));
        EXPECT_EQ(dlg.DeviceName(), QStringLiteral("Office"));
    }
}

// The real font dialog, answered from a timer once it is open: the list it offers, and OK
// pressed without a change.
TEST(CommonDialogs, FontDialogListsFixedPitchFamiliesAndOkKeepsTheFont)
{
    const QStringList fixed = [] {
        QStringList families;
        for (const QString &family : QFontDatabase::families())
            if (QFontDatabase::isFixedPitch(family) && !QFontDatabase::isPrivateFamily(family))
                families.append(family);
        return families;
    }();
    if (fixed.isEmpty() || fixed.size() == QFontDatabase::families().size())
        GTEST_SKIP() << "needs fixed-pitch and proportional font families";

    for (const QString &family : fixed) {
        SCOPED_TRACE(family.toStdString());
        QStringList listed;
        QTimer answer;
        QObject::connect(&answer, &QTimer::timeout, [&] {
            auto *dialog = qobject_cast<QFontDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            answer.stop();
            const QAbstractItemModel *families = dialog->findChild<QListView *>()->model();
            for (int row = 0; row < families->rowCount(); ++row)
                listed.append(families->index(row, 0).data().toString());
            dialog->accept();
        });
        answer.start(10);
        CCommonDialogs dlg;
        dlg.setFontName(family);
        dlg.setFontSize(10);
        ASSERT_TRUE(dlg.ShowFont());
        EXPECT_FALSE(listed.isEmpty());
        for (const QString &name : listed)
            EXPECT_TRUE(QFontDatabase::isFixedPitch(name)) << name.toStdString();
        EXPECT_EQ(dlg.FontName(), family);
        EXPECT_FALSE(dlg.FontItalic());
        EXPECT_FALSE(dlg.FontBold());
        EXPECT_EQ(dlg.FontSize(), 10);
    }
}
