// A library that defines the number formatter once more, as a unit once did by mistake: the
// definition check must refuse it beside the model's library.
#include "Zor.Format.h"

QString zor::FormatFloat(const QString& pattern, double)
{
    return pattern;
}
