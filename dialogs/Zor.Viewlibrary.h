#pragma once

#include "Zor.LibSymbol.h"
#include "Zor.Library.h"
#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"
#include "label/Zor.Vcl.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointer>

#include <functional>
#include <memory>

// The symbols of one category of a library file, or of a label's own, in a grid of equal cells
// that scrolls vertically. The pointer over a cell reports its symbol (OnChangePos, and its
// name as a tool tip); a click selects it, and GetSelection hands out a copy of it. The viewer
// reads the label but does not observe it.
//
// Lengths are pixels. The grid's columns follow the width at loading: as many cells of
// SymbolWidth as fit with Gap between them and around, leaving room for the vertical scroll bar
// when the rows do not fit; a resize lays the same grid out again, centred.
class QUINDLE_WIDGETS_EXPORT TZORViewLibrary : public QAbstractScrollArea {
    Q_OBJECT
    Q_PROPERTY(TZORLabelVCL* Quindle READ GetQuindle WRITE SetQuindle DESIGNABLE false)

public:
    // The symbol under the pointer: its name, note and unit; empty texts when it left them.
    using TZORInfoSymEvent = std::function<void(
        TZORViewLibrary& sender, const QString& name, const QString& note, TZORUnits unit)>;

    // The size a new viewer asks for (in Designer, the size it is dropped at).
    static constexpr QSize DefaultSize { 240, 320 };

    explicit TZORViewLibrary(QWidget* parent = nullptr);
    QSize sizeHint() const override { return DefaultSize; }

    // The kind of view: 3, a symbol library viewer.
    static constexpr int TypeDest() { return 3; }

    TZORLabelVCL* GetQuindle() const { return fBaseLab; }
    // A new label gives the viewer a new, empty library.
    void SetQuindle(TZORLabelVCL* label);

    // Loads the symbols of category of a library file, or with fileName the catalogue's text
    // "CurDrawing" the label's own, and lays them out. A file that is not there, cannot be read
    // or a viewer without room shows no symbol.
    void LoadSymbols(const QString& fileName, const QString& category);
    // The categories of a library file, one a line; empty for a file that cannot be read.
    static QString GetCatList(const QString& fileName);
    // A copy of the selected symbol for the caller to keep; null without a selection.
    std::unique_ptr<TZORLibSymbol> GetSelection() const;
    // The selected symbol, 1-based; 0 for none.
    int32_t IdSelection() const { return fIdxSymbol; }
    int32_t GetNumSymbols() const { return fNumSym; }
    // The symbol under the pointer, 1-based; 0 for none.
    int32_t IdPosition() const { return fIdxPosition; }

    zor::TAlphaColor GetColor() const { return fColor; }
    void SetColor(zor::TAlphaColor c);
    zor::TAlphaColor GetFrameColor() const { return fFrameColor; }
    void SetFrameColor(zor::TAlphaColor c);
    zor::TAlphaColor GetSelectionColor() const { return fSelectionColor; }
    void SetSelectionColor(zor::TAlphaColor c);
    // Stored only: the grid takes them at the next load or resize. At least 0 and 1.
    int GetGap() const { return fGap; }
    void SetGap(int gap) { fGap = std::max(gap, 0); }
    int GetSymbolWidth() const { return fSymbolWidth; }
    void SetSymbolWidth(int w) { fSymbolWidth = std::max(w, 1); }
    int GetSymbolHeight() const { return fSymbolHeight; }
    void SetSymbolHeight(int h) { fSymbolHeight = std::max(h, 1); }
    bool GetShowHintOnMove() const { return fShowHintOnMove; }
    void SetShowHintOnMove(bool s) { fShowHintOnMove = s; }

    // The grid as laid out.
    int32_t Rows() const { return fRows; }
    int32_t Cols() const { return fCols; }
    int MarginLeft() const { return fMarginLeft; }
    int MarginTop() const { return fGap; }
    // The picture shown, the viewport's size.
    const QImage& BackSurf() const { return fBackSurf; }

    TZORInfoSymEvent OnChangePos;

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    // The width and height the grid is computed for: inside the frame, scroll bars included.
    int ClientWidth() const;
    int ClientHeight() const;
    void ComputeGrid();
    void AdjustSizes();
    void UpdateScrollBars();
    void Draw();
    void DrawCell(
        class QPainter& painter, class TZORDraw& D, const TZORLibSymbol& symbol, int x, int y, bool selected);
    // The symbol at a viewport position, 1-based; 0 for none.
    int32_t SymbolAt(const QPoint& pos) const;
    void PointerAt(const QPoint& pos);

    QPointer<TZORLabelVCL> fBaseLab;
    std::unique_ptr<TZORLibrary> fSymLib;
    QImage fBackSurf;
    bool fReady = false;
    zor::TAlphaColor fColor { 0xFFFFFFFF };
    zor::TAlphaColor fFrameColor { 0xFF808080 };
    zor::TAlphaColor fSelectionColor { 0xFFFF0000 };
    int fGap = 10;
    int fSymbolWidth = 80;
    int fSymbolHeight = 80;
    bool fShowHintOnMove = true;
    int fDPIX = 96;
    int fDPIY = 96;
    int32_t fRows = 0;
    int32_t fCols = 0;
    int fMarginLeft = 0;
    int fContentHeight = 0;
    int fMaxHeight = 0;
    int32_t fNumSym = 0;
    int32_t fIdxSymbol = 0;
    int32_t fIdxPosition = 0;
    int32_t fIdxLastPos = 0;
};
