#pragma once

#include <QDialog>

class QLabel;

// The about box: the program's icon, description, version and legal notice.
class frmAbout final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmAbout)

public:
    explicit frmAbout(QWidget *parent = nullptr);

    // "Version " + major + "." + minor + " rev " + revision.
    static QString VersionText(int major, int minor, int revision);
    // The program's own version text.
    static QString ProgramVersionText();

    QLabel *versionLabel() const { return m_version; }

private:
    QLabel *m_version;
};
