#include "QtPrinters.h"
#include "ui_GridForm.h"

#include <fieldpane/PropertyList.h>

#include <QPluginLoader>

#ifdef FIELDPANE_DESIGNER_PLUGIN
#include <QtUiPlugin/QDesignerCustomWidgetInterface>
#endif

#include <gtest/gtest.h>

TEST(DesignerForm, ButtonForStringSavedInAUiFileIsApplied)
{
    QWidget form;
    Ui::GridForm ui;
    ui.setupUi(&form);
    ASSERT_NE(ui.props, nullptr);
    EXPECT_TRUE(ui.props->ButtonForString());
    EXPECT_EQ(ui.props->ListItems()->Count(), 0);
}

#ifdef FIELDPANE_DESIGNER_PLUGIN
TEST(DesignerPlugin, OffersThePropertyListWithItsIconAndProperty)
{
    QPluginLoader loader(QStringLiteral(FIELDPANE_DESIGNER_PLUGIN));
    QObject *instance = loader.instance();
    ASSERT_NE(instance, nullptr) << loader.errorString().toStdString();
    auto *plugin = qobject_cast<QDesignerCustomWidgetInterface *>(instance);
    ASSERT_NE(plugin, nullptr);
    EXPECT_EQ(plugin->name(), QStringLiteral("Fieldpane::PropertyList"));
    EXPECT_EQ(plugin->includeFile(), QStringLiteral("fieldpane/PropertyList.h"));
    EXPECT_FALSE(plugin->isContainer());
    const QList<QSize> sizes = plugin->icon().availableSizes();
    ASSERT_FALSE(sizes.isEmpty());
    EXPECT_EQ(sizes.first(), QSize(16, 15));
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("name=\"ButtonForString\"")));
    EXPECT_TRUE(plugin->domXml().contains(QStringLiteral("class=\"Fieldpane::PropertyList\"")));
    QWidget parent;
    QWidget *widget = plugin->createWidget(&parent);
    auto *grid = qobject_cast<Fieldpane::PropertyList *>(widget);
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->parent(), &parent);
}
#endif
