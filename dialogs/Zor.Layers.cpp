#include "Zor.Layers.h"

#include "Zor.Back.Margins.h"
#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"
#include "Zor.Selcolor.h"
#include "Zor.Selmap.h"
#include "Zor.Spinfloat.h"
#include "label/Zor.Vcl.DialogHelpers.h"
#include "label/Zor.Vcl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileInfo>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHeaderView>
#include <QLocale>
#include <QMenu>
#include <QPainter>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QStyledItemDelegate>
#include <QTableWidget>

#include <array>

using zor::Dialogs;
using zor::Prop;
using zor::TAlphaColor;

namespace {

// The layer options of the grid's option columns, in column order.
constexpr std::array<uint16_t, 4> OptionBits = { loView, loPrint, loSelect, loExport };
constexpr std::array<int, TfLayers::ColumnCount> ColumnWidths
    = { 120, 170, 50, 60, 60, 60, 60, 60, 60, 60, 60 };
constexpr int SwatchWidth = 56;
// Options of the label that offer a background image and a background map.
constexpr uint32_t LabelBackImage = 0x0004;
constexpr uint32_t LabelBackMap = 0x0008;

QString Decimal(double v)
{
    return QLocale().toString(v, 'f', 2);
}

QString Flag(bool on)
{
    return on ? QStringLiteral("1") : QStringLiteral("0");
}

QString ColorText(TAlphaColor c)
{
    return QString::number(zor::Ord(c));
}

// Font names in a list, sizes in a decimal spin edit, names as typed; colours are swatches
// and the flags check boxes, which a double click changes.
class TLayerDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(
        QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        switch (index.column()) {
        case TfLayers::colFont: {
            auto* box = new QComboBox(parent);
            box->setObjectName(QStringLiteral("cbData"));
            box->addItems(QFontDatabase::families());
            return box;
        }
        case TfLayers::colHeight:
        case TfLayers::colPenWidth: {
            auto* spin = new TZORSpinEditFloat(parent);
            spin->setObjectName(QStringLiteral("spinFloat"));
            spin->SetDigits(2);
            spin->SetIncrement(index.column() == TfLayers::colHeight ? 0.5 : 0.1);
            return spin;
        }
        default:
            return QStyledItemDelegate::createEditor(parent, option, index);
        }
    }

    void setEditorData(QWidget* editor, const QModelIndex& index) const override
    {
        const QString text = index.data().toString();
        if (auto* box = qobject_cast<QComboBox*>(editor))
            box->setCurrentIndex(box->findText(text));
        else if (auto* spin = qobject_cast<TZORSpinEditFloat*>(editor))
            spin->SetValue(QLocale().toDouble(text));
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }

    void setModelData(QWidget* editor, QAbstractItemModel* model, const QModelIndex& index) const override
    {
        if (auto* box = qobject_cast<QComboBox*>(editor))
            model->setData(index, box->currentText());
        else if (auto* spin = qobject_cast<TZORSpinEditFloat*>(editor))
            model->setData(index, Decimal(spin->GetValue()));
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (index.column() < TfLayers::colBackColor) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        painter->fillRect(option.rect, option.palette.base());
        const QString text = index.data().toString();
        if (index.column() <= TfLayers::colColor) {
            const QRect swatch(option.rect.topLeft() + QPoint(2, 2),
                QSize(std::min(SwatchWidth, option.rect.width() - 4), option.rect.height() - 4));
            painter->fillRect(swatch, QColor::fromRgba(text.toUInt()));
            return;
        }
        QStyleOptionButton box;
        const QStyle* style = option.widget ? option.widget->style() : nullptr;
        if (!style)
            return;
        box.rect = style->subElementRect(QStyle::SE_CheckBoxIndicator, &box, option.widget);
        box.rect.moveCenter(option.rect.center());
        box.state
            = QStyle::State_Enabled | (text == QLatin1String("1") ? QStyle::State_On : QStyle::State_Off);
        style->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, painter, option.widget);
    }
};

} // namespace

TfLayers::TfLayers(QWidget* parent)
    : QDialog(parent)
    , sgLayers(new QTableWidget(0, ColumnCount, this))
    , butAdd(new QPushButton(this))
    , butDelete(new QPushButton(this))
    , SBUp(new QPushButton(QStringLiteral("\u25B2"), this))
    , SBDown(new QPushButton(QStringLiteral("\u25BC"), this))
    , ckLayerZPos(new QCheckBox(this))
    , fPopLayer(new QMenu(this))
{
    setObjectName(QStringLiteral("TfLayers"));
    sgLayers->setObjectName(QStringLiteral("sgLayers"));
    butAdd->setObjectName(QStringLiteral("butAdd"));
    butDelete->setObjectName(QStringLiteral("butDelete"));
    SBUp->setObjectName(QStringLiteral("SBUp"));
    SBDown->setObjectName(QStringLiteral("SBDown"));
    ckLayerZPos->setObjectName(QStringLiteral("ckLayerZPos"));
    fPopLayer->setObjectName(QStringLiteral("PopLayer"));
    sgLayers->setItemDelegate(new TLayerDelegate(sgLayers));
    sgLayers->verticalHeader()->hide();
    sgLayers->setSelectionMode(QAbstractItemView::SingleSelection);
    sgLayers->setEditTriggers(QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed
        | QAbstractItemView::SelectedClicked);
    sgLayers->setContextMenuPolicy(Qt::CustomContextMenu);
    for (int c = 0; c < ColumnCount; ++c)
        sgLayers->setColumnWidth(c, ColumnWidths[size_t(c)]);
    for (QPushButton* button : { butAdd, butDelete, SBUp, SBDown })
        button->setAutoDefault(false);

    const auto action = [this](const char* name, void (TfLayers::*slot)()) {
        QAction* a = fPopLayer->addAction(QString());
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    menuApplyValues = action("menuApplyValues", &TfLayers::menuApplyValuesClick);
    fPopLayer->addSeparator();
    menuBackImage = action("menuBackImage", &TfLayers::menuBackImageClick);
    menuBackMap = action("menuBackMap", &TfLayers::menuBackMapClick);
    menuBackMargins = action("menuBackMargins", &TfLayers::menuBackMarginsClick);
    fPopLayer->addSeparator();
    menuPrintBackImage = action("menuPrintBackImage", &TfLayers::menuPrintBackImageClick);
    menuExportBackImage = action("menuExportBackImage", &TfLayers::menuExportBackImageClick);
    menuPrintBackImage->setCheckable(true);
    menuExportBackImage->setCheckable(true);

    connect(sgLayers, &QTableWidget::itemChanged, this, &TfLayers::CellChanged);
    connect(sgLayers, &QTableWidget::cellDoubleClicked, this, &TfLayers::CellAction);
    connect(sgLayers, &QTableWidget::currentCellChanged, this, &TfLayers::AdjustUpDown);
    connect(sgLayers, &QWidget::customContextMenuRequested, this, &TfLayers::PopupAt);
    auto* space = new QShortcut(QKeySequence(Qt::Key_Space), sgLayers, nullptr, nullptr, Qt::WidgetShortcut);
    connect(space, &QShortcut::activated, this,
        [this] { CellAction(sgLayers->currentRow(), sgLayers->currentColumn()); });
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), this);
    connect(insert, &QShortcut::activated, this, &TfLayers::butAddClick);
    connect(butAdd, &QPushButton::clicked, this, &TfLayers::butAddClick);
    connect(butDelete, &QPushButton::clicked, this, &TfLayers::butDeleteClick);
    connect(SBUp, &QPushButton::clicked, this, &TfLayers::SBUpClick);
    connect(SBDown, &QPushButton::clicked, this, &TfLayers::SBDownClick);
    connect(ckLayerZPos, &QCheckBox::toggled, this, [this](bool on) {
        if (!fIntro && fLabel)
            Change([&] { fLabel->SetLayerZOrder(on); });
    });

    auto* layout = new QGridLayout(this);
    layout->addWidget(sgLayers, 0, 0, 1, 6);
    layout->addWidget(butAdd, 1, 0);
    layout->addWidget(butDelete, 1, 1);
    layout->addWidget(SBUp, 1, 2);
    layout->addWidget(SBDown, 1, 3);
    layout->addWidget(ckLayerZPos, 1, 4);
    layout->setColumnStretch(5, 1);
    resize(858, 353);
}

void TfLayers::FillLanguage()
{
    setWindowTitle(zor::FormCaption(zor::Dialogs("Layers")));
    sgLayers->setHorizontalHeaderLabels({ zor::Dialogs("Layer"), zor::Prop("FontName"), zor::Prop("Height"),
        zor::Prop("PenWidth"), zor::Prop("BackColor"), zor::Prop("Color"), zor::Prop("Active"),
        zor::Prop("View"), zor::Prop("Print"), zor::Prop("Select"), zor::Dialogs("Export") });
    butAdd->setText(zor::Dialogs("Add") + QStringLiteral(" (Ins)"));
    butDelete->setText(zor::Dialogs("Delete"));
    menuApplyValues->setText(zor::Dialogs("ApplyLayer"));
    menuBackImage->setText(zor::Dialogs("BackImage"));
    menuBackMap->setText(zor::Dialogs("BackMap"));
    menuBackMargins->setText(zor::Dialogs("BackMargins"));
    menuPrintBackImage->setText(zor::Dialogs("PrintBack"));
    menuExportBackImage->setText(zor::Dialogs("ExportBack"));
    ckLayerZPos->setText(zor::Prop("ZOrderLayer"));
}

void TfLayers::Ini(TZORLabelVCL& label)
{
    fLabel = &label;
    menuBackImage->setVisible(label.GetOptions() & LabelBackImage);
    menuBackMap->setVisible(label.GetOptions() & LabelBackMap);
    menuBackMargins->setVisible(menuBackImage->isVisible() || menuBackMap->isVisible());
    const QScopedValueRollback intro(fIntro, true);
    FillLanguage();
    ReadLayers(true);
    ckLayerZPos->setChecked(label.GetLayerZOrder());
}

void TfLayers::ReadLayers(bool reset)
{
    {
        const QScopedValueRollback intro(fIntro, true);
        sgLayers->setRowCount(fLabel->GetLayersCount());
        for (int32_t i = 1; i <= fLabel->GetLayersCount(); ++i)
            ShowLayer(i);
    }
    if (reset)
        sgLayers->setCurrentCell(sgLayers->rowCount() - 1, colName);
    AdjustUpDown();
}

void TfLayers::ShowLayer(int32_t index)
{
    const TZORLayer* layer = fLabel->GetLayer(index);
    if (!layer)
        return;
    const QScopedValueRollback intro(fIntro, true);
    const int row = index - 1;
    const auto cell = [&](int column, const QString& text) {
        QTableWidgetItem* item = sgLayers->item(row, column);
        if (!item) {
            item = new QTableWidgetItem;
            if (column >= colBackColor)
                item->setFlags(item->flags() & ~Qt::ItemIsEditable);
            sgLayers->setItem(row, column, item);
        }
        item->setText(text);
    };
    cell(colName, layer->GetName());
    cell(colFont, layer->GetFontName());
    cell(colHeight, Decimal(layer->GetFontHeight()));
    cell(colPenWidth, Decimal(layer->GetPenWidth()));
    cell(colBackColor, ColorText(layer->GetBackColor()));
    cell(colColor, ColorText(layer->GetColor()));
    cell(colActive, Flag(fLabel->GetActiveLayerIndex() == index));
    for (size_t b = 0; b < OptionBits.size(); ++b)
        cell(colView + int(b), Flag(layer->GetOptions() & OptionBits[b]));
}

void TfLayers::AdjustUpDown()
{
    const int32_t index = SelectedIndex();
    const bool movable = index >= 2;
    SBUp->setEnabled(movable && index != 2);
    SBDown->setEnabled(movable && index != sgLayers->rowCount());
    butDelete->setEnabled(movable);
}

int32_t TfLayers::SelectedIndex() const
{
    return fLabel && sgLayers->currentRow() >= 0 ? sgLayers->currentRow() + 1 : 0;
}

TZORLayer* TfLayers::SelectedLayer() const
{
    return fLabel ? fLabel->GetLayer(SelectedIndex()) : nullptr;
}

void TfLayers::Change(const std::function<void()>& edit)
{
    zor::ChangeLabel(*fLabel, edit);
}

void TfLayers::CellChanged(QTableWidgetItem* item)
{
    if (fIntro || !fLabel)
        return;
    const int32_t index = item->row() + 1;
    TZORLayer* layer = fLabel->GetLayer(index);
    if (!layer)
        return;
    const QString text = item->text();
    bool number = true;
    const double value = QLocale().toDouble(text, &number);
    Change([&] {
        switch (item->column()) {
        case colName:
            layer->SetName(text);
            break;
        case colFont:
            layer->SetFontName(text);
            break;
        case colHeight:
            if (number)
                layer->SetFontHeight(float(value));
            break;
        case colPenWidth:
            if (number)
                layer->SetPenWidth(float(value));
            break;
        default:
            break;
        }
    });
    // The cell shows what the layer took.
    ShowLayer(index);
}

void TfLayers::CellAction(int row, int column)
{
    const int32_t index = row + 1;
    TZORLayer* layer = fLabel ? fLabel->GetLayer(index) : nullptr;
    if (!layer || column < colBackColor)
        return;
    if (column == colBackColor || column == colColor) {
        TfSelColor picker(this);
        picker.Ini(column == colBackColor ? layer->GetBackColor() : layer->GetColor());
        if (zor::DialogService().Exec(picker) != QDialog::Accepted)
            return;
        Change([&] {
            if (column == colBackColor)
                layer->SetBackColor(picker.fColor);
            else
                layer->SetColor(picker.fColor);
        });
    } else if (column == colActive) {
        bool changed = false;
        Change([&] { changed = fLabel->SetActiveLayer(index); });
        if (!changed)
            return;
        for (int32_t i = 1; i <= fLabel->GetLayersCount(); ++i)
            ShowLayer(i);
        return;
    } else {
        ToggleOption(index, OptionBits[size_t(column - colView)]);
    }
    ShowLayer(index);
}

void TfLayers::ToggleOption(int32_t index, uint16_t bit)
{
    TZORLayer* layer = fLabel->GetLayer(index);
    Change([&] { layer->SetOptions(layer->GetOptions() ^ bit); });
}

void TfLayers::butAddClick()
{
    if (!fLabel)
        return;
    Change([&] { fLabel->AddLayer(QString::number(fLabel->GetLayersCount())); });
    ReadLayers(false);
    sgLayers->setCurrentCell(sgLayers->rowCount() - 1, colName);
    sgLayers->setFocus();
    AdjustUpDown();
}

void TfLayers::butDeleteClick()
{
    const int32_t index = SelectedIndex();
    if (index < 2) {
        zor::ShowWarning(
            this, windowTitle().trimmed(), TZORMsg::GetErrorValue(QStringLiteral("DelDefLayer")));
        return;
    }
    const QMessageBox::StandardButton answer
        = zor::DialogService().Message(this, QMessageBox::Question, windowTitle().trimmed(),
            zor::Dialogs("DelLayer"), QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    bool deleted = false;
    Change([&] { deleted = fLabel->DeleteLayer(index); });
    if (deleted)
        ReadLayers(true);
}

void TfLayers::Move(int32_t by)
{
    const int32_t index = SelectedIndex();
    bool moved = false;
    if (index >= 2)
        Change([&] { moved = fLabel->ExchangeLayers(index, index + by); });
    if (!moved)
        return;
    ReadLayers(false);
    sgLayers->setCurrentCell(index + by - 1, std::max(sgLayers->currentColumn(), 0));
    AdjustUpDown();
}

void TfLayers::SBUpClick()
{
    Move(-1);
}

void TfLayers::SBDownClick()
{
    Move(1);
}

void TfLayers::PreparePopup()
{
    const TZORLayer* layer = SelectedLayer();
    menuPrintBackImage->setChecked(layer && layer->HasOption(loPrintBack));
    menuExportBackImage->setChecked(layer && layer->HasOption(loExportBack));
}

void TfLayers::PopupAt(const QPoint& pos)
{
    const int row = sgLayers->rowAt(pos.y());
    if (row >= 0)
        sgLayers->setCurrentCell(row, std::max(sgLayers->columnAt(pos.x()), 0));
    if (!SelectedLayer())
        return;
    PreparePopup();
    if (QAction* chosen = zor::DialogService().Popup(*fPopLayer, sgLayers->viewport()->mapToGlobal(pos)))
        chosen->trigger();
}

void TfLayers::menuApplyValuesClick()
{
    if (SelectedLayer())
        Change([&] { fLabel->ApplyLayerValues(SelectedIndex()); });
}

void TfLayers::menuBackImageClick()
{
    TZORLayer* layer = SelectedLayer();
    if (!layer)
        return;
    const QString path = zor::DialogService().OpenFileName(
        this, zor::Dialogs("BackImage"), fLabel->GetOpenImgFolder(), zor::PictureFilter());
    if (path.isEmpty())
        return;
    // The layer names a picture inside the image folder; one from elsewhere travels with the
    // label.
    const std::optional<QString> name = zor::InImageFolder(fLabel->GetImageFolder(), path);
    QByteArray bytes;
    if (!name) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly)) {
            zor::ShowWarning(this, windowTitle().trimmed(),
                TZORMsg::GetErrorValue(QStringLiteral("FileOpen")).arg(path, file.errorString()));
            return;
        }
        bytes = file.readAll();
    }
    Change([&] {
        layer->SetOptions(uint16_t((layer->GetOptions() & ~loBackMap) | loBackImage));
        layer->SetFileImg(name.value_or(QFileInfo(path).fileName()));
        layer->SetImgBytes(bytes);
        layer->SetKeepBytes(!name);
        fLabel->SetImageChanged(true);
    });
}

void TfLayers::menuBackMapClick()
{
    TZORLayer* layer = SelectedLayer();
    if (!layer)
        return;
    const TZORMeasure& measure = fLabel->Measure();
    const int32_t scale = measure.GetDrawScale();
    TfSelMap map(this);
    map.Ini(*fLabel, true, zor::MapPixels(measure.GetSize(TZORSizeKind::LabelWidth), scale),
        zor::MapPixels(measure.GetSize(TZORSizeKind::LabelHeight), scale));
    if (zor::DialogService().Exec(map) != QDialog::Accepted)
        return;
    Change([&] {
        layer->SetOptions(uint16_t((layer->GetOptions() & ~loBackImage) | loBackMap));
        layer->SetFileImg(fLabel->Mapping().GetFileName());
        layer->SetImgBytes({});
        layer->SetKeepBytes(false);
        if (map.AssignScale())
            fLabel->Measure().SetDrawScale(fLabel->Mapping().ScaleAt96Dpi());
        fLabel->SetImageChanged(true);
    });
}

void TfLayers::menuBackMarginsClick()
{
    TZORLayer* layer = SelectedLayer();
    if (!layer)
        return;
    TfBackMargins margins(this);
    margins.Ini(*fLabel, SelectedIndex());
    if (zor::DialogService().Exec(margins) != QDialog::Accepted)
        return;
    Change([&] {
        layer->SetImgMarLeft(float(margins.MarginLeft()));
        layer->SetImgMarRight(float(margins.MarginRight()));
        layer->SetImgMarBottom(float(margins.MarginBottom()));
        layer->SetImgMarTop(float(margins.MarginTop()));
    });
}

void TfLayers::menuPrintBackImageClick()
{
    if (SelectedLayer())
        ToggleOption(SelectedIndex(), loPrintBack);
}

void TfLayers::menuExportBackImageClick()
{
    if (SelectedLayer())
        ToggleOption(SelectedIndex(), loExportBack);
}
