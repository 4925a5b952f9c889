#include "fieldpane/CCommonDialogs.h"

#include "fieldpane/SystemColors.h"

#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontDialog>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QRegularExpression>

namespace Fieldpane {

namespace {

CCommonDialogs::DialogHook &dialogHook()
{
    static CCommonDialogs::DialogHook hook;
    return hook;
}

QString upToNul(const QString &text)
{
    const qsizetype nul = text.indexOf(QChar(u'\0'));
    return nul < 0 ? text : text.left(nul);
}

// Folder part of a full file name: up to, not including, the last separator ("/" stays "/").
QString folderOf(const QString &fileName)
{
#ifdef Q_OS_WIN
    const qsizetype cut = qMax(fileName.lastIndexOf(u'/'), fileName.lastIndexOf(u'\\'));
#else
    const qsizetype cut = fileName.lastIndexOf(u'/');
#endif
    if (cut < 0)
        return {};
    if (cut == 0)
        return fileName.left(1);
    return fileName.left(cut);
}

QString titleOf(const QString &fileName)
{
    return QFileInfo(fileName).fileName();
}

CCommonDialogs::Answer runFileDialog(const CCommonDialogs::Request &request)
{
    CCommonDialogs::Answer answer;
    QFileDialog dialog(request.Owner, request.Title, request.Directory);
    if (request.Kind == CCommonDialogs::DialogKind::Folder) {
        dialog.setFileMode(QFileDialog::Directory);
        dialog.setOption(QFileDialog::ShowDirsOnly);
    } else {
        const bool save = request.Kind == CCommonDialogs::DialogKind::Save;
        dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!request.NameFilters.isEmpty())
            dialog.setNameFilters(request.NameFilters);
        if (!request.DefExt.isEmpty())
            dialog.setDefaultSuffix(request.DefExt);
        if (!request.FileName.isEmpty())
            dialog.selectFile(request.FileName);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return answer;
    answer.Accepted = true;
    const QString chosen = QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
    if (request.Kind == CCommonDialogs::DialogKind::Folder)
        answer.Folder = chosen;
    else
        answer.FileName = chosen;
    return answer;
}

CCommonDialogs::Answer runColorDialog(const CCommonDialogs::Request &request)
{
    CCommonDialogs::Answer answer;
    // The custom colours start black at every call.
    for (int i = 0; i < QColorDialog::customCount(); ++i)
        QColorDialog::setCustomColor(i, QColor(Qt::black));
    QColorDialog dialog(request.Color, request.Owner);
    if (dialog.exec() != QDialog::Accepted)
        return answer;
    answer.Accepted = true;
    answer.Color = dialog.selectedColor();
    return answer;
}

// The family's style that is bold and slanted as asked, closest to the normal or bold weight;
// empty when the family has none.
QString styleOf(const QString &family, bool bold, bool italic)
{
    const int wanted = bold ? QFont::Bold : QFont::Normal;
    QString best;
    int bestDistance = 0;
    const QStringList styles = QFontDatabase::styles(family);
    for (const QString &style : styles) {
        const int weight = QFontDatabase::weight(family, style);
        // Oblique counts as slanted too (QFontDatabase::italic is true for italic alone).
        const bool slanted = QFontDatabase::font(family, style, 10).style() != QFont::StyleNormal;
        if (slanted != italic || (weight >= QFont::DemiBold) != bold)
            continue;
        const int distance = qAbs(weight - wanted);
        if (best.isEmpty() || distance < bestDistance) {
            best = style;
            bestDistance = distance;
        }
    }
    return best;
}

CCommonDialogs::Answer runFontDialog(const CCommonDialogs::Request &request)
{
    CCommonDialogs::Answer answer;
    QFontDialog dialog(request.Owner);
    if (request.FixedPitchOnly) {
        dialog.setOption(QFontDialog::MonospacedFonts);
        // The dialog lists its families when it is built and again when a writing system is
        // chosen; choosing the current one again lists them by the option now set.
        if (auto *writingSystems = dialog.findChild<QComboBox *>())
            Q_EMIT writingSystems->activated(writingSystems->currentIndex());
    }
    dialog.setCurrentFont(request.Font);
    if (dialog.exec() != QDialog::Accepted)
        return answer;
    answer.Accepted = true;
    answer.Font = dialog.selectedFont();
    return answer;
}

CCommonDialogs::Answer runPrintDialog(const CCommonDialogs::Request &request)
{
    CCommonDialogs::Answer answer;
    QPrinter printer;
    if (!request.DeviceName.isEmpty())
        printer.setPrinterName(request.DeviceName);
    if (request.AllowPrintToFile && !request.OutputFileName.isEmpty())
        printer.setOutputFileName(request.OutputFileName);
    if (request.PrintCopies > 0)
        printer.setCopyCount(request.PrintCopies);
    QPrintDialog dialog(&printer, request.Owner);
    dialog.setOption(QAbstractPrintDialog::PrintToFile, request.AllowPrintToFile);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    if (dialog.exec() != QDialog::Accepted)
        return answer;
    answer.Accepted = true;
    if (request.AllowPrintToFile && printer.outputFormat() == QPrinter::PdfFormat &&
        !printer.outputFileName().isEmpty())
        answer.OutputFileName = printer.outputFileName();
    else
        answer.DeviceName = printer.printerName();
    answer.Orientation = printer.pageLayout().orientation() == QPageLayout::Landscape ? 2 : 1;
    answer.PrintCopies = printer.copyCount();
    return answer;
}

// The printer's properties: page and paper settings of the named printer. Copies are read
// back whenever the printer could be opened; no printer reads as cancelled with nothing read.
CCommonDialogs::Answer runPrinterProperties(const CCommonDialogs::Request &request, bool &opened)
{
    CCommonDialogs::Answer answer;
    const QPrinterInfo info = QPrinterInfo::printerInfo(request.DeviceName);
    opened = !info.isNull();
    if (!opened)
        return answer;
    QPrinter printer(info);
    if (request.PrintCopies > 0)
        printer.setCopyCount(request.PrintCopies);
    QPageSetupDialog dialog(&printer, request.Owner);
    answer.Accepted = dialog.exec() == QDialog::Accepted;
    answer.PrintCopies = printer.copyCount();
    answer.DeviceName = printer.printerName();
    return answer;
}

CCommonDialogs::Answer answerOf(const CCommonDialogs::Request &request)
{
    if (dialogHook())
        return dialogHook()(request);
    switch (request.Kind) {
    case CCommonDialogs::DialogKind::Open:
    case CCommonDialogs::DialogKind::Save:
    case CCommonDialogs::DialogKind::Folder:
        return runFileDialog(request);
    case CCommonDialogs::DialogKind::Color:
        return runColorDialog(request);
    case CCommonDialogs::DialogKind::Font:
        return runFontDialog(request);
    case CCommonDialogs::DialogKind::Printer:
        return runPrintDialog(request);
    case CCommonDialogs::DialogKind::PrinterProperties: {
        bool opened = false;
        return runPrinterProperties(request, opened);
    }
    }
    return {};
}

} // namespace

struct CCommonDialogs::Private {
    QString fileTitle;
    QString path;
    QString filter;
    QString fileName;
    quint32 color = 0;
    QString title;
    QPointer<QWidget> owner;
    QString defExt;
    QString fontName;
    qint16 fontSize = 0;
    bool fontBold = false;
    bool fontItalic = false;
    bool fontUnderline = false;
    qint32 printCopies = 0;
    qint16 charSet = 0;
    QString deviceName;
    qint16 orientation = 0;
    bool allowPrintToFile = false;
    QString outputFileName;
    bool fixedPitchOnly = true;

    Request request(DialogKind kind) const
    {
        Request r;
        r.Kind = kind;
        r.Owner = owner;
        return r;
    }

    Request fileRequest(DialogKind kind) const
    {
        Request r = request(kind);
        r.Title = upToNul(title);
        r.NameFilters = ConvertFilter(filter);
        const QString folder = upToNul(path);
        r.Directory = folder.isEmpty() ? QDir::currentPath() : folder;
        r.FileName = upToNul(fileName);
        r.DefExt = defExt;
        return r;
    }

    bool applyFile(const Answer &answer)
    {
        if (!answer.Accepted || answer.FileName.isEmpty())
            return false;
        fileName = upToNul(answer.FileName);
        fileTitle = titleOf(fileName);
        path = folderOf(fileName);
        return true;
    }
};

void CCommonDialogs::SetDialogHook(DialogHook hook)
{
    dialogHook() = std::move(hook);
}

bool CCommonDialogs::HasDialogHook()
{
    return static_cast<bool>(dialogHook());
}

QStringList CCommonDialogs::ConvertFilter(const QString &filter)
{
    // Pairs of description and pattern list ("*.txt;*.log"). Qt reads the patterns from the
    // parentheses at the end of each entry, so a description's own "(...)" is replaced.
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        QStringList patterns;
        for (const QString &p : parts.at(i + 1).split(u';', Qt::SkipEmptyParts)) {
            const QString pattern = p.trimmed();
            if (pattern.isEmpty())
                continue;
            // "*.*" means every file, also those without an extension.
            patterns << (pattern == QLatin1String("*.*") ? QStringLiteral("*") : pattern);
        }
        if (patterns.isEmpty())
            continue;
        description.remove(trailingPatterns);
        if (description.isEmpty())
            description = patterns.join(u' ');
        result << QStringLiteral("%1 (%2)").arg(description, patterns.join(u' '));
    }
    return result;
}

CCommonDialogs::CCommonDialogs() : d(std::make_unique<Private>()) {}

CCommonDialogs::~CCommonDialogs() = default;

void CCommonDialogs::Init(QWidget *owner)
{
    d->owner = owner;
}

QWidget *CCommonDialogs::Owner() const
{
    return d->owner;
}

QString CCommonDialogs::FileTitle() const
{
    return upToNul(d->fileTitle);
}
void CCommonDialogs::setFileTitle(const QString &value)
{
    d->fileTitle = value;
}
QString CCommonDialogs::Path() const
{
    return upToNul(d->path);
}
void CCommonDialogs::setPath(const QString &value)
{
    d->path = value;
}
QString CCommonDialogs::Filter() const
{
    return d->filter;
}
void CCommonDialogs::setFilter(const QString &value)
{
    d->filter = value;
}
QString CCommonDialogs::FileName() const
{
    return upToNul(d->fileName);
}
void CCommonDialogs::setFileName(const QString &value)
{
    d->fileName = value;
}
quint32 CCommonDialogs::Color() const
{
    return d->color;
}
void CCommonDialogs::setColor(quint32 value)
{
    d->color = ResolveOleColor(value);
}
QString CCommonDialogs::Title() const
{
    return upToNul(d->title);
}
void CCommonDialogs::setTitle(const QString &value)
{
    d->title = value;
}
QString CCommonDialogs::DefExt() const
{
    return d->defExt;
}
void CCommonDialogs::setDefExt(const QString &value)
{
    d->defExt = value;
}
QString CCommonDialogs::FontName() const
{
    return d->fontName;
}
void CCommonDialogs::setFontName(const QString &value)
{
    d->fontName = value;
}
qint16 CCommonDialogs::FontSize() const
{
    return d->fontSize;
}
void CCommonDialogs::setFontSize(qint16 value)
{
    d->fontSize = value;
}
bool CCommonDialogs::FontBold() const
{
    return d->fontBold;
}
void CCommonDialogs::setFontBold(bool value)
{
    d->fontBold = value;
}
bool CCommonDialogs::FontItalic() const
{
    return d->fontItalic;
}
void CCommonDialogs::setFontItalic(bool value)
{
    d->fontItalic = value;
}
bool CCommonDialogs::FontUnderline() const
{
    return d->fontUnderline;
}
void CCommonDialogs::setFontUnderline(bool value)
{
    d->fontUnderline = value;
}
qint32 CCommonDialogs::PrintCopies() const
{
    return d->printCopies;
}
void CCommonDialogs::setPrintCopies(qint32 value)
{
    d->printCopies = value;
}
qint16 CCommonDialogs::CharSet() const
{
    return d->charSet;
}
void CCommonDialogs::setCharSet(qint16 value)
{
    d->charSet = value;
}
QString CCommonDialogs::DeviceName() const
{
    if (!d->deviceName.isEmpty())
        return d->deviceName;
    return QPrinterInfo::defaultPrinterName();
}
qint16 CCommonDialogs::Orientation() const
{
    return d->orientation;
}
void CCommonDialogs::setOrientation(qint16 value)
{
    d->orientation = value;
}
bool CCommonDialogs::AllowPrintToFile() const
{
    return d->allowPrintToFile;
}
void CCommonDialogs::setAllowPrintToFile(bool value)
{
    d->allowPrintToFile = value;
}
QString CCommonDialogs::OutputFileName() const
{
    return upToNul(d->outputFileName);
}
void CCommonDialogs::setOutputFileName(const QString &value)
{
    d->outputFileName = value;
}

bool CCommonDialogs::FixedPitchOnly() const
{
    return d->fixedPitchOnly;
}
void CCommonDialogs::setFixedPitchOnly(bool value)
{
    d->fixedPitchOnly = value;
}

bool CCommonDialogs::ShowOpen()
{
    return d->applyFile(answerOf(d->fileRequest(DialogKind::Open)));
}

bool CCommonDialogs::ShowSave()
{
    return d->applyFile(answerOf(d->fileRequest(DialogKind::Save)));
}

bool CCommonDialogs::ShowColor(bool FullOpen)
{
    Request r = d->request(DialogKind::Color);
    r.Color = FromOleColor(d->color);
    r.FullOpen = FullOpen;
    const Answer answer = answerOf(r);
    if (!answer.Accepted || !answer.Color.isValid())
        return false;
    d->color = ToOleColor(answer.Color);
    return true;
}

bool CCommonDialogs::ShowFont()
{
    Request r = d->request(DialogKind::Font);
    QFont font(d->fontName.left(32));
    if (d->fontSize > 0)
        font.setPointSize(d->fontSize);
    font.setBold(d->fontBold);
    font.setItalic(d->fontItalic);
    font.setUnderline(d->fontUnderline);
    // The dialog preselects a style by its name; without the family's own name for this
    // weight and slant it may preselect another one (an oblique one, say).
    const QString style = styleOf(font.family(), d->fontBold, d->fontItalic);
    if (!style.isEmpty())
        font.setStyleName(style);
    r.Font = font;
    r.Color = FromOleColor(d->color);
    r.FixedPitchOnly = d->fixedPitchOnly;
    const Answer answer = answerOf(r);
    if (!answer.Accepted)
        return false;
    d->fontName = answer.Font.family();
    d->fontBold = answer.Font.bold();
    d->fontItalic = answer.Font.italic();
    d->fontUnderline = answer.Font.underline();
    if (answer.Font.pointSizeF() > 0)
        d->fontSize = static_cast<qint16>(qRound(answer.Font.pointSizeF() * 10) / 10);
    return true;
}

bool CCommonDialogs::ShowPrinter()
{
    Request r = d->request(DialogKind::Printer);
    r.DeviceName = d->deviceName;
    r.PrintCopies = d->printCopies;
    r.AllowPrintToFile = d->allowPrintToFile;
    r.OutputFileName = d->outputFileName;
    const Answer answer = answerOf(r);
    if (!answer.Accepted)
        return false;
    const bool toFile = d->allowPrintToFile && !answer.OutputFileName.isEmpty();
    d->outputFileName = toFile ? answer.OutputFileName : QString();
    if (!toFile)
        d->deviceName = answer.DeviceName;
    d->orientation = static_cast<qint16>(answer.Orientation);
    d->printCopies = answer.PrintCopies;
    return true;
}

bool CCommonDialogs::ShowPrinterProperties()
{
    Request r = d->request(DialogKind::PrinterProperties);
    r.DeviceName = DeviceName();
    r.PrintCopies = d->printCopies;
    Answer answer;
    bool opened = true;
    if (dialogHook())
        answer = dialogHook()(r);
    else
        answer = runPrinterProperties(r, opened);
    if (!opened)
        return false;
    if (answer.PrintCopies > 0)
        d->printCopies = answer.PrintCopies;
    return answer.Accepted;
}

bool CCommonDialogs::ShowFolder(bool InitPath)
{
    Request r = d->request(DialogKind::Folder);
    r.Title = upToNul(d->title);
    r.Directory = InitPath ? upToNul(d->path) : QString();
    const Answer answer = answerOf(r);
    if (!answer.Accepted || answer.Folder.isEmpty())
        return false;
    d->path = upToNul(answer.Folder);
    d->fileName.clear();
    d->fileTitle.clear();
    return true;
}

} // namespace Fieldpane
