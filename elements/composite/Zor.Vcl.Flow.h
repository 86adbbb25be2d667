#pragma once

#include "Zor.Flow.h"
#include "label/Zor.Vcl.Element.h"

// The renderers of flowchart nodes and of the links that join elements.

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
