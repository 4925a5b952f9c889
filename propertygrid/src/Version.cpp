#include "fieldpane/Version.h"

const char *Fieldpane::version()
{
    return "1.00";
}
