#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.TileJob.h"
#include "Zor.Vcl.Background.h"
#include "Zor.Vcl.h"
#include "drawing/Zor.GdiPlus.h"
#include "drawing/Zor.Paint.h"
#include "drawing/Zor.Vcl.Types.h"

#include <QBuffer>
#include <QDir>
#include <QPainter>

#include <exception>

using zor::TSkCanvas;

namespace {

constexpr double MicronsPerInch = 25400.0;

// The picture of the label's background layer when a target in draw state `state` shows it.
TZORLayer* ShownLayer(const TZORLabelVCL& label, TZORDrawState state)
{
    TZORLayer* layer = label.GetLayer(label.GetBackLayer());
    return layer && zor::ShowsBackground(*layer, state) ? layer : nullptr;
}

// The placement for a label origin on the context's device.
zor::TBackPlacement Placement(
    const TZORLabelVCL& label, const TZORLayer& layer, const TZORDraw& D, QPointF origin)
{
    const TZORMeasure& m = label.Measure();
    return zor::BackPlacement(origin, D.fDPIX / MicronsPerInch, D.fDPIY / MicronsPerInch,
        m.GetSize(TZORSizeKind::LabelWidth), m.GetSize(TZORSizeKind::LabelHeight),
        zor::BackMargins(layer, label.GetUnits()), label.GetOrientation());
}

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        throw zor::Error(QStringLiteral("MapImage"));
    return bytes;
}

} // namespace

QImage TZORLabelVCL::BackPicture(TZORLayer& layer) const
{
    const std::lock_guard lock(fBackMutex);
    return LImage.Get(layer, GetImageFolder(), TakeImageChanged());
}

bool TZORLabelVCL::DrawBackImage(const std::shared_ptr<TSkCanvas>& canvas, TZORDraw& D) const
{
    TZORLayer* layer = ShownLayer(*this, D.fDrawState);
    if (!canvas || !layer)
        return false;
    return zor::PaintBackground(
        canvas->Painter(), BackPicture(*layer), Placement(*this, *layer, D, { D.fOrgFX, D.fOrgFY }));
}

bool TZORLabelVCL::PrintBackImage(TZORDraw& D) const
{
    TZORLayer* layer = ShownLayer(*this, TZORDrawState::Printer);
    if (!D.aG || !layer)
        return false;
    return zor::PaintBackground(
        D.aG->Painter(), BackPicture(*layer), Placement(*this, *layer, D, QPointF(D.fOrgX, D.fOrgY)));
}

void TZORLabelVCL::ComposeImage(
    const QString& latitude, const QString& longitude, int32_t zoom, int32_t width, int32_t height)
{
    // Without a folder the map would land wherever the program runs, or in the root folder.
    if (GetImageFolder().trimmed().isEmpty())
        throw zor::Error(QStringLiteral("MapFolder"));
    TZORMapping& map = Mapping();
    map.SetZoom(zoom);
    if (!map.LoadMap(latitude, longitude, width, height))
        return;
    ++fMapJobs;
    // The job takes its own plan: a second request queued behind it plans anew.
    QMetaObject::invokeMethod(
        this,
        [this, tiles = map.Tiles(), w = map.GetWidth(), h = map.GetHeight(), centre = map.GetShowCenter(),
            http = zor::HttpOptions(map), folder = GetImageFolder(),
            name = TZORMapping::FileNameFor(latitude, longitude, map.GetZoom())] {
            QStringList tileErrors;
            QString error;
            try {
                const QImage image = zor::ComposeMap(tiles, w, h, centre, http, tileErrors);
                zor::SaveFileBytes(QDir(folder).filePath(name), Png(image));
            } catch (const std::exception& e) {
                error = QString::fromUtf8(e.what());
            }
            EndMapJob(name, error, tileErrors);
        },
        Qt::QueuedConnection);
}

void TZORLabelVCL::EndMapJob(const QString& fileName, const QString& error, const QStringList& tileErrors)
{
    fComposeErrors = tileErrors;
    if (error.isEmpty()) {
        Mapping().SetFileName(fileName);
        SetImageChanged(true);
    }
    if (--fMapJobs == 0)
        Mapping().SetBusy(false);
    if (error.isEmpty() && OnComposeImage)
        OnComposeImage(*this);
    emit ComposeDone(fileName, error);
}
