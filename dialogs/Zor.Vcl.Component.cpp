#include "Zor.Vcl.Component.h"

#include "Zor.Json.h"
#include "Zor.LabelDialogs.h"
#include "label/Zor.Vcl.h"

#include <QMetaObject>
#include <QPainter>

using zor::TJsonArray;
using zor::TJsonObject;

TZORLabelComponent::TZORLabelComponent(QWidget* parent)
    : QWidget(parent)
    , fLabel(new TZORLabelVCL(this))
{
    zor::InstallLabelDialogs();
    // A component, not a control: nothing of it shows on the running form.
    hide();
}

void TZORLabelComponent::SetDesignMode(bool design)
{
    fDesign = design;
    setVisible(design);
}

int TZORLabelComponent::LinkViews()
{
    fLinkQueued = false;
    int linked = 0;
    QWidget* form = window();
    for (const QString& name : fViews) {
        QWidget* view = name.isEmpty() ? nullptr : form->findChild<QWidget*>(name);
        if (view && view->setProperty("Quindle", QVariant::fromValue(fLabel)))
            ++linked;
    }
    return linked;
}

void TZORLabelComponent::SetViews(const QStringList& names)
{
    fViews = names;
    // The views of a form being built may not exist yet: link when its building has ended.
    if (fDesign || fLinkQueued)
        return;
    fLinkQueued = true;
    QMetaObject::invokeMethod(
        this, [this] { LinkViews(); }, Qt::QueuedConnection);
}

int TZORLabelComponent::GetUnits() const
{
    return fLabel->property("Units").toInt();
}
void TZORLabelComponent::SetUnits(int units)
{
    fLabel->setProperty("Units", units);
}
bool TZORLabelComponent::GetLayerZOrder() const
{
    return fLabel->GetLayerZOrder();
}
void TZORLabelComponent::SetLayerZOrder(bool on)
{
    fLabel->SetLayerZOrder(on);
}
QString TZORLabelComponent::GetLanguageFileName() const
{
    return fLabel->GetLanguageFileName();
}
void TZORLabelComponent::SetLanguageFileName(const QString& fileName)
{
    fLabel->SetLngFileName(fileName);
}
bool TZORLabelComponent::GetEditable() const
{
    return fLabel->GetEditable();
}
void TZORLabelComponent::SetEditable(bool on)
{
    fLabel->SetEditable(on);
}
QString TZORLabelComponent::GetImageFolder() const
{
    return fLabel->GetImageFolder();
}
void TZORLabelComponent::SetImageFolder(const QString& folder)
{
    fLabel->SetImageFolder(folder);
}
QString TZORLabelComponent::GetOpenImgFolder() const
{
    return fLabel->GetOpenImgFolder();
}
void TZORLabelComponent::SetOpenImgFolder(const QString& folder)
{
    fLabel->SetOpenImgFolder(folder);
}
QString TZORLabelComponent::GetLibraryFolder() const
{
    return fLabel->GetLibraryFolder();
}
void TZORLabelComponent::SetLibraryFolder(const QString& folder)
{
    fLabel->SetLibraryFolder(folder);
}
int TZORLabelComponent::GetEditorMode() const
{
    return fLabel->GetEditorMode();
}
void TZORLabelComponent::SetEditorMode(int mode)
{
    fLabel->setProperty("EditorMode", mode);
}
QString TZORLabelComponent::GetDataJson() const
{
    return fLabel->Data().GetJson();
}
void TZORLabelComponent::SetDataJson(const QString& text)
{
    fLabel->Data().SetJson(text);
}
QString TZORLabelComponent::GetPaperName() const
{
    return fLabel->Measure().GetPaperName();
}
void TZORLabelComponent::SetPaperName(const QString& name)
{
    fLabel->Measure().SetPaperName(name);
}

QString TZORLabelComponent::GetDataSets() const
{
    return DataSetsText(fLabel->Data().Datasets());
}

QString TZORLabelComponent::DataSetsText(const TZORDatasets& sets)
{
    TZORData data;
    data.Datasets() = sets;
    TJsonObject form;
    data.WriteJson(form);
    return form.A("Datasets").ToJSON(true);
}

void TZORLabelComponent::SetDataSets(const QString& json)
{
    TZORData read;
    try {
        TJsonObject data;
        data.SetA("Datasets", TJsonArray::Parse(json));
        read.ReadJson(data);
    } catch (const std::exception&) {
        // A property read from a form: a text that does not read leaves the bindings as they were.
        return;
    }
    TZORDatasets& sets = fLabel->Data().Datasets();
    TZORDatasets bound;
    for (const TZORDataset& entry : read.Datasets()) {
        const TZORDataset* before = fLabel->Data().GetDataset(entry.GetName());
        bound.emplace_back(entry.GetName(), TZORDatasetKind::Host, entry.GetFields(),
            before && before->GetKind() == TZORDatasetKind::Host ? before->GetSource() : nullptr);
        bound.back().SetAlias(entry.GetAlias());
    }
    sets = std::move(bound);
}

QSize TZORLabelComponent::sizeHint() const
{
    return { 32, 32 };
}

void TZORLabelComponent::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const QRect box = rect().adjusted(0, 0, -1, -1);
    p.fillRect(box, palette().base());
    p.setPen(palette().text().color());
    p.drawRect(box);
    p.drawText(box, Qt::AlignCenter, QStringLiteral("Q"));
}
