#pragma once

#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QStringView>

#include <cstdint>
#include <functional>
#include <vector>

// Word wrapping of a text into the lines of a box, shared by every text layout of the drawing
// layer. The layouts differ only in how they measure, in their number type and in where they
// put a line; the loop is one.
//
// Lines break after CR, LF, CR LF and LF CR (CR CR and LF LF are two breaks) and between
// words. Spaces at the start of a paragraph stay with its first word; spaces between words
// end the line before a break and count in its characters but not in its width. A word that
// does not fit an empty line ends the layout as failed (the lines before it stay), unless the
// rules let it wait for a wider line further down. Positions count UTF-16 code units.
namespace zor {

template <class Num> struct TWrapLine {
    int32_t Start = 0; // 1-based
    int32_t Count = 0;
    Num Width {};
    Num X {};
    Num Y {};
};

template <class Num> struct TWrapRules {
    std::function<Num(QStringView)> Width;
    // The width a line whose top is at `top` may take.
    std::function<Num(Num top)> Usable;
    // The left edge of a finished line of `width` whose top is at `top`.
    std::function<Num(Num width, Num top)> X;
    Num Lh {};
    Num Y0 {}; // top of the first line
    Num MarginY {};
    Num BoxH {}; // the loop's own height limit; 0 for none
    Num NextH {}; // the limit that each new line is checked against; 0 for none
    bool WaitForWidth = false;
};

template <class Num> struct TWrapResult {
    std::vector<TWrapLine<Num>> Lines;
    Num Y {}; // top of the line after the last one placed
    bool Overflow = false; // the box was full: the text is cut
    bool Failed = false; // a word did not fit an empty line
};

template <class Num> TWrapResult<Num> WrapText(QStringView text, const TWrapRules<Num>& rules);

extern template TWrapResult<int64_t> WrapText(QStringView, const TWrapRules<int64_t>&);
extern template TWrapResult<double> WrapText(QStringView, const TWrapRules<double>&);

// The one of four values that a horizontal alignment picks; 0 for a value beyond them.
template <class Num> constexpr Num ByAlign(TZORHorzAlign hAlign, Num left, Num centre, Num right, Num justify)
{
    switch (hAlign) {
    case TZORHorzAlign::Left:
        return left;
    case TZORHorzAlign::Center:
        return centre;
    case TZORHorzAlign::Right:
        return right;
    case TZORHorzAlign::Justify:
        return justify;
    }
    return Num {};
}

using TMeasure = std::function<int64_t(QStringView)>;

// The layout of text boxes: lines of lh from marginY down, within W less both margins, placed
// by hAlign (left and justified at marginX, centred in the whole W, right ending marginX before
// W) and, when everything fits, by vAlign with `cellHeight` (ascent + descent) as the height of
// the last line. H = 0 means no height limit. The result is H, or without a limit the bottom
// of the used height plus marginY; 0 for an empty text or a word that does not fit.
QUINDLE_VCL_EXPORT int LayoutTxtPts(QStringView text, TxtLines& lines, int W, int H, int marginX, int marginY,
    TZORHorzAlign hAlign, TZORVertAlign vAlign, int64_t lh, int64_t cellHeight, const TMeasure& width);

// The layout inside a flowchart shape: lines centred, each within the shape's width at its
// height less the width of "c". Shapes whose width varies let a word wait for a wider line.
// The result is the shape's text height, or without a height limit the bottom of the last
// line; 0 for an empty text or a word that fits nowhere.
QUINDLE_VCL_EXPORT int LayoutFlowTxt(QStringView text, TxtLines& lines, int W, int H, int marginY,
    TZORFlowType flowType, int64_t lh, const TMeasure& width);

// The plainer layouts: lines from 0 (stored `yShift` lower) within W less both margins;
// left-aligned lines start at `leftX`, centred ones are centred in W, right-aligned ones end
// marginX before W and justified ones start at 0. When everything fits, centred lines move
// down by Round(R / n), R = H − y − marginY with y the top of the line after the last, and
// bottom-aligned lines end lh + marginY above H. The result is H, or without a height limit
// y + lh; 0 for an empty text or a word that does not fit.
QUINDLE_VCL_EXPORT int LayoutPlainTxt(QStringView text, TxtLines& lines, int W, int H, int marginX,
    int marginY, TZORHorzAlign hAlign, TZORVertAlign vAlign, int64_t lh, int64_t leftX, int64_t yShift,
    const TMeasure& width);

} // namespace zor
