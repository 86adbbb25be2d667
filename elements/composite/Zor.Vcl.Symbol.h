#pragma once

#include "Zor.LibSymbol.h"
#include "Zor.Rank.h"
#include "Zor.Symbol.h"
#include "drawing/Zor.Fonts.h"
#include "elements/lines/Zor.Vcl.Lines.Frame.h"
#include "label/Zor.Vcl.Element.h"

#include <QPointF>
#include <QString>

class TZORDraw;

// The renderers of ratings, nutrition scores and library symbols.

namespace zor {

// Filled glyphs of `text` (no stroke widens them), the baseline starting at `start` and turned
// about it by `degrees` (clockwise on the page), stretched along the baseline by scaleX, on the
// painter of the target with its transform; nothing when the target has none.
void PaintGlyphs(TZORDraw& D, TZORTarget target, const TScaledFont& font, const QPointF& start,
    double degrees, double em, const QString& text, TAlphaColor color, double scaleX = 1.0);

} // namespace zor

// Rating (type code 21).
class TZORRank : public TZORBaseRank, public TZORElementIO<TZORRank> {
public:
    using TZORBaseRank::TZORBaseRank;

    void Draw(TZORBaseDraw& D) override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target);
};

// Nutrition score (type code 22).
class TZORNutriScore : public TZORBaseNutri, public TZORElementIO<TZORNutriScore> {
public:
    using TZORBaseNutri::TZORBaseNutri;

    void Draw(TZORBaseDraw& D) override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) override { Paint(D, zor::TZORTarget::Print); }

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target);
};

// Library symbol (type code 24): the label's definition of its ID placed at point 1, scaled and
// turned about it. Screen and paper walk the display list with one interpreter.
class TZORSymbol : public TZORBaseSymbol, public TZORElementIO<TZORSymbol> {
public:
    using TZORBaseSymbol::TZORBaseSymbol;

    void Draw(TZORBaseDraw& D) override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) override { Paint(D, zor::TZORTarget::Print); }

    // Draws aSymbol on the screen canvas of dr, whose transform already puts the symbol's
    // insertion point where it is to appear, with its scale and turn; aScale is the scale the
    // caller applied, by which pens without ScalePen keep their width. dr's configuration holds
    // the starting state and keeps the last one afterwards; connection points show when
    // aDrawLinkPto is set. A null symbol draws nothing.
    static void DrawSymbol(TZORDraw& dr, const TZORLibSymbol* aSymbol, float aScale);
    // The same on either target: on paper through the printer graphics (whose painter carries
    // the transform), with underlined text and without connection points.
    static void PaintSymbol(TZORDraw& dr, const TZORLibSymbol* aSymbol, float aScale, zor::TZORTarget target);

private:
    void Paint(TZORBaseDraw& D, zor::TZORTarget target);
};
