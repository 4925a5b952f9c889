#pragma once

#include <QFrame>

class QLabel;

namespace Fieldpane {

/// The pane under a grid's rows that shows the current row's name in bold and its
/// description below it.
class DescriptionPane final : public QFrame {
    Q_OBJECT

public:
    explicit DescriptionPane(QWidget *parent = nullptr);
    ~DescriptionPane() override;

    void setContent(const QString &name, const QString &description);
    QString name() const;
    QString description() const;

protected:
    void changeEvent(QEvent *event) override;

private:
    Q_DISABLE_COPY_MOVE(DescriptionPane)
    void updateFonts();

    QLabel *m_name = nullptr;
    QLabel *m_description = nullptr;
};

} // namespace Fieldpane
