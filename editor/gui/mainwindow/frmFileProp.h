#pragma once

#include <QDialog>

class CHeader;
class QDialogButtonBox;
class QLineEdit;
class QPlainTextEdit;

// "File Properties": edits the script header (author, company, e-mail, home page, version,
// description). OK is enabled only while the version holds more than blanks.
class frmFileProp final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmFileProp)

public:
    explicit frmFileProp(const CHeader &header, QWidget *parent = nullptr);

    // Writes the fields into header (the description on one line).
    void Apply(CHeader &header) const;

    QLineEdit *txtAuthor() const { return m_author; }
    QLineEdit *txtCompany() const { return m_company; }
    QLineEdit *txtEMail() const { return m_email; }
    QLineEdit *txtWeb() const { return m_web; }
    QLineEdit *txtVersion() const { return m_version; }
    QPlainTextEdit *txtDescription() const { return m_description; }
    QDialogButtonBox *buttons() const { return m_buttons; }
    bool okEnabled() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void updateOk();

    QLineEdit *m_author;
    QLineEdit *m_company;
    QLineEdit *m_email;
    QLineEdit *m_web;
    QLineEdit *m_version;
    QPlainTextEdit *m_description;
    QDialogButtonBox *m_buttons;
};
