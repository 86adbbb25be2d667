#include "KindStubs.h"

#include "Zor.Stream.h"
#include "common/ItemSamples.h"

namespace zor::test {

namespace {

template <class T> void SetEnds(T& item)
{
    item.SetFromType(TZORTermType::Circle);
    item.SetToType(TZORTermType::Diamond);
    item.SetFromColor(TAlphaColor { 0xFFAA0000 });
    item.SetToColor(TAlphaColor { 0xFF00AA00 });
    item.SetSizeFrom(4.5f);
    item.SetSizeTo(5.5f);
}

template <class T, class... Args> std::unique_ptr<T> Make(TZORBaseLabel& label, Args... args)
{
    return std::make_unique<TStub<T>>(&label, args..., false);
}

std::unique_ptr<TZORBaseItem> Point(TZORBaseLabel& label)
{
    auto p = Make<TZORBasePoint>(label);
    SetCommon(*p);
    SetPoints(*p, { { 1000, 2000 } });
    return p;
}

std::unique_ptr<TZORBaseItem> Line(TZORBaseLabel& label)
{
    auto l = Make<TZORBaseLine>(label);
    SetCommon(*l);
    SetPoints(*l, { { 0, 0 }, { 50000, 10000 } });
    return l;
}

std::unique_ptr<TZORBaseItem> ArrowLine(TZORBaseLabel& label)
{
    auto a = Make<TZORBaseArrowLine>(label);
    SetCommon(*a);
    SetEnds(*a);
    SetFont(*a);
    a->SetText(QStringLiteral("Ø 12 — ✓"));
    a->SetTextPos(TZORTextPos::InLine);
    SetPoints(*a, { { -3000, 4000 }, { 60000, 4000 } });
    return a;
}

std::unique_ptr<TZORBaseItem> PolyLine(TZORBaseLabel& label)
{
    auto p = Make<TZORBasePolyLine>(label, 3);
    SetCommon(*p);
    SetEnds(*p);
    p->SetBase(1, 0, 0);
    p->SetBase(2, 10000, 5000);
    p->SetBase(3, 20000, -5000);
    p->Update();
    return p;
}

std::unique_ptr<TZORBaseItem> Arc(TZORBaseLabel& label)
{
    auto a = Make<TZORBaseArc>(label, int64_t(30000), int64_t(20000), int64_t(15000), 0.5f, 1.25f);
    SetCommon(*a);
    SetEnds(*a);
    return a;
}

std::unique_ptr<TZORBaseItem> Dim(TZORBaseLabel& label)
{
    auto d = Make<TZORBaseDim>(label, TZRDimType::Vertical);
    SetCommon(*d);
    SetPoints(*d,
        { { 0, 0 }, { 0, 30000 }, { -1000, 0 }, { -1000, 30000 }, { -8000, 0 }, { -8000, 30000 },
            { -10000, 0 }, { -10000, 30000 } });
    d->SetText(QStringLiteral("30.00"));
    d->SetDimExt(true);
    d->SetDimStyle(2);
    return d;
}

std::unique_ptr<TZORBaseItem> Rectangle(TZORBaseLabel& label)
{
    auto r = Make<TZORBaseRectangle>(label);
    SetFigure(*r);
    SetPoints(*r, { { 1000, 1000 }, { 41000, 21000 } });
    r->SetBaseRadio(1500);
    return r;
}

std::unique_ptr<TZORBaseItem> Polygon(TZORBaseLabel& label)
{
    auto p = Make<TZORBasePolygon>(label, 3);
    SetFigure(*p);
    SetPoints(*p, { { 0, 0 }, { 20000, 0 }, { 10000, 15000 } });
    return p;
}

std::unique_ptr<TZORBaseItem> Circle(TZORBaseLabel& label)
{
    auto c = Make<TZORBaseCircle>(label);
    SetFigure(*c);
    SetPoints(*c, { { 5000, 5000 }, { 25000, 25000 } });
    return c;
}

std::unique_ptr<TZORBaseItem> Ellipse(TZORBaseLabel& label)
{
    auto e = Make<TZORBaseEllipse>(label);
    SetFigure(*e);
    SetPoints(*e, { { 5000, 5000 }, { 45000, 25000 } });
    return e;
}

std::unique_ptr<TZORBaseItem> Level(TZORBaseLabel& label)
{
    auto l = Make<TZORBaseLevel>(label);
    SetFigure(*l);
    SetFont(*l);
    SetPoints(*l, { { 0, 0 }, { 30000, 30000 } });
    l->SetLevelType(TZORLevelType::RingRight);
    l->SetText(QStringLiteral("75 %"));
    l->SetAngle(TZORAngle::Angle90);
    l->SetAngleGap(45.0f);
    l->SetValue(75.5f);
    l->SetMaxValue(150.0f);
    l->SetLevelColor(TAlphaColor { 0xFF00FF00 });
    l->SetStrikeout(true);
    return l;
}

std::unique_ptr<TZORBaseItem> Bezier(TZORBaseLabel& label)
{
    auto b = Make<TZORBaseBezier>(label, 4);
    SetFigure(*b);
    SetEnds(*b);
    SetPoints(*b, { { 0, 0 }, { 5000, -8000 }, { 15000, 8000 }, { 20000, 0 } });
    return b;
}

std::unique_ptr<TZORBaseItem> Sector(TZORBaseLabel& label)
{
    auto s = Make<TZORBaseSector>(label);
    SetFigure(*s);
    SetPoints(*s, { { 0, 0 }, { 20000, 20000 } });
    s->SetAngleStart(30.0f);
    s->SetAngleGap(200.0f);
    return s;
}

std::unique_ptr<TZORBaseItem> Package(TZORBaseLabel& label)
{
    auto p = Make<TZORBasePackage>(label);
    SetFigure(*p);
    SetPoints(*p, { { 0, 0 }, { 80000, 50000 } });
    p->SetBaseRadio(2000);
    p->SetSizeWidth(120.0f);
    p->SetSizeLength(80.5f);
    p->SetSizeHeight(40.0f);
    p->SetStyle(TZORPackageStyle::FilledSizes);
    p->SetNameWidth(QStringLiteral("Breite"));
    p->SetNameLength(QStringLiteral("Länge"));
    p->SetNameHeight(QStringLiteral("Höhe"));
    p->SetBoxColor(TAlphaColor { 0xFFC0A080 });
    p->SetFontColor(TAlphaColor { 0xFF202020 });
    p->SetFontHeightSizes(4.0f);
    p->SetFontHeightBox(5.0f);
    p->AddDrill({ 10.0, 20.0, 6.5 });
    p->AddDrill({ 100.0, 60.0, 3.0 });
    p->AddSlot({ 20.0, 10.0, 60.0, 10.0, 4.0 });
    return p;
}

} // namespace

std::vector<TKindSample> KindSamples(TZORBaseLabel& label)
{
    std::vector<TKindSample> samples;
    samples.push_back({ "point", Point(label) });
    samples.push_back({ "line", Line(label) });
    samples.push_back({ "arrow line", ArrowLine(label) });
    samples.push_back({ "polyline", PolyLine(label) });
    samples.push_back({ "arc", Arc(label) });
    samples.push_back({ "dimension", Dim(label) });
    samples.push_back({ "rectangle", Rectangle(label) });
    samples.push_back({ "polygon", Polygon(label) });
    samples.push_back({ "circle", Circle(label) });
    samples.push_back({ "ellipse", Ellipse(label) });
    samples.push_back({ "level", Level(label) });
    samples.push_back({ "bezier", Bezier(label) });
    samples.push_back({ "sector", Sector(label) });
    samples.push_back({ "package", Package(label) });
    return samples;
}

} // namespace zor::test
