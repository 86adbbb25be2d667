#include "Zor.Vcl.Sheet.h"

#include "Zor.Label.h"
#include "Zor.Msg.h"

#include <QString>

#include <algorithm>

namespace zor {

namespace {

constexpr double MicrometresPerInch = 25400.0;

double SheetPos(int64_t margin, int64_t size, int64_t gap, int32_t index, int32_t dpi)
{
    return (double(margin) + double(index - 1) * (double(size) + double(gap))) * dpi / MicrometresPerInch;
}

} // namespace

void CheckSheetFits(const TZORBaseLabel& label)
{
    const TZORMeasure& m = label.Measure();
    const TZORPrintRun& run = label.PrintRun();
    const bool prepared = run.sheetCount > 0;
    const int32_t rows = prepared ? run.rows : std::clamp(m.GetNuHor(), 1, TZORPrintRun::MaxSide);
    const int32_t columns = prepared ? run.columns : std::clamp(m.GetNuVer(), 1, TZORPrintRun::MaxSide);
    const auto extent = [&m](TZORSizeKind margin, TZORSizeKind size, TZORSizeKind gap, int32_t n) {
        return m.GetSize(margin) + n * m.GetSize(size) + (n - 1) * m.GetSize(gap);
    };
    const auto mm = [](int64_t microns) { return QString::number(double(microns) / 1000.0, 'g', 8); };
    const struct {
        const char* along;
        const char* side;
        int32_t count;
        TZORSizeKind size, margin, gap, paper;
    } sides[] = {
        { "across", "wide", columns, TZORSizeKind::LabelWidth, TZORSizeKind::MarginLeft,
            TZORSizeKind::GapHorizontal, TZORSizeKind::PaperWidth },
        { "down", "high", rows, TZORSizeKind::LabelHeight, TZORSizeKind::MarginTop, TZORSizeKind::GapVertical,
            TZORSizeKind::PaperHeight },
    };
    for (const auto& s : sides) {
        const int64_t need = extent(s.margin, s.size, s.gap, s.count);
        if (need > m.GetSize(s.paper))
            throw Error(QStringLiteral("SheetOverflow"), QString::number(s.count),
                QString::fromLatin1(s.along), mm(m.GetSize(s.size)), mm(m.GetSize(s.margin)),
                mm(m.GetSize(s.gap)), mm(need), mm(m.GetSize(s.paper)), QString::fromLatin1(s.side));
    }
}

bool Printable(const TZORBaseItem& item)
{
    const TZORLayer* layer = item.GetLayer();
    return !item.IsPreview() && item.HasOption(ioPrint) && layer && layer->HasOption(loPrint);
}

bool Exported(const TZORBaseItem& item)
{
    const TZORLayer* layer = item.GetLayer();
    return !item.IsPreview() && item.HasOption(TZORItemOption(ioView | ioExport)) && layer
        && layer->HasOption(TZORayerOp(loView | loExport));
}

QPointF SheetLabelOrigin(const TZORMeasure& m, int32_t row, int32_t column, int32_t dpiX, int32_t dpiY)
{
    return { SheetPos(m.GetSize(TZORSizeKind::MarginLeft), m.GetSize(TZORSizeKind::LabelWidth),
                 m.GetSize(TZORSizeKind::GapHorizontal), column, dpiX),
        SheetPos(m.GetSize(TZORSizeKind::MarginTop), m.GetSize(TZORSizeKind::LabelHeight),
            m.GetSize(TZORSizeKind::GapVertical), row, dpiY) };
}

} // namespace zor
