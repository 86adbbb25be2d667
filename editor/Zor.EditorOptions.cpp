#include "Zor.EditorOptions.h"

#include "Zor.Utils.h"
#include "Zor.Vcl.Editor.h"

#include <QPainter>

#include <algorithm>

using zor::TColor;

// --- Rulers ---

TZORRulers::TZORRulers(TZORBaseEditor* owner)
    : fOwner(owner)
    , fFont(QStringLiteral("Tahoma"))
{
    fFont.setPixelSize(9);
}

void TZORRulers::Assign(const TZORRulers& source)
{
    fFont = source.fFont;
    fColor = source.fColor;
    fToColor = source.fToColor;
    fSizeColor = source.fSizeColor;
    fShowSize = source.fShowSize;
    fMarkColor = source.fMarkColor;
    fTickColor = source.fTickColor;
    fVisible = source.fVisible;
    fShowAlign = source.fShowAlign;
    fSize = source.fSize;
    fStyle = source.fStyle;
    fAlignLeft = source.fAlignLeft;
    fAlignTop = source.fAlignTop;
    Relayout();
}

void TZORRulers::Repaint()
{
    if (fOwner)
        fOwner->UpdateRulers(false);
}

void TZORRulers::Relayout()
{
    if (fOwner)
        fOwner->UpdateRulers(true);
}

// Each setter stores a changed value and repaints or lays out; an equal value does nothing.
template <class T> static bool Change(T& field, const T& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

void TZORRulers::SetFont(const QFont& f)
{
    if (Change(fFont, f))
        Repaint();
}

void TZORRulers::SetColor(TColor c)
{
    if (Change(fColor, c))
        Repaint();
}

void TZORRulers::SetToColor(TColor c)
{
    if (Change(fToColor, c))
        Repaint();
}

void TZORRulers::SetSizeColor(TColor c)
{
    if (Change(fSizeColor, c))
        Repaint();
}

void TZORRulers::SetShowSize(bool s)
{
    if (Change(fShowSize, s))
        Repaint();
}

void TZORRulers::SetTickColor(TColor c)
{
    if (Change(fTickColor, c))
        Repaint();
}

void TZORRulers::SetVisible(uint8_t v)
{
    if (Change(fVisible, uint8_t(v & 0x0F)))
        Relayout();
}

void TZORRulers::SetShowAlign(bool s)
{
    if (Change(fShowAlign, s))
        Repaint();
}

void TZORRulers::SetSize(int s)
{
    if (Change(fSize, std::clamp(s, MinSize, MaxSize)))
        Relayout();
}

void TZORRulers::SetStyle(TZORRulerStyle s)
{
    if (Change(fStyle, s))
        Repaint();
}

// --- Grid ---

TZORGrid::TZORGrid(TZORBaseEditor* owner)
    : fOwner(owner)
{
}

void TZORGrid::Assign(const TZORGrid& source)
{
    fStepColor = source.fStepColor;
    fUnitsColor = source.fUnitsColor;
    fIncX = source.fIncX;
    fIncY = source.fIncY;
    SetStyle(source.fStyle);
}

void TZORGrid::SetStyle(TZORGridDraw s)
{
    if (Change(fStyle, s) && fOwner)
        fOwner->DrawEditor();
}

int64_t TZORGrid::Scale() const
{
    return fOwner ? std::max(1, fOwner->DrawScale()) : 1;
}

int64_t TZORGrid::MaxStep() const
{
    return std::max<int64_t>(100, 1000000 / Scale());
}

double TZORGrid::Read(int32_t& inc)
{
    inc = int32_t(std::clamp<int64_t>(inc, 100, MaxStep()));
    return zor::GetValue(inc * Scale(), fOwner ? fOwner->Units() : TZORUnits::Millimetre);
}

void TZORGrid::Write(int32_t& inc, double v)
{
    const int64_t base = zor::SetValue(v, fOwner ? fOwner->Units() : TZORUnits::Millimetre) / Scale();
    inc = int32_t(std::clamp<int64_t>(base, 100, MaxStep()));
}

double TZORGrid::GetIncX()
{
    return Read(fIncX);
}

double TZORGrid::GetIncY()
{
    return Read(fIncY);
}

void TZORGrid::SetIncX(double v)
{
    Write(fIncX, v);
}

void TZORGrid::SetIncY(double v)
{
    Write(fIncY, v);
}

double TZORGrid::MinInc() const
{
    return zor::GetValue(Scale() * 100, fOwner ? fOwner->Units() : TZORUnits::Millimetre);
}

double TZORGrid::MaxInc() const
{
    return zor::GetValue(MaxStep() * Scale(), fOwner ? fOwner->Units() : TZORUnits::Millimetre);
}

int64_t TZORGrid::BaseIncX() const
{
    return fIncX * Scale();
}

int64_t TZORGrid::BaseIncY() const
{
    return fIncY * Scale();
}

// --- Selection colours ---

void TZORSelColors::Assign(const TZORSelColors& source)
{
    TZORBaseEditor* owner = fOwner;
    *this = source;
    fOwner = owner;
    if (fOwner)
        fOwner->DrawLinkPointColor();
}

void TZORSelColors::SetLinkPoint(TColor c)
{
    fLinkPoint = c;
    if (fOwner)
        fOwner->DrawLinkPointColor();
}

// --- Indicators ---

TZORInfoEd::TZORInfoEd(QWidget* parent, TZORTypeInfo kind)
    : QWidget(parent)
    , fInfType(kind)
{
}

void TZORInfoEd::SetState(TZORStateInfo s)
{
    if (fState == TZORStateInfo::None || s == fState)
        return;
    fState = s;
    update();
}

void TZORInfoEd::paintEvent(QPaintEvent*)
{
    if (fState == TZORStateInfo::None)
        return;
    const bool on = fState == TZORStateInfo::On;
    const int w = width(), h = height();
    QPainter p(this);
    p.fillRect(rect(), on ? QColor(Qt::white) : QColor(0xC0, 0xC0, 0xC0));
    p.setPen(on ? QColor(Qt::black) : QColor(0x80, 0x80, 0x80));
    if (fInfType == TZORTypeInfo::SnapToGrid) {
        p.drawLine(w / 2, 2, w / 2, h - 2);
        p.drawLine(2, h / 2, w - 2, h / 2);
        if (on)
            p.fillRect(QRect(QPoint(w / 2 - 2, h / 2 - 2), QPoint(w / 2 + 2, h / 2 + 2)), Qt::red);
    } else {
        const QPoint step[] = { { 2, 2 }, { h / 2 + 2, 2 }, { h / 2 + 2, h - 2 }, { h, h - 2 } };
        p.drawPolyline(step, 4);
    }
}
