#include "Zor.Canvas.h"

#include "Zor.PainterState.h"
#include "Zor.Utils.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>
#include <QPalette>

#include <algorithm>
#include <array>
#include <cmath>
#include <functional>
#include <utility>
#include <vector>

using zor::DT_BOTTOM;
using zor::DT_CALCRECT;
using zor::DT_CENTER;
using zor::DT_END_ELLIPSIS;
using zor::DT_NOCLIP;
using zor::DT_RIGHT;
using zor::DT_SINGLELINE;
using zor::DT_VCENTER;
using zor::DT_WORDBREAK;
using zor::TA_BASELINE;
using zor::TA_BOTTOM;
using zor::TA_CENTER;
using zor::TA_LEFT;
using zor::TA_RIGHT;
using zor::TA_TOP;
using zor::tagXFORM;
using zor::TBrushStyle;
using zor::TCanvas;

namespace {

struct TSystemColour {
    QPalette::ColorGroup Group;
    QPalette::ColorRole Role;
};

// The palette entry that stands for each system colour index of the framework.
constexpr std::array<TSystemColour, 31> SystemColours = { {
    { QPalette::Active, QPalette::Button }, // scroll bar
    { QPalette::Active, QPalette::Window }, // desktop
    { QPalette::Active, QPalette::Highlight }, // active caption
    { QPalette::Inactive, QPalette::Mid }, // inactive caption
    { QPalette::Active, QPalette::Window }, // menu
    { QPalette::Active, QPalette::Base }, // window
    { QPalette::Active, QPalette::Shadow }, // window frame
    { QPalette::Active, QPalette::WindowText }, // menu text
    { QPalette::Active, QPalette::Text }, // window text
    { QPalette::Active, QPalette::HighlightedText }, // caption text
    { QPalette::Active, QPalette::Window }, // active border
    { QPalette::Inactive, QPalette::Window }, // inactive border
    { QPalette::Active, QPalette::Mid }, // application workspace
    { QPalette::Active, QPalette::Highlight }, // highlight
    { QPalette::Active, QPalette::HighlightedText }, // highlight text
    { QPalette::Active, QPalette::Button }, // button face
    { QPalette::Active, QPalette::Dark }, // button shadow
    { QPalette::Disabled, QPalette::Text }, // grey text
    { QPalette::Active, QPalette::ButtonText }, // button text
    { QPalette::Inactive, QPalette::HighlightedText }, // inactive caption text
    { QPalette::Active, QPalette::Light }, // button highlight
    { QPalette::Active, QPalette::Shadow }, // 3D dark shadow
    { QPalette::Active, QPalette::Midlight }, // 3D light
    { QPalette::Active, QPalette::ToolTipText }, // info text
    { QPalette::Active, QPalette::ToolTipBase }, // info background
    { QPalette::Active, QPalette::Window }, // (unused index)
    { QPalette::Active, QPalette::Link }, // hot light
    { QPalette::Active, QPalette::Highlight }, // gradient active caption
    { QPalette::Inactive, QPalette::Mid }, // gradient inactive caption
    { QPalette::Active, QPalette::Highlight }, // menu highlight
    { QPalette::Active, QPalette::Window }, // menu bar
} };

QPalette ApplicationPalette()
{
    return qGuiApp ? QGuiApplication::palette() : QPalette();
}

// Lines of a text as GDI's DrawText breaks them: at CR, LF and CR LF, and with word breaking
// also between words, a word wider than the box standing on a line of its own.
std::vector<QString> BreakLines(const QString& text, bool wordBreak, bool singleLine, int width,
    const std::function<double(QStringView)>& advance)
{
    if (singleLine)
        return { text };
    std::vector<QString> lines;
    const QStringList paragraphs = QString(text)
                                       .replace(QLatin1String("\r\n"), QLatin1String("\n"))
                                       .replace(QLatin1Char('\r'), QLatin1Char('\n'))
                                       .split(QLatin1Char('\n'));
    for (const QString& paragraph : paragraphs) {
        if (!wordBreak) {
            lines.push_back(paragraph);
            continue;
        }
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
            const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && advance(joined) > width) {
                lines.push_back(line);
                line = word;
            } else {
                line = joined;
            }
        }
        lines.push_back(line);
    }
    return lines;
}

} // namespace

namespace zor {

TColor ResolveSystemColor(TColor c)
{
    if (!IsSystemColor(c))
        return c;
    const uint32_t index = Ord(c) & 0xFF;
    const TSystemColour entry = index < SystemColours.size() ? SystemColours[index] : SystemColours[5];
    const QColor q = ApplicationPalette().color(entry.Group, entry.Role);
    return TColor { static_cast<uint32_t>(q.red()) | (static_cast<uint32_t>(q.green()) << 8)
        | (static_cast<uint32_t>(q.blue()) << 16) };
}

QColor ToQColor(TColor c)
{
    const uint32_t v = Ord(ResolveSystemColor(c));
    return QColor(v & 0xFF, (v >> 8) & 0xFF, (v >> 16) & 0xFF);
}

} // namespace zor

TCanvas::TCanvas(QPainter& painter)
    : fPainter(painter)
{
}

uint32_t TCanvas::SetTextAlign(uint32_t flags)
{
    return std::exchange(fAlign, flags);
}

void TCanvas::SetWorldTransform(const tagXFORM& x)
{
    fWorld = QTransform(x.eM11, x.eM12, x.eM21, x.eM22, x.eDx, x.eDy);
}

const zor::TScaledFont& TCanvas::Face() const
{
    if (!fFace || fFaceKey.Name != Font.Name || fFaceKey.Style != Font.Style) {
        fFace.emplace(
            Font.Name, Font.Style.Bold, Font.Style.Italic, Font.Style.Underline, Font.Style.StrikeOut);
        fFaceKey = Font;
    }
    return *fFace;
}

double TCanvas::Em() const
{
    if (Font.Height != 0)
        return Face().EmOfHeight(Font.Height);
    const QPaintDevice* device = fPainter.device();
    return 8.0 * (device ? device->logicalDpiY() : 96) / 72.0;
}

int TCanvas::Ascent() const
{
    return static_cast<int>(zor::Round(Face().Ascent() * Em()));
}

int TCanvas::Descent() const
{
    return static_cast<int>(zor::Round(Face().Descent() * Em()));
}

double TCanvas::Advance(QStringView text) const
{
    return Face().Advance(text) * Em();
}

int TCanvas::TextWidth(const QString& text) const
{
    return static_cast<int>(zor::Round(Advance(text)));
}

int TCanvas::TextHeight(const QString&) const
{
    return Ascent() + Descent();
}

QSize TCanvas::TextExtent(const QString& text) const
{
    return QSize(TextWidth(text), TextHeight(text));
}

void TCanvas::FillRect(const QRect& r)
{
    const zor::TPainterState state(fPainter);
    if (!fWorld.isIdentity())
        fPainter.setTransform(fWorld, true);
    fPainter.fillRect(r, zor::ToQColor(Brush.Color));
}

void TCanvas::TextOut(double x, double y, const QString& text)
{
    const double em = Em();
    const double width = Advance(text);
    const double ascent = Face().Ascent() * em;
    const double descent = Face().Descent() * em;
    const uint32_t horizontal = fAlign & TA_CENTER;
    const uint32_t vertical = fAlign & TA_BASELINE;
    const double dx = horizontal == TA_CENTER ? -width / 2.0 : horizontal == TA_RIGHT ? -width : 0.0;
    const double dy = vertical == TA_BASELINE ? 0.0 : vertical == TA_BOTTOM ? -descent : ascent;
    const zor::TPainterState state(fPainter);
    fPainter.setTransform(fWorld, true);
    fPainter.translate(x, y);
    fPainter.rotate(-Font.Escapement / 10.0);
    fPainter.setRenderHint(QPainter::TextAntialiasing, true);
    if (Brush.Style == TBrushStyle::Solid)
        fPainter.fillRect(QRectF(dx, dy - ascent, width, ascent + descent), zor::ToQColor(Brush.Color));
    fPainter.setPen(zor::ToQColor(Font.Color));
    Face().Draw(fPainter, QPointF(dx, dy), em, text);
}

QString TCanvas::Elide(const QString& line, int width) const
{
    const QString dots = QStringLiteral("...");
    if (Advance(line) <= width)
        return line;
    for (qsizetype n = line.size() - 1; n > 0; --n) {
        const QString candidate = line.left(n) + dots;
        if (Advance(candidate) <= width)
            return candidate;
    }
    return dots;
}

int TCanvas::DrawText(const QString& text, QRect& r, uint32_t flags)
{
    const int width = r.width();
    const std::vector<QString> lines = BreakLines(text, flags & DT_WORDBREAK, flags & DT_SINGLELINE, width,
        [this](QStringView s) { return Advance(s); });
    const int lh = Ascent() + Descent();
    const int height = static_cast<int>(lines.size()) * lh;
    if (flags & DT_CALCRECT) {
        int widest = 0;
        for (const QString& line : lines)
            widest = std::max(widest, TextWidth(line));
        r.setRight(r.left() + widest - 1);
        r.setBottom(r.top() + height - 1);
        return height;
    }
    const bool single = flags & DT_SINGLELINE;
    int top = r.top();
    if (single && (flags & DT_VCENTER))
        top += (r.height() - lh) / 2;
    else if (single && (flags & DT_BOTTOM))
        top = r.bottom() + 1 - lh;
    fPainter.save();
    if (!(flags & DT_NOCLIP))
        fPainter.setClipRect(r, Qt::IntersectClip);
    const uint32_t saved = SetTextAlign(TA_LEFT | TA_TOP);
    const TBrushStyle brush = std::exchange(Brush.Style, TBrushStyle::Clear);
    int y = top;
    for (const QString& raw : lines) {
        const QString line = (flags & DT_END_ELLIPSIS) ? Elide(raw, width) : raw;
        const int w = TextWidth(line);
        const int x = (flags & DT_CENTER) ? r.left() + (width - w) / 2
            : (flags & DT_RIGHT)          ? r.right() + 1 - w
                                          : r.left();
        TextOut(x, y, line);
        y += lh;
    }
    Brush.Style = brush;
    SetTextAlign(saved);
    fPainter.restore();
    return (flags & (DT_VCENTER | DT_BOTTOM)) && single ? top - r.top() + lh : height;
}
