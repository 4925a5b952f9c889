#pragma once

#include <QAbstractButton>
#include <QString>
#include <QWidget>

class QLabel;

// The flat close button of a TitleBar: a cross drawn by the style, highlighted under the
// pointer and sunken while pressed. It never takes the keyboard focus.
class TitleBarCloseButton final : public QAbstractButton {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitleBarCloseButton)

public:
    explicit TitleBarCloseButton(QWidget *parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
};

// A thin caption strip with a close cross at its right end, used as the header of a docked
// pane. Its height is fixed at 240 twips (taller only when the font needs it).
class TitleBar final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TitleBar)
    Q_PROPERTY(QString Caption READ Caption WRITE setCaption NOTIFY CaptionChanged)

public:
    explicit TitleBar(QWidget *parent = nullptr);

    QString Caption() const;
    void setCaption(const QString &caption);

    // The bar's height in pixels for a widget's screen and font.
    static int BarHeight(const QWidget *widget);

    QLabel *captionLabel() const { return m_lblCaption; }
    TitleBarCloseButton *closeButton() const { return m_lblClose; }

signals:
    // The close cross was clicked.
    void CloseClick();
    void CaptionChanged(const QString &caption);

protected:
    void paintEvent(QPaintEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void updateHeight();

    QLabel *m_lblCaption;
    TitleBarCloseButton *m_lblClose;
};
