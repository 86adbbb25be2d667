#include "Zor.Fonts.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Types.h"

#include <array>
#include <cstring>
#include <string_view>

using zor::DT_CENTER;
using zor::DT_END_ELLIPSIS;
using zor::DT_LEFT;
using zor::DT_NOPREFIX;
using zor::DT_RIGHT;
using zor::DT_WORDBREAK;
using zor::TGraphicClass;

namespace {

constexpr uint32_t TextRectFlags = DT_WORDBREAK | DT_NOPREFIX | DT_END_ELLIPSIS;

uint32_t HorzFlags(TZORHorzAlign hAlign)
{
    switch (hAlign) {
    case TZORHorzAlign::Center:
    case TZORHorzAlign::Justify:
        return DT_CENTER;
    case TZORHorzAlign::Right:
        return DT_RIGHT;
    case TZORHorzAlign::Left:
        break;
    }
    return DT_LEFT;
}

// Box of a text in a font of framework height `gdiHeight`, each length rounded to whole
// units and multiplied by `unit`.
void SizeIn(const QString& text, const QString& fontName, bool bold, bool italic, int gdiHeight, int unit,
    int& width, int& ascent, int& descent)
{
    const zor::TScaledFont face(fontName, bold, italic);
    const double em = face.EmOfHeight(gdiHeight);
    width = static_cast<int>(zor::Round(face.Advance(text) * em)) * unit;
    ascent = static_cast<int>(zor::Round(face.Ascent() * em)) * unit;
    descent = static_cast<int>(zor::Round(face.Descent() * em)) * unit;
}

// Image signatures in the order they are tried; the first that matches decides, so data
// that a later test would take for an icon is not one when an earlier test matched.
constexpr size_t SignatureBytes = 44;

uint16_t Word16(const uint8_t* b, size_t at)
{
    return static_cast<uint16_t>(b[at] | (b[at + 1] << 8));
}

uint32_t Word32(const uint8_t* b, size_t at)
{
    return uint32_t { b[at] } | (uint32_t { b[at + 1] } << 8) | (uint32_t { b[at + 2] } << 16)
        | (uint32_t { b[at + 3] } << 24);
}

bool Starts(const uint8_t* b, std::string_view prefix)
{
    return std::memcmp(b, prefix.data(), prefix.size()) == 0;
}

struct TSignature {
    bool (*Match)(const uint8_t*);
    TGraphicClass Class;
};

constexpr std::array<TSignature, 8> Signatures = { {
    { [](const uint8_t* b) { return Starts(b, "II") && Word16(b, 2) == 42; }, TGraphicClass::None }, // TIFF
    { [](const uint8_t* b) { return Starts(b, "BM"); }, TGraphicClass::Bitmap },
    { [](const uint8_t* b) { return Starts(b, "MM") && Word16(b, 2) == 0x2A00; },
        TGraphicClass::None }, // TIFF
    { [](const uint8_t* b) { return b[0] == 0xFF && b[1] == 0xD8; }, TGraphicClass::JPEG },
    { [](const uint8_t* b) { return Starts(b, "\x89PNG"); }, TGraphicClass::None },
    { [](const uint8_t* b) {
         // A placeable metafile, or an enhanced one (record type 1 with " EMF" at offset 40).
         return Word32(b, 0) == 0x9AC6CDD7 || (Word32(b, 0) == 1 && Word32(b, 40) == 0x464D4520);
     },
        TGraphicClass::Metafile },
    { [](const uint8_t* b) { return Starts(b, "GIF"); }, TGraphicClass::None },
    { [](const uint8_t* b) { return Word16(b, 2) == 1; }, TGraphicClass::Icon }, // icon directory
} };

} // namespace

int zor::DrawTextRect(TCanvas& canvas, const QRect& r, const QString& text, TZORHorzAlign hAlign,
    TZORVertAlign vAlign, bool draw, bool keepHeight)
{
    const uint32_t flags = TextRectFlags | HorzFlags(hAlign);
    QRect box = r;
    canvas.DrawText(text, box, flags | DT_CALCRECT);
    box.setRight(r.right());
    if (box.bottom() >= r.bottom()) {
        if (!keepHeight)
            box.setBottom(r.bottom());
    } else if (vAlign == TZORVertAlign::Center) {
        box.translate(0, (r.bottom() - box.bottom()) / 2);
    } else if (vAlign == TZORVertAlign::Bottom) {
        box.translate(0, r.bottom() - box.bottom());
    }
    if (draw)
        canvas.DrawText(text, box, flags);
    return box.height();
}

int zor::DrawCenteredTextWithEllipsis(TCanvas& canvas, const QString& text, const QRect& r)
{
    QRect box = r;
    return canvas.DrawText(text, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS);
}

void zor::SizeText(const QString& text, const QString& fontName, bool bold, bool italic, int height,
    int& width, int& ascent, int& descent)
{
    // The metric screen measures in 0.01 mm: ten micrometres a unit.
    SizeIn(text, fontName, bold, italic, -(height / 10), 10, width, ascent, descent);
}

void zor::SizeBaseText(const QString& text, const QString& fontName, bool bold, bool italic, int height,
    int& width, int& ascent, int& descent)
{
    SizeIn(text, fontName, bold, italic, -height, 1, width, ascent, descent);
}

bool zor::FindGraphicClass(const void* buffer, int64_t size, TGraphicClass& cls)
{
    cls = TGraphicClass::None;
    if (!buffer || size < static_cast<int64_t>(SignatureBytes))
        return false;
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    for (const TSignature& s : Signatures) {
        if (s.Match(bytes)) {
            cls = s.Class;
            break;
        }
    }
    return cls != TGraphicClass::None;
}

bool zor::FindGraphicClass(QIODevice& stream, TGraphicClass& cls)
{
    // peek leaves the position alone, on files, memory and sequential devices alike.
    const QByteArray head = stream.peek(SignatureBytes);
    return FindGraphicClass(head.constData(), head.size(), cls);
}
