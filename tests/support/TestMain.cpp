// Test entry point: every test binary gets its own settings folder, so no test reads or writes
// the real user's settings, and an application object of the kind its library needs:
// QCoreApplication for the core (QGuiApplication where text is measured), QApplication with
// offscreen widgets for the windows.
#include <QStandardPaths>
#include <QTemporaryDir>

#if STEPSMITH_TEST_APPLICATION == 2
#include <QApplication>
using TestApplication = QApplication;
#elif STEPSMITH_TEST_APPLICATION == 1
#include <QGuiApplication>
using TestApplication = QGuiApplication;
#else
#include <QCoreApplication>
using TestApplication = QCoreApplication;
#endif

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QTemporaryDir settingsDir;
    qputenv("XDG_CONFIG_HOME", settingsDir.path().toLocal8Bit());
    QStandardPaths::setTestModeEnabled(true);
    TestApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
