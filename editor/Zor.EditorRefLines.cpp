#include "Zor.EditorRefLines.h"

#include "Zor.EditorGeometry.h"
#include "Zor.Label.h"

#include <QPainter>
#include <QPen>

#include <algorithm>

namespace zor {

void DrawRefLines(
    QPainter& painter, const TZORBaseLabel& label, const TZOREditorGeometry& G, const QColor& colour)
{
    if (label.GetRefLinesCount() == 0)
        return;
    painter.setRenderHint(QPainter::Antialiasing, false);
    QPen pen(colour, 0);
    // A hairline's dash pattern counts in pixels: half a point at this zoom, never under one.
    const double w05 = std::max(1.0, 0.5 * G.DPIY / 72.0 * G.ZScale);
    pen.setDashPattern({ w05, w05 });
    pen.setDashOffset(1.0);
    painter.setPen(pen);
    for (int32_t i = 1; i <= label.GetRefLinesCount(); ++i) {
        const TZORRefLine& l = *label.GetRefLine(i);
        painter.drawLine(QPointF(G.ScreenMMX(l.P1.X), G.ScreenMMY(l.P1.Y)),
            QPointF(G.ScreenMMX(l.P2.X), G.ScreenMMY(l.P2.Y)));
    }
}

void PaintLinkMarker(QPainter& painter, QPoint p)
{
    QPen pen = painter.pen();
    pen.setWidthF(2.0);
    pen.setStyle(Qt::SolidLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(QRectF(QPointF(p.x() - 5, p.y() - 5), QPointF(p.x() + 6, p.y() + 6)));
    pen.setWidthF(1.0);
    painter.setPen(pen);
}

} // namespace zor
