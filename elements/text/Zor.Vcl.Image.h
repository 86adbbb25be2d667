#pragma once

#include "Zor.F2d.h"
#include "drawing/Zor.VclExport.h"
#include "elements/Zor.Vcl.Element.h"

#include <QImage>
#include <QString>

namespace zor {

// The name a colour filter shows under: "None", "Grayscale", "Black and White"; empty for a
// value that names no filter.
QUINDLE_VCL_EXPORT QString ImageFilterName(TZORImgFilter filter);

} // namespace zor

// Image (type code 16). The picture is the embedded one when the element holds one, else the
// file, on screen and on paper alike; a bound image prints the label's data picture. A picture
// decodes into as much memory as one covering the label at the finest resolution takes; one
// that does not decode is told to the label's OnInfoMsg, and nothing but the editor's data
// marker is drawn.
class QUINDLE_VCL_EXPORT TZORImage : public TZORBaseImage, public TZORElementIO<TZORImage> {
public:
    using TZORBaseImage::TZORBaseImage;

    void Draw(TZORBaseDraw& D) override;
    void Print(TZORBaseDraw& D) override;

private:
    // Decodes the picture when there is none yet or the model asks for it again, embedding a
    // file's picture when the element wants it embedded.
    void Reload();
    // The decoded picture, and the same turned and filtered as last shown.
    QImage LImage;
    QImage fShown;
    int fShownKey = -1;
    QString fPictureError; // why the picture last decoded did not, already told
};
