#pragma once

#include "Zor.F2d.h"
#include "common/ItemSamples.h"
#include "Zor.Label.h"
#include "Zor.Line.h"

#include <functional>
#include <memory>
#include <vector>

namespace zor::test {

// A model class made concrete, standing in for the renderer the runtime library derives from it.
template <class Base> struct TStub : Base {
    using Base::Base;
    void Draw(TZORBaseDraw&) const override { }
    void Print(TZORBaseDraw&) const override { }
};

// A label that builds a stub of every line and figure kind, as the runtime library's label builds
// their renderers.
class TKindLabel : public TZORBaseLabel {
public:
    TKindLabel() { AddLayer(QStringLiteral("Second")); }

    std::unique_ptr<TZORBaseItem> NewItem(int32_t code, bool aPreview) override
    {
        switch (TZORItemType(code)) {
        case TZORItemType::Point:
            return std::make_unique<TStub<TZORBasePoint>>(this, aPreview);
        case TZORItemType::Line:
            return std::make_unique<TStub<TZORBaseLine>>(this, aPreview);
        case TZORItemType::ArrowLine:
            return std::make_unique<TStub<TZORBaseArrowLine>>(this, aPreview);
        case TZORItemType::PolyLine:
            return std::make_unique<TStub<TZORBasePolyLine>>(this, aPreview);
        case TZORItemType::Arc:
            return std::make_unique<TStub<TZORBaseArc>>(this, aPreview);
        case TZORItemType::Dim:
            return std::make_unique<TStub<TZORBaseDim>>(this, TZRDimType::Horizontal, aPreview);
        case TZORItemType::Rectangle:
            return std::make_unique<TStub<TZORBaseRectangle>>(this, aPreview);
        case TZORItemType::Polygon:
            return std::make_unique<TStub<TZORBasePolygon>>(this, aPreview);
        case TZORItemType::Circle:
            return std::make_unique<TStub<TZORBaseCircle>>(this, aPreview);
        case TZORItemType::Ellipse:
            return std::make_unique<TStub<TZORBaseEllipse>>(this, aPreview);
        case TZORItemType::Level:
            return std::make_unique<TStub<TZORBaseLevel>>(this, aPreview);
        case TZORItemType::Bezier:
            return std::make_unique<TStub<TZORBaseBezier>>(this, aPreview);
        case TZORItemType::Sector:
            return std::make_unique<TStub<TZORBaseSector>>(this, aPreview);
        case TZORItemType::Package:
            return std::make_unique<TStub<TZORBasePackage>>(this, aPreview);
        default:
            return nullptr;
        }
    }
};

template <class T> T* Stub(TZORBaseLabel& label, bool aPreview = false)
{
    return static_cast<T*>(label.AddItem(std::make_unique<TStub<T>>(&label, aPreview)));
}

inline void SetPoints(TZORBaseItem& item, std::initializer_list<TZORPto> points)
{
    item.AssignPoints(std::span<const TZORPto>(points.begin(), points.size()));
}

// One element of every kind with every stored field away from its default, made on label (not
// entered into it).
struct TKindSample {
    const char* name;
    std::unique_ptr<TZORBaseItem> item;
};
std::vector<TKindSample> KindSamples(TZORBaseLabel& label);

} // namespace zor::test
