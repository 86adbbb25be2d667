#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>

class TZORBaseLabel;
struct TZORRecord;

// The drawing context as the model sees it: resolution, projection and origin of one paint
// pass. The drawing layer derives its context (painter, paint, pens) from it.
//
// One projection serves every target: device pixels per micrometre = DPI / (scale × 25400),
// for the editor, the preview, export and print alike, so that a label prints where it is
// drawn. The view zoom and the export scale are painter transforms and never enter here.
class QUINDLE_RTL_EXPORT TZORBaseDraw {
public:
    TZORBaseDraw() = default;
    TZORBaseDraw(const TZORBaseDraw&) = default;
    TZORBaseDraw& operator=(const TZORBaseDraw&) = default;
    virtual ~TZORBaseDraw() = default;

    // Sets the resolution, the drawing scale and everything derived from them. A scale of 0
    // or below counts as 1 and a negative resolution as 0, so no projection divides by zero.
    void SetProjection(int32_t dpiX, int32_t dpiY, int32_t scale);

    // A base-unit coordinate or length in device pixels, without the origin.
    double GetDrawX(double base) const { return base * fPixMicroX; }
    double GetDrawY(double base) const { return base * fPixMicroY; }

    // A pen width in millimetres in device pixels along X. Pen widths are paper lengths: they
    // follow the resolution only, neither the drawing scale nor the view zoom.
    double DrawBasePtoX(double widthMM) const;

    // What an element bound to name (by fillType, formatted by format) shows in this pass: the
    // value of the record the sheet painter gives the label being drawn, else of the label's
    // cursor. Drawing reads the label only: it never moves the cursor.
    QString DataValue(
        const TZORBaseLabel* label, const QString& name, const QString& format, uint8_t fillType) const;
    // The encoded picture in field name, the same way; empty when there is none.
    QByteArray DataGraphic(const TZORBaseLabel* label, const QString& name) const;
    // Tells the host what this pass could not draw (a picture that does not decode): through
    // fTell when it is set, else through the label's OnInfoMsg on the drawing thread.
    void Tell(TZORBaseLabel* label, const QString& message) const;

    float fPixUnitX = 0.0f; // device pixels per label unit; not part of the projection
    float fPixUnitY = 0.0f;
    float fZoom = 1.0f; // view zoom or export scale, applied by the painter
    int32_t fOrgX = 0; // origin of the label on the page, printer pixels
    int32_t fOrgY = 0;
    float fOrgFX = 0.0f; // origin of the label, screen and export pixels
    float fOrgFY = 0.0f;
    int32_t fDPIX = 0;
    int32_t fDPIY = 0;
    int32_t fPageWidth = 0; // printable page, printer pixels
    int32_t fPageHeight = 0;
    double fPixMicroX = 0.0; // DPI / (scale × 25400)
    double fPixMicroY = 0.0;
    float fPixMM = 0.0f; // DPI Y / 25.4, for sizes kept in millimetres
    int32_t fScale = 1; // drawing scale of the label (1:fScale)
    TZORDrawState fDrawState = TZORDrawState::Editor;
    bool fEditor = false;
    int16_t fSheetRow = 0; // label being painted on the sheet
    int16_t fSheetCol = 0;
    // The data record of the label being painted, which the sheet painter fills; null: the
    // label's cursor. Not owned.
    const TZORRecord* fRecord = nullptr;
    // Where the messages of the pass go instead of the label: set by a caller that draws one
    // label on several threads, collects what they tell and tells the label from its own.
    std::function<void(const QString& message)> fTell;
};

// The state a library symbol is drawn with; every field has a defined value after Reset.
struct QUINDLE_RTL_EXPORT TZORDrawConf {
    zor::TAlphaColor FColor { 0xFF000000 }; // outlines, lines, arcs
    zor::TAlphaColor BColor { 0xFFFFFFFF }; // fills
    zor::TAlphaColor FontColor { 0xFF000000 };
    bool Fill = false;
    bool RoundCap = false; // round stroke caps instead of butt caps
    bool ScalePen = false; // pen widths grow with the symbol scale
    TZORineType LineType = TZORineType::Solid;
    float PenWidth = 0.0f; // millimetres; 0 or less draws no outline
    QString FontName;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    float FontHeight = 0.0f; // millimetres
    float FontScale = 1.0f; // horizontal text scale
    bool Path = false; // a path is open
    bool PathStart = false; // the next path primitive starts the outline

    void Reset() { *this = TZORDrawConf {}; }
};
