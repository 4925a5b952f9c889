// Fieldpane example: a property grid with one row of each value type, in categories, with the
// filter field, the description pane, read-only rows, default values, a spin box, check boxes
// and colour and font rows. "--dark" shows it in a dark palette.
#include <fieldpane/PropertyList.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QInputDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QStyleFactory>
#include <QVBoxLayout>

using namespace Fieldpane;
using namespace Qt::StringLiterals;

namespace {

void addTextRows(CListItems &rows)
{
    CListItem caption = rows.Add(u"Caption"_s, hlvString, u"Hello"_s, {}, u"CAPTION"_s);
    caption.setBold(true);
    caption.setCategory(u"Text"_s);
    caption.setDescription(u"The title of the message box. Required."_s);
    CListItem message =
        rows.Add(u"Message"_s, hlvTextArea, u"First line\r\nSecond line"_s, {}, u"MESSAGE"_s);
    message.setCategory(u"Text"_s);
    message.setDescription(u"The text of the message; the drop-down edits several lines."_s);
    CListItem variable =
        rows.Add(u"Result variable"_s, hlvVariable, u"sResult"_s,
                 QStringList{u"sResult"_s, u"nCount"_s, u"sLine"_s}, u"VARIABLE"_s);
    variable.setCategory(u"Text"_s);
    variable.setDescription(u"Type a name or pick one of the script's variables."_s);
}

void addSearchRows(CListItems &rows)
{
    CListItem count = rows.Add(u"Repeat count"_s, hlvInteger, 3, {}, u"COUNT"_s);
    count.setCategory(u"Search"_s);
    count.setRange(1, 99);
    count.setDefaultValue(1);
    count.setDescription(u"How often the search runs (1 to 99). Right-click to reset."_s);
    CListItem matchCase = rows.Add(u"Match case"_s, hlvBoolean, true, {}, u"CASE"_s);
    matchCase.setCategory(u"Search"_s);
    matchCase.setDefaultValue(false);
    matchCase.setDescription(u"Whether upper and lower case letters must match."_s);
    // A long name takes at most half the width; drag the column boundary to see more of it.
    CListItem direction = rows.Add(
        u"Direction of the search from the caret"_s, hlvArray, u"Down"_s,
        QStringList{u"Up"_s, u"Down"_s, u"The whole document, starting again at its end"_s},
        u"DIRECTION"_s);
    direction.setCategory(u"Search"_s);
    direction.setDescription(u"Where the search goes from the caret."_s);
}

void addFileRows(CListItems &rows)
{
    CListItem file = rows.Add(u"Input file"_s, hlvFilePath, u"/etc/hosts"_s, {}, u"FILE"_s);
    file.setFileFilter(u"Text Files|*.txt|All Files (*.*)|*.*"_s);
    file.setCategory(u"Files"_s);
    file.setDescription(u"The file the script reads."_s);
    CListItem folder = rows.Add(u"Output folder"_s, hlvBrowseForFolder, u"/tmp"_s, {}, u"FOLDER"_s);
    folder.setCategory(u"Files"_s);
    folder.setDescription(u"Where the results are written."_s);
    CListItem version = rows.Add(u"Format version"_s, hlvString, u"2.1"_s, {}, u"VERSION"_s);
    version.setCategory(u"Files"_s);
    version.setReadOnly(true);
    version.setDescription(u"Read-only: select it and copy the value with Ctrl+C."_s);
}

void addLookRows(CListItems &rows)
{
    CListItem colour =
        rows.Add(u"Highlight colour"_s, hlvColor, QColor(0x2a, 0x82, 0xda), {}, u"COLOR"_s);
    colour.setCategory(u"Appearance"_s);
    colour.setDefaultValue(QColor(Qt::yellow));
    colour.setDescription(u"Type #rrggbb or a colour name, or pick one with the button."_s);
    CListItem font =
        rows.Add(u"Output font"_s, hlvFont, QFont(u"DejaVu Sans Mono"_s, 10), {}, u"FONT"_s);
    font.setCategory(u"Appearance"_s);
    font.setDescription(u"The font of the output window."_s);
}

QPalette darkPalette()
{
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(45, 45, 48));
    dark.setColor(QPalette::WindowText, QColor(220, 220, 220));
    dark.setColor(QPalette::Base, QColor(30, 30, 30));
    dark.setColor(QPalette::AlternateBase, QColor(40, 40, 40));
    dark.setColor(QPalette::Text, QColor(220, 220, 220));
    dark.setColor(QPalette::Button, QColor(53, 53, 56));
    dark.setColor(QPalette::ButtonText, QColor(220, 220, 220));
    dark.setColor(QPalette::Highlight, QColor(42, 130, 218));
    dark.setColor(QPalette::HighlightedText, Qt::white);
    dark.setColor(QPalette::Light, QColor(80, 80, 84));
    dark.setColor(QPalette::Midlight, QColor(66, 66, 70));
    dark.setColor(QPalette::Mid, QColor(62, 62, 66));
    dark.setColor(QPalette::Dark, QColor(25, 25, 25));
    dark.setColor(QPalette::Shadow, Qt::black);
    dark.setColor(QPalette::PlaceholderText, QColor(140, 140, 140));
    dark.setColor(QPalette::Disabled, QPalette::Text, QColor(120, 120, 120));
    dark.setColor(QPalette::Disabled, QPalette::ButtonText, QColor(120, 120, 120));
    return dark;
}

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (QApplication::arguments().contains(QStringLiteral("--dark"))) {
        QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
        QApplication::setPalette(darkPalette());
    }
    QWidget window;
    window.setWindowTitle(u"Fieldpane example"_s);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(new QLabel(u"Properties of the step:"_s, &window));

    auto *grid = new PropertyList(&window);
    grid->setButtonForString(true);
    grid->setCheckBoxForBooleans(true);
    grid->setSpinBoxForNumbers(true);
    grid->setFilterFieldVisible(true);
    grid->setDescriptionVisible(true);
    CListItems *rows = grid->ListItems();
    addTextRows(*rows);
    addSearchRows(*rows);
    addFileRows(*rows);
    addLookRows(*rows);
    grid->Refresh();
    layout->addWidget(grid, 1);

    auto *log = new QPlainTextEdit(&window);
    log->setReadOnly(true);
    log->setMaximumHeight(90);
    log->setPlaceholderText(u"Changes appear here."_s);
    layout->addWidget(log);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, &window);
    layout->addWidget(buttons);

    QObject::connect(grid, &PropertyList::StringButton, &window, [&window](QString &value) {
        bool ok = false;
        const QString text = QInputDialog::getText(&window, u"Edit text"_s, u"Value:"_s,
                                                   QLineEdit::Normal, value, &ok);
        if (ok)
            value = text;
    });
    QObject::connect(grid, &PropertyList::ValueChanged, log,
                     [log](const CListItem &row, const QVariant &, const QVariant &) {
                         log->appendPlainText(u"%1 = %2"_s.arg(row.Name(), row.Value().toString()));
                     });
    QObject::connect(buttons, &QDialogButtonBox::rejected, &window, &QWidget::close);

    window.resize(460, 600);
    window.show();
    return QApplication::exec();
}
