#pragma once

#include "Zor.F2d.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"

#include <QImage>
#include <QString>

#include <cstdint>
#include <mutex>
#include <optional>

namespace zor {

// The name a colour filter shows under: "None", "Grayscale", "Black and White"; empty for a
// value that names no filter.
QUINDLE_VCL_EXPORT QString ImageFilterName(TZORImgFilter filter);

} // namespace zor

// Image (type code 16). The picture is the embedded one when the element holds one, else the
// file, on screen and on paper alike; a bound image prints the label's data picture. A picture
// decodes into as much memory as one covering the label at the finest resolution takes; one
// that does not decode is told to the label's OnInfoMsg (through the draw context), and nothing
// but the editor's data marker is drawn.
class QUINDLE_VCL_EXPORT TZORImage : public TZORBaseImage, public TZORElementIO<TZORImage> {
public:
    using TZORBaseImage::TZORBaseImage;

    // An image that embeds its file's picture and holds no bytes yet takes the picture's PNG
    // encoding here, on the label's thread: drawing never changes the element.
    void CalcValues(int16_t aFlag) override;
    // The screen decodes the picture once (again when the model asks for it) and keeps it, with
    // its turned and filtered form, for every thread that draws the element.
    void Draw(TZORBaseDraw& D) const override;
    void Print(TZORBaseDraw& D) const override;

private:
    // The screen's picture: decoded, and turned and filtered as last shown.
    struct TScreenPicture {
        QImage Decoded;
        QImage Shown;
    };
    // The screen's picture as the model's source now gives it; what does not decode is told
    // through D once, not at every repaint.
    TScreenPicture ScreenPicture(const TZORBaseDraw& D) const;

    mutable std::mutex fMutex; // guards the members below
    mutable QImage LImage;
    mutable QImage fShown;
    mutable int fShownKey = -1;
    mutable std::optional<uint32_t> fDecodedVersion; // the model's picture version LImage holds
    mutable QString fPictureError; // why the picture last decoded did not, already told
};
