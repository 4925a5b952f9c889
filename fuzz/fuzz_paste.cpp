// Paste path: any clipboard text, wrapped as the editor wraps it, inserts steps or nothing,
// without a fault, at the start, the middle or the end of a script.
#include "FuzzCheck.h"
#include "FuzzSupport.h"

#include "document/XmlTree.h"
#include "document/ZmlReader.h"
#include "document/ZmlWriter.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FuzzSupport support;
    if (size == 0)
        return 0;
    // The first byte picks the paste position; the rest is the clipboard text.
    const int choice = data[0] % 4;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    CDocument &doc = support.document();
    const QString existing = QStringLiteral(
        "<zmlclip><var name=\"a\" value=\"1\" /><if condition=\"x\"><msgbox>hi</msgbox></if>"
        "<!-- note --></zmlclip>");
    const int before = InsertXmlFragment(doc, existing, -1);
    FUZZ_CHECK(before == doc.RowCount());
    const int position = choice == 3 ? -1 : choice * before / 2;
    const QString wrapped =
        QStringLiteral("<zmlclip>\r\n") + text + QStringLiteral("\r\n</zmlclip>");
    const int inserted = InsertXmlFragment(doc, wrapped, position);
    FUZZ_CHECK(inserted >= 0);
    FUZZ_CHECK(doc.RowCount() == before + inserted);
    for (int row = 0; row < doc.RowCount(); ++row)
        FUZZ_CHECK(doc.Step(row) != nullptr);
    // The save check runs on whatever was pasted.
    (void)CheckBlocks(BuildDocumentText(doc));
    return 0;
}
