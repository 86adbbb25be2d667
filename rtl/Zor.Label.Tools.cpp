// The drawing tools: each kind is made from the points its tool takes, click by click.
#include "Zor.Edit.h"
#include "Zor.F2d.h"
#include "Zor.Flow.h"
#include "Zor.Label.h"
#include "Zor.Line.h"
#include "Zor.Symbol.h"
#include "Zor.Text.h"
#include "Zor.Utils.h"

#include <cmath>

using namespace zor;

namespace {

// How many points a tool takes before it makes its element; 0 for a run that the right button
// ends.
int32_t ToolPoints(int32_t action)
{
    switch (action) {
    case acPoint:
    case acText:
    case acBarcode:
    case acPDF417:
    case acDataMatrix:
    case acQRCode:
    case acPolyText:
    case acSymbol:
        return 1;
    case acArc3P:
    case acCircle3P:
    case acSector3P:
    case acEllipse:
    case acDim:
    case acDimAligned:
        return 3;
    case acPolyLine:
    case acPolygon:
    case acBezier:
        return 0;
    default:
        return 2;
    }
}

// The least points a run needs.
size_t RunLeast(int32_t action)
{
    return action == acPolygon ? 3 : 2;
}

// The state after k points.
int32_t StateAfter(int32_t action, int32_t k)
{
    if (ToolPoints(action) == 0)
        return stNext;
    if (action == acEllipse)
        return k == 1 ? stRadiusX : stRadiusY;
    if ((action == acDim || action == acDimAligned) && k == 2)
        return stSide;
    return k == 1 ? stSecond : stThird;
}

int32_t KindOf(int32_t action)
{
    switch (action) {
    case acPoint:
        return int32_t(TZORItemType::Point);
    case acLine:
        return int32_t(TZORItemType::Line);
    case acArrowLine:
        return int32_t(TZORItemType::ArrowLine);
    case acRectangle:
        return int32_t(TZORItemType::Rectangle);
    case acPolyLine:
        return int32_t(TZORItemType::PolyLine);
    case acArc3P:
        return int32_t(TZORItemType::Arc);
    case acPolygon:
        return int32_t(TZORItemType::Polygon);
    case acBezier:
        return int32_t(TZORItemType::Bezier);
    case acCircle:
    case acCircle2P:
    case acCircle3P:
        return int32_t(TZORItemType::Circle);
    case acEllipse:
        return int32_t(TZORItemType::Ellipse);
    case acText:
        return int32_t(TZORItemType::Text);
    case acParagraph:
        return int32_t(TZORItemType::Paragraph);
    case acRichText:
        return int32_t(TZORItemType::RichText);
    case acBarcode:
        return int32_t(TZORItemType::Barcode);
    case acPDF417:
        return int32_t(TZORItemType::PDF417);
    case acDataMatrix:
        return int32_t(TZORItemType::DataMatrix);
    case acQRCode:
        return int32_t(TZORItemType::QRCode);
    case acImage:
        return int32_t(TZORItemType::Image);
    case acFlow:
        return int32_t(TZORItemType::Flow);
    case acLink:
    case acPolyLink:
        return int32_t(TZORItemType::Link);
    case acTable:
        return int32_t(TZORItemType::Table);
    case acPolyText:
        return int32_t(TZORItemType::PolyText);
    case acRank:
        return int32_t(TZORItemType::Rank);
    case acNutriScore:
        return int32_t(TZORItemType::NutriScore);
    case acLevel:
        return int32_t(TZORItemType::Level);
    case acSymbol:
        return int32_t(TZORItemType::Symbol);
    case acDim:
    case acDimAligned:
        return int32_t(TZORItemType::Dim);
    case acSector:
    case acSector2P:
    case acSector3P:
        return int32_t(TZORItemType::Sector);
    case acPackage:
        return int32_t(TZORItemType::Package);
    default:
        return 0;
    }
}

using TPoints = std::vector<TZORPto>;

TPoints Square(int64_t cx, int64_t cy, int64_t rx, int64_t ry)
{
    return { { cx - rx, cy - ry }, { cx + rx, cy + ry } };
}

TPoints Box(const TZORPto& a, const TZORPto& b)
{
    const TZORRect r = TZORRect { a.X, a.Y, b.X, b.Y }.Normalized();
    return { { r.Left, r.Top }, { r.Right, r.Bottom } };
}

// The box round the circle the tool's points give; empty when they give none.
TPoints CircleBox(int32_t action, std::span<const TZORPto> p)
{
    TDraw2DCircle c;
    if (action == acCircle || action == acLevel || action == acSector) {
        const int64_t r = Round(std::hypot(double(p[1].X - p[0].X), double(p[1].Y - p[0].Y)));
        return Square(p[0].X, p[0].Y, r, r);
    }
    if (action == acCircle2P || action == acSector2P)
        c = TDraw2D::CircleTwoPoints(double(p[0].X), double(p[0].Y), double(p[1].X), double(p[1].Y));
    else if (!TDraw2D::CircleThreePoints(double(p[0].X), double(p[0].Y), double(p[1].X), double(p[1].Y),
                 double(p[2].X), double(p[2].Y), c))
        return {};
    const int64_t r = Round(c.R);
    return Square(Round(c.Cx), Round(c.Cy), r, r);
}

// A smooth curve through the clicked points: each segment's control points lie a sixth of the
// neighbours' span along it (a Catmull-Rom spline as cubic Bézier segments).
TPoints BezierThrough(std::span<const TZORPto> a)
{
    TPoints out { a[0] };
    const size_t n = a.size();
    const auto at = [&](ptrdiff_t i) { return a[size_t(std::clamp<ptrdiff_t>(i, 0, ptrdiff_t(n) - 1))]; };
    for (size_t i = 0; i + 1 < n; ++i) {
        const TZORPto p0 = at(ptrdiff_t(i) - 1), p1 = a[i], p2 = a[i + 1], p3 = at(ptrdiff_t(i) + 2);
        out.push_back({ p1.X + Round((p2.X - p0.X) / 6.0), p1.Y + Round((p2.Y - p0.Y) / 6.0) });
        out.push_back({ p2.X - Round((p3.X - p1.X) / 6.0), p2.Y - Round((p3.Y - p1.Y) / 6.0) });
        out.push_back(p2);
    }
    return out;
}

bool IsTextTool(int32_t action)
{
    return action == acText || action == acParagraph || action == acRichText;
}

} // namespace

// --- Presses of the drawing tools ---

void TZORBaseLabel::ToolPress(int64_t x, int64_t y, int32_t tol, TZORShift)
{
    const int32_t action = TAct::fCurAction;
    if (action == acText && TAct::fCurState == stTyping) {
        // A press while typing a new text ends it; the press places the next one.
        EndTextEditing();
        TAct::SetCurAction(acText);
    }
    if (action >= acTrim && action <= acOffset) {
        ModifyPress(x, y, tol);
        return;
    }
    if (action >= acDimRadius && action <= acDimDiameterOut) {
        RadialPress(x, y, tol);
        return;
    }
    if (KindOf(action) == 0)
        return;
    if (!fEdit->UndoOpen) {
        BeginUndoStep();
        fEdit->UndoOpen = true;
    }
    if (action == acLink || action == acPolyLink) {
        const bool end = action == acLink ? TAct::fCurState == stSecond : TAct::fCurState == stLinkEnd;
        if (TAct::fCurState == stFirst) {
            fEdit->PickedID = int32_t(x);
            fEdit->PickedAnchor = int16_t(y);
            TAct::SetState(action == acLink ? stSecond : stNext);
        } else if (end) {
            const TZORPto to { x, y };
            CreateFromTool(std::span<const TZORPto>(&to, 1));
        } else {
            TAct::AddPoint(x, y); // a link point of the polyline link
        }
        return;
    }
    TAct::AddPoint(x, y);
    const int32_t need = ToolPoints(action);
    if (need != 0 && TAct::NumPoints() >= need)
        CreateFromTool(TAct::Points());
    else
        TAct::SetState(StateAfter(action, TAct::NumPoints()));
}

void TZORBaseLabel::ToolValue(int64_t value)
{
    const int32_t action = TAct::fCurAction;
    if (action == acOffset && TAct::fCurState == stDistance) {
        fEdit->DistanceTyped = true;
        ModifyPress(value, 0, 0);
        return;
    }
    if (TAct::NumPoints() == 0 || value <= 0)
        return;
    const TZORPto last = TAct::Points().back();
    // A length puts the next point that far along X; a box becomes a square of that side.
    int64_t dy = 0;
    if (action == acRectangle || action == acParagraph || action == acRichText || action == acImage
        || action == acTable || action == acFlow || action == acRank || action == acNutriScore
        || action == acPackage)
        dy = value;
    ToolPress(last.X + value, last.Y + dy, 0, 0);
}

bool TZORBaseLabel::ToolRightButton()
{
    const int32_t action = TAct::fCurAction;
    if (ToolPoints(action) != 0 || KindOf(action) == 0)
        return false;
    if (size_t(TAct::NumPoints()) < RunLeast(action))
        return false;
    CreateFromTool(TAct::Points());
    return true;
}

void TZORBaseLabel::EndCreation()
{
    TAct::ClearPoints();
    fEdit->PickedID = 0;
    fEdit->PickedAnchor = 0;
    fEdit->Edges.clear();
    fEdit->DistanceTyped = false;
    fEdit->Distance = 0;
    if (fEdit->UndoOpen && !fEdit->Dragging) {
        fEdit->UndoOpen = false;
        EndUndoStep();
    }
}

// The element of the current tool from its points, entered and selected; the tool then waits
// for the next one (a text kind first takes its text in place).
TZORBaseItem* TZORBaseLabel::CreateFromTool(std::span<const TZORPto> p)
{
    const int32_t action = TAct::fCurAction;
    const bool link = action == acLink || action == acPolyLink;
    TPoints points(p.begin(), p.end());
    std::array<TZORPto, 6> derived;
    TZRDimType dimType = TZRDimType::Horizontal;
    switch (action) {
    case acText:
        points = { p[0], p[0] };
        break;
    case acRectangle:
    case acParagraph:
    case acRichText:
    case acImage:
    case acFlow:
    case acTable:
    case acRank:
    case acNutriScore:
    case acPackage:
        points = Box(p[0], p[1]);
        break;
    case acCircle:
    case acCircle2P:
    case acCircle3P:
    case acLevel:
    case acSector:
    case acSector2P:
    case acSector3P:
        points = CircleBox(action, p);
        break;
    case acEllipse:
        points = Square(p[0].X, p[0].Y, std::abs(p[1].X - p[0].X), std::abs(p[2].Y - p[0].Y));
        break;
    case acArc3P: {
        TDraw2DArc arc;
        if (!TDraw2D::ArcThreePoints(double(p[0].X), double(p[0].Y), double(p[1].X), double(p[1].Y),
                double(p[2].X), double(p[2].Y), arc))
            points.clear();
        else
            points = { p[0], p[0], p[0], p[1], p[2] };
        break;
    }
    case acBezier:
        points = BezierThrough(p);
        break;
    case acDim:
    case acDimAligned:
        dimType = TZORBaseDim::CalcDimPoints(this, p[0].X, p[0].Y, p[1].X, p[1].Y, p[2].X, p[2].Y, derived);
        points = { p[0], p[1], derived[0], derived[1], derived[2], derived[3], derived[4], derived[5] };
        break;
    case acLink:
        points.clear();
        break;
    case acPolyLink:
        points = TAct::Points();
        break;
    default:
        break;
    }
    const auto setup = [&](TZORBaseItem& item) {
        if (auto* dim = dynamic_cast<TZORBaseDim*>(&item)) {
            dim->SetDimType(dimType);
            dim->AssignText();
            dim->CalcValues(0);
        }
        if (auto* l = dynamic_cast<TZORBaseLink*>(&item)) {
            l->SetLinkType(TZORinkType(TAct::fCurLinkType));
            l->SetFromID(fEdit->PickedID);
            l->SetFromIndex(fEdit->PickedAnchor);
            l->SetToID(int32_t(p[0].X));
            l->SetToIndex(int16_t(p[0].Y));
        }
    };
    TZORBaseItem* made = points.empty() && !link ? nullptr : Create(KindOf(action), points, setup);
    if (auto* l = dynamic_cast<TZORBaseLink*>(made)) {
        // The ends are found once the link is in the label with the elements it joins.
        l->CalcLinkPoints(true);
        l->Update();
    }
    EndCreation();
    TAct::SetCurAction(action);
    if (made && IsTextTool(action))
        BeginTextEditing(made, true);
    Notify(TZRChange::Redraw);
    return made;
}

// An element of the kind on the given points, with what the kind and the active layer give a new
// one, entered and selected. Null for a kind this label cannot build.
TZORBaseItem* TZORBaseLabel::Create(
    int32_t code, std::span<const TZORPto> points, const std::function<void(TZORBaseItem&)>& setup)
{
    std::unique_ptr<TZORBaseItem> item = NewItem(code, false);
    if (!item)
        return nullptr;
    if (auto* text = dynamic_cast<TZORBaseText*>(item.get()))
        text->IniText();
    if (auto* para = dynamic_cast<TZORBasePara*>(item.get()))
        para->IniPara();
    if (auto* flow = dynamic_cast<TZORBaseFlow*>(item.get()))
        flow->SetFlowType(TAct::fCurFlowType);
    if (auto* symbol = dynamic_cast<TZORBaseSymbol*>(item.get())) {
        if (!GetCurrentSymbol())
            return nullptr;
        symbol->SetSymbol(GetCurrentSymbol());
    }
    if (auto* dim = dynamic_cast<TZORBaseDim*>(item.get())) {
        if (const TZORDimStyle* style = GetActiveDimStyle())
            dim->SetDimStyle(style->GetID());
    }
    if (!points.empty())
        item->AssignPoints(points);
    LayerDefaults(*item);
    if (setup)
        setup(*item);
    BeginUpdate(true);
    TZORBaseItem* added = AddItem(std::move(item));
    SortItemsZLayer();
    Select(added);
    EndUpdate();
    return added;
}

void TZORBaseLabel::LayerDefaults(TZORBaseItem& item) const
{
    const TZORLayer* layer = GetActiveLayer();
    if (!layer || item.TypeCode() == TZORItemType::Symbol)
        return;
    item.SetColor(layer->GetColor());
    item.SetPenWidth(layer->GetPenWidth());
    if (auto* figure = dynamic_cast<TZOR2DItem*>(&item))
        figure->SetBackColor(layer->GetBackColor());
}

// --- The public calls of the tools ---

void TZORBaseLabel::PickEditor(int64_t value, TZORShift, bool)
{
    if (TAct::fCurAction > acSelect)
        ToolValue(value);
}

void TZORBaseLabel::RightButton(int64_t, int64_t, int32_t, TZORShift)
{
    const int32_t action = TAct::fCurAction;
    if (action == acSelect || action == acMove)
        return;
    if (!ToolRightButton())
        ResetAction();
}
