#pragma once

#include "Zor.F2d.h"
#include "Zor.RtlExport.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>

// The shape of a rating's cells.
enum class TZORRankType : uint8_t { Rectangle = 0, Oval = 1, Star = 2, Rhombus = 3 };
// Where a rating's first cell is: a row from the left (0) or the right (1), a column from the
// bottom (2) or the top (3).
enum class TZORRankPos : uint8_t { LeftToRight = 0, RightToLeft = 1, BottomToTop = 2, TopToBottom = 3 };

namespace zor {

// The ten corners of a five-pointed star in a cell, percent of its width and height from its
// top-left corner, in drawing order from the top point clockwise.
inline constexpr std::array<std::array<int, 2>, 10> StarPoints = { {
    { 50, 0 },
    { 62, 35 },
    { 100, 38 },
    { 69, 60 },
    { 80, 100 },
    { 50, 76 },
    { 20, 100 },
    { 31, 60 },
    { 0, 38 },
    { 38, 35 },
} };

} // namespace zor

// A rating (type code 21): Maximum equal square cells in a row or a column of the box between
// points 1 and 2, the first Position of them filled. A Position beyond the Maximum fills every
// cell. Lengths in base units go through the GetBase/SetBase pairs.
class QUINDLE_RTL_EXPORT TZORBaseRank : public TZORBoxItem {
public:
    using TZORBoxItem::TZORBoxItem;

    TZORItemType TypeCode() const override { return TZORItemType::Rank; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    uint16_t GetPosition() const { return fPosition; }
    void SetPosition(uint16_t p) { fPosition = p; }
    // At least one cell.
    uint16_t GetMaximum() const { return fMaximum; }
    void SetMaximum(uint16_t m) { fMaximum = std::max<uint16_t>(m, 1); }
    TZORRankType GetRankType() const { return fRankType; }
    void SetRankType(TZORRankType t) { fRankType = t; }
    TZORRankPos GetRankPos() const { return fRankPos; }
    // Only the four directions are kept; any other value leaves it.
    void SetRankPos(TZORRankPos p);
    // The gap between cells and around them; below 0 counts as 0.
    int32_t GetBaseGap() const { return fGap; }
    void SetBaseGap(int32_t g) { fGap = std::max(g, 0); }
    float GetGap() const { return ToUnits(fGap); }
    bool GetDrawEmpty() const { return fDrawEmpty; }
    void SetDrawEmpty(bool d) { fDrawEmpty = d; }
    zor::TAlphaColor GetEmptyColor() const { return fEmptyColor; }
    void SetEmptyColor(zor::TAlphaColor c) { fEmptyColor = c; }

protected:
    void AfterRead() override;

private:
    uint16_t fPosition = 0;
    uint16_t fMaximum = 5;
    TZORRankType fRankType = TZORRankType::Star;
    TZORRankPos fRankPos = TZORRankPos::LeftToRight;
    int32_t fGap = 1000;
    bool fDrawEmpty = true;
    zor::TAlphaColor fEmptyColor { 0xFFD3D3D3 };
};

// Where a nutrition score's title goes: above the row of grades (0) or before it, turned a
// quarter to read upwards (1).
enum class TZORNutriType : uint8_t { TitleAbove = 0, TitleBefore = 1 };

// A nutrition score (type code 22): the grades A to E in the box between points 1 and 2, one of
// them selected, with an optional title. Lengths (gap, inner spacing, margin, radii) are base
// units.
class QUINDLE_RTL_EXPORT TZORBaseNutri : public TZORBoxItem {
public:
    static constexpr char16_t Grades[] = u"ABCDE";

    using TZORBoxItem::TZORBoxItem;

    TZORItemType TypeCode() const override { return TZORItemType::NutriScore; }
    const TZORFields<TZORBaseItem>& GetFields() const override;
    // Quarter turns turn the whole score.
    void RotateLeft() override;
    void RotateRight() override;

    // The selected grade, an upper-case letter from A to E.
    QChar GetValue() const { return fValue.at(0); }
    // Takes a grade in either case; any other character leaves the grade as it is (answer false).
    bool SetValue(QChar grade);
    // The grade a text selects: its first character when that is a grade in either case, else A
    // (an empty text included).
    static QChar GradeOf(const QString& text);

    TZORNutriType GetNutriType() const { return fNutriType; }
    void SetNutriType(TZORNutriType t) { fNutriType = t; }
    // Lengths below 0 count as 0.
    int32_t GetBaseGap() const { return fGap; }
    void SetBaseGap(int32_t v) { fGap = std::max(v, 0); }
    int32_t GetBaseGapValue() const { return fGapValue; }
    void SetBaseGapValue(int32_t v) { fGapValue = std::max(v, 0); }
    int32_t GetBaseMargin() const { return fMargin; }
    void SetBaseMargin(int32_t v) { fMargin = std::max(v, 0); }
    int32_t GetBaseRadio() const { return fRadio; }
    void SetBaseRadio(int32_t v) { fRadio = std::max(v, 0); }
    int32_t GetBaseInnerRadio() const { return fInnerRadio; }
    void SetBaseInnerRadio(int32_t v) { fInnerRadio = std::max(v, 0); }
    const QString& GetTitle() const { return fTitle; }
    void SetTitle(const QString& t) { fTitle = t; }
    bool GetShowTitle() const { return fShowTitle; }
    void SetShowTitle(bool s) { fShowTitle = s; }
    // The fill of grade i (0 for A to 4 for E); i beyond E gives E's.
    zor::TAlphaColor GetGradeColor(int i) const;
    void SetGradeColor(int i, zor::TAlphaColor c);
    zor::TAlphaColor GetTitleColor() const { return fTitleColor; }
    void SetTitleColor(zor::TAlphaColor c) { fTitleColor = c; }
    zor::TAlphaColor GetCharColor() const { return fCharColor; }
    void SetCharColor(zor::TAlphaColor c) { fCharColor = c; }
    zor::TAlphaColor GetValueColor() const { return fValueColor; }
    void SetValueColor(zor::TAlphaColor c) { fValueColor = c; }
    TZORAngle GetAngle() const { return fAngle; }
    void SetAngle(TZORAngle a) { fAngle = TZORAngle(zor::Ord(a) & 3); }
    bool GetMonochrome() const { return fMonochrome; }
    void SetMonochrome(bool m) { fMonochrome = m; }

protected:
    // A grade read that is not one of A to E becomes A.
    void AfterRead() override;

private:
    QString fValue = QStringLiteral("A");
    TZORNutriType fNutriType = TZORNutriType::TitleAbove;
    int32_t fGap = 500;
    int32_t fGapValue = 500;
    int32_t fMargin = 500;
    QString fTitle = QStringLiteral("NUTRI-SCORE");
    bool fShowTitle = false;
    zor::TAlphaColor fAColor { 0xFF038141 };
    zor::TAlphaColor fBColor { 0xFF85BB2F };
    zor::TAlphaColor fCColor { 0xFFFECB02 };
    zor::TAlphaColor fDColor { 0xFFEE8100 };
    zor::TAlphaColor fEColor { 0xFFE63E11 };
    zor::TAlphaColor fTitleColor { 0xFF808080 };
    zor::TAlphaColor fCharColor { 0xB3FFFFFF };
    zor::TAlphaColor fValueColor { 0xFFFFFFFF };
    TZORAngle fAngle = TZORAngle::Angle0;
    int32_t fRadio = 0;
    int32_t fInnerRadio = 0;
    bool fMonochrome = false;
};
