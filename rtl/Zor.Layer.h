#pragma once

#include "Zor.Fields.h"
#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QByteArray>
#include <QString>

// Layer options (a 16-bit set): what the layer's elements take part in, and its background.
enum TZORayerOp : uint16_t {
    loView = 0x0001,
    loPrint = 0x0002,
    loSelect = 0x0004,
    loExport = 0x0008,
    loBackImage = 0x0020, // the background is an image file or image bytes
    loBackMap = 0x0040, // the background is a composed map
    loPrintBack = 0x0080, // the background also prints and shows in the preview
    loExportBack = 0x0100, // the background is also exported
    loDefault = loView | loPrint | loSelect | loExport,
};

// A layer of a label: defaults for new elements (colours, pen, font), what its elements take part
// in, and an optional background image.
class QUINDLE_RTL_EXPORT TZORLayer {
public:
    explicit TZORLayer(const QString& name = QString());

    static const TZORFields<TZORLayer>& Fields();

    const QString& GetName() const { return fName; }
    void SetName(const QString& n) { fName = n; }
    const QString& GetFontName() const { return fFontName; }
    void SetFontName(const QString& n) { fFontName = n; }
    float GetFontHeight() const { return fFontHeight; }
    void SetFontHeight(float h) { fFontHeight = h > 0 ? h : fFontHeight; }
    zor::TAlphaColor GetFontColor() const { return fFontColor; }
    void SetFontColor(zor::TAlphaColor c) { fFontColor = c; }
    bool GetBold() const { return fBold; }
    void SetBold(bool b) { fBold = b; }
    bool GetItalic() const { return fItalic; }
    void SetItalic(bool i) { fItalic = i; }
    bool GetUnderline() const { return fUnderline; }
    void SetUnderline(bool u) { fUnderline = u; }
    float GetPenWidth() const { return fPenWidth; }
    void SetPenWidth(float w) { fPenWidth = w < 0 ? 0 : w; }
    zor::TAlphaColor GetColor() const { return fColor; }
    void SetColor(zor::TAlphaColor c) { fColor = c; }
    zor::TAlphaColor GetBackColor() const { return fBackColor; }
    void SetBackColor(zor::TAlphaColor c) { fBackColor = c; }
    // The fill of closed shapes drawn on the layer, and their line type.
    zor::TAlphaColor GetFillColor() const { return fFillColor; }
    void SetFillColor(zor::TAlphaColor c) { fFillColor = c; }
    TZORineType GetLineType() const { return fLineType; }
    void SetLineType(TZORineType t) { fLineType = t; }
    uint16_t GetOptions() const { return fOptions; }
    void SetOptions(uint16_t o) { fOptions = o; }
    bool HasOption(TZORayerOp o) const { return (fOptions & o) == o; }

    const QString& GetFileImg() const { return fFileImg; }
    void SetFileImg(const QString& f) { fFileImg = f; }
    // The background file inside folder; empty without a name, or for a name that is absolute
    // or climbs out of the folder.
    QString BackImagePath(const QString& folder) const;
    const QByteArray& GetImgBytes() const { return fImgBytes; }
    void SetImgBytes(const QByteArray& b) { fImgBytes = b; }
    bool GetKeepBytes() const { return fKeepBytes; }
    void SetKeepBytes(bool k) { fKeepBytes = k; }
    float GetImgMarLeft() const { return fImgMarLeft; }
    float GetImgMarTop() const { return fImgMarTop; }
    float GetImgMarRight() const { return fImgMarRight; }
    float GetImgMarBottom() const { return fImgMarBottom; }
    void SetImgMarLeft(float v) { fImgMarLeft = v; }
    void SetImgMarTop(float v) { fImgMarTop = v; }
    void SetImgMarRight(float v) { fImgMarRight = v; }
    void SetImgMarBottom(float v) { fImgMarBottom = v; }

private:
    QString fName;
    QString fFontName = QStringLiteral("Arial");
    float fFontHeight = 3.5f; // millimetres
    zor::TAlphaColor fFontColor = zor::claBlack;
    bool fBold = false;
    bool fItalic = false;
    bool fUnderline = false;
    float fPenWidth = 0.2f; // millimetres
    zor::TAlphaColor fColor = zor::claBlack;
    zor::TAlphaColor fBackColor = zor::claWhite;
    zor::TAlphaColor fFillColor = zor::claWhite;
    TZORineType fLineType = TZORineType::Solid;
    uint16_t fOptions = loDefault;
    QString fFileImg;
    QByteArray fImgBytes;
    bool fKeepBytes = false;
    float fImgMarLeft = 0, fImgMarTop = 0, fImgMarRight = 0, fImgMarBottom = 0; // label units
};
