#pragma once

#include <QDialog>

#include <functional>

class CPrintPreview;
class CPrinter;
class QAction;
class QLabel;
class QMenu;
class QScrollBar;
class QToolBar;
class QToolButton;

// The print preview window: one page of a laid-out job at a time, scaled to the whole page, to
// the page width or to a percentage, with paging, zoom, print and close on its toolbar.
class frmPreview final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(frmPreview)

public:
    enum : int { WholePage = 1, PageWidth = 2, Percent = 3 };

    explicit frmPreview(QWidget *parent = nullptr);
    ~frmPreview() override;

    // The job shown; the window does not own it.
    void SetPreviewObject(const CPrintPreview *preview);
    const CPrintPreview *PreviewObject() const { return m_preview; }

    int ViewStyle() const { return m_viewStyle; }
    void SetViewStyle(int style);
    int Percentage() const { return m_percentage; }
    void SetPercentage(int percent);
    // 0-based page shown; values outside the pages are ignored.
    int Page() const { return m_page; }
    void SetPage(int page);
    int PageCount() const;

    QString PageCounterText() const;
    // Where the page image stands in the window, in pixels.
    QRect PageRect() const;
    QScrollBar *HorizontalScrollBar() const { return m_hsb; }
    QScrollBar *VerticalScrollBar() const { return m_vsb; }

    void done(int result) override;

    // Lays text out with the page settings on the current printer's paper and shows it
    // modally over owner, which is disabled meanwhile. printMe runs when the user asks to
    // print from the preview. Returns false when the preview could not be built.
    static bool ShowPreview(QWidget *owner, const CPrinter &settings, const QString &text,
                            const QString &documentPath, const std::function<void()> &printMe);
    // Seam for tests: runs instead of the modal loop of ShowPreview.
    using ExecHook = std::function<void(frmPreview &window)>;
    static void SetExecHook(ExecHook hook);

signals:
    void PrintMe();
    void CloseMe();

protected:
    void resizeEvent(QResizeEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The toolbar with its page, zoom, print and close buttons; the zoom button's menu.
    void createToolBar();
    QSizeF pageExtent(const QSizeF &sheet, double scaleWidth, double availH, double vsbWidth) const;
    void createZoomMenu(QAction *zoom);
    class PageView;

    void LayoutPage();
    void ZoomChanged();
    void OnHorizontalScroll(int value);
    void OnVerticalScroll(int value);
    void ChooseZoom(const QString &key);
    double TwipsPerPixelX() const;
    double TwipsPerPixelY() const;

    const CPrintPreview *m_preview = nullptr;
    int m_viewStyle = WholePage;
    int m_percentage = 50;
    int m_page = 0;
    bool m_closed = false;
    bool m_layingOut = false;

    QToolBar *m_toolbar;
    QLabel *m_pageCounter;
    QMenu *m_zoomMenu;
    PageView *m_view;
    QScrollBar *m_hsb;
    QScrollBar *m_vsb;
    QWidget *m_corner;
};
