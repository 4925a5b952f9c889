// stepsmith-catalogue: compiles the readable catalogue source into Actions.dat, dumps a compiled
// catalogue back to JSON and generates the help page.

#include "CatalogueCbor.h"
#include "CatalogueHelp.h"
#include "CatalogueJson.h"

#include <QCoreApplication>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

using namespace stepsmith::catalogue;

namespace {

// Source files and outputs larger than this are refused rather than read into memory.
constexpr qint64 kMaxInputSize = 64 * 1024 * 1024;

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

void usage()
{
    err() << "usage:\n"
             "  stepsmith-catalogue compile IN.json OUT.dat\n"
             "  stepsmith-catalogue dump IN.dat [OUT.json]\n"
             "  stepsmith-catalogue help-html IN.json INTRO.html OUT.html\n";
    err().flush();
}

bool readFile(const QString &path, QByteArray &data)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        err() << path << ": cannot open: " << file.errorString() << '\n';
        return false;
    }
    if (file.size() > kMaxInputSize) {
        err() << path << ": file is too large\n";
        return false;
    }
    data = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        err() << path << ": cannot read: " << file.errorString() << '\n';
        return false;
    }
    return true;
}

bool writeFile(const QString &path, const QByteArray &data)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        err() << path << ": cannot write: " << file.errorString() << '\n';
        return false;
    }
    return true;
}

bool readSource(const QString &path, Catalogue &catalogue)
{
    QByteArray data;
    if (!readFile(path, data))
        return false;
    const JsonReadResult result = readJson(data);
    for (const QString &message : result.errors)
        err() << path << ": " << message << '\n';
    if (!result.ok())
        return false;
    for (const QString &message : editorWarnings(result.catalogue))
        err() << path << ": warning: " << message << '\n';
    catalogue = result.catalogue;
    return true;
}

int compile(const QStringList &args)
{
    Catalogue catalogue;
    if (!readSource(args.at(0), catalogue))
        return 1;
    return writeFile(args.at(1), toCbor(catalogue)) ? 0 : 1;
}

int dump(const QStringList &args)
{
    QByteArray data;
    if (!readFile(args.at(0), data))
        return 1;
    const CborReadResult result = fromCbor(data);
    for (const QString &message : result.errors)
        err() << args.at(0) << ": " << message << '\n';
    if (!result.ok())
        return 1;
    const QByteArray json = writeJson(result.catalogue);
    if (args.size() < 2) {
        std::fwrite(json.constData(), 1, static_cast<size_t>(json.size()), stdout);
        return std::fflush(stdout) == 0 ? 0 : 1;
    }
    return writeFile(args.at(1), json) ? 0 : 1;
}

int helpPage(const QStringList &args)
{
    Catalogue catalogue;
    if (!readSource(args.at(0), catalogue))
        return 1;
    QByteArray intro;
    if (!readFile(args.at(1), intro))
        return 1;
    return writeFile(args.at(2), helpHtml(catalogue, QString::fromUtf8(intro)).toUtf8()) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    const QString command = args.isEmpty() ? QString() : args.takeFirst();
    int status = 2;
    if (command == QLatin1String("compile") && args.size() == 2)
        status = compile(args);
    else if (command == QLatin1String("dump") && (args.size() == 1 || args.size() == 2))
        status = dump(args);
    else if (command == QLatin1String("help-html") && args.size() == 3)
        status = helpPage(args);
    else
        usage();
    err().flush();
    return status;
}
