#include "Zor.Vcl.Link.h"

#include <algorithm>
#include <vector>

using zor::TGPGraphicsPath;

void TZORLink::Paint(TZORBaseDraw& D, zor::TZORTarget target) const
{
    // The ends are found afresh, into locals: the link itself is never written while it paints.
    const std::optional<zor::TZORLinkCourse> course = Course();
    if (!course || course->Points.size() < 2)
        return;
    zor::TZORPainter P(D, target);
    const TZORDraw& d = P.Context();
    const QPointF origin = P.At(TZORPto {});
    const auto at
        = [&](const QPointF& base) { return origin + QPointF(d.GetDrawX(base.x()), d.GetDrawY(base.y())); };
    std::vector<QPointF> points(course->Points.size());
    std::transform(course->Points.begin(), course->Points.end(), points.begin(), at);

    TGPGraphicsPath path;
    if (course->Cubic)
        for (size_t i = 0; i + 3 < points.size(); i += 3)
            path.AddBezier(points[i], points[i + 1], points[i + 2], points[i + 3]);
    else
        path.AddLines(points);
    const zor::TZORStroke stroke = zor::TZORStroke::Of(*this);
    P.Stroke(path, stroke);

    // One rule for both targets: each marker points along the course into its end, outlined
    // solid in the link's colour and filled in its own.
    zor::TZORStroke marker = stroke;
    marker.LineType = TZORineType::Solid;
    marker.ItemState = TZORItemState::Normal;
    const float size = GetTermSize();
    P.LineEnd({ GetFromType(), GetFromColor(), size }, marker, points.front(), at(course->StartFrom()));
    P.LineEnd({ GetToType(), GetToColor(), size }, marker, points.back(), at(course->EndFrom()));
}
