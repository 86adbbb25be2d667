#include "Zor.Vcl.Text.Frame.h"

#include "Zor.Label.h"
#include "Zor.Utils.h"
#include "drawing/Zor.Vcl.Shared.Screen.h"

#include <algorithm>
#include <cmath>

namespace zor {

namespace {

constexpr double MMPerInch = 25.4;
// The largest em a printed font takes, device pixels.
constexpr int MaxEm = 1 << 20;

// The local axes of each quarter turn on the device: where u and v point.
struct TAxes {
    QPointF U;
    QPointF V;
};

constexpr TAxes Axes[4] = {
    { { 1, 0 }, { 0, 1 } },
    { { 0, -1 }, { 1, 0 } },
    { { -1, 0 }, { 0, -1 } },
    { { 0, 1 }, { -1, 0 } },
};

const TAxes& AxesOf(TZORAngle angle)
{
    return Axes[Ord(angle) & 3];
}

} // namespace

TZORFrameLook TZORFrameLook::Of(const TZOR2DItem& item, float radiusMM)
{
    return { item.GetFilled(), item.GetBackColor(), item.GetPenWidth(), item.GetColor(), radiusMM };
}

QPointF TZORTurn::Map(double u, double v) const
{
    const TAxes& a = AxesOf(Angle);
    return Origin + a.U * u + a.V * v;
}

QRectF TZORTurn::Map(const QRectF& local) const
{
    return QRectF(Map(local.left(), local.top()), Map(local.right(), local.bottom())).normalized();
}

QPointF TZORTurn::Unmap(const QPointF& device) const
{
    const TAxes& a = AxesOf(Angle);
    const QPointF d = device - Origin;
    return { QPointF::dotProduct(d, a.U), QPointF::dotProduct(d, a.V) };
}

double TZORTurn::Degrees() const
{
    return -90.0 * (Ord(Angle) & 3);
}

TZORTurn TurnBox(const QRectF& box, double padX, double padY, TZORAngle angle)
{
    const QRectF b = box.normalized();
    const double w = std::max(0.0, b.width() - 2.0 * padX);
    const double h = std::max(0.0, b.height() - 2.0 * padY);
    const double l = b.left() + padX, t = b.top() + padY, r = b.right() - padX, bt = b.bottom() - padY;
    const TZORAngle a = TZORAngle(Ord(angle) & 3);
    switch (a) {
    case TZORAngle::Angle90:
        return { { l, bt }, a, h, w };
    case TZORAngle::Angle180:
        return { { r, bt }, a, w, h };
    case TZORAngle::Angle270:
        return { { r, t }, a, h, w };
    case TZORAngle::Angle0:
        break;
    }
    return { { l, t }, a, w, h };
}

QString PrintedValue(const TZORBaseItem& item, const QString& own, const TZORBaseDraw& D)
{
    if (item.FillType() == 0)
        return own;
    return D.DataValue(item.GetOwner(), item.FillName(), item.GetFormat(), item.FillType());
}

TZORElementPainter::TZORElementPainter(TZORBaseDraw& D, TZORTarget target)
    : TZORPainter(D, target)
{
    if (TCanvas* canvas = Canvas()) {
        fFont = canvas->Font;
        fBrush = canvas->Brush.Style;
        fAlign = canvas->SetTextAlign(TA_LEFT | TA_TOP);
        canvas->SetTextAlign(fAlign);
    }
}

TZORElementPainter::~TZORElementPainter()
{
    TCanvas* canvas = Canvas();
    if (!canvas || !fFont)
        return;
    canvas->Font = *fFont;
    canvas->Brush.Style = fBrush;
    canvas->SetTextAlign(fAlign);
    canvas->SetWorldTransform(tagXFORM {});
    Context().ResetMatrix(Context().fDrawState);
}

double TZORElementPainter::MMX(double mm) const
{
    return mm * Context().fDPIX / MMPerInch;
}

double TZORElementPainter::MMY(double mm) const
{
    return mm * Context().fDPIY / MMPerInch;
}

double TZORElementPainter::MMAlong(const TZORTurn& turn, double mm) const
{
    return (Ord(turn.Angle) & 1) ? MMY(mm) : MMX(mm);
}

double TZORElementPainter::MMAcross(const TZORTurn& turn, double mm) const
{
    return (Ord(turn.Angle) & 1) ? MMX(mm) : MMY(mm);
}

bool TZORElementPainter::InEditor() const
{
    const TZORDrawState s = Context().fDrawState;
    return OnScreen() && (s == TZORDrawState::Editor || s == TZORDrawState::Design);
}

TCanvas* TZORElementPainter::Canvas() const
{
    return OnScreen() ? nullptr : Context().aC;
}

void TZORElementPainter::Frame(const QRectF& box, const TZORFrameLook& look, const TZORFrameRule& rule)
{
    const bool fill = look.Filled && (!OnScreen() || !rule.OpaqueFill || (Ord(look.Back) >> 24) > 0);
    const bool outline = look.PenWidth > 0.0f && (!OnScreen() || rule.ScreenOutline);
    const double rx = MMX(look.Radius), ry = MMY(look.Radius);
    if (fill)
        Fill(RoundedBox(box, rx, ry), look.Back);
    if (!outline)
        return;
    const bool inset
        = OnScreen() && (rule.Inset == TZORInset::Always || (rule.Inset == TZORInset::WithoutFill && !fill));
    const double half = inset ? Pixels(look.PenWidth) / 2.0 : 0.0;
    const QRectF edge = box.normalized().adjusted(half, half, -half, -half);
    Stroke(RoundedBox(edge, rx, ry),
        { look.Line, look.PenWidth, TZORineType::Solid, TZORItemState::Normal, false });
}

void TZORElementPainter::DataMarker(const TZORBaseItem& item, const QPointF& at)
{
    // The label's own editor alone marks bound elements; a design view shows them as they are.
    if (item.GetIsData() && OnScreen() && Context().fDrawState == TZORDrawState::Editor && Context().kC
        && Context().kP)
        DrawData(Context(), static_cast<float>(at.x()), static_cast<float>(at.y()));
}

void TZORElementPainter::SetPrinterFont(
    const QString& family, double em, const TFontStyles& style, TAlphaColor color)
{
    TCanvas* canvas = Canvas();
    if (!canvas)
        return;
    // A font of no size (a size that is not a number included) writes nothing.
    fEm = std::isfinite(em) ? std::clamp(em, 0.0, double(MaxEm)) : 0.0;
    const int64_t whole = std::max<int64_t>(Round(fEm), 1);
    fEmScale = fEm / double(whole);
    canvas->Font.Name = family;
    canvas->Font.Height = -static_cast<int>(whole);
    canvas->Font.Style = style;
    canvas->Font.Color = AlphaColorToColor(color);
    canvas->Font.Escapement = 0;
}

double TZORElementPainter::PrinterAscent() const
{
    const TCanvas* canvas = Canvas();
    return canvas ? canvas->Face().Ascent() * fEm : 0.0;
}

double TZORElementPainter::PrinterDescent() const
{
    const TCanvas* canvas = Canvas();
    return canvas ? canvas->Face().Descent() * fEm : 0.0;
}

void TZORElementPainter::PrintText(
    const TZORTurn& turn, double u, double v, const QString& text, double scaleX)
{
    TCanvas* canvas = Canvas();
    if (!canvas || text.isEmpty())
        return;
    // The world transform turns and stretches the text about its own start, so a stretched text
    // grows along its line at every angle, as it does on screen.
    const TAxes& a = AxesOf(turn.Angle);
    const QPointF at = turn.Map(u, v);
    const double k = fEmScale;
    tagXFORM& x = Context().xM;
    x.eM11 = static_cast<float>(a.U.x() * scaleX * k);
    x.eM12 = static_cast<float>(a.U.y() * scaleX * k);
    x.eM21 = static_cast<float>(a.V.x() * k);
    x.eM22 = static_cast<float>(a.V.y() * k);
    x.eDx = static_cast<float>(at.x());
    x.eDy = static_cast<float>(at.y());
    canvas->Font.Escapement = 0;
    canvas->SetWorldTransform(x);
    canvas->TextOut(0.0, 0.0, text);
    Context().ResetMatrix(Context().fDrawState);
    canvas->SetWorldTransform(Context().xM);
}

} // namespace zor
