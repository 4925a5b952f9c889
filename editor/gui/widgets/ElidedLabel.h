#pragma once

#include <QLabel>

// A one-line label for a status panel: text that does not fit ends with an ellipsis and the
// full text shows as its tool tip. text() stays the full text; the label never asks for more
// room than a few characters, so a long text cannot push into the next panel.
class ElidedLabel final : public QLabel {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(ElidedLabel)

public:
    explicit ElidedLabel(QWidget *parent = nullptr);

    // The text as painted at the label's current width.
    QString shownText() const;

    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    QRect textRect() const;
};
