// Checks of the catalogue and icons that ship with the program.
#include "CatalogueCbor.h"
#include "CatalogueJson.h"

#include <QFile>
#include <QImage>
#include <QSet>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

using namespace stepsmith::catalogue;

namespace {

const QString kSourceDir = QStringLiteral(STEPSMITH_SOURCE_DIR);

// The actions the program keeps an icon for, and which the catalogue must define.
const QStringList kActionNames =
    QStringLiteral(
        "var set range setrange shortexpression printdoc outputsetvisible outputgetvisible "
        "linecount "
        "outputclear outputgetline outputgettext outputlinecount outputgetselected "
        "outputsetselected "
        "outputaddtext savedoc saveall printall opendoc cut paste copy showinbrowser newdoc undo "
        "redo "
        "closedoc closeall if else endif loop breakloop endloop getlanguage setlanguage inserttext "
        "setseltext settext getseltext gettext getline insertfile findtext findprev findnext "
        "replacetext replacenext replaceall usertool findmarkall bmcount shell goto msgbox "
        "inputbox "
        "choicedlg vbscript bmtoggle bmclear bmnext bmprev bmfirst bmlast")
        .split(QLatin1Char(' '));

Catalogue bundled()
{
    QFile file(kSourceDir + QStringLiteral("/data/actions.json"));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    const JsonReadResult r = readJson(file.readAll());
    EXPECT_TRUE(r.ok()) << r.errors.join(QLatin1Char('\n')).toStdString();
    return r.catalogue;
}

const Attribute *findAttribute(const Action &action, const QString &name)
{
    for (const Attribute &a : action.attributes) {
        if (a.name == name)
            return &a;
    }
    return nullptr;
}

} // namespace

TEST(BundledCatalogue, DefinesExactlyTheExpectedActions)
{
    ASSERT_EQ(kActionNames.size(), 65);
    const Catalogue c = bundled();
    EXPECT_EQ(c.actions.size(), 65);
    for (const QString &name : kActionNames) {
        int found = 0;
        for (const Action &a : c.actions)
            found += a.elementName == name ? 1 : 0;
        EXPECT_EQ(found, 1) << name.toStdString();
    }
    for (const Action &a : c.actions) {
        EXPECT_FALSE(a.description.isEmpty()) << a.elementName.toStdString();
        EXPECT_FALSE(a.parent.isEmpty()) << a.elementName.toStdString();
        EXPECT_GT(a.information.size(), 30) << a.elementName.toStdString();
        for (const Attribute &attr : a.attributes)
            EXPECT_FALSE(attr.description.isEmpty())
                << a.elementName.toStdString() << '.' << attr.name.toStdString();
    }
}

TEST(BundledCatalogue, MeetsWhatTheEditorReliesOn)
{
    const Catalogue c = bundled();
    // Block names are compared exactly, so they must be lower case.
    for (const char *block : {"if", "else", "endif", "loop", "endloop"}) {
        const int i = c.indexOf(QString::fromLatin1(block));
        ASSERT_GE(i, 0) << block;
        EXPECT_EQ(c.actions.at(i).elementName, QString::fromLatin1(block));
    }
    for (const char *declaration : {"var", "range"}) {
        const int i = c.indexOf(QString::fromLatin1(declaration));
        ASSERT_GE(i, 0);
        const Attribute *name = findAttribute(c.actions.at(i), QStringLiteral("name"));
        ASSERT_NE(name, nullptr) << declaration;
        EXPECT_TRUE(name->required);
    }
}

TEST(BundledCatalogue, UsesEveryKindOfField)
{
    const Catalogue c = bundled();
    QSet<int> types;
    bool required = false, arrayValues = false, singleLineText = false, multiLineText = false;
    bool boolDefault = false, intDefault = false, stringDefault = false;
    for (const Action &a : c.actions) {
        if (a.containsText)
            (a.textMultiLine ? multiLineText : singleLineText) = true;
        for (const Attribute &attr : a.attributes) {
            types.insert(attr.dataType);
            required |= attr.required;
            arrayValues |= !attr.arrayValues.isEmpty();
            boolDefault |= attr.defaultValue.typeId() == QMetaType::Bool;
            intDefault |= attr.defaultValue.typeId() == QMetaType::LongLong;
            stringDefault |= attr.defaultValue.typeId() == QMetaType::QString &&
                             !attr.defaultValue.toString().isEmpty();
        }
    }
    for (int type = MinDataType; type <= MaxDataType; ++type)
        EXPECT_TRUE(types.contains(type)) << "DataType " << type << " unused";
    EXPECT_TRUE(required);
    EXPECT_TRUE(arrayValues);
    EXPECT_TRUE(singleLineText);
    EXPECT_TRUE(multiLineText);
    EXPECT_TRUE(boolDefault);
    EXPECT_TRUE(intDefault);
    EXPECT_TRUE(stringDefault);

    const Action &find = c.actions.at(c.indexOf(QStringLiteral("findtext")));
    const Attribute *direction = findAttribute(find, QStringLiteral("direction"));
    ASSERT_NE(direction, nullptr);
    EXPECT_EQ(direction->dataType, List);
    EXPECT_EQ(direction->arrayValueList(), (QStringList{"Up", "Down"}));
}

TEST(BundledCatalogue, CompilesAndReadsBackUnchanged)
{
    const Catalogue c = bundled();
    const CborReadResult back = fromCbor(toCbor(c));
    ASSERT_TRUE(back.ok());
    EXPECT_EQ(back.catalogue, c);
}

TEST(BundledIcons, EveryActionAndSpecialKeyHasBothSizes)
{
    QFile qrc(kSourceDir + QStringLiteral("/editor/resources/icons.qrc"));
    ASSERT_TRUE(qrc.open(QIODevice::ReadOnly));
    QXmlStreamReader xml(&qrc);
    QString prefix;
    QMap<QString, QString> files; // "/icons/16/var.png" -> file path relative to the qrc
    while (!xml.atEnd()) {
        xml.readNext();
        if (!xml.isStartElement())
            continue;
        if (xml.name() == QLatin1String("qresource")) {
            prefix = xml.attributes().value(QLatin1String("prefix")).toString();
        } else if (xml.name() == QLatin1String("file")) {
            const QString alias = xml.attributes().value(QLatin1String("alias")).toString();
            const QString path = xml.readElementText();
            files.insert(prefix + QLatin1Char('/') + (alias.isEmpty() ? path : alias), path);
        }
    }
    ASSERT_FALSE(xml.hasError()) << xml.errorString().toStdString();

    QStringList keys = kActionNames;
    keys << QStringLiteral("Default_Icon") << QStringLiteral("folder")
         << QStringLiteral("OpenFolder") << QStringLiteral("Arrow");
    for (const QString &key : keys) {
        for (int size : {16, 32}) {
            const QString resource = QStringLiteral("/icons/%1/%2.png").arg(size).arg(key);
            ASSERT_TRUE(files.contains(resource)) << resource.toStdString();
            const QImage image(kSourceDir + QStringLiteral("/editor/resources/") +
                               files.value(resource));
            ASSERT_FALSE(image.isNull()) << resource.toStdString();
            EXPECT_EQ(image.size(), QSize(size, size)) << resource.toStdString();
            EXPECT_TRUE(image.hasAlphaChannel()) << resource.toStdString();
        }
    }
}
