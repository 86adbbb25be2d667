#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QFont>
#include <QWidget>

#include <cstdint>

class TZORBaseEditor;

// Sides that show a ruler (bits of TZORRulers::GetVisible).
enum TZORRulerVisible : uint8_t { rvLeft = 1, rvTop = 2, rvRight = 4, rvBottom = 8 };
enum class TZORRulerStyle : uint8_t { Style01 = 0, Style02 = 1 };
enum class TZORGridDraw : uint8_t { None = 0, Points = 1, Lines = 2 };

// The rulers of an editor. Setters of what shows on screen repaint the editor; the size and the
// sides lay the page out again. The alignment guides are kept in base units (micrometres).
class QUINDLE_WIDGETS_EXPORT TZORRulers {
public:
    static constexpr int MinSize = 18;
    static constexpr int MaxSize = 30;

    explicit TZORRulers(TZORBaseEditor* owner);
    void Assign(const TZORRulers& source);

    const QFont& GetFont() const { return fFont; }
    void SetFont(const QFont& f);
    zor::TColor GetColor() const { return fColor; }
    void SetColor(zor::TColor c);
    zor::TColor GetToColor() const { return fToColor; }
    void SetToColor(zor::TColor c);
    zor::TColor GetSizeColor() const { return fSizeColor; }
    void SetSizeColor(zor::TColor c);
    bool GetShowSize() const { return fShowSize; }
    void SetShowSize(bool s);
    zor::TColor GetMarkColor() const { return fMarkColor; }
    void SetMarkColor(zor::TColor c) { fMarkColor = c; }
    zor::TColor GetTickColor() const { return fTickColor; }
    void SetTickColor(zor::TColor c);
    uint8_t GetVisible() const { return fVisible; }
    void SetVisible(uint8_t v);
    bool GetShowAlign() const { return fShowAlign; }
    void SetShowAlign(bool s);
    int GetSize() const { return fSize; }
    void SetSize(int s);
    TZORRulerStyle GetStyle() const { return fStyle; }
    void SetStyle(TZORRulerStyle s);

    int64_t fAlignLeft = 10000; // guides, base units
    int64_t fAlignTop = 10000;
    int32_t fDraggingAlign = 0;

private:
    void Repaint();
    void Relayout();

    TZORBaseEditor* fOwner;
    QFont fFont;
    zor::TColor fColor { 0xC0C0C0 };
    zor::TColor fToColor { 0xFFFFFF };
    zor::TColor fSizeColor { 0x800000 };
    bool fShowSize = false;
    zor::TColor fMarkColor { 0x0000FF };
    zor::TColor fTickColor { 0 };
    uint8_t fVisible = rvLeft | rvTop;
    bool fShowAlign = false;
    int fSize = 18;
    TZORRulerStyle fStyle = TZORRulerStyle::Style01;
};

// The grid of an editor: steps kept in base units divided by the drawing scale, shown in the
// editor's unit. The steps work without a label (scale 1, millimetres).
class QUINDLE_WIDGETS_EXPORT TZORGrid {
public:
    explicit TZORGrid(TZORBaseEditor* owner);
    void Assign(const TZORGrid& source);

    zor::TColor GetStepColor() const { return fStepColor; }
    void SetStepColor(zor::TColor c) { fStepColor = c; }
    zor::TColor GetUnitsColor() const { return fUnitsColor; }
    void SetUnitsColor(zor::TColor c) { fUnitsColor = c; }
    TZORGridDraw GetStyle() const { return fStyle; }
    void SetStyle(TZORGridDraw s);

    // The steps in the editor's unit; reading repairs a stored step out of range.
    double GetIncX();
    double GetIncY();
    void SetIncX(double v);
    void SetIncY(double v);
    double MinInc() const;
    double MaxInc() const;
    // The steps in base units (times the drawing scale).
    int64_t BaseIncX() const;
    int64_t BaseIncY() const;

private:
    int64_t Scale() const;
    int64_t MaxStep() const;
    double Read(int32_t& inc);
    void Write(int32_t& inc, double v);

    TZORBaseEditor* fOwner;
    zor::TColor fStepColor { 0xC0C0C0 };
    zor::TColor fUnitsColor { 0x808080 };
    int32_t fIncX = 10000;
    int32_t fIncY = 10000;
    TZORGridDraw fStyle = TZORGridDraw::None;
};

// The colours of selections, handles, guides and construction previews. Only the link-point
// colour acts at once (the drawing context takes it); none repaints.
class QUINDLE_WIDGETS_EXPORT TZORSelColors {
public:
    explicit TZORSelColors(TZORBaseEditor* owner)
        : fOwner(owner)
    {
    }
    void Assign(const TZORSelColors& source);

    zor::TColor GetLinkPoint() const { return fLinkPoint; }
    void SetLinkPoint(zor::TColor c);

    zor::TColor fCenter { 0xFF0000 };
    zor::TColor fRadio { 0x00FF00 };
    zor::TColor fSizeColor { 0x0000FF };
    zor::TColor fFixColor { 0x808080 };
    zor::TColor fSelRect { 0xFF0000 };
    zor::TColor fSelItem { 0xC0C0C0 };
    zor::TColor fDraw { 0x808000 };
    zor::TColor fPoint { 0x0000FF };
    zor::TColor fLink { 0x00A5FF };
    zor::TColor fAlign { 0xFFFFF0 };
    zor::TColor fAlignText { 0 };
    zor::TColor fBezier { 0x3C14DC };
    zor::TColor fRefLine { 0xFAE6E6 };
    zor::TColor fRefPoint { 0x3C14DC };

private:
    TZORBaseEditor* fOwner;
    zor::TColor fLinkPoint { 0xCDFAFF };
};

enum class TZORStateInfo : uint8_t { None = 0, On = 1, Off = 2 };
enum class TZORTypeInfo : uint8_t { SnapToGrid = 0, Orto = 1 };

// A small indicator beside the scroll bars: whether snapping to the grid (a cross, with a red
// square when on) or ortho drawing (a step) is on. One in state None stays so and paints nothing.
class QUINDLE_WIDGETS_EXPORT TZORInfoEd : public QWidget {
    Q_OBJECT

public:
    TZORInfoEd(QWidget* parent, TZORTypeInfo kind);

    TZORStateInfo GetState() const { return fState; }
    void SetState(TZORStateInfo s);
    TZORTypeInfo GetKind() const { return fInfType; }
    int GetSize() const { return fState != TZORStateInfo::None ? height() : 0; }
    int GetAllSize() const { return GetSize() >= 1 ? GetSize() + 4 : GetSize(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    TZORStateInfo fState = TZORStateInfo::Off;
    TZORTypeInfo fInfType;
};
