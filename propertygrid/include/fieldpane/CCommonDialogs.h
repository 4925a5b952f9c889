#pragma once

#include <fieldpane/fieldpane_export.h>

#include <QColor>
#include <QFont>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QWidget;

namespace Fieldpane {

/// The standard file, folder, colour, font and printer dialogs behind plain properties.
/// Each Show function copies the properties into the dialog, shows it modally over the
/// owner given to Init, copies the choice back and returns true when the user confirmed;
/// a cancelled dialog leaves every property as it was.
///
/// Tests answer the dialogs without showing them through SetDialogHook.
class FIELDPANE_EXPORT CCommonDialogs final {
public:
    enum class DialogKind { Open, Save, Color, Font, Printer, PrinterProperties, Folder };

    /// What a dialog is asked to show.
    struct Request {
        DialogKind Kind = DialogKind::Open;
        QWidget *Owner = nullptr;
        QString Title;
        QStringList NameFilters; ///< Qt form: "Text Files (*.txt)", one per entry
        QString Directory;       ///< initial folder (empty: the platform's default)
        QString FileName;        ///< initial file
        QString DefExt;          ///< suffix added when the user types none
        QColor Color;
        bool FullOpen = false;
        QFont Font;
        bool FixedPitchOnly = false;
        QString DeviceName;
        int PrintCopies = 0;
        bool AllowPrintToFile = false; ///< printer: offer printing to a PDF file
        QString OutputFileName;        ///< printer: the file last printed to
    };

    /// What the user chose.
    struct Answer {
        bool Accepted = false;
        QString FileName; ///< open, save: the chosen file's full path
        QString Folder;   ///< folder: the chosen folder
        QColor Color;
        QFont Font;
        QString DeviceName;
        int Orientation = 0; ///< 1 portrait, 2 landscape
        int PrintCopies = 0;
        QString OutputFileName; ///< printer: the PDF file chosen instead of a device
    };

    using DialogHook = std::function<Answer(const Request &)>;

    /// Replaces every real dialog of the library (the grid's too) by `hook`; an empty hook
    /// restores the real dialogs. Meant for tests of hosts.
    static void SetDialogHook(DialogHook hook);
    static bool HasDialogHook();

    /// "Text Files|*.txt|All Files|*.*" in Qt's name-filter form.
    static QStringList ConvertFilter(const QString &filter);

    CCommonDialogs();
    ~CCommonDialogs();
    CCommonDialogs(const CCommonDialogs &) = delete;
    CCommonDialogs &operator=(const CCommonDialogs &) = delete;

    /// Remembers the owner window of every dialog.
    void Init(QWidget *owner);
    QWidget *Owner() const;

    QString FileTitle() const;
    void setFileTitle(const QString &value);
    QString Path() const;
    void setPath(const QString &value);
    QString Filter() const;
    void setFilter(const QString &value);
    QString FileName() const;
    void setFileName(const QString &value);
    /// OLE colour (0x00BBGGRR).
    quint32 Color() const;
    /// A system colour reference (high bit set) is stored as its current RGB value.
    void setColor(quint32 value);
    QString Title() const;
    void setTitle(const QString &value);
    QString DefExt() const;
    void setDefExt(const QString &value);
    QString FontName() const;
    void setFontName(const QString &value);
    qint16 FontSize() const;
    void setFontSize(qint16 value);
    bool FontBold() const;
    void setFontBold(bool value);
    bool FontItalic() const;
    void setFontItalic(bool value);
    bool FontUnderline() const;
    void setFontUnderline(bool value);
    qint32 PrintCopies() const;
    void setPrintCopies(qint32 value);
    qint16 CharSet() const;
    void setCharSet(qint16 value);
    /// The printer chosen last, or the system's default printer when none was chosen.
    QString DeviceName() const;
    qint16 Orientation() const;
    void setOrientation(qint16 value);
    /// Print setup: whether the dialog offers printing to a PDF file (off by default).
    bool AllowPrintToFile() const;
    void setAllowPrintToFile(bool value);
    /// Print setup: the PDF file chosen instead of a printer, empty when a printer was
    /// chosen (DeviceName then names it). Set beforehand, it is the file the dialog offers.
    QString OutputFileName() const;
    void setOutputFileName(const QString &value);
    /// Font dialog: whether it offers fixed-pitch fonts only (the default) or every font.
    bool FixedPitchOnly() const;
    void setFixedPitchOnly(bool value);

    bool ShowOpen();
    bool ShowSave();
    bool ShowColor(bool FullOpen = false);
    bool ShowFont();
    bool ShowPrinter();
    bool ShowPrinterProperties();
    bool ShowFolder(bool InitPath = false);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace Fieldpane
