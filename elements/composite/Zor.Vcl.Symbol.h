#pragma once

#include "Zor.LibSymbol.h"
#include "Zor.Symbol.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"
#include "elements/lines/Zor.Vcl.Lines.Frame.h"

class TZORDraw;

// Library symbol (type code 24): the label's definition of its ID placed at point 1, scaled and
// turned about it. Screen and paper walk the display list with one interpreter.
class QUINDLE_VCL_EXPORT TZORSymbol : public TZORBaseSymbol, public TZORElementIO<TZORSymbol> {
public:
    using TZORBaseSymbol::TZORBaseSymbol;

    void Draw(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Screen); }
    void Print(TZORBaseDraw& D) const override { Paint(D, zor::TZORTarget::Print); }

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
    void Paint(TZORBaseDraw& D, zor::TZORTarget target) const;
};
