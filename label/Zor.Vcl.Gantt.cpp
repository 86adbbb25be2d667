#include "Zor.Vcl.Gantt.h"

#include "Zor.Label.h"
#include "Zor.Layer.h"
#include "Zor.Msg.h"
#include "Zor.Utils.h"
#include "Zor.Vcl.Shared.Factory.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <QRegularExpression>
#include <QScopeGuard>

#include <algorithm>
#include <cstdlib>
#include <iterator>
#include <limits>

using zor::TAlphaColor;
using zor::TGanttElement;
using zor::TGanttParser;

namespace {

// --- Grammar ---

constexpr QStringView TitlePrefix = u"Vexlane:Gantt:";
constexpr int MaxLevel = 4;
constexpr QStringView DateFormat = u"d-M-yyyy";
constexpr qsizetype CostDecimals = 4; // currency amounts keep four decimals

enum class TGanttProp : uint8_t { StartDate, EndDate, Duration, Priority, Risk, Critical, Cost };

// Property words, each by the first prefix that matches (case-sensitive).
struct TPropWord {
    QStringView Prefix;
    TGanttProp Prop;
};

constexpr TPropWord PropWords[] = {
    { u"[StartDate:", TGanttProp::StartDate },
    { u"[EndDate:", TGanttProp::EndDate },
    { u"[Duration:", TGanttProp::Duration },
    { u"[Priority:", TGanttProp::Priority },
    { u"[Risk:", TGanttProp::Risk },
    { u"[Critical", TGanttProp::Critical },
    { u"[Cost:", TGanttProp::Cost },
};

// The level of a task line (1 to 4), 0 for any other line.
int TaskLevel(QStringView line)
{
    qsizetype dashes = 0;
    while (dashes < line.size() && line[dashes] == u'-')
        ++dashes;
    if (dashes == 0 || dashes >= line.size() || line[dashes] != u'>')
        return 0;
    if (dashes > MaxLevel)
        throw zor::Error(QStringLiteral("GanttArrow"));
    return int(dashes);
}

bool IsProperty(QStringView word)
{
    return word.startsWith(u'[') || word.startsWith(u'#');
}

// The value of a bracketed word: from its first ":" to its first "]"; empty without "]".
QString Value(QStringView word)
{
    const qsizetype colon = word.indexOf(u':');
    const qsizetype close = word.indexOf(u']');
    if (colon < 0 || close < 0 || close < colon)
        return {};
    return word.sliced(colon + 1, close - colon - 1).toString();
}

QDate ReadDate(const QString& value)
{
    return QDate::fromString(value, DateFormat.toString());
}

// "#AARRGGBB", or "#RRGGBB" for an opaque colour.
TAlphaColor ReadColor(QStringView word)
{
    const QStringView hex = word.sliced(1);
    bool ok = false;
    const uint32_t v = hex.toUInt(&ok, 16);
    if (!ok || (hex.size() != 8 && hex.size() != 6) || hex.startsWith(u'+') || hex.startsWith(u'-'))
        throw zor::Error(QStringLiteral("GanttColor"), word.toString());
    return TAlphaColor { hex.size() == 6 ? 0xFF000000u | v : v };
}

// A currency amount, "." for decimals in every locale, in ten-thousandths; digits past the
// fourth decimal round half to even. 0 when it does not read or does not fit.
int64_t ReadCost(const QString& value)
{
    static const QRegularExpression amount(QStringLiteral(R"(^([+-]?)(\d*)(?:\.(\d*))?$)"));
    const QRegularExpressionMatch m = amount.match(value);
    if (!m.hasMatch() || (m.capturedLength(2) == 0 && m.capturedLength(3) == 0))
        return 0;
    const QString decimals = m.captured(3);
    const QString kept = (decimals.left(CostDecimals) + QString(CostDecimals, u'0')).left(CostDecimals);
    const QString rest = decimals.mid(CostDecimals);
    bool ok = false;
    int64_t v = (m.captured(2) + kept).toLongLong(&ok);
    if (!ok)
        return 0;
    const bool half = rest.startsWith(u'5') && rest.mid(1).count(u'0') == rest.size() - 1;
    const bool above = !rest.isEmpty() && rest[0] >= u'5' && !half;
    if ((above || (half && v % 2 != 0)) && __builtin_add_overflow(v, 1, &v))
        return 0;
    return m.captured(1) == u"-" ? -v : v;
}

int64_t SaturatedSum(int64_t a, int64_t b)
{
    int64_t s;
    if (!__builtin_add_overflow(a, b, &s))
        return s;
    return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
}

} // namespace

// --- TGanttElement ---

int64_t TGanttElement::GetTotalCost() const
{
    int64_t total = fCost;
    for (const auto& task : fSubTasks)
        total = SaturatedSum(total, task->GetTotalCost());
    return total;
}

// --- TGanttParser ---

void TGanttParser::Parse(const QString& text)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    Parse(text.split(lineBreak));
}

void TGanttParser::Parse(const QStringList& lines)
{
    TLevels levels;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        try {
            if (line.startsWith(TitlePrefix))
                fTitle = line.mid(TitlePrefix.size());
            else if (TaskLevel(line) > 0)
                ParseLine(line, levels);
        } catch (const EZORError& e) {
            throw zor::Error(QStringLiteral("DiagramLine"), QString::number(i + 1), e.Message());
        }
    }
}

void TGanttParser::ParseLine(const QString& line, TLevels& levels)
{
    const int level = TaskLevel(line);
    if (level == 0)
        return;
    if (qsizetype(levels.size()) < level - 1)
        throw zor::Error(QStringLiteral("GanttLevel"), QString::number(level), QString::number(level - 1));
    auto task = std::make_unique<TGanttElement>();
    ParseElementProperties(line, *task);
    TGanttElement* added = task.get();
    TGanttElement::TTasks& siblings = level == 1 ? fElements : levels[size_t(level - 2)]->fSubTasks;
    siblings.push_back(std::move(task));
    levels.resize(size_t(level - 1));
    levels.push_back(added);
}

void TGanttParser::ParseElementProperties(const QString& line, TGanttElement& element)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    const auto apply = [&element](TGanttProp prop, const QString& value) {
        switch (prop) {
        case TGanttProp::StartDate:
            element.fStartDate = ReadDate(value);
            break;
        case TGanttProp::EndDate:
            element.fEndDate = ReadDate(value);
            break;
        case TGanttProp::Duration:
            element.fDuration = value.toInt();
            break;
        case TGanttProp::Priority:
            element.fPriority = value;
            break;
        case TGanttProp::Risk:
            element.fRisk = value;
            break;
        case TGanttProp::Critical:
            element.fIsCritical = true;
            break;
        case TGanttProp::Cost:
            element.fCost = ReadCost(value);
            break;
        }
    };
    const int level = TaskLevel(line);
    const QStringList words = line.mid(level > 0 ? level + 1 : 0).split(space, Qt::SkipEmptyParts);
    qsizetype named = 0;
    while (named < words.size() && !IsProperty(words[named]))
        ++named;
    if (named > 0) {
        element.fAlias = words[0];
        element.fName = named == 1 ? words[0] : words.mid(1, named - 1).join(u' ');
    }
    for (qsizetype i = named; i < words.size(); ++i) {
        const QString& word = words[i];
        if (word.startsWith(u'#')) {
            element.fColor = ReadColor(word);
            continue;
        }
        const auto p = std::find_if(std::begin(PropWords), std::end(PropWords),
            [&word](const TPropWord& w) { return word.startsWith(w.Prefix); });
        if (p != std::end(PropWords))
            apply(p->Prop, Value(word));
    }
    if (element.fStartDate.isValid() && element.fEndDate.isValid())
        element.fDuration = int32_t(std::abs(element.fStartDate.daysTo(element.fEndDate)));
}

int64_t TGanttParser::GetTotalDuration() const
{
    int64_t total = 0;
    for (const auto& task : fElements)
        total += task->GetDuration();
    return total;
}

int64_t TGanttParser::GetTotalCost() const
{
    int64_t total = 0;
    for (const auto& task : fElements)
        total = SaturatedSum(total, task->GetTotalCost());
    return total;
}

QDate TGanttParser::GetMinStartDate() const
{
    QDate least;
    for (const auto& task : fElements)
        if (task->GetStartDate().isValid() && (!least.isValid() || task->GetStartDate() < least))
            least = task->GetStartDate();
    return least;
}

QDate TGanttParser::GetMaxEndDate() const
{
    QDate greatest;
    for (const auto& task : fElements)
        if (task->GetEndDate().isValid() && (!greatest.isValid() || task->GetEndDate() > greatest))
            greatest = task->GetEndDate();
    return greatest;
}

// --- Drawing on a label ---

namespace {

// Layout in micrometres; fonts and pens in millimetres.
struct TGanttLayout {
    static constexpr int64_t Left = 4000;
    static constexpr int64_t Top = 4000;
    static constexpr int64_t TitleHeight = 8000;
    static constexpr int64_t BarHeight = 5000;
    static constexpr int64_t Day = 10000;
    static constexpr int64_t Width = 120000;
    static constexpr float Pen = 0.1f;
    static constexpr float TitleFont = 8.0f;
    static constexpr float BarFont = 4.0f;
};

// Where a day lies on the chart: days from the chart's first start.
int64_t DayX(const QDate& first, const QDate& day)
{
    return TGanttLayout::Left + TGanttLayout::Day * first.daysTo(day);
}

// A task without a start begins where the chart begins; one without an end runs for its
// duration; an end before the start gives an empty bar.
void Bar(TZORBaseLabel& label, const TGanttElement& task, const QDate& first, int64_t y)
{
    const int64_t x1 = task.GetStartDate().isValid() ? DayX(first, task.GetStartDate()) : TGanttLayout::Left;
    const int64_t x2 = task.GetEndDate().isValid() ? DayX(first, task.GetEndDate())
                                                   : x1 + TGanttLayout::Day * task.GetDuration();
    TZORParagraph* bar
        = TZORFactory::AddBaseParagraph(label, x1, y, std::max<int64_t>(x2 - x1, 0), TGanttLayout::BarHeight);
    bar->SetHorzAlign(TZORHorzAlign::Left);
    bar->SetVertAlign(TZORVertAlign::Center);
    bar->SetBackColor(task.GetColor());
    bar->SetFilled(zor::Ord(task.GetColor()) >> 24 != 0);
    bar->SetText(task.GetName());
    bar->CalcValues(0);
}

} // namespace

bool TZORFactory::LoadGantt(TZORBaseLabel& label, const QString& text)
{
    // The whole text is read before the label changes, so that a text with an error leaves it
    // as it was.
    TGanttParser parser;
    parser.Parse(text);

    TZORLayer& layer = *label.GetActiveLayer();
    layer.SetColor(zor::claBlack);
    layer.SetPenWidth(TGanttLayout::Pen);
    layer.SetFontName(QStringLiteral("Verdana"));
    layer.SetFontColor(zor::claBlack);
    label.BeginUpdate(true);
    const auto close = qScopeGuard([&label] { label.EndUpdate(); });
    label.SetUnits(TZORUnits::Millimetre);
    label.Clear({ TZORClear::Items }, true);

    TZORText* title = AddBaseText(label, TGanttLayout::Left, TGanttLayout::Top);
    title->SetFontHeight(TGanttLayout::TitleFont);
    title->SetText(parser.GetTitle());
    title->CalcValues(0);
    layer.SetFontHeight(TGanttLayout::BarFont);

    const QDate first = parser.GetMinStartDate();
    int64_t y = TGanttLayout::Top + TGanttLayout::TitleHeight;
    for (const auto& task : parser.GetElements()) {
        Bar(label, *task, first, y);
        y += TGanttLayout::BarHeight;
    }
    y += TGanttLayout::BarHeight;
    constexpr auto mm = TZORUnits::Millimetre;
    label.Measure().SetPaperSizeMM(zor::GetValue(TGanttLayout::Width, mm), zor::GetValue(y, mm));
    return true;
}
