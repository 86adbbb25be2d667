#pragma once

#include "Zor.Rank.h"
#include "Zor.Symbol.h"
#include "label/Zor.Vcl.Element.h"

// The renderers of ratings, nutrition scores and library symbols.

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
