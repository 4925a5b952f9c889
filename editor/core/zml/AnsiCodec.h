#pragma once

#include <QByteArray>
#include <QString>
#include <QStringDecoder>

// Script files and clipboard text are single-byte text in the system's code page (the locale's
// encoding; UTF-8 on Unix systems). Byte sequences that are not valid in it are read as
// Windows-1252, so files written on Windows open everywhere.
class QIODevice;

namespace AnsiCodec {

QString decode(const QByteArray &bytes);
QByteArray encode(const QString &text);

// True when the system's code page is UTF-8 (then encode() is QString::toUtf8()).
bool systemIsUtf8();
// True when bytes are valid UTF-8 throughout.
bool isValidUtf8(const QByteArray &bytes);

// Windows-1252 meaning of one byte.
QChar fromWindows1252(uchar byte);

// Where text given piece by piece first stops being valid UTF-8; a sequence cut at the end of
// a piece is completed by the next one.
class Utf8Validator final {
public:
    void add(const char *bytes, qsizetype size);
    // No more pieces: a sequence still incomplete is invalid.
    void finish();
    // Offset of the first byte of the first invalid sequence; -1 while there is none.
    qint64 firstInvalid() const { return m_firstInvalid; }

private:
    qint64 m_offset = 0; // of the next piece
    QByteArray m_carry;  // start of a sequence cut at the end of the last piece
    qint64 m_firstInvalid = -1;
};

// decode() for text read piece by piece: a sequence cut at the end of a piece is completed by
// the next one.
class Decoder final {
public:
    Decoder();
    QString decode(const QByteArray &piece);
    // The rest: a sequence still incomplete is decoded byte by byte.
    QString finish();

private:
    QByteArray m_carry;       // UTF-8 system: start of a sequence cut at the end of a piece
    QStringDecoder m_decoder; // other systems
};

// Where device's bytes first stop being UTF-8, when that is at or before offset (-1 otherwise);
// reads from the start, as far as a sequence starting at offset reaches. False when device
// cannot be read.
bool FirstInvalidUtf8(QIODevice &device, qint64 offset, qint64 *firstInvalid);

} // namespace AnsiCodec
