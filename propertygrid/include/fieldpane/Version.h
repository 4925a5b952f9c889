#pragma once

#include <fieldpane/fieldpane_export.h>

#define FIELDPANE_VERSION_MAJOR 1
#define FIELDPANE_VERSION_MINOR 0
#define FIELDPANE_VERSION_STRING "1.00"

namespace Fieldpane {
/// The library's version as the running program sees it ("1.00").
FIELDPANE_EXPORT const char *version();
} // namespace Fieldpane
