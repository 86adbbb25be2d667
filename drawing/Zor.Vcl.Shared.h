#pragma once

#include "Zor.Paint.h"

#include <QPainterPath>
#include <QPointF>

#include <span>

// Helpers the screen renderers share.

TSkFontStyle GetFontStyle(bool bold, bool italic);

// A closed path through the points in order; empty for no points.
void BuildClosedPath(QPainterPath& path, std::span<const QPointF> points);
