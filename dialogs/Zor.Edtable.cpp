#include "Zor.Edtable.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"
#include "Zor.Selcolor.h"
#include "Zor.Spinfloat.h"
#include "Zor.Table.h"
#include "label/Zor.Vcl.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>
#include <vector>

using zor::Dialogs;
using zor::Prop;
using zor::TAlphaColor;

namespace {

// The captions of a page's cell controls: font, font height, colours, band height, spacing.
struct TCellCaptions {
    const char* Font;
    const char* FontHeight;
    const char* Color;
    const char* Height;
    const char* Interline;
};

struct TCellNames {
    TZORFontNames Font;
    const char* Back;
    const char* Fill;
    std::array<const char*, 3> Align;
    const char* Height;
    const char* Interline; // null: the page has none
    TCellCaptions Captions;
    bool Translated; // the footer's font, colour and height captions are not translated
};

const std::array<TCellNames, TfEdTable::PageCount> CellNames = { {
    { { "cBoxColFont", "seColFontHeight", "ShColFontColor", "SBColBold", "SBColItalic", "SBColUnderline" },
        "ShColColor", "ckFillCol", { "SBCLeft", "SBCCenter", "SBCRight" }, "seColHeight", "seRowInterline",
        { "labColFont", "labColFontHeight", "labColFontColor", "labColHeight", "labColInterline" }, true },
    { { "CBoxHFont", "seHeadFontHeight", "ShHeadFontColor", "SBHeadBold", "SBHeadItalic", "SBHeadUnderline" },
        "ShHColor", "ckHeadFill", { "SBHeadLeft", "SBHeadCenter", "SBHeadRight" }, "seHeightHead",
        "seHeadInterline",
        { "labHeadFont", "LabHFontHeight", "labHeadColFont", "labHeightHead", "labHeadInterline" }, true },
    { { "CBoxFFont", "seFootFontHeight", "ShFFontColor", "SBFBold", "SBFItalic", "SBFUnderline" }, "ShFColor",
        "ckFootFill", { "SBFLeft", "SBFCenter", "SBFRight" }, "seHeightFoot", nullptr,
        { "labFootFont", "LabFFHeight", "labFootColor", "labFootHeight", nullptr }, false },
} };

// The data cell's vertical alignment, top to bottom; the buttons are kept hidden.
constexpr std::array<const char*, 3> VertAlignNames = { "sbVertTop", "sbVertCenter", "sbVertBottom" };

// The footer's aggregates in the order of TZORFooter: the list text "None", then dialog texts.
constexpr std::array<const char*, 9> AggregateKeys
    = { "None", "Count", "Min", "Max", "Sum", "Mean", "Median", "Variance", "StdDev" };

template <class Column> auto& CellOf(Column& c, TfEdTable::TPage page)
{
    switch (page) {
    case TfEdTable::pgHeader:
        return c.Header;
    case TfEdTable::pgFooter:
        return c.FooterCell;
    default:
        return c.Line;
    }
}

// The band height of the table a page's cells lie in, millimetres.
float BandHeight(const TZORBaseTable& t, TfEdTable::TPage page)
{
    switch (page) {
    case TfEdTable::pgHeader:
        return t.GetHeaderHeight();
    case TfEdTable::pgFooter:
        return t.GetFooterHeight();
    default:
        return t.GetLineHeight();
    }
}

void SetBandHeight(TZORBaseTable& t, TfEdTable::TPage page, float h)
{
    switch (page) {
    case TfEdTable::pgHeader:
        t.SetHeaderHeight(h);
        break;
    case TfEdTable::pgFooter:
        t.SetFooterHeight(h);
        break;
    default:
        t.SetLineHeight(h);
        break;
    }
}

QLabel* Caption(QWidget* owner, const char* name)
{
    auto* label = new QLabel(owner);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

QWidget* Row(QWidget* owner, std::initializer_list<QWidget*> widgets)
{
    auto* row = new QWidget(owner);
    auto* box = new QHBoxLayout(row);
    box->setContentsMargins(0, 0, 0, 0);
    for (QWidget* w : widgets) {
        w->setParent(row);
        box->addWidget(w);
    }
    box->addStretch();
    return row;
}

} // namespace

TfEdTable::TfEdTable(QWidget* parent)
    : TfEdList(parent)
    , PColumns(new QTabWidget(this))
{
    setObjectName(QStringLiteral("fEdTable"));
    PColumns->setObjectName(QStringLiteral("PColumns"));
    PColumns->addTab(BuildColumnPage(), QString());
    PColumns->addTab(BuildHeaderPage(), QString());
    PColumns->addTab(BuildFooterPage(), QString());
    PColumns->widget(pgColumn)->setObjectName(QStringLiteral("TabColumn"));
    PColumns->widget(pgHeader)->setObjectName(QStringLiteral("TabHeader"));
    PColumns->widget(pgFooter)->setObjectName(QStringLiteral("TabFooter"));

    LayOut(PColumns);
    resize(574, 275);
}

QWidget* TfEdTable::BuildColumnPage()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    CBoxFields = new QComboBox(page);
    CBoxFields->setObjectName(QStringLiteral("CBoxFields"));
    seWidth = Spin(page, "seWidth", 1.0);
    edFormat = new QLineEdit(page);
    edFormat->setObjectName(QStringLiteral("edFormat"));
    ckWrapText = new QCheckBox(page);
    ckWrapText->setObjectName(QStringLiteral("ckWrapText"));
    ckFixed = new QCheckBox(page);
    ckFixed->setObjectName(QStringLiteral("ckFixed"));
    grid->addWidget(Caption(page, "labColField"), 0, 0);
    grid->addWidget(CBoxFields, 0, 1);
    grid->addWidget(Caption(page, "labColWidth"), 1, 0);
    grid->addWidget(seWidth, 1, 1);
    grid->addWidget(Caption(page, "labColFormat"), 2, 0);
    grid->addWidget(edFormat, 2, 1);
    BuildCell(pgColumn, page, grid, 3);
    grid->addWidget(Row(page, { ckWrapText, ckFixed }), 9, 1);
    sbVertAlign = new QButtonGroup(page);
    for (int i = 0; i < int(VertAlignNames.size()); ++i) {
        QToolButton* button = Toggle(page, VertAlignNames[size_t(i)], QString());
        button->hide();
        sbVertAlign->addButton(button, i);
    }
    connect(sbVertAlign, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            ChangeColumn([&](TZORColumn& c) { c.Line.VertAlign = TZORVertAlign(uint8_t(id)); });
    });

    connect(CBoxFields, &QComboBox::currentIndexChanged, this, [this] {
        const QString field = CBoxFields->currentText();
        if (fIntro || Current() == 0 || field.isEmpty())
            return;
        SetLineText(field);
        ChangeColumn([&](TZORColumn& c) { c.FieldName = c.Header.Text = c.Line.Text = field; });
        const QScopedValueRollback intro(fIntro, true);
        edHeaderText->setText(field);
    });
    connect(seWidth, &QLineEdit::textChanged, this, [this] {
        ChangeColumn([&](TZORColumn& c) { c.Width = float(seWidth->GetValue()); });
        const TZORBaseTable* t = Table();
        if (fIntro || !t || Current() == 0)
            return;
        const QScopedValueRollback intro(fIntro, true);
        const double kept = double(t->GetColumn(Current())->Width);
        if (kept != seWidth->GetValue())
            seWidth->SetValue(kept);
    });
    connect(edFormat, &QLineEdit::textEdited, this,
        [this](const QString& f) { ChangeColumn([&](TZORColumn& c) { c.Format = f; }); });
    connect(ckWrapText, &QCheckBox::toggled, this,
        [this](bool on) { ChangeColumn([&](TZORColumn& c) { c.Line.WrapText = on; }); });
    connect(ckFixed, &QCheckBox::toggled, this,
        [this](bool on) { ChangeColumn([&](TZORColumn& c) { c.Fixed = on; }); });
    return page;
}

QWidget* TfEdTable::BuildHeaderPage()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    edHeaderText = new QLineEdit(page);
    edHeaderText->setObjectName(QStringLiteral("edHeaderText"));
    CBVisibleHead = new QCheckBox(page);
    CBVisibleHead->setObjectName(QStringLiteral("CBVisibleHead"));
    grid->addWidget(Caption(page, "labHeadText"), 0, 0);
    grid->addWidget(edHeaderText, 0, 1);
    grid->addWidget(CBVisibleHead, 1, 1);
    BuildCell(pgHeader, page, grid, 2);
    connect(edHeaderText, &QLineEdit::textEdited, this, [this](const QString& text) {
        ChangeColumn([&](TZORColumn& c) { c.Header.Text = text; });
        if (!fIntro)
            SetLineText(text);
    });
    connect(CBVisibleHead, &QCheckBox::toggled, this,
        [this](bool on) { ChangeColumn([&](TZORColumn& c) { c.Header.Visible = on; }); });
    return page;
}

QWidget* TfEdTable::BuildFooterPage()
{
    auto* page = new QWidget(this);
    auto* grid = new QGridLayout(page);
    auto* calc = new QWidget(page);
    calc->setObjectName(QStringLiteral("RGCalcBox"));
    auto* calcGrid = new QGridLayout(calc);
    RGCalc = new QButtonGroup(calc);
    RGCalc->setObjectName(QStringLiteral("RGCalc"));
    for (int i = 0; i < int(AggregateKeys.size()); ++i) {
        auto* radio = new QRadioButton(calc);
        radio->setObjectName(QStringLiteral("RGCalc%1").arg(i));
        RGCalc->addButton(radio, i);
        calcGrid->addWidget(radio, i / 3, i % 3);
    }
    edFooterFormat = new QLineEdit(page);
    edFooterFormat->setObjectName(QStringLiteral("edFooterFormat"));
    grid->addWidget(calc, 0, 0, 1, 2);
    grid->addWidget(Caption(page, "labFootFormat"), 1, 0);
    grid->addWidget(edFooterFormat, 1, 1);
    BuildCell(pgFooter, page, grid, 2);
    connect(RGCalc, &QButtonGroup::idToggled, this, [this](int id, bool on) {
        if (on)
            ChangeColumn([&](TZORColumn& c) { c.Footer = TZORFooter(uint8_t(id)); });
    });
    connect(edFooterFormat, &QLineEdit::textEdited, this,
        [this](const QString& f) { ChangeColumn([&](TZORColumn& c) { c.FooterFormat = f; }); });
    return page;
}

void TfEdTable::BuildCell(TPage page, QWidget* owner, QGridLayout* grid, int row)
{
    const TCellNames& names = CellNames[size_t(page)];
    TCellControls& c = fCells[size_t(page)];
    c.Font = FontControls(owner, names.Font);
    c.Back = Swatch(owner, names.Back);
    c.Fill = new QCheckBox(owner);
    c.Fill->setObjectName(QString::fromLatin1(names.Fill));
    c.Align = new QButtonGroup(owner);
    std::array<QToolButton*, 3> align {};
    const QString glyphs[] = { QStringLiteral("L"), QStringLiteral("C"), QStringLiteral("R") };
    for (int i = 0; i < 3; ++i) {
        align[size_t(i)] = Toggle(owner, names.Align[size_t(i)], glyphs[i]);
        c.Align->addButton(align[size_t(i)], i);
    }
    c.Height = Spin(owner, names.Height, page == pgFooter ? 0.1 : 0.2);
    if (names.Interline)
        c.Interline = Spin(owner, names.Interline, 0.01, 0.2, 3.0);

    const TCellCaptions& cap = names.Captions;
    grid->addWidget(Caption(owner, cap.Font), row, 0);
    grid->addWidget(c.Font.Font, row, 1);
    grid->addWidget(Caption(owner, cap.FontHeight), row + 1, 0);
    grid->addWidget(Row(owner, { c.Font.Height }), row + 1, 1);
    grid->addWidget(Caption(owner, cap.Color), row + 2, 0);
    grid->addWidget(Row(owner, { c.Font.Color, c.Back, c.Fill }), row + 2, 1);
    grid->addWidget(
        Row(owner, { c.Font.Bold, c.Font.Italic, c.Font.Underline, align[0], align[1], align[2] }), row + 3,
        1);
    grid->addWidget(Caption(owner, cap.Height), row + 4, 0);
    grid->addWidget(Row(owner, { c.Height }), row + 4, 1);
    if (c.Interline) {
        grid->addWidget(Caption(owner, cap.Interline), row + 5, 0);
        grid->addWidget(Row(owner, { c.Interline }), row + 5, 1);
    }

    const auto apply = [this, page](const std::function<void(TZORTableCell&)>& edit) {
        ChangeColumn([&](TZORColumn& col) { edit(CellOf(col, page)); });
    };
    WireFont<TZORTableCell>(c.Font, apply);
    WireSwatch(c.Back, [apply](TAlphaColor k) { apply([&](TZORTableCell& x) { x.BackColor = k; }); });
    connect(c.Fill, &QCheckBox::toggled, this,
        [apply](bool on) { apply([&](TZORTableCell& x) { x.FillBack = on; }); });
    connect(c.Align, &QButtonGroup::idToggled, this, [apply](int id, bool on) {
        if (on)
            apply([&](TZORTableCell& x) { x.HorzAlign = TZORHorzAlign(uint8_t(id)); });
    });
    TZORSpinEditFloat* height = c.Height;
    connect(height, &QLineEdit::textChanged, this, [this, page, height] {
        Change([&] {
            if (TZORBaseTable* t = Table())
                SetBandHeight(*t, page, float(height->GetValue()));
        });
    });
    if (TZORSpinEditFloat* interline = c.Interline)
        connect(interline, &QLineEdit::textChanged, this, [apply, interline] {
            apply([&](TZORTableCell& x) { x.Interline = float(interline->GetValue()); });
        });
}

void TfEdTable::FillLanguage()
{
    setWindowTitle(zor::FormCaption(zor::Prop("Table")));
    PColumns->setTabText(pgColumn, zor::Dialogs("Column"));
    PColumns->setTabText(pgHeader, zor::Dialogs("Header"));
    PColumns->setTabText(pgFooter, zor::Dialogs("Footer"));
    butAdd->setText(zor::Dialogs("Add"));
    butAdd->setToolTip(zor::Dialogs("Add") + QStringLiteral(" (Ins)"));
    butDelete->setText(zor::Dialogs("Delete"));
    for (TCellControls& c : fCells)
        c.Fill->setText(zor::Prop("Fill"));
    ckWrapText->setText(zor::Prop("WrapText"));
    ckFixed->setText(zor::Prop("Fixed"));
    CBVisibleHead->setText(zor::Prop("Visible"));
    const auto caption = [this](const char* name, const QString& text) {
        if (auto* label = name ? findChild<QLabel*>(QString::fromLatin1(name)) : nullptr)
            label->setText(text);
    };
    caption("labColField", zor::Prop("Field"));
    caption("labColWidth", zor::Prop("Width") + QStringLiteral(" (%)"));
    caption("labColFormat", zor::Prop("Format"));
    caption("labFootFormat", zor::Prop("Format"));
    caption("labHeadText", zor::Prop("Title"));
    for (const TCellNames& names : CellNames) {
        const TCellCaptions& cap = names.Captions;
        const bool t = names.Translated;
        caption(cap.Font, t ? zor::Prop("FontName") : QStringLiteral("Font"));
        caption(cap.FontHeight, zor::Prop("FontHeight"));
        caption(cap.Color, t ? zor::Prop("Color") : QStringLiteral("Color"));
        caption(cap.Height, t ? zor::Prop("Height") : QStringLiteral("Height"));
        caption(cap.Interline, zor::Prop("Iterline"));
    }
    for (int i = 0; i < int(AggregateKeys.size()); ++i)
        RGCalc->button(i)->setText(
            i == 0 ? TZORMsg::GetListValue(QStringLiteral("None")) : zor::Dialogs(AggregateKeys[size_t(i)]));
}

void TfEdTable::FillFields()
{
    CBoxFields->clear();
    const TZORBaseTable* t = Table();
    const TZORDataset* set = t && fLabel ? fLabel->Data().GetDataset(t->GetDataSet()) : nullptr;
    if (set)
        for (const TZORDataField& f : set->GetFields())
            CBoxFields->addItem(f.GetName());
    if (CBoxFields->count() == 0) {
        PColumns->hide();
        // Said over the editor once it shows (at once when it does already).
        QTimer::singleShot(
            0, this, [this] { zor::ShowInfo(this, windowTitle().trimmed(), zor::Dialogs("NoFields")); });
        return;
    }
    CBoxFields->setCurrentIndex(0);
}

TZORBaseTable* TfEdTable::Table() const
{
    return fLabel && fLabel->GetSelectionCount() == 1 ? dynamic_cast<TZORBaseTable*>(fLabel->GetSelection(1))
                                                      : nullptr;
}

void TfEdTable::ChangeColumn(const std::function<void(TZORColumn&)>& edit)
{
    Change([&] {
        TZORBaseTable* t = Table();
        TZORColumn* c = t ? t->GetColumn(Current()) : nullptr;
        if (!c)
            return;
        edit(*c);
        c->Sanitize();
    });
}

int32_t TfEdTable::PartCount() const
{
    const TZORBaseTable* t = Table();
    return t ? t->GetColumnCount() : 0;
}

QString TfEdTable::PartText(int32_t i) const
{
    const TZORBaseTable* t = Table();
    const TZORColumn* c = t ? t->GetColumn(i) : nullptr;
    return c ? c->Header.Text : QString();
}

void TfEdTable::AddPart(const QString& name)
{
    TZORBaseTable* t = Table();
    if (!t)
        return;
    t->SetColumns(t->GetColumnCount() + 1);
    t->GetColumn(t->GetColumnCount())->Header.Text = name;
}

namespace {

// The columns of a table taken out, and put back after a change of their order or number.
std::vector<TZORColumn> TakeColumns(const TZORBaseTable& t)
{
    std::vector<TZORColumn> columns;
    for (int32_t i = 1; i <= t.GetColumnCount(); ++i)
        columns.push_back(*t.GetColumn(i));
    return columns;
}

void PutColumns(TZORBaseTable& t, const std::vector<TZORColumn>& columns)
{
    t.SetColumns(int32_t(columns.size()));
    for (int32_t i = 1; i <= t.GetColumnCount(); ++i)
        *t.GetColumn(i) = columns[size_t(i - 1)];
}

} // namespace

void TfEdTable::RemovePart(int32_t i)
{
    TZORBaseTable* t = Table();
    if (!t || t->GetColumnCount() <= 1)
        return;
    std::vector<TZORColumn> columns = TakeColumns(*t);
    columns.erase(columns.begin() + (i - 1));
    PutColumns(*t, columns);
}

void TfEdTable::ExchangeParts(int32_t a, int32_t b)
{
    TZORBaseTable* t = Table();
    if (!t)
        return;
    std::vector<TZORColumn> columns = TakeColumns(*t);
    std::swap(columns[size_t(a - 1)], columns[size_t(b - 1)]);
    PutColumns(*t, columns);
}

void TfEdTable::LoadPart(int32_t i)
{
    const TZORBaseTable* t = Table();
    const TZORColumn* c = t ? t->GetColumn(i) : nullptr;
    if (!c)
        return;
    CBoxFields->setCurrentIndex(CBoxFields->findText(c->FieldName));
    seWidth->SetValue(double(c->Width));
    edFormat->setText(c->Format);
    ckWrapText->setChecked(c->Line.WrapText);
    ckFixed->setChecked(c->Fixed);
    edHeaderText->setText(c->Header.Text);
    CBVisibleHead->setChecked(c->Header.Visible);
    if (QAbstractButton* b = RGCalc->button(zor::Ord(c->Footer)))
        b->setChecked(true);
    edFooterFormat->setText(c->FooterFormat);
    const TPage pages[] = { pgColumn, pgHeader, pgFooter };
    for (TPage page : pages) {
        TCellControls& cc = fCells[size_t(page)];
        const TZORTableCell& cell = CellOf(*c, page);
        LoadFont(cc.Font, cell);
        cc.Back->SetColor(cell.BackColor);
        cc.Fill->setChecked(cell.FillBack);
        if (QAbstractButton* b = cc.Align->button(zor::Ord(cell.HorzAlign)))
            b->setChecked(true);
        if (page == pgColumn)
            if (QAbstractButton* b = sbVertAlign->button(zor::Ord(cell.VertAlign)))
                b->setChecked(true);
        cc.Height->SetValue(double(BandHeight(*t, page)));
        if (cc.Interline)
            cc.Interline->SetValue(double(cell.Interline));
    }
}
