#include "gui/mainwindow/AppTranslations.h"

#include <fieldpane/Translations.h>

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

AppTranslations::AppTranslations(const QLocale &locale)
{
    const QString separator = QStringLiteral("_");
    const auto install = [this](std::unique_ptr<QTranslator> translator, const char *name) {
        QCoreApplication::installTranslator(translator.get());
        m_translators.push_back(std::move(translator));
        m_loaded.append(QString::fromLatin1(name));
    };
    auto qt = std::make_unique<QTranslator>();
    if (qt->load(locale, QStringLiteral("qtbase"), separator,
                 QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        install(std::move(qt), "qtbase");
    auto fieldpane = std::make_unique<QTranslator>();
    if (Fieldpane::LoadTranslation(*fieldpane, locale))
        install(std::move(fieldpane), "fieldpane");
    auto program = std::make_unique<QTranslator>();
    if (program->load(locale, QStringLiteral("stepsmith"), separator, QStringLiteral(":/i18n")))
        install(std::move(program), "stepsmith");
}

AppTranslations::~AppTranslations()
{
    for (const auto &translator : m_translators)
        QCoreApplication::removeTranslator(translator.get());
}
