#pragma once

#include "core/settings/RegValue.h"

#include <QByteArray>
#include <QMap>
#include <QString>

// The regedit text format ("Windows Registry Editor Version 5.00") for the keys of one root.

struct RegFileNamedValue {
    QString name; // as written; empty for the key's default value ("@")
    RegValue value;
};

struct RegFileKey {
    QString path;                            // below the root, as first written
    QMap<QString, RegFileNamedValue> values; // by case-folded name
};

struct RegFileContent {
    QMap<QString, RegFileKey> keys; // by case-folded path
    int skippedLines = 0;           // lines that could not be understood and were left out

    bool keyExists(const QString &path) const;
    const RegFileNamedValue *value(const QString &path, const QString &name) const;
    RegFileKey &createKey(const QString &path);
};

namespace RegFileFormat {

// Strips leading and trailing "\" from path. Returns false (leaving out untouched) when the
// path has an empty component or a character that cannot be stored (line breaks, NUL).
bool normaliseKeyPath(const QString &path, QString *out);
bool isStorableName(const QString &name);
QString fold(const QString &text);

// Reads the text line by line. Lines that cannot be understood (garbage, truncated hex
// lists, sections of another root) are counted in skippedLines and left out; every line
// that parses is kept. cut: bytes are only the start of the file, so their last line is left
// out (and counted) too. A key removal costs only the keys it removes.
RegFileContent parse(const QByteArray &bytes, const QString &rootName, bool cut = false);
// Writes the content as UTF-8 text with CR LF line ends; every value type round-trips.
QByteArray serialise(const RegFileContent &content, const QString &rootName);

} // namespace RegFileFormat
