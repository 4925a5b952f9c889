#pragma once

#include <QString>

#include <vector>

class CDocument;
class StepRowsModel;

// The text form of steps on the clipboard. Copied steps are their row texts, one per line,
// with if and loop blocks written as nested elements; pasted text is turned back into the flat
// form of the step list and wrapped in a single root element for the XML reader.
namespace ClipboardText {

// Root element that wraps pasted text.
inline constexpr const char *kWrapperElement = "zmlclip";

// The row texts of rows (ascending, valid indexes), each followed by CR LF, in nested form.
// Empty when rows is empty.
QString CopyText(const StepRowsModel &model, const std::vector<int> &rows);

// Nested block form of concatenated row texts: "<endloop />" becomes "</loop>", "<endif />"
// becomes "</if>", and the own "/>" of each if and loop tag loses its slash.
QString NestBlocks(QString text);

// Flat form of clipboard text: line ends become CR LF, "</if>" and "</loop>" become
// "<endif />" and "<endloop />", and if and loop tags are made self-closing again.
QString FlattenBlocks(QString text);

// The document handed to the XML reader on paste: FlattenBlocks of text inside
// "<zmlclip>" CR LF ... CR LF "</zmlclip>".
QString PasteDocument(const QString &clipboardText);

// The rows a paste inserted: the first and the last one and their count (all -1 and 0 when
// nothing was inserted).
struct PastedSteps {
    int first = -1;
    int last = -1;
    int count = 0;
};

// Paste: inserts the steps of clipboard text into doc before row firstSelected (-1, no
// selection: at the end). Text that is not well-formed inserts nothing, without a message.
PastedSteps PasteSteps(CDocument &doc, const QString &clipboardText, int firstSelected);

} // namespace ClipboardText
