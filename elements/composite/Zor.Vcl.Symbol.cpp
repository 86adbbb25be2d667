#include "Zor.Vcl.Symbol.h"

#include "Zor.Layer.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Composite.Text.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QPainter>

#include <optional>
#include <vector>

using zor::TDraw2D;
using zor::TGPGraphicsPath;
using zor::TZORTarget;

// One interpreter walks a symbol's display list for the screen and for paper. It works in the
// symbol's own coordinates (drawing units from its insertion point): the caller's painter
// transform places, scales and turns them, on the screen canvas and on the printer graphics
// alike, so the two targets draw the same outlines, dashes, fills and text.

namespace {

using K = TZORSymKind;

// Connection points show as circles of this radius, base units.
constexpr int64_t LinkRadius = 1000;

class TSymbolInterpreter {
public:
    TSymbolInterpreter(TZORDraw& D, float scale, TZORTarget target)
        : fD(D)
        , fTarget(target)
        , fScale(scale > 0.0f ? scale : 1.0f)
        , fPainter(D, target)
        , fConf(D.aConf)
    {
    }

    void Run(const TZORLibSymbol& symbol)
    {
        for (int32_t i = 1; i <= symbol.GetItemsCount(); ++i)
            Item(*symbol.GetItem(i));
        if (fTarget == TZORTarget::Screen && fD.aDrawLinkPto)
            Links(symbol);
    }

private:
    double X(const TZORPto& p) const { return fD.GetDrawX(double(p.X)); }
    double Y(const TZORPto& p) const { return fD.GetDrawY(double(p.Y)); }
    QPointF At(const TZORPto& p) const { return { X(p), Y(p) }; }
    std::vector<QPointF> Points(const TZORSymItem& item) const
    {
        std::vector<QPointF> points;
        for (const TZORPto& p : item.Points)
            points.push_back(At(p));
        return points;
    }
    // The box of a centre and its radii.
    QRectF Oval(const TZORSymItem& item, int64_t ry) const
    {
        const QPointF c = At(item.Points[0]);
        const double w = fD.GetDrawX(double(item.RadiusX)), h = fD.GetDrawY(double(ry));
        return { c.x() - w, c.y() - h, 2.0 * w, 2.0 * h };
    }

    // The outline of the current state. A pen that does not scale with the symbol is made thinner
    // by the scale that the transform will put back.
    zor::TZORStroke Stroke() const
    {
        const float width = fConf.ScalePen ? fConf.PenWidth : fConf.PenWidth / fScale;
        return { fConf.FColor, width, fConf.LineType, TZORItemState::Normal, fConf.RoundCap };
    }
    bool Outlined() const { return fConf.PenWidth > 0.0f; }
    // Closed shapes fill with the state's fill and outline with a pen above 0.
    zor::TZORFigurePaint Closed(bool fills) const
    {
        zor::TZORFigurePaint how;
        if (fills && fConf.Fill)
            how.Fill = fConf.BColor;
        if (Outlined())
            how.Outline = Stroke();
        return how;
    }

    void Item(const TZORSymItem& item)
    {
        switch (item.Kind) {
        case K::PenWidth:
            fConf.PenWidth = float(item.Number);
            break;
        case K::Fill:
            fConf.Fill = item.Flag;
            break;
        case K::RoundCap:
            fConf.RoundCap = item.Flag;
            break;
        case K::ScalePen:
            fConf.ScalePen = item.Flag;
            break;
        case K::ForeColor:
            fConf.FColor = item.Color;
            break;
        case K::BackColor:
            fConf.BColor = item.Color;
            break;
        case K::LineType:
            fConf.LineType = item.LineType;
            break;
        case K::FontColor:
            fConf.FontColor = item.Color;
            break;
        case K::FontHeight:
            fConf.FontHeight = float(item.Number);
            break;
        case K::FontName:
            fConf.FontName = item.Text;
            break;
        case K::Bold:
            fConf.Bold = item.Flag;
            break;
        case K::Italic:
            fConf.Italic = item.Flag;
            break;
        case K::Underline:
            fConf.Underline = item.Flag;
            break;
        case K::FontScale:
            fConf.FontScale = float(item.Number);
            break;
        case K::Path:
            PathBracket(item.Flag);
            break;
        case K::Text:
            Text(item);
            break;
        default:
            Shape(item);
            break;
        }
    }

    void PathBracket(bool begin)
    {
        fConf.Path = begin;
        fConf.PathStart = begin;
        if (begin) {
            fPath.emplace(); // a second begin drops the open outline
            return;
        }
        // An end with no open path closes nothing.
        if (!fPath)
            return;
        fPath->CloseFigure();
        fPainter.FillThenOutline(*fPath, Closed(true));
        fPath.reset();
    }

    // Lines, polylines, arcs and Bézier curves inside a path join its outline; the other shapes
    // draw at once.
    void Shape(const TZORSymItem& item)
    {
        const bool joins = item.Kind == K::Line || item.Kind == K::Polyline || item.Kind == K::Arc
            || item.Kind == K::Bezier;
        if (fPath && joins) {
            fConf.PathStart = false;
            AddOpen(*fPath, item);
            return;
        }
        TGPGraphicsPath shape;
        switch (item.Kind) {
        case K::Line:
        case K::Arc:
            // Drawn whatever the pen: a pen of 0 gives a hairline.
            AddOpen(shape, item);
            fPainter.Stroke(shape, Stroke());
            return;
        case K::Polyline:
        case K::Bezier:
            AddOpen(shape, item);
            if (item.Flag)
                shape.CloseFigure();
            fPainter.FillThenOutline(shape, Closed(item.Flag));
            return;
        case K::Circle:
        case K::Ellipse: {
            const QRectF oval = Oval(item, item.Kind == K::Circle ? item.RadiusX : item.RadiusY);
            shape.AddEllipse(oval.x(), oval.y(), oval.width(), oval.height());
            break;
        }
        case K::Rectangle:
            shape = zor::RoundedBox(QRectF(At(item.Points[0]), At(item.Points[1])),
                fD.GetDrawX(double(item.RadiusX)), fD.GetDrawY(double(item.RadiusX)));
            break;
        case K::Sector: {
            const QRectF oval = Oval(item, item.RadiusX);
            shape.AddLine(oval.center().x(), oval.center().y(), oval.center().x(), oval.center().y());
            shape.AddArc(oval.x(), oval.y(), oval.width(), oval.height(), item.Start, item.Sweep);
            shape.CloseFigure();
            break;
        }
        default:
            return;
        }
        fPainter.FillThenOutline(shape, Closed(true));
    }

    void AddOpen(TGPGraphicsPath& path, const TZORSymItem& item) const
    {
        const std::vector<QPointF> p = Points(item);
        switch (item.Kind) {
        case K::Line:
        case K::Polyline:
            path.AddLines(p);
            break;
        case K::Bezier:
            // The start point, then three points per cubic segment; a partial segment is left out.
            path.AddLines({ p[0] });
            for (size_t i = 1; i + 2 < p.size(); i += 3)
                path.AddBezier(p[i - 1], p[i], p[i + 1], p[i + 2]);
            break;
        case K::Arc: {
            const QRectF oval = Oval(item, item.RadiusX);
            path.AddArc(oval.x(), oval.y(), oval.width(), oval.height(), item.Start, item.Sweep);
            break;
        }
        default:
            break;
        }
    }

    // The text from its anchor by its alignments, turned counter-clockwise about the anchor by its
    // angle. Glyphs are filled: no stroke widens them.
    void Text(const TZORSymItem& item)
    {
        const double em = double(fConf.FontHeight) * double(fD.fPixMM);
        if (item.Text.isEmpty() || !(em > 0.0))
            return;
        const bool underline = fConf.Underline && fTarget == TZORTarget::Print;
        const zor::TScaledFont font(fConf.FontName, fConf.Bold, fConf.Italic, underline);
        const double ascent = font.Ascent() * em, descent = font.Descent() * em;
        const double width = font.Advance(item.Text) * em * double(fConf.FontScale);
        const QPointF anchor = At(item.Points[0]);
        constexpr double Share[] = { 0.0, 0.5, 1.0 };
        QPointF start(anchor.x() - width * Share[zor::Ord(item.HAlign)],
            anchor.y() + ascent - (ascent + descent) * Share[zor::Ord(item.VAlign)]);
        if (item.Number != 0.0)
            TDraw2D::RotatePoint(start, anchor, -item.Number);
        zor::PaintGlyphs(
            fD, fTarget, font, start, -item.Number, em, item.Text, fConf.FontColor, double(fConf.FontScale));
    }

    void Links(const TZORLibSymbol& symbol)
    {
        for (int32_t i = 1; i <= symbol.GetNumLinks(); ++i) {
            TZORSymItem link;
            link.Points = { symbol.GetLink(i) };
            link.RadiusX = LinkRadius;
            const QRectF oval = Oval(link, LinkRadius);
            TGPGraphicsPath circle;
            circle.AddEllipse(oval.x(), oval.y(), oval.width(), oval.height());
            fPainter.Stroke(
                circle, { fD.aLinkPoint, 0.0f, TZORineType::Solid, TZORItemState::Normal, false });
        }
    }

    TZORDraw& fD;
    TZORTarget fTarget;
    float fScale;
    zor::TZORPainter fPainter;
    TZORDrawConf& fConf;
    std::optional<TGPGraphicsPath> fPath;
};

} // namespace

void TZORSymbol::DrawSymbol(TZORDraw& dr, const TZORLibSymbol* aSymbol, float aScale)
{
    PaintSymbol(dr, aSymbol, aScale, TZORTarget::Screen);
}

void TZORSymbol::PaintSymbol(TZORDraw& dr, const TZORLibSymbol* aSymbol, float aScale, TZORTarget target)
{
    if (!aSymbol || !zor::TargetPainter(dr, target))
        return;
    TSymbolInterpreter(dr, aScale, target).Run(*aSymbol);
}

void TZORSymbol::Paint(TZORBaseDraw& base, TZORTarget target) const
{
    TZORDraw& D = static_cast<TZORDraw&>(base);
    QPainter* painter = zor::TargetPainter(D, target);
    if (!painter)
        return;
    TZORDrawConf& conf = D.aConf;
    conf.Reset();
    if (const TZORLayer* layer = GetLayer()) {
        conf.FColor = layer->GetColor();
        conf.BColor = layer->GetBackColor();
        conf.PenWidth = layer->GetPenWidth();
        conf.FontColor = layer->GetFontColor();
        conf.Bold = layer->GetBold();
        conf.Italic = layer->GetItalic();
        conf.FontName = layer->GetFontName();
        conf.FontHeight = layer->GetFontHeight();
    }
    const bool screen = target == TZORTarget::Screen;
    if (!screen)
        D.aG->ResetTransform();
    painter->save();
    const TZORPto& at = GetPoint(1);
    painter->translate((screen ? D.fOrgFX : float(D.fOrgX)) + at.DrawX(D),
        (screen ? D.fOrgFY : float(D.fOrgY)) + at.DrawY(D));
    painter->scale(GetScale(), GetScale());
    painter->rotate(GetAngleDeg());
    PaintSymbol(D, GetSymbol(), GetScale(), target);
    painter->restore();
}
