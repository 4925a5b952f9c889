#pragma once

#include <fieldpane/fieldpane_export.h>

#include <QAbstractButton>

namespace Fieldpane {

/// A small push button that shows an ellipsis (style 0) or a drop-down arrow (style 1).
/// It takes no keyboard focus, so the field it belongs to keeps it.
class FIELDPANE_EXPORT EzButton final : public QAbstractButton {
    Q_OBJECT
    Q_PROPERTY(int Style READ Style WRITE setStyle NOTIFY StyleChanged)

public:
    enum ButtonStyle { Ellipsis = 0, DropArrow = 1 };

    explicit EzButton(QWidget *parent = nullptr);
    ~EzButton() override;

    int Style() const;
    /// Any other value shows no glyph.
    void setStyle(int style);

    WId hwnd() { return winId(); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

Q_SIGNALS:
    /// The button was pressed (mouse click or click()).
    void Click();
    void StyleChanged(int style);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    Q_DISABLE_COPY_MOVE(EzButton)
    int m_style = Ellipsis;
};

} // namespace Fieldpane
