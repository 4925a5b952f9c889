#pragma once

#include "core/document/CDocument.h"

#include <QByteArray>

#include <memory>
#include <vector>

// A copy of a document taken on the window's thread and written on another: the steps are
// copied (the document's own may be edited meanwhile), and the document to write them from is
// filled on the writing thread. The copy may be taken a slice at a time (copyRows) while the
// document does not change in between.
class DocumentSnapshot final {
public:
    // Copies doc's header and file name; all its rows unless copyAll is false (see copyRows).
    explicit DocumentSnapshot(const CDocument &doc, bool copyAll = true);
    ~DocumentSnapshot();
    DocumentSnapshot(const DocumentSnapshot &) = delete;
    DocumentSnapshot &operator=(const DocumentSnapshot &) = delete;

    // Copies further rows of the document given to the constructor for about budgetMs
    // milliseconds (all of them when budgetMs is negative); true when every row is copied.
    bool copyRows(int budgetMs);
    bool complete() const;

    const QString &fileName() const { return m_fileName; }
    // The bytes Save would write for the copied document (even when the block check would
    // refuse it). Builds the document on the calling thread; call once, when complete.
    QByteArray text();

private:
    const CDocument *m_source;
    QString m_fileName;
    std::unique_ptr<CDocument> m_copy; // header only until text() adds the steps
    StepBatch m_steps;
    int m_copied = 0; // rows copied so far
};

// The bytes Save writes for doc: the document text in the system code page with CR LF after it.
QByteArray SavedText(const CDocument &doc);
