#pragma once

#include <QUrl>
#include <QWidget>

class QAction;
class QTextBrowser;
class QToolBar;

// The help window: the program's help page in a text browser with Back, Forward and Home.
// One window is reused for every help request; Install() makes it the viewer of CHTMLHelp.
class HelpViewer final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpViewer)

public:
    // A top-level window (owned by parent when one is given).
    explicit HelpViewer(QWidget *parent = nullptr);
    // Removes itself as CHTMLHelp's viewer when it is the one installed.
    ~HelpViewer() override;

    // Makes this window the viewer every CHTMLHelp opens help with.
    void Install();

    // Shows url (a local file, optionally with an anchor fragment) and brings the window to
    // the front. Home then leads to the file's start.
    void ShowUrl(const QUrl &url);

    QTextBrowser *browser() const { return m_browser; }
    QAction *backAction() const { return m_back; }
    QAction *forwardAction() const { return m_forward; }
    QAction *homeAction() const { return m_home; }

protected:
    bool event(QEvent *event) override;

private:
    void goHome();
    void stayUsableOverModalWindow();

    QToolBar *m_toolBar;
    QTextBrowser *m_browser;
    QAction *m_back;
    QAction *m_forward;
    QAction *m_home;
    QUrl m_homeUrl;
};
