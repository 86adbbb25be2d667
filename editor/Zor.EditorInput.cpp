#include "Zor.EditorInput.h"

#include "Zor.Cursors.h"
#include "Zor.Edit.h"
#include "Zor.EditorText.h"
#include "Zor.Label.h"
#include "Zor.Stream.h"
#include "Zor.Text.h"
#include "Zor.ValueBox.h"
#include "Zor.Version.h"
#include "Zor.Vcl.Editor.h"
#include "drawing/Zor.Vcl.Types.h"
#include "label/Zor.Vcl.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>

#include <algorithm>
#include <array>
#include <cstdlib>

using namespace zor;

namespace {

constexpr uint16_t GridBit = SnapBit(TZORSnap::Grid);
constexpr uint16_t BaseSnaps = SnapBit(TZORSnap::Tangent) | SnapBit(TZORSnap::Perpendicular);
// Pixels within which a handle answers; the width handle of a paragraph takes presses from
// further away, so that it wins over the handles near it.
constexpr int HandleReach = 4;
constexpr int WidthHandleReach = 8;
// A release this close to the press on a text is a click that places the caret.
constexpr int ClickSlack = 3;
// A press this close to a guide line in its ruler takes the guide.
constexpr int GuideReach = 6;
const QByteArray ClipboardMagic = QByteArrayLiteral("QNDL");

// What a handle does: the drag its press readies (move type; 0 when the press is only taken),
// the point the drag names (-1 the handle's own) and the cursor that announces it (a tool
// cursor of the registry, or else a sizing cursor).
struct THandleAction {
    uint8_t Kind;
    int8_t MoveType;
    int8_t Index;
    int8_t Cursor;
    Qt::CursorShape Sizing;
};

// The registry's cursors the handles show.
constexpr int8_t HEditCursor = 28, CirclePointCursor = 32, MoveCursor = 37, MoveRadiusCursor = 38;

constexpr std::array<THandleAction, 22> HandleActions { {
    { hkInsert, mtPoint, 1, MoveCursor, Qt::ArrowCursor },
    { hkPoint, mtPoint, -1, MoveCursor, Qt::ArrowCursor },
    { hkFixed, 0, 0, MoveCursor, Qt::ArrowCursor },
    { hkVertex, mtVertex, -1, MoveCursor, Qt::ArrowCursor },
    { hkControl, mtControl, -1, MoveCursor, Qt::ArrowCursor },
    { hkArcPoint, mtArcPoint, -1, MoveCursor, Qt::ArrowCursor },
    { hkNW, mtNW, 0, 0, Qt::SizeFDiagCursor },
    { hkN, mtN, 0, 0, Qt::SizeVerCursor },
    { hkNE, mtNE, 0, 0, Qt::SizeBDiagCursor },
    { hkW, mtW, 0, 0, Qt::SizeHorCursor },
    { hkE, mtE, 0, 0, Qt::SizeHorCursor },
    { hkSW, mtSW, 0, 0, Qt::SizeBDiagCursor },
    { hkS, mtS, 0, 0, Qt::SizeVerCursor },
    { hkSE, mtSE, 0, 0, Qt::SizeFDiagCursor },
    { hkEdit, 0, 0, HEditCursor, Qt::ArrowCursor },
    { hkRefCross, 0, 0, CirclePointCursor, Qt::ArrowCursor },
    { hkAlign, 0, 0, MoveCursor, Qt::ArrowCursor },
    { hkRadius, mtRadius, 0, MoveRadiusCursor, Qt::ArrowCursor },
    { hkRadiusX, mtRadiusX, 0, MoveRadiusCursor, Qt::ArrowCursor },
    { hkRadiusY, mtRadiusY, 0, MoveRadiusCursor, Qt::ArrowCursor },
    { hkCorner, mtCorner, 0, MoveCursor, Qt::ArrowCursor },
    { hkAngle, mtAngle, -1, MoveRadiusCursor, Qt::ArrowCursor },
} };

const THandleAction* HandleAction(uint8_t kind)
{
    for (const THandleAction& a : HandleActions)
        if (a.Kind == kind)
            return &a;
    return nullptr;
}

// The width handle turns with its paragraph: upright when the text stands upright.
Qt::CursorShape WidthCursor(const TZORBaseItem* item)
{
    const auto* para = dynamic_cast<const TZORBasePara*>(item);
    const int angle = para ? Ord(para->GetAngle()) : 0;
    return angle == 1 || angle == 3 ? Qt::SizeVerCursor : Qt::SizeHorCursor;
}

bool Near(QPoint a, QPoint b, int reach)
{
    return std::abs(a.x() - b.x()) <= reach && std::abs(a.y() - b.y()) <= reach;
}

bool OneOf(int32_t v, std::initializer_list<int32_t> set)
{
    return std::find(set.begin(), set.end(), v) != set.end();
}

// Keys and buttons of a mouse event as the model's shift set.
TZORShift ShiftOf(const QMouseEvent& e)
{
    TZORShift s = 0;
    const Qt::KeyboardModifiers keys = e.modifiers();
    const Qt::MouseButtons buttons = e.buttons() | e.button();
    if (keys & Qt::ShiftModifier)
        s |= ssShift;
    if (keys & Qt::AltModifier)
        s |= ssAlt;
    if (keys & Qt::ControlModifier)
        s |= ssCtrl;
    if (buttons & Qt::LeftButton)
        s |= ssLeft;
    if (buttons & Qt::RightButton)
        s |= ssRight;
    if (buttons & Qt::MiddleButton)
        s |= ssMiddle;
    return s;
}

bool IsArrow(int key)
{
    return key == Qt::Key_Left || key == Qt::Key_Right || key == Qt::Key_Up || key == Qt::Key_Down;
}

// The modifiers that choose a command (the keypad flag is not one).
Qt::KeyboardModifiers CommandKeys(Qt::KeyboardModifiers keys)
{
    return keys & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

} // namespace

// ============================== Text edited in place ==============================

// ============================== Set-up ==============================

TZOREditorInput::TZOREditorInput(TZORBaseEditor& editor, TZORBackEditor& surface)
    : fEditor(editor)
    , fSurface(surface)
    , fState(surface.State())
    , fBox(new TZORValueBox(&surface))
{
}

TZOREditorInput::~TZOREditorInput() = default;

TZORBaseLabel* TZOREditorInput::Label() const
{
    return fEditor.GetLabel();
}

int32_t TZOREditorInput::Tolerance() const
{
    return int32_t(fState.Gap * fEditor.DrawScale());
}

bool TZOREditorInput::OnPaper(int64_t x, int64_t y) const
{
    const TZORDimScroll& D = fSurface.G.D;
    return x >= 0 && x <= D.PaperScaledW && y >= 0 && y <= D.PaperScaledH;
}

void TZOREditorInput::Convert(QPoint p)
{
    TZOREditorGeometry& G = fSurface.G;
    G.Scale = fEditor.DrawScale();
    G.Units = fEditor.Units();
    fState.BaseX = G.BaseMMX(p.x());
    fState.BaseY = G.BaseMMY(p.y());
}

void TZOREditorInput::SetBasePoint()
{
    fLast = TZORPto { fState.BaseX, fState.BaseY };
}

// ============================== Handles ==============================

bool TZOREditorInput::CheckDown(QPoint p)
{
    TZORBaseLabel* label = Label();
    const TZOREditorGeometry& G = fSurface.G;
    const bool onPaper = p.x() >= G.X0() && p.x() <= G.X0() + G.D.ZoomW && p.y() >= G.Y0()
        && p.y() <= G.Y0() + G.D.ZoomH;
    const int32_t count = label->GetSelPointCount();
    auto at = [&](const TZORSelPoint& s) { return QPoint(G.CoordDX(s.X, true), G.CoordDY(s.Y, true)); };
    auto start = [&](int32_t moveType, int32_t index) {
        // Both points start at the press, so that the first move's step is measured from it.
        fState.Press = fState.Pointer = p;
        TAct::SetMove(moveType, index);
        label->FireInfoEvent(true);
        return true;
    };
    if (onPaper)
        for (int32_t i = 1; i <= count; ++i) {
            const TZORSelPoint s = label->GetSelPoint(i);
            if (s.Kind == hkWidth && Near(at(s), p, WidthHandleReach))
                return start(mtWidth, 0);
        }
    if (TAct::fCurAction == acTextEdit || TAct::fCurAction == acTextSelect)
        return false;
    if (!onPaper)
        return true;
    for (int32_t i = 1; i <= count; ++i) {
        const TZORSelPoint s = label->GetSelPoint(i);
        const THandleAction* a = HandleAction(s.Kind);
        if (!a || !Near(at(s), p, HandleReach))
            continue;
        if (a->MoveType <= 0)
            return true;
        return start(a->MoveType, a->Index < 0 ? s.Index : a->Index);
    }
    return false;
}

void TZOREditorInput::CheckMove(QPoint p)
{
    fSurface.setCursor(Qt::ArrowCursor);
    if (TAct::fCurAction == acTextEdit || TAct::fCurAction == acTextSelect)
        return;
    TZORBaseLabel* label = Label();
    const TZOREditorGeometry& G = fSurface.G;
    const int32_t count = label->GetSelPointCount();
    for (int32_t i = 1; i <= count; ++i) {
        const TZORSelPoint s = label->GetSelPoint(i);
        if (!Near(QPoint(G.CoordDX(s.X, true), G.CoordDY(s.Y, true)), p, HandleReach))
            continue;
        if (s.Kind == hkWidth) {
            fSurface.setCursor(WidthCursor(s.Item));
            return;
        }
        if (const THandleAction* a = HandleAction(s.Kind)) {
            fSurface.setCursor(a->Cursor != 0 ? ToolCursor(a->Cursor) : QCursor(a->Sizing));
            return;
        }
    }
}

// ============================== Mouse ==============================

bool TZOREditorInput::GuidePress(QPoint p)
{
    TZORRulers& rulers = fEditor.Rulers();
    if (!rulers.GetShowAlign())
        return false;
    const TZOREditorGeometry& G = fSurface.G;
    const uint8_t visible = rulers.GetVisible();
    if ((visible & rvTop) && std::abs(p.x() - G.ScreenMMX(rulers.fAlignLeft)) < GuideReach && p.y() >= 0
        && p.y() <= G.D.RulerT) {
        rulers.fDraggingAlign = 1;
        return true;
    }
    if ((visible & rvLeft) && std::abs(p.y() - G.ScreenMMY(rulers.fAlignTop)) < GuideReach && p.x() >= 0
        && p.x() <= G.D.RulerL) {
        rulers.fDraggingAlign = 2;
        return true;
    }
    return false;
}

void TZOREditorInput::MouseDown(const QMouseEvent& e)
{
    const QPoint p = e.position().toPoint();
    if (e.button() == Qt::LeftButton && GuidePress(p))
        return;
    TZORBaseLabel* label = Label();
    if (!label)
        return;
    fSurface.setFocus(Qt::MouseFocusReason);
    if (!label->GetEditable() && TAct::fCurAction != acSelect)
        return;
    Convert(p);
    if (!OnPaper(fState.BaseX, fState.BaseY))
        return;
    const TZOREditorGeometry& G = fSurface.G;
    if (fEditor.OnMouseDown)
        fEditor.OnMouseDown(fEditor, e.button(), e.modifiers(), G.WorldX(p.x(), true), G.WorldY(p.y(), true));
    const TZORShift shift = ShiftOf(e);
    if (e.button() != Qt::LeftButton) {
        if (e.button() == Qt::RightButton)
            label->RightButton(fState.BaseX, fState.BaseY, Tolerance(), shift);
        fSurface.DrawEditor();
        return;
    }
    fPressed = true;
    const int32_t action = TAct::fCurAction;
    if (action == acSelect || action == acMove) {
        if (!CheckDown(p)) {
            fState.Press = fState.Pointer = p;
            label->PickEditor(fState.BaseX, fState.BaseY, Tolerance(), shift, fEditor.GetShowRefLines());
        }
    } else if (action == acTextEdit || action == acTextSelect) {
        TextPress(p, shift);
    } else {
        PlacePress(p, shift);
    }
    fSurface.DrawEditor();
}

// A press while a text is edited in place: on the text it starts a selection drag, off it the
// editing ends and the press picks as the select tool does.
void TZOREditorInput::TextPress(QPoint p, uint8_t shift)
{
    if (CheckDown(p))
        return;
    TZORBaseLabel* label = Label();
    if (label->SearchSelectedText(fState.BaseX, fState.BaseY, Tolerance(), shift)) {
        fTextClickPos = fState.Press = fState.Pointer = p;
        TAct::SetCurAction(acTextSelect);
        return;
    }
    if (label->GetTextObject())
        TAct::fText = fSurface.Draw().aTxt;
    label->PickEditor(fState.BaseX, fState.BaseY, Tolerance(), shift, fEditor.GetShowRefLines());
}

// A press of a tool that places points: the snapped point of the pointer wins over the grid,
// the grid over ortho lines.
void TZOREditorInput::PlacePress(QPoint p, uint8_t shift)
{
    TZORBaseLabel* label = Label();
    TZOREditorState& S = fState;
    const int32_t action = TAct::fCurAction;
    if (fBox->IsOpen())
        ResetInputText(false);
    // The press snaps where it is, as a move there would have (a click may come without one).
    if (action == acLink || action == acPolyLink) {
        TrackLink(p);
        LinkPress(shift);
        return;
    }
    TrackPointer(p);
    const int32_t tol = Tolerance();
    if (S.Inserting && fRef.Valid) {
        S.Press = S.Pointer;
        S.BaseX = fRef.X;
        S.BaseY = fRef.Y;
        SetBasePoint();
        label->PickEditor(S.BaseX, S.BaseY, tol, shift, false);
        return;
    }
    if (S.Inserting && (fEditor.GetSnap() & GridBit)) {
        S.Press = S.Pointer;
        SetBasePoint();
        label->PickEditor(S.BaseX, S.BaseY, tol, shift, false);
        return;
    }
    if (!TAct::fCurEditor && fEditor.GetOrtoLines() && OneOf(TAct::fDrawType, { dtLine, dtPolyLink })) {
        OrthoPress(p, shift);
        return;
    }
    S.Press = S.Pointer = p;
    if (fRef.Valid) {
        S.BaseX = fRef.X;
        S.BaseY = fRef.Y;
    }
    label->PickEditor(S.BaseX, S.BaseY, tol, shift, false);
    SetBasePoint();
}

// A press of a link tool: an element's anchor under the pointer starts or ends the link; the
// polyline link takes a bend where there is none.
void TZOREditorInput::LinkPress(uint8_t shift)
{
    TZORBaseLabel* label = Label();
    TZOREditorState& S = fState;
    const int32_t state = TAct::fCurState;
    if (!fLink.Found) {
        if (TAct::fCurAction == acPolyLink && state == stNext) {
            label->PickEditor(S.BaseX, S.BaseY, 0, shift, false);
            S.Press = S.Pointer;
        }
        return;
    }
    if (state == stFirst) {
        S.Press = S.Pointer;
        label->PickEditor(fLink.Item, fLink.StartPoint, 0, shift, false);
        return;
    }
    if (state == stNext)
        TAct::SetState(stLinkEnd);
    label->PickEditor(fLink.Item, fLink.EndPoint, 0, shift, false);
}

// An ortho press keeps the stroke horizontal or vertical from the tool's previous point; an
// exactly diagonal stroke counts as vertical. The first point of a tool is free.
void TZOREditorInput::OrthoPress(QPoint p, uint8_t shift)
{
    TZOREditorState& S = fState;
    const bool horizontal = std::abs(p.y() - S.Press.y()) < std::abs(p.x() - S.Press.x());
    if (TAct::fCurState != stFirst && fLast) {
        if (horizontal)
            S.BaseY = fLast->Y;
        else
            S.BaseX = fLast->X;
    }
    Label()->PickEditor(S.BaseX, S.BaseY, Tolerance(), shift, false);
    S.Press = S.Pointer = { fSurface.G.ScreenMMX(S.BaseX), fSurface.G.ScreenMMY(S.BaseY) };
    SetBasePoint();
}

void TZOREditorInput::MouseMove(const QMouseEvent& e)
{
    const QPoint p = e.position().toPoint();
    TZOREditorGeometry& G = fSurface.G;
    TZORRulers& rulers = fEditor.Rulers();
    if (rulers.fDraggingAlign != 0) {
        // Guides stand on whole units of the label and never before the paper's edge.
        const bool left = rulers.fDraggingAlign == 1;
        const double world = left ? G.WorldX(p.x(), true) : G.WorldY(p.y(), true);
        const int64_t v = std::max<int64_t>(0, G.BaseMM(double(Round(world))));
        int64_t& guide = left ? rulers.fAlignLeft : rulers.fAlignTop;
        if (v != guide) {
            guide = v;
            fSurface.DrawOverlay();
        }
        return;
    }
    TZORBaseLabel* label = Label();
    if (!label || (!label->GetEditable() && TAct::fCurAction != acSelect))
        return;
    Convert(p);
    if (!OnPaper(fState.BaseX, fState.BaseY))
        return;
    if (fEditor.OnMouseMove)
        fEditor.OnMouseMove(fEditor, e.modifiers(), G.WorldX(p.x(), true), G.WorldY(p.y(), true));
    const int32_t action = TAct::fCurAction;
    if (action == acSelect) {
        if (TAct::fCurState == stIdle) {
            CheckMove(p);
        } else if (TAct::fCurState == stWindow) {
            fState.Pointer = p;
            fSurface.DrawOverlay();
        }
        return;
    }
    if (action == acTextEdit) {
        fRef.Valid = fRef.Snapped = false;
        fLink.Found = false;
        return;
    }
    if (TAct::fCurEditor) {
        Drag(p);
        return;
    }
    if (action == acLink || action == acPolyLink)
        TrackLink(p);
    else
        TrackPointer(p);
    // The pointer moves a preview, a guide or the window: the elements stay as they are.
    fSurface.DrawOverlay();
}

// One move of a drag: the selection, a resize or a handle's point follows the pointer.
void TZOREditorInput::Drag(QPoint p)
{
    const int32_t action = TAct::fCurAction;
    if (action != acMove && action != acTextSelect)
        return;
    if (fEditor.GetEnabledMouseFilter() && !fMouseFilter.FilterMouseMove(p.x(), p.y()))
        return;
    TZOREditorState& S = fState;
    const TZOREditorGeometry& G = fSurface.G;
    S.Press = p;
    if (S.Press == S.Pointer)
        return;
    TZORBaseLabel* label = Label();
    const bool grid = (fEditor.GetSnap() & GridBit) != 0;
    const bool refLines = fEditor.GetShowRefLines();
    const int64_t x = G.BaseMMX(S.Press.x()), y = G.BaseMMY(S.Press.y());
    const int64_t dx = G.BaseMMX(S.Pointer.x()) - x, dy = G.BaseMMY(S.Pointer.y()) - y;
    const int32_t mt = TAct::fMoveType;
    const TZORGrid& g = fEditor.Grid();
    if (mt == mtSelection || (grid && mt == mtGrid)) {
        if (grid)
            label->MoveGridEditor(x, y, g.BaseIncX(), g.BaseIncY(), refLines);
        else
            label->MoveEditor(dx, dy, fSurface.GridX(x), fSurface.GridY(y), refLines, false);
    } else if ((mt >= mtRadius && mt <= mtAngle) || mt == mtWidth) {
        // A point of the element: an object snap first, then the grid, else the pointer.
        fRef.Valid = fRef.Snapped = false;
        if (mt == mtPoint || mt == mtVertex) {
            const TZORBaseItem* item = label->Select();
            const bool base = mt == mtPoint && label->GetSelectionCount() == 1 && item && item->GetPointsCount() == 2;
            fRef.BaseX = fRef.BaseY = -1;
            if (base) {
                const TZORPto other = item->GetPoint(TAct::fPos1 == 1 ? 2 : 1);
                fRef.BaseX = other.X;
                fRef.BaseY = other.Y;
            }
            const uint16_t snaps = fEditor.GetSnap() & ~GridBit & (base ? 0xFFFF : ~BaseSnaps);
            fRef.Valid = label->SearchSnap(x, y, Tolerance(), snaps, fRef, true);
            if (fRef.Valid) {
                fRef.Snapped = true;
                fRef.ScreenX = G.ScreenMMX(fRef.X);
                fRef.ScreenY = G.ScreenMMY(fRef.Y);
                S.Press = { fRef.ScreenX, fRef.ScreenY };
            }
        }
        if (fRef.Snapped)
            label->MoveEditor(fRef.X, fRef.Y, 0, 0, refLines, false);
        else if (grid)
            label->MoveEditor(fSurface.GridX(x), fSurface.GridY(y), 0, 0, refLines, false);
        else
            label->MoveEditor(x, y, 0, 0, refLines, false);
        ShowSnap();
    } else if (grid && mt != mtGrid) {
        label->MoveEditor(dx, dy, fSurface.GridX(x), fSurface.GridY(y), refLines, false);
    } else {
        label->MoveEditor(dx, dy, -1, -1, refLines, false);
    }
    S.Pointer = S.Press;
}

bool TZOREditorInput::SearchSnap(uint16_t snaps, bool editing)
{
    TZOREditorState& S = fState;
    if (!Label()->SearchSnap(S.BaseX, S.BaseY, Tolerance(), snaps, fRef, editing))
        return false;
    fRef.Snapped = true;
    fRef.ScreenX = fSurface.G.ScreenMMX(fRef.X);
    fRef.ScreenY = fSurface.G.ScreenMMY(fRef.Y);
    return true;
}

// The pointer while a tool places points: the end of the rubber band goes to an object snap,
// else to the grid, else along an ortho line or the ellipse's axis.
void TZOREditorInput::TrackPointer(QPoint p)
{
    TZOREditorState& S = fState;
    fRef.Valid = fRef.Snapped = false;
    const int32_t action = TAct::fCurAction, state = TAct::fCurState;
    const bool base = (OneOf(action, { acLine, acArrowLine, acDim, acDimAligned }) && OneOf(state, { stFirst, stSecond }))
        || (action == acPolyLine && OneOf(state, { stFirst, stNext }));
    fRef.BaseX = base && state != stFirst && fLast ? fLast->X : -1;
    fRef.BaseY = base && state != stFirst && fLast ? fLast->Y : -1;
    const uint16_t snaps = fEditor.GetSnap() & ~GridBit & (base ? 0xFFFF : ~BaseSnaps);
    if (SearchSnap(snaps, false)) {
        fRef.Valid = true;
        S.Pointer = { fRef.ScreenX, fRef.ScreenY };
    } else if (fEditor.GetSnap() & GridBit) {
        S.BaseX = TZOREditorGeometry::GridRound(S.BaseX, fEditor.Grid().BaseIncX());
        S.BaseY = TZOREditorGeometry::GridRound(S.BaseY, fEditor.Grid().BaseIncY());
        S.Pointer = { fSurface.G.ScreenMMX(S.BaseX), fSurface.G.ScreenMMY(S.BaseY) };
    } else if (fEditor.GetOrtoLines() && OneOf(TAct::fDrawType, { dtLine, dtPolyLink })) {
        const bool horizontal = std::abs(p.y() - S.Press.y()) < std::abs(p.x() - S.Press.x());
        S.Pointer = horizontal ? QPoint(p.x(), S.Press.y()) : QPoint(S.Press.x(), p.y());
    } else if (TAct::fDrawType == dtEllipse) {
        S.Pointer = state == stRadiusX ? QPoint(p.x(), S.Press.y()) : QPoint(S.Press.x(), p.y());
    } else {
        S.Pointer = p;
    }
    ShowSnap();
}

// The pointer while a link tool looks for an element's anchor.
void TZOREditorInput::TrackLink(QPoint p)
{
    TZOREditorState& S = fState;
    fRef.Valid = fRef.Snapped = false;
    ShowSnap();
    if (Label()->SearchLink(S.BaseX, S.BaseY, fLink, Tolerance())) {
        S.Pointer = { fSurface.G.ScreenMMX(fLink.X), fSurface.G.ScreenMMY(fLink.Y) };
        return;
    }
    fLink.Found = false;
    if (TAct::fCurAction == acPolyLink)
        S.Pointer = p;
}

void TZOREditorInput::ShowSnap()
{
    fState.SnapMark = { fRef.Snapped, fRef.X, fRef.Y, fRef.Marker };
}

void TZOREditorInput::MouseUp(const QMouseEvent& e)
{
    TZORRulers& rulers = fEditor.Rulers();
    if (rulers.fDraggingAlign != 0) {
        rulers.fDraggingAlign = 0;
        return;
    }
    const bool left = e.button() == Qt::LeftButton;
    const bool pressed = fPressed && left;
    if (left)
        fPressed = false;
    fMouseFilter.ResetPos();
    TZORBaseLabel* label = Label();
    if (!label)
        return;
    const QPoint p = e.position().toPoint();
    Convert(p);
    const TZOREditorGeometry& G = fSurface.G;
    if (OnPaper(fState.BaseX, fState.BaseY) && fEditor.OnMouseUp)
        fEditor.OnMouseUp(fEditor, e.button(), e.modifiers(), G.WorldX(p.x(), true), G.WorldY(p.y(), true));
    if (!pressed)
        return;
    // The release ends what its press began wherever it comes, on the paper or not: a drag left
    // running would follow the pointer with no button held.
    const int32_t action = TAct::fCurAction;
    if (action == acTextSelect && Near(p, fTextClickPos, ClickSlack - 1)) {
        TAct::SetCurAction(acTextEdit);
        label->UpdateEditing(true);
    } else if ((action == acSelect && TAct::fCurState == stWindow) || action == acMove || action == acTextSelect
        || TAct::fCurEditor) {
        label->UpEditor(fState.BaseX, fState.BaseY);
    }
    fSurface.DrawEditor();
}

void TZOREditorInput::DoubleClick(const QMouseEvent& e)
{
    // Qt sends the double click in place of the second press, so nothing of the press (the
    // toolbar's buttons, a pick, a tool's point) runs a second time.
    TZORBaseLabel* label = Label();
    if (label && (fEditor.GetOptions() & eoDoubleClick) && e.button() == Qt::LeftButton)
        label->DoDblClick();
}

// ============================== Keys ==============================

void TZOREditorInput::KeyDown(QKeyEvent& e)
{
    const Qt::KeyboardModifiers keys = CommandKeys(e.modifiers());
    const bool handled = InputKeyDown(e.key(), keys);
    // Characters come with their key; a Ctrl chord is a command, never a character.
    const QString text = e.text();
    if (!(keys & Qt::ControlModifier) && !text.isEmpty() && text.at(0).isPrint())
        KeyPress(text);
    e.setAccepted(handled || !text.isEmpty() || e.key() == Qt::Key_Tab || e.key() == Qt::Key_Backtab);
}

bool TZOREditorInput::InputKeyDown(int key, Qt::KeyboardModifiers keys)
{
    TZORLabelVCL* label = fEditor.GetLabel();
    if (!label)
        return false;
    if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
        // Shift+Tab alone goes back; Ctrl+Shift+Tab goes on like Tab.
        if (keys == Qt::ShiftModifier)
            label->SelectPrior();
        else
            label->SelectNext();
        return true;
    }
    if (!label->GetEditable())
        return false;
    const bool ctrl = keys == Qt::ControlModifier;
    switch (key) {
    case Qt::Key_F8:
        fEditor.SetOrtoLines(!fEditor.GetOrtoLines());
        return true;
    case Qt::Key_F9:
        fEditor.SetSnap(fEditor.GetSnap() ^ GridBit);
        return true;
    default:
        break;
    }
    if (fState.Inserting) {
        if (key == Qt::Key_Escape) {
            label->ResetAction();
            ResetInputText(true);
            return true;
        }
        if (key != Qt::Key_F4 && (fEditor.GetOptions() & eoValueBox))
            return ValueBoxKey(key);
        return false;
    }
    const bool editingText = TAct::fDrawType == dtText && label->GetTextObject();
    // The keys of the text edited in place belong to its editing: none of them reaches the
    // elements (Delete removes characters there, never the element).
    if (editingText && key != Qt::Key_Escape && (!ctrl || IsArrow(key) || key == Qt::Key_Delete))
        return false;
    if (ctrl && key == Qt::Key_V) {
        if (editingText)
            fEditor.TextEditing().InsertText(QGuiApplication::clipboard()->text());
        else
            PasteSelection();
        return true;
    }
    if (key == Qt::Key_Escape)
        label->ResetAction();
    if (label->GetSelectionCount() == 0)
        return key == Qt::Key_Escape;
    if (key == Qt::Key_Delete) {
        if (TAct::fCurAction == acSelect && TAct::fPos1 >= 1)
            label->DeletePoint(TAct::fPos1);
        else if (TAct::fCurAction == acSelect)
            label->DeleteSelection();
        else if (TAct::fCurAction == acMove && TAct::fMoveType == mtVertex)
            label->DeletePoint(TAct::fPos1);
        return true;
    }
    if (ctrl && key == Qt::Key_C) {
        CopySelection();
        return true;
    }
    if (ctrl && IsArrow(key)) {
        MoveByKeys(key);
        return true;
    }
    if (keys == Qt::ShiftModifier && IsArrow(key)) {
        SizeByKeys(key);
        return true;
    }
    return key == Qt::Key_Escape;
}

// Ctrl and an arrow: one grid step with grid snapping, else the editor's move step.
void TZOREditorInput::MoveByKeys(int key)
{
    TZORBaseLabel* label = Label();
    const bool refLines = fEditor.GetShowRefLines();
    const int sx = key == Qt::Key_Left ? -1 : key == Qt::Key_Right ? 1 : 0;
    const int sy = key == Qt::Key_Up ? -1 : key == Qt::Key_Down ? 1 : 0;
    if (fEditor.GetSnap() & GridBit) {
        // The model counts keyboard steps against the arrow (old minus new).
        label->MoveEditor(-sx, -sy, sx != 0 ? fEditor.Grid().BaseIncX() : 0, sy != 0 ? fEditor.Grid().BaseIncY() : 0,
            refLines, true);
        return;
    }
    label->MoveSelection(float(sx * fEditor.GetMoveX()), float(sy * fEditor.GetMoveY()), refLines, true);
}

// Shift and an arrow: narrower, lower, wider, higher by the move step.
void TZOREditorInput::SizeByKeys(int key)
{
    const bool across = key == Qt::Key_Left || key == Qt::Key_Right;
    const TZORMoveOpt option = key == Qt::Key_Left ? TZORMoveOpt::Narrower
        : key == Qt::Key_Up                        ? TZORMoveOpt::Lower
        : key == Qt::Key_Right                     ? TZORMoveOpt::Wider
                                                   : TZORMoveOpt::Higher;
    Label()->MoveSize(float(across ? fEditor.GetMoveX() : fEditor.GetMoveY()), option, fEditor.GetShowRefLines(), true);
}

void TZOREditorInput::KeyPress(const QString& text)
{
    TZORBaseLabel* label = Label();
    if (!label || !label->GetEditable())
        return;
    if (fState.Inserting && (fEditor.GetOptions() & eoValueBox)) {
        TZORValueInput& input = fBox->Input();
        // A text typed for another tool than the one now in use starts afresh.
        if (fBoxAction != TAct::fCurAction)
            input.Clear();
        bool changed = false;
        for (QChar c : text)
            changed = input.Type(c) || changed;
        if (changed) {
            fBoxAction = TAct::fCurAction;
            fBox->DrawInput(fSurface.G.DPIY);
        }
        return;
    }
    if (TAct::fCurEditor || fState.Inserting)
        return;
    fEditor.TextEditing().InsertText(text);
}

// ============================== Typed value ==============================

bool TZOREditorInput::ValueBoxKey(int key)
{
    TZORValueInput& input = fBox->Input();
    bool changed = false;
    switch (key) {
    case Qt::Key_Left:
        changed = input.Left();
        break;
    case Qt::Key_Right:
        changed = input.Right();
        break;
    case Qt::Key_Backspace:
        changed = input.Backspace();
        break;
    case Qt::Key_Delete:
        changed = input.Delete();
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        CommitValue();
        return true;
    default:
        return false;
    }
    if (changed)
        fBox->DrawInput(fSurface.G.DPIY);
    return true;
}

void TZOREditorInput::CommitValue()
{
    TZORValueInput& input = fBox->Input();
    if (input.IsEmpty())
        return;
    const TZOREditorGeometry& G = fSurface.G;
    const auto r = input.Evaluate([&G](double v) { return G.BaseMM(v); }, fLast);
    using TKind = TZORValueInput::TResult::TKind;
    if (r.Kind == TKind::Point) {
        fLast = r.Point;
        InputText(r.Point);
    } else if (r.Kind == TKind::Length) {
        InputValue(r.Length);
    } else {
        fBox->DrawInput(G.DPIY);
    }
}

void TZOREditorInput::InputText(const TZORPto& point)
{
    TZOREditorState& S = fState;
    const int32_t action = TAct::fCurAction, state = TAct::fCurState;
    const bool run = OneOf(action, { acPolyLine, acPolygon, acBezier });
    if (S.Inserting) {
        S.BaseX = point.X;
        S.BaseY = point.Y;
        S.Pointer = { fSurface.G.ScreenMMX(point.X), fSurface.G.ScreenMMY(point.Y) };
        if ((OneOf(action, { acLine, acArrowLine }) && state == stFirst) || run || TAct::fCurEditor)
            S.Press = S.Pointer;
        Label()->PickEditor(S.BaseX, S.BaseY, Tolerance(), 0, false);
    }
    ResetInputText(true);
}

void TZOREditorInput::InputValue(int64_t length)
{
    if (fState.Inserting) {
        // The offset's distance is a press at (0, 0) followed by one carrying the distance.
        if (TAct::fCurAction == acOffset && TAct::fCurState == stDistance) {
            Label()->PickEditor(0, 0, 0, 0, false);
            Label()->PickEditor(length, 0, 0, 0, false);
        } else {
            Label()->PickEditor(length, 0, false);
        }
    }
    ResetInputText(true);
}

void TZOREditorInput::BeginEdition()
{
    ResetInputText(false);
    fRef.Reset(false);
    ShowSnap();
}

void TZOREditorInput::ResetInputText(bool repaint)
{
    fBox->Close();
    fBoxAction = 0;
    if (repaint)
        fSurface.DrawEditor();
}

// ============================== Clipboard ==============================

void TZOREditorInput::CopySelection()
{
    TZORBaseLabel* label = Label();
    label->CopySelection();
    QByteArray version;
    {
        TBinaryWriter w(&version);
        w.WriteInt32(ZORFileVersion);
    }
    const QByteArray payload = ClipboardMagic + version + label->GetCopyBuffer();
    auto* mime = new QMimeData;
    mime->setData(QString::fromLatin1(ElementsMimeType), payload);
    QGuiApplication::clipboard()->setMimeData(mime);
}

bool TZOREditorInput::PasteSelection()
{
    TZORLabelVCL* label = fEditor.GetLabel();
    const QMimeData* mime = QGuiApplication::clipboard()->mimeData();
    if (!label || !mime || !mime->hasFormat(QString::fromLatin1(ElementsMimeType)))
        return false;
    const QByteArray payload = mime->data(QString::fromLatin1(ElementsMimeType));
    const qsizetype header = ClipboardMagic.size() + 4;
    if (payload.size() <= header || !payload.startsWith(ClipboardMagic))
        return false;
    // Elements written by another version are not read: the buffer's records carry no version.
    TBinaryReader r(payload.mid(ClipboardMagic.size(), 4));
    if (r.ReadInt32() != ZORFileVersion)
        return false;
    label->SetCopyBuffer(payload.mid(header));
    try {
        label->PasteSelection();
    } catch (const std::exception&) {
        // Elements that do not read leave the label as it was; a key press raises nothing.
        return false;
    }
    return true;
}

