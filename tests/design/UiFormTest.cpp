#include "DesignKit.h"
#include "Zor.Act.h"
#include "dialogs/Zor.Preview.h"
#include "dialogs/Zor.Vcl.Component.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "inspector/Zor.Inspector.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>
#include <QCoreApplication>
#include <QFileInfo>
#include <QTest>
#include <QUiLoader>

#include <gtest/gtest.h>

#include <memory>

using zor::TAct;
using zor::TAlphaColor;

namespace {

// A form as Designer saves it: the label first (its views come after it), then an editor, an
// inspector and a preview that show it.
constexpr char FormUi[] = R"(<?xml version="1.0" encoding="UTF-8"?>
<ui version="4.0">
 <class>Form</class>
 <widget class="QWidget" name="Form">
  <property name="geometry"><rect><x>0</x><y>0</y><width>500</width><height>700</height></rect></property>
  <layout class="QVBoxLayout" name="layout">
   <item>
    <widget class="TZORLabelComponent" name="Label1">
     <property name="PaperName"><string>A5</string></property>
     <property name="ImageFolder"><string>/srv/images</string></property>
     <property name="DataSets"><string>[{"Name":"Products","Alias":"Goods","Fields":[{"Name":"Price","Alias":"","Type":4}]}]</string></property>
     <property name="Views"><stringlist><string>Editor1</string><string>Inspector1</string><string>Preview1</string></stringlist></property>
    </widget>
   </item>
   <item><widget class="TZOREditor" name="Editor1"/></item>
   <item><widget class="TZORInspector" name="Inspector1"/></item>
   <item><widget class="TZORPreview" name="Preview1"/></item>
  </layout>
 </widget>
</ui>
)";

std::unique_ptr<QWidget> LoadForm()
{
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(zor::test::DesignPluginFile()).absolutePath());
    QByteArray text(FormUi);
    QBuffer buffer(&text);
    buffer.open(QIODevice::ReadOnly);
    std::unique_ptr<QWidget> form(loader.load(&buffer));
    EXPECT_NE(form, nullptr) << loader.errorString().toStdString();
    return form;
}

// QUiLoader knows the components through the plugin.
TEST(UiForm, TheLoaderKnowsTheComponents)
{
    QUiLoader loader;
    loader.clearPluginPaths();
    loader.addPluginPath(QFileInfo(zor::test::DesignPluginFile()).absolutePath());
    const QStringList known = loader.availableWidgets();
    for (const char* name : { "TZORLabelComponent", "TZOREditor", "TZORInspector", "TZORPreview",
             "TZORViewLibrary", "TZORSpinEditFloat" })
        EXPECT_TRUE(known.contains(QString::fromLatin1(name))) << name;
}

// The red pixels a view shows.
int RedCount(QWidget& view)
{
    const QImage shown = view.grab().toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            const QColor c = shown.pixelColor(x, y);
            count += c.red() > 200 && c.green() < 60 && c.blue() < 60;
        }
    }
    return count;
}

// The form comes back with the label's settings, the label hidden and the views linked to it
// once the form is built: a box drawn in the editor shows in the inspector and the preview.
TEST(UiForm, AFormWithTheLabelAndItsViewsLoadsAndWorks)
{
    TAct::Reset();
    const std::unique_ptr<QWidget> form = LoadForm();
    ASSERT_NE(form, nullptr);
    auto* component = form->findChild<TZORLabelComponent*>(QStringLiteral("Label1"));
    auto* editor = form->findChild<TZOREditor*>(QStringLiteral("Editor1"));
    auto* inspector = form->findChild<TZORInspector*>(QStringLiteral("Inspector1"));
    auto* preview = form->findChild<TZORPreview*>(QStringLiteral("Preview1"));
    ASSERT_TRUE(component && editor && inspector && preview);
    TZORLabelVCL& label = component->Label();
    EXPECT_EQ(label.Measure().GetPaperName(), QStringLiteral("A5"));
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 148000);
    EXPECT_EQ(label.GetImageFolder(), QStringLiteral("/srv/images"));
    ASSERT_EQ(label.Data().Datasets().size(), 1u);
    EXPECT_EQ(label.Data().Datasets()[0].GetAlias(), QStringLiteral("Goods"));
    EXPECT_EQ(label.Data().Datasets()[0].GetFields()[0].GetType(), TZORFieldType::Float);

    form->show();
    QCoreApplication::processEvents();
    EXPECT_FALSE(component->isVisible());
    EXPECT_EQ(editor->GetLabel(), &label);
    EXPECT_EQ(inspector->GetLabel(), &label);
    EXPECT_EQ(preview->GetLabel(), &label);
    EXPECT_EQ(inspector->RowCount(), 0);
    EXPECT_EQ(RedCount(*preview->viewport()), 0);

    editor->SetDPIOverride(96);
    // The editor draws on the label: one large enough for the box.
    label.Measure().SetWidth(150000);
    label.Measure().SetHeight(100000);
    label.Notify(TZRChange::PaperSize);
    TAct::SetCurAction(zor::acRectangle);
    label.Notify(TZRChange::Tool);
    TZOREditorGeometry& g = editor->Surface().G;
    const auto at
        = [&](int64_t xmm, int64_t ymm) { return QPoint(g.ScreenMMX(xmm * 1000), g.ScreenMMY(ymm * 1000)); };
    QTest::mouseClick(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, at(10, 10));
    QTest::mouseMove(&editor->Surface(), at(60, 40));
    QTest::mouseClick(&editor->Surface(), Qt::LeftButton, Qt::NoModifier, at(100, 80));
    ASSERT_EQ(label.GetItemsCount(), 1);
    auto* box = dynamic_cast<TZORRectangle*>(label.GetItem(1));
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(label.Select(), box);
    QCoreApplication::processEvents();
    EXPECT_GT(inspector->RowCount(), 0);

    box->SetFilled(true);
    box->SetBackColor(TAlphaColor { 0xFFFF0000u });
    label.Refresh();
    QCoreApplication::processEvents();
    EXPECT_GT(RedCount(*preview->viewport()), 100);
    TAct::Reset();
}

} // namespace
