#pragma once

#include <QDialog>
#include <QList>

class CPrinter;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLineEdit;
class QMenu;
class QPushButton;

// Edits the page settings: unit, margins, header and footer distances and templates, font and
// line numbers. OK writes every field back into the settings; Cancel leaves them unchanged.
class frmPageSetup final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmPageSetup)

public:
    explicit frmPageSetup(CPrinter &printer, QWidget *parent = nullptr);

    // Twips per screen pixel used to convert pixels (horizontal and vertical).
    static double TwipsPerPixelX();
    static double TwipsPerPixelY();

    // The unit the numeric fields are shown in.
    int ShownScaleMode() const { return m_shownMode; }

    void accept() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The parts of the dialog.
    QGroupBox *createMargins();
    QGroupBox *createHeaderFooter();
    QGroupBox *createFont();
    void createMacroMenu();
    void FormLoad();
    void ScaleModeChanged(int index);
    void ShowMacroMenu(int which);
    void InsertMacro(const QString &caption);
    bool ReadNumber(QLineEdit *field, const QString &label, double *value);
    // False, after telling the user and focusing the field to change, when the margins of page
    // leave no room for text.
    bool CheckRoom(const CPrinter &page);
    void Refuse(QLineEdit *field, const QString &message);
    // A field's name in messages: its label without the mnemonic and the colon.
    static QString FieldName(const QString &label);

    CPrinter &m_printer;
    int m_shownMode = 3;
    QChar m_decimal;

    QComboBox *m_cmbScaleMode;
    QList<QLineEdit *> m_txtMargin;   // top, bottom, left, right
    QList<QLineEdit *> m_txtHeadFoot; // header, footer
    QLineEdit *m_txtHeader;
    QLineEdit *m_txtFooter;
    QList<QPushButton *> m_cmdMenu;
    QComboBox *m_cmbFontName;
    QComboBox *m_cmbFontSize;
    QCheckBox *m_chkLineNumbers;
    QMenu *m_mnuPop;
    QLineEdit *m_menuTarget = nullptr;
};
