#include "DesignKit.h"
#include "FakeFormWindow.h"
#include "dialogs/Zor.Vcl.Component.h"

#include <QFileInfo>
#include <QImage>
#include <QMetaProperty>
#include <QWidget>
#include <QXmlStreamReader>

#include <gtest/gtest.h>

#include <memory>

namespace {

using zor::test::DesignComponents;

// Designer lists every component of the library under one group, each made by the plugin as the
// class it names and included from a header of the installed tree.
TEST(DesignPlugin, ListsEveryComponentUnderItsGroup)
{
    const QStringList expected { "TZORLabelComponent", "TZOREditor", "TZORInspector", "TZORPreview", "TZORViewLibrary",
        "TZORSpinEditFloat" };
    QStringList names;
    for (QDesignerCustomWidgetInterface* component : DesignComponents()) {
        names << component->name();
        EXPECT_EQ(component->group(), QStringLiteral("QUINDLE VCL STD")) << component->name().toStdString();
        EXPECT_FALSE(component->isContainer());
        EXPECT_TRUE(QFileInfo::exists(QStringLiteral(QUINDLE_SOURCE_DIR "/") + component->includeFile()))
            << component->includeFile().toStdString();
        const std::unique_ptr<QWidget> widget(component->createWidget(nullptr));
        ASSERT_NE(widget, nullptr);
        EXPECT_EQ(QString::fromLatin1(widget->metaObject()->className()), component->name());
    }
    EXPECT_EQ(names, expected);
}

// Each description is the markup Designer reads: a widget of the class, and for the label the
// data's texts marked as multi-line.
TEST(DesignPlugin, DescribesEachComponentInDesignerMarkup)
{
    for (QDesignerCustomWidgetInterface* component : DesignComponents()) {
        QXmlStreamReader xml(component->domXml());
        QString widgetClass;
        while (!xml.atEnd()) {
            if (xml.readNext() == QXmlStreamReader::StartElement && xml.name() == QStringLiteral("widget"))
                widgetClass = xml.attributes().value(QStringLiteral("class")).toString();
        }
        EXPECT_FALSE(xml.hasError()) << component->name().toStdString() << ": " << xml.errorString().toStdString();
        EXPECT_EQ(widgetClass, component->name());
    }
    EXPECT_TRUE(zor::test::DesignComponent(QStringLiteral("TZORLabelComponent"))
                    ->domXml()
                    .contains(QStringLiteral("name=\"DataJson\" notr=\"true\" type=\"multiline\"")));
}

// The size in a description's geometry; empty when it has none.
QSize DescribedSize(const QString& domXml)
{
    QXmlStreamReader xml(domXml);
    QSize size;
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        if (xml.name() == QStringLiteral("width"))
            size.setWidth(xml.readElementText().toInt());
        else if (xml.name() == QStringLiteral("height"))
            size.setHeight(xml.readElementText().toInt());
    }
    return size;
}

// A view is dropped at a size to work in: its description's geometry, which is also the size it
// asks for in a layout. The small controls go by their own size hint.
TEST(DesignPlugin, EachComponentHasASensibleDefaultSize)
{
    struct TCase {
        const char* className;
        QSize described; // empty: no geometry in the description
        QSize least;
    };
    const TCase cases[] = {
        { "TZORLabelComponent", {}, { 16, 16 } },
        { "TZOREditor", { 400, 300 }, { 400, 300 } },
        { "TZORInspector", { 240, 400 }, { 240, 400 } },
        { "TZORPreview", { 320, 240 }, { 320, 240 } },
        { "TZORViewLibrary", { 240, 320 }, { 240, 320 } },
        { "TZORSpinEditFloat", {}, { 40, 16 } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.className);
        QDesignerCustomWidgetInterface* component
            = zor::test::DesignComponent(QString::fromLatin1(c.className));
        ASSERT_NE(component, nullptr);
        EXPECT_EQ(DescribedSize(component->domXml()), c.described);
        const std::unique_ptr<QWidget> widget(component->createWidget(nullptr));
        const QSize hint = widget->sizeHint();
        EXPECT_GE(hint.width(), c.least.width());
        EXPECT_GE(hint.height(), c.least.height());
        if (c.described.isValid()) {
            EXPECT_EQ(hint, c.described);
        }
    }
}

// Designer shows the properties it can edit; a pointer (the label a view shows, set in code or
// through the label's Views) is not one of them, so Designer has nothing to warn about.
TEST(DesignPlugin, NoPointerPropertyIsDesignable)
{
    int pointers = 0;
    for (QDesignerCustomWidgetInterface* component : DesignComponents()) {
        const std::unique_ptr<QWidget> widget(component->createWidget(nullptr));
        const QMetaObject* meta = widget->metaObject();
        for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
            const QMetaProperty property = meta->property(i);
            if (!QByteArray(property.typeName()).endsWith('*'))
                continue;
            ++pointers;
            EXPECT_FALSE(property.isDesignable()) << meta->className() << "::" << property.name();
        }
    }
    EXPECT_EQ(pointers, 4); // the label of the editor, the inspector, the preview and the viewer
}

// Each component shows in the palette with an icon of its own.
TEST(DesignPlugin, EachComponentHasItsOwnIcon)
{
    QList<QImage> icons;
    for (QDesignerCustomWidgetInterface* component : DesignComponents()) {
        const QImage icon = component->icon().pixmap(24, 24).toImage();
        ASSERT_FALSE(icon.isNull()) << component->name().toStdString();
        EXPECT_FALSE(icons.contains(icon)) << component->name().toStdString() << " shares an icon";
        icons << icon;
    }
}

// The label is a component, not a control: hidden on a running form, shown as a tile on a form
// that Designer edits.
TEST(DesignPlugin, TheLabelShowsOnlyInDesigner)
{
    QDesignerCustomWidgetInterface* label = zor::test::DesignComponent(QStringLiteral("TZORLabelComponent"));
    ASSERT_NE(label, nullptr);
    QWidget form;
    QWidget* running = label->createWidget(&form);
    form.show();
    EXPECT_FALSE(running->isVisible());

    zor::test::TFakeFormWindow designer;
    QWidget* designed = label->createWidget(designer.Form());
    designer.show();
    EXPECT_TRUE(designed->isVisible());
    EXPECT_TRUE(qobject_cast<TZORLabelComponent*>(designed)->IsDesignMode());
}

} // namespace
