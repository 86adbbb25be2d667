#include "Zor.Rank.h"

// --- Rating ---

const TZORFields<TZORBaseItem>& TZORBaseRank::GetFields() const
{
    using R = TZORBaseRank;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &R::fPosition>("Position"),
              Field<TZORBaseItem, &R::fMaximum>("Maximum"),
          };
    return fields;
}

void TZORBaseRank::AfterRead()
{
    SetMaximum(fMaximum);
    TZORBoxItem::AfterRead();
}

// --- Nutrition score ---

const TZORFields<TZORBaseItem>& TZORBaseNutri::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields
        = FigureFields() + TZORFields<TZORBaseItem> { Field<TZORBaseItem, &TZORBaseNutri::fValue>("Value") };
    return fields;
}

bool TZORBaseNutri::SetValue(QChar grade)
{
    const QChar upper = grade.toUpper();
    if (upper < u'A' || upper > u'E')
        return false;
    fValue = upper;
    return true;
}

void TZORBaseNutri::AfterRead()
{
    if (fValue.size() != 1 || !SetValue(fValue.at(0)))
        fValue = QStringLiteral("A");
    TZORBoxItem::AfterRead();
}
