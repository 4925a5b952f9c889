#include "core/zml/RegularFile.h"

#include <QFile>
#include <QFileInfo>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

FileOpen OpenRegularFile(QFile &file, const QString &path)
{
#ifdef Q_OS_UNIX
    const QByteArray native = QFile::encodeName(path);
    struct stat info {};
    if (::stat(native.constData(), &info) != 0)
        return errno == ENOENT || errno == ENOTDIR ? FileOpen::Missing : FileOpen::Unreadable;
    if (S_ISDIR(info.st_mode))
        return FileOpen::Unreadable;
    if (!S_ISREG(info.st_mode))
        return FileOpen::Special;
    // Not blocking, and checked again on the open file: the name may have changed meanwhile.
    const int fd = ::open(native.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? FileOpen::Missing : FileOpen::Unreadable;
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        ::close(fd);
        return S_ISDIR(info.st_mode) ? FileOpen::Unreadable : FileOpen::Special;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        ::close(fd);
        return FileOpen::Unreadable;
    }
    return FileOpen::Opened;
#else
    const QFileInfo info(path);
    if (!info.exists())
        return FileOpen::Missing;
    if (info.isDir())
        return FileOpen::Unreadable;
    if (!info.isFile())
        return FileOpen::Special;
    file.setFileName(path);
    return file.open(QIODevice::ReadOnly) ? FileOpen::Opened : FileOpen::Unreadable;
#endif
}

bool IsSpecialFile(const QString &path)
{
    const QFileInfo info(path);
    return info.exists() && !info.isFile() && !info.isDir();
}
