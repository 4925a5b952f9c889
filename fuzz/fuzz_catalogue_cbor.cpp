// Compiled catalogue reader: any bytes are read or refused without a fault, and a catalogue that
// was read is written and read back unchanged.
#include "FuzzCheck.h"

#include "CatalogueCbor.h"

#include <cstddef>
#include <cstdint>

using namespace stepsmith::catalogue;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char *>(data), static_cast<qsizetype>(size));
    const CborReadResult first = fromCbor(bytes);
    if (!first.ok())
        return 0;
    const CborReadResult second = fromCbor(toCbor(first.catalogue));
    FUZZ_CHECK(second.ok());
    FUZZ_CHECK(second.catalogue == first.catalogue);
    return 0;
}
