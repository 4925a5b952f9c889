#pragma once

#include "core/settings/SharedSettings.h"

#include <QDialog>
#include <QStringList>

class ColorDD;
class QComboBox;
class QPushButton;

/// The options dialog: fonts of the visual and the source view and the colour of comment rows.
/// OK stores the choice in the settings record it was given; Cancel leaves the record alone.
class frmOptions final : public QDialog {
    Q_OBJECT

public:
    /// Offers the installed font families.
    explicit frmOptions(SharedSettings &settings, QWidget *parent = nullptr);
    /// Offers `fontNames` (sorted here) instead of the installed families.
    frmOptions(SharedSettings &settings, const QStringList &fontNames, QWidget *parent = nullptr);
    ~frmOptions() override;

    /// Shows the dialog modally over `owner` (through RunModal, which tests answer); true when
    /// the user pressed OK.
    static bool ShowOptions(SharedSettings &settings, QWidget *owner);

    /// The font sizes both size lists offer.
    static QStringList FontSizes();

    void accept() override;

private:
    Q_DISABLE_COPY_MOVE(frmOptions)
    void build(const QStringList &fontNames);
    void load();

    SharedSettings &m_settings;
    QComboBox *m_odlFontVisual = nullptr;
    QComboBox *m_cmbVisualFontSize = nullptr;
    ColorDD *m_cddComment = nullptr;
    QComboBox *m_odlFontSource = nullptr;
    QComboBox *m_cmbSourceFontSize = nullptr;
    QPushButton *m_cmdOK = nullptr;
    QPushButton *m_cmdCancel = nullptr;
};
