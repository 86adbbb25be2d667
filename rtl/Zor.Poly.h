#pragma once

#include "Zor.F2d.h"

#include <QString>

#include <algorithm>
#include <cstdint>

// Data items shown side by side at point 1 (type code 20); the list of items is kept as its
// text.
class TZORBasePoly : public TZORFixedItem<TZOR2DItem, 1> {
public:
    using TZORFixedItem::TZORFixedItem;

    TZORItemType TypeCode() const override { return TZORItemType::PolyText; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    const QString& GetPolyItems() const { return fPolyItems; }
    void SetPolyItems(const QString& items) { fPolyItems = items; }

private:
    QString fPolyItems;
};
