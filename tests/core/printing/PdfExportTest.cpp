#include "core/printing/PdfExport.h"
#include "core/printing/CPrinter.h"
#include "support/PdfText.h"

#include <QStandardPaths>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(PdfExport, PrintsLinesNumbersHeaderAndFooter)
{
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())
        GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
    QTemporaryDir dir;
    QStringList lines;
    for (int i = 1; i <= 150; ++i)
        lines.append(QStringLiteral("<msgbox text=\"step %1\" />").arg(i));
    CPrinter printer;
    printer.SetLineNumbers(true);
    printer.SetHeaderText(QStringLiteral("$L$f$R$p/$P"));
    printer.SetDocumentPath(dir.filePath(QStringLiteral("demo.zml")));
    const QString pdf = dir.filePath(QStringLiteral("out.pdf"));
    QString error;
    ASSERT_TRUE(ExportPdf(lines.join(QStringLiteral("\r\n")), printer, pdf, &error))
        << error.toStdString();

    const QString text = PdfText(pdf, true);
    const QStringList pages = text.split(u'\f', Qt::SkipEmptyParts);
    ASSERT_GE(pages.size(), 2);
    EXPECT_EQ(pages.size(), printer.PageNumber());
    EXPECT_TRUE(text.contains(QStringLiteral("001: <msgbox text=\"step 1\" />")));
    EXPECT_TRUE(text.contains(QStringLiteral("150: <msgbox text=\"step 150\" />")));
    for (int page = 1; page <= printer.PageNumber(); ++page) {
        const QString onPage = pages.at(page - 1);
        EXPECT_TRUE(onPage.contains(QStringLiteral("Page: %1").arg(page)));
        EXPECT_TRUE(onPage.contains(QStringLiteral("demo.zml")));
        EXPECT_TRUE(onPage.contains(QStringLiteral("%1/%2").arg(page).arg(printer.TotalPages())));
        // The header is the first line of the page, the footer the last.
        const QStringList rows = onPage.trimmed().split(u'\n');
        EXPECT_TRUE(rows.first().contains(QStringLiteral("demo.zml")));
        EXPECT_TRUE(rows.last().contains(QStringLiteral("Page: %1").arg(page)));
    }
}

TEST(PdfExport, UnwritableFileIsReported)
{
    CPrinter printer;
    QString error;
    EXPECT_FALSE(ExportPdf(QStringLiteral("x"), printer,
                           QStringLiteral("/nonexistent-folder/out.pdf"), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("/nonexistent-folder/out.pdf")));
}
