#include "RecordingDevice.h"
#include "core/printing/CHeaderFooter.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

const QLocale kGerman(QLocale::German, QLocale::Germany);

class FixedClock {
public:
    explicit FixedClock(const QDateTime &now)
    {
        CHeaderFooter::SetClock([now] { return now; });
    }
    ~FixedClock() { CHeaderFooter::SetClock({}); }
    FixedClock(const FixedClock &) = delete;
    FixedClock &operator=(const FixedClock &) = delete;
};

QString MakeFile(const QTemporaryDir &dir, const QString &name, const QDateTime &modified)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("x");
    file.flush();
    EXPECT_TRUE(file.setFileTime(modified, QFileDevice::FileModificationTime));
    file.close();
    return path;
}

} // namespace

TEST(HeaderFooterCut, AlignmentCodesInAnyOrder)
{
    auto cut = CHeaderFooter::CutTemplate(QStringLiteral("$L$f$R$d"));
    EXPECT_EQ(cut.left, "$f");
    EXPECT_EQ(cut.centre, "");
    EXPECT_EQ(cut.right, "$d");

    cut = CHeaderFooter::CutTemplate(QStringLiteral("$CPage: $p"));
    EXPECT_EQ(cut.left, "");
    EXPECT_EQ(cut.centre, "Page: $p");

    cut = CHeaderFooter::CutTemplate(QStringLiteral("plain text $p"));
    EXPECT_EQ(cut.left, "plain text $p");
    EXPECT_EQ(cut.centre, "");
    EXPECT_EQ(cut.right, "");

    cut = CHeaderFooter::CutTemplate(QStringLiteral("$Rfirst$Lsecond"));
    EXPECT_EQ(cut.left, "second");
    EXPECT_EQ(cut.right, "first");

    cut = CHeaderFooter::CutTemplate(QStringLiteral("a$Rr$Cc$Ll"));
    EXPECT_EQ(cut.left, "al");
    EXPECT_EQ(cut.centre, "c");
    EXPECT_EQ(cut.right, "r");
}

TEST(HeaderFooterCut, RepeatedCodesLoseNoText)
{
    // The second $C comes back into the left part through $L and is moved out again; the
    // centre keeps what it already held.
    const auto cut = CHeaderFooter::CutTemplate(QStringLiteral("$Cx$Ly$Cz"));
    EXPECT_EQ(cut.left, "y");
    EXPECT_EQ(cut.centre, "xz");
    EXPECT_EQ(cut.right, "");
}

TEST(HeaderFooterMacros, ExpandsInOrderAndLeavesOtherCodes)
{
    QTemporaryDir dir;
    const QString path = MakeFile(dir, QStringLiteral("a$p.zml"), QDateTime({2026, 3, 4}, {9, 30}));
    FixedClock clock(QDateTime({2026, 12, 7}, {14, 5, 9}));
    CHeaderFooter macros;
    macros.SetLocale(kGerman);
    macros.SetDocumentPath(path);
    macros.InitDateTime();
    macros.SetPageNumber(3);
    macros.SetPageCount(9);

    // The file name holds "$p", which the later page-number step replaces.
    EXPECT_EQ(macros.ExpandMacros(QStringLiteral("$f")), "a3.zml");
    EXPECT_EQ(macros.ExpandMacros(QStringLiteral("$F")), QDir(dir.path()).filePath("a3.zml"));
    EXPECT_EQ(macros.ExpandMacros(QStringLiteral("$p/$P $d $t")), "3/9 07.12.26 14:05");
    EXPECT_EQ(macros.ExpandMacros(QStringLiteral("$D|$T")), "04.03.26|09:30");
    EXPECT_EQ(macros.ExpandMacros(QStringLiteral("$c $x $$L")), "$c $x $$L");
}

TEST(HeaderFooterMacros, FileDateAndTimeRules)
{
    QTemporaryDir dir;
    FixedClock clock(QDateTime({2026, 12, 7}, {14, 5, 9}));
    CHeaderFooter macros;
    macros.SetLocale(kGerman);

    // Never saved: "Untitled" and empty file date and time.
    macros.InitDateTime();
    EXPECT_EQ(macros.ExpandMacros(QStringLiteral("$f|$F|$D|$T")), "Untitled|Untitled||");

    // Modified exactly at midnight: the date alone, and the print time.
    macros.SetDocumentPath(MakeFile(dir, QStringLiteral("m.zml"), QDateTime({2026, 3, 4}, {})));
    macros.InitDateTime();
    EXPECT_EQ(macros.FileDate(), "04.03.26");
    EXPECT_EQ(macros.FileTime(), "14:05");

    // Gone: print date and print time.
    macros.SetDocumentPath(dir.filePath(QStringLiteral("gone.zml")));
    macros.InitDateTime();
    EXPECT_EQ(macros.FileDate(), "07.12.26");
    EXPECT_EQ(macros.FileTime(), "14:05");
}

TEST(HeaderFooterMacros, GeneralDateCutsAtFirstBlank)
{
    // A locale whose time holds a blank: only the first blank splits date and time.
    CHeaderFooter macros;
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    macros.SetLocale(us);
    const QDateTime stamp({2026, 3, 4}, {21, 30});
    QTemporaryDir dir;
    macros.SetDocumentPath(MakeFile(dir, QStringLiteral("u.zml"), stamp));
    macros.InitDateTime();
    const QString general = macros.GeneralDate(stamp);
    EXPECT_EQ(macros.FileDate() + u' ' + macros.FileTime(), general);
    EXPECT_EQ(macros.FileDate(), us.toString(stamp.date(), QLocale::ShortFormat));
    EXPECT_EQ(macros.FileTime(), us.toString(stamp.time(), QLocale::ShortFormat));
}

TEST(HeaderFooterLine, PartsPlacedLeftCentreRight)
{
    RecordingDevice device(600, 400);
    CHeaderFooter macros;
    macros.SetPageNumber(3);
    macros.PrintHeaderFooterLine(device, QStringLiteral("$L left $C  mid  $R right  "), 25, 50, 40);
    const auto &e = device.entries;
    ASSERT_EQ(e.size(), 3);
    // Left part untrimmed at the left margin.
    EXPECT_EQ(e[0].text, " left ");
    EXPECT_DOUBLE_EQ(e[0].x, 50);
    // Centre trimmed, centred on the whole width: (600 - 30) / 2.
    EXPECT_EQ(e[1].text, "mid");
    EXPECT_DOUBLE_EQ(e[1].x, 285);
    // Right part right-trimmed, ending at the right margin.
    EXPECT_EQ(e[2].text, " right");
    EXPECT_DOUBLE_EQ(e[2].x, 600 - 40 - 60);
    for (const auto &entry : e)
        EXPECT_DOUBLE_EQ(entry.y, 25);
}

TEST(HeaderFooterLine, CentreHalvesWholePixelsDroppingFractions)
{
    RecordingDevice device(601, 400);
    CHeaderFooter macros;
    macros.PrintHeaderFooterLine(device, QStringLiteral("$Cab"), 0, 0, 0);
    ASSERT_EQ(device.entries.size(), 1);
    EXPECT_DOUBLE_EQ(device.entries[0].x, 290); // (601 - 20) / 2 = 290.5, fraction dropped
}
