#include "fieldpane/Translations.h"

#include <QTranslator>

namespace Fieldpane {

bool LoadTranslation(QTranslator &translator, const QLocale &locale)
{
    return translator.load(locale, QStringLiteral("fieldpane"), QStringLiteral("_"),
                           QStringLiteral(":/i18n"));
}

} // namespace Fieldpane
