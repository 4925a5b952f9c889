#pragma once

#include "core/document/CDocument.h"
#include "core/zml/ZmlNotices.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include "support/TestCatalogue.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <initializer_list>
#include <utility>

// Opening and saving with the notices shown as the window and the command line show them, so
// that a MessageRecorder sees them.
inline void ShowTestNotices(const QList<Notice> &notices)
{
    for (const Notice &notice : notices)
        ShowMessage(notice.Text, notice.Icon, MsgButtons::Ok);
}

inline OpenResult OpenReported(CDocument &doc, const QString &path)
{
    OpenResult result = OpenDocument(doc, path);
    ShowTestNotices(OpenNotices(result));
    return result;
}

inline SaveResult SaveReported(CDocument &doc, const QString &path, bool nameJustChosen)
{
    SaveResult result = SaveDocument(doc, path, nameJustChosen);
    ShowTestNotices(SaveNotices(doc, result));
    return result;
}

// Builds steps of the test catalogue and reads and writes files for the ZML tests.
class StepMaker final {
public:
    explicit StepMaker(CDocument &doc) : m_doc(doc) {}

    // Appends a step of action name with the given attribute values and text.
    int append(const QString &name,
               std::initializer_list<std::pair<const char *, QString>> values = {},
               const QString &text = {}, bool disabled = false)
    {
        const auto step =
            m_scratch.AddCopy(*m_doc.Catalogue().Item(name), QStringLiteral("S%1").arg(++m_count));
        for (const auto &v : values)
            step->Attributes().Item(QString::fromLatin1(v.first))->Value = v.second;
        step->Text = text;
        step->Disabled = disabled;
        return m_doc.InsertStep(*step, -1);
    }
    int comment(const QString &text)
    {
        CElement step;
        step.IsComment = true;
        step.Text = text;
        return m_doc.InsertStep(step, -1);
    }

private:
    CDocument &m_doc;
    CElements m_scratch;
    int m_count = 0;
};

inline QByteArray ReadBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline bool WriteBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Joins lines with CR LF after each.
inline QByteArray CrLfLines(std::initializer_list<const char *> lines)
{
    QByteArray out;
    for (const char *line : lines)
        out += QByteArray(line) + "\r\n";
    return out;
}
