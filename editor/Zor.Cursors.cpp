#include "Zor.Cursors.h"

#include "Zor.Act.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <array>
#include <optional>
#include <sstream>

using namespace zor;

namespace {

constexpr int CursorSize = 32;
// A pointing cursor: the cross at the top left is the hot spot, the tool's glyph sits in the
// 16 x 16 box at the bottom right.
constexpr int CrossCentre = 7;
constexpr int GlyphOrigin = 15;

// How a cursor is drawn: a cross with the glyph beside it, or the glyph alone at twice the size
// with the hot spot in its middle (the move and edit cursors).
enum class TLook : uint8_t { Cross, Centred };

// A glyph on a 16 x 16 box: a path ("M x y" move, "L x y" line, "Z" close, "R x y w h"
// rectangle, "E cx cy rx ry" ellipse, "A x y w h start sweep" arc) or a short text.
struct TCursorShape {
    int Id;
    const char* Name;
    TLook Look;
    const char* Path;
    const char* Text;
};

constexpr const char* DoubleArrowX = "M 1 8 L 15 8 M 1 8 L 4 5 M 1 8 L 4 11 M 15 8 L 12 5 M 15 8 L 12 11";
constexpr const char* DoubleArrowY = "M 8 1 L 8 15 M 8 1 L 5 4 M 8 1 L 11 4 M 8 15 L 5 12 M 8 15 L 11 12";

constexpr std::array<TCursorShape, 44> Shapes = { {
    { 5, "QN_MOVELEFT", TLook::Centred, DoubleArrowX, nullptr },
    { 6, "QN_MOVETOP", TLook::Centred, DoubleArrowY, nullptr },
    { 7, "QN_MOVELINE", TLook::Cross, "M 2 13 L 13 2 M 13 2 L 9 2 M 13 2 L 13 6 E 2 13 1 1", nullptr },
    { 8, "QN_TEXT", TLook::Cross, nullptr, "T" },
    { 9, "QN_RECT", TLook::Cross, "R 2 4 12 8", nullptr },
    { 10, "QN_SYMB", TLook::Cross, "M 8 1 L 10 6 L 15 6 L 11 9 L 13 15 L 8 11 L 3 15 L 5 9 L 1 6 L 6 6 Z", nullptr },
    { 11, "QN_LINE", TLook::Cross, "M 2 14 L 14 2", nullptr },
    { 12, "QN_PARA", TLook::Cross, nullptr, "\xC2\xB6" },
    { 13, "QN_BARC", TLook::Cross,
        "M 2 3 L 2 13 M 4 3 L 4 13 M 5 3 L 5 13 M 8 3 L 8 13 M 10 3 L 10 13 M 13 3 L 13 13 M 14 3 L 14 13", nullptr },
    { 14, "QN_ADDT", TLook::Cross, nullptr, "+T" },
    { 15, "QN_IMAG", TLook::Cross, "R 1 3 14 10 M 2 12 L 6 7 L 9 10 L 11 8 L 14 12", nullptr },
    { 16, "QN_TABL", TLook::Cross, "R 1 2 14 12 M 1 6 L 15 6 M 1 10 L 15 10 M 6 2 L 6 14 M 11 2 L 11 14", nullptr },
    { 17, "QN_ASKT", TLook::Cross, nullptr, "?" },
    { 18, "QN_POLT", TLook::Cross, nullptr, "Tt" },
    { 19, "QN_REFLINE", TLook::Cross, "M 1 8 L 4 8 M 6 8 L 9 8 M 11 8 L 15 8 M 8 1 L 8 4 M 8 12 L 8 15", nullptr },
    { 22, "QN_LAYOUT", TLook::Cross, "R 1 1 14 14 R 3 3 4 4 R 9 3 4 4 R 3 9 4 4 R 9 9 4 4", nullptr },
    { 23, "QN_PDF", TLook::Cross, nullptr, "PDF" },
    { 24, "QN_DATMA", TLook::Cross, "M 2 2 L 2 14 L 14 14 R 4 4 2 2 R 8 4 2 2 R 6 8 2 2 R 10 6 2 2 R 12 10 2 2",
        nullptr },
    { 25, "QN_QRCODE", TLook::Cross, nullptr, "QR" },
    { 26, "QN_CIRCLE", TLook::Cross, "E 8 8 6 6", nullptr },
    { 27, "QN_DATETIME", TLook::Cross, "E 8 8 6 6 M 8 8 L 8 4 M 8 8 L 11 8", nullptr },
    { 28, "QN_HEDIT", TLook::Centred, "M 8 2 L 8 14 M 5 2 L 11 2 M 5 14 L 11 14", nullptr },
    { 29, "QN_VEDIT", TLook::Centred, "M 2 8 L 14 8 M 2 5 L 2 11 M 14 5 L 14 11", nullptr },
    { 30, "QN_TRIANGLE", TLook::Cross, "M 8 2 L 14 14 L 2 14 Z", nullptr },
    { 31, "QN_POLYLINE", TLook::Cross, "M 1 13 L 5 4 L 10 11 L 15 3", nullptr },
    { 32, "QN_CIRCLEPR", TLook::Cross, "E 8 8 6 6 M 8 8 L 14 8 E 8 8 1 1", nullptr },
    { 33, "QN_TRIM", TLook::Cross, "E 4 12 2 2 E 12 12 2 2 M 5 10 L 12 2 M 11 10 L 4 2", nullptr },
    { 34, "QN_CIRCLE2P", TLook::Cross, "E 8 8 6 6 M 2 8 L 14 8", nullptr },
    { 35, "QN_CIRCLE3P", TLook::Cross, "E 8 8 6 6 E 8 2 1 1 E 3 11 1 1 E 13 11 1 1", nullptr },
    { 36, "QN_ELLIPSE", TLook::Cross, "E 8 8 7 4", nullptr },
    { 37, "QN_MOVE", TLook::Centred,
        "M 1 8 L 15 8 M 1 8 L 4 5 M 1 8 L 4 11 M 15 8 L 12 5 M 15 8 L 12 11 "
        "M 8 1 L 8 15 M 8 1 L 5 4 M 8 1 L 11 4 M 8 15 L 5 12 M 8 15 L 11 12",
        nullptr },
    { 38, "QN_MOVERADIO", TLook::Centred, "E 8 8 6 6 M 8 8 L 15 8 M 15 8 L 12 6 M 15 8 L 12 10", nullptr },
    { 39, "QN_FLOW", TLook::Cross, "M 8 1 L 15 8 L 8 15 L 1 8 Z", nullptr },
    { 40, "QN_LINK", TLook::Cross, "R 1 1 5 5 R 10 10 5 5 M 6 3 L 12 3 L 12 10", nullptr },
    { 41, "QN_RANK", TLook::Cross, "R 1 10 3 5 R 6 6 3 9 R 11 2 3 13", nullptr },
    { 42, "QN_ARC3P", TLook::Cross, "A 2 4 12 16 0 180 E 2 12 1 1 E 8 4 1 1 E 14 12 1 1", nullptr },
    { 43, "QN_POINT", TLook::Cross, "E 8 8 2 2 M 8 2 L 8 5 M 8 11 L 8 14 M 2 8 L 5 8 M 11 8 L 14 8", nullptr },
    { 44, "QN_NUTRI", TLook::Cross, nullptr, "N" },
    { 45, "QN_PACK", TLook::Cross, "R 1 5 10 10 M 1 5 L 5 1 L 15 1 L 11 5 M 15 1 L 15 11 L 11 15", nullptr },
    { 46, "QN_DIM", TLook::Cross,
        "M 1 2 L 1 14 M 15 2 L 15 14 M 1 8 L 15 8 M 1 8 L 4 6 M 1 8 L 4 10 M 15 8 L 12 6 M 15 8 L 12 10", nullptr },
    { 47, "QN_DIST", TLook::Cross, "M 2 14 L 14 2 M 2 14 L 2 10 M 2 14 L 6 14 M 14 2 L 10 2 M 14 2 L 14 6", nullptr },
    { 48, "QN_EQUI", TLook::Cross, "M 1 5 L 15 5 M 1 11 L 15 11 M 4 5 L 4 11 M 12 5 L 12 11", nullptr },
    { 49, "QN_SIDE", TLook::Cross, "M 1 12 L 15 12 M 8 12 L 8 3 M 8 3 L 6 6 M 8 3 L 10 6", nullptr },
    { 50, "QN_DIMRAD", TLook::Cross, nullptr, "R" },
} };

const TCursorShape* ShapeOf(int id)
{
    for (const TCursorShape& s : Shapes)
        if (s.Id == id)
            return &s;
    return nullptr;
}

// The path of a glyph description; unknown commands end it.
QPainterPath ParsePath(const char* description)
{
    QPainterPath path;
    std::istringstream in(description);
    char command = 0;
    while (in >> command) {
        double a = 0, b = 0, c = 0, d = 0, e = 0, f = 0;
        switch (command) {
        case 'M':
            in >> a >> b;
            path.moveTo(a, b);
            break;
        case 'L':
            in >> a >> b;
            path.lineTo(a, b);
            break;
        case 'Z':
            path.closeSubpath();
            break;
        case 'R':
            in >> a >> b >> c >> d;
            path.addRect(a, b, c, d);
            break;
        case 'E':
            in >> a >> b >> c >> d;
            path.addEllipse(QPointF(a, b), c, d);
            break;
        case 'A':
            in >> a >> b >> c >> d >> e >> f;
            path.arcMoveTo(a, b, c, d, e);
            path.arcTo(a, b, c, d, e, f);
            break;
        default:
            return path;
        }
    }
    return path;
}

// Draws black on a white halo, so that the cursor shows on any paper.
void Stroke(QPainter& p, const QPainterPath& path, double scale)
{
    p.strokePath(path, QPen(Qt::white, 3.0 / scale, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.strokePath(path, QPen(Qt::black, 1.0 / scale, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
}

QPainterPath TextPath(const char* text)
{
    const QString s = QString::fromUtf8(text);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(s.size() >= 3 ? 7 : s.size() == 2 ? 10 : 13);
    font.setBold(true);
    QPainterPath path;
    path.addText(0, 0, font, s);
    const QRectF box = path.boundingRect();
    path.translate(8 - box.center().x(), 8 - box.center().y());
    return path;
}

QCursor Draw(const TCursorShape& shape)
{
    QPixmap pixmap(CursorSize, CursorSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    const QPainterPath glyph = shape.Path ? ParsePath(shape.Path) : TextPath(shape.Text);
    if (shape.Look == TLook::Centred) {
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(2, 2);
        // Lines on whole glyph units fall on pixel centres.
        p.translate(0.25, 0.25);
        Stroke(p, glyph, 2);
        return QCursor(pixmap, CursorSize / 2, CursorSize / 2);
    }
    QPainterPath cross;
    cross.moveTo(CrossCentre + 0.5, 0.5);
    cross.lineTo(CrossCentre + 0.5, 2 * CrossCentre + 0.5);
    cross.moveTo(0.5, CrossCentre + 0.5);
    cross.lineTo(2 * CrossCentre + 0.5, CrossCentre + 0.5);
    Stroke(p, cross, 1);
    p.setRenderHint(QPainter::Antialiasing);
    p.translate(GlyphOrigin + 0.5, GlyphOrigin + 0.5);
    Stroke(p, glyph, 1);
    // A letter is solid.
    if (!shape.Path)
        p.fillPath(glyph, Qt::black);
    return QCursor(pixmap, CrossCentre, CrossCentre);
}

} // namespace

namespace zor {

const QCursor& ToolCursor(int id)
{
    // Drawn once for the process on first use; they stay for its lifetime.
    static const std::array<std::optional<QCursor>, LastToolCursor + 1> cursors = [] {
        std::array<std::optional<QCursor>, LastToolCursor + 1> all;
        for (const TCursorShape& s : Shapes)
            all[size_t(s.Id)] = Draw(s);
        return all;
    }();
    static const QCursor arrow(Qt::ArrowCursor);
    if (id < 0 || id > LastToolCursor || !cursors[size_t(id)])
        return arrow;
    return *cursors[size_t(id)];
}

const char* ToolCursorName(int id)
{
    const TCursorShape* s = ShapeOf(id);
    return s ? s->Name : "";
}

TZORToolStep ToolStep(int32_t action, int32_t state)
{
    using E = TZOREdition;
    using F = TZORToolEffect;
    const auto ini = [](int cursor) { return TZORToolStep { cursor, E::Start, F::None }; };
    const auto only = [](int cursor) { return TZORToolStep { cursor, E::Keep, F::None }; };
    const TZORToolStep keep;
    switch (action) {
    case acSelect:
        return { 0, E::Stop, F::None };
    case acPoint:
        return ini(43);
    case acLine:
    case acArrowLine:
        return ini(11);
    case acRectangle:
        return ini(9);
    case acPolyLine:
    case acPolygon:
    case acBezier:
        return ini(31);
    case acArc3P:
        return ini(42);
    case acCircle:
    case acLevel:
    case acSector:
        return ini(32);
    case acCircle2P:
    case acSector2P:
        return ini(34);
    case acCircle3P:
    case acSector3P:
        return ini(35);
    case acEllipse:
        return ini(36);
    case acText:
        if (state == stIdle)
            return { 8, E::Start, F::ClearText };
        return state == stTyping ? TZORToolStep { 0, E::Keep, F::FillText } : keep;
    case acTextEdit:
        return state == stTyping ? TZORToolStep { 0, E::Stop, F::StopText } : keep;
    case acParagraph:
    case acRichText:
        return ini(12);
    case acTrim:
        return state == stRef1 || state == stRef2 ? only(19) : state == stTrimTarget ? only(33) : keep;
    case acRefLine:
        return only(19);
    case acExtend:
        return state == stRef1 || state == stRef2 ? only(19) : state == stExtendTarget ? only(33) : keep;
    case acOffset:
        return state == stRef1 ? only(48) : state == stSide ? only(49) : keep;
    case acBarcode:
        return ini(13);
    case acPDF417:
        return ini(23);
    case acDataMatrix:
    case acQRCode:
        return ini(24);
    case acImage:
        return ini(15);
    case acFlow:
        return ini(39);
    case acLink:
        return { 7, E::Keep,
            state == stFirst ? F::ResetPointsKeepLink : state == stSecond ? F::ResetPoints : F::None };
    case acPolyLink:
        return { 7, E::Keep, state == stFirst ? F::ResetPointsKeepLink : state == stNext ? F::ResetPoints : F::None };
    case acTable:
        return ini(16);
    case acPolyText:
        return ini(18);
    case acRank:
        return ini(41);
    case acNutriScore:
        return ini(44);
    case acSymbol:
        return ini(10);
    case acDim:
    case acDimAligned:
        if (state == stFirst)
            return ini(46);
        return state == stSecond ? only(46) : state == stSide ? only(49) : keep;
    case acDimRadius:
    case acDimRadiusOut:
    case acDimDiameter:
    case acDimDiameterOut:
        return ini(50);
    case acPackage:
        return ini(45);
    default:
        return keep;
    }
}

TZORToolStep ActionStep(int32_t action, int32_t state)
{
    using E = TZOREdition;
    switch (action) {
    case acSelect:
        return { KeepCursor, E::Stop, TZORToolEffect::None };
    case acText:
        return { KeepCursor, E::StartText, TZORToolEffect::None };
    case acOffset:
        if (state == stDistance)
            return { 47, E::Start, TZORToolEffect::None };
        return {};
    default:
        break;
    }
    const bool starts = (action >= acLine && action <= acEllipse) || action == acParagraph || action == acRichText
        || action == acImage || action == acFlow || action == acTable || (action >= acRank && action <= acNutriScore)
        || action == acLevel || (action >= acDim && action <= acDimAligned);
    return starts ? TZORToolStep { KeepCursor, E::Start, TZORToolEffect::None } : TZORToolStep {};
}

} // namespace zor
