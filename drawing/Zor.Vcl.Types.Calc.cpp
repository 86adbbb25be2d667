#include "Zor.Fonts.h"
#include "Zor.TextLayout.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Types.h"

#include <algorithm>
#include <cstdlib>
#include <optional>

using zor::TxtLines;

namespace {

// A typeface at an em size, standing for a GDI font selected into a device context.
struct TSizedFont {
    zor::TScaledFont Face;
    double Em = 0.0;

    int64_t Width(QStringView text) const { return zor::Round(Face.Advance(text) * Em); }
};

// The state of the metrics service, one per thread: each thread measures as if it had the
// service to itself, and a worker never sees a font that another thread selected.
struct TCalcState {
    QString fName;
    int fHe = 0;
    int fLh = 0;
    bool fBld = false;
    bool fItl = false;
    int fAsc = 0;
    int fDes = 0;
    int fUnd = 0;
    double fRat = 0.0;
    std::optional<TSizedFont> fCurrent; // the font later measurements use
    std::optional<TSizedFont> fBitmap; // the font of the bitmap canvas
    int fBitmapHeight = 0; // its framework height: negative for a character height
    int fMade = 0;

    bool Hit(const QString& name, int height, bool bold, bool italic) const
    {
        return height == fHe && bold == fBld && italic == fItl && name == fName;
    }
};

thread_local TCalcState State;

// Selects the font of `height` cell height and caches its metrics.
void Select(const QString& name, int height, bool bold, bool italic)
{
    ++State.fMade;
    const int h = std::max(height, 0);
    zor::TScaledFont face(name, bold, italic);
    // The same typeface asked for by character height gives the ratio's denominator.
    const int64_t charCell = zor::Round(face.Ascent() * h) + zor::Round(face.Descent() * h);
    const double em = face.Cell() > 0.0 ? h / face.Cell() : 0.0;
    const int ascent = face.Cell() > 0.0 ? static_cast<int>(zor::Round(h * face.Ascent() / face.Cell())) : 0;
    State.fLh = height;
    State.fAsc = ascent;
    State.fDes = h - ascent;
    State.fUnd = 0; // fonts are made without underline
    State.fRat = charCell >= 1 ? double(State.fAsc + State.fDes) / double(charCell) : 1.0;
    State.fName = name;
    State.fHe = height;
    State.fBld = bold;
    State.fItl = italic;
    State.fCurrent = TSizedFont { std::move(face), em };
}

int64_t CurrentWidth(QStringView text)
{
    return State.fCurrent ? State.fCurrent->Width(text) : 0;
}

int64_t BitmapWidth(QStringView text)
{
    return State.fBitmap ? State.fBitmap->Width(text) * 10 : 0;
}

} // namespace

void TZORCalc::FontSettings(const QString& fontName, int height, bool bold, bool italic, int& ascent,
    int& descent, int& underline, int& outHeight, double& ratio)
{
    if (!State.Hit(fontName, height, bold, italic))
        Select(fontName, height, bold, italic);
    ascent = State.fAsc;
    descent = State.fDes;
    underline = State.fUnd;
    outHeight = State.fLh;
    ratio = State.fRat;
}

void TZORCalc::FontSettings(const QString& text, const QString& fontName, int height, bool bold, bool italic,
    int& ascent, int& descent, int& width, double& ratio)
{
    int underline = 0, outHeight = 0;
    FontSettings(fontName, height, bold, italic, ascent, descent, underline, outHeight, ratio);
    width = CalcTxtSize(text).width();
}

QSize TZORCalc::CalcTxtSize(const QString& text)
{
    const int64_t w = CurrentWidth(text);
    return QSize(static_cast<int>(std::clamp<int64_t>(w, INT32_MIN, INT32_MAX)),
        State.fCurrent ? State.fAsc + State.fDes : 0);
}

void TZORCalc::BitmapFontSettings(
    const QString& fontName, int height, bool bold, bool italic, int& ascent, int& descent, int& underline)
{
    State.fBitmapHeight = -(height / 10);
    State.fBitmap
        = TSizedFont { zor::TScaledFont(fontName, bold, italic), std::abs(double(State.fBitmapHeight)) };
    ascent = static_cast<int>(zor::Round(State.fBitmap->Face.Ascent() * State.fBitmap->Em)) * 10;
    descent = static_cast<int>(zor::Round(State.fBitmap->Face.Descent() * State.fBitmap->Em)) * 10;
    underline = 0;
}

void TZORCalc::Reset()
{
    State.fName.clear();
    State.fHe = 0;
    State.fBld = false;
    State.fItl = false;
    State.fAsc = 0;
    State.fDes = 0;
    State.fUnd = 0;
}

int TZORCalc::FontsMade()
{
    return State.fMade;
}

int TZORCalc::CalcTxtPts(const QString& text, TZORDraw*, TxtLines& lines, int W, int H, int marginX,
    int marginY, TZORHorzAlign hAlign, TZORVertAlign vAlign, float spacing)
{
    return zor::LayoutTxtPts(text, lines, W, H, marginX, marginY, hAlign, vAlign,
        zor::Round(State.fLh * double(spacing)), State.fAsc + State.fDes, CurrentWidth);
}

int TZORCalc::CalcFlowTxtPoints(const QString& text, TZORDraw*, TxtLines& lines, int W, int H, int,
    int marginY, TZORFlowType flowType, float spacing)
{
    return zor::LayoutFlowTxt(
        text, lines, W, H, marginY, flowType, zor::Round(State.fLh * double(spacing)), CurrentWidth);
}

int TZORCalc::CalcBitmapTxtPts(const QString& text, TZORDraw*, TxtLines& lines, int W, int H, int marginX,
    int marginY, TZORHorzAlign hAlign, TZORVertAlign vAlign)
{
    const int64_t lh = std::abs(int64_t { State.fBitmapHeight }) * 10;
    return zor::LayoutPlainTxt(
        text, lines, W, H, marginX, marginY, hAlign, vAlign, lh, marginX, marginY, BitmapWidth);
}
