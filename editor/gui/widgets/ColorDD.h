#pragma once

#include "gui/widgets/frmColorPopUp.h"

#include <QFrame>
#include <QPointer>
#include <QString>

class QLabel;

namespace Fieldpane {
class EzButton;
}

/// A colour field: a swatch with the colour's name and a drop-down button that opens the
/// colour picker (a click on the field, the button, or F4 / Alt+Down).
class ColorDD final : public QFrame {
    Q_OBJECT
    /// An OLE colour: 0x00BBGGRR, or 0x80000000 + index for a system colour.
    Q_PROPERTY(uint Color READ Color WRITE setColor NOTIFY ColorChanged DESIGNABLE true STORED true)

public:
    /// The colour of a new control: the system's window text.
    static constexpr quint32 DefaultColor = 0x80000008u;

    explicit ColorDD(QWidget *parent = nullptr);
    ~ColorDD() override;

    quint32 Color() const { return m_color; }
    /// Stores the colour and refreshes the swatch and the name.
    void setColor(quint32 color);

    /// The name the label shows.
    QString ColorText() const;

    /// Opens the picker under the control (above it near the bottom of the screen).
    void DropDown();
    /// The open picker, or nullptr.
    frmColorPopUp *frm() const { return m_frm; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    void ColorChanged(uint color);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    Q_DISABLE_COPY_MOVE(ColorDD)
    void frm_Closing(const QString &name, qint32 color);
    void refresh();
    void paintSwatch();

    QWidget *m_picColor = nullptr;
    QLabel *m_lbl = nullptr;
    Fieldpane::EzButton *m_btnDD = nullptr;
    QPointer<frmColorPopUp> m_frm;
    quint32 m_color = DefaultColor;
    bool m_pressed = false;
};
