#include "printing/CPrintPreview.h"
#include "printing/CPrinter.h"

#include <QPageLayout>
#include <QPageSize>
#include <QStringList>

#include <gtest/gtest.h>

namespace {

QPageLayout A4(double marginPoints = 0)
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(marginPoints, marginPoints, marginPoints, marginPoints),
                       QPageLayout::Point);
}

QString Lines(int count, const QString &prefix = QStringLiteral("line"))
{
    QStringList lines;
    for (int i = 1; i <= count; ++i)
        lines.append(prefix + QString::number(i));
    return lines.join(QStringLiteral("\r\n"));
}

} // namespace

TEST(PreviewEngine, NumberedTextFollowsTheColonAndContinuationsIndent)
{
    CPrintPreview preview(A4());
    CPrinter settings;
    settings.SetHeaderText(QString());
    settings.SetFooterText(QString());
    preview.ApplySettings(settings);
    QString longLine;
    for (int i = 0; i < 40; ++i)
        longLine += QStringLiteral("word%1 ").arg(i);
    preview.PrintText(QStringLiteral("short\r\n") + longLine.trimmed(), true);

    const auto &items = preview.PageItems(0);
    ASSERT_GE(items.size(), 3);
    // The number, its colon and the text stand on one line with no blank between.
    EXPECT_EQ(items[0].text, "1:short");
    EXPECT_DOUBLE_EQ(items[0].pos.x(), 48);
    EXPECT_DOUBLE_EQ(items[0].pos.y(), 77);
    EXPECT_TRUE(items[1].text.startsWith(QStringLiteral("2:word0 ")));
    // Continuations start one blank to the right of the colon's end.
    EXPECT_DOUBLE_EQ(preview.WrapIndent(), preview.TextWidth(QStringLiteral("0: ")));
    EXPECT_DOUBLE_EQ(items[2].pos.x(), 48 + preview.WrapIndent());
    EXPECT_GT(items[2].pos.y(), items[1].pos.y());
    // No device line runs past the right limit except by its final blank.
    const double limit = preview.ScaleWidth() - 48;
    for (const auto &item : items)
        EXPECT_LE(item.pos.x() + preview.TextWidth(item.text.trimmed()), limit + 1e-6);
    // Every word survives the wrapping, in order.
    QString joined;
    for (int i = 1; i < items.size(); ++i)
        joined += items[i].text;
    EXPECT_EQ(joined.mid(2), longLine.trimmed());
}

TEST(PreviewEngine, PagesAreExactWithHeaderAndFooterOnEach)
{
    CPrintPreview preview(A4(10));
    CPrinter settings;
    settings.SetHeaderText(QStringLiteral("$L$f$R$p of $P"));
    preview.ApplySettings(settings);
    preview.PrintText(Lines(300), false);

    const double lineHeight = preview.TextHeight(QStringLiteral("Xy"));
    const int perPage = static_cast<int>((preview.ScaleHeight() - 77 - 77 + 1e-9) / lineHeight);
    const int pages = (300 + perPage - 1) / perPage;
    ASSERT_EQ(preview.PageCount(), pages);
    EXPECT_EQ(preview.TotalPages(), pages);
    for (int page = 0; page < pages; ++page) {
        const auto &items = preview.PageItems(page);
        ASSERT_GE(items.size(), 4);
        EXPECT_EQ(items[0].text, "Untitled");
        EXPECT_EQ(items[1].text, QStringLiteral("%1 of %2").arg(page + 1).arg(pages));
        EXPECT_EQ(items.last().text, QStringLiteral("Page: %1").arg(page + 1));
        EXPECT_EQ(items[2].text, QStringLiteral("line%1").arg(page * perPage + 1));
        EXPECT_DOUBLE_EQ(items[2].pos.y(), 77);
    }
    EXPECT_TRUE(preview.PageItems(pages).isEmpty());
}

TEST(PreviewEngine, PrintAtWithoutWrapStopsAtTheFirstWordThatDoesNotFit)
{
    CPrintPreview preview(A4());
    preview.SetMargins(48, 48, 77, 77, -1, -1);
    QString text;
    for (int i = 0; i < 60; ++i)
        text += QStringLiteral("abcd ");
    preview.PrintAt(text, 48, 100, false);
    const auto &items = preview.PageItems(0);
    ASSERT_EQ(items.size(), 1);
    EXPECT_LT(items[0].text.size(), text.size());
    EXPECT_DOUBLE_EQ(items[0].pos.y(), 100);
    // Header and footer margins below 0 are ignored.
    EXPECT_DOUBLE_EQ(preview.MarginHeader(), 38);
    preview.SetMargins(1, 2, 3, 4, 0, 6);
    EXPECT_DOUBLE_EQ(preview.MarginHeader(), 0);
    EXPECT_DOUBLE_EQ(preview.MarginFooter(), 6);
}

TEST(PreviewEngine, PageImagesHaveTheSheetSizeAndShowTheText)
{
    CPrintPreview preview(A4(10));
    preview.PrintText(Lines(5), false);
    const QImage half = preview.RenderPage(0, 0.5);
    const QSizeF sheet = preview.SheetSizePixels();
    EXPECT_NEAR(sheet.width(), 210 / 25.4 * 96, 0.5);
    EXPECT_EQ(half.width(), qRound(sheet.width() * 0.5));
    EXPECT_EQ(half.height(), qRound(sheet.height() * 0.5));

    // Ink inside the first text line, none in the margin above it.
    const QImage full = preview.RenderPage(0, 1.0);
    const QPointF origin = preview.PrintableOffsetPixels() + QPointF(48, 77);
    auto inkIn = [&full](const QRect &rect) {
        int dark = 0;
        for (int y = rect.top(); y <= rect.bottom(); ++y)
            for (int x = rect.left(); x <= rect.right(); ++x)
                dark += qGray(full.pixel(x, y)) < 128 ? 1 : 0;
        return dark;
    };
    const int lineHeight = qRound(preview.TextHeight(QStringLiteral("Xy")));
    EXPECT_GT(inkIn(QRect(origin.toPoint(), QSize(40, lineHeight))), 10);
    EXPECT_EQ(inkIn(QRect(origin.toPoint() - QPoint(0, 30), QSize(200, 25))), 0);
}
