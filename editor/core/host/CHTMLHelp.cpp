#include "core/host/CHTMLHelp.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>

#include <mutex>

namespace {

CHTMLHelp::Viewer &viewer()
{
    static CHTMLHelp::Viewer current;
    return current;
}

// The anchors of a help file (case-folded anchor -> anchor), read once per file version.
struct AnchorIndex {
    QDateTime modified;
    qint64 size = -1;
    QHash<QString, QString> anchors;
};

QString anchorFor(const QString &path, const QString &keyword)
{
    static std::mutex mutex;
    static QHash<QString, AnchorIndex> cache;
    std::lock_guard<std::mutex> guard(mutex);

    const QFileInfo info(path);
    AnchorIndex &index = cache[info.absoluteFilePath()];
    if (index.size != info.size() || index.modified != info.lastModified()) {
        index = {info.lastModified(), info.size(), {}};
        QFile file(path);
        if (file.open(QIODevice::ReadOnly)) {
            static const QRegularExpression anchor(
                QStringLiteral(R"re(\s(?:id|name)\s*=\s*(?:"([^"]*)"|'([^']*)'|([^\s>"']+)))re"),
                QRegularExpression::CaseInsensitiveOption);
            const QString text = QString::fromUtf8(file.readAll());
            for (auto it = anchor.globalMatch(text); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                QString name = match.captured(1);
                if (name.isNull())
                    name = match.captured(2);
                if (name.isNull())
                    name = match.captured(3);
                if (!name.isEmpty()) {
                    index.anchors.insert(name, name);
                    index.anchors.insert(name.toCaseFolded(), name);
                }
            }
        }
    }
    if (const auto exact = index.anchors.constFind(keyword); exact != index.anchors.constEnd())
        return exact.value();
    return index.anchors.value(keyword.toCaseFolded());
}

} // namespace

QString CHTMLHelp::DefaultFileName()
{
    return QCoreApplication::applicationDirPath() + QStringLiteral("/stepsmith.html");
}

void CHTMLHelp::setFileName(const QString &path)
{
    if (!path.isEmpty() && QFileInfo(path).isFile())
        m_fileName = path;
}

bool CHTMLHelp::Display() const
{
    return open(QString());
}

bool CHTMLHelp::ShowContent(const QString &keyword) const
{
    if (m_fileName.isEmpty() || !QFileInfo(m_fileName).isFile())
        return false;
    const QString anchor = keyword.isEmpty() ? QString() : anchorFor(m_fileName, keyword);
    return open(anchor.isEmpty() ? QStringLiteral("index") : anchor);
}

CHTMLHelp::Viewer CHTMLHelp::SetViewer(Viewer newViewer)
{
    Viewer previous = std::move(viewer());
    viewer() = std::move(newViewer);
    return previous;
}

bool CHTMLHelp::open(const QString &anchor) const
{
    if (m_fileName.isEmpty() || !QFileInfo(m_fileName).isFile() || !viewer())
        return false;
    QUrl url = QUrl::fromLocalFile(QFileInfo(m_fileName).absoluteFilePath());
    if (!anchor.isEmpty())
        url.setFragment(anchor);
    viewer()(url);
    return true;
}
