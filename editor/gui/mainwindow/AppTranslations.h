#pragma once

#include <QLocale>
#include <QStringList>

#include <memory>
#include <vector>

class QTranslator;

// The translations of the running program for one locale: Qt's own (qtbase, from Qt's
// translations folder), Fieldpane's and the program's (both compiled in). Installed while the
// object lives; English, the program's own language, loads none of the last two.
class AppTranslations final {
public:
    explicit AppTranslations(const QLocale &locale = QLocale());
    ~AppTranslations();
    AppTranslations(const AppTranslations &) = delete;
    AppTranslations &operator=(const AppTranslations &) = delete;

    // The catalogues installed: "qtbase", "fieldpane", "stepsmith".
    QStringList Loaded() const { return m_loaded; }

private:
    std::vector<std::unique_ptr<QTranslator>> m_translators;
    QStringList m_loaded;
};
