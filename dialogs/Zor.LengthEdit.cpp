#include "Zor.LengthEdit.h"

#include "Zor.Utils.h"

#include <iterator>

TZORLengthEdit::TZORLengthEdit(QWidget* parent)
    : TZORSpinEditFloat(parent)
{
    SetDigits(2);
    SetIncrement(0.5);
}

void TZORLengthEdit::SetLength(int64_t micrometres)
{
    const double shown = zor::GetValue(micrometres, fUnits);
    const double kept = CheckValue(shown);
    SetValue(kept);
    fGiven = kept == shown ? micrometres : zor::SetValue(kept, fUnits);
    fShown = text();
}

int64_t TZORLengthEdit::GetLength() const
{
    if (text() == fShown)
        return fGiven;
    return zor::SetValue(CheckValue(GetValue()), fUnits);
}

namespace zor {

QString UnitSymbol(TZORUnits units)
{
    static constexpr const char* Symbols[] = { "mm", "in", "cm", "dm", "m", "ft", "yd" };
    const size_t i = Ord(units);
    return QString::fromLatin1(i < std::size(Symbols) ? Symbols[i] : Symbols[0]);
}

} // namespace zor
