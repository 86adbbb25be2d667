#pragma once

#include "Zor.Snap.h"
#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QPoint>
#include <QString>

#include <cstdint>
#include <optional>

class QKeyEvent;
class QMouseEvent;
class TZORBackEditor;
class TZORBaseEditor;
class TZORBaseLabel;
struct TZOREditorState;
class TZORValueBox;

namespace zor {

// The MIME type of elements on the system clipboard: "QNDL", the file version, then the label's
// copy buffer.
inline constexpr const char* ElementsMimeType = "application/x-quindle-elements";

} // namespace zor

// Mouse and keyboard of an editor: presses, moves and releases of every tool (picking, drags of
// the selection and its handles, the selection window, construction with object snaps, the grid
// and ortho lines, the guide lines of the rulers), the keys, the typed-value box and the
// clipboard. It works on its surface's points and calls the label; the surface paints.
class QUINDLE_WIDGETS_EXPORT TZOREditorInput {
public:
    TZOREditorInput(TZORBaseEditor& editor, TZORBackEditor& surface);
    ~TZOREditorInput();
    TZOREditorInput(const TZOREditorInput&) = delete;
    TZOREditorInput& operator=(const TZOREditorInput&) = delete;

    // --- Mouse (surface pixels) ---
    void MouseDown(const QMouseEvent& e);
    void MouseMove(const QMouseEvent& e);
    void MouseUp(const QMouseEvent& e);
    // The second press of a double click: never a second press of the first one's work.
    void DoubleClick(const QMouseEvent& e);
    // Records the point just placed (the surface's base point): "@" in the value box starts
    // from it.
    void SetBasePoint();
    // A handle under a press starts its drag; true when the press was taken.
    bool CheckDown(QPoint p);
    // The cursor that announces the handle under the pointer.
    void CheckMove(QPoint p);

    // --- Keys ---
    void KeyDown(QKeyEvent& e);

    // --- Typed value ---
    TZORValueBox& ValueBox() const { return *fBox; }
    // Feeds the typed point or length to the tool.
    void InputText(const TZORPto& point);
    void InputValue(int64_t length);
    void ResetInputText(bool repaint);
    // A tool's edition starts: no typed text, no snap point.
    void BeginEdition();
    const std::optional<TZORPto>& LastPoint() const { return fLast; }
    // The link anchor under the pointer (its found flag drives the link marker).
    const TZORink& Link() const { return fLink; }

    // --- Clipboard ---
    // The selected elements onto the system clipboard (and the label's copy buffer).
    void CopySelection();
    // Elements from the system clipboard into the label, selected; false when it holds none.
    bool PasteSelection();

private:
    TZORBaseLabel* Label() const;
    int32_t Tolerance() const;
    bool OnPaper(int64_t x, int64_t y) const;
    void Convert(QPoint p);
    bool GuidePress(QPoint p);
    void TextPress(QPoint p, uint8_t shift);
    void PlacePress(QPoint p, uint8_t shift);
    void LinkPress(uint8_t shift);
    void OrthoPress(QPoint p, uint8_t shift);
    void Drag(QPoint p);
    bool SearchSnap(uint16_t snaps, bool editing);
    void TrackPointer(QPoint p);
    void TrackLink(QPoint p);
    void ShowSnap();
    bool InputKeyDown(int key, Qt::KeyboardModifiers keys);
    bool ValueBoxKey(int key);
    void CommitValue();
    void KeyPress(const QString& text);
    void MoveByKeys(int key);
    void SizeByKeys(int key);

    TZORBaseEditor& fEditor;
    TZORBackEditor& fSurface;
    TZOREditorState& fState; // the surface's
    TZORValueBox* fBox; // a child of the surface
    TZORRef fRef; // the snap point of the last move
    TZORink fLink; // the link anchor under the pointer
    std::optional<TZORPto> fLast; // the point placed last
    QPoint fTextClickPos; // the last press on the text edited in place
    zor::TMouseFilter fMouseFilter { 70, 20 };
    bool fPressed = false; // a left press reached the label; its release is due
    int32_t fBoxAction = 0; // the tool the typed text belongs to
};
