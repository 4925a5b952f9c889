#include "core/zml/ZmlNotices.h"

#include <QCoreApplication>

namespace {

// Unknown header element names reported one by one; further names are only counted.
constexpr qsizetype kListedHeaderElements = 3;

// The texts of this file and their translation context.
struct Texts {
    Q_DECLARE_TR_FUNCTIONS(ZmlReader)
};

// The information about the header of a script that was read.
void addHeaderNotices(const OpenResult &result, QList<Notice> &notices)
{
    const QStringList &unknown = result.unknownHeaderElements;
    for (qsizetype i = 0; i < std::min(unknown.size(), kListedHeaderElements); ++i) {
        notices.push_back({Texts::tr("Unsupported element found in the header '%1'\r\n"
                                     "This element will be removed when you save the file")
                               .arg(unknown[i]),
                           MsgIcon::Information, result.unknownHeaderPlaces.value(i)});
    }
    if (const qsizetype unlisted = unknown.size() - kListedHeaderElements; unlisted > 0) {
        notices.push_back({Texts::tr("%1 more unsupported elements found in the header\r\n"
                                     "These elements will be removed when you save the file")
                               .arg(unlisted),
                           MsgIcon::Information,
                           result.unknownHeaderPlaces.value(kListedHeaderElements)});
    }
    if (result.versionMissing)
        notices.push_back({Texts::tr("File version is missing. Inserting 1.0"),
                           MsgIcon::Information, result.versionPlace});
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
        return Texts::tr("Can't find the file '%1'").arg(path);
    case S::Unreadable:
        return Texts::tr("Can't open the file '%1'\r\n"
                         "Check that you have the correct permission to access it")
            .arg(path);
    case S::Special:
        return SpecialFileOpenMessage(path);
    case S::Corrupt:
        return Texts::tr("This file is corrupt or not a valid ZML file\r\n'%1'").arg(path);
    case S::NotZml:
        return Texts::tr("This file is not a valid ZML document\r\n'%1'").arg(path);
    case S::BadVersion:
        return Texts::tr("The file has an invalid or unsupported version number\r\n'%1'").arg(path);
    case S::NoHeader:
        return Texts::tr("File doesn't contain a valid header\r\n'%1'").arg(path);
    case S::NoBody:
        return Texts::tr("File doesn't contain a valid body\r\n'%1'").arg(path);
    }
    return QString();
}

} // namespace

QString SpecialFileOpenMessage(const QString &path)
{
    return Texts::tr("This is a device or a pipe, not a file, and can't be opened\r\n'%1'")
        .arg(path);
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
