#include "ErrorOf.h"
#include "KindStubs.h"
#include "Zor.Barcode.h"
#include "Zor.Flow.h"
#include "Zor.Json.h"
#include "Zor.Poly.h"
#include "Zor.Rank.h"
#include "Zor.Stream.h"
#include "Zor.Symbol.h"
#include "Zor.Table.h"
#include "Zor.Text.h"
#include "Zor.Version.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using zor::TBinaryReader;
using zor::TJsonObject;

using namespace zor::test;

namespace {

template <class T> T* ReadJson(TZORBaseLabel& label, const char* json)
{
    return static_cast<T*>(label.AddReadJson(std::make_unique<TStub<T>>(&label, false), ZORFileVersion,
        TJsonObject::Parse(QString::fromUtf8(json))));
}

using TMake = std::function<std::unique_ptr<TZORBaseItem>(TZORBaseLabel&)>;

template <class T> TMake Make()
{
    return [](TZORBaseLabel& label) { return std::make_unique<TStub<T>>(&label, false); };
}

struct TKind {
    const char* name;
    TMake make;
    int points; // the points the kind is made of
};

// The text, image and code kinds, and the composite kinds, whose records share these checks.
const TKind Kinds[] = {
    { "text", Make<TZORBaseText>(), 2 },
    { "paragraph", Make<TZORBasePara>(), 2 },
    { "rich text", Make<TZORBaseRichText>(), 2 },
    { "poly text", Make<TZORBasePoly>(), 1 },
    { "image", Make<TZORBaseImage>(), 2 },
    { "barcode", Make<TZORBaseBarcode>(), 1 },
    { "PDF417", Make<TZORBasePDF417>(), 1 },
    { "DataMatrix", Make<TZORBaseDataMatrix>(), 1 },
    { "QR code", Make<TZORBaseQRCode>(), 1 },
    { "flowchart node", Make<TZORBaseFlow>(), 2 },
    { "link", Make<TZORBaseLink>(), 0 },
    { "table", Make<TZORBaseTable>(), 2 },
    { "rating", Make<TZORBaseRank>(), 2 },
    { "nutrition score", Make<TZORBaseNutri>(), 2 },
    { "symbol", Make<TZORBaseSymbol>(), 1 },
};

} // namespace

// --- Records ---

TEST(KindRecords, ReadBackWholeAndTruncatedOnesAreRejected)
{
    for (const TKind& kind : Kinds) {
        SCOPED_TRACE(kind.name);
        TKindLabel label;
        const auto item = kind.make(label);
        item->SetID(7); // as the label would give it
        item->SetLayerIndex(1);
        const QByteArray record = Record(*item);
        for (int cut = 4; cut < record.size(); ++cut) {
            TBinaryReader r(record.left(cut));
            r.ReadInt32();
            EXPECT_THROW(label.AddRead(kind.make(label), ZORFileVersion, r, TZORReadType::Load), EZORError)
                << "cut at " << cut;
        }
        EXPECT_EQ(label.GetItemsCount(), 0);
        TBinaryReader r(record);
        r.ReadInt32();
        const TZORBaseItem* read = label.AddRead(kind.make(label), ZORFileVersion, r, TZORReadType::Load);
        EXPECT_EQ(r.BytesLeft(), 0);
        EXPECT_EQ(Record(*read), record);
    }
}

TEST(KindRecords, TooFewPointsAreRejected)
{
    for (const TKind& kind : Kinds) {
        if (kind.points == 0)
            continue; // a run of link points may be empty
        SCOPED_TRACE(kind.name);
        TKindLabel label;
        auto few = kind.make(label);
        const std::vector<TZORPto> points(size_t(kind.points - 1));
        few->AssignPoints(points);
        const QString json = few->WriteJson().ToJSON();
        const QString message
            = ErrorOf([&] { label.AddReadJson(kind.make(label), ZORFileVersion, TJsonObject::Parse(json)); });
        EXPECT_TRUE(message.contains(QString::number(kind.points))) << message.toStdString();
        EXPECT_EQ(label.GetItemsCount(), 0);
    }
}

// --- Texts ---

TEST(Text, ModelDefaultsAreTheTextDefaults)
{
    TKindLabel label;
    const TStub<TZORBaseText> text(&label, false);
    EXPECT_EQ(text.GetBaseFontHeight(), 10000);
    EXPECT_EQ(text.GetScale(), 1.0f);
    EXPECT_EQ(text.GetPointsCount(), 2);
    const TStub<TZORBasePara> para(&label, false);
    EXPECT_EQ(para.GetBaseFontHeight(), 6000);
    EXPECT_EQ(para.GetScaleX(), 1.0f);
    const TStub<TZORBaseRichText> rich(&label, false);
    EXPECT_EQ(rich.GetBaseFontHeight(), 6000);
    EXPECT_EQ(rich.GetScaleX(), 1.0f);
}

// Every paragraph starts from the paragraph defaults, so one read from a JSON file that leaves
// out its size or line spacing gets them, as a binary read or the drawing tool gives them.
TEST(Paragraph, OneReadFromJsonTakesTheParagraphDefaultsItLeavesOut)
{
    TKindLabel label;
    const char* json = R"({"Points":[[0,0],[20000,10000]]})";
    for (const TZORBasePara* p : { static_cast<const TZORBasePara*>(ReadJson<TZORBasePara>(label, json)),
             static_cast<const TZORBasePara*>(ReadJson<TZORBaseRichText>(label, json)) }) {
        EXPECT_EQ(p->GetBaseFontHeight(), 6000);
        EXPECT_EQ(p->GetScaleX(), 1.0f);
    }
}

TEST(Paragraph, TextAndFontHeightAreSetThroughTheKindsOwnSetters)
{
    TKindLabel label;
    TStub<TZORBasePara> para(&label, false);
    TStub<TZORBaseRichText> rich(&label, false);
    for (TZORBasePara* p : { static_cast<TZORBasePara*>(&para), static_cast<TZORBasePara*>(&rich) }) {
        p->SetText(QStringLiteral("Start"));
        p->SetFontHeight(3.5f);
        EXPECT_EQ(p->GetBaseFontHeight(), 3500);
        p->SetFontHeight(NAN);
        EXPECT_TRUE(std::isfinite(p->GetFontHeight()));
    }
    EXPECT_EQ(para.GetText(), QStringLiteral("Start"));
    // The rich text keeps its text as markup, and nowhere else.
    EXPECT_EQ(rich.GetRichText(), QStringLiteral("Start"));
    EXPECT_TRUE(rich.GetText().isEmpty());
    const TJsonObject o = rich.WriteJson();
    EXPECT_FALSE(o.Contains("Text"));
    EXPECT_EQ(o.S("RichText"), QStringLiteral("Start"));
}

TEST(TextKinds, ReadValuesAreBroughtIntoTheSettersRanges)
{
    TKindLabel label;
    auto* text = ReadJson<TZORBaseText>(label, R"({"Scale":50,"FontHeight":0})");
    EXPECT_EQ(text->GetScale(), 10.0f);
    EXPECT_EQ(text->GetFontHeight(), 0.1f);

    auto* para = ReadJson<TZORBaseRichText>(
        label, R"({"HorzAlign":8,"VertAlign":200,"ScaleX":0,"PaddingX":-3,"PaddingY":1e6})");
    EXPECT_EQ(para->GetHorzAlign(), TZORHorzAlign::Justify);
    EXPECT_EQ(para->GetVertAlign(), TZORVertAlign::Bottom);
    EXPECT_EQ(para->GetScaleX(), 0.1f);
    EXPECT_EQ(para->GetPaddingX(), 0.0f);
    EXPECT_EQ(para->GetPaddingY(), 1000.0f);

    auto* image = ReadJson<TZORBaseImage>(label, R"({"Angle":7,"Points":[[9,9],[1,1]]})");
    EXPECT_EQ(image->GetAngle(), TZORAngle::Angle270);
    EXPECT_EQ(image->GetPoint(1), (TZORPto { 1, 1 })); // the box is put in order

    auto* barcode = ReadJson<TZORBaseBarcode>(
        label, R"({"Factor":0,"BarWidth":0,"BarHeight":5000,"Angle":6,"CodeType":40})");
    EXPECT_EQ(barcode->GetFactor(), 1.0f);
    EXPECT_EQ(barcode->GetBarWidth(), 0.01f);
    EXPECT_EQ(barcode->GetBarHeight(), 1000.0f);
    EXPECT_EQ(barcode->GetAngle(), TZORAngle::Angle180);
    EXPECT_EQ(barcode->GetCodeType(), TZORBarType(40)); // kept as read: it never encodes
}

// --- Codes ---

TEST(Codes, EightBitCodesHoldWhatTheEncoderSees)
{
    TKindLabel label;
    auto* barcode = Stub<TZORBaseBarcode>(label);
    barcode->SetCode("Gr\xfc\xdf");
    EXPECT_EQ(barcode->WriteJson().S("Code"), QStringLiteral("Grüß")); // readable in the file
    EXPECT_EQ(barcode->GetCode(), QByteArray("Gr\xfc\xdf"));

    // A character beyond eight bits, read from a file, becomes what the encoder would read.
    const char* json = R"({"Code":"Ω-7"})";
    EXPECT_EQ(ReadJson<TZORBaseBarcode>(label, json)->GetCode(), QByteArray("?-7"));
    EXPECT_EQ(ReadJson<TZORBasePDF417>(label, json)->GetCode(), QByteArray("?-7"));
    EXPECT_EQ(ReadJson<TZORBaseDataMatrix>(label, json)->GetCode(), QByteArray("?-7"));
    EXPECT_EQ(ReadJson<TZORBaseQRCode>(label, json)->GetCode(), QStringLiteral("Ω-7"));
}

TEST(Codes, ModuleSizesAndDefaultsFitTheKind)
{
    TKindLabel label;
    const TStub<TZORBaseBarcode> barcode(&label, false);
    const TStub<TZORBasePDF417> pdf(&label, false);
    const TStub<TZORBaseQRCode> qr(&label, false);
    // A linear barcode's bars are long, a PDF417's rows taller than a module, matrix modules square.
    EXPECT_GT(barcode.GetBarHeight(), 10.0f * barcode.GetBarWidth());
    EXPECT_GT(pdf.GetBarHeight(), pdf.GetBarWidth());
    EXPECT_EQ(qr.GetBarHeight(), qr.GetBarWidth());
    EXPECT_TRUE(barcode.GetShowNumber());

    auto* code = Stub<TZORBaseQRCode>(label);
    for (float bad : { 0.0f, -1.0f, NAN }) {
        code->SetBarWidth(bad);
        EXPECT_GT(code->GetBarWidth(), 0.0f) << bad;
    }
    code->SetAngle(TZORAngle(5));
    EXPECT_EQ(code->GetAngle(), TZORAngle::Angle90);
    auto* linear = Stub<TZORBaseBarcode>(label);
    linear->SetFactor(NAN);
    EXPECT_EQ(linear->GetFactor(), TZORBaseBarcode::DefaultFactor);
    linear->SetFactor(0.5f);
    EXPECT_EQ(linear->GetFactor(), 1.0f);
}
