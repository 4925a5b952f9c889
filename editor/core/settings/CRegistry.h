#pragma once

#include <QString>
#include <QVariant>

// Reads and writes single values of the settings store. Set the properties, then read or
// write Value. Creating a key or writing a value that the store refuses throws CRegistryError.
class CRegistry final {
public:
    static constexpr qint32 HKeyCurrentUser = static_cast<qint32>(0x80000001u);
    static constexpr qint32 HKeyLocalMachine = static_cast<qint32>(0x80000002u);

    qint32 ClassKey = HKeyCurrentUser; // root key handle
    QString SectionKey;                // key path below the root
    QString ValueKey;                  // value name (empty: the key's default value)
    qint32 ValueType = 1;              // 1 string, 2 expandable, 3 binary, 4 DWORD, 5 big-endian
                                       // DWORD, 7 multi-string
    QVariant Default;                  // what a read that finds nothing returns
    // Texts kept exactly as typed: written as plain strings, never as expandable ones, and an
    // expandable string is read as stored, without expanding it.
    bool LiteralStrings = false;

    bool KeyExists() const;
    // Creates the key (and its parents); throws CRegistryError when that fails.
    bool CreateKey();

    // Reads the value; sets ValueType to the stored type. Strings come back as QString
    // (expandable ones with %VARIABLE% references expanded, a multi-string as its strings
    // separated by NUL characters), DWORDs as int, other types as QByteArray. A missing or
    // unreadable value gives Default.
    QVariant Value();
    // Writes v as ValueType says: 1 or 2 a string (stored as expandable when it holds two
    // "%" at least two characters apart), 4 or 5 an int, short or bool (true is -1) stored as
    // DWORD, 3 a QByteArray (anything else throws). Other kinds and types write nothing.
    void setValue(const QVariant &v);

    // The stored form of a text: 2 (expandable) when it holds a "%" and a second one at least
    // two characters further on, else 1.
    static qint32 StringType(const QString &text);
    // Replaces each %NAME% whose NAME is an environment variable by its value.
    static QString ExpandEnvironmentStrings(const QString &text);

private:
    [[noreturn]] void raiseWriteError(const QVariant &v) const;
};
