#include <QApplication>
#include <QMainWindow>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Stepsmith"));
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("[Untitled] - Tessaro AddIn Editor"));
    window.resize(800, 600);
    window.show();
    return QApplication::exec();
}
