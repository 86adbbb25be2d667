#include "drawing/Zor.Vcl.Shared.Screen.h"
#include "drawing/Zor.Vcl.Types.h"

#include <gtest/gtest.h>

#include <thread>

using zor::GetFontStyle;
using zor::TSkFontStyle;
using zor::TxtLines;

namespace {

struct TMetrics {
    int ascent = 0;
    int descent = 0;
    int underline = 0;
    int height = 0;
    double ratio = 0.0;

    bool operator==(const TMetrics&) const = default;
};

TMetrics Settings(const QString& name, int height, bool bold = false, bool italic = false)
{
    TMetrics m;
    TZORCalc::FontSettings(name, height, bold, italic, m.ascent, m.descent, m.underline, m.height, m.ratio);
    return m;
}

TEST(TextMetrics, TheLastFontIsCachedByNameHeightAndStyle)
{
    TZORCalc::Reset();
    const int before = TZORCalc::FontsMade();
    const TMetrics first = Settings(QStringLiteral("Arial"), 3500);
    const TMetrics second = Settings(QStringLiteral("Arial"), 3500);
    EXPECT_EQ(TZORCalc::FontsMade(), before + 1);
    EXPECT_EQ(first, second);
    // The name compares case-sensitively; every key field counts.
    Settings(QStringLiteral("arial"), 3500);
    Settings(QStringLiteral("arial"), 3501);
    Settings(QStringLiteral("arial"), 3501, true);
    Settings(QStringLiteral("arial"), 3501, true, true);
    EXPECT_EQ(TZORCalc::FontsMade(), before + 5);
    TZORCalc::Reset();
    Settings(QStringLiteral("arial"), 3501, true, true);
    EXPECT_EQ(TZORCalc::FontsMade(), before + 6);
}

TEST(TextMetrics, TheHeightIsTheCellAndTheRatioTheEmOverIt)
{
    const TMetrics m = Settings(QStringLiteral("Arial"), 10000);
    EXPECT_EQ(m.ascent + m.descent, 10000);
    EXPECT_EQ(m.height, 10000);
    EXPECT_EQ(m.underline, 0);
    EXPECT_GT(m.ratio, 0.8);
    EXPECT_LT(m.ratio, 0.95);
    EXPECT_GT(m.ascent, 3 * m.descent);
    // No cell at all: the ratio is exactly 1.
    EXPECT_EQ(Settings(QStringLiteral("Arial"), 0).ratio, 1.0);
}

TEST(TextMetrics, WidthsScaleLinearlyWithTheHeight)
{
    int ascent = 0, descent = 0, small = 0, large = 0;
    double ratio = 0.0;
    const QString text = QStringLiteral("The quick brown fox");
    TZORCalc::FontSettings(text, QStringLiteral("Arial"), 1000, false, false, ascent, descent, small, ratio);
    EXPECT_EQ(TZORCalc::CalcTxtSize(text), QSize(small, 1000));
    TZORCalc::FontSettings(
        text, QStringLiteral("Arial"), 100000, false, false, ascent, descent, large, ratio);
    EXPECT_EQ(TZORCalc::CalcTxtSize(text).width(), large);
    EXPECT_NEAR(large / 100.0, small, 1.0);
    EXPECT_GT(TZORCalc::CalcTxtSize(QStringLiteral("WW")).width(),
        TZORCalc::CalcTxtSize(QStringLiteral("ii")).width());
}

TEST(TextMetrics, TheBitmapFontIsATenthInWholePixels)
{
    int ascent = -1, descent = -1, underline = -1;
    TZORCalc::BitmapFontSettings(QStringLiteral("Arial"), 35, false, false, ascent, descent, underline);
    EXPECT_EQ(ascent % 10, 0);
    EXPECT_EQ(descent % 10, 0);
    EXPECT_EQ(underline, 0);
    EXPECT_EQ(ascent + descent, 30 + 10); // 3 pixels of character height: ascent 3, descent 1
    // Its lines are the font height apart: 3 pixels, times ten.
    TxtLines lines;
    TZORCalc::CalcBitmapTxtPts(
        QStringLiteral("a\nb\nc"), nullptr, lines, 1000, 0, 0, 0, TZORHorzAlign::Left, TZORVertAlign::Top);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[1].y - lines[0].y, 30);
    EXPECT_EQ(lines[2].y - lines[1].y, 30);
}

TEST(TextMetrics, FontStylesFollowBoldAndItalic)
{
    EXPECT_EQ(GetFontStyle(false, false), TSkFontStyle::Normal);
    EXPECT_EQ(GetFontStyle(true, false), TSkFontStyle::Bold);
    EXPECT_EQ(GetFontStyle(false, true), TSkFontStyle::Italic);
    EXPECT_EQ(GetFontStyle(true, true), TSkFontStyle::BoldItalic);
}

// What one thread measures: metrics, a width and a layout that depends on the font left
// selected by its FontSettings.
struct TMeasured {
    TMetrics metrics;
    int width = 0;
    TxtLines lines;

    bool operator==(const TMeasured&) const = default;
};

TMeasured Measure(const QString& name, int height, bool bold)
{
    TMeasured m;
    m.metrics = Settings(name, height, bold);
    m.width = TZORCalc::CalcTxtSize(QStringLiteral("Label printing from two threads")).width();
    TZORCalc::CalcTxtPts(QStringLiteral("one two three four five six seven eight nine ten"), nullptr, m.lines,
        height * 8, 0, height / 10, 0, TZORHorzAlign::Right, TZORVertAlign::Top, 1.2f);
    return m;
}

TEST(TextMetrics, ThreadsMeasuringAtOnceGetTheirOwnResults)
{
    const TMeasured arial = Measure(QStringLiteral("Arial"), 3500, true);
    const TMeasured courier = Measure(QStringLiteral("Courier New"), 5000, false);
    ASSERT_NE(arial, courier);
    const auto work
        = [](const TMeasured& expected, const QString& name, int height, bool bold, int& mismatches) {
              for (int i = 0; i < 300; ++i) {
                  TZORCalc::Reset(); // every round makes the fonts again
                  if (!(Measure(name, height, bold) == expected))
                      ++mismatches;
              }
          };
    int arialMismatches = 0, courierMismatches = 0;
    std::thread a(work, std::cref(arial), QStringLiteral("Arial"), 3500, true, std::ref(arialMismatches));
    std::thread b(
        work, std::cref(courier), QStringLiteral("Courier New"), 5000, false, std::ref(courierMismatches));
    a.join();
    b.join();
    EXPECT_EQ(arialMismatches, 0);
    EXPECT_EQ(courierMismatches, 0);
}

} // namespace
