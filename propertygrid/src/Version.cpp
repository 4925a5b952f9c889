#include "fieldpane/Version.h"

const char *Fieldpane::version()
{
    return FIELDPANE_VERSION_STRING;
}
