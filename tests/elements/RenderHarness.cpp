#include "RenderHarness.h"

#include "Zor.Item.h"
#include "Zor.Utils.h"
#include "drawing/Zor.Vcl.Types.h"
#include "kit/Pixels.h"

#include <QMarginsF>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace zor::test {

namespace {

constexpr double MMPerInch = 25.4;

int Dots(int dpi, double mm)
{
    return static_cast<int>(std::lround(mm * dpi / MMPerInch));
}

QImage Paper(int dpiX, int dpiY)
{
    QImage image(Dots(dpiX, TScene::PageMM), Dots(dpiY, TScene::PageMM), QImage::Format_ARGB32_Premultiplied);
    image.setDotsPerMeterX(static_cast<int>(std::lround(dpiX / 0.0254)));
    image.setDotsPerMeterY(static_cast<int>(std::lround(dpiY / 0.0254)));
    image.fill(Qt::white);
    return image;
}

void SetupPrint(TZORDraw& D, TZORPrintKit& kit, int dpiX, int dpiY, const QSize& page, int scale)
{
    D.SetupPrint(kit, dpiX, dpiY, page.width(), page.height(), scale, TZORUnits::Millimetre);
    D.fOrgX = Dots(dpiX, TScene::MarginMM);
    D.fOrgY = Dots(dpiY, TScene::MarginMM);
}

} // namespace

const char* Name(TTarget target)
{
    switch (target) {
    case TTarget::Editor:
        return "editor";
    case TTarget::Design:
        return "design view";
    case TTarget::Preview:
        return "preview";
    case TTarget::Export:
        return "export";
    case TTarget::Print:
        return "print";
    }
    return "?";
}

QString TDataLabel::DataValue(const QString&, const QString&, uint8_t) const
{
    return Current >= 0 && Current < Records.size() ? Records[Current] : QString();
}

TScene::TScene(int scale)
    : fScale(scale)
{
    fLabel.Measure().SetDrawScale(scale);
}

int64_t TScene::Base(double mm) const
{
    return zor::Round(mm * 1000.0 * fScale);
}

TZORPto TScene::Pt(double xmm, double ymm) const
{
    return { Base(xmm), Base(ymm) };
}

QImage TScene::Render(TTarget target, int dpi) const
{
    if (target == TTarget::Print)
        return Print(dpi, dpi);
    QImage image = Paper(dpi, dpi);
    QPainter painter(&image);
    TCanvas canvas(painter);
    const ISkCanvas sk = std::make_shared<TSkCanvas>(painter);
    TZORDraw D;
    if (target == TTarget::Editor || target == TTarget::Design)
        D.SetupEditor(sk, dpi, 1.0f, fScale, false, false);
    else if (target == TTarget::Preview)
        D.SetupPreview(&canvas, sk, dpi, 1.0f, fScale);
    else
        D.SetupExport(&canvas, sk, dpi, 1.0f, fScale, false);
    if (target == TTarget::Design)
        D.fDrawState = TZORDrawState::Design;
    D.fOrgFX = D.fOrgFY = static_cast<float>(Dots(dpi, MarginMM));
    for (const auto& item : fItems)
        item->DrawElement(D);
    return image;
}

QImage TScene::Print(int dpiX, int dpiY) const
{
    QImage image = Paper(dpiX, dpiY);
    QPainter painter(&image);
    TZORPrintKit kit(painter);
    TZORDraw D;
    SetupPrint(D, kit, dpiX, dpiY, image.size(), fScale);
    for (const auto& item : fItems)
        item->PrintElement(D);
    return image;
}

void TScene::PrintPdf(
    const QString& fileName, int dpi, int pages, const std::function<void(int)>& beforePage) const
{
    QPdfWriter writer(fileName);
    writer.setResolution(dpi);
    writer.setPageSize(QPageSize(QSizeF(PageMM, PageMM), QPageSize::Millimeter));
    writer.setPageMargins(QMarginsF());
    QPainter painter(&writer);
    if (!painter.isActive())
        throw std::runtime_error("cannot write " + fileName.toStdString());
    TZORPrintKit kit(painter);
    TZORDraw D;
    SetupPrint(D, kit, dpi, dpi, QSize(writer.width(), writer.height()), fScale);
    for (int page = 0; page < pages; ++page) {
        if (page > 0)
            writer.newPage();
        beforePage(page);
        for (const auto& item : fItems)
            item->PrintElement(D);
    }
}

QPoint Pixel(int dpi, double xmm, double ymm)
{
    const QPointF p = PixelF(dpi, xmm, ymm);
    return { static_cast<int>(std::floor(p.x())), static_cast<int>(std::floor(p.y())) };
}

QPointF PixelF(int dpi, double xmm, double ymm)
{
    const double origin = Dots(dpi, TScene::MarginMM);
    return { origin + Pixels(dpi, xmm), origin + Pixels(dpi, ymm) };
}

double InkWithin(const QImage& a, const QImage& b, int radius)
{
    const QImage ma = InkMask(a), mb = InkMask(b.size() == a.size() ? b : b.scaled(a.size()));
    const auto ink = [](const QImage& m, int x, int y) {
        return x >= 0 && y >= 0 && x < m.width() && y < m.height() && m.constScanLine(y)[x] == 0;
    };
    int64_t count = 0, near = 0;
    for (int y = 0; y < ma.height(); ++y)
        for (int x = 0; x < ma.width(); ++x) {
            if (!ink(ma, x, y))
                continue;
            ++count;
            bool found = false;
            for (int dy = -radius; dy <= radius && !found; ++dy)
                for (int dx = -radius; dx <= radius && !found; ++dx)
                    found = ink(mb, x + dx, y + dy);
            near += found ? 1 : 0;
        }
    return count == 0 ? 1.0 : double(near) / double(count);
}

double Pixels(int dpi, double mm)
{
    return mm * dpi / MMPerInch;
}

TScreenAndPaper::TScreenAndPaper(const TScene& scene, int dpi, int radius, const QString& name)
    : Screen(scene.Render(TTarget::Export, dpi))
    , Paper(scene.Render(TTarget::Print, dpi))
    , IoU(InkIoU(Screen, Paper))
    , Near(std::min(InkWithin(Screen, Paper, radius), InkWithin(Paper, Screen, radius)))
    , fName(name)
{
}

TScreenAndPaper::~TScreenAndPaper()
{
    const SaveOnFailure keepScreen(Screen, fName + QStringLiteral(" screen"));
    const SaveOnFailure keepPaper(Paper, fName + QStringLiteral(" paper"));
}

} // namespace zor::test
