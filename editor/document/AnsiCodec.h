#pragma once

#include <QByteArray>
#include <QString>

// Script files and clipboard text are single-byte text in the system's code page (the locale's
// encoding; UTF-8 on Unix systems). Byte sequences that are not valid in it are read as
// Windows-1252, so files written on Windows open everywhere.
namespace AnsiCodec {

QString decode(const QByteArray &bytes);
QByteArray encode(const QString &text);

// True when the system's code page is UTF-8 (then encode() is QString::toUtf8()).
bool systemIsUtf8();
// True when bytes are valid UTF-8 throughout.
bool isValidUtf8(const QByteArray &bytes);

// Windows-1252 meaning of one byte.
QChar fromWindows1252(uchar byte);

} // namespace AnsiCodec
