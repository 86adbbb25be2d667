#include "Zor.Vcl.Text.Caret.h"

#include "Zor.Text.h"
#include "Zor.Vcl.Text.Frame.h"
#include "Zor.Vcl.Text.h"

#include <QRectF>
#include <QString>

#include <algorithm>
#include <functional>
#include <limits>
#include <span>

namespace zor {

namespace {

// The character edge of a run of text nearest to `u` (measured from the run's start): the
// first character whose right half u does not reach has the caret before it.
int32_t NearestEdge(const QString& text, double u, const std::function<int32_t(const QString&)>& width)
{
    int32_t before = 0;
    for (int32_t i = 1; i <= int32_t(text.size()); ++i) {
        const int32_t at = width(text.left(i));
        if (u <= at - (at - before) / 2.0)
            return i - 1;
        before = at;
    }
    return int32_t(text.size());
}

using TSegs = std::span<const TRichTextDrawSegment>;

// The line holding segment k: its first segment and the one after its last.
std::pair<size_t, size_t> LineOf(TSegs segs, size_t k)
{
    size_t first = k, end = k + 1;
    while (first > 0 && segs[first - 1].Y == segs[k].Y)
        --first;
    while (end < segs.size() && segs[end].Y == segs[k].Y)
        ++end;
    return { first, end };
}

int64_t LineHeight(TSegs segs, size_t first, size_t end)
{
    int64_t h = 0;
    for (size_t i = first; i < end; ++i)
        h = std::max<int64_t>(h, segs[i].Height);
    return h;
}

// The first segment of the line nearest to v; the upper of two equally near lines wins.
size_t NearestLine(const TZORBaseRichText& item, TSegs segs, double v)
{
    size_t best = 0;
    double bestDistance = std::numeric_limits<double>::max();
    for (size_t first = 0; first < segs.size();) {
        const size_t end = LineOf(segs, first).second;
        const double top = double(segs[first].Y);
        const double bottom = end < segs.size()
            ? double(segs[end].Y)
            : top + double(LineHeight(segs, first, end)) * std::max(1.0, double(item.GetScaleX()));
        if (v >= top && v < bottom)
            return first;
        const double distance = v >= top ? v - bottom : top - v;
        if (distance < bestDistance) {
            bestDistance = distance;
            best = first;
        }
        first = end;
    }
    return best;
}

const TRichTextFormat& FormatOf(const TZORBaseRichText& item, const TRichTextDrawSegment& s)
{
    static const TRichTextFormat none;
    const std::vector<TRichTextFormat>& formats = item.GetFormats();
    if (formats.empty())
        return none;
    return formats[s.FormatIndex >= 0 && size_t(s.FormatIndex) < formats.size() ? size_t(s.FormatIndex) : 0];
}

int32_t EndOf(const TRichTextDrawSegment& s)
{
    return s.PlainStart + int32_t(s.Text.size());
}

// The plain position at u along the line that starts with segment `first`.
int32_t HitOnLine(const TZORBaseRichText& item, TSegs segs, size_t first, double u)
{
    const size_t end = LineOf(segs, first).second;
    if (u < double(segs[first].X))
        return segs[first].PlainStart;
    for (size_t k = first; k < end; ++k) {
        const TRichTextDrawSegment& s = segs[k];
        if (u < double(s.X) + s.Width) {
            const TRichTextFormat& f = FormatOf(item, s);
            return s.PlainStart
                + NearestEdge(s.Text, u - double(s.X), [&](const QString& t) { return MetricWidth(t, f); });
        }
    }
    return EndOf(segs[end - 1]);
}

// Whether pos stands after a final line break: on the empty line below the last segment.
bool AfterFinalBreak(const TZORBaseRichText& item, TSegs segs, int32_t pos)
{
    return pos >= int32_t(item.GetPlainText().size()) && segs.back().LineEnd
        && item.GetPlainText().endsWith(u'\n');
}

} // namespace

bool IsWordSeparator(QChar c)
{
    static constexpr QStringView Separators = u"\n\r !\"'(),-.:;?[]{}";
    return Separators.contains(c);
}

int32_t FindPrevWordBoundary(QStringView s, int32_t pos)
{
    pos = std::clamp(pos, 0, int32_t(s.size()));
    while (pos > 0 && IsWordSeparator(s[pos - 1]))
        --pos;
    while (pos > 0 && !IsWordSeparator(s[pos - 1]))
        --pos;
    return pos;
}

int32_t FindNextWordBoundary(QStringView s, int32_t pos)
{
    const auto n = int32_t(s.size());
    pos = std::clamp(pos, 0, n);
    while (pos < n && !IsWordSeparator(s[pos]))
        ++pos;
    while (pos < n && IsWordSeparator(s[pos]))
        ++pos;
    return pos;
}

namespace {

// A page point in the turned frame of a box element's padded box (paper micrometres).
template <class Box> QPointF BoxLocal(const Box& item, const TZORPto& p)
{
    const double scale = item.DrawScale();
    const TZORPto& p1 = item.GetPoint(1);
    const TZORPto& p2 = item.GetPoint(2);
    const QRectF box(QPointF(p1.X / scale, p1.Y / scale), QPointF(p2.X / scale, p2.Y / scale));
    const TZORTurn turn = TurnBox(box, item.GetBasePadX(), item.GetBasePadY(), item.GetAngle());
    return turn.Unmap(QPointF(p.X / scale, p.Y / scale));
}

} // namespace

QPointF RichTextLocal(const TZORBaseRichText& item, const TZORPto& p)
{
    return BoxLocal(item, p);
}

int32_t RichTextHitLocal(const TZORBaseRichText& item, const QPointF& local)
{
    const TSegs segs = item.GetSegments();
    if (segs.empty())
        return 0;
    return HitOnLine(item, segs, NearestLine(item, segs, local.y()), local.x());
}

int32_t RichTextHit(const TZORBaseRichText& item, const TZORPto& p)
{
    return RichTextHitLocal(item, RichTextLocal(item, p));
}

int32_t RichTextLineMove(const TZORBaseRichText& item, int32_t pos, bool up)
{
    const TSegs segs = item.GetSegments();
    if (segs.empty())
        return pos;
    if (AfterFinalBreak(item, segs, pos))
        return up ? HitOnLine(item, segs, LineOf(segs, segs.size() - 1).first, 0.0) : pos;
    int32_t k = 0, off = 0;
    if (!item.GetSegmentAtPlainPos(pos, k, off, true) || k < 0)
        return pos;
    const TRichTextDrawSegment& s = segs[size_t(k)];
    const TRichTextFormat& f = FormatOf(item, s);
    const double u = double(s.X) + (off > 0 ? MetricWidth(s.Text.left(off), f) : 0);
    const auto [first, end] = LineOf(segs, size_t(k));
    if (up && first == 0)
        return pos;
    if (!up && end >= segs.size())
        return pos;
    const size_t target = up ? LineOf(segs, first - 1).first : end;
    return HitOnLine(item, segs, target, u);
}

std::pair<int32_t, int32_t> RichTextLineRange(const TZORBaseRichText& item, int32_t pos)
{
    const TSegs segs = item.GetSegments();
    if (segs.empty() || AfterFinalBreak(item, segs, pos))
        return { pos, pos };
    int32_t k = 0, off = 0;
    if (!item.GetSegmentAtPlainPos(pos, k, off, true) || k < 0)
        return { pos, pos };
    const auto [first, end] = LineOf(segs, size_t(k));
    return { segs[first].PlainStart, EndOf(segs[end - 1]) };
}

int32_t TextHit(TZORText& item, const TZORPto& p)
{
    const QString& text = item.GetText();
    if (text.isEmpty())
        return 0;
    const double scale = item.DrawScale();
    const TZORRect b = item.TextBox(item.Measure(text).Width);
    const QRectF box(QPointF(b.Left / scale, b.Top / scale), QPointF(b.Right / scale, b.Bottom / scale));
    const TZORTurn turn = TurnBox(box, item.GetBasePadX(), item.GetBasePadY(), item.GetAngle());
    const double u = turn.Unmap(QPointF(p.X / scale, p.Y / scale)).x();
    if (u <= 0.0)
        return 0;
    return NearestEdge(text, u, [&](const QString& t) { return item.Measure(t).Width; });
}

int32_t ParaHit(TZORParagraph& item, const TZORPto& p)
{
    const QString& text = item.GetText();
    const TxtLines& lines = item.GetLines();
    if (text.isEmpty() || lines.empty())
        return 0;
    const QPointF local = BoxLocal(item, p);
    // The last line starting above the point: the first line above the text, the last below it.
    auto line = lines.begin();
    for (auto l = lines.begin(); l != lines.end(); ++l)
        if (double(l->y) <= local.y())
            line = l;
    const int32_t start = std::clamp(line->start - 1, 0, int32_t(text.size()));
    QString shown = text.mid(start, line->count);
    while (!shown.isEmpty() && (shown.back() == u'\n' || shown.back() == u'\r'))
        shown.chop(1);
    const double u = local.x() - double(line->x);
    if (u <= 0.0)
        return start;
    // The widths in the font the lines were laid out with.
    FontMetricsOf(item.GetFontName(), item.GetBaseFontHeight(), item.GetBold(), item.GetItalic());
    return start + NearestEdge(shown, u, [](const QString& t) { return TZORCalc::CalcTxtSize(t).width(); });
}

} // namespace zor
