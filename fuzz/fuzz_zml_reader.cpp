// Script reader: any file opens or is refused with a message, without a fault (read as a script
// and as a recovery file); read in pieces at once, it gives what it gives read as one text; a
// script that passes the save check keeps its bytes from the first save on.
#include "FuzzCheck.h"
#include "FuzzSupport.h"

#include "core/zml/XmlTree.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include <QStringList>

#include <cstddef>
#include <cstdint>

namespace {

// Each row of doc: its depth, its text and its step's values.
QStringList rowsOf(const CDocument &doc)
{
    QStringList rows;
    for (int row = 0; row < doc.RowCount(); ++row) {
        const StepView step = doc.View(row);
        QString line = QString::number(doc.Rows()->depth(row)) + QLatin1Char(' ') +
                       doc.Rows()->rowText(row) + QLatin1Char('|') + step.Text();
        for (int i = 0; i < step.AttributeCount(); ++i)
            line += QLatin1Char('|') + step.ValueAt(i);
        rows << line;
    }
    return rows;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FuzzSupport support;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString file = QStringLiteral("input.zml");
    FUZZ_CHECK(support.writeFile(file, bytes));
    CDocument &doc = support.document();
    // The lenient read of recovery files takes any file too, and gives whole steps.
    if (OpenRecoveredDocument(doc, support.path(file))) {
        for (int row = 0; row < doc.RowCount(); ++row)
            FUZZ_CHECK(doc.Step(row) != nullptr);
    }
    const OpenResult whole = OpenDocument(doc, support.path(file));
    SetOpenPieces(3, 1);
    CDocument &split = support.otherDocument();
    const OpenResult pieces = OpenDocument(split, support.path(file));
    SetOpenPieces(0, 0);
    // (A file refused leaves each document as it was.)
    FUZZ_CHECK(pieces.status == whole.status && pieces.place == whole.place &&
               pieces.rowPlaces == whole.rowPlaces && (!whole || rowsOf(split) == rowsOf(doc)));
    if (!whole)
        return 0;
    FUZZ_CHECK(!doc.Dirty());
    for (int row = 0; row < doc.RowCount(); ++row)
        FUZZ_CHECK(doc.Step(row) != nullptr);
    // A script that passes the save check is saved, and from the first save on, opening and
    // saving again keeps the same bytes.
    if (CheckBlocks(BuildDocumentText(doc)) != BlockCheckResult::Ok)
        return 0;
    const QString first = support.path(QStringLiteral("first.zml"));
    const QString second = support.path(QStringLiteral("second.zml"));
    FUZZ_CHECK(SaveDocument(doc, first, false));
    FUZZ_CHECK(OpenDocument(doc, first));
    FUZZ_CHECK(SaveDocument(doc, second, false));
    FUZZ_CHECK(OpenDocument(doc, second));
    FUZZ_CHECK(SaveDocument(doc, first, false));
    QFile a(first);
    QFile b(second);
    FUZZ_CHECK(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
    FUZZ_CHECK(a.readAll() == b.readAll());
    return 0;
}
