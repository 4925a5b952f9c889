#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Opens the program's HTML help file, at its start or at the topic of a keyword, through the
// help viewer the program installs with SetViewer.
class CHTMLHelp final {
public:
    using Viewer = std::function<void(const QUrl &url)>;

    // The help file's path: "stepsmith.html" in the program's folder.
    static QString DefaultFileName();

    QString FileName() const { return m_fileName; }
    // Accepted only when path is not empty and names an existing file; otherwise the old
    // value stays.
    void setFileName(const QString &path);

    // Shows the help file at its start. False (and nothing shown) when the file is missing or
    // no viewer is installed.
    bool Display() const;
    // Shows the topic whose anchor (id or name) is keyword, matched exactly or else without
    // regard to case; a keyword without a topic shows the index (anchor "index").
    bool ShowContent(const QString &keyword) const;

    // Installs the viewer every CHTMLHelp uses (an empty one removes it) and returns the
    // previous one.
    static Viewer SetViewer(Viewer viewer);

private:
    bool open(const QString &anchor) const;

    QString m_fileName;
};
