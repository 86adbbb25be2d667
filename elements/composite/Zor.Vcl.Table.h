#pragma once

#include "Zor.Poly.h"
#include "Zor.Table.h"
#include "elements/text/Zor.Vcl.Text.Frame.h"
#include "label/Zor.Vcl.Element.h"

#include <QString>

// The renderers of tables and poly texts. Both lay their content out once for the screen and
// the paper (in paper micrometres, measured by the text-metrics service) and paint that one
// layout on either target.

// Table (type code 19). The editor shows the sample line of every column; the preview, the
// export and the paper show the lines of the table's data set for the label being drawn.
class TZORTable : public TZORBaseTable, public TZORElementIO<TZORTable> {
public:
    using TZORBaseTable::TZORBaseTable;

    // Lays out the editor's view: the title and every column's header, sample line and footer.
    void CalcValues(int16_t aFlag) override;
    void Draw(TZORBaseDraw& D) override;
    void Print(TZORBaseDraw& D) override;
};

// Poly text (type code 20). Runs of text show each item's own text on screen and its value on
// paper; a code joins them. An invalid linear code shows a red cross and prints nothing; outputs
// beyond the four show the frame alone on both targets.
class TZORPolyText : public TZORBasePoly, public TZORElementIO<TZORPolyText> {
public:
    using TZORBasePoly::TZORBasePoly;

    // Encodes the own code and measures the runs and the digits' font.
    void CalcValues(int16_t aFlag) override;
    void Draw(TZORBaseDraw& D) override;
    void Print(TZORBaseDraw& D) override;
};

namespace zor {

// The font of a text of the composite kinds: family, styles, height in millimetres on paper,
// the ratio the text metrics gave to the character height, and colour.
struct TZORTextLook {
    QString Family;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false; // paper only
    double HeightMM = 0.0;
    double Ratio = 1.0;
    TAlphaColor Color {};
};

// Writes `text` with its cell's top-left at local (u, v) of `turn` (device pixels), turned with
// it, on the screen canvas or on the printer.
void WriteText(TZORElementPainter& P, const TZORTurn& turn, double u, double v, const QString& text,
    const TZORTextLook& look);

} // namespace zor
