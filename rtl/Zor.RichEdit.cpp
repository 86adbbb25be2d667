#include "Zor.RichEdit.h"

#include "Zor.Text.h"

#include <algorithm>
#include <tuple>
#include <vector>

namespace zor {

namespace {

// The tags that share one stack in the parser: each style its own, the font, the size, the two
// colours, and the three alignments together.
bool SameKind(QLatin1StringView tag, QLatin1StringView kind)
{
    const auto align = [](QLatin1StringView n) {
        return n == QLatin1StringView("L") || n == QLatin1StringView("C") || n == QLatin1StringView("R");
    };
    return tag == kind || (align(tag) && align(kind));
}

// An open tag of the kind being edited: the tag as written, its name, and a key that compares
// the values the parser takes alike ("<fn: Arial >" and "<FN:arial>" name one font).
struct TOpen {
    QString Text;
    QLatin1StringView Name;
    QString Key;

    bool operator==(const TOpen& o) const { return Text == o.Text && Key == o.Key; }
};

QString KeyOf(QLatin1StringView name, QStringView value)
{
    const QString n = QString(name);
    if (name == QLatin1StringView("FN"))
        return n + u':' + value.trimmed().toString().toCaseFolded();
    if (name == QLatin1StringView("FS"))
        return n + u':' + QString::number(value.trimmed().toInt());
    if (!value.isEmpty())
        return n + u':' + value.trimmed().toString().toUpper();
    return n;
}

TOpen Opening(QLatin1StringView name, const QString& value)
{
    const QString text = value.isEmpty() ? u'<' + QString(name) + u'>' : u'<' + QString(name) + u':' + value + u'>';
    return { text, name, KeyOf(name, value) };
}

QString Closing(const TOpen& o)
{
    return QStringLiteral("</") + QString(o.Name) + u'>';
}

using TStack = std::vector<TOpen>;

// The markup walked once for one kind of tag: the plain characters' places in the markup, the
// stack of that kind before every character and at two places, and where its tags stand.
class TKindScan {
public:
    TKindScan(const QString& rich, QLatin1StringView kind, int32_t p, int32_t q)
        : fParse(ParseRichMarkup(rich, TRichTextFormat {}, 0))
    {
        for (qsizetype i = 0; i <= rich.size();) {
            if (i == p)
                AtP = fStack;
            if (i == q)
                AtQ = fStack;
            if (i == rich.size())
                break;
            const std::optional<TRichTag> t = RichTagAt(rich, i);
            if (t && SameKind(t->Name, kind)) {
                if (i >= p && i < q)
                    Removed.push_back({ int32_t(i), int32_t(t->End) });
                if (!t->Closing)
                    fStack.push_back(Opening(t->Name, t->Value.toString()));
                else if (!fStack.empty())
                    fStack.pop_back();
            } else if (fNext < fParse.RichStart.size() && fParse.RichStart[fNext] == i) {
                Tops.push_back(fStack.empty() ? std::nullopt : std::optional<TOpen>(fStack.back()));
                ++fNext;
            }
            i = t ? t->End : i + 1;
        }
    }

    int32_t Size() const { return int32_t(fParse.Plain.size()); }
    const QString& Plain() const { return fParse.Plain; }
    int32_t Start(int32_t c) const { return fParse.RichStart[size_t(c)]; }
    int32_t End(int32_t c) const { return fParse.RichEnd[size_t(c)]; }

    TStack AtP, AtQ;
    std::vector<std::pair<int32_t, int32_t>> Removed; // tags of the kind in [p, q)
    std::vector<std::optional<TOpen>> Tops; // per plain character: the kind's innermost open tag

private:
    TRichTextParse fParse;
    TStack fStack;
    size_t fNext = 0;
};

// The plain stretch [a, b) clamped into a text of n characters.
std::pair<int32_t, int32_t> Clamp(int32_t a, int32_t b, int32_t n)
{
    a = std::clamp(a, 0, n);
    b = std::clamp(b, 0, n);
    return { std::min(a, b), std::max(a, b) };
}

// The markup positions around the characters [a, b): p after the character before (or the
// start), q before the character after (or the end).
std::pair<int32_t, int32_t> Around(const QString& rich, const TRichTextParse& parse, int32_t a, int32_t b)
{
    const int32_t n = int32_t(parse.Plain.size());
    const int32_t p = a > 0 ? parse.RichEnd[size_t(a - 1)] : 0;
    const int32_t q = b < n ? parse.RichStart[size_t(b)] : int32_t(rich.size());
    return { p, q };
}

struct TInsert {
    int32_t At;
    int Order;
    QString Text;
};

// The tags that take the stack from `from` to `to`: closings of what only `from` holds, then
// openings of what only `to` holds.
std::pair<QString, QString> Transition(const TStack& from, const TStack& to)
{
    size_t k = 0;
    while (k < from.size() && k < to.size() && from[k] == to[k])
        ++k;
    QString close, open;
    for (size_t i = from.size(); i > k; --i)
        close += Closing(from[i - 1]);
    for (size_t i = k; i < to.size(); ++i)
        open += to[i].Text;
    return { close, open };
}

// Rewrites the kind's tags around [a, b) so that the selected characters stand under `inside`:
// the kind's tags from p to q go, the stack is taken from what it was at p to `inside` just
// before the first character and from `inside` back to what it was at q just after the last.
QString Rewrite(const QString& rich, const TKindScan& scan, int32_t a, int32_t b, int32_t p, int32_t q,
    const TStack& inside)
{
    const auto [close0, open0] = Transition(scan.AtP, inside);
    const auto [close1, open1] = Transition(inside, scan.AtQ);
    std::vector<TInsert> inserts = { { p, 0, close0 }, { scan.Start(a), 1, open0 }, { scan.End(b - 1), 2, close1 },
        { q, 3, open1 } };
    std::stable_sort(inserts.begin(), inserts.end(),
        [](const TInsert& x, const TInsert& y) { return x.At != y.At ? x.At < y.At : x.Order < y.Order; });
    QString out;
    out.reserve(rich.size() + 32);
    size_t ins = 0, rem = 0;
    for (int32_t i = 0; i <= int32_t(rich.size()); ++i) {
        while (ins < inserts.size() && inserts[ins].At == i)
            out += inserts[ins++].Text;
        if (i == int32_t(rich.size()))
            break;
        if (rem < scan.Removed.size() && scan.Removed[rem].first == i) {
            i = scan.Removed[rem++].second - 1;
            continue;
        }
        out += rich[i];
    }
    return RemoveEmptyRichPairs(out);
}

// Whether every character of [a, b) stands under an open tag of the kind whose key is `key`
// (any open tag for an empty key).
bool AllUnder(const TKindScan& scan, int32_t a, int32_t b, const QString& key)
{
    for (int32_t c = a; c < b; ++c) {
        const std::optional<TOpen>& top = scan.Tops[size_t(c)];
        if (!top || (!key.isEmpty() && top->Key != key))
            return false;
    }
    return true;
}

// The stack at p with a value laid over it (none when the innermost tag has it already), or,
// for `off`, with the trailing tags of that key taken away.
TStack Inside(TStack s, const TOpen& tag, bool off)
{
    if (off) {
        while (!s.empty() && s.back().Key == tag.Key)
            s.pop_back();
    } else if (s.empty() || s.back().Key != tag.Key) {
        s.push_back(tag);
    }
    return s;
}

std::optional<QString> Apply(const QString& rich, int32_t a, int32_t b, const TOpen& tag, bool toggle)
{
    const TRichTextParse parse = ParseRichMarkup(rich, TRichTextFormat {}, 0);
    std::tie(a, b) = Clamp(a, b, int32_t(parse.Plain.size()));
    if (a == b)
        return std::nullopt;
    const auto [p, q] = Around(rich, parse, a, b);
    const TKindScan scan(rich, tag.Name, p, q);
    const bool has = AllUnder(scan, a, b, tag.Key);
    if (has && !toggle)
        return std::nullopt;
    const QString out = Rewrite(rich, scan, a, b, p, q, Inside(scan.AtP, tag, has));
    if (out == rich)
        return std::nullopt;
    return out;
}

bool IsStyle(QLatin1StringView name)
{
    return name == QLatin1StringView("B") || name == QLatin1StringView("I") || name == QLatin1StringView("U")
        || name == QLatin1StringView("S");
}

bool IsValued(QLatin1StringView name)
{
    return name == QLatin1StringView("FN") || name == QLatin1StringView("FS") || name == QLatin1StringView("FC")
        || name == QLatin1StringView("BC");
}

} // namespace

std::optional<QString> ToggleRichStyle(const QString& rich, int32_t a, int32_t b, QLatin1StringView name)
{
    if (!IsStyle(name))
        return std::nullopt;
    return Apply(rich, a, b, Opening(name, {}), true);
}

bool RichStyleActive(const QString& rich, int32_t a, int32_t b, QLatin1StringView name)
{
    const TRichTextParse parse = ParseRichMarkup(rich, TRichTextFormat {}, 0);
    const int32_t n = int32_t(parse.Plain.size());
    std::tie(a, b) = Clamp(a, b, n);
    if (a == b) {
        if (n == 0)
            return false;
        a = a > 0 ? a - 1 : 0;
        b = a + 1;
    }
    const TKindScan scan(rich, name, 0, 0);
    return AllUnder(scan, a, b, {});
}

std::optional<QString> SetRichValue(
    const QString& rich, int32_t a, int32_t b, QLatin1StringView name, const QString& value)
{
    if (!IsValued(name) || value.trimmed().isEmpty() || value.contains(u'<') || value.contains(u'>'))
        return std::nullopt;
    return Apply(rich, a, b, Opening(name, value), false);
}

std::optional<QString> SetRichAlignment(const QString& rich, int32_t pos, uint8_t align)
{
    static constexpr QLatin1StringView Names[] = { QLatin1StringView("L"), QLatin1StringView("C"),
        QLatin1StringView("R") };
    if (align > 2)
        return std::nullopt;
    const TRichTextParse parse = ParseRichMarkup(rich, TRichTextFormat {}, 0);
    const QString& plain = parse.Plain;
    pos = std::clamp(pos, 0, int32_t(plain.size()));
    const int32_t a = pos > 0 ? int32_t(plain.lastIndexOf(u'\n', pos - 1)) + 1 : 0;
    int32_t b = int32_t(plain.indexOf(u'\n', pos));
    if (b < 0)
        b = int32_t(plain.size());
    return Apply(rich, a, b, Opening(Names[align], {}), false);
}

QString DeleteRichText(const QString& rich, int32_t a, int32_t b)
{
    const TRichTextParse parse = ParseRichMarkup(rich, TRichTextFormat {}, 0);
    std::tie(a, b) = Clamp(a, b, int32_t(parse.Plain.size()));
    if (a == b)
        return rich;
    QString out = rich.left(parse.RichStart[size_t(a)]);
    for (int32_t c = a; c < b; ++c) {
        // The tags between two removed characters stay.
        const int32_t next = c + 1 < int32_t(parse.Plain.size()) ? parse.RichStart[size_t(c + 1)] : int32_t(rich.size());
        out += QStringView(rich).sliced(parse.RichEnd[size_t(c)], next - parse.RichEnd[size_t(c)]);
    }
    out += QStringView(rich).sliced(b < int32_t(parse.Plain.size()) ? parse.RichStart[size_t(b)] : rich.size());
    return RemoveEmptyRichPairs(out);
}

QString RemoveEmptyRichPairs(const QString& rich)
{
    QString text = rich;
    for (bool changed = true; changed;) {
        changed = false;
        std::optional<TRichTag> prev;
        qsizetype prevAt = 0;
        for (qsizetype i = 0; i < text.size();) {
            const std::optional<TRichTag> t = RichTagAt(text, i);
            if (t && prev && !prev->Closing && t->Closing && SameKind(prev->Name, t->Name)
                && prev->Name != QLatin1StringView("BR") && prev->Name != QLatin1StringView("LT")) {
                text.remove(prevAt, t->End - prevAt);
                changed = true;
                break;
            }
            prev = t;
            prevAt = i;
            i = t ? t->End : i + 1;
        }
    }
    return text;
}

bool ValidRichFontName(const QString& name)
{
    return !name.trimmed().isEmpty() && !name.contains(u'<') && !name.contains(u'>');
}

QString RichColorValue(TAlphaColor color)
{
    return QStringLiteral("%1").arg(uint32_t(color) & 0xFFFFFFu, 6, 16, QLatin1Char('0')).toUpper();
}

QString RichSizeValue(int32_t millimetres)
{
    return QString::number(int64_t(millimetres) * 1000);
}

} // namespace zor
