#pragma once

#include <QString>
#include <QStringView>

class TextSink;
class Utf8Sink;

// Escapes a user value for a ZML file: one physical line, markup characters as references,
// leading spaces and runs of spaces kept with no-break space references.
QString EncodeText(const QString &text);
// Appends EncodeText(text) to out without building it as a string first.
void AppendEncodedText(TextSink &out, QStringView text);
void AppendEncodedText(Utf8Sink &out, QStringView text);

// Reverses EncodeText on a value the XML parser has already unescaped; line breaks become CR LF.
QString DecodeText(const QString &text);
