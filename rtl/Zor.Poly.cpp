#include "Zor.Poly.h"

// --- Poly text ---

const TZORFields<TZORBaseItem>& TZORBasePoly::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> { Field<TZORBaseItem, &TZORBasePoly::fPolyItems>("PolyItems") };
    return fields;
}
