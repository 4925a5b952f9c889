#include "PropertyListPlugin.h"

#include <fieldpane/PropertyList.h>

#include <QIcon>
#include <QPainter>
#include <QPixmap>

namespace {
// The widget box icon, 16 x 15: a small grid with a highlighted row and a drop button.
QPixmap toolboxPixmap()
{
    QPixmap pixmap(16, 15);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.fillRect(QRect(0, 0, 16, 15), QColor(0x80, 0x80, 0x80));
    p.fillRect(QRect(1, 1, 14, 13), Qt::white);
    p.fillRect(QRect(1, 1, 5, 13), QColor(0xD4, 0xD0, 0xC8));
    for (int y = 4; y < 14; y += 3)
        p.fillRect(QRect(1, y, 14, 1), QColor(0xA0, 0xA0, 0xA0));
    p.fillRect(QRect(6, 1, 1, 13), QColor(0xA0, 0xA0, 0xA0));
    p.fillRect(QRect(1, 5, 5, 2), QColor(0x00, 0x00, 0x80));
    p.fillRect(QRect(11, 5, 4, 2), QColor(0xD4, 0xD0, 0xC8));
    p.setPen(Qt::black);
    p.drawPoint(12, 5);
    p.drawPoint(13, 5);
    return pixmap;
}
} // namespace

PropertyListPlugin::PropertyListPlugin(QObject *parent) : QObject(parent) {}

QString PropertyListPlugin::name() const
{
    return QStringLiteral("Fieldpane::PropertyList");
}

QString PropertyListPlugin::group() const
{
    return QStringLiteral("Fieldpane");
}

QString PropertyListPlugin::toolTip() const
{
    return QStringLiteral("Property grid");
}

QString PropertyListPlugin::whatsThis() const
{
    return QStringLiteral("A two-column grid of named, typed values with in-place editors.");
}

QString PropertyListPlugin::includeFile() const
{
    return QStringLiteral("fieldpane/PropertyList.h");
}

QIcon PropertyListPlugin::icon() const
{
    return QIcon(toolboxPixmap());
}

bool PropertyListPlugin::isContainer() const
{
    return false;
}

QWidget *PropertyListPlugin::createWidget(QWidget *parent)
{
    return new Fieldpane::PropertyList(parent);
}

bool PropertyListPlugin::isInitialized() const
{
    return m_initialized;
}

void PropertyListPlugin::initialize(QDesignerFormEditorInterface *)
{
    m_initialized = true;
}

QString PropertyListPlugin::domXml() const
{
    return QStringLiteral(R"(<ui language="c++">
 <widget class="Fieldpane::PropertyList" name="props">
  <property name="geometry">
   <rect><x>0</x><y>0</y><width>240</width><height>160</height></rect>
  </property>
  <property name="ButtonForString">
   <bool>false</bool>
  </property>
 </widget>
 <customwidgets>
  <customwidget>
   <class>Fieldpane::PropertyList</class>
   <extends>QFrame</extends>
   <header>fieldpane/PropertyList.h</header>
  </customwidget>
 </customwidgets>
</ui>
)");
}
