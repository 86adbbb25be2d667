#pragma once

#include "Zor.EditorItemIndex.h"
#include "Zor.EditorRuler.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QImage>
#include <QPainterPath>
#include <QPoint>
#include <QRegion>

#include <unordered_set>

class QPainter;
class TZORBackEditor;
class TZORBaseItem;
class TZORLabelVCL;
struct TZOREditorState;

// The paint pass of an editor's surface in two layers. The element layer holds the margin, the
// paper, the layer backgrounds, the grid and every element; it is rendered again only when it is
// stale. Over a copy of it go the rulers, the alignment guides, the selection handles, the
// construction preview of the tool in use and the snap marker, so that a moving preview
// repaints without drawing the elements again. Selected elements draw in their own style: a new
// selection redraws the layer only where an element's state changed, and there only the
// elements that reach into that region. Only what is in view is drawn: the elements are found by
// their rectangles in an index made with each whole render, and a scroll moves the layer and
// draws the strips that come into view.
class QUINDLE_WIDGETS_EXPORT TZOREditorPaint {
public:
    explicit TZOREditorPaint(TZORBackEditor& surface);

    // The whole picture into image (resized to the surface): the element layer when stale or of
    // another size, then the layers over it.
    void Render(QImage& image);
    // The elements changed: the next render draws them again.
    void InvalidateElements() { fStale = true; }
    // How many times the element layer was rendered whole, and how many elements were drawn.
    int ElementRenderCount() const { return fElementRenders; }
    int ItemDrawCount() const { return fItemDraws; }

    // The construction preview's path of draw type 4 (the run taken so far), 13, 20 or 22
    // between the press point po and the pointer lp; empty for any other type.
    static QPainterPath GetPath(int32_t drawType, QPoint po, QPoint lp, const TZORBackEditor& surface);

private:
    // The surface offers the layers under their own names (DrawGrid, PaintRulers, ...).
    friend class TZORBackEditor;
    void RenderElements(TZORLabelVCL& label);
    // The page's top left corner on the surface.
    QPoint Origin() const;
    void IndexItems(const TZORLabelVCL& label);
    void ScrollElements(TZORLabelVCL& label);
    // Redraws the element layer where the state of an element changed since it was rendered.
    void PatchStates(TZORLabelVCL& label);
    void PaintLayer(TZORLabelVCL& label, const QRegion& region);
    void PrepareDraw(QPainter& painter);
    void PageTransform(QPainter& painter) const;
    QRect ItemRect(const TZORBaseItem& item) const;
    void PaintPaper(QPainter& painter, TZORLabelVCL& label);
    void PaintGrid(QPainter& painter);
    void PaintItems(QPainter& painter, TZORLabelVCL& label, const QRegion& region);
    void PaintAlignLines(QPainter& painter);
    void PaintHandles(QPainter& painter, TZORLabelVCL& label);
    void PaintPreview(QPainter& painter);
    void PaintSnapMark(QPainter& painter);

    TZORBackEditor& fSurface;
    const TZOREditorState& fState; // the surface's
    QImage fElements;
    QImage fAside; // parts of the view drawn before they are copied into the layer
    bool fStale = true;
    QPoint fOrigin; // the page's corner when the layer was drawn
    float fZoom = 0.0f; // the zoom it was drawn at
    TZORItemIndex fIndex; // the elements' rectangles relative to the page's corner
    int fElementRenders = 0;
    int fItemDraws = 0;
    std::unordered_set<const TZORBaseItem*> fMarked; // drawn in a state other than normal
    zor::TZORRulerPainter fRulers;
};
