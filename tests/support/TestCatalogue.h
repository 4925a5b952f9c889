#pragma once

#include "core/document/CElements.h"

// A small catalogue of the kind the loader builds: var, range, if, else, endif, loop, endloop
// and saytext (title attribute and text content).
inline void FillTestCatalogue(CElements &catalogue)
{
    auto var = catalogue.Add("var", "Declare a variable");
    (void)var->Attributes().Add("name", 8, {}, {}, true, {}, "Name");
    (void)var->Attributes().Add("value", 1, {}, {}, false, {}, "Value");
    auto range = catalogue.Add("range", "Declare a range");
    (void)range->Attributes().Add("name", 9, {}, {}, true, {}, "Name");
    auto cond = catalogue.Add("if", "If");
    (void)cond->Attributes().Add("cond", 1, {}, {}, true, {}, "Condition");
    (void)catalogue.Add("else", "Else");
    (void)catalogue.Add("endif", "End If");
    auto loop = catalogue.Add("loop", "Loop");
    (void)loop->Attributes().Add("count", 5, {}, {}, true, 1, "Count");
    (void)catalogue.Add("endloop", "End Loop");
    auto say = catalogue.Add("saytext", "Say text", true, "Text to say");
    (void)say->Attributes().Add("title", 1, {}, {}, false, {}, "Title");
}
