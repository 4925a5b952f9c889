#pragma once

#include <fieldpane/fieldpane_export.h>

#include <QObject>

namespace Fieldpane {
Q_NAMESPACE_EXPORT(FIELDPANE_EXPORT)

/// How a row's value is validated and edited. The numbers are part of the interface: hosts
/// may pass them as plain numbers.
enum eValueTypes : int {
    hlvString = 1,          ///< free text, optionally checked against a wildcard pattern
    hlvTextArea = 2,        ///< multi-line text (CR LF between lines)
    hlvFilePath = 3,        ///< a file path, chosen in the open-file dialog
    hlvBrowseForFolder = 4, ///< a folder path, chosen in the folder browser
    hlvInteger = 5,         ///< a 32-bit signed whole number
    hlvBoolean = 6,         ///< the text "true" or "false"
    hlvArray = 7,           ///< one value out of ValidValues
    hlvVariable = 8,        ///< free text with suggestions from ValidValues
    // 9 stays free: hosts number their own "range name" type 9 next to these.
    hlvColor = 10, ///< a QColor, chosen in the colour dialog or typed as "#rrggbb" or a name
    hlvFont = 11,  ///< a QFont, chosen in the font dialog
};
Q_ENUM_NS(eValueTypes)

} // namespace Fieldpane
