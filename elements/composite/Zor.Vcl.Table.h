#pragma once

#include "Zor.Poly.h"
#include "Zor.Table.h"
#include "label/Zor.Vcl.Element.h"

// The renderers of tables and poly texts.

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
