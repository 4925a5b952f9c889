#include "printing/PdfExport.h"

#include "printing/CPainterDevice.h"
#include "printing/CPrinter.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPdfWriter>

QPageLayout DefaultPdfPageLayout()
{
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(10, 10, 10, 10), QPageLayout::Point);
}

bool ExportPdf(const QString &text, CPrinter &printer, const QString &pdfPath,
               QString *errorMessage)
{
    QPdfWriter writer(pdfPath);
    writer.setResolution(kPdfResolution);
    writer.setPageLayout(DefaultPdfPageLayout());
    writer.setCreator(QCoreApplication::applicationName());
    writer.setTitle(QFileInfo(pdfPath).completeBaseName());
    CPainterDevice device(writer);
    if (!device.IsActive()) {
        if (errorMessage)
            *errorMessage = QStringLiteral("Can't write the file\r\n'%1'").arg(pdfPath);
        return false;
    }
    printer.PrintText(text, device);
    return true;
}
