#include "PropertyListAccessible.h"
