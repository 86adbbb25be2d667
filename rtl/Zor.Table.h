#pragma once

#include "Zor.F2d.h"

#include <QString>

#include <algorithm>
#include <cstdint>

// A table of columns and data rows in the box between points 1 and 2 (type code 19).
class TZORBaseTable : public TZORBoxItem {
public:
    static constexpr int32_t MaxColumns = 256;
    static constexpr int32_t MaxRows = 65535;

    using TZORBoxItem::TZORBoxItem;

    TZORItemType TypeCode() const override { return TZORItemType::Table; }
    const TZORFields<TZORBaseItem>& GetFields() const override;

    // At least one column; data rows may be none.
    int32_t GetColumns() const { return fColumns; }
    void SetColumns(int32_t n) { fColumns = std::clamp(n, 1, MaxColumns); }
    int32_t GetRows() const { return fRows; }
    void SetRows(int32_t n) { fRows = std::clamp(n, 0, MaxRows); }

protected:
    void AfterRead() override;

private:
    int32_t fColumns = 2;
    int32_t fRows = 1;
};
