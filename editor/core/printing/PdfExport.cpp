#include "core/printing/PdfExport.h"

#include "core/printing/CPainterDevice.h"
#include "core/printing/CPrinter.h"
#include "core/zml/RegularFile.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPdfWriter>
#include <QSaveFile>

QPageLayout DefaultPdfPageLayout()
{
    const bool letter = QLocale().measurementSystem() == QLocale::ImperialUSSystem;
    return QPageLayout(QPageSize(letter ? QPageSize::Letter : QPageSize::A4), QPageLayout::Portrait,
                       QMarginsF(10, 10, 10, 10), QPageLayout::Point);
}

bool ExportPdf(const QString &text, CPrinter &printer, const QString &pdfPath,
               QString *errorMessage)
{
    // A device or pipe would be replaced by the file.
    if (IsSpecialFile(pdfPath)) {
        if (errorMessage)
            *errorMessage = QStringLiteral("This is a device or a pipe, not a file: it was left "
                                           "as it is\r\n'%1'")
                                .arg(pdfPath);
        return false;
    }
    // Written beside the target and renamed over it when complete: a failed export leaves an
    // existing file as it was.
    QSaveFile file(pdfPath);
    bool written = file.open(QIODevice::WriteOnly);
    if (written) {
        QPdfWriter writer(&file);
        writer.setResolution(kPdfResolution);
        writer.setPageLayout(DefaultPdfPageLayout());
        writer.setCreator(QCoreApplication::applicationName());
        writer.setTitle(QFileInfo(pdfPath).completeBaseName());
        CPainterDevice device(writer);
        written = device.IsActive();
        if (written)
            printer.PrintText(text, device);
    }
    written = written && file.commit();
    if (!written && errorMessage)
        *errorMessage = QStringLiteral("Can't write the file\r\n'%1'").arg(pdfPath);
    return written;
}
