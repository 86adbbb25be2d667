#include "Zor.Error.h"
#include "Zor.Layer.h"
#include "Zor.Msg.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.Gantt.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QLocale>

#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>

using zor::Ord;
using zor::TAlphaColor;
using zor::TGanttElement;
using zor::TGanttParser;

static void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace {

TGanttParser Parsed(const QString& text)
{
    TGanttParser p;
    p.Parse(text);
    return p;
}

QString Err(const char* key)
{
    return TZORMsg::GetErrorValue(QString::fromLatin1(key));
}

// --- Grammar ---

struct TTaskCase {
    const char* Line;
    const char* Alias;
    const char* Name;
    QDate Start;
    QDate End;
    int32_t Duration;
    uint32_t Color;
    const char* Priority;
    const char* Risk;
    bool Critical;
    int64_t Cost; // ten-thousandths
};

const TTaskCase TaskCases[] = {
    { "-> T1 Design [StartDate:01-03-2024] [EndDate:05-03-2024]", "T1", "Design", QDate(2024, 3, 1),
        QDate(2024, 3, 5), 4, 0, "", "", false, 0 },
    { "->T2 Build the thing #FF3366CC [Cost:1500.50] [Priority:High] [Risk:Low] [Critical]", "T2",
        "Build the thing", {}, {}, 0, 0xFF3366CC, "High", "Low", true, 15005000 },
    { "-> Solo", "Solo", "Solo", {}, {}, 0, 0, "", "", false, 0 },
    { "->", "", "", {}, {}, 0, 0, "", "", false, 0 },
    // Six hex digits are an opaque colour.
    { "-> A B #3366CC", "A", "B", {}, {}, 0, 0xFF3366CC, "", "", false, 0 },
    // A duration written stands when the dates do not give one; the dates win otherwise.
    { "-> A B [Duration:7]", "A", "B", {}, {}, 7, 0, "", "", false, 0 },
    { "-> A B [Duration:7] [StartDate:10-01-2024] [EndDate:12-01-2024]", "A", "B", QDate(2024, 1, 10),
        QDate(2024, 1, 12), 2, 0, "", "", false, 0 },
    { "-> A B [EndDate:1-1-2024] [StartDate:3-1-2024]", "A", "B", QDate(2024, 1, 3), QDate(2024, 1, 1), 2, 0,
        "", "", false, 0 },
    // Values that do not read are skipped; so are unknown words and words after the properties.
    { "-> A B [StartDate:31-02-2024] [Duration:many] [Cost:lots] [Owner:Ann] later words", "A", "B", {}, {},
        0, 0, "", "", false, 0 },
    { "-> A B [Priority:x", "A", "B", {}, {}, 0, 0, "", "", false, 0 },
    // Prefixes count case; amounts keep four decimals, halves going to even.
    { "-> A B [priority:x] [Cost:0.00005]", "A", "B", {}, {}, 0, 0, "", "", false, 0 },
    { "-> A B [Cost:0.00015]", "A", "B", {}, {}, 0, 0, "", "", false, 2 },
    { "-> A B [Cost:-2.5]", "A", "B", {}, {}, 0, 0, "", "", false, -25000 },
    { "-> A B [Cost:12.34567]", "A", "B", {}, {}, 0, 0, "", "", false, 123457 },
    { "-> A B [Cost:0.00025]", "A", "B", {}, {}, 0, 0, "", "", false, 2 },
    { "-> A B [Cost:0.000251]", "A", "B", {}, {}, 0, 0, "", "", false, 3 },
    { "-> A B [Cost:.5]", "A", "B", {}, {}, 0, 0, "", "", false, 5000 },
    { "-> A B [Cost:+7.]", "A", "B", {}, {}, 0, 0, "", "", false, 70000 },
    { "-> A B [Cost:1,5]", "A", "B", {}, {}, 0, 0, "", "", false, 0 },
    { "-> A B [Cost:1e3]", "A", "B", {}, {}, 0, 0, "", "", false, 0 },
    { "-> A B [Cost:.]", "A", "B", {}, {}, 0, 0, "", "", false, 0 },
    { "-> A B [Cost:922337203685477.5807]", "A", "B", {}, {}, 0, 0, "", "", false, INT64_MAX },
    { "-> A B [Cost:922337203685477.58075]", "A", "B", {}, {}, 0, 0, "", "", false, 0 },
    { "-> A B [Cost:99999999999999999999]", "A", "B", {}, {}, 0, 0, "", "", false, 0 },
    { "->\tA\tB  [Risk:]", "A", "B", {}, {}, 0, 0, "", "", false, 0 },
};

TEST(GanttGrammar, EachTaskLineGivesItsFields)
{
    for (const TTaskCase& c : TaskCases) {
        const TGanttParser p = Parsed(QString::fromUtf8(c.Line));
        ASSERT_EQ(p.GetElements().size(), 1u) << c.Line;
        const TGanttElement& t = *p.GetElements()[0];
        EXPECT_EQ(t.GetAlias(), c.Alias) << c.Line;
        EXPECT_EQ(t.GetName(), c.Name) << c.Line;
        EXPECT_EQ(t.GetStartDate(), c.Start) << c.Line;
        EXPECT_EQ(t.GetEndDate(), c.End) << c.Line;
        EXPECT_EQ(t.GetDuration(), c.Duration) << c.Line;
        EXPECT_EQ(zor::Ord(t.GetColor()), c.Color) << c.Line;
        EXPECT_EQ(t.GetPriority(), c.Priority) << c.Line;
        EXPECT_EQ(t.GetRisk(), c.Risk) << c.Line;
        EXPECT_EQ(t.GetIsCritical(), c.Critical) << c.Line;
        EXPECT_EQ(t.GetCost(), c.Cost) << c.Line;
        EXPECT_TRUE(t.GetSubTasks().empty()) << c.Line;
    }
}

TEST(GanttGrammar, TitleAndSkippedLines)
{
    const TGanttParser p = Parsed(QStringLiteral("Vexlane:Gantt: First\r\n"
                                                 "  Vexlane:Gantt:Project plan  \r"
                                                 "a note\n"
                                                 "- a dash\n"
                                                 "\n"
                                                 "vexlane:gantt:lower\n"
                                                 ">no dash\n"));
    EXPECT_EQ(p.GetTitle(), "Project plan");
    EXPECT_TRUE(p.GetElements().empty());
}

// Levels one to four nest under the last task of the level above.
TEST(GanttGrammar, LevelsBuildATree)
{
    const TGanttParser p = Parsed(QStringLiteral("-> A a [Cost:1]\n"
                                                 "--> B b [Cost:2]\n"
                                                 "---> C c [Cost:4]\n"
                                                 "----> D d [Cost:8]\n"
                                                 "---> E e [Cost:16]\n"
                                                 "--> F f [Cost:32]\n"
                                                 "-> G g [Cost:64] [Duration:3]\n"
                                                 "--> H h [Cost:128.5]\n"));
    ASSERT_EQ(p.GetElements().size(), 2u);
    const TGanttElement& a = *p.GetElements()[0];
    ASSERT_EQ(a.GetSubTasks().size(), 2u);
    const TGanttElement& b = *a.GetSubTasks()[0];
    EXPECT_EQ(b.GetAlias(), "B");
    ASSERT_EQ(b.GetSubTasks().size(), 2u);
    EXPECT_EQ(b.GetSubTasks()[0]->GetAlias(), "C");
    ASSERT_EQ(b.GetSubTasks()[0]->GetSubTasks().size(), 1u);
    EXPECT_EQ(b.GetSubTasks()[0]->GetSubTasks()[0]->GetAlias(), "D");
    EXPECT_EQ(b.GetSubTasks()[1]->GetAlias(), "E");
    EXPECT_EQ(a.GetSubTasks()[1]->GetAlias(), "F");
    EXPECT_EQ(p.GetElements()[1]->GetSubTasks()[0]->GetAlias(), "H");
    // Costs count at every depth; durations only of the top-level tasks.
    EXPECT_EQ(a.GetTotalCost(), 63 * 10000);
    EXPECT_EQ(p.GetTotalCost(), 63 * 10000 + 64 * 10000 + 1285000);
    EXPECT_EQ(p.GetTotalDuration(), 3);
}

TEST(GanttGrammar, CostsReadTheSameInEveryLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    const TGanttParser p = Parsed(QStringLiteral("-> A a [Cost:1500.25]\n-> B b [Cost:7,5]\n"));
    QLocale::setDefault(before);
    EXPECT_EQ(p.GetElements()[0]->GetCost(), 15002500);
    EXPECT_EQ(p.GetElements()[1]->GetCost(), 0);
}

TEST(GanttGrammar, DateRangeAndTotals)
{
    const TGanttParser empty;
    EXPECT_FALSE(empty.GetMinStartDate().isValid());
    EXPECT_FALSE(empty.GetMaxEndDate().isValid());
    EXPECT_EQ(empty.GetTotalCost(), 0);

    TGanttParser p = Parsed(QStringLiteral("-> A a [StartDate:05-01-2024] [EndDate:09-01-2024]\n"
                                           "-> B b\n"
                                           "-> C c [StartDate:02-01-2024] [EndDate:03-01-2024]\n"
                                           "--> D d [StartDate:01-01-2020] [EndDate:01-01-2030]\n"));
    // Tasks without dates and subtasks do not widen the range.
    EXPECT_EQ(p.GetMinStartDate(), QDate(2024, 1, 2));
    EXPECT_EQ(p.GetMaxEndDate(), QDate(2024, 1, 9));
    EXPECT_EQ(p.GetTotalDuration(), 4 + 0 + 1);
    // A parser keeps what it read before; a new text starts at level 1 again.
    p.Parse(QStringLiteral("-> E e\n"));
    EXPECT_EQ(p.GetElements().size(), 4u);
    EXPECT_THROW(p.Parse(QStringLiteral("--> F f\n")), EZORError);
}

TEST(GanttGrammar, ErrorsNameTheLine)
{
    const struct {
        const char* Text;
        QString Expect;
    } cases[] = {
        { "Vexlane:Gantt:T\n-> A a #12345", Err("DiagramLine").arg("2", Err("GanttColor").arg("#12345")) },
        { "-> A a #GG3366CC", Err("DiagramLine").arg("1", Err("GanttColor").arg("#GG3366CC")) },
        { "-> A a #+1234567", Err("DiagramLine").arg("1", Err("GanttColor").arg("#+1234567")) },
        { "-> A a\n\n---> B b", Err("DiagramLine").arg("3", Err("GanttLevel").arg("3", "2")) },
        { "--> B b", Err("DiagramLine").arg("1", Err("GanttLevel").arg("2", "1")) },
        { "-> A a\n-----> B b", Err("DiagramLine").arg("2", Err("GanttArrow")) },
    };
    for (const auto& c : cases) {
        QString message;
        try {
            Parsed(QString::fromUtf8(c.Text));
        } catch (const EZORError& e) {
            message = e.Message();
        }
        EXPECT_EQ(message, c.Expect) << c.Text;
    }
}

// --- Layout ---

class GanttLabel : public ::testing::Test {
protected:
    const TZORParagraph* Bar(int32_t i) const
    {
        return dynamic_cast<const TZORParagraph*>(label.GetItem(i + 2));
    }

    TZORLabelVCL label;
};

TEST_F(GanttLabel, BarsStackUnderTheTitleOnADayScale)
{
    TZORFactory::AddBaseRectangle(label, 0, 0, 5000, 5000);
    label.SetUnits(TZORUnits::Inch);
    ASSERT_TRUE(TZORFactory::LoadGantt(label,
        QStringLiteral("Vexlane:Gantt:Release\n"
                       "-> A Plan [StartDate:01-03-2024] [EndDate:05-03-2024] #FF112233\n"
                       "--> A1 Sub [StartDate:01-01-2020] [EndDate:01-01-2021]\n"
                       "-> B Build [StartDate:03-03-2024] [EndDate:04-03-2024]\n"
                       "-> C Ship [StartDate:02-03-2024] [EndDate:01-03-2024]\n")));
    EXPECT_EQ(label.GetUnits(), TZORUnits::Millimetre);
    ASSERT_EQ(label.GetItemsCount(), 4); // the rectangle is gone; subtasks get no bars

    const auto* title = dynamic_cast<const TZORText*>(label.GetItem(1));
    ASSERT_NE(title, nullptr);
    EXPECT_EQ(title->GetText(), "Release");
    EXPECT_EQ(title->GetPoint(1).X, 4000);
    EXPECT_EQ(title->GetPoint(1).Y, 4000);
    EXPECT_FLOAT_EQ(title->GetFontHeight(), 8.0f);
    EXPECT_EQ(title->GetFontName(), "Verdana");

    const struct {
        const char* Name;
        int64_t X1, Y1, X2;
    } bars[] = {
        { "Plan", 4000, 12000, 44000 }, // the earliest start; four days wide
        { "Build", 24000, 17000, 34000 }, // two days later
        { "Ship", 14000, 22000, 14000 }, // ends before it starts: no width
    };
    for (int32_t i = 0; i < 3; ++i) {
        const TZORParagraph* bar = Bar(i);
        ASSERT_NE(bar, nullptr) << i;
        EXPECT_EQ(bar->GetText(), bars[i].Name);
        EXPECT_EQ(bar->GetPoint(1).X, bars[i].X1) << i;
        EXPECT_EQ(bar->GetPoint(1).Y, bars[i].Y1) << i;
        EXPECT_EQ(bar->GetPoint(2).X, bars[i].X2) << i;
        EXPECT_EQ(bar->GetPoint(2).Y, bars[i].Y1 + 5000) << i;
        EXPECT_EQ(bar->GetHorzAlign(), TZORHorzAlign::Left);
        EXPECT_EQ(bar->GetVertAlign(), TZORVertAlign::Center);
        EXPECT_FLOAT_EQ(bar->GetFontHeight(), 4.0f);
        EXPECT_FLOAT_EQ(bar->GetPenWidth(), 0.1f);
    }
    EXPECT_EQ(Bar(0)->GetBackColor(), TAlphaColor { 0xFF112233u });
    EXPECT_TRUE(Bar(0)->GetFilled());
    EXPECT_FALSE(Bar(1)->GetFilled()); // no colour given
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 120000);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 32000);
    EXPECT_FLOAT_EQ(label.GetActiveLayer()->GetFontHeight(), 4.0f);
}

TEST_F(GanttLabel, WithoutTasksOnlyTheTitle)
{
    ASSERT_TRUE(TZORFactory::LoadGantt(label, QStringLiteral("nothing here")));
    ASSERT_EQ(label.GetItemsCount(), 1);
    EXPECT_EQ(label.GetItem(1)->TypeCode(), TZORItemType::Text);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 17000);
}

// A task without dates stays on the chart: it starts where the chart starts and runs for its
// duration.
TEST_F(GanttLabel, MissingDatesKeepBarsOnTheChart)
{
    ASSERT_TRUE(TZORFactory::LoadGantt(label,
        QStringLiteral("-> A a [StartDate:10-06-2024] [EndDate:12-06-2024]\n"
                       "-> B b [Duration:3]\n"
                       "-> C c [StartDate:11-06-2024] [Duration:5]\n"
                       "-> D d\n")));
    const int64_t expect[4][2] = { { 4000, 24000 }, { 4000, 34000 }, { 14000, 64000 }, { 4000, 4000 } };
    for (int32_t i = 0; i < 4; ++i) {
        EXPECT_EQ(Bar(i)->GetPoint(1).X, expect[i][0]) << i;
        EXPECT_EQ(Bar(i)->GetPoint(2).X, expect[i][1]) << i;
    }
}

TEST_F(GanttLabel, ATextWithAnErrorLeavesTheLabelAsItWas)
{
    TZORRectangle* kept = TZORFactory::AddBaseRectangle(label, 0, 0, 5000, 5000);
    label.SetUnits(TZORUnits::Inch);
    label.Measure().SetPaperSizeMM(50, 60);
    label.GetActiveLayer()->SetFontName("Courier New");
    label.SetModified(false);
    EXPECT_THROW(TZORFactory::LoadGantt(label, QStringLiteral("Vexlane:Gantt:T\n-> A a\n-> B b #nocolour\n")),
        EZORError);
    ASSERT_EQ(label.GetItemsCount(), 1);
    EXPECT_EQ(label.GetItem(1), kept);
    EXPECT_EQ(label.GetUnits(), TZORUnits::Inch);
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperHeight), 60000);
    EXPECT_EQ(label.GetActiveLayer()->GetFontName(), "Courier New");
    EXPECT_FALSE(label.GetModified());
    EXPECT_FALSE(label.IsUpdating());
}

} // namespace
