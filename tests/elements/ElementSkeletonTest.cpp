#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Stream.h"
#include "Zor.Version.h"
#include "common/ItemSamples.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/text/Zor.Vcl.Codes.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "label/Zor.Vcl.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

using zor::Ord;
using zor::TAlphaColor;
using zor::TBinaryReader;
using zor::TECC200Shape;
using zor::TECC200Size;
using zor::TErrorCorrectionLevel;
using zor::TJsonObject;

using namespace zor::test;

namespace {

// A label as the readers meet it: with a second layer for the elements to sit on.
struct TTwoLayerLabel : TZORLabelVCL {
    TTwoLayerLabel() { AddLayer(QStringLiteral("Second")); }
};

void SetBox(TZORBaseItem& item)
{
    const TZORPto box[] = { { 1000, 2000 }, { 41000, 22000 } };
    item.AssignPoints(box);
}

void SetAnchor(TZORBaseItem& item)
{
    const TZORPto anchor[] = { { 5000, 6000 } };
    item.AssignPoints(anchor);
}

template <class T> void SetCode(T& code)
{
    SetFigure(code);
    SetAnchor(code);
    code.SetBarWidth(0.4f);
    code.SetBarHeight(12.5f);
    code.SetAngle(TZORAngle::Angle270);
    code.SetPaddingX(1.5f);
    code.SetPaddingY(2.5f);
    code.SetHorzAlign(TZORHorzAlign::Right);
}

template <class T> void SetMatrixCode(T& code)
{
    SetCode(code);
    code.SetVertAlign(TZORVertAlign::Bottom);
}

template <class T> void SetParagraph(T& p)
{
    SetFigure(p);
    SetFont(p);
    SetBox(p);
    p.SetHorzAlign(TZORHorzAlign::Justify);
    p.SetVertAlign(TZORVertAlign::Bottom);
    p.SetScaleX(1.5f);
    p.SetPaddingX(1.25f);
    p.SetPaddingY(0.75f);
    p.SetAngle(TZORAngle::Angle180);
    p.SetRadio(1.5f);
    p.SetGrow(true);
    p.SetShrink(true);
}

// One kind: its name, an element with every stored field away from its default, and the class
// functions of its renderer.
struct TKind {
    const char* name;
    std::function<std::unique_ptr<TZORBaseItem>(TZORLabelVCL&)> sample;
    std::unique_ptr<TZORBaseItem> (*make)(TZORBaseLabel&, bool);
    TZORBaseItem* (*read)(TZORLabelVCL&, int32_t, TBinaryReader&, TZORReadType);
    TZORBaseItem* (*readJson)(TZORLabelVCL&, int32_t, const TJsonObject&);
};

template <class T> TKind Kind(const char* name, void (*fill)(T&))
{
    return { name,
        [fill](TZORLabelVCL& label) {
            auto item = std::make_unique<T>(&label, false);
            fill(*item);
            return std::unique_ptr<TZORBaseItem>(std::move(item));
        },
        &TZORElementIO<T>::New,
        [](TZORLabelVCL& label, int32_t version, TBinaryReader& r, TZORReadType readType) -> TZORBaseItem* {
            return T::Read(label, version, r, readType);
        },
        [](TZORLabelVCL& label, int32_t version, const TJsonObject& o) -> TZORBaseItem* {
            return T::ReadFromJson(label, version, o);
        } };
}

std::vector<TKind> Kinds()
{
    return {
        Kind<TZORText>("text",
            [](TZORText& t) {
                SetFigure(t);
                SetFont(t);
                const TZORPto points[] = { { 3000, 4000 }, { 3000, 4000 } };
                t.AssignPoints(points);
                t.SetText(QStringLiteral("Ø 12 — ✓"));
                t.SetScale(0.8f);
                t.SetHorzAlign(TZORHorzAlign::Right);
                t.SetVertAlign(TZORVertAlign::Bottom);
                t.SetPaddingX(0.5f);
                t.SetPaddingY(0.25f);
                t.SetAngle(TZORAngle::Angle90);
                t.SetRadio(1.0f);
                t.SetWidthLimit(30.0f);
            }),
        Kind<TZORParagraph>("paragraph",
            [](TZORParagraph& p) {
                SetParagraph(p);
                p.SetText(QStringLiteral("Two\nlines"));
            }),
        Kind<TZORRichText>("rich text",
            [](TZORRichText& r) {
                SetParagraph(r);
                r.SetRichText(QStringLiteral("<b>bold</b> and plain"));
                r.SetRichStrikeout(true);
            }),
        Kind<TZORImage>("image",
            [](TZORImage& i) {
                SetFigure(i);
                SetBox(i);
                i.SetFileName(QStringLiteral("logo.png"));
                i.SetImageBytes(QByteArray("\x89PNG\r\n\x1a\n\0\xff", 10));
                i.SetKeepAspect(false);
                i.SetAngle(TZORAngle::Angle90);
                i.SetEmbedImage(true);
                i.SetFilter(TZORImgFilter::Grayscale);
                i.SetImageAlign(2);
                i.SetFrame(TZORFrame::CircleClip);
                i.SetRadio(2.0f);
                i.SetPadding(1.0f);
            }),
        Kind<TZORBarcode>("barcode",
            [](TZORBarcode& b) {
                SetCode(b);
                SetFont(b);
                b.SetCode("4006381333931");
                b.SetCodeType(TZORBarType::Code128);
                b.SetFactor(3.0f);
                b.SetShowNumber(false);
                b.SetAddCheck(true);
                b.SetRemoveAccents(true);
            }),
        Kind<TZORPDF417>("PDF417",
            [](TZORPDF417& p) {
                SetMatrixCode(p);
                p.SetCorrectionLevel(TZORPdf417CorrectionLevel::Level2);
                p.SetColumns(4);
                p.SetRows(12);
                p.SetTruncated(true);
                p.SetCode("Gr\xfc\xdf"
                          "e");
            }),
        Kind<TZORDataMatrix>("DataMatrix",
            [](TZORDataMatrix& d) {
                SetMatrixCode(d);
                d.SetSize(TECC200Size(uint8_t(5)));
                d.SetShape(TECC200Shape::Any);
                d.SetCode("LOT 4711");
            }),
        Kind<TZORQRCode>("QR code",
            [](TZORQRCode& q) {
                SetMatrixCode(q);
                q.SetLevel(TErrorCorrectionLevel::H);
                q.SetEncoding(TZORQREncoding::UTF8);
                q.SetVersion(7);
                q.SetCode(QStringLiteral("https://example.org/€"));
            }),
        Kind<TZORFlow>("flowchart node",
            [](TZORFlow& f) {
                SetFigure(f);
                SetFont(f);
                SetBox(f);
                f.SetFlowType(TZORFlowType::Decision);
                f.SetText(QStringLiteral("Valid?"));
                f.SetStrikeout(true);
                f.SetPaddingX(2.5f);
                f.SetPaddingY(0.5f);
                f.SetScaleX(1.5f);
                f.SetGradient(TZORGradient::Vertical);
                f.SetGradientToColor(TAlphaColor { 0xFF00FF00 });
                f.SetShadowDX(1.5f);
                f.SetShadowDY(-0.75f);
                f.SetShadowColor(TAlphaColor { 0x80000000 });
            }),
        Kind<TZORLink>("link",
            [](TZORLink& l) {
                SetCommon(l);
                l.SetLinkType(TZORinkType::Points);
                l.SetFromID(3);
                l.SetToID(4);
                l.SetFromIndex(2);
                l.SetToIndex(51);
                l.SetFromAlong(0.25f);
                l.SetToAlong(0.875f);
                l.SetBasePoint(1, 10000, 20000, false);
                l.SetBasePoint(2, 30000, -20000, false);
                l.SetFromType(TZORTermType::Circle);
                l.SetToType(TZORTermType::FilledDiamond);
                l.SetFromColor(TAlphaColor { 0xFFFF0000 });
                l.SetToColor(TAlphaColor { 0xFF0000FF });
            }),
        Kind<TZORTable>("table",
            [](TZORTable& t) {
                SetFigure(t);
                SetBox(t);
                t.SetColumns(3);
                t.SetRows(12);
                t.SetDataSet(QStringLiteral("Lines"));
                t.SetTitleHeight(7.0f);
                t.SetHeaderHeight(5.0f);
                t.SetLineHeight(4.5f);
                t.SetFooterHeight(5.5f);
                t.SetFixedHeight(true);
                t.SetPaddingX(1.0f);
                t.SetPaddingY(0.75f);
                t.SetGridType(TZORGridType::Horizontal);
                t.SetGridColor(TAlphaColor { 0xFF336699 });
                t.SetGridWidth(0.3f);
                t.Title().Visible = true;
                t.Title().Text = QStringLiteral("Parts");
                t.Title().WrapText = true;
                TZORColumn& c = *t.GetColumn(2);
                c.Width = 20.0f;
                c.FieldName = QStringLiteral("price");
                c.Format = QStringLiteral("0.00");
                c.Footer = TZORFooter::StdDev;
                c.FooterFormat = QStringLiteral("0.000");
                c.Header.Text = QStringLiteral("Price");
                c.Line.FillBack = true;
                c.Line.BackColor = TAlphaColor { 0x80FFEE00 };
                c.Line.HorzAlign = TZORHorzAlign::Right;
                c.Line.VertAlign = TZORVertAlign::Center;
                c.Line.Italic = true;
                c.Line.Underline = true;
                c.Line.FontName = QStringLiteral("DejaVu Sans");
                c.Line.FontColor = TAlphaColor { 0xFF0000CC };
                c.Line.FontHeight = 2.5f;
                c.Line.Interline = 1.5f;
                c.FooterCell.Text = QStringLiteral("σ ");
                c.FooterCell.Visible = false;
            }),
        Kind<TZORPolyText>("poly text",
            [](TZORPolyText& p) {
                SetMatrixCode(p);
                p.SetOutput(TZORPolyOutput::DataMatrix);
                p.SetRadio(1.5f);
                p.SetCodeType(TZORBarType::EAN13);
                p.SetFactor(3.0f);
                p.SetShowNumber(false);
                p.SetAddCheck(true);
                p.SetFontName(QStringLiteral("DejaVu Sans"));
                p.SetFontHeight(4.0f);
                p.SetLevel(TErrorCorrectionLevel::H);
                p.SetEncoding(TZORQREncoding::UTF8);
                p.SetMatrixSize(TECC200Size(uint8_t(5)));
                p.SetMatrixShape(TECC200Shape::Any);
                TZORDataPoly lot;
                lot.Text = QStringLiteral("Lot: ");
                lot.Bold = true;
                p.AddItem(lot);
                TZORDataPoly value;
                value.Text = QStringLiteral("4711");
                value.FillType = 1;
                value.FillName = QStringLiteral("lot");
                value.Format = QStringLiteral("0000");
                value.FontHeight = 5.0f;
                value.FontColor = TAlphaColor { 0xFF0000CC };
                value.Italic = true;
                value.Underline = true;
                p.AddItem(value);
            }),
        Kind<TZORRank>("rating",
            [](TZORRank& r) {
                SetFigure(r);
                SetBox(r);
                r.SetPosition(3);
                r.SetMaximum(7);
                r.SetRankType(TZORRankType::Rhombus);
                r.SetRankPos(TZORRankPos::BottomToTop);
                r.SetBaseGap(1500);
                r.SetDrawEmpty(false);
                r.SetEmptyColor(TAlphaColor { 0xFF102030 });
            }),
        Kind<TZORNutriScore>("nutrition score",
            [](TZORNutriScore& n) {
                SetFigure(n);
                SetBox(n);
                n.SetValue(u'c');
                n.SetNutriType(TZORNutriType::TitleBefore);
                n.SetBaseGap(700);
                n.SetBaseGapValue(800);
                n.SetBaseMargin(900);
                n.SetTitle(QStringLiteral("Score"));
                n.SetShowTitle(true);
                for (int i = 0; i < 5; ++i)
                    n.SetGradeColor(i, TAlphaColor { 0xFF000010u + uint32_t(i) });
                n.SetTitleColor(TAlphaColor { 0xFF000020 });
                n.SetCharColor(TAlphaColor { 0xFF000021 });
                n.SetValueColor(TAlphaColor { 0xFF000022 });
                n.SetAngle(TZORAngle::Angle270);
                n.SetBaseRadio(1100);
                n.SetBaseInnerRadio(1200);
                n.SetMonochrome(true);
            }),
        Kind<TZORSymbol>("symbol",
            [](TZORSymbol& s) {
                SetCommon(s);
                SetAnchor(s);
                TZORLibSymbol definition;
                QString error;
                ASSERT_TRUE(definition.ReadJson(
                    TJsonObject::Parse(QStringLiteral(R"({"Name":"Valve","ID":"V-1","Def":[]})")), error))
                    << error.toStdString();
                s.SetSymbol(&definition);
                s.SetScale(2.5f);
                s.SetAngleDeg(30.0f);
            }),
    };
}

} // namespace

TEST(ElementSkeletons, EveryKindReadsBackItsRecordAndNothingMore)
{
    constexpr char Sentinel = 0x5A;
    for (const TKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        TTwoLayerLabel label;
        const auto sample = kind.sample(label);
        const QByteArray record = Record(*sample);

        TTwoLayerLabel target;
        TBinaryReader r(record + Sentinel);
        EXPECT_EQ(r.ReadInt32(), zor::Ord(sample->TypeCode()));
        TZORBaseItem* read = kind.read(target, ZORFileVersion, r, TZORReadType::Load);
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(r.BytesLeft(), 1);
        EXPECT_EQ(char(r.ReadByte()), Sentinel);
        EXPECT_EQ(target.GetItemsCount(), 1);
        EXPECT_EQ(read->TypeCode(), sample->TypeCode());
        EXPECT_EQ(Record(*read), record);
    }
}

TEST(ElementSkeletons, EveryKindReadsBackItsJsonObject)
{
    for (const TKind& kind : Kinds()) {
        SCOPED_TRACE(kind.name);
        TTwoLayerLabel label;
        const auto sample = kind.sample(label);
        const QString json = sample->WriteJson().ToJSON(false);

        TTwoLayerLabel target;
        TZORBaseItem* read = kind.readJson(target, ZORFileVersion, TJsonObject::Parse(json));
        ASSERT_NE(read, nullptr);
        EXPECT_EQ(target.GetItemsCount(), 1);
        EXPECT_EQ(read->WriteJson().ToJSON(false), json);
        EXPECT_EQ(Record(*read), Record(*sample));
    }
}

TEST(ElementSkeletons, SamplesSetEveryStoredFieldAwayFromItsDefault)
{
    for (const TKind& kind : Kinds()) {
        TTwoLayerLabel label;
        const auto sample = kind.sample(label);
        const auto fresh = kind.make(label, false);
        EXPECT_EQ(fresh->TypeCode(), sample->TypeCode()) << kind.name;
        for (const auto& f : sample->GetFields())
            EXPECT_TRUE(f.get(*sample) != f.get(*fresh)) << kind.name << ": " << f.key;
    }
}

TEST(ElementSkeletons, OnlySheetCopiesArePreviewElements)
{
    struct TCase {
        TZORReadType readType;
        bool preview;
    };
    const TCase cases[] = {
        { TZORReadType::Load, false },
        { TZORReadType::Paste, false },
        { TZORReadType::SheetCopy, true },
    };
    for (const TKind& kind : Kinds()) {
        TTwoLayerLabel label;
        const QByteArray record = Record(*kind.sample(label));
        for (const TCase& c : cases) {
            TBinaryReader r(record);
            r.ReadInt32();
            const TZORBaseItem* read = kind.read(label, ZORFileVersion, r, c.readType);
            ASSERT_NE(read, nullptr) << kind.name;
            EXPECT_EQ(read->IsPreview(), c.preview) << kind.name << ", read type " << int(c.readType);
        }
        EXPECT_FALSE(
            kind.readJson(label, ZORFileVersion, TJsonObject::Parse(QStringLiteral("{}")))->IsPreview());
    }
}

TEST(ElementSkeletons, TextsStartFromTheirFontDefaults)
{
    TTwoLayerLabel label;
    const TZORText text(&label);
    EXPECT_EQ(text.GetBaseFontHeight(), 10000);
    EXPECT_EQ(text.GetScale(), 1.0f);
    const TZORRichText rich(&label);
    EXPECT_EQ(rich.GetBaseFontHeight(), 6000);
    EXPECT_EQ(rich.GetScaleX(), 1.0f);
    // The readers' elements start from the same values: a JSON object without them keeps them.
    const auto* read = static_cast<TZORText*>(
        TZORText::ReadFromJson(label, ZORFileVersion, TJsonObject::Parse(QStringLiteral(R"({"Type":10})"))));
    EXPECT_EQ(read->GetBaseFontHeight(), 10000);
    EXPECT_EQ(read->GetScale(), 1.0f);
    EXPECT_EQ(read->GetPointsCount(), 2);
}

TEST(ElementSkeletons, LayerConstructorsRecordTheLayersPosition)
{
    TTwoLayerLabel label;
    TZORLayer* second = label.GetLayer(2);
    EXPECT_EQ(TZORText(&label, second).GetLayerIndex(), 2);
    EXPECT_EQ(TZORParagraph(&label, second).GetLayerIndex(), 2);
    EXPECT_EQ(TZORRichText(&label, second).GetLayerIndex(), 2);
    EXPECT_EQ(TZORLink(&label, second, false).GetLayerIndex(), 2);
    EXPECT_EQ(TZORLink(&label, 3, false).GetNumLinkPoints(), 3);
    EXPECT_FALSE(TZORText(&label).IsPreview());
}
