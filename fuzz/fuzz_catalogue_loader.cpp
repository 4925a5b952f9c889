// Catalogue loader: any Actions.dat loads or leaves the catalogue empty, without a fault; every
// loaded action has a unique name and attributes with unique names, all of which a script can
// hold.
#include "FuzzCheck.h"
#include "FuzzSupport.h"

#include "core/document/CElement.h"
#include "core/zml/XmlEventParser.h"

#include <QSet>

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FuzzSupport support;
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    FUZZ_CHECK(support.writeFile(QStringLiteral("fuzzed.dat"), bytes));
    CElements catalogue;
    catalogue.LoadFile(support.path(QStringLiteral("fuzzed.dat")));
    QSet<QString> names;
    for (int i = 1; i <= catalogue.Count(); ++i) {
        const auto element = catalogue.Item(i);
        FUZZ_CHECK(element != nullptr);
        FUZZ_CHECK(!names.contains(element->ElementName.toCaseFolded()));
        names.insert(element->ElementName.toCaseFolded());
        FUZZ_CHECK(IsXmlElementName(element->ElementName));
        for (int j = 0; j < element->Attributes().Count(); ++j)
            FUZZ_CHECK(IsXmlAttributeName(element->Attributes().DefinitionAt(j).AttributeName));
    }
    return 0;
}
