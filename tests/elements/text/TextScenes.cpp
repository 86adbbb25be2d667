#include "TextScenes.h"

#include "drawing/Zor.Vcl.Types.h"

#include <QPainter>

#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace zor::test {

namespace {

void Place(TScene& scene, TZORBaseItem& item, const QRectF& mm)
{
    const std::vector<TZORPto> points = { scene.Pt(mm.left(), mm.top()), scene.Pt(mm.right(), mm.bottom()) };
    item.AssignPoints(points);
    // No frame unless a test asks for one.
    item.SetPenWidth(0.0f);
}

} // namespace

TZORText& AddText(TScene& scene, double xmm, double ymm, const QString& text, float heightMM)
{
    TZORText& t = scene.Add<TZORText>();
    Place(scene, t, QRectF(xmm, ymm, 0.0, 0.0));
    t.SetFontName(Sans);
    t.SetFontHeight(heightMM);
    t.SetText(text);
    t.CalcValues(0);
    return t;
}

namespace {

// A paragraph or rich text in the box, in the test font of the given height.
template <class T> T& Boxed(TScene& scene, const QRectF& mm, float heightMM)
{
    T& item = scene.Add<T>();
    Place(scene, item, mm);
    item.SetFontHeight(heightMM);
    return item;
}

} // namespace

TZORParagraph& AddParagraph(TScene& scene, const QRectF& mm, const QString& text, float heightMM)
{
    TZORParagraph& p = Boxed<TZORParagraph>(scene, mm, heightMM);
    p.SetFontName(Sans);
    p.SetText(text);
    p.CalcValues(0);
    return p;
}

TZORRichText& AddRichText(TScene& scene, const QRectF& mm, const QString& markup, float heightMM)
{
    TZORRichText& r = Boxed<TZORRichText>(scene, mm, heightMM);
    r.SetRichFontName(Sans);
    r.SetRichText(markup);
    r.CalcValues(0);
    return r;
}

QImage EditorRender(const TScene& scene, int dpi, const std::function<void(TZORDraw&)>& edit)
{
    QImage image(static_cast<int>(std::lround(TScene::PageMM * dpi / 25.4)),
        static_cast<int>(std::lround(TScene::PageMM * dpi / 25.4)), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter painter(&image);
    const ISkCanvas sk = std::make_shared<TSkCanvas>(painter);
    TZORDraw D;
    D.SetupEditor(sk, dpi, 1.0f, scene.Scale(), false, false);
    D.fOrgFX = D.fOrgFY = static_cast<float>(std::lround(TScene::MarginMM * dpi / 25.4));
    edit(D);
    for (const auto& item : scene.Items())
        item->DrawElement(D);
    return image;
}

TEditing::TEditing(TZORBaseItem& item, int32_t action)
    : Action(action)
{
    item.SetItemState(TZORItemState::Selected);
}

QRectF DeviceRect(int dpi, const QRectF& mm)
{
    return QRectF(PixelF(dpi, mm.left(), mm.top()), PixelF(dpi, mm.right(), mm.bottom()));
}

int CountColour(const QImage& image, const QColor& colour, int tolerance, QRect region)
{
    const QRect r = region.isNull() ? image.rect() : region.intersected(image.rect());
    int count = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            count += std::abs(c.red() - colour.red()) <= tolerance
                    && std::abs(c.green() - colour.green()) <= tolerance
                    && std::abs(c.blue() - colour.blue()) <= tolerance
                ? 1
                : 0;
        }
    return count;
}

QRect ColourBounds(const QImage& image, const QColor& colour, int tolerance)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (std::abs(c.red() - colour.red()) <= tolerance
                && std::abs(c.green() - colour.green()) <= tolerance
                && std::abs(c.blue() - colour.blue()) <= tolerance)
                bounds |= QRect(x, y, 1, 1);
        }
    return bounds;
}

} // namespace zor::test
