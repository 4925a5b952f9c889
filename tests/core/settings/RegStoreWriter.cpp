// Test helper: writes <count> DWORD values named <prefix><i> to HKEY_CURRENT_USER
// "Software\Race" in the file store of <folder>, one write at a time.
#include "core/settings/RegFileStore.h"

#include <QCoreApplication>
#include <QStringList>
#include <QtEndian>

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 4)
        return 2;
    RegFileStore store(args.at(1));
    const int count = args.at(3).toInt();
    for (int i = 0; i < count; ++i) {
        RegValue value{RegDword, QByteArray(4, '\0')};
        qToLittleEndian<qint32>(i, value.data.data());
        if (!store.writeValue(kHKeyCurrentUser, QStringLiteral("Software\\Race"),
                              args.at(2) + QString::number(i), value))
            return 1;
    }
    return 0;
}
