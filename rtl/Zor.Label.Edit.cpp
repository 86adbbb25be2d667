// The select tool, the handles, drags and the operations on the selection.
#include "Zor.Edit.h"
#include "Zor.F2d.h"
#include "Zor.Flow.h"
#include "Zor.Label.h"
#include "Zor.Line.h"
#include "Zor.Text.h"
#include "Zor.Utils.h"

#include <algorithm>
#include <cmath>
#include <unordered_set>

using namespace zor;

// --- The text edited in place ---

bool TZORTextObject::IsTextKind(const TZORBaseItem* item)
{
    return dynamic_cast<const TZORBaseText*>(item) || dynamic_cast<const TZORBasePara*>(item);
}

QString TZORTextObject::GetText() const
{
    if (const auto* rich = dynamic_cast<const TZORBaseRichText*>(fItem))
        return rich->GetRichText();
    if (const auto* para = dynamic_cast<const TZORBasePara*>(fItem))
        return para->GetText();
    if (const auto* text = dynamic_cast<const TZORBaseText*>(fItem))
        return text->GetText();
    return {};
}

void TZORTextObject::SetText(const QString& t)
{
    if (auto* rich = dynamic_cast<TZORBaseRichText*>(fItem))
        rich->SetRichTextValue(t);
    else if (auto* para = dynamic_cast<TZORBasePara*>(fItem))
        para->SetText(t);
    else if (auto* text = dynamic_cast<TZORBaseText*>(fItem))
        text->SetText(t);
    else
        return;
    fItem->Update();
}

namespace {

bool Selectable(const TZORBaseItem& item)
{
    if (item.IsPreview() || !item.HasOption(ioSelect) || !item.HasOption(ioView))
        return false;
    const TZORLayer* layer = item.GetLayer();
    return !layer || (layer->GetOptions() & (loSelect | loView)) == (loSelect | loView);
}

// v, lying between lo and hi of one box, at the same place between nlo and nhi of another; a
// box without extent along the axis only moves.
int64_t MapAxis(int64_t v, int64_t lo, int64_t hi, int64_t nlo, int64_t nhi)
{
    if (hi == lo)
        return v + (nlo - lo);
    return nlo + Round(double(v - lo) * double(nhi - nlo) / double(hi - lo));
}

// The handle kind a move type drags.
int32_t DraggedKind(int32_t moveType)
{
    switch (moveType) {
    case mtRadius:
        return hkRadius;
    case mtCorner:
        return hkCorner;
    case mtControl:
        return hkControl;
    case mtArcPoint:
        return hkArcPoint;
    case mtVertex:
        return hkVertex;
    case mtRadiusX:
        return hkRadiusX;
    case mtRadiusY:
        return hkRadiusY;
    case mtAngle:
        return hkAngle;
    case mtWidth:
        return hkWidth;
    default:
        return moveType >= mtNW && moveType <= mtSE ? moveType - mtNW + hkNW : -1;
    }
}

bool IsResize(int32_t moveType)
{
    return (moveType >= mtNW && moveType <= mtSE) || moveType == mtWidth;
}

// The box of a resize: the edges that the handle holds follow the pointer's offset; a box
// dragged through its opposite edge turns round instead of getting a negative size.
TZORRect ResizedBox(const TZORRect& box, int32_t moveType, int64_t dx, int64_t dy)
{
    TZORRect r = box;
    const int k = moveType == mtWidth ? mtE : moveType;
    if (k == mtNW || k == mtW || k == mtSW)
        r.Left += dx;
    if (k == mtNE || k == mtE || k == mtSE)
        r.Right += dx;
    if (k == mtNW || k == mtN || k == mtNE)
        r.Top += dy;
    if (k == mtSW || k == mtS || k == mtSE)
        r.Bottom += dy;
    return r.Normalized();
}

int64_t GridRound(int64_t v, int64_t step)
{
    if (step <= 0)
        return v;
    int64_t n = v / step;
    const int64_t rem = v % step;
    if (rem > step / 2)
        ++n;
    else if (rem < -(step / 2))
        --n;
    return n * step;
}

// Point index of the element goes to p; a one-point element (or a text at its anchor) moves
// whole.
void MovePointOf(TZORBaseItem& item, int32_t index, const TZORPto& p)
{
    if (index < 1 || index > item.GetPointsCount())
        return;
    if (HasInsertPoint(item)) {
        const TZORPto& at = item.GetPoint(1);
        item.Move(double(p.X - at.X), double(p.Y - at.Y));
        return;
    }
    if (auto* link = dynamic_cast<TZORBaseLink*>(&item)) {
        link->SetBasePoint(index, p.X, p.Y, true);
        link->Update();
        return;
    }
    item.SetBase(index, p.X, p.Y);
    item.Update();
    if (auto* dim = dynamic_cast<TZORBaseDim*>(&item)) {
        dim->AssignText();
        dim->CalcValues(0);
    }
}

} // namespace

// --- Selection ---

TZORBaseItem* TZORBaseLabel::ItemAt(int64_t x, int64_t y, int32_t tol) const
{
    for (auto it = fItems.rbegin(); it != fItems.rend(); ++it) {
        // The box first: most elements lie far from the pointer.
        const TZORRect& b = (*it)->GetBounds();
        if (x < std::min(b.Left, b.Right) - tol || x > std::max(b.Left, b.Right) + tol
            || y < std::min(b.Top, b.Bottom) - tol || y > std::max(b.Top, b.Bottom) + tol)
            continue;
        if (Selectable(**it) && (*it)->Pick(x, y, tol, IsSelected(it->get())))
            return it->get();
    }
    return nullptr;
}

bool TZORBaseLabel::PickItem(const TZORBaseItem* item, int64_t x, int64_t y, int32_t tol, bool aSelected) const
{
    return item && IndexOfItem(item) != 0 && item->Pick(x, y, tol, aSelected);
}

void TZORBaseLabel::SelectNext()
{
    const int32_t n = GetItemsCount();
    const int32_t from = fSelection.empty() ? n : IndexOfItem(fSelection.front());
    for (int32_t k = 1; k <= n; ++k) {
        TZORBaseItem* item = GetItem((from - 1 + k) % n + 1);
        if (Selectable(*item)) {
            Select(item);
            Notify(TZRChange::ScrollToSelection);
            return;
        }
    }
}

void TZORBaseLabel::SelectPrior()
{
    const int32_t n = GetItemsCount();
    const int32_t from = fSelection.empty() ? 1 : IndexOfItem(fSelection.front());
    for (int32_t k = 1; k <= n; ++k) {
        TZORBaseItem* item = GetItem((from - 1 - k + 2 * n) % n + 1);
        if (Selectable(*item)) {
            Select(item);
            Notify(TZRChange::ScrollToSelection);
            return;
        }
    }
}

float TZORBaseLabel::SizeSelection(int16_t kind) const
{
    if (fSelection.empty() || kind < 1 || kind > 4)
        return -1.0f;
    const TZORRect b = SelectionBounds();
    const int64_t sides[] = { b.Left, b.Right, b.Top, b.Bottom };
    return float(GetValue(sides[kind - 1], fUnits));
}

int32_t TZORBaseLabel::GetSelPointCount() const
{
    fEdit->Handles = SelectionHandles(*this);
    return int32_t(fEdit->Handles.size());
}

TZORSelPoint TZORBaseLabel::GetSelPoint(int32_t i) const
{
    if (i < 1 || i > int32_t(fEdit->Handles.size()))
        GetSelPointCount();
    if (i < 1 || i > int32_t(fEdit->Handles.size()))
        return {};
    const TZORHandle& h = fEdit->Handles[size_t(i - 1)];
    const auto u = [this](int64_t v) { return float(GetValue(v, fUnits)); };
    return { u(h.X), u(h.Y), u(h.X2), u(h.Y2), h.Kind, h.Index, h.Item };
}

bool TZORBaseLabel::DeletePoint(int32_t n)
{
    TZORBaseItem* item = Select();
    if (!item || n < 1 || n > item->GetPointsCount())
        return false;
    std::vector<TZORPto> points;
    for (int32_t i = 1; i <= item->GetPointsCount(); ++i)
        points.push_back(item->GetPoint(i));
    size_t from = size_t(n - 1), count = 1, least = 2;
    switch (item->TypeCode()) {
    case TZORItemType::PolyLine:
        break;
    case TZORItemType::Polygon:
        least = 3;
        break;
    case TZORItemType::Link:
        least = 0;
        break;
    case TZORItemType::Bezier:
        // An end point goes with its two control points: the curve stays whole segments.
        if ((n - 1) % 3 != 0)
            return false;
        from = n == 1 ? 0 : size_t(n - 3);
        count = 3;
        least = 4;
        break;
    default:
        return false;
    }
    if (points.size() < least + count)
        return false;
    BeginUpdate(true);
    points.erase(points.begin() + std::ptrdiff_t(from), points.begin() + std::ptrdiff_t(from + count));
    item->AssignPoints(points);
    TAct::fPos1 = 0;
    FollowLinks();
    Notify(TZRChange::SelectionGeometry);
    EndUpdate();
    return true;
}

void TZORBaseLabel::RotateSelectionLeft()
{
    RotateSelection(true);
}

void TZORBaseLabel::RotateSelectionRight()
{
    RotateSelection(false);
}

// Each element turns about its own centre, which turns about the selection's centre. With
// nothing selected the label itself turns a quarter (its background follows the orientation).
void TZORBaseLabel::RotateSelection(bool aLeft)
{
    if (fSelection.empty()) {
        BeginUpdate(true);
        SetOrientation(uint8_t(fOrientation + (aLeft ? 1 : 3)));
        EndUpdate();
        return;
    }
    BeginUpdate(true);
    const TZORRect b = SelectionBounds();
    const int64_t cx = b.Left + b.GetWidth() / 2, cy = b.Top + b.GetHeight() / 2;
    for (TZORBaseItem* item : fSelection) {
        const TZORPto e = item->CenterPoint();
        if (aLeft)
            item->RotateLeft();
        else
            item->RotateRight();
        const int64_t ox = e.X - cx, oy = e.Y - cy;
        const int64_t nx = aLeft ? cx + oy : cx - oy, ny = aLeft ? cy - ox : cy + ox;
        const TZORPto now = item->CenterPoint();
        item->Move(double(nx - now.X), double(ny - now.Y));
    }
    FollowLinks();
    Notify(TZRChange::SelectionGeometry);
    EndUpdate();
}

void TZORBaseLabel::FollowLinks()
{
    for (const auto& item : fItems)
        if (item->TypeCode() == TZORItemType::Link)
            item->CalcValues(0);
}

// --- Presses ---

void TZORBaseLabel::PickEditor(int64_t x, int64_t y, int32_t tol, TZORShift shift, bool)
{
    // A drag whose release never came ends here, so that the press starts afresh.
    if (TAct::fCurEditor || fEdit->Dragging || TAct::fCurAction == acMove)
        EndDrag();
    switch (TAct::fCurAction) {
    case acSelect:
        SelectPress(x, y, tol, shift);
        break;
    case acTextEdit:
    case acTextSelect:
        // A press off the text ends its editing and selects as the select tool does.
        EndTextEditing();
        TAct::Reset();
        SelectPress(x, y, tol, shift);
        break;
    default:
        ToolPress(x, y, tol, shift);
        break;
    }
}

void TZORBaseLabel::SelectPress(int64_t x, int64_t y, int32_t tol, TZORShift shift)
{
    TZORBaseItem* item = ItemAt(x, y, tol);
    if (!item) {
        if ((shift & ssShift) == 0)
            UnSelectAll();
        fEdit->WindowStart = { x, y };
        fEdit->WindowAdds = (shift & ssShift) != 0;
        TAct::SetState(stWindow);
        TAct::fDrawType = dtWindow;
        return;
    }
    if ((shift & ssShift) != 0) {
        if (IsSelected(item))
            UnSelect(item);
        else
            Select(item, true);
        return;
    }
    if (!IsSelected(item))
        Select(item);
    TAct::SetMove(mtSelection, 0);
    BeginDrag(TZORPto { x, y });
}

void TZORBaseLabel::BeginDrag(std::optional<TZORPto> anchor)
{
    TZOREditState& e = *fEdit;
    e.Start.clear();
    for (const TZORBaseItem* item : fSelection) {
        TZOREditState::TDragged d { item->GetID(), {}, item->GetBounds() };
        for (int32_t i = 1; i <= item->GetPointsCount(); ++i)
            d.Points.push_back(item->GetPoint(i));
        e.Start.push_back(std::move(d));
    }
    e.StartBox = SelectionBounds();
    e.Applied = {};
    e.StartPointer = anchor ? *anchor : DraggedHandle();
    e.Pointer = e.StartPointer;
    e.Dragging = true;
    if (!e.UndoOpen) {
        BeginUndoStep();
        e.UndoOpen = true;
    }
}

// Where the handle of the drag that TAct::SetMove readied lies; the selection's corner when no
// handle answers.
TZORPto TZORBaseLabel::DraggedHandle() const
{
    const int32_t kind = DraggedKind(TAct::fMoveType);
    for (const TZORHandle& h : SelectionHandles(*this)) {
        const bool pointKind = TAct::fMoveType == mtPoint && (h.Kind == hkPoint || h.Kind == hkInsert);
        if ((pointKind || h.Kind == kind) && (TAct::fPos1 == 0 || h.Index == TAct::fPos1))
            return { h.X, h.Y };
    }
    const TZORRect b = SelectionBounds();
    return { b.Left, b.Top };
}

void TZORBaseLabel::EndDrag()
{
    TZOREditState& e = *fEdit;
    e.EndDrag();
    if (e.UndoOpen) {
        e.UndoOpen = false;
        EndUndoStep();
    }
    TAct::fMoveType = mtNone;
    TAct::fCurEditor = false;
    if (TAct::fCurAction == acMove)
        TAct::fCurAction = acSelect;
    if (TAct::fCurAction == acSelect) {
        TAct::fCurState = stIdle;
        TAct::fDrawType = dtNone;
    }
    // The box the move reported is no longer news.
    FireInfoEvent(false);
}

// --- Moves ---

void TZORBaseLabel::MoveEditor(int64_t dx, int64_t dy, int64_t gx, int64_t gy, bool, bool keyboard)
{
    if (keyboard) {
        MoveSelectionBase(-dx * std::max<int64_t>(gx, 0), -dy * std::max<int64_t>(gy, 0));
        return;
    }
    if (!TAct::fCurEditor || fSelection.empty())
        return;
    if (!fEdit->Dragging)
        BeginDrag(std::nullopt);
    TZOREditState& e = *fEdit;
    if (gx == 0 && gy == 0)
        e.Pointer = { dx, dy };
    else
        e.Pointer = { e.Pointer.X - dx, e.Pointer.Y - dy };
    TZORPto target = e.Pointer;
    if (gx > 0 && gy > 0 && IsResize(TAct::fMoveType))
        target = { gx, gy };
    ApplyDrag(target);
}

void TZORBaseLabel::MoveGridEditor(int64_t x, int64_t y, int64_t incX, int64_t incY, bool)
{
    if (!TAct::fCurEditor || fSelection.empty())
        return;
    if (!fEdit->Dragging)
        BeginDrag(std::nullopt);
    TZOREditState& e = *fEdit;
    e.Pointer = { x, y };
    TZORPto target { GridRound(x, incX), GridRound(y, incY) };
    if (TAct::fMoveType == mtSelection || TAct::fMoveType == mtGrid) {
        // The selection's corner lands on the grid.
        const int64_t left = e.StartBox.Left + (x - e.StartPointer.X);
        const int64_t top = e.StartBox.Top + (y - e.StartPointer.Y);
        target = { e.StartPointer.X + GridRound(left, incX) - e.StartBox.Left,
            e.StartPointer.Y + GridRound(top, incY) - e.StartBox.Top };
    }
    ApplyDrag(target);
}

void TZORBaseLabel::ApplyDrag(const TZORPto& target)
{
    TZOREditState& e = *fEdit;
    const int64_t ox = target.X - e.StartPointer.X, oy = target.Y - e.StartPointer.Y;
    BeginUpdate(true);
    const int32_t mt = TAct::fMoveType;
    if (mt == mtSelection || mt == mtGrid) {
        for (TZORBaseItem* item : fSelection)
            item->Move(double(ox - e.Applied.X), double(oy - e.Applied.Y));
        e.Applied = { ox, oy };
    } else if (IsResize(mt)) {
        ResizeFromStart(ResizedBox(e.StartBox, mt, ox, oy));
    } else if (TZORBaseItem* item = Select()) {
        DragPoint(*item, target);
    }
    FollowLinks();
    Notify(TZRChange::SelectionGeometry);
    EndUpdate();
    FireInfoEvent(true);
}

// Every dragged element's points as they were at the start, mapped from the start box to box.
void TZORBaseLabel::ResizeFromStart(const TZORRect& box)
{
    const TZORRect& s = fEdit->StartBox;
    for (const TZOREditState::TDragged& d : fEdit->Start) {
        TZORBaseItem* item = SearchItem(d.ID);
        if (!item)
            continue;
        std::vector<TZORPto> points = d.Points;
        for (TZORPto& p : points)
            p = { MapAxis(p.X, s.Left, s.Right, box.Left, box.Right),
                MapAxis(p.Y, s.Top, s.Bottom, box.Top, box.Bottom) };
        item->AssignPoints(points);
        if (auto* dim = dynamic_cast<TZORBaseDim*>(item)) {
            dim->AssignText();
            dim->CalcValues(0);
        }
    }
}

void TZORBaseLabel::DragPoint(TZORBaseItem& item, const TZORPto& p)
{
    const int32_t index = TAct::fPos1;
    const TZORRect b = item.GetBounds().Normalized();
    const int64_t cx = b.Left + b.GetWidth() / 2, cy = b.Top + b.GetHeight() / 2;
    switch (TAct::fMoveType) {
    case mtRadius: {
        const int64_t r = Round(std::hypot(double(p.X - cx), double(p.Y - cy)));
        const std::array<TZORPto, 2> box { TZORPto { cx - r, cy - r }, TZORPto { cx + r, cy + r } };
        item.AssignPoints(box);
        break;
    }
    case mtRadiusX:
    case mtRadiusY: {
        const bool alongX = TAct::fMoveType == mtRadiusX;
        const int64_t rx = alongX ? std::abs(p.X - cx) : b.GetWidth() / 2;
        const int64_t ry = alongX ? b.GetHeight() / 2 : std::abs(p.Y - cy);
        const std::array<TZORPto, 2> box { TZORPto { cx - rx, cy - ry }, TZORPto { cx + rx, cy + ry } };
        item.AssignPoints(box);
        break;
    }
    case mtCorner:
        if (auto* rect = dynamic_cast<TZORBaseRectangle*>(&item)) {
            const int64_t most = std::min(b.GetWidth(), b.GetHeight()) / 2;
            rect->SetBaseRadio(int32_t(std::clamp<int64_t>(p.X - b.Left, 0, most)));
        }
        break;
    case mtAngle:
        if (auto* sector = dynamic_cast<TZORBaseSector*>(&item)) {
            const double a = RadToDeg(TDraw2D::NormalizeAngle(std::atan2(double(p.Y - cy), double(p.X - cx))));
            const double start = sector->GetStartAngle();
            const double end = start + sector->GetSweepAngle();
            if (index == 1) {
                double sweep = std::fmod(end - a, 360.0);
                sector->SetAngleStart(float(a));
                sector->SetAngleGap(float(sweep <= 0 ? sweep + 360.0 : sweep));
            } else {
                double sweep = std::fmod(a - start, 360.0);
                sector->SetAngleGap(float(sweep <= 0 ? sweep + 360.0 : sweep));
            }
        }
        break;
    case mtArcPoint:
        if (index >= 1 && index <= 3 && item.GetPointsCount() >= 5) {
            item.SetBase(index + 2, p.X, p.Y);
            item.Update();
        }
        break;
    default:
        MovePointOf(item, index, p);
        break;
    }
}

void TZORBaseLabel::UpEditor(int64_t x, int64_t y)
{
    const int32_t action = TAct::fCurAction;
    if (action == acSelect && TAct::fCurState == stWindow)
        SelectWindow(TZORPto { x, y });
    if (action == acMove || TAct::fCurEditor || fEdit->Dragging)
        EndDrag();
    if (action == acTextSelect)
        TAct::SetCurAction(acTextEdit);
    Notify(TZRChange::Redraw);
    Notify(TZRChange::SelectionGeometry);
    Notify(TZRChange::Selection);
}

// A window drawn left to right takes what lies wholly inside it; drawn right to left, what it
// meets.
void TZORBaseLabel::SelectWindow(const TZORPto& end)
{
    const TZORPto s = fEdit->WindowStart;
    TAct::SetState(stIdle);
    TAct::fDrawType = dtNone;
    const bool cross = end.X < s.X;
    const TZORRect r = TZORRect { s.X, s.Y, end.X, end.Y }.Normalized();
    if (!fEdit->WindowAdds)
        UnSelectAll();
    for (const auto& item : fItems)
        if (Selectable(*item) && item->SearchRect(r, cross))
            Select(item.get(), true);
}

void TZORBaseLabel::MoveSelectionBase(int64_t dx, int64_t dy)
{
    if (fSelection.empty() || (dx == 0 && dy == 0))
        return;
    BeginUpdate(true);
    for (TZORBaseItem* item : fSelection)
        item->Move(double(dx), double(dy));
    FollowLinks();
    Notify(TZRChange::SelectionGeometry);
    EndUpdate();
}

void TZORBaseLabel::MoveSelection(float dx, float dy, bool, bool)
{
    MoveSelectionBase(SetValue(dx, fUnits), SetValue(dy, fUnits));
}

void TZORBaseLabel::MoveSize(float amount, TZORMoveOpt option, bool, bool)
{
    if (fSelection.empty())
        return;
    const int64_t a = SetValue(amount, fUnits);
    const TZORRect b = SelectionBounds();
    TZORRect n = b;
    switch (option) {
    case TZORMoveOpt::Narrower:
        n.Right = std::max(b.Left, b.Right - a);
        break;
    case TZORMoveOpt::Wider:
        n.Right = b.Right + a;
        break;
    case TZORMoveOpt::Lower:
        n.Bottom = std::max(b.Top, b.Bottom - a);
        break;
    case TZORMoveOpt::Higher:
        n.Bottom = b.Bottom + a;
        break;
    }
    BeginUpdate(true);
    BeginDrag(TZORPto { b.Left, b.Top });
    ResizeFromStart(n);
    FollowLinks();
    EndDrag();
    Notify(TZRChange::SelectionGeometry);
    EndUpdate();
}

// --- Cancelling and in-place text ---

void TZORBaseLabel::ResetAction()
{
    TZOREditState& e = *fEdit;
    if (e.Dragging) {
        // A cancelled drag puts the elements back where it found them.
        BeginUpdate(true);
        for (const TZOREditState::TDragged& d : e.Start)
            if (TZORBaseItem* item = SearchItem(d.ID))
                item->AssignPoints(d.Points);
        FollowLinks();
        EndUpdate();
    }
    EndDrag();
    EndTextEditing();
    EndCreation();
    TAct::Reset();
    Notify(TZRChange::Tool);
    Notify(TZRChange::Redraw);
}

void TZORBaseLabel::EndTextEditing()
{
    TZOREditState& e = *fEdit;
    if (e.TextID == 0)
        return;
    TZORBaseItem* item = SearchItem(e.TextID);
    e.TextID = 0;
    e.Text = TZORTextObject(nullptr);
    // A new text left empty is not kept.
    if (item && e.TextIsNew && TZORTextObject(item).GetText().isEmpty())
        DeleteItem(item);
    e.TextIsNew = false;
    Notify(TZRChange::EndText);
}

void TZORBaseLabel::BeginTextEditing(TZORBaseItem* item, bool aNew)
{
    TZOREditState& e = *fEdit;
    e.TextID = item->GetID();
    e.TextIsNew = aNew;
    e.Text = TZORTextObject(item);
    Select(item);
    // A new one-line text keeps the text tool, which places the next text at the next press.
    TAct::SetCurAction(aNew && dynamic_cast<TZORBaseText*>(item) ? acText : acTextEdit);
    TAct::SetState(stTyping);
    Notify(TZRChange::StartText);
}

void TZORBaseLabel::DoDblClick()
{
    TZORBaseItem* item = Select();
    if (TAct::fCurAction != acSelect || !item || !TZORTextObject::IsTextKind(item))
        return;
    BeginTextEditing(item, false);
}

void TZORBaseLabel::UpdateEditing(bool aRedraw)
{
    if (TZORTextObject* text = GetTextObject()) {
        // Drawing reads the text's measures and layout, never makes them: they follow the
        // text here.
        text->Item()->Update();
        text->Item()->CalcValues(0);
        fModified = true;
    }
    Notify(TZRChange::RefreshText);
    if (aRedraw)
        Notify(TZRChange::Redraw);
}

TZORTextObject* TZORBaseLabel::GetTextObject()
{
    TZOREditState& e = *fEdit;
    TZORBaseItem* item = e.TextID != 0 ? SearchItem(e.TextID) : nullptr;
    if (!item)
        return nullptr;
    // An undo puts new elements in place of the old ones: the text follows its element's ID.
    e.Text = TZORTextObject(item);
    return &e.Text;
}

bool TZORBaseLabel::SearchSelectedText(int64_t x, int64_t y, int32_t tol, TZORShift) const
{
    const TZORBaseItem* item = fEdit->TextID != 0 ? SearchItem(fEdit->TextID) : nullptr;
    return item && item->Pick(x, y, tol, true);
}
