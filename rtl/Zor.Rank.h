#pragma once

#include "Zor.F2d.h"

#include <QString>

#include <algorithm>
#include <cstdint>

// A rating (type code 21): Maximum equal cells in the box between points 1 and 2, the first
// Position of them filled. A Position beyond the Maximum fills every cell.
class TZORBaseRank : public TZORBoxItem {
public:
    using TZORBoxItem::TZORBoxItem;

    TZORItemType TypeCode() const override { return TZORItemType::Rank; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    uint16_t GetPosition() const { return fPosition; }
    void SetPosition(uint16_t p) { fPosition = p; }
    // At least one cell.
    uint16_t GetMaximum() const { return fMaximum; }
    void SetMaximum(uint16_t m) { fMaximum = std::max<uint16_t>(m, 1); }

protected:
    void AfterRead() override;

private:
    uint16_t fPosition = 0;
    uint16_t fMaximum = 5;
};

// A nutrition score (type code 22): the grades A to E in the box between points 1 and 2, one of
// them selected.
class TZORBaseNutri : public TZORBoxItem {
public:
    using TZORBoxItem::TZORBoxItem;

    TZORItemType TypeCode() const override { return TZORItemType::NutriScore; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    // The selected grade, an upper-case letter from A to E.
    QChar GetValue() const { return fValue.at(0); }
    // Takes a grade in either case; any other character leaves the grade as it is (answer false).
    bool SetValue(QChar grade);

protected:
    // A grade read that is not one of A to E becomes A.
    void AfterRead() override;

private:
    QString fValue = QStringLiteral("A");
};
