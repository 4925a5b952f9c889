// Quick block check: a document built from the input (rows of the bundled catalogue's actions,
// blocks, disabled steps, comments, values and names made of troublesome pieces) that the
// quick check passes must pass the check of its text, as UTF-8 and as a string.
#include "FuzzCheck.h"
#include "FuzzSupport.h"

#include "core/zml/QuickBlockCheck.h"
#include "core/zml/ZmlWriter.h"
#include "support/RandomScript.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FuzzSupport support;
    CDocument &doc = support.document();
    doc.Header() = CHeader();
    RandomScript(data, size).build(doc);
    if (QuickBlockCheck(doc) == QuickCheck::Ok) {
        FUZZ_CHECK(CheckBlocksUtf8(BuildDocumentUtf8(doc)) == BlockCheckResult::Ok);
        FUZZ_CHECK(CheckBlocks(BuildDocumentText(doc)) == BlockCheckResult::Ok);
    }
    return 0;
}
