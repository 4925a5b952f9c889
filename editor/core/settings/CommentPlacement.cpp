#include "core/settings/CommentPlacement.h"

#include "core/settings/CRegistry.h"
#include "core/settings/CRegistryError.h"
#include "core/settings/RegValue.h"
#include "core/settings/SettingsKeys.h"

namespace {

CRegistry placementValue()
{
    CRegistry reg;
    reg.SectionKey = SettingsKeys::ProgramKey(QStringLiteral("Comment"));
    reg.ValueKey = QStringLiteral("InsertBefore");
    return reg;
}

} // namespace

bool ReadCommentBefore()
{
    CRegistry reg = placementValue();
    reg.ValueType = RegNone;
    const QVariant v = reg.Value();
    return v.isValid() && reg.ValueType == RegDword && v.toInt() != 0;
}

void SaveCommentBefore(bool before)
{
    CRegistry reg = placementValue();
    try {
        reg.CreateKey();
        reg.ValueType = RegDword;
        reg.setValue(before ? 1 : 0);
    } catch (const CRegistryError &) {
        // The choice is only a convenience: it stays as it was.
    }
}
