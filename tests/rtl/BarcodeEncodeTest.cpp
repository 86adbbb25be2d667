#include "Zor.Barcode.h"
#include "Zor.Utils.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <thread>
#include <vector>

using zor::BarTypeCount;
using zor::Ord;
using zor::TBarcode;

namespace {

using Bar = TZORDrawBar;
using Type = TZORBarType;
using Encoder = TZORBarEncoder;

std::string S(const QByteArray& b)
{
    return b.toStdString();
}

QByteArray Prepare(const QByteArray& code, Type type, bool addCheck = false, bool removeAccents = false)
{
    TZOR128AutoType autoType;
    return Encoder::PrepareBarcode(code, type, addCheck, removeAccents, autoType);
}

QByteArray PatternOf(const QByteArray& code, Type type, bool addCheck = false, bool showNumber = true)
{
    TZOR128AutoType autoType;
    const QByteArray prepared = Encoder::PrepareBarcode(code, type, addCheck, false, autoType);
    return Encoder::FillBarPattern(prepared, type, autoType, showNumber);
}

std::vector<QByteArray> RowsOf(const QByteArray& code, Type type, bool addCheck = false)
{
    TZOR128AutoType autoType;
    const QByteArray prepared = Encoder::PrepareBarcode(code, type, addCheck, false, autoType);
    return Encoder::ModuleRows(prepared, type, autoType);
}

// The bar class of every module the pattern covers, wide elements factor modules wide.
std::vector<Bar> Modules(const QByteArray& pattern, int factor)
{
    std::vector<Bar> modules;
    double previous = 1.0;
    for (const char c : pattern) {
        TZORDrawWidth width;
        Bar bar;
        TBarcode::FillBarData(c, width, bar);
        previous = TBarcode::ElementWidth(width, 1.0, factor, previous);
        EXPECT_EQ(previous, std::round(previous)) << "element '" << c << "' is no whole number of modules";
        modules.insert(modules.end(), static_cast<size_t>(previous), bar);
    }
    return modules;
}

// The rows those modules print as: a postal code's upper row holds only the full bars.
std::vector<QByteArray> Rows(const std::vector<Bar>& modules, size_t rowCount)
{
    std::vector<QByteArray> rows(rowCount, QByteArray(static_cast<qsizetype>(modules.size()), '0'));
    for (size_t c = 0; c < modules.size(); ++c) {
        for (size_t r = 0; r < rowCount; ++r) {
            const bool upper = r == 0 && rowCount > 1;
            const bool ink = upper ? modules[c] == Bar::Full : modules[c] != Bar::Space;
            if (ink)
                rows[r][c] = '1';
        }
    }
    return rows;
}

// libzint's wide-to-narrow ratio: its narrowest run above one module.
int ZintRatio(const QByteArray& row)
{
    int ratio = 1;
    for (qsizetype i = 0; i < row.size();) {
        qsizetype j = i;
        while (j < row.size() && row[j] == row[i])
            ++j;
        const int run = static_cast<int>(j - i);
        if (run > 1 && (ratio == 1 || run < ratio))
            ratio = run;
        i = j;
    }
    return ratio;
}

std::set<TZORDrawWidth> WidthClasses(const QByteArray& pattern)
{
    std::set<TZORDrawWidth> widths;
    for (const char c : pattern) {
        TZORDrawWidth width;
        Bar bar;
        TBarcode::FillBarData(c, width, bar);
        widths.insert(width);
    }
    return widths;
}

std::set<size_t> GuardModules(const QByteArray& pattern)
{
    const std::vector<Bar> modules = Modules(pattern, 1);
    std::set<size_t> guards;
    for (size_t i = 0; i < modules.size(); ++i)
        if (modules[i] == Bar::Guard)
            guards.insert(i);
    return guards;
}

std::set<size_t> InkIn(const QByteArray& pattern, size_t first, size_t last)
{
    const std::vector<Bar> modules = Modules(pattern, 1);
    std::set<size_t> ink;
    for (size_t i = first; i < last && i < modules.size(); ++i)
        if (modules[i] != Bar::Space)
            ink.insert(i);
    return ink;
}

struct Sample {
    Type type;
    const char* valid;
    std::vector<QByteArray> invalid; // wrong characters, wrong length
};

const std::vector<Sample>& Samples()
{
    static const std::vector<Sample> samples = {
        { Type::EAN13, "590123412345", { "59012341234A", "59012341234", "5901234123458", "59012341234567" } },
        { Type::EAN8, "9638507", { "963850A", "963850", "96385075", "963850741" } },
        { Type::UPCA, "03600029145", { "0360002914A", "0360002914", "036000291453" } },
        { Type::UPCE, "0123456", { "012345A", "12345", "2123456", "012345678" } },
        { Type::Code39, "CODE-39 $/+%.", { "AB*C", "A_B", "" } },
        { Type::Code39Full, "Code 39*ab", { "caf\xE9" } },
        { Type::Code93, "CODE 93", { "code93", "A*B" } },
        { Type::Code93Full, "Code 93!", { "\xE9t\xE9" } },
        { Type::Codabar, "A40156B", { "40156", "A401G6B", "A" } },
        { Type::Code128A, "ABC\001123", { "abc", "AB\x80" } },
        { Type::Code128B, "Hello 128", { "AB\x01", "\xE9" } },
        { Type::Code128, "Hello\t128", { "caf\xE9" } },
        { Type::Code128C, "123456", { "12345", "12a4" } },
        { Type::EAN128A, "[01]09501101530003", { "AB\x01", "[01]09501101530004" } },
        { Type::EAN128B, "(01)09501101530003(10)abc", { "(01)0950110153000", "\x7f" } },
        { Type::EAN128, "LOT 42", { "[99", "\xE9" } },
        { Type::EAN128C, "0109501101530003", { "123", "12A4" } },
        { Type::Interleaved2of5, "12345", { "12A", "" } },
        { Type::Industrial2of5, "12345", { "1 2" } },
        { Type::Matrix2of5, "12345", { "1-2" } },
        { Type::Code11, "123-45", { "12A" } },
        { Type::MSI, "1234", { "12.3" } },
        { Type::PostNet, "12345", { "1234", "123456", "1234A" } },
    };
    return samples;
}

constexpr Type TwoWidthTypes[] = { Type::Code39, Type::Code39Full, Type::Codabar, Type::Interleaved2of5,
    Type::Industrial2of5, Type::Matrix2of5, Type::Code11, Type::MSI };

TEST(BarcodeEncode, EveryTypeEncodesItsSampleAndRejectsBadCodes)
{
    ASSERT_EQ(Samples().size(), static_cast<size_t>(zor::BarTypeCount));
    for (const Sample& s : Samples()) {
        SCOPED_TRACE(zor::Ord(s.type));
        EXPECT_TRUE(Encoder::IsValidCode(s.valid, s.type, false, false)) << s.valid;
        EXPECT_TRUE(Encoder::IsValidCode(s.valid, s.type, true, false)) << s.valid;
        EXPECT_FALSE(PatternOf(s.valid, s.type).isEmpty()) << s.valid;
        EXPECT_FALSE(PatternOf(s.valid, s.type, true).isEmpty()) << s.valid;
        for (const QByteArray& bad : s.invalid) {
            EXPECT_FALSE(Encoder::IsValidCode(bad, s.type, false, false)) << S(bad);
            EXPECT_TRUE(Prepare(bad, s.type).isEmpty()) << S(bad);
            EXPECT_TRUE(Encoder::FillBarPattern(bad, s.type, TZOR128AutoType::AllSets, true).isEmpty())
                << S(bad);
        }
    }
}

TEST(BarcodeEncode, UnknownTypesNeverEncode)
{
    for (const int value : { 23, 100, 255 }) {
        const auto type = static_cast<Type>(value);
        TZOR128AutoType autoType = TZOR128AutoType::AllSets;
        EXPECT_FALSE(Encoder::IsValidCode("12345", type, false, false));
        EXPECT_TRUE(Encoder::PrepareBarcode("12345", type, false, false, autoType).isEmpty());
        EXPECT_EQ(autoType, TZOR128AutoType::None);
        EXPECT_TRUE(Encoder::FillBarPattern("12345", type, TZOR128AutoType::None, true).isEmpty());
        EXPECT_TRUE(Encoder::ModuleRows("12345", type, TZOR128AutoType::None).empty());
    }
}

TEST(BarcodeEncode, PreparedCodeIsWhatTheSymbolEncodesAndShows)
{
    const struct {
        Type type;
        QByteArray code;
        bool addCheck;
        bool removeAccents;
        const char* prepared;
    } table[] = {
        // Retail codes come out at full length, with or without the check digit given.
        { Type::EAN13, "590123412345", false, false, "5901234123457" },
        { Type::EAN13, "5901234123457", true, false, "5901234123457" },
        { Type::EAN8, "9638507", false, false, "96385074" },
        { Type::EAN8, "96385074", false, false, "96385074" },
        { Type::UPCA, "03600029145", false, false, "036000291452" },
        { Type::UPCA, "036000291452", false, false, "036000291452" },
        { Type::UPCE, "123456", false, false, "01234565" },
        { Type::UPCE, "0123456", false, false, "01234565" },
        { Type::UPCE, "01234565", false, false, "01234565" },
        { Type::UPCE, "1123456", false, false, "11234562" },
        // Optional check characters, the values libzint computes.
        { Type::Code39, "ABC", true, false, "ABCX" },
        { Type::Code39, "Z3", true, false, "Z3 " },
        { Type::Code39, "Z4", true, false, "Z4$" },
        { Type::Code39, "abc", false, false, "ABC" },
        { Type::Code39Full, "abc", true, false, "abc" },
        { Type::Codabar, "A1B", true, false, "A1.B" },
        { Type::Codabar, "a123b", true, false, "A1239B" },
        { Type::Interleaved2of5, "1234567", true, false, "12345670" },
        { Type::Interleaved2of5, "1234", true, false, "012348" },
        { Type::Interleaved2of5, "123", false, false, "0123" },
        { Type::Industrial2of5, "123", true, false, "1236" },
        { Type::Matrix2of5, "123", true, false, "1236" },
        { Type::Code11, "123-4", true, false, "123-422" },
        { Type::Code11, "12345678901", true, false, "123456789014-" },
        { Type::Code11, "123-4", false, false, "123-4" },
        { Type::MSI, "1234567", true, false, "12345674" },
        { Type::MSI, "4", true, false, "42" },
        { Type::Code93, "ABC", true, false, "ABC" },
        // Accents go only when asked.
        { Type::Code128B, "Cr\xE8me br\xFBl\351e", false, true, "Creme brulee" },
        { Type::Code128B, "Cr\xE8me", false, false, "" },
        { Type::Code39, "\xC9t\xE9", false, true, "ETE" },
    };
    for (const auto& row : table)
        EXPECT_EQ(S(Prepare(row.code, row.type, row.addCheck, row.removeAccents)), row.prepared)
            << S(row.code) << " type " << int(zor::Ord(row.type));
}

TEST(BarcodeEncode, AutoTypeFollowsTheCode128Symbology)
{
    const struct {
        Type type;
        const char* code;
        TZOR128AutoType autoType;
    } table[] = {
        { Type::Code128, "Hello", TZOR128AutoType::AllSets },
        { Type::Code128A, "HELLO", TZOR128AutoType::AllSets },
        { Type::Code128B, "Hello", TZOR128AutoType::NoSetC },
        { Type::Code128C, "1234", TZOR128AutoType::AllSets },
        { Type::EAN128, "LOT 42", TZOR128AutoType::AllSets },
        { Type::EAN13, "590123412345", TZOR128AutoType::None },
        { Type::Code39, "ABC", TZOR128AutoType::None },
    };
    for (const auto& row : table) {
        TZOR128AutoType autoType = TZOR128AutoType::None;
        Encoder::PrepareBarcode(row.code, row.type, false, false, autoType);
        EXPECT_EQ(autoType, row.autoType) << row.code;
    }
    // Without code set C, eight digits take eight symbol characters instead of four.
    const std::vector<QByteArray> allSets
        = Encoder::ModuleRows("12345678", Type::Code128, TZOR128AutoType::AllSets);
    const std::vector<QByteArray> setB
        = Encoder::ModuleRows("12345678", Type::Code128B, TZOR128AutoType::NoSetC);
    ASSERT_EQ(allSets.size(), 1u);
    ASSERT_EQ(setB.size(), 1u);
    EXPECT_EQ(setB[0].size() - allSets[0].size(), 4 * 11);
}

TEST(BarcodeEncode, TwoWidthSymbologiesUseNarrowAndWideOnly)
{
    for (const Sample& s : Samples()) {
        const bool twoWidth = std::ranges::find(TwoWidthTypes, s.type) != std::end(TwoWidthTypes);
        const std::set<TZORDrawWidth> widths = WidthClasses(PatternOf(s.valid, s.type, true));
        if (twoWidth)
            EXPECT_EQ(widths, (std::set { TZORDrawWidth::Narrow, TZORDrawWidth::Wide })) << zor::Ord(s.type);
        else
            EXPECT_FALSE(widths.contains(TZORDrawWidth::Wide)) << zor::Ord(s.type);
    }
}

TEST(BarcodeEncode, PatternExpandsToLibzintsModulesAtItsRatio)
{
    for (const Sample& s : Samples()) {
        for (const bool addCheck : { false, true }) {
            SCOPED_TRACE(testing::Message() << "type " << int(zor::Ord(s.type)) << " check " << addCheck);
            const std::vector<QByteArray> zint = RowsOf(s.valid, s.type, addCheck);
            ASSERT_FALSE(zint.empty());
            const int ratio = ZintRatio(zint.front());
            const std::vector<QByteArray> ours
                = Rows(Modules(PatternOf(s.valid, s.type, addCheck), ratio), zint.size());
            for (size_t r = 0; r < zint.size(); ++r)
                EXPECT_EQ(S(ours[r]), S(zint[r]));
        }
    }
}

TEST(BarcodeEncode, WidthFactorSetsTheRatioOfTwoWidthCodes)
{
    // Code 11 "1": its digits, the two check digits and the start and stop characters, with
    // libzint's ratio of 2 and at 3.
    const QByteArray pattern = PatternOf("1", Type::Code11, true);
    const std::vector<QByteArray> zint = RowsOf("1", Type::Code11, true);
    ASSERT_EQ(zint.size(), 1u);
    EXPECT_EQ(S(zint[0]), "101100101101011011010110110010101011001");
    EXPECT_EQ(S(Rows(Modules(pattern, 2), 1)[0]), S(zint[0]));
    const auto wides = std::ranges::count_if(pattern, [](char c) {
        TZORDrawWidth w;
        Bar b;
        TBarcode::FillBarData(c, w, b);
        return w == TZORDrawWidth::Wide;
    });
    EXPECT_EQ(Modules(pattern, 3).size(), zint[0].size() + static_cast<size_t>(wides));
}

TEST(BarcodeEncode, MsiModulesFollowTheBinaryDigits)
{
    // Start 110; each digit four bits, 0 as 100 and 1 as 110; stop 1001. "1234" + check 4.
    const char* expected = "110"
                           "100100100110"
                           "100100110100"
                           "100100110110"
                           "100110100100"
                           "100110100100"
                           "1001";
    const QByteArray pattern = PatternOf("1234", Type::MSI, true);
    EXPECT_EQ(S(Rows(Modules(pattern, 2), 1)[0]), expected);
}

TEST(BarcodeEncode, PostNetHasTallAndShortBars)
{
    // Frame bar, the digits 1 2 3 4 5 and the check digit 5 in two-of-five tall bars, frame bar.
    const std::string tall = "1"
                             "00011"
                             "00101"
                             "00110"
                             "01001"
                             "01010"
                             "01010"
                             "1";
    const QByteArray pattern = PatternOf("12345", Type::PostNet);
    const std::vector<Bar> modules = Modules(pattern, 1);
    std::string bars;
    for (size_t i = 0; i < modules.size(); ++i) {
        if (i % 2 == 1) {
            EXPECT_EQ(modules[i], Bar::Space) << i;
            continue;
        }
        ASSERT_NE(modules[i], Bar::Space) << i;
        ASSERT_NE(modules[i], Bar::Guard) << i;
        bars += modules[i] == Bar::Full ? '1' : '0';
    }
    EXPECT_EQ(bars, tall);
    const std::vector<QByteArray> zint = RowsOf("12345", Type::PostNet);
    ASSERT_EQ(zint.size(), 2u);
    const std::vector<QByteArray> ours = Rows(modules, 2);
    EXPECT_EQ(S(ours[0]), S(zint[0]));
    EXPECT_EQ(S(ours[1]), S(zint[1]));
}

TEST(BarcodeEncode, RetailGuardBarsAreWhereTheyBelong)
{
    // EAN-13, EAN-8 and UPC-E: the two bars of each guard pattern.
    EXPECT_EQ(
        GuardModules(PatternOf("590123412345", Type::EAN13)), (std::set<size_t> { 0, 2, 46, 48, 92, 94 }));
    EXPECT_EQ(GuardModules(PatternOf("9638507", Type::EAN8)), (std::set<size_t> { 0, 2, 32, 34, 64, 66 }));
    EXPECT_EQ(GuardModules(PatternOf("123456", Type::UPCE)), (std::set<size_t> { 0, 2, 46, 48, 50 }));
    // UPC-A: the guards and every bar of the first and the last digit.
    const QByteArray upca = PatternOf("03600029145", Type::UPCA);
    std::set<size_t> expected = InkIn(upca, 0, 10);
    expected.merge(InkIn(upca, 45, 50));
    expected.merge(InkIn(upca, 85, 95));
    EXPECT_EQ(GuardModules(upca), expected);
    EXPECT_TRUE(std::ranges::includes(expected, std::set<size_t> { 0, 2, 46, 48, 92, 94 }));
    // Without the number there is no text line: the same bars, all full.
    for (const auto& [code, type] :
        { std::pair { "590123412345", Type::EAN13 }, std::pair { "03600029145", Type::UPCA } }) {
        const QByteArray hidden = PatternOf(code, type, false, false);
        EXPECT_TRUE(GuardModules(hidden).empty());
        EXPECT_EQ(S(Rows(Modules(hidden, 1), 1)[0]), S(Rows(Modules(PatternOf(code, type), 1), 1)[0]));
    }
}

TEST(BarcodeEncode, RetailSymbolsHaveTheirStandardLength)
{
    const struct {
        Type type;
        const char* code;
        size_t modules;
    } table[] = { { Type::EAN13, "5901234123457", 95 }, { Type::EAN8, "96385074", 67 },
        { Type::UPCA, "036000291452", 95 }, { Type::UPCE, "01234565", 51 } };
    for (const auto& row : table)
        EXPECT_EQ(Modules(PatternOf(row.code, row.type), 3).size(), row.modules) << row.code;
}

TEST(BarcodeEncode, BarCodeWidthIsThePatternTimesTheModule)
{
    const QByteArray ean = PatternOf("590123412345", Type::EAN13);
    EXPECT_EQ(Encoder::BarCodeWidth(ean, 0.33, 2.0), 95 * 330);
    EXPECT_EQ(Encoder::BarCodeWidth(ean, 0.33, 3.0), 95 * 330);
    // Code 39 "A": three characters of three wide elements each grow by a module per step.
    const QByteArray code39 = PatternOf("A", Type::Code39);
    EXPECT_EQ(Encoder::BarCodeWidth(code39, 0.25, 3.0) - Encoder::BarCodeWidth(code39, 0.25, 2.0), 9 * 250);
    EXPECT_EQ(Encoder::BarCodeWidth("", 0.25, 3.0), 0);
}

TEST(BarcodeEncode, ConcurrentEncodingGivesTheSamePatterns)
{
    std::vector<QByteArray> expected;
    for (const Sample& s : Samples())
        expected.push_back(PatternOf(s.valid, s.type, true));
    std::vector<std::vector<QByteArray>> results(8);
    std::vector<std::thread> threads;
    for (auto& result : results)
        threads.emplace_back([&result] {
            for (int round = 0; round < 20; ++round)
                for (const Sample& s : Samples())
                    result.push_back(PatternOf(s.valid, s.type, true));
        });
    for (auto& t : threads)
        t.join();
    for (const auto& result : results)
        for (size_t i = 0; i < result.size(); ++i)
            ASSERT_EQ(result[i], expected[i % expected.size()]) << i;
}

TEST(BarcodeEncode, RemoveAccentedKeepsBaseLetters)
{
    const struct {
        QString in;
        QString out;
    } table[] = {
        { QStringLiteral("Crème brûlée"), QStringLiteral("Creme brulee") },
        { QStringLiteral("ÀÉÎÕÜÇÑ àéîõüçñ ÿ"), QStringLiteral("AEIOUCN aeioucn y") },
        { QStringLiteral("Łódź, Ørsted, Đakovo"), QStringLiteral("Lodz, Orsted, Dakovo") },
        { QString::fromUtf16(u"n\u0303o"), QStringLiteral("no") }, // already decomposed
        { QStringLiteral("Æsop Œuvre Straße"), QStringLiteral("Æsop Œuvre Straße") }, // no accents
        { QStringLiteral("한국어"), QStringLiteral("한국어") }, // stays composed
        { QStringLiteral("हिन्दी"), QStringLiteral("हिन्दी") }, // vowel signs are not accents
        { QStringLiteral("ﬁ ½ €"), QStringLiteral("ﬁ ½ €") },
        { QString(), QString() },
    };
    for (const auto& row : table)
        EXPECT_EQ(Encoder::RemoveAccented(row.in), row.out) << row.in.toStdString();
}

} // namespace
