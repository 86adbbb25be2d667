#include "Zor.Dimstyles.h"

#include "Zor.Base.h"
#include "Zor.DialogService.h"
#include "Zor.Dimsample.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"
#include "Zor.Selcolor.h"
#include "Zor.Spinfloat.h"
#include "drawing/Zor.BackingImage.h"
#include "label/Zor.Vcl.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyledItemDelegate>
#include <QToolButton>

#include <cmath>

using zor::TAlphaColor;

namespace {

constexpr int SampleWidth = 640;
constexpr int SampleHeight = 575;
constexpr int HeadItemHeight = 20;
const QColor SelectedHead(0x00, 0x00, 0x80); // navy

// The list texts of the line types, head types and text positions, in the order of their values.
constexpr const char* LineTypeKeys[] = { "LineSolid", "LineDot", "LineDash1_1", "LineDash2_1", "LineDash1_2",
    "LineDash2_2", "LineDash3_1", "LineDash3_3", "LineDash4_1", "LineDash4_2", "LineDash4_4", "LineDashDot" };
constexpr const char* HeadTypeKeys[] = { "HeadNone", "HeadCircle", "HeadFilledCircle", "HeadOpenArrow",
    "HeadFilledArrow", "HeadSquare", "HeadFilledSquare", "HeadDiamond", "HeadFilledDiamond",
    "HeadFallingTick", "HeadRisingTick", "HeadCross" };
constexpr const char* TextPosKeys[] = { "TextAbove", "TextBelow", "TextOnLine", "TextInLine" };

template <size_t N> void FillList(QComboBox& box, const char* const (&keys)[N])
{
    box.clear();
    for (const char* key : keys)
        box.addItem(TZORMsg::GetListValue(QString::fromLatin1(key)));
}

QColor Col(TAlphaColor c)
{
    return QColor::fromRgba(zor::Ord(c));
}

// The head-type list shows each type's symbol in the active style's head and fill colours.
class THeadDelegate : public QStyledItemDelegate {
public:
    THeadDelegate(QObject* parent, std::function<const TZORDimStyle*()> style)
        : QStyledItemDelegate(parent)
        , fStyle(std::move(style))
    {
    }

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const bool selected = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
        painter->fillRect(option.rect, selected ? SelectedHead : option.palette.base().color());
        if (const TZORDimStyle* s = fStyle())
            zor::DrawHeadSymbol(*painter, index.row(), option.rect, Col(s->fHeadColor), Col(s->fFillColor));
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return { QStyledItemDelegate::sizeHint(option, index).width(), HeadItemHeight };
    }

private:
    std::function<const TZORDimStyle*()> fStyle;
};

// The sample, copied from the dialog's image.
class TSampleView : public QWidget {
public:
    TSampleView(QWidget* parent, const QImage& image)
        : QWidget(parent)
        , fImage(image)
    {
        setFixedSize(SampleWidth, SampleHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override { QPainter(this).drawImage(0, 0, fImage); }

private:
    const QImage& fImage;
};

TZORSpinEditFloat* Spin(QWidget* parent, const char* name, int digits = 2, double increment = 0.1)
{
    auto* edit = new TZORSpinEditFloat(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->SetDigits(digits);
    edit->SetPrecision(9);
    edit->SetIncrement(increment);
    edit->setFixedWidth(70);
    return edit;
}

template <class W> W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

QToolButton* Toggle(QWidget* parent, const char* name, const QString& text)
{
    auto* button = Named(new QToolButton(parent), name);
    button->setText(text);
    button->setCheckable(true);
    return button;
}

} // namespace

TfDimStls::TfDimStls(QWidget* parent)
    : QDialog(parent)
    , fBmp(zor::BackingImage(QSize(SampleWidth, SampleHeight), devicePixelRatioF()))
{
    setObjectName(QStringLiteral("TfDimStls"));
    fBmp.fill(Qt::white);
    cbDimStyles = Named(new QComboBox(this), "cbDimStyles");
    cbDimStyles->setEditable(true);
    cbDimStyles->setInsertPolicy(QComboBox::NoInsert);
    seAddStyle = Named(new QToolButton(this), "seAddStyle");
    seAddStyle->setText(QStringLiteral("+"));
    seDelStyle = Named(new QToolButton(this), "seDelStyle");
    seDelStyle->setText(QStringLiteral("\u2212"));
    cbFontName = Named(new QComboBox(this), "cbFontName");
    seFontHeight = Spin(this, "seFontHeight");
    ShColFontColor = Named(new TZORColorSwatch(this), "ShColFontColor");
    SBColBold = Toggle(this, "SBColBold", QStringLiteral("B"));
    SBColItalic = Toggle(this, "SBColItalic", QStringLiteral("I"));
    SBColUnderline = Toggle(this, "SBColUnderline", QStringLiteral("U"));
    SBColUnderline->hide();
    edPrefix = Named(new QLineEdit(this), "edPrefix");
    edFormat = Named(new QLineEdit(this), "edFormat");
    edSuffix = Named(new QLineEdit(this), "edSuffix");
    seHeadSize = Spin(this, "seHeadSize");
    cbHeadType = Named(new QComboBox(this), "cbHeadType");
    cbHeadType->setItemDelegate(new THeadDelegate(cbHeadType, [this] { return Active(); }));
    shHeadColor = Named(new TZORColorSwatch(this), "shHeadColor");
    shFillColor = Named(new TZORColorSwatch(this), "shFillColor");
    seArrowOpen = Spin(this, "seArrowOpen", 0, 1);
    shDimColor = Named(new TZORColorSwatch(this), "shDimColor");
    cbLineType = Named(new QComboBox(this), "cbLineType");
    seDimPenWidth = Spin(this, "seDimPenWidth");
    cbPosText = Named(new QComboBox(this), "cbPosText");
    shExtColor = Named(new TZORColorSwatch(this), "shExtColor");
    seExtSize = Spin(this, "seExtSize");
    seExtGap = Spin(this, "seExtGap");
    seDimBreak = Spin(this, "seDimBreak");
    seExtPenWidth = Spin(this, "seExtPenWidth");
    paintLab = Named(new TSampleView(this, fBmp), "paintLab");
    for (TZORColorSwatch* swatch : { ShColFontColor, shHeadColor, shFillColor, shDimColor, shExtColor })
        swatch->setFixedSize(70, 20);

    connect(cbDimStyles->lineEdit(), &QLineEdit::textEdited, this,
        [this](const QString& text) { Write([&](TZORDimStyle& s) { s.SetName(text); }); });
    connect(cbDimStyles, &QComboBox::activated, this, &TfDimStls::cbDimStylesSelect);
    connect(seAddStyle, &QToolButton::clicked, this, &TfDimStls::seAddStyleClick);
    connect(seDelStyle, &QToolButton::clicked, this, &TfDimStls::seDelStyleClick);
    connect(cbFontName, &QComboBox::currentTextChanged, this,
        [this](const QString& text) { Write([&](TZORDimStyle& s) { s.fFontName = text; }); });
    const std::pair<QToolButton*, bool TZORDimStyle::*> flags[] = { { SBColBold, &TZORDimStyle::fBold },
        { SBColItalic, &TZORDimStyle::fItalic }, { SBColUnderline, &TZORDimStyle::fUnderline } };
    for (const auto& [button, member] : flags)
        connect(button, &QToolButton::toggled, this,
            [this, member = member](bool on) { Write([&](TZORDimStyle& s) { s.*member = on; }); });
    const std::pair<QLineEdit*, QString TZORDimStyle::*> texts[] = { { edPrefix, &TZORDimStyle::fPrefix },
        { edFormat, &TZORDimStyle::fFormat }, { edSuffix, &TZORDimStyle::fSuffix } };
    for (const auto& [edit, member] : texts)
        connect(edit, &QLineEdit::textChanged, this, [this, member = member](const QString& text) {
            Write([&](TZORDimStyle& s) { s.*member = text; });
        });
    connect(cbLineType, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            Write([&](TZORDimStyle& s) { s.fDimLineType = TZORineType(uint8_t(i)); });
    });
    connect(cbPosText, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            Write([&](TZORDimStyle& s) { s.fTextPos = uint8_t(i); });
    });
    connect(cbHeadType, &QComboBox::currentIndexChanged, this, [this](int i) {
        if (i >= 0)
            Write([&](TZORDimStyle& s) { s.fHeadType = TZORTermType(uint8_t(i)); });
    });
    ConnectLength(seFontHeight, &TZORDimStyle::SetFontHeight, &TZORDimStyle::GetFontHeight);
    ConnectLength(seHeadSize, &TZORDimStyle::SetHeadSize, &TZORDimStyle::GetHeadSize);
    ConnectLength(seExtSize, &TZORDimStyle::SetExtSize, &TZORDimStyle::GetExtSize);
    ConnectLength(seExtGap, &TZORDimStyle::SetExtGap, &TZORDimStyle::GetExtGap);
    ConnectLength(seDimBreak, &TZORDimStyle::SetDimBreak, &TZORDimStyle::GetDimBreak);
    ConnectLength(seDimPenWidth, &TZORDimStyle::SetDimPenWidth, &TZORDimStyle::GetDimPenWidth);
    ConnectLength(seExtPenWidth, &TZORDimStyle::SetExtPenWidth, &TZORDimStyle::GetExtPenWidth);
    connect(seArrowOpen, &QLineEdit::textChanged, this, [this] {
        Write([&](TZORDimStyle& s) {
            s.fArrowOpen
                = int16_t(std::clamp<double>(std::round(seArrowOpen->GetValue()), INT16_MIN, INT16_MAX));
            const QScopedValueRollback intro(fIntro, true);
            seArrowOpen->SetValue(s.fArrowOpen);
        });
    });
    ConnectColor(ShColFontColor, &TZORDimStyle::fFontColor);
    ConnectColor(shHeadColor, &TZORDimStyle::fHeadColor);
    ConnectColor(shFillColor, &TZORDimStyle::fFillColor);
    ConnectColor(shDimColor, &TZORDimStyle::fDimColor);
    ConnectColor(shExtColor, &TZORDimStyle::fExtColor);

    auto* form = new QFormLayout;
    const auto row
        = [&](const char* name, QWidget* field) { form->addRow(Named(new QLabel(this), name), field); };
    auto* styles = new QHBoxLayout;
    styles->addWidget(cbDimStyles, 1);
    styles->addWidget(seAddStyle);
    styles->addWidget(seDelStyle);
    form->addRow(Named(new QLabel(this), "labActiveDimStyle"), styles);
    row("labFontName", cbFontName);
    row("labFontHeight", seFontHeight);
    auto* fontStyle = new QHBoxLayout;
    fontStyle->addWidget(ShColFontColor);
    fontStyle->addWidget(SBColBold);
    fontStyle->addWidget(SBColItalic);
    fontStyle->addWidget(SBColUnderline);
    form->addRow(QString(), fontStyle);
    row("labPrefix", edPrefix);
    row("labFormat", edFormat);
    row("labSuffix", edSuffix);
    row("labTextPos", cbPosText);
    row("labHeadType", cbHeadType);
    row("labHeadSize", seHeadSize);
    row("labHeadColor", shHeadColor);
    row("labFillColor", shFillColor);
    row("labArrowOpen", seArrowOpen);
    row("labDimColor", shDimColor);
    row("labLineType", cbLineType);
    row("labDimPenWidth", seDimPenWidth);
    row("labExtColor", shExtColor);
    row("labExtSize", seExtSize);
    row("labExtGap", seExtGap);
    row("labDimBreak", seDimBreak);
    row("labExtPenWidth", seExtPenWidth);
    auto* left = new QWidget(this);
    left->setFixedWidth(254);
    left->setLayout(form);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(left);
    layout->addWidget(paintLab);
    resize(910, 595);
}

void TfDimStls::ConnectLength(
    TZORSpinEditFloat* edit, void (TZORDimStyle::*set)(float), float (TZORDimStyle::*get)() const)
{
    connect(edit, &QLineEdit::textChanged, this, [this, edit, set, get] {
        Write([&](TZORDimStyle& s) {
            (s.*set)(float(edit->GetValue()));
            // The edit shows what the style took; a new extension size may move the gap.
            const QScopedValueRollback intro(fIntro, true);
            edit->SetValue((s.*get)());
            seExtGap->SetValue(s.GetExtGap());
        });
    });
}

void TfDimStls::ConnectColor(TZORColorSwatch* swatch, TAlphaColor TZORDimStyle::*member)
{
    swatch->setCursor(Qt::PointingHandCursor);
    connect(swatch, &TZORColorSwatch::Clicked, this, [this, swatch, member] {
        if (!Active())
            return;
        const std::optional<QColor> chosen
            = zor::DialogService().Color(this, Col(swatch->GetColor()), windowTitle().trimmed(), false);
        if (!chosen)
            return;
        // Colours chosen here are opaque.
        const TAlphaColor colour = zor::WithAlpha(TAlphaColor { uint32_t(chosen->rgb()) }, 255);
        swatch->SetColor(colour);
        Write([&](TZORDimStyle& s) { s.*member = colour; });
    });
}

void TfDimStls::FillLanguage()
{
    const auto prop = [](const char* key) { return TZORMsg::GetPropValue(QString::fromLatin1(key)); };
    setWindowTitle(zor::FormCaption(prop("DimStyles")));
    const std::pair<const char*, const char*> captions[] = { { "labActiveDimStyle", "ActiveDimStyle" },
        { "labFontName", "FontName" }, { "labFontHeight", "FontHeight" }, { "labFormat", "Format" },
        { "labSuffix", "Suffix" }, { "labPrefix", "Prefix" }, { "labHeadSize", "HeadSize" },
        { "labHeadType", "HeadType" }, { "labExtColor", "ExtColor" }, { "labDimColor", "DimColor" },
        { "labExtSize", "ExtSize" }, { "labExtGap", "ExtGap" }, { "labFillColor", "BackColor" },
        { "labArrowOpen", "ArrowOpen" }, { "labDimBreak", "DimBreak" }, { "labHeadColor", "HeadColor" },
        { "labTextPos", "TextPos" }, { "labLineType", "LineType" }, { "labDimPenWidth", "DimPenWidth" },
        { "labExtPenWidth", "ExtPenWidth" } };
    for (const auto& [name, key] : captions)
        findChild<QLabel*>(QString::fromLatin1(name))->setText(prop(key));
    seAddStyle->setToolTip(TZORMsg::GetDialogsValue(QStringLiteral("AddDimStyle")));
    seDelStyle->setToolTip(TZORMsg::GetDialogsValue(QStringLiteral("Delete")));
    FillList(*cbLineType, LineTypeKeys);
    FillList(*cbPosText, TextPosKeys);
    FillList(*cbHeadType, HeadTypeKeys);
}

void TfDimStls::Ini(TZORLabelVCL& label)
{
    fLabel = &label;
    {
        const QScopedValueRollback intro(fIntro, true);
        FillLanguage();
        cbFontName->clear();
        cbFontName->addItems(QFontDatabase::families());
        FillStyles();
    }
    ShowStyle();
}

void TfDimStls::FillStyles()
{
    const QScopedValueRollback intro(fIntro, true);
    cbDimStyles->clear();
    fIdx = -1;
    for (int32_t i = 1; i <= fLabel->GetDimStylesCount(); ++i) {
        const TZORDimStyle* style = fLabel->GetDimStyle(i);
        cbDimStyles->addItem(style->GetName());
        if (style == fLabel->GetActiveDimStyle())
            fIdx = i - 1;
    }
    cbDimStyles->setCurrentIndex(fIdx);
}

TZORDimStyle* TfDimStls::Active() const
{
    return fLabel ? fLabel->GetActiveDimStyle() : nullptr;
}

void TfDimStls::Write(const std::function<void(TZORDimStyle&)>& edit)
{
    TZORDimStyle* style = Active();
    if (fIntro || !style)
        return;
    zor::ChangeLabel(*fLabel, [&] { edit(*style); });
    DrawSample();
}

void TfDimStls::ShowStyle()
{
    const TZORDimStyle* s = Active();
    if (!s)
        return;
    {
        const QScopedValueRollback intro(fIntro, true);
        seFontHeight->SetValue(s->GetFontHeight());
        cbFontName->setCurrentIndex(cbFontName->findText(s->fFontName));
        ShColFontColor->SetColor(s->fFontColor);
        SBColBold->setChecked(s->fBold);
        SBColItalic->setChecked(s->fItalic);
        SBColUnderline->setChecked(s->fUnderline);
        edPrefix->setText(s->fPrefix);
        edFormat->setText(s->fFormat);
        edSuffix->setText(s->fSuffix);
        seHeadSize->SetValue(s->GetHeadSize());
        shExtColor->SetColor(s->fExtColor);
        shDimColor->SetColor(s->fDimColor);
        cbHeadType->setCurrentIndex(
            zor::Ord(s->fHeadType) < cbHeadType->count() ? int(zor::Ord(s->fHeadType)) : -1);
        seExtSize->SetValue(s->GetExtSize());
        seExtGap->SetValue(s->GetExtGap());
        seArrowOpen->SetValue(s->fArrowOpen);
        shFillColor->SetColor(s->fFillColor);
        seDimBreak->SetValue(s->GetDimBreak());
        shHeadColor->SetColor(s->fHeadColor);
        cbLineType->setCurrentIndex(
            zor::Ord(s->fDimLineType) < cbLineType->count() ? int(zor::Ord(s->fDimLineType)) : -1);
        cbPosText->setCurrentIndex(s->fTextPos < cbPosText->count() ? s->fTextPos : -1);
        seDimPenWidth->SetValue(s->GetDimPenWidth());
        seExtPenWidth->SetValue(s->GetExtPenWidth());
    }
    DrawSample();
}

void TfDimStls::DrawSample()
{
    if (const TZORDimStyle* s = Active())
        zor::DrawDimSample(fBmp, *s);
    paintLab->update();
}

void TfDimStls::cbDimStylesSelect(int index)
{
    if (fIntro || !fLabel || !fLabel->SetActiveDimStyle(index))
        return;
    fIdx = index;
    ShowStyle();
}

void TfDimStls::seAddStyleClick()
{
    if (!fLabel)
        return;
    const std::optional<QString> typed
        = zor::DialogService().Text(this, TZORMsg::GetDialogsValue(QStringLiteral("AddDimStyle")),
            TZORMsg::GetPropValue(QStringLiteral("Name")), QString());
    const QString name = typed.value_or(QString()).trimmed();
    if (name.isEmpty())
        return;
    zor::ChangeLabel(*fLabel, [&] {
        fLabel->AddDimStyle(std::make_unique<TZORDimStyle>(name, zor::claGray, zor::claGray, false, false));
    });
    FillStyles();
    ShowStyle();
}

void TfDimStls::seDelStyleClick()
{
    const TZORDimStyle* s = Active();
    if (!s)
        return;
    if (s->GetID() == 1) {
        zor::ShowWarning(
            this, windowTitle().trimmed(), TZORMsg::GetErrorValue(QStringLiteral("DelDefStyle")));
        return;
    }
    const QMessageBox::StandardButton answer = zor::DialogService().Message(this, QMessageBox::Question,
        windowTitle().trimmed(), TZORMsg::GetDialogsValue(QStringLiteral("DelStyle")),
        QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    if (answer != QMessageBox::Yes)
        return;
    bool deleted = false;
    zor::ChangeLabel(*fLabel, [&] { deleted = fLabel->DeleteActiveDimStyle(); });
    if (!deleted)
        return;
    // The list is read again, so that no entry names a style that is gone.
    FillStyles();
    ShowStyle();
}
