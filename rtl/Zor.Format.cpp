#include "Zor.Format.h"

#include <QList>
#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr int SignificantDigits = 15;
constexpr int MaxExponentDigits = 4;

// A value without its sign as decimal digits: 0.Digits × 10^Exponent, no leading or trailing
// zero in Digits, which is empty for zero.
struct TDecimal {
    std::string Digits;
    int Exponent = 0;

    bool IsZero() const { return Digits.empty(); }
    // The digit k places after the first significant one; zeros all round.
    char At(int k) const { return k >= 0 && k < int(Digits.size()) ? Digits[size_t(k)] : '0'; }
};

void TrimZeros(TDecimal& d)
{
    while (!d.Digits.empty() && d.Digits.back() == '0')
        d.Digits.pop_back();
    if (d.Digits.empty())
        d.Exponent = 0;
}

TDecimal ToDecimal(double value)
{
    char buffer[64];
    const auto end = std::to_chars(
        buffer, buffer + sizeof buffer, std::abs(value), std::chars_format::scientific, SignificantDigits - 1)
                         .ptr;
    const std::string text(buffer, end);
    const size_t e = text.find('e');
    TDecimal d;
    for (size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            d.Digits += text[i];
    d.Exponent = std::stoi(text.substr(e + 1)) + 1;
    TrimZeros(d);
    return d;
}

// Keeps `count` significant digits, rounding halves away from zero; fewer than none is zero.
void KeepDigits(TDecimal& d, int count)
{
    if (int(d.Digits.size()) <= count)
        return;
    if (count < 0) {
        d = {};
        return;
    }
    const bool up = d.Digits[size_t(count)] >= '5';
    d.Digits.resize(size_t(count));
    if (up) {
        int i = count - 1;
        for (; i >= 0 && d.Digits[size_t(i)] == '9'; --i)
            d.Digits[size_t(i)] = '0';
        if (i >= 0) {
            ++d.Digits[size_t(i)];
        } else {
            d.Digits.insert(0, 1, '1');
            ++d.Exponent;
        }
    }
    TrimZeros(d);
}

struct TToken {
    enum class TKind : uint8_t { Text, IntDigit, FracDigit, Point, Exponent };
    TKind Kind = TKind::Text;
    QString Text;
    bool Plus = false; // exponent: its sign always
    int Digits = 0; // exponent: least digits
};

// One section of a pattern, split into what it writes.
struct TSection {
    std::vector<TToken> Tokens;
    bool Thousands = false;
    bool Scientific = false;
    int IntSlots = 0;
    int MinInt = 0;
    int FracSlots = 0;
    int MinFrac = 0;
};

QList<QString> SplitSections(const QString& pattern)
{
    QList<QString> sections(1);
    QChar quote;
    for (const QChar c : pattern) {
        if (quote.isNull() && c == QLatin1Char(';')) {
            sections.append(QString());
            continue;
        }
        if (c == QLatin1Char('\'') || c == QLatin1Char('"'))
            quote = quote.isNull() ? c : (quote == c ? QChar() : quote);
        sections.back() += c;
    }
    return sections;
}

void AddText(TSection& s, const QString& text)
{
    if (!s.Tokens.empty() && s.Tokens.back().Kind == TToken::TKind::Text)
        s.Tokens.back().Text += text;
    else
        s.Tokens.push_back({ TToken::TKind::Text, text });
}

TSection ParseSection(const QString& text)
{
    TSection s;
    bool point = false;
    int firstIntZero = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        const QChar next = i + 1 < text.size() ? text[i + 1] : QChar();
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            const qsizetype close = text.indexOf(c, i + 1);
            const qsizetype stop = close < 0 ? text.size() : close;
            AddText(s, text.mid(i + 1, stop - i - 1));
            i = stop;
        } else if (s.Scientific) {
            AddText(s, c);
        } else if (c == QLatin1Char('0') || c == QLatin1Char('#')) {
            const bool zero = c == QLatin1Char('0');
            if (point) {
                s.Tokens.push_back({ TToken::TKind::FracDigit, QString() });
                ++s.FracSlots;
                if (zero)
                    s.MinFrac = s.FracSlots;
            } else {
                s.Tokens.push_back({ TToken::TKind::IntDigit, QString() });
                if (zero && firstIntZero < 0)
                    firstIntZero = s.IntSlots;
                ++s.IntSlots;
            }
        } else if (c == QLatin1Char('.')) {
            if (!point)
                s.Tokens.push_back({ TToken::TKind::Point, QString() });
            point = true;
        } else if (c == QLatin1Char(',')) {
            s.Thousands = true;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e'))
            && (next == QLatin1Char('+') || next == QLatin1Char('-'))) {
            TToken exp { TToken::TKind::Exponent, c, next == QLatin1Char('+') };
            ++i; // the sign
            while (i + 1 < text.size() && text[i + 1] == QLatin1Char('0') && exp.Digits < MaxExponentDigits) {
                ++exp.Digits;
                ++i;
            }
            s.Tokens.push_back(exp);
            s.Scientific = true;
        } else {
            AddText(s, c);
        }
    }
    s.MinInt = firstIntZero < 0 ? 0 : s.IntSlots - firstIntZero;
    return s;
}

// The digits a section writes for a value without its sign.
struct TDigits {
    std::string Int;
    std::string Frac;
    int Exponent = 0;
};

TDigits SectionDigits(const TSection& s, TDecimal d)
{
    TDigits out;
    int intCount = 0;
    if (s.Scientific) {
        intCount = std::max(1, s.IntSlots);
        KeepDigits(d, intCount + s.FracSlots);
        out.Exponent = d.IsZero() ? 0 : d.Exponent - intCount;
    } else {
        KeepDigits(d, d.Exponent + s.FracSlots);
        intCount = std::max(d.Exponent, 0);
    }
    for (int k = 0; k < intCount; ++k)
        out.Int += d.At(k);
    if (int(out.Int.size()) < s.MinInt)
        out.Int.insert(0, size_t(s.MinInt) - out.Int.size(), '0');
    const int fracStart = s.Scientific ? intCount : d.Exponent;
    for (int k = 0; k < s.FracSlots; ++k)
        out.Frac += d.At(fracStart + k);
    while (int(out.Frac.size()) > s.MinFrac && out.Frac.back() == '0')
        out.Frac.pop_back();
    return out;
}

// The integer digits each integer placeholder writes: one each from the right, the rest at the
// first placeholder, with group separators.
std::vector<QString> IntSlotTexts(const TSection& s, const std::string& digits)
{
    std::vector<QString> texts(size_t(std::max(s.IntSlots, 1)));
    const int n = int(digits.size());
    for (int p = 0; p < n; ++p) {
        const size_t slot = size_t(std::max(int(texts.size()) - 1 - p, 0));
        const bool group = s.Thousands && p > 0 && p % 3 == 0;
        texts[slot] = QChar::fromLatin1(digits[size_t(n - 1 - p)]) + (group ? QStringLiteral(",") : QString())
            + texts[slot];
    }
    return texts;
}

QString ExponentText(const TToken& t, int exponent)
{
    QString sign = exponent < 0 ? QStringLiteral("-") : (t.Plus ? QStringLiteral("+") : QString());
    return t.Text + sign + QString::number(std::abs(exponent)).rightJustified(t.Digits, QLatin1Char('0'));
}

QString Render(const TSection& s, const TDecimal& d)
{
    const TDigits digits = SectionDigits(s, d);
    const std::vector<QString> texts = IntSlotTexts(s, digits.Int);
    // Without an integer placeholder the integer digits stand before the point.
    bool intWritten = s.IntSlots > 0;
    const auto flushInt = [&](QString& out) {
        if (!intWritten)
            out += texts[0];
        intWritten = true;
    };
    QString out;
    size_t intSlot = 0;
    size_t fracSlot = 0;
    for (const TToken& t : s.Tokens) {
        switch (t.Kind) {
        case TToken::TKind::Text:
            out += t.Text;
            break;
        case TToken::TKind::IntDigit:
            out += texts[intSlot++];
            break;
        case TToken::TKind::Point:
            flushInt(out);
            if (!digits.Frac.empty())
                out += QLatin1Char('.');
            break;
        case TToken::TKind::FracDigit:
            if (fracSlot < digits.Frac.size())
                out += QChar::fromLatin1(digits.Frac[fracSlot]);
            ++fracSlot;
            break;
        case TToken::TKind::Exponent:
            flushInt(out);
            out += ExponentText(t, digits.Exponent);
            break;
        }
    }
    flushInt(out);
    return out;
}

// The framework's general form: up to 15 significant digits, the exponent as "E-6" or "E15".
QString General(double value)
{
    const QString g = QString::number(value, 'g', SignificantDigits);
    const qsizetype e = g.indexOf(QLatin1Char('e'));
    if (e < 0)
        return g;
    return g.left(e) + QLatin1Char('E') + QString::number(g.mid(e + 1).toInt());
}

bool RoundsToZero(const TSection& s, TDecimal d)
{
    if (!s.Scientific)
        KeepDigits(d, d.Exponent + s.FracSlots);
    return d.IsZero();
}

// The sections of a pattern applied to a value's digits; the first section is not empty.
QString FormatSections(const QList<QString>& sections, const TDecimal& d, bool negative)
{
    const TSection positive = ParseSection(sections[0]);
    if (RoundsToZero(positive, d)) {
        if (sections.size() > 2 && !sections[2].isEmpty())
            return Render(ParseSection(sections[2]), {});
        return Render(positive, {});
    }
    if (!negative)
        return Render(positive, d);
    if (sections.size() > 1 && !sections[1].isEmpty())
        return Render(ParseSection(sections[1]), d);
    return QLatin1Char('-') + Render(positive, d);
}

// All the digits of a whole number: no rounding to 15 digits.
TDecimal ToDecimal(int64_t value)
{
    const uint64_t magnitude = value < 0 ? 0 - uint64_t(value) : uint64_t(value);
    TDecimal d { magnitude == 0 ? std::string() : std::to_string(magnitude) };
    d.Exponent = int(d.Digits.size());
    TrimZeros(d);
    return d;
}

} // namespace

QString zor::FormatFloat(const QString& pattern, double value)
{
    if (std::isnan(value))
        return QStringLiteral("NAN");
    if (std::isinf(value))
        return value > 0.0 ? QStringLiteral("INF") : QStringLiteral("-INF");
    const QList<QString> sections = SplitSections(pattern);
    if (sections[0].isEmpty())
        return General(value);
    return FormatSections(sections, ToDecimal(value), value < 0.0);
}

QString zor::FormatInteger(const QString& pattern, int64_t value)
{
    const QList<QString> sections = SplitSections(pattern);
    if (sections[0].isEmpty())
        return QString::number(value);
    return FormatSections(sections, ToDecimal(value), value < 0);
}

// --- Dates ---

namespace {

constexpr char DefaultDateTime[] = "yyyy-mm-dd hh:nn:ss";

QString Two(int v)
{
    return QString::number(v).rightJustified(2, QLatin1Char('0'));
}

// am/pm, a/p or ampm at i: the length of the marker, 0 when there is none.
qsizetype MarkerAt(const QString& s, qsizetype i)
{
    for (const char* m : { "am/pm", "a/p", "ampm" }) {
        const qsizetype n = qsizetype(std::strlen(m));
        if (s.mid(i, n).compare(QLatin1String(m), Qt::CaseInsensitive) == 0)
            return n;
    }
    return 0;
}

bool HasMarker(const QString& s)
{
    for (qsizetype i = 0; i < s.size(); ++i)
        if (MarkerAt(s, i) > 0)
            return true;
    return false;
}

// The marker's text for the hour, in the case the pattern writes it (ampm: AM or PM).
QString Marker(const QString& m, bool pm)
{
    if (m.size() == 4)
        return pm ? QStringLiteral("PM") : QStringLiteral("AM");
    const qsizetype slash = m.indexOf(QLatin1Char('/'));
    return pm ? m.mid(slash + 1) : m.left(slash);
}

QString Number(int v, qsizetype letters)
{
    return letters == 1 ? QString::number(v) : Two(v);
}

QString DateTimeText(const QString& s, const QDateTime& value)
{
    const QDate date = value.date();
    const QTime time = value.time();
    const QLocale c = QLocale::c();
    const int hour = HasMarker(s) ? (time.hour() + 11) % 12 + 1 : time.hour();
    QString out;
    QChar last; // the last specifier: m right after an hour means minutes
    for (qsizetype i = 0; i < s.size();) {
        const QChar c0 = s[i];
        if (c0 == QLatin1Char('\'') || c0 == QLatin1Char('"')) {
            const qsizetype close = s.indexOf(c0, i + 1);
            const qsizetype stop = close < 0 ? s.size() : close;
            out += s.mid(i + 1, stop - i - 1);
            i = stop + 1;
            continue;
        }
        if (const qsizetype m = MarkerAt(s, i); m > 0) {
            out += Marker(s.mid(i, m), time.hour() >= 12);
            i += m;
            continue;
        }
        const QChar k = c0.toLower();
        qsizetype n = 1;
        while (i + n < s.size() && s[i + n].toLower() == k)
            ++n;
        i += n;
        switch (k.unicode()) {
        case u'y':
            out += n <= 2 ? Two(date.year() % 100)
                          : QString::number(date.year()).rightJustified(4, QLatin1Char('0'));
            break;
        case u'm':
            if (last == QLatin1Char('h'))
                out += Number(time.minute(), n);
            else if (n <= 2)
                out += Number(date.month(), n);
            else
                out += c.monthName(date.month(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'd':
            if (n <= 2)
                out += Number(date.day(), n);
            else
                out += c.dayName(date.dayOfWeek(), n == 3 ? QLocale::ShortFormat : QLocale::LongFormat);
            break;
        case u'h':
            out += Number(hour, n);
            break;
        case u'n':
            out += Number(time.minute(), n);
            break;
        case u's':
            out += Number(time.second(), n);
            break;
        case u'z':
            out += n < 3 ? QString::number(time.msec())
                         : QString::number(time.msec()).rightJustified(3, QLatin1Char('0'));
            break;
        case u'c':
            out += DateTimeText(QLatin1String(DefaultDateTime), value);
            break;
        case u't':
            out += DateTimeText(n == 1 ? QStringLiteral("hh:nn") : QStringLiteral("hh:nn:ss"), value);
            break;
        default:
            out += s.mid(i - n, n);
            continue; // a literal is no specifier: "hh:mm" still reads minutes
        }
        last = k;
    }
    return out;
}

} // namespace

QString zor::FormatDateTime(const QString& pattern, const QDateTime& value)
{
    if (!value.isValid())
        return {};
    if (!pattern.isEmpty())
        return DateTimeText(pattern, value);
    return DateTimeText(
        value.time() == QTime(0, 0) ? QStringLiteral("yyyy-mm-dd") : QLatin1String(DefaultDateTime), value);
}
