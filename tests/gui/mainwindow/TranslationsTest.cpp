#include "support/WindowFixture.h"

#include "gui/mainwindow/AppTranslations.h"

#include <QCoreApplication>
#include <QMenu>
#include <QMenuBar>
#include <QSet>

#include <gtest/gtest.h>

namespace {

using TranslationsTest = WindowTest;

QStringList menuTitles(frmEdit &w)
{
    QStringList titles;
    for (QAction *a : w.menuBar()->actions())
        titles.append(a->text());
    return titles;
}

// The accelerator letters of a menu's items, lower-cased; duplicates stay in the list.
QStringList accelerators(const QMenu *menu)
{
    QStringList keys;
    for (const QAction *a : menu->actions()) {
        const QString text = a->text().section(QLatin1Char('\t'), 0, 0);
        for (qsizetype i = text.indexOf(QLatin1Char('&')); i >= 0 && i + 1 < text.size();
             i = text.indexOf(QLatin1Char('&'), i + 2)) {
            if (text[i + 1] != QLatin1Char('&')) {
                keys.append(text.mid(i + 1, 1).toLower());
                break;
            }
        }
    }
    return keys;
}

TEST_F(TranslationsTest, EnglishLoadsNoCatalogueOfItsOwnAndKeepsTheSourceTexts)
{
    const AppTranslations translations(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_FALSE(translations.Loaded().contains(QStringLiteral("stepsmith")));
    EXPECT_FALSE(translations.Loaded().contains(QStringLiteral("fieldpane")));
    frmEdit &w = open();
    EXPECT_EQ(menuTitles(w), QStringList({QStringLiteral("&File"), QStringLiteral("&Edit"),
                                          QStringLiteral("&View"), QStringLiteral("&Help")}));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("[Untitled] - Tessaro AddIn Editor"));
}

TEST_F(TranslationsTest, GermanShowsGermanMenusWithUniqueAcceleratorsAndLoadsEveryCatalogue)
{
    const AppTranslations translations(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(translations.Loaded(),
              QStringList({QStringLiteral("qtbase"), QStringLiteral("fieldpane"),
                           QStringLiteral("stepsmith")}));
    frmEdit &w = open();
    ASSERT_TRUE(m_loaded);
    EXPECT_EQ(menuTitles(w), QStringList({QStringLiteral("&Datei"), QStringLiteral("&Bearbeiten"),
                                          QStringLiteral("&Ansicht"), QStringLiteral("&Hilfe")}));
    EXPECT_EQ(w.action(Command::FileSaveAs)->text(), QStringLiteral("Speichern &unter..."));
    EXPECT_EQ(w.windowTitle(), QStringLiteral("[Unbenannt] - Tessaro AddIn Editor"));
    for (QAction *title : w.menuBar()->actions()) {
        const QStringList keys = accelerators(title->menu());
        EXPECT_EQ(QSet<QString>(keys.begin(), keys.end()).size(), keys.size())
            << title->text().toStdString() << ": " << keys.join(u' ').toStdString();
    }
    // Fieldpane's texts and Qt's own.
    EXPECT_EQ(QCoreApplication::translate("Fieldpane::PropertyList", "%1, Bold"),
              QStringLiteral("%1, Fett"));
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
}

TEST_F(TranslationsTest, RemovingTheTranslationsRestoresEnglish)
{
    {
        const AppTranslations translations(QLocale(QLocale::German, QLocale::Germany));
        EXPECT_EQ(QCoreApplication::translate("frmEdit", "&File"), QStringLiteral("&Datei"));
    }
    EXPECT_EQ(QCoreApplication::translate("frmEdit", "&File"), QStringLiteral("&File"));
}

} // namespace
