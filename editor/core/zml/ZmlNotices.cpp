#include "core/zml/ZmlNotices.h"

#include <QCoreApplication>

namespace {

const QString kCrLf = QStringLiteral("\r\n");

// Unknown header element names reported one by one; further names are only counted.
constexpr qsizetype kListedHeaderElements = 3;

QString tr(const char *text)
{
    return QCoreApplication::translate("ZmlReader", text);
}

QString quoted(const QString &path)
{
    return QLatin1Char('\'') + path + QLatin1Char('\'');
}

// The information about the header of a script that was read.
void addHeaderNotices(const OpenResult &result, QList<Notice> &notices)
{
    const QStringList &unknown = result.unknownHeaderElements;
    for (qsizetype i = 0; i < std::min(unknown.size(), kListedHeaderElements); ++i) {
        notices.push_back({tr("Unsupported element found in the header ") + quoted(unknown[i]) +
                               kCrLf + tr("This element will be removed when you save the file"),
                           MsgIcon::Information, result.unknownHeaderPlaces.value(i)});
    }
    if (const qsizetype unlisted = unknown.size() - kListedHeaderElements; unlisted > 0) {
        notices.push_back({tr("%1 more unsupported elements found in the header").arg(unlisted) +
                               kCrLf + tr("These elements will be removed when you save the file"),
                           MsgIcon::Information,
                           result.unknownHeaderPlaces.value(kListedHeaderElements)});
    }
    if (result.versionMissing)
        notices.push_back({tr("File version is missing. Inserting 1.0"), MsgIcon::Information,
                           result.versionPlace});
}

// Why a script was not opened; empty when it was.
QString openFailure(const OpenResult &result)
{
    const QString &path = result.path;
    using S = OpenResult::Status;
    switch (result.status) {
    case S::Opened:
        return QString();
    case S::Missing:
        return tr("Can't find the file ") + quoted(path);
    case S::Unreadable:
        return tr("Can't open the file ") + quoted(path) + kCrLf +
               tr("Check that you have the correct permission to access it");
    case S::Special:
        return SpecialFileOpenMessage(path);
    case S::Corrupt:
        return tr("This file is corrupt or not a valid ZML file") + kCrLf + quoted(path);
    case S::NotZml:
        return tr("This file is not a valid ZML document") + kCrLf + quoted(path);
    case S::BadVersion:
        return tr("The file has an invalid or unsupported version number") + kCrLf + quoted(path);
    case S::NoHeader:
        return tr("File doesn't contain a valid header") + kCrLf + quoted(path);
    case S::NoBody:
        return tr("File doesn't contain a valid body") + kCrLf + quoted(path);
    }
    return QString();
}

} // namespace

QString SpecialFileOpenMessage(const QString &path)
{
    return tr("This is a device or a pipe, not a file, and can't be opened") + kCrLf + quoted(path);
}

QList<Notice> OpenNotices(const OpenResult &result)
{
    QList<Notice> notices;
    addHeaderNotices(result, notices);
    if (const QString failure = openFailure(result); !failure.isEmpty())
        notices.push_back({failure, MsgIcon::Critical, result.place});
    return notices;
}

QList<Notice> SaveNotices(const CDocument &doc, const SaveResult &result)
{
    switch (result.status) {
    case SaveResult::Status::Saved:
        return {};
    case SaveResult::Status::Special:
        return {{SpecialFileSaveMessage(result.fileName), MsgIcon::Critical}};
    case SaveResult::Status::Blocks:
        return {
            {BlockCheckMessage(doc, result.check.Result), MsgIcon::Critical, result.check.Place}};
    case SaveResult::Status::WriteFailed:
        return {{SaveFailedMessage(), MsgIcon::Critical}};
    }
    return {};
}
