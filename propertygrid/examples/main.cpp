// Fieldpane example: one row of each value type in a property grid.
#include <fieldpane/PropertyList.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

using namespace Fieldpane;

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Fieldpane example"));
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(QStringLiteral("Properties of the step:"), &window));

    auto *grid = new PropertyList(&window);
    grid->setButtonForString(true);
    CListItems *rows = grid->ListItems();
    rows->Add(QStringLiteral("Caption"), hlvString, QStringLiteral("Hello"), {},
              QStringLiteral("CAPTION"))
        .setBold(true);
    rows->Add(QStringLiteral("Message"), hlvTextArea, QStringLiteral("First line\r\nSecond line"),
              {}, QStringLiteral("MESSAGE"));
    CListItem file = rows->Add(QStringLiteral("Input file"), hlvFilePath,
                               QStringLiteral("/etc/hosts"), {}, QStringLiteral("FILE"));
    file.setFileFilter(QStringLiteral("Text Files|*.txt|All Files (*.*)|*.*"));
    rows->Add(QStringLiteral("Output folder"), hlvBrowseForFolder, QStringLiteral("/tmp"), {},
              QStringLiteral("FOLDER"));
    rows->Add(QStringLiteral("Repeat count"), hlvInteger, 3, {}, QStringLiteral("COUNT"));
    rows->Add(QStringLiteral("Match case"), hlvBoolean, true, {}, QStringLiteral("CASE"));
    // A long name takes at most half the width; drag the column boundary to see more of it.
    rows->Add(QStringLiteral("Direction of the search from the caret"), hlvArray,
              QStringLiteral("Down"),
              QStringList{QStringLiteral("Up"), QStringLiteral("Down"),
                          QStringLiteral("The whole document, starting again at its end")},
              QStringLiteral("DIRECTION"));
    rows->Add(
        QStringLiteral("Result variable"), hlvVariable, QStringLiteral("sResult"),
        QStringList{QStringLiteral("sResult"), QStringLiteral("nCount"), QStringLiteral("sLine")},
        QStringLiteral("VARIABLE"));
    grid->Refresh();
    layout->addWidget(grid, 1);

    auto *values = new QPlainTextEdit(&window);
    values->setReadOnly(true);
    values->setMaximumHeight(120);
    layout->addWidget(values);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Close, &window);
    layout->addWidget(buttons);

    QObject::connect(grid, &PropertyList::StringButton, &window, [&window](QString &value) {
        bool ok = false;
        const QString text =
            QInputDialog::getText(&window, QStringLiteral("Edit text"), QStringLiteral("Value:"),
                                  QLineEdit::Normal, value, &ok);
        if (ok)
            value = text;
    });
    QObject::connect(buttons, &QDialogButtonBox::accepted, &window, [grid, values] {
        grid->CommitEdit();
        QStringList lines;
        for (const CListItem &row : *grid->ListItems())
            lines << QStringLiteral("%1 = %2").arg(row.Key(), row.Value().toString());
        values->setPlainText(lines.join(u'\n'));
    });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QWidget::close);

    window.resize(420, 380);
    window.show();
    return QApplication::exec();
}
