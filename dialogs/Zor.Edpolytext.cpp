#include "Zor.Edpolytext.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"
#include "Zor.Poly.h"
#include "Zor.Selcolor.h"
#include "Zor.Spinfloat.h"
#include "label/Zor.Vcl.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QToolButton>
#include <QVBoxLayout>

#include <vector>

using zor::Dialogs;
using zor::Prop;
using zor::TAlphaColor;

namespace {

constexpr uint8_t FillByField = uint8_t(TZORFillType::Field);

} // namespace

TfEdPolyText::TfEdPolyText(QWidget* parent)
    : TfEdList(parent)
    , edText(new QLineEdit(this))
    , CBoxFields(new QComboBox(this))
    , edFormat(new QLineEdit(this))
    , edIA(new QLineEdit(this))
    , ckAddParenthesis(new QCheckBox(this))
    , ShColColor(Swatch(this, "ShColColor"))
    , ckFill(new QCheckBox(this))
    , fPopMenu(new QMenu(this))
{
    setObjectName(QStringLiteral("fEdPoly"));
    edText->setObjectName(QStringLiteral("edText"));
    CBoxFields->setObjectName(QStringLiteral("CBoxFields"));
    CBoxFields->setMaxVisibleItems(12);
    edFormat->setObjectName(QStringLiteral("edFormat"));
    edIA->setObjectName(QStringLiteral("edIA"));
    ckAddParenthesis->setObjectName(QStringLiteral("ckAddParenthesis"));
    ckFill->setObjectName(QStringLiteral("ckFill"));
    fPopMenu->setObjectName(QStringLiteral("PopMenu"));
    menuClear = fPopMenu->addAction(QString());
    menuClear->setObjectName(QStringLiteral("menuClear"));
    fFont = FontControls(this,
        { "cBoxColFont", "seColFontHeight", "ShColFontColor", "SBColBold", "SBColItalic", "SBColUnderline" });
    fFont.Height->SetIncrement(1.0);

    auto* form = new QFormLayout;
    const auto row = [this, form](const char* name, auto* field) {
        auto* caption = new QLabel(this);
        caption->setObjectName(QString::fromLatin1(name));
        form->addRow(caption, field);
    };
    row("labText", edText);
    row("labField", CBoxFields);
    row("labFormat", edFormat);
    auto* ia = new QHBoxLayout;
    ia->addWidget(edIA);
    ia->addWidget(ckAddParenthesis);
    row("labIA", ia);
    row("labFont", fFont.Font);
    row("labFontHeight", fFont.Height);
    auto* colours = new QHBoxLayout;
    colours->addWidget(fFont.Color);
    colours->addWidget(ShColColor);
    colours->addWidget(ckFill);
    colours->addStretch();
    row("labFontColor", colours);
    auto* styles = new QHBoxLayout;
    styles->addWidget(fFont.Bold);
    styles->addWidget(fFont.Italic);
    styles->addWidget(fFont.Underline);
    styles->addStretch();
    form->addRow(QString(), styles);

    LayOut(form);
    resize(590, 225);

    connect(edText, &QLineEdit::textEdited, this, [this](const QString& text) {
        ChangeItem([&](TZORDataPoly& item) { item.Text = text; });
        if (!fIntro)
            SetLineText(text.trimmed());
    });
    connect(CBoxFields, &QComboBox::currentIndexChanged, this, [this](int index) {
        if (index < 0)
            return;
        const QString field = CBoxFields->currentText();
        ChangeItem([&](TZORDataPoly& item) {
            item.FillType = FillByField;
            item.FillName = field;
        });
    });
    connect(edFormat, &QLineEdit::textEdited, this,
        [this](const QString& f) { ChangeItem([&](TZORDataPoly& item) { item.Format = f; }); });
    connect(edIA, &QLineEdit::textEdited, this,
        [this](const QString& ia) { ChangeItem([&](TZORDataPoly& item) { item.IA = ia; }); });
    connect(ckAddParenthesis, &QCheckBox::toggled, this,
        [this](bool on) { ChangeItem([&](TZORDataPoly& item) { item.AddPar = on; }); });
    WireSwatch(
        ShColColor, [this](TAlphaColor k) { ChangeItem([&](TZORDataPoly& item) { item.BackColor = k; }); });
    connect(ckFill, &QCheckBox::toggled, this,
        [this](bool on) { ChangeItem([&](TZORDataPoly& item) { item.FillBack = on; }); });
    connect(menuClear, &QAction::triggered, this, &TfEdPolyText::menuClearClick);
    CBoxFields->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(CBoxFields, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (QAction* chosen = zor::DialogService().Popup(*fPopMenu, CBoxFields->mapToGlobal(pos)))
            chosen->trigger();
    });
    WireFont<TZORDataPoly>(
        fFont, [this](const std::function<void(TZORDataPoly&)>& edit) { ChangeItem(edit); });
}

void TfEdPolyText::FillLanguage()
{
    setWindowTitle(zor::FormCaption(zor::Prop("PolyText")));
    butAdd->setText(zor::Dialogs("Add"));
    butAdd->setToolTip(zor::Dialogs("Add") + QStringLiteral(" (Ins)"));
    butDelete->setText(zor::Dialogs("Delete"));
    menuClear->setText(zor::Dialogs("Clear"));
    const auto caption = [this](const char* name, const QString& text) {
        if (auto* label = findChild<QLabel*>(QString::fromLatin1(name)))
            label->setText(text);
    };
    caption("labText", zor::Prop("Text"));
    caption("labField", zor::Prop("Field"));
    caption("labFormat", zor::Prop("Format"));
    caption("labFont", zor::Prop("FontName"));
    caption("labFontHeight", zor::Prop("FontHeight"));
    caption("labFontColor", zor::Prop("Color"));
    caption("labIA", QStringLiteral("IA"));
    ckAddParenthesis->setText(zor::Prop("AddParen"));
    ckFill->setText(zor::Prop("Fill"));
}

void TfEdPolyText::FillFields()
{
    CBoxFields->clear();
    if (!fLabel)
        return;
    const TZORData& data = fLabel->Data();
    for (int32_t i = 1; i <= data.GetDatasetCount(); ++i)
        for (const TZORDataField& f : data.GetDatasetAt(i)->GetFields())
            if (CBoxFields->findText(f.GetName()) < 0)
                CBoxFields->addItem(f.GetName());
}

void TfEdPolyText::menuClearClick()
{
    if (fIntro || Current() == 0)
        return;
    {
        const QScopedValueRollback intro(fIntro, true);
        CBoxFields->setCurrentIndex(-1);
    }
    ChangeItem([](TZORDataPoly& item) {
        item.FillType = 0;
        item.FillName.clear();
    });
}

TZORBasePoly* TfEdPolyText::Poly() const
{
    return fLabel && fLabel->GetSelectionCount() == 1 ? dynamic_cast<TZORBasePoly*>(fLabel->GetSelection(1))
                                                      : nullptr;
}

void TfEdPolyText::ChangeItem(const std::function<void(TZORDataPoly&)>& edit)
{
    Change([&] {
        TZORBasePoly* p = Poly();
        const TZORDataPoly* item = p ? p->GetItem(Current()) : nullptr;
        if (!item)
            return;
        TZORDataPoly changed = *item;
        edit(changed);
        p->SetItem(Current(), changed);
    });
}

int32_t TfEdPolyText::PartCount() const
{
    const TZORBasePoly* p = Poly();
    return p ? p->GetItemCount() : 0;
}

QString TfEdPolyText::PartText(int32_t i) const
{
    const TZORBasePoly* p = Poly();
    const TZORDataPoly* item = p ? p->GetItem(i) : nullptr;
    return item ? item->Text.trimmed() : QString();
}

void TfEdPolyText::AddPart(const QString& name)
{
    if (TZORBasePoly* p = Poly()) {
        TZORDataPoly item;
        item.Text = name;
        p->AddItem(item);
    }
}

void TfEdPolyText::RemovePart(int32_t i)
{
    TZORBasePoly* p = Poly();
    if (!p)
        return;
    std::vector<TZORDataPoly> items;
    for (int32_t k = 1; k <= p->GetItemCount(); ++k)
        if (k != i)
            items.push_back(*p->GetItem(k));
    p->ClearItems();
    for (const TZORDataPoly& item : items)
        p->AddItem(item);
}

void TfEdPolyText::ExchangeParts(int32_t a, int32_t b)
{
    TZORBasePoly* p = Poly();
    if (!p || !p->GetItem(a) || !p->GetItem(b))
        return;
    const TZORDataPoly first = *p->GetItem(a);
    p->SetItem(a, *p->GetItem(b));
    p->SetItem(b, first);
}

void TfEdPolyText::LoadPart(int32_t i)
{
    const TZORBasePoly* p = Poly();
    const TZORDataPoly* item = p ? p->GetItem(i) : nullptr;
    if (!item)
        return;
    edText->setText(item->Text);
    CBoxFields->setCurrentIndex(item->FillType == FillByField ? CBoxFields->findText(item->FillName) : -1);
    edFormat->setText(item->Format);
    edIA->setText(item->IA);
    ckAddParenthesis->setChecked(item->AddPar);
    LoadFont(fFont, *item);
    ShColColor->SetColor(item->BackColor);
    ckFill->setChecked(item->FillBack);
}
