#pragma once

#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QPointF>
#include <QStringView>

#include <cstdint>
#include <utility>

class TZORBaseRichText;
class TZORParagraph;
class TZORText;

// Where the caret of in-place editing goes: a point of the page (base units) becomes a plain
// position of the edited text, and the caret moves by word and by line. Positions are plain
// positions (see TZORBaseRichText). Every width comes from the text-metrics service, the one
// the layout measures with, so a click lands where the layout put the characters; a click on
// the right half of a character puts the caret after it. Texts turned by a quarter turn are hit
// in their own turned frame.
namespace zor {

// Line breaks, blanks and ! " ' ( ) , - . : ; ? [ ] { } separate words.
QUINDLE_VCL_EXPORT bool IsWordSeparator(QChar c);
// Word boundaries of the caret moves with Ctrl: the start of the word at or before pos, and the
// start of the next word. Separators: line breaks, blanks and ! " ' ( ) , - . : ; ? [ ] { }.
QUINDLE_VCL_EXPORT int32_t FindPrevWordBoundary(QStringView s, int32_t pos);
QUINDLE_VCL_EXPORT int32_t FindNextWordBoundary(QStringView s, int32_t pos);

// A page point (base units) in the rich text's turned frame: paper micrometres along its lines
// and across them from the padded box's inner corner, as its segments are laid out.
QUINDLE_VCL_EXPORT QPointF RichTextLocal(const TZORBaseRichText& item, const TZORPto& p);
// The plain position at a local point: the nearest line (the upper one of two equally near),
// then the character edge nearest along it; left of a line its start, right of it its end.
// 0 when the text has no segments.
QUINDLE_VCL_EXPORT int32_t RichTextHitLocal(const TZORBaseRichText& item, const QPointF& local);
QUINDLE_VCL_EXPORT int32_t RichTextHit(const TZORBaseRichText& item, const TZORPto& p);
// The caret moved one line up or down, keeping its place along the line; pos itself on the
// first line (up) or the last (down).
QUINDLE_VCL_EXPORT int32_t RichTextLineMove(const TZORBaseRichText& item, int32_t pos, bool up);
// The plain positions of the start and the end of the line holding pos.
QUINDLE_VCL_EXPORT std::pair<int32_t, int32_t> RichTextLineRange(const TZORBaseRichText& item, int32_t pos);

// The plain position of a single-line text at a page point (base units).
QUINDLE_VCL_EXPORT int32_t TextHit(TZORText& item, const TZORPto& p);
// The position in a paragraph's text at a page point (base units): the laid-out line under it
// (the first or the last beyond the text), then the nearest character edge along it, measured
// in the paragraph's font as its lines were.
QUINDLE_VCL_EXPORT int32_t ParaHit(TZORParagraph& item, const TZORPto& p);

} // namespace zor
