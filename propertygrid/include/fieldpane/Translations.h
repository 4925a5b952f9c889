#pragma once

#include <fieldpane/fieldpane_export.h>

#include <QLocale>

class QTranslator;

namespace Fieldpane {

/// Loads the library's translation for `locale` (its first UI language that has one) into
/// `translator`, which the host installs with QCoreApplication::installTranslator. The
/// translations are compiled into the library. False when there is none for the locale:
/// English, the library's own language, needs none.
FIELDPANE_EXPORT bool LoadTranslation(QTranslator &translator, const QLocale &locale = QLocale());

} // namespace Fieldpane
