#include "Zor.TextLayout.h"

#include "Zor.Utils.h"

#include <QString>

#include <algorithm>
#include <array>
#include <cmath>

namespace zor {

namespace {

// Only 8-bit characters break: a character above 255 is never a line or word end.
bool IsLineEnd(QChar c)
{
    return c == u'\n' || c == u'\r';
}

bool IsWordEnd(QChar c)
{
    return IsLineEnd(c) || c == u' ';
}

template <class Num> class TWrapper {
public:
    TWrapper(QStringView text, const TWrapRules<Num>& rules)
        : fText(text)
        , fR(rules)
        , fY(rules.Y0)
        , fU(rules.Usable(rules.Y0))
    {
    }

    TWrapResult<Num> Run()
    {
        qsizetype i = 0;
        while (i < fText.size() && !fResult.Overflow && !fResult.Failed) {
            if (fR.BoxH > 0 && fY > fR.BoxH - fR.Lh - fR.MarginY)
                fResult.Overflow = true;
            else if (IsLineEnd(fText[i]))
                i = Break(i);
            else
                i = Word(i);
        }
        if (!fResult.Overflow && !fResult.Failed && fContentStart >= 0) {
            if (fR.BoxH != 0 && fY > fR.BoxH - fR.Lh - fR.MarginY)
                fResult.Overflow = true;
            else
                Finish(fText.size());
        }
        fResult.Y = fY;
        return std::move(fResult);
    }

private:
    qsizetype Break(qsizetype i)
    {
        const QChar first = fText[i++];
        if (i < fText.size() && IsLineEnd(fText[i]) && fText[i] != first)
            ++i;
        if (!CanFinish())
            return i;
        Finish(i);
        fAtStart = true;
        Advance();
        return i;
    }

    qsizetype Word(qsizetype i)
    {
        const qsizetype spaces = i;
        while (i < fText.size() && fText[i] == u' ')
            ++i;
        const qsizetype word = i;
        while (i < fText.size() && !IsWordEnd(fText[i]))
            ++i;
        const qsizetype start = (fAtStart && word > spaces) ? spaces : word;
        if (i == start)
            return i;
        const QStringView piece = fText.sliced(start, i - start);
        if (fContentStart < 0) {
            PlaceOnEmptyLine(start, i);
        } else if (LineWidth() + fR.Width(QString(u' ') + piece.toString()) > fU) {
            if (!CanFinish())
                return i;
            Finish(start);
            if (Advance())
                PlaceOnEmptyLine(start, i);
        } else {
            fContentEnd = i;
        }
        fAtStart = false;
        return i;
    }

    // A piece too wide for an empty line fails the layout, or waits for a wider line below.
    void PlaceOnEmptyLine(qsizetype start, qsizetype end)
    {
        const Num width = fR.Width(fText.sliced(start, end - start));
        while (width > fU) {
            if (!fR.WaitForWidth) {
                fResult.Failed = true;
                return;
            }
            if (!Advance())
                return;
        }
        fContentStart = start;
        fContentEnd = end;
    }

    bool CanFinish()
    {
        if (fR.BoxH != 0 && fY > fR.BoxH - fR.Lh)
            fResult.Overflow = true;
        return !fResult.Overflow;
    }

    // Moves to the next line; false (and overflow) when it no longer fits.
    bool Advance()
    {
        fY += fR.Lh;
        fU = fR.Usable(fY);
        if (fR.NextH != 0 && fY > fR.NextH - fR.Lh - fR.MarginY)
            fResult.Overflow = true;
        return !fResult.Overflow;
    }

    Num LineWidth() const
    {
        return fContentStart < 0 ? Num {}
                                 : fR.Width(fText.sliced(fContentStart, fContentEnd - fContentStart));
    }

    void Finish(qsizetype breakIndex)
    {
        const Num width = LineWidth();
        fResult.Lines.push_back({ static_cast<int32_t>(fLineStart + 1),
            static_cast<int32_t>(breakIndex - fLineStart), width, fR.X(width, fY), fY });
        fLineStart = breakIndex;
        fContentStart = -1;
    }

    QStringView fText;
    const TWrapRules<Num>& fR;
    Num fY;
    Num fU;
    qsizetype fLineStart = 0;
    qsizetype fContentStart = -1; // the measured text of the current line; -1 while it is empty
    qsizetype fContentEnd = -1;
    bool fAtStart = true;
    TWrapResult<Num> fResult;
};

TxtLines ToTxtLines(const std::vector<TWrapLine<int64_t>>& wrapped)
{
    TxtLines lines;
    lines.reserve(wrapped.size());
    for (const auto& l : wrapped)
        lines.push_back({ l.Start, l.Count, l.X, l.Y });
    return lines;
}

int ToInt(int64_t v)
{
    return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// The most lines a flowchart node's text waits through for a wide enough line.
constexpr int64_t MaxFlowLines = 10000;

// Flowchart shapes. r is half the height; a line is in the upper half when its middle is.
struct TFlowGeom {
    double W = 0.0;
    double H = 0.0;
    double Lh = 0.0;
    double E = 0.0; // width of "c": the side inset of slanted and curved outlines
    int64_t Wi = 0;
    int64_t Hi = 0;

    double R() const { return H / 2.0; }
    bool Upper(double top) const { return 2.0 * top + Lh <= H; }
    // Half-chord of the end circles of a terminal at the line's outer edge.
    double C(double top) const
    {
        const double d = Upper(top) ? R() - top : top + Lh - R();
        return d < R() ? std::sqrt(R() * R() - d * d) : 0.0;
    }
    // Half-width k at the middle, falling straight to 0 at the top and bottom.
    double P(double top, double k) const
    {
        const double y = Upper(top) ? top : H - (top + Lh);
        return y * k / R();
    }
    // Half-width k at the middle of an ellipse.
    double Q(double top, double k) const
    {
        const double y = Upper(top) ? top : top + Lh;
        return k * std::cos(std::asin((R() - y) / R()));
    }
};

// A value that is not a number (or beyond the range) counts as 0.
int64_t TruncFinite(double v)
{
    return std::isfinite(v) ? Trunc(v) : 0;
}

enum class TFlowX : uint8_t { Centre, Shifted, Slanted, Barred };

struct TFlowShape {
    int64_t (*Start)(const TFlowGeom&);
    int64_t (*Box)(const TFlowGeom&);
    int64_t (*Usable)(const TFlowGeom&, double top);
    bool Variable;
    TFlowX X;
};

constexpr auto Top0 = [](const TFlowGeom&) -> int64_t { return 0; };
constexpr auto FullBox = [](const TFlowGeom& g) -> int64_t { return g.Hi; };
constexpr auto FullWidth = [](const TFlowGeom& g, double) -> int64_t { return g.Wi; };
constexpr auto FifteenthBox = [](const TFlowGeom& g) -> int64_t { return g.Hi - g.Wi / 15; };

constexpr std::array<TFlowShape, 15> FlowShapes = { {
    { Top0, FullBox, [](const TFlowGeom& g, double top) { return g.Wi - g.Hi + TruncFinite(2.0 * g.C(top)); },
        true, TFlowX::Centre },
    { Top0, FullBox, FullWidth, false, TFlowX::Centre },
    { Top0, FifteenthBox, FullWidth, false, TFlowX::Centre },
    { [](const TFlowGeom& g) { return g.Wi / 15; }, FifteenthBox,
        [](const TFlowGeom& g, double) { return g.Wi - g.Wi / 15; }, false, TFlowX::Shifted },
    { Top0, FullBox,
        [](const TFlowGeom& g, double top) {
            return TruncFinite(2.0 * g.P(top, g.W / 2.0)) - TruncFinite(g.E);
        },
        true, TFlowX::Centre },
    { Top0, FullBox, [](const TFlowGeom& g, double) { return g.Wi - g.Wi / 8 - TruncFinite(g.E); }, false,
        TFlowX::Slanted },
    { [](const TFlowGeom& g) { return g.Hi / 20; }, FullBox, FullWidth, false, TFlowX::Centre },
    { Top0, FullBox, [](const TFlowGeom& g, double) { return g.Wi - 2 * (g.Wi / 15); }, false,
        TFlowX::Centre },
    { [](const TFlowGeom& g) { return TruncFinite(g.H / 8.0); }, FullBox, FullWidth, false, TFlowX::Centre },
    { Top0, FullBox, [](const TFlowGeom& g, double) { return g.Wi - g.Wi / 4; }, false, TFlowX::Centre },
    { Top0, FullBox,
        [](const TFlowGeom& g, double top) {
            return g.Wi / 2 + TruncFinite(2.0 * g.P(top, g.W / 4.0)) - TruncFinite(g.E);
        },
        true, TFlowX::Centre },
    { Top0, FullBox,
        [](const TFlowGeom& g, double top) {
            return TruncFinite(2.0 * g.Q(top, g.W / 2.0)) - TruncFinite(g.E);
        },
        true, TFlowX::Centre },
    { Top0, FullBox,
        [](const TFlowGeom& g, double top) {
            return g.Wi - g.Wi / 4 + TruncFinite(2.0 * g.P(top, g.W / 8.0)) - TruncFinite(g.E);
        },
        true, TFlowX::Centre },
    { Top0, FullBox, [](const TFlowGeom& g, double) { return g.Wi - g.Wi / 8 - 2 * TruncFinite(g.E); }, false,
        TFlowX::Barred },
    { Top0, FullBox, [](const TFlowGeom& g, double) { return g.Wi - g.Wi / 8 - 2 * TruncFinite(g.E); }, false,
        TFlowX::Barred },
} };

constexpr TFlowShape PlainBox = FlowShapes[1];

int64_t FlowX(const TFlowShape& shape, const TFlowGeom& g, int64_t usable, int64_t width, int64_t top)
{
    switch (shape.X) {
    case TFlowX::Shifted:
        return (g.Wi - width) / 2 - g.Wi / 30;
    case TFlowX::Slanted: {
        // The outline leans by W/8 over the height: the line follows it down.
        const double slope = g.H > 0.0 ? -(g.W / 8.0) / g.H : 0.0;
        return Round(top * slope + g.W / 8.0) + (usable - width) / 2;
    }
    case TFlowX::Barred: {
        const double y = top <= g.R() ? top + g.Lh : g.H - top;
        return (g.R() > 0.0 ? Round(y * (g.W / 8.0) / g.R()) : 0) + (usable - width) / 2;
    }
    case TFlowX::Centre:
        break;
    }
    return (g.Wi - width) / 2;
}

// Rules of a plain box: one usable width (W less both margins, or W when they leave nothing),
// lines from y0 down, placed by the horizontal alignment.
TWrapRules<int64_t> BoxRules(int64_t W, int64_t H, int64_t marginX, int64_t marginY, TZORHorzAlign hAlign,
    int64_t lh, int64_t leftX, int64_t justifyX, int64_t y0, const TMeasure& width)
{
    const int64_t usable = W - 2 * marginX >= 0 ? W - 2 * marginX : W;
    TWrapRules<int64_t> rules;
    rules.Width = width;
    rules.Usable = [usable](int64_t) { return usable; };
    rules.X = [=](int64_t lineWidth, int64_t) {
        return ByAlign(hAlign, leftX, (W - lineWidth) / 2, W - lineWidth - marginX, justifyX);
    };
    rules.Lh = lh;
    rules.Y0 = y0;
    rules.MarginY = marginY;
    rules.BoxH = rules.NextH = H;
    return rules;
}

} // namespace

template <class Num> TWrapResult<Num> WrapText(QStringView text, const TWrapRules<Num>& rules)
{
    return TWrapper<Num>(text, rules).Run();
}

template TWrapResult<int64_t> WrapText(QStringView, const TWrapRules<int64_t>&);
template TWrapResult<double> WrapText(QStringView, const TWrapRules<double>&);

int LayoutTxtPts(QStringView text, TxtLines& lines, int W, int H, int marginX, int marginY,
    TZORHorzAlign hAlign, TZORVertAlign vAlign, int64_t lh, int64_t cellHeight, const TMeasure& width)
{
    lines.clear();
    if (text.isEmpty())
        return 0;
    const int64_t h = H, my = marginY;
    const TWrapResult<int64_t> r
        = WrapText<int64_t>(text, BoxRules(W, H, marginX, marginY, hAlign, lh, marginX, marginX, my, width));
    lines = ToTxtLines(r.Lines);
    if (r.Failed)
        return 0;
    const bool centre = vAlign == TZORVertAlign::Center, bottom = vAlign == TZORVertAlign::Bottom;
    if (h > 0 && !lines.empty() && !r.Overflow && (centre || bottom)) {
        const int64_t n = static_cast<int64_t>(lines.size());
        const int64_t textHeight = (cellHeight > 0 ? cellHeight : lh) + (n - 1) * lh;
        const int64_t first = centre ? my + std::max<int64_t>(0, (h - 2 * my - textHeight) / 2)
                                     : std::max(h - my - textHeight, my);
        for (int64_t k = 0; k < n; ++k)
            lines[k].y = first + k * lh;
    }
    return h != 0 ? H : ToInt(r.Y + lh + my);
}

int LayoutPlainTxt(QStringView text, TxtLines& lines, int W, int H, int marginX, int marginY,
    TZORHorzAlign hAlign, TZORVertAlign vAlign, int64_t lh, int64_t leftX, int64_t yShift,
    const TMeasure& width)
{
    lines.clear();
    if (text.isEmpty())
        return 0;
    const int64_t h = H, my = marginY;
    const TWrapResult<int64_t> r
        = WrapText<int64_t>(text, BoxRules(W, H, marginX, marginY, hAlign, lh, leftX, 0, 0, width));
    lines = ToTxtLines(r.Lines);
    if (r.Failed)
        return 0;
    for (TZORTxtInf& line : lines)
        line.y += yShift;
    const int64_t n = static_cast<int64_t>(lines.size());
    if (h > 0 && n > 0 && !r.Overflow) {
        if (vAlign == TZORVertAlign::Center) {
            const int64_t rest = h - r.Y - my;
            if (rest > 0)
                for (TZORTxtInf& line : lines)
                    line.y += Round(double(rest) / double(n));
        } else if (vAlign == TZORVertAlign::Bottom) {
            for (int64_t k = 0; k < n; ++k)
                lines[k].y = h - lh - my - (n - 1 - k) * lh;
        }
    }
    return h != 0 ? H : ToInt(r.Y + lh);
}

int LayoutFlowTxt(QStringView text, TxtLines& lines, int W, int H, int marginY, TZORFlowType flowType,
    int64_t lh, const TMeasure& width)
{
    lines.clear();
    if (text.isEmpty())
        return 0;
    const TFlowGeom g { double(W), double(H), double(lh), double(width(u"c")), W, H };
    const TFlowShape& shape = Ord(flowType) < FlowShapes.size() ? FlowShapes[Ord(flowType)] : PlainBox;
    // A shape without height, or lines without height, has no chord to wait for: the whole
    // width serves, and a word too wide fails as in a plain box. So does a node that holds more
    // lines than any text needs (only a damaged file has one): waiting there for a wide enough
    // line could walk millions of them.
    const bool variable = shape.Variable && H > 0 && lh > 0 && H / lh <= MaxFlowLines;
    const int64_t boxH = shape.Box(g);
    TWrapRules<int64_t> rules;
    rules.Width = width;
    rules.Usable = [&](int64_t top) -> int64_t {
        if (variable)
            return shape.Usable(g, double(top));
        return shape.Variable ? g.Wi : shape.Usable(g, 0.0);
    };
    rules.X
        = [&](int64_t lineWidth, int64_t top) { return FlowX(shape, g, rules.Usable(top), lineWidth, top); };
    rules.Lh = lh;
    rules.Y0 = shape.Start(g);
    rules.MarginY = marginY;
    rules.BoxH = H != 0 ? boxH : 0; // without a height, a lowered box has no limit either
    rules.NextH = H;
    rules.WaitForWidth = variable;
    TWrapResult<int64_t> r = WrapText<int64_t>(text, rules);
    if (r.Failed) {
        lines = ToTxtLines(r.Lines);
        return 0;
    }
    // Lower down a curved outline may be narrower: the block moves only where every line still
    // fits.
    const auto lower = [&](int64_t shift) {
        const bool fits = std::all_of(r.Lines.begin(), r.Lines.end(),
            [&](const auto& l) { return l.Width <= rules.Usable(l.Y + shift); });
        if (fits)
            for (auto& l : r.Lines)
                l.Y += shift;
    };
    if (H > 0 && !r.Lines.empty() && !r.Overflow) {
        const int64_t n = static_cast<int64_t>(r.Lines.size());
        if (n == 1) {
            auto& only = r.Lines.front();
            only.Y = boxH / 2 - lh / 2;
            only.X = rules.X(only.Width, only.Y);
        } else if (flowType == TZORFlowType::Terminal) {
            // The stadium's lines wait for room below its rounded top: the block moves down to
            // stand in the middle.
            const int64_t top = r.Lines.front().Y, bottom = r.Lines.back().Y + lh;
            lower(std::max<int64_t>(0, Round(double(boxH - bottom - top) / 2.0)));
        } else if (flowType != TZORFlowType::Decision) {
            const int64_t rest = boxH - n * lh - 2 * int64_t { marginY };
            lower(rest > 0 ? Round(rest / 2.0) : 0);
        }
    }
    lines = ToTxtLines(r.Lines);
    return H != 0 ? ToInt(boxH) : ToInt(r.Y + lh);
}

} // namespace zor
