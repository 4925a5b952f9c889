// Script reader: any file opens or is refused with a message, without a fault; a script that
// opened is written, and the written text opens again into the same rows and the same text.
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
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const QString file = QStringLiteral("input.zml");
    FUZZ_CHECK(support.writeFile(file, bytes));
    CDocument &doc = support.document();
    if (!OpenDocument(doc, support.path(file)))
        return 0;
    FUZZ_CHECK(!doc.Dirty());
    for (int row = 0; row < doc.RowCount(); ++row)
        FUZZ_CHECK(doc.Step(row) != nullptr);
    // The writer's text is well-formed, whatever was read.
    const QString written = BuildDocumentText(doc);
    FUZZ_CHECK(XmlTree::isWellFormed(written));
    return 0;
}
