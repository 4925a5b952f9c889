#pragma once

#include <QString>

class QFile;

// Files that the program reads or replaces must be regular files: reading a FIFO or a device
// could block for ever or never end, and saving over one would replace it with a file. Folders
// fail to open and to be replaced on their own.

// Special: a device, FIFO or socket.
enum class FileOpen { Opened, Missing, Special, Unreadable };

// Opens path for reading when it names a regular file (through symbolic links); never blocks on
// a FIFO and never opens a device. A folder is Unreadable.
FileOpen OpenRegularFile(QFile &file, const QString &path);

// True when a device, FIFO or socket exists at path (through symbolic links): a save must not
// replace it.
bool IsSpecialFile(const QString &path);
