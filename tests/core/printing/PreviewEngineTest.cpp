#include "core/printing/CPrintPreview.h"
#include "core/printing/CPrinter.h"

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

TEST(PreviewEngine, LaysOutAsPrintingDoes)
{
    CPrintPreview preview(A4());
    CPrinter settings;
    settings.SetHeaderText(QString());
    settings.SetFooterText(QString());
    preview.ApplySettings(settings);
    QString longLine;
    for (int i = 0; i < 40; ++i)
        longLine += QStringLiteral("word%1 ").arg(i);
    const QString url =
        QStringLiteral("<web>http://example.com/") + QString(300, u'x') + QStringLiteral("</web>");
    preview.PrintText(
        QStringLiteral("short\r\n") + longLine.trimmed() + QStringLiteral("\r\n") + url, true);

    const auto &items = preview.PageItems(0);
    ASSERT_GE(items.size(), 6);
    // The number and its colon stand at the margin, the text one blank after the colon, as on
    // paper; continuation lines start where the text does.
    const double textEdge = 48 + preview.TextWidth(QStringLiteral("0: "));
    EXPECT_EQ(items[0].text, "1:");
    EXPECT_DOUBLE_EQ(items[0].pos.x(), 48);
    EXPECT_DOUBLE_EQ(items[0].pos.y(), 77);
    EXPECT_EQ(items[1].text, "short ");
    EXPECT_DOUBLE_EQ(items[1].pos.x(), textEdge);
    EXPECT_DOUBLE_EQ(items[1].pos.y(), 77);
    EXPECT_EQ(items[2].text, "2:");
    EXPECT_TRUE(items[3].text.startsWith(QStringLiteral("word0 ")));
    EXPECT_DOUBLE_EQ(items[4].pos.x(), textEdge);
    EXPECT_GT(items[4].pos.y(), items[3].pos.y());
    // No device line runs past the right limit except by its final blank: the long word is
    // broken at the margin too.
    const double limit = preview.ScaleWidth() - 48;
    QString joined;
    for (const auto &item : items) {
        EXPECT_LE(item.pos.x() + preview.TextWidth(item.text.trimmed()), limit + 1e-6)
            << item.text.toStdString();
        if (!item.text.endsWith(u':'))
            joined += item.text;
    }
    // Every character survives, in order.
    EXPECT_EQ(joined, QStringLiteral("short ") + longLine.trimmed() + u' ' + url + u' ');
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
        EXPECT_EQ(items[2].text, QStringLiteral("line%1 ").arg(page * perPage + 1));
        EXPECT_DOUBLE_EQ(items[2].pos.y(), 77);
    }
    EXPECT_TRUE(preview.PageItems(pages).isEmpty());
}

TEST(PreviewEngine, HeaderAndFooterMarginsBelowZeroAreIgnored)
{
    CPrintPreview preview(A4());
    preview.SetMargins(48, 48, 77, 77, -1, -1);
    EXPECT_DOUBLE_EQ(preview.MarginHeader(), 38);
    preview.SetMargins(1, 2, 3, 4, 0, 6);
    EXPECT_DOUBLE_EQ(preview.MarginHeader(), 0);
    EXPECT_DOUBLE_EQ(preview.MarginFooter(), 6);
}

TEST(PreviewEngine, PageImagesHaveTheSheetSizeAndShowTheText)
{
    CPrintPreview preview(A4(10));
    preview.SetHeaderText(QString());
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
