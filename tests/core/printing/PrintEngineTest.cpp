#include "RecordingDevice.h"
#include "core/printing/CPrinter.h"

#include <QStringList>

#include <gtest/gtest.h>

namespace {

// 600 x 400 pixels, 10-pixel glyphs, 20-pixel lines. Text runs from x 50 to the right limit
// 550 (50 characters) and from y 60 while a line ends at or above 340: 14 lines a page.
CPrinter PlainPrinter()
{
    CPrinter printer;
    printer.SetMarginLeft(50);
    printer.SetMarginRight(50);
    printer.SetMarginTop(60);
    printer.SetMarginBottom(60);
    printer.SetMarginHeader(20);
    printer.SetMarginFooter(20);
    printer.SetHeaderText(QString());
    printer.SetFooterText(QString());
    return printer;
}

QString Lines(int count, const QString &prefix = QStringLiteral("line"))
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(prefix + QString::number(i));
    return lines.join(QStringLiteral("\r\n"));
}

// Text of each device line of a page, in order, the pieces joined.
QStringList DeviceLines(const RecordingDevice &device, int page)
{
    QStringList result;
    double y = -1;
    for (const auto &e : device.OnPage(page)) {
        if (e.y != y)
            result.append(QString());
        y = e.y;
        result.last() += e.text;
    }
    return result;
}

} // namespace

TEST(PrintEngine, OneLinePerSourceLineWithBlankFlush)
{
    CPrinter printer = PlainPrinter();
    RecordingDevice device;
    printer.PrintText(QStringLiteral("<zml>\r\n\r\n</zml>"), device);
    const auto &e = device.entries;
    ASSERT_EQ(e.size(), 3);
    EXPECT_EQ(e[0].text, "<zml> ");
    EXPECT_DOUBLE_EQ(e[0].x, 50);
    EXPECT_DOUBLE_EQ(e[0].y, 60);
    // The empty line prints its flushing blank and takes one line of height.
    EXPECT_EQ(e[1].text, " ");
    EXPECT_DOUBLE_EQ(e[1].y, 80);
    EXPECT_EQ(e[2].text, "</zml> ");
    EXPECT_DOUBLE_EQ(e[2].y, 100);
    EXPECT_TRUE(device.ended);
    EXPECT_EQ(device.pagesStarted, 1);
}

TEST(PrintEngine, PageBreaksBeforeALineThatWouldEndBelowTheBottomLimit)
{
    CPrinter printer = PlainPrinter();
    RecordingDevice device;
    printer.PrintText(Lines(30), device);
    EXPECT_EQ(device.pagesStarted, 3);
    ASSERT_EQ(device.OnPage(1).size(), 14);
    EXPECT_DOUBLE_EQ(device.OnPage(1).last().y, 320); // ends exactly at the limit 340
    ASSERT_EQ(device.OnPage(2).size(), 14);
    EXPECT_EQ(device.OnPage(2).first().text, "line15 ");
    EXPECT_DOUBLE_EQ(device.OnPage(2).first().y, 60);
    EXPECT_EQ(device.OnPage(3).size(), 2);
    EXPECT_EQ(printer.PageNumber(), 3);
}

TEST(PrintEngine, WrapsOnlyWhenAWordEndsBeyondTheRightLimit)
{
    CPrinter printer = PlainPrinter();
    RecordingDevice device;
    const QString first(45, u'a');
    // 45 + blank ends at 510; a 4-letter word ends exactly at 550 and stays.
    printer.PrintText(first + QStringLiteral(" bbbb"), device);
    EXPECT_EQ(DeviceLines(device, 1), QStringList{first + QStringLiteral(" bbbb ")});

    // One letter more ends at 560: the word goes to the next line at the left edge.
    RecordingDevice wrapped;
    printer.PrintText(first + QStringLiteral(" bbbbb"), wrapped);
    EXPECT_EQ(DeviceLines(wrapped, 1), (QStringList{first + u' ', QStringLiteral("bbbbb ")}));
    EXPECT_DOUBLE_EQ(wrapped.entries[1].x, 50);
    EXPECT_DOUBLE_EQ(wrapped.entries[1].y, 80);
}

TEST(PrintEngine, OverlongWordIsBrokenAtTheRightMargin)
{
    CPrinter printer = PlainPrinter();
    RecordingDevice device;
    const QString word(70, u'w');
    printer.PrintText(word + QStringLiteral("\r\nnext"), device);
    // 50 characters fill a line; the rest goes on below, at the left edge.
    EXPECT_EQ(DeviceLines(device, 1),
              (QStringList{QString(50, u'w'), QString(20, u'w') + u' ', QStringLiteral("next ")}));
    EXPECT_DOUBLE_EQ(device.entries[0].y, 60); // no empty device line in front of it
    EXPECT_DOUBLE_EQ(device.entries[1].x, 50);
    EXPECT_DOUBLE_EQ(device.entries[1].y, 80);

    // After other words it is broken from where it stands.
    RecordingDevice after;
    printer.PrintText(QStringLiteral("ab ") + word + QStringLiteral(" cd"), after);
    EXPECT_EQ(DeviceLines(after, 1), (QStringList{QStringLiteral("ab ") + QString(47, u'w'),
                                                  QString(23, u'w') + QStringLiteral(" cd ")}));
    // Where not one character fits any more, it starts on the next line.
    RecordingDevice full;
    printer.PrintText(QString(49, u'a') + u' ' + word, full);
    EXPECT_EQ(DeviceLines(full, 1),
              (QStringList{QString(49, u'a') + u' ', QString(50, u'w'), QString(20, u'w') + u' '}));

    // With line numbers the pieces start at the text edge, and a piece that reaches the
    // bottom limit breaks the page.
    printer.SetLineNumbers(true);
    RecordingDevice numbered;
    printer.PrintText(Lines(13, QStringLiteral("x")) + QStringLiteral("\r\n") + QString(90, u'u'),
                      numbered);
    const auto page2 = numbered.OnPage(2);
    ASSERT_EQ(page2.size(), 1);
    EXPECT_EQ(page2[0].text, QString(44, u'u') + u' ');
    EXPECT_DOUBLE_EQ(page2[0].x, 90);
    EXPECT_DOUBLE_EQ(page2[0].y, 60);
}

TEST(PrintEngine, BlanksAndTabsAreKept)
{
    CPrinter printer = PlainPrinter();
    RecordingDevice device;
    printer.PrintText(QStringLiteral("  a  b\tc\t"), device);
    // The line ends with a tab, so a blank is appended to flush the last word.
    EXPECT_EQ(DeviceLines(device, 1), QStringList{QStringLiteral("  a  b\tc\t ")});
    // Pieces follow each other by their width.
    double x = 50;
    for (const auto &e : device.entries) {
        EXPECT_DOUBLE_EQ(e.x, x);
        x += 10.0 * static_cast<double>(e.text.size());
    }
}

TEST(PrintEngine, LineNumbersZeroPaddedToTheDigitsOfTheLineCount)
{
    CPrinter printer = PlainPrinter();
    printer.SetLineNumbers(true);
    RecordingDevice device(600, 2400);
    printer.PrintText(Lines(100), device);
    const auto first = device.Find(QStringLiteral("001:"));
    ASSERT_EQ(first.size(), 1);
    EXPECT_EQ(first[0].text, "001:");
    EXPECT_DOUBLE_EQ(first[0].x, 50);
    const auto last = device.Find(QStringLiteral("100:"));
    ASSERT_EQ(last.size(), 1);
    // The text starts after the width of "000: ".
    const auto text = device.Find(QStringLiteral("line1 "));
    ASSERT_EQ(text.size(), 1);
    EXPECT_DOUBLE_EQ(text[0].x, 100);
    EXPECT_DOUBLE_EQ(text[0].y, first[0].y);

    RecordingDevice nine;
    printer.PrintText(Lines(9), nine);
    EXPECT_EQ(nine.entries[0].text, "1:");
    EXPECT_DOUBLE_EQ(nine.entries[1].x, 80);
}

TEST(PrintEngine, ContinuationLinesAlignWithTheTextAndCanBreakThePage)
{
    CPrinter printer = PlainPrinter();
    printer.SetLineNumbers(true);
    RecordingDevice device;
    // 13 short lines, then one that wraps onto the page's 15th device line.
    QString text = Lines(13, QStringLiteral("x"));
    text += QStringLiteral("\r\n") + QString(44, u'a') + QStringLiteral(" tail");
    printer.PrintText(text, device);
    EXPECT_EQ(device.pagesStarted, 2);
    const auto page2 = device.OnPage(2);
    ASSERT_EQ(page2.size(), 1);
    EXPECT_EQ(page2[0].text, "tail ");
    EXPECT_DOUBLE_EQ(page2[0].x, 90); // text edge: 50 + width of "00: "
    EXPECT_DOUBLE_EQ(page2[0].y, 60);
}

TEST(PrintEngine, HeaderAndFooterOnEveryPage)
{
    CPrinter printer = PlainPrinter();
    printer.SetHeaderText(QStringLiteral("$L$f$R$p/$P"));
    printer.SetFooterText(QStringLiteral("$CPage: $p"));
    RecordingDevice device;
    printer.PrintText(Lines(30), device);
    for (int page = 1; page <= 3; ++page) {
        const auto entries = device.OnPage(page);
        const QString number = QString::number(page);
        ASSERT_GE(entries.size(), 3);
        EXPECT_EQ(entries[0].text, "Untitled");
        EXPECT_DOUBLE_EQ(entries[0].x, 50);
        EXPECT_DOUBLE_EQ(entries[0].y, 20);
        EXPECT_EQ(entries[1].text, number + "/3");
        EXPECT_DOUBLE_EQ(entries[1].x, 550 - 30);
        const auto &footer = entries.last();
        EXPECT_EQ(footer.text, "Page: " + number);
        EXPECT_DOUBLE_EQ(footer.x, 265); // (600 - 70) / 2
        EXPECT_DOUBLE_EQ(footer.y, 360); // 400 - 20 - one line
    }
}

TEST(PrintEngine, EmptyHeaderAndFooterLeaveOnlyText)
{
    CPrinter printer = PlainPrinter();
    RecordingDevice device;
    printer.PrintText(Lines(20), device);
    for (const auto &e : device.entries)
        EXPECT_TRUE(e.text.startsWith(QStringLiteral("line"))) << e.text.toStdString();
    EXPECT_EQ(device.entries.size(), 20);
}

TEST(PrintEngine, PageCountIsThatOfThePagesPrinted)
{
    CPrinter printer = PlainPrinter();
    RecordingDevice device;
    // 280 pixels of usable height hold 14 lines: 28 lines are 2 pages, 29 need 3.
    EXPECT_EQ(printer.CountPages(Lines(28), device), 2);
    EXPECT_EQ(printer.CountPages(Lines(29), device), 3);
    EXPECT_EQ(printer.CountPages(QStringLiteral("x"), device), 1);
    // Counting draws nothing.
    EXPECT_TRUE(device.entries.isEmpty());
    EXPECT_EQ(device.pagesStarted, 1);

    // 14 lines that each wrap once fill two pages, and the count says so.
    printer.SetHeaderText(QStringLiteral("$p of $P"));
    RecordingDevice wrapped;
    printer.PrintText(Lines(14, QString(49, u'a') + QStringLiteral(" ")), wrapped);
    EXPECT_EQ(printer.TotalPages(), 2);
    EXPECT_EQ(printer.PageNumber(), 2);
    EXPECT_EQ(wrapped.pagesStarted, 2);
    EXPECT_EQ(wrapped.OnPage(1).first().text, "1 of 2");
    EXPECT_EQ(wrapped.OnPage(2).first().text, "2 of 2");
    // Whole lines fill a page, not its height: the count follows the lines placed.
    RecordingDevice tall(600, 400 + 19);
    printer.PrintText(Lines(29), tall); // 14, 14 and 1: the height alone says 2
    EXPECT_EQ(printer.TotalPages(), tall.pagesStarted);
    EXPECT_EQ(tall.OnPage(tall.pagesStarted).first().text,
              QStringLiteral("%1 of %1").arg(tall.pagesStarted));
}

TEST(PrintEngine, MarginsTooLargeForALineStillEnd)
{
    CPrinter printer = PlainPrinter();
    printer.SetMarginTop(390);
    RecordingDevice device;
    printer.PrintText(Lines(3), device);
    // Each line goes on a page of its own, with no empty page in front of them.
    EXPECT_EQ(device.entries.size(), 3);
    EXPECT_EQ(device.pagesStarted, 3);
    EXPECT_EQ(device.entries[0].page, 1);
    EXPECT_EQ(printer.TotalPages(), 3);
    EXPECT_EQ(printer.PageNumber(), 3);
}

TEST(PrintEngine, InchesCentreOnWholePixelsNotWholeInches)
{
    CPrinter printer = PlainPrinter();
    printer.SetScaleMode(5);
    printer.SetMarginLeft(0.5f);
    printer.SetMarginRight(0.5f);
    printer.SetMarginTop(0.6f);
    printer.SetMarginBottom(0.6f);
    printer.SetMarginFooter(0.2f);
    printer.SetFooterText(QStringLiteral("$CPage: $p"));
    RecordingDevice device; // 6 x 4 inches at 100 pixels an inch
    printer.PrintText(QStringLiteral("a"), device);
    ASSERT_EQ(device.entries.size(), 2);
    EXPECT_NEAR(device.entries[0].x, 0.5, 1e-6);
    EXPECT_NEAR(device.entries[1].x, 2.65, 1e-6);
    EXPECT_NEAR(device.entries[1].y, 4 - 0.2 - 0.2, 1e-6);
}

TEST(PrinterSettings, DefaultsAndScaleModeRule)
{
    CPrinter printer;
    EXPECT_EQ(printer.ScaleMode(), 3);
    EXPECT_FLOAT_EQ(printer.MarginLeft(), 48);
    EXPECT_FLOAT_EQ(printer.MarginTop(), 77);
    EXPECT_FLOAT_EQ(printer.MarginHeader(), 38);
    EXPECT_FALSE(printer.LineNumbers());
    EXPECT_EQ(printer.FontName(), "Courier New");
    EXPECT_EQ(printer.FontSize(), 10);
    EXPECT_EQ(printer.HeaderText(), "$L$f$R$d");
    EXPECT_EQ(printer.FooterText(), "$CPage: $p");

    for (short code : {5, 6, 7, 3}) {
        printer.SetScaleMode(code);
        EXPECT_EQ(printer.ScaleMode(), code);
    }
    printer.SetScaleMode(6);
    for (short code : {0, 1, 2, 4, 8, -1}) {
        printer.SetScaleMode(code);
        EXPECT_EQ(printer.ScaleMode(), 6);
    }
    // Margins are not converted by a unit change.
    EXPECT_FLOAT_EQ(printer.MarginLeft(), 48);
}
