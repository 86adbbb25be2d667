#pragma once

#include "Zor.F2d.h"
#include "Zor.Symbol.h"
#include "Zor.Text.h"
#include "label/Zor.Vcl.Element.h"

// The renderers of the composite elements: flowchart nodes, links, tables, poly texts, ratings,
// nutrition scores and library symbols. Each is its model class plus the constructors the
// factory and the readers use; each kind's drawing comes with its own element module.

// Flowchart node (type code 17).
class TZORFlow : public TZORUndrawn<TZORBaseFlow>, public TZORElementIO<TZORFlow> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// Link (type code 18).
class TZORLink : public TZORUndrawn<TZORBaseLink>, public TZORElementIO<TZORLink> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// Table (type code 19).
class TZORTable : public TZORUndrawn<TZORBaseTable>, public TZORElementIO<TZORTable> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// Poly text (type code 20).
class TZORPolyText : public TZORUndrawn<TZORBasePoly>, public TZORElementIO<TZORPolyText> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// Rating (type code 21).
class TZORRank : public TZORUndrawn<TZORBaseRank>, public TZORElementIO<TZORRank> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// Nutrition score (type code 22).
class TZORNutriScore : public TZORUndrawn<TZORBaseNutri>, public TZORElementIO<TZORNutriScore> {
public:
    using TZORUndrawn::TZORUndrawn;
};

// Library symbol (type code 24).
class TZORSymbol : public TZORUndrawn<TZORBaseSymbol>, public TZORElementIO<TZORSymbol> {
public:
    using TZORUndrawn::TZORUndrawn;
};
