#include "DesignKit.h"
#include "FakeFormWindow.h"
#include "dialogs/Zor.Vcl.Component.h"

#include <QFileInfo>
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
