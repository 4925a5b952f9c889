#pragma once

#include "core/host/MessageService.h"
#include "core/zml/ZmlReader.h"
#include "core/zml/ZmlWriter.h"

#include <QList>
#include <QString>

class CDocument;

// The messages of opening and saving, phrased from their results in the order they are
// shown; the window and the command line show them (each with an OK button).
struct Notice {
    QString Text;
    MsgIcon Icon = MsgIcon::Critical;
    // Where in the file the message points (the window does not show it); unknown when none.
    TextPlace Place = {};
    friend bool operator==(const Notice &a, const Notice &b)
    {
        return a.Text == b.Text && a.Icon == b.Icon;
    }
};

// Unknown header elements (each name once, the first few by name and the rest by their number)
// and a missing version as information, then the reason a script was not opened; each with
// its place: the element named (the first one not named), the header, the fault.
QList<Notice> OpenNotices(const OpenResult &result);

// Message shown when path names a device, FIFO or socket, which is never read.
QString SpecialFileOpenMessage(const QString &path);

// The reason a script was not saved (none when it was): doc is the script that was to be
// saved. A failed block check's place is in the text written (BuildDocumentText).
QList<Notice> SaveNotices(const CDocument &doc, const SaveResult &result);
