#pragma once

#include "Zor.Layer.h"
#include "Zor.Types.h"
#include "drawing/Zor.VclExport.h"

#include <QByteArray>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QString>

#include <cstdint>

class QPainter;

// Layer backgrounds: which targets show them, where they go, and the decoded picture that the
// label keeps between drawings. One placement serves the screen, export and print alike.
namespace zor {

// Whether a target in draw state `state` shows the layer's background: the layer must be
// visible and have a background image or map; the preview and the printer also need
// loPrintBack, export loExportBack.
QUINDLE_VCL_EXPORT bool ShowsBackground(const TZORLayer& layer, TZORDrawState state);

// A layer's background margins in paper micrometres, in the order left, top, right, bottom of
// the picture itself.
struct QUINDLE_VCL_EXPORT TBackMargins {
    double Left = 0.0;
    double Top = 0.0;
    double Right = 0.0;
    double Bottom = 0.0;
};
QUINDLE_VCL_EXPORT TBackMargins BackMargins(const TZORLayer& layer, TZORUnits units);

// Where a background goes on the device: the box it fills (unturned, device pixels) and the
// quarter turns (0 to 3, counter-clockwise on the page) of the picture inside it.
struct QUINDLE_VCL_EXPORT TBackPlacement {
    QRectF Box;
    int Turns = 0;
};

// The placement in a label of width x height paper micrometres whose top-left corner is at
// origin, with kx, ky device pixels per paper micrometre, for a label orientation (0 to 3):
// the picture turns with the label, so its own margins turn with it (orientation 1 puts the
// top margin on the left).
QUINDLE_VCL_EXPORT TBackPlacement BackPlacement(QPointF origin, double kx, double ky, int64_t width,
    int64_t height, const TBackMargins& margins, uint8_t orientation);

// Stretches picture into the placement, turned; a null picture or an empty box draws nothing
// (false). The painter's state is left as it was.
QUINDLE_VCL_EXPORT bool PaintBackground(
    QPainter& painter, const QImage& picture, const TBackPlacement& placement);

// The decoded background of a label: a picture is decoded once and reused while its source (the
// layer's bytes, or its file) is the same and no reload is asked for. Bytes or a file that do not
// decode, or a missing file, give no picture.
class QUINDLE_VCL_EXPORT TBackImageCache {
public:
    // The picture of the layer's background; the layer's bytes win over its file. With the
    // layer's keep-bytes switch, a picture read from a file is kept in the layer as PNG bytes.
    const QImage& Get(TZORLayer& layer, const QString& folder, bool reload);

private:
    QImage fImage;
    QByteArray fBytes; // the source bytes, held so that their buffer is not reused
    QString fPath;
    bool fValid = false;
};

} // namespace zor
