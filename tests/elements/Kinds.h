#pragma once

#include "RenderHarness.h"
#include "elements/lines/Zor.Vcl.Lines.h"

#include <QPointF>

#include <functional>
#include <initializer_list>
#include <vector>

// Every line and figure kind placed on a scene the same way: in the square from (10, 10) to
// (30, 30) millimetres, or along its diagonal, so that table tests can treat the kinds alike.
namespace zor::test {

inline constexpr TAlphaColor Blue { 0xFF0000FF };
inline constexpr TAlphaColor Red { 0xFFFF0000 };
inline constexpr TAlphaColor ClearRed { 0x00FF0000 };
inline constexpr TAlphaColor Green { 0xFF00A000 };

// A fillable kind: how to place it, the fill rule of its screen, and three probes (paper
// millimetres): inside the figure, on its outline a quarter millimetre inwards, and outside.
struct TFigureKind {
    const char* Name;
    TZOR2DItem& (*Make)(TScene& scene);
    QPointF Inside;
    QPointF Edge;
    QPointF Outside;
};

const std::vector<TFigureKind>& FigureKinds();

// Open kinds from (10, 10) to (30, 30), with no line ends: a point on the path and the path's
// unit normal there (paper millimetres).
struct TLineKind {
    const char* Name;
    TZORBaseItem& (*Make)(TScene& scene);
    QPointF On;
    QPointF Normal;
};

const std::vector<TLineKind>& LineKinds();

// An element that leaves a drawing state behind, all clear of the row y = 35: every figure and
// line kind dashed (some with round caps), and the dimension, the gauge and the package box with
// dashes, turned text and heads of their own.
struct TPredecessor {
    const char* Name;
    std::function<void(TScene&)> Make;
};

const std::vector<TPredecessor>& Predecessors();

// A new element of class T through the points (paper millimetres).
template <class T> T& Through(TScene& scene, std::initializer_list<QPointF> mm)
{
    T& item = scene.Add<T>();
    std::vector<TZORPto> points;
    for (const QPointF& p : mm)
        points.push_back(scene.Pt(p.x(), p.y()));
    item.AssignPoints(points);
    return item;
}

// Filled arrow heads 4 mm long at both ends: red at the first point, green at the last.
template <class T> void FilledArrows(T& item)
{
    item.SetFromType(TZORTermType::FilledArrow);
    item.SetToType(TZORTermType::FilledArrow);
    item.SetFromColor(Red);
    item.SetToColor(Green);
    item.SetSizeFrom(4.0f);
    item.SetSizeTo(4.0f);
}

} // namespace zor::test
