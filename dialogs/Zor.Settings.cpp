#include "Zor.Settings.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"
#include "Zor.Spinfloat.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QRadioButton>
#include <QVBoxLayout>

#include <functional>

using zor::AlphaColorToColor;
using zor::ColorToARGB;
using zor::fSettings;
using zor::TColor;

TfSettings* zor::fSettings = nullptr;

namespace {

using S = TZOREditorSettings;

// Captions are editor texts unless marked as property texts.
struct TCheckRow {
    const char* name;
    const char* key;
    bool S::*member;
};
constexpr TCheckRow Checks[] = {
    { "ckRightRuler", "RightRuler", &S::rulerRight },
    { "ckLeftRuler", "LeftRuler", &S::rulerLeft },
    { "ckTopRuler", "TopRuler", &S::rulerTop },
    { "ckBottomRuler", "BottomRuler", &S::rulerBottom },
    { "ckOrtoLines", "OrtoLines", &S::ortoLines },
    { "cbShowSizes", "ShowSizes", &S::showSize },
    { "cbShowRefLines", "ShowRefLines", &S::showRefLines },
    { "cbShowAlignLines", "ShowAlignLines", &S::showAlign },
};
constexpr int OrtoLinesRow = 4;

struct TSnapRow {
    const char* name;
    const char* key;
    int bit;
};
constexpr TSnapRow Snaps[] = {
    { "ckSnap", "SnapGrid", 1 },
    { "ckEndPoint", "EndPoint", 4 },
    { "ckMiddlePoint", "MiddlePoint", 2 },
    { "ckCenterPoint", "CenterPoint", 3 },
    { "ckTangentPoint", "TangentPoint", 7 },
    { "ckPerpendicularPoint", "PerpendicularPoint", 8 },
    { "ckPoint", "Point", 0 },
    { "ckRefSymbol", "RefSymbol", 5 },
    { "ckCrossPoint", "CrossPoint", 6 },
};

// The colour shapes: the editor's colours, then the label's line-end colour and fill (no member).
struct TColorRow {
    const char* shape;
    const char* label;
    const char* key;
    bool prop;
    TColor S::*member;
};
constexpr TColorRow Colors[] = {
    { "shpGridColor", "labGridColor", "GridColor", false, &S::stepColor },
    { "shpUnitColor", "labUnitColor", "UnitsColor", false, &S::unitsColor },
    { "shSizeColor", "labSizeColor", "SizeColor", false, &S::sizeColor },
    { "shRefLinesColor", "labRefLinesColor", "RefLinesColor", false, &S::refLine },
    { "shAlignLinesColor", "labAlignLinesColor", "AlignLinesColor", false, &S::align },
    { "shAlignTextColor", "labAlignTextColor", "AlignTextColor", false, &S::alignText },
    { "shpTermColor", "labTermColor", "Color", true, nullptr },
    { "shpFillTermColor", "labFillTermColor", "BackColor", true, nullptr },
};
constexpr int FirstTermColor = 6;

// The decimal spin edits, in the order of fNumbers.
struct TNumberRow {
    const char* edit;
    const char* label;
    const char* key;
    bool prop;
    double increment;
};
constexpr TNumberRow Numbers[] = {
    { "seGridX", "labGridX", "GridX", false, 0.5 },
    { "seGridY", "labGridY", "GridY", false, 0.5 },
    { "seMoveX", "labMoveX", "MoveX", false, 0.5 },
    { "seMoveY", "labMoveY", "MoveY", false, 0.5 },
    { "spinEdTermSize", "labTermSize", "Size", true, 0.1 },
};
enum TNumberIndex { GridX, GridY, MoveX, MoveY, TermSize };

constexpr const char* GridStyles[] = { "None", "Points", "Lines" };

QString Caption(const char* key, bool prop)
{
    const QString k = QString::fromLatin1(key);
    return prop ? TZORMsg::GetPropValue(k) : TZORMsg::GetEditorValue(k);
}

TColor FromQColor(const QColor& c)
{
    return TColor { uint32_t(c.red()) | uint32_t(c.green()) << 8 | uint32_t(c.blue()) << 16 };
}

template <class W> W* Named(QWidget* w, const char* name)
{
    w->setObjectName(QString::fromLatin1(name));
    return static_cast<W*>(w);
}

// A swatch of a colour; a press opens the colour dialog.
class TColorShape : public QWidget {
public:
    TColorShape(QWidget* parent, std::function<void(QWidget&)> onPress)
        : QWidget(parent)
        , fOnPress(std::move(onPress))
    {
        setFixedSize(24, 16);
        setCursor(Qt::PointingHandCursor);
    }
    void SetColor(const QColor& c)
    {
        fColor = c;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override
    {
        QPainter p(this);
        p.fillRect(rect(), fColor);
        p.setPen(Qt::black);
        p.drawRect(rect().adjusted(0, 0, -1, -1));
    }
    void mousePressEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton)
            fOnPress(*this);
    }

private:
    std::function<void(QWidget&)> fOnPress;
    QColor fColor;
};

} // namespace

TfSettings::TfSettings(QWidget* parent)
    : QDialog(parent)
    , SEGap(Named<TZORSpinEditFloat>(new TZORSpinEditFloat(this), "SEGap"))
    , RGrid(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("TfSettings"));
    fSettings = this;
    SEGap->SetDigits(0);
    SEGap->SetMaxValue(MaxGap);
    const auto check = [this](const char* name) { return Named<QCheckBox>(new QCheckBox(this), name); };
    const auto label = [this](const char* name) { return Named<QLabel>(new QLabel(this), name); };

    auto* snaps = new QVBoxLayout;
    for (const TSnapRow& row : Snaps)
        snaps->addWidget(check(row.name));
    snaps->addStretch();

    auto* gridBox = Named<QGroupBox>(new QGroupBox(this), "RGrid");
    auto* gridItems = new QVBoxLayout(gridBox);
    for (int i = 0; i < int(std::size(GridStyles)); ++i) {
        auto* item = new QRadioButton(gridBox);
        RGrid->addButton(item, i);
        gridItems->addWidget(item);
    }
    auto* middle = new QGridLayout;
    middle->addWidget(gridBox, 0, 0, 1, 3);
    for (size_t i = 0; i < std::size(Numbers); ++i) {
        TNumber& number = fNumbers[i];
        number.edit = Named<TZORSpinEditFloat>(new TZORSpinEditFloat(this), Numbers[i].edit);
        number.edit->SetIncrement(Numbers[i].increment);
    }
    for (int i = GridX; i <= MoveY; ++i) {
        middle->addWidget(label(Numbers[i].label), 1 + i, 0);
        middle->addWidget(fNumbers[size_t(i)].edit, 1 + i, 1, 1, 2);
    }
    const auto colourRow = [&](QGridLayout* into, int row, int index) {
        auto* shape = new TColorShape(this, [this](QWidget& s) { shpGridColorMouseDown(s); });
        into->addWidget(Named<TColorShape>(shape, Colors[index].shape), row, 0);
        into->addWidget(label(Colors[index].label), row, 1, 1, 2);
    };
    colourRow(middle, 5, 0);
    colourRow(middle, 6, 1);
    middle->addWidget(label("labGap"), 7, 0);
    middle->addWidget(SEGap, 7, 1, 1, 2);
    middle->addWidget(check(Checks[OrtoLinesRow].name), 8, 0, 1, 3);
    middle->setRowStretch(9, 1);

    auto* right = new QGridLayout;
    int r = 0;
    for (int i = 0; i < OrtoLinesRow; ++i)
        right->addWidget(check(Checks[i].name), r++, 0, 1, 3);
    // Each display switch above its colours.
    for (int i = OrtoLinesRow + 1; i < int(std::size(Checks)); ++i) {
        right->addWidget(check(Checks[i].name), r++, 0, 1, 3);
        colourRow(right, r++, i - OrtoLinesRow + 1);
    }
    colourRow(right, r++, 5);
    auto* term = Named<QGroupBox>(new QGroupBox(this), "gbLineTerm");
    auto* termItems = new QGridLayout(term);
    colourRow(termItems, 0, FirstTermColor);
    colourRow(termItems, 1, FirstTermColor + 1);
    termItems->addWidget(label(Numbers[TermSize].label), 2, 0);
    termItems->addWidget(fNumbers[TermSize].edit, 2, 1, 1, 2);
    right->addWidget(term, r++, 0, 1, 3);
    right->setRowStretch(r, 1);

    auto* columns = new QHBoxLayout;
    columns->addLayout(snaps);
    columns->addLayout(middle);
    columns->addLayout(right);
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(columns);
    layout->addWidget(buttons);
    resize(444, 471);
}

TfSettings::~TfSettings()
{
    if (fSettings == this)
        fSettings = nullptr;
}

void TfSettings::FillLanguage()
{
    setWindowTitle(zor::FormCaption(Caption("Settings", false)));
    zor::FillOkCancel(*this);
    for (const TCheckRow& row : Checks)
        findChild<QCheckBox*>(QString::fromLatin1(row.name))->setText(Caption(row.key, false));
    findChild<QCheckBox*>(QString::fromLatin1(Checks[OrtoLinesRow].name))
        ->setText(Caption(Checks[OrtoLinesRow].key, false) + QStringLiteral(" (F8)"));
    for (const TSnapRow& row : Snaps)
        findChild<QCheckBox*>(QString::fromLatin1(row.name))->setText(Caption(row.key, false));
    findChild<QGroupBox*>(QStringLiteral("RGrid"))->setTitle(Caption("Grid", false));
    for (int i = 0; i < int(std::size(GridStyles)); ++i)
        RGrid->button(i)->setText(Caption(GridStyles[i], false));
    for (const TNumberRow& row : Numbers)
        findChild<QLabel*>(QString::fromLatin1(row.label))->setText(Caption(row.key, row.prop));
    for (const TColorRow& row : Colors)
        findChild<QLabel*>(QString::fromLatin1(row.label))->setText(Caption(row.key, row.prop));
    findChild<QLabel*>(QStringLiteral("labGap"))->setText(Caption("PickGap", false));
    findChild<QGroupBox*>(QStringLiteral("gbLineTerm"))->setTitle(Caption("StartEndLine", true));
}

void TfSettings::ShowNumber(TNumber& number, double value, double min, double max)
{
    number.edit->SetMinValue(min);
    number.edit->SetMaxValue(max);
    number.edit->SetValue(value);
    number.given = value;
    number.shown = number.edit->text();
}

double TfSettings::ReadNumber(const TNumber& number) const
{
    const double value = number.edit->text() == number.shown ? number.given : number.edit->GetValue();
    return number.edit->CheckValue(value);
}

QColor TfSettings::ShapeColor(int row) const
{
    if (const auto member = Colors[row].member)
        return zor::ToQColor(fValues.*member);
    return zor::ToQColor(AlphaColorToColor(fTermColors[size_t(row - FirstTermColor)]));
}

void TfSettings::Ini(TZORBaseLabel& label, const TZOREditorSettings& values)
{
    FillLanguage();
    fValues = values;
    for (const TCheckRow& row : Checks)
        findChild<QCheckBox*>(QString::fromLatin1(row.name))->setChecked(values.*row.member);
    for (const TSnapRow& row : Snaps)
        findChild<QCheckBox*>(QString::fromLatin1(row.name))->setChecked((values.snap >> row.bit) & 1);
    if (QAbstractButton* style = RGrid->button(values.gridStyle))
        style->setChecked(true);
    SEGap->SetValInt64(values.gap);
    ShowNumber(fNumbers[GridX], values.incX, values.minInc, values.maxInc);
    ShowNumber(fNumbers[GridY], values.incY, values.minInc, values.maxInc);
    ShowNumber(fNumbers[MoveX], values.moveX, values.minMove, values.maxMove);
    ShowNumber(fNumbers[MoveY], values.moveY, values.minMove, values.maxMove);
    const TZORSettings& settings = label.Settings();
    fTermColors = { settings.GetTermColor(), settings.GetFillTermColor() };
    ShowNumber(fNumbers[TermSize], settings.GetTermSize(), MinTermSize, MaxTermSize);
    for (int row = 0; row < int(std::size(Colors)); ++row)
        static_cast<TColorShape*>(findChild<QWidget*>(QString::fromLatin1(Colors[row].shape)))
            ->SetColor(ShapeColor(row));
}

TZOREditorSettings TfSettings::GetValues() const
{
    TZOREditorSettings values = fValues;
    for (const TCheckRow& row : Checks)
        values.*row.member = findChild<QCheckBox*>(QString::fromLatin1(row.name))->isChecked();
    for (const TSnapRow& row : Snaps) {
        const uint16_t bit = uint16_t(1u << row.bit);
        const bool on = findChild<QCheckBox*>(QString::fromLatin1(row.name))->isChecked();
        values.snap = on ? uint16_t(values.snap | bit) : uint16_t(values.snap & ~bit);
    }
    if (RGrid->checkedId() >= 0)
        values.gridStyle = RGrid->checkedId();
    values.gap = int(SEGap->CheckValue(SEGap->GetValInt64()));
    values.incX = ReadNumber(fNumbers[GridX]);
    values.incY = ReadNumber(fNumbers[GridY]);
    values.moveX = ReadNumber(fNumbers[MoveX]);
    values.moveY = ReadNumber(fNumbers[MoveY]);
    return values;
}

void TfSettings::WriteLabelSettings(TZORBaseLabel& label) const
{
    TZORSettings& settings = label.Settings();
    settings.SetTermColor(fTermColors[0]);
    settings.SetFillTermColor(fTermColors[1]);
    settings.SetTermSize(float(ReadNumber(fNumbers[TermSize])));
}

void TfSettings::shpGridColorMouseDown(QWidget& shape)
{
    const auto* row = std::find_if(std::begin(Colors), std::end(Colors),
        [&](const TColorRow& c) { return shape.objectName() == QLatin1String(c.shape); });
    if (row == std::end(Colors))
        return;
    const int index = int(row - std::begin(Colors));
    const std::optional<QColor> chosen
        = zor::DialogService().Color(this, ShapeColor(index), Caption(row->key, row->prop), false);
    if (!chosen)
        return;
    if (row->member)
        fValues.*row->member = FromQColor(*chosen);
    else
        fTermColors[size_t(index - FirstTermColor)] = ColorToARGB(FromQColor(*chosen));
    static_cast<TColorShape&>(shape).SetColor(ShapeColor(index));
}
