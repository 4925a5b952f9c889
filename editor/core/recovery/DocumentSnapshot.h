#pragma once

#include "core/document/CDocument.h"

#include <QByteArray>

#include <memory>
#include <vector>

// A copy of a document taken on the window's thread and written on another: the steps are
// copied (the document's own may be edited meanwhile), and the document to write them from is
// filled on the writing thread.
class DocumentSnapshot final {
public:
    // Copies doc's header, file name, steps and row depths.
    explicit DocumentSnapshot(const CDocument &doc);
    ~DocumentSnapshot();
    DocumentSnapshot(const DocumentSnapshot &) = delete;
    DocumentSnapshot &operator=(const DocumentSnapshot &) = delete;

    const QString &fileName() const { return m_fileName; }
    // The bytes Save would write for the copied document (even when the block check would
    // refuse it). Builds the document on the calling thread; call once.
    QByteArray text();

private:
    QString m_fileName;
    std::unique_ptr<CDocument> m_copy; // header only until text() adds the steps
    std::vector<CDocument::NewStep> m_steps;
};

// The bytes Save writes for doc: the document text in the system code page with CR LF after it.
QByteArray SavedText(const CDocument &doc);
