#include "Zor.Table.h"

// --- Table ---

const TZORFields<TZORBaseItem>& TZORBaseTable::GetFields() const
{
    using T = TZORBaseTable;
    static const TZORFields<TZORBaseItem> fields = FigureFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &T::fColumns>("Columns"),
              Field<TZORBaseItem, &T::fRows>("Rows"),
          };
    return fields;
}

void TZORBaseTable::AfterRead()
{
    SetColumns(fColumns);
    SetRows(fRows);
    TZORBoxItem::AfterRead();
}
