#include "Zor.Rank.h"

using zor::Field;
using zor::TAlphaColor;

// --- Rating ---

const TZORFields<TZORBaseItem>& TZORBaseRank::GetFields() const
{
    using R = TZORBaseRank;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &R::fPosition>("Position"),
              Field<TZORBaseItem, &R::fMaximum>("Maximum"),
              Field<TZORBaseItem, &R::fRankType>("RankType"),
              Field<TZORBaseItem, &R::fRankPos>("RankPos"),
              Field<TZORBaseItem, &R::fGap>("Gap"),
              Field<TZORBaseItem, &R::fDrawEmpty>("DrawEmpty"),
              Field<TZORBaseItem, &R::fEmptyColor>("EmptyColor"),
          };
    return fields;
}

void TZORBaseRank::SetRankPos(TZORRankPos p)
{
    if (zor::Ord(p) <= zor::Ord(TZORRankPos::TopToBottom))
        fRankPos = p;
}

void TZORBaseRank::AfterRead()
{
    SetMaximum(fMaximum);
    SetBaseGap(fGap);
    if (zor::Ord(fRankPos) > zor::Ord(TZORRankPos::TopToBottom))
        fRankPos = TZORRankPos::LeftToRight;
    TZORBoxItem::AfterRead();
}

// --- Nutrition score ---

const TZORFields<TZORBaseItem>& TZORBaseNutri::GetFields() const
{
    using N = TZORBaseNutri;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &N::fValue>("Value"),
              Field<TZORBaseItem, &N::fNutriType>("NutriType"),
              Field<TZORBaseItem, &N::fGap>("Gap"),
              Field<TZORBaseItem, &N::fGapValue>("GapValue"),
              Field<TZORBaseItem, &N::fMargin>("Margin"),
              Field<TZORBaseItem, &N::fTitle>("Title"),
              Field<TZORBaseItem, &N::fShowTitle>("ShowTitle"),
              Field<TZORBaseItem, &N::fAColor>("AColor"),
              Field<TZORBaseItem, &N::fBColor>("BColor"),
              Field<TZORBaseItem, &N::fCColor>("CColor"),
              Field<TZORBaseItem, &N::fDColor>("DColor"),
              Field<TZORBaseItem, &N::fEColor>("EColor"),
              Field<TZORBaseItem, &N::fTitleColor>("TitleColor"),
              Field<TZORBaseItem, &N::fCharColor>("CharColor"),
              Field<TZORBaseItem, &N::fValueColor>("ValueColor"),
              Field<TZORBaseItem, &N::fAngle>("Angle"),
              Field<TZORBaseItem, &N::fRadio>("Radio"),
              Field<TZORBaseItem, &N::fInnerRadio>("InnerRadio"),
              Field<TZORBaseItem, &N::fMonochrome>("Monochrome"),
          };
    return fields;
}

void TZORBaseNutri::RotateLeft()
{
    TZORBoxItem::RotateLeft();
    SetAngle(TZORAngle(zor::Ord(fAngle) + 1));
}

void TZORBaseNutri::RotateRight()
{
    TZORBoxItem::RotateRight();
    SetAngle(TZORAngle(zor::Ord(fAngle) + 3));
}

bool TZORBaseNutri::SetValue(QChar grade)
{
    const QChar upper = grade.toUpper();
    if (upper < u'A' || upper > u'E')
        return false;
    fValue = upper;
    return true;
}

QChar TZORBaseNutri::GradeOf(const QString& text)
{
    const QChar first = text.isEmpty() ? QChar(u'A') : text.at(0).toUpper();
    return first >= u'A' && first <= u'E' ? first : QChar(u'A');
}

TAlphaColor TZORBaseNutri::GetGradeColor(int i) const
{
    const TAlphaColor colors[] = { fAColor, fBColor, fCColor, fDColor, fEColor };
    return colors[std::clamp(i, 0, 4)];
}

void TZORBaseNutri::SetGradeColor(int i, TAlphaColor c)
{
    TAlphaColor* colors[] = { &fAColor, &fBColor, &fCColor, &fDColor, &fEColor };
    *colors[std::clamp(i, 0, 4)] = c;
}

void TZORBaseNutri::AfterRead()
{
    if (fValue.size() != 1 || !SetValue(fValue.at(0)))
        fValue = QStringLiteral("A");
    SetBaseGap(fGap);
    SetBaseGapValue(fGapValue);
    SetBaseMargin(fMargin);
    SetBaseRadio(fRadio);
    SetBaseInnerRadio(fInnerRadio);
    SetAngle(fAngle);
    TZORBoxItem::AfterRead();
}
