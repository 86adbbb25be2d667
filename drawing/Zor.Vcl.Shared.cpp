#include "Zor.Vcl.Shared.h"

TSkFontStyle GetFontStyle(bool bold, bool italic)
{
    if (bold && italic)
        return TSkFontStyle::BoldItalic;
    if (bold)
        return TSkFontStyle::Bold;
    return italic ? TSkFontStyle::Italic : TSkFontStyle::Normal;
}

void BuildClosedPath(QPainterPath& path, std::span<const QPointF> points)
{
    path = QPainterPath();
    if (points.empty())
        return;
    path.moveTo(points.front());
    for (const QPointF& p : points.subspan(1))
        path.lineTo(p);
    path.closeSubpath();
}
