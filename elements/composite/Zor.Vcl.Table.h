#pragma once

#include "Zor.Table.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"

// The table lays its content out once for the screen and the paper (in paper micrometres,
// measured by the text-metrics service) and paints that one layout on either target.

// Table (type code 19). The editor shows the sample line of every column; the preview, the
// export and the paper show the lines of the table's data set for the label being drawn.
class QUINDLE_VCL_EXPORT TZORTable : public TZORBaseTable, public TZORElementIO<TZORTable> {
public:
    using TZORBaseTable::TZORBaseTable;

    // Lays out the editor's view: the title and every column's header, sample line and footer.
    void CalcValues(int16_t aFlag) override;
    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw& D) const override;
};
