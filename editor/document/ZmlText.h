#pragma once

#include <QString>

// Escapes a user value for a ZML file: one physical line, markup characters as references,
// leading spaces and runs of spaces kept with no-break space references.
QString EncodeText(const QString &text);

// Reverses EncodeText on a value the XML parser has already unescaped; line breaks become CR LF.
QString DecodeText(const QString &text);
