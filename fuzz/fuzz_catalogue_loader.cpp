// Catalogue loader: any Actions.dat loads or leaves the catalogue empty, without a fault; every
// loaded action has a unique name and attributes with unique names.
#include "FuzzCheck.h"
#include "FuzzSupport.h"

#include "document/CElement.h"

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
    }
    return 0;
}
