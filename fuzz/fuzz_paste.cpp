// Paste path: any clipboard text goes through the editor's own paste (PasteSteps) before the
// first selected row of a script, or at its end. It inserts one block of steps or nothing,
// without a fault; the pasted rows, copied and pasted again, come back as the same steps. (The
// text of a comment may change: the block forms of the clipboard text rewrite the tags of if
// and loop openers that a comment mentions.)
#include "FuzzCheck.h"
#include "FuzzSupport.h"

#include "core/document/ClipboardText.h"
#include "core/document/StepRowsModel.h"
#include "core/zml/ZmlWriter.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace {

// What must survive a copy and a paste of an enabled step: its action and, unless it holds
// references (which are read back one level decoded, and leading or doubled spaces as no-break
// spaces), its text. Comments and disabled steps: only that a row is there. (Depths may differ:
// pasted text can nest steps in an element that is no block, which the copy writes flat.)
QString stepForm(const CDocument &doc, int row)
{
    const auto step = doc.Step(row);
    return step->IsComment || step->Disabled ? QString() : step->ElementName;
}

// The row text of an enabled step that holds no reference ("" otherwise).
QString plainText(const CDocument &doc, int row)
{
    const QString text = doc.Rows()->rowText(row);
    return stepForm(doc, row).isEmpty() || text.contains(QLatin1Char('&')) ? QString() : text;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    static FuzzSupport support;
    if (size == 0)
        return 0;
    // The first byte picks the selection (none, the first, a middle or the last row); the
    // rest is the clipboard text.
    const int choice = data[0] % 4;
    const QString text = QString::fromUtf8(reinterpret_cast<const char *>(data + 1),
                                           static_cast<qsizetype>(size - 1));
    CDocument &doc = support.document();
    const int before = ClipboardText::PasteSteps(doc,
                                                 QStringLiteral("<var name=\"a\" value=\"1\" />"
                                                                "<if condition=\"x\">\r\n"
                                                                "<msgbox>hi</msgbox>\r\n</if>"
                                                                "<!-- note -->"),
                                                 -1)
                           .count;
    FUZZ_CHECK(before == doc.RowCount() && before > 0);
    const int selected = choice == 0 ? -1 : (choice - 1) * (before - 1) / 2;

    const ClipboardText::PastedSteps pasted = ClipboardText::PasteSteps(doc, text, selected);
    FUZZ_CHECK(doc.RowCount() == before + pasted.count);
    if (pasted.count == 0) {
        FUZZ_CHECK(pasted.first == -1 && pasted.last == -1);
        return 0;
    }
    FUZZ_CHECK(pasted.count > 0);
    FUZZ_CHECK(pasted.first == (selected < 0 ? before : selected));
    FUZZ_CHECK(pasted.last == pasted.first + pasted.count - 1);
    for (int row = 0; row < doc.RowCount(); ++row)
        FUZZ_CHECK(doc.Step(row) != nullptr);
    // The save check runs on whatever was pasted.
    (void)CheckBlocks(BuildDocumentText(doc));

    // Copying the pasted rows and pasting them into an empty script gives the same steps.
    std::vector<int> rows;
    QStringList forms;
    QStringList texts;
    for (int row = pasted.first; row <= pasted.last; ++row) {
        rows.push_back(row);
        forms.append(stepForm(doc, row));
        texts.append(plainText(doc, row));
    }
    const QString copied = ClipboardText::CopyText(*doc.Rows(), rows);
    CDocument &again = support.document();
    const ClipboardText::PastedSteps repasted = ClipboardText::PasteSteps(again, copied, -1);
    FUZZ_CHECK(repasted.count == static_cast<int>(forms.size()));
    for (int row = 0; row < repasted.count; ++row) {
        FUZZ_CHECK(forms[row].isEmpty() || stepForm(again, row) == forms[row]);
        FUZZ_CHECK(texts[row].isEmpty() || again.Rows()->rowText(row) == texts[row]);
    }
    return 0;
}
