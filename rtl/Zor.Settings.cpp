#include "Zor.Settings.h"

using zor::Field;

const TZORFields<TZORSettings>& TZORSettings::Fields()
{
    using S = TZORSettings;
    static const TZORFields<S> fields {
        Field<S, &S::fTermSize>("TermSize"),
        Field<S, &S::fTermColor>("TermColor"),
        Field<S, &S::fFillTermColor>("FillTermColor", 3101),
    };
    return fields;
}
