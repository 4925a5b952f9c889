#pragma once

#if defined(FIELDPANE_BUILDING)
#define FIELDPANE_EXPORT __attribute__((visibility("default")))
#else
#define FIELDPANE_EXPORT
#endif

namespace Fieldpane {
FIELDPANE_EXPORT const char *version();
}
