#pragma once

#include "core/zml/ZmlNotices.h"

#include <QByteArray>
#include <QList>
#include <QString>

// How the command line prints its messages: lines as compilers write them
// ("FILE:LINE:COLUMN: error: TEXT"), or one JSON object a line for tools.
enum class DiagnosticFormat { Text, Json };

// The lines of notices about file, each ended by a line feed. TEXT is the message with each
// CR LF as one blank. Text: "FILE:LINE:COLUMN: SEVERITY: TEXT", "FILE: SEVERITY: TEXT" when the
// place is unknown, "stepsmith: SEVERITY: TEXT" when no file is concerned (file empty). Json:
// {"file":..., "line":..., "column":..., "severity":..., "text":...} with null for what is
// unknown. SEVERITY is error, warning or info by the notice's icon.
QByteArray FormatDiagnostics(DiagnosticFormat format, const QString &file,
                             const QList<Notice> &notices);

// Writes formatted diagnostics to standard error.
void PrintDiagnostics(const QByteArray &lines);
