// Catalogue source reader: any bytes are read or refused without a fault; a catalogue that was
// read without errors is written and read back unchanged, and compiles to a catalogue file that
// reads back the same.
#include "FuzzCheck.h"

#include "CatalogueCbor.h"
#include "CatalogueJson.h"

#include <cstddef>
#include <cstdint>

using namespace stepsmith::catalogue;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const JsonReadResult first = readJson(bytes);
    if (!first.ok())
        return 0;
    const JsonReadResult second = readJson(writeJson(first.catalogue));
    FUZZ_CHECK(second.ok());
    FUZZ_CHECK(second.catalogue == first.catalogue);
    const CborReadResult compiled = fromCbor(toCbor(first.catalogue));
    FUZZ_CHECK(compiled.ok());
    FUZZ_CHECK(compiled.catalogue == first.catalogue);
    return 0;
}
