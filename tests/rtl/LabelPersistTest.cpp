#include "ErrorOf.h"
#include "ModelFixture.h"
#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.Stream.h"

#include <gtest/gtest.h>

using zor::claWhite;
using zor::TAlphaColor;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TJsonObject;

using namespace zor::test;

namespace {

void LoadBinary(TZORBaseLabel& label, const QByteArray& bytes)
{
    label.ReadTransaction([&] {
        TBinaryReader r(bytes);
        label.BeginRead(false);
        label.ReadLabel(r);
        label.EndRead(true);
    });
}

void LoadJson(TZORBaseLabel& label, const QString& text)
{
    label.ReadTransaction([&] {
        const TJsonObject o = TJsonObject::Parse(text);
        label.BeginRead(false);
        label.ReadJsonLabel(o);
        label.EndRead(true);
    });
}

// A label that already holds something, so that "left as it was" means more than empty.
void FillBefore(TTestLabel& label)
{
    label.Measure().SetWidth(12345);
    label.Add(7, 8)->fCaption = QStringLiteral("kept");
    label.AddLayer(QStringLiteral("kept layer"));
    label.SetModified(false);
}

} // namespace

TEST(LabelPersist, BinarySaveLoadSaveGivesTheSameBytes)
{
    TTestLabel original;
    FillSample(original);
    const QByteArray first = SaveBinary(original);

    TTestLabel copy;
    TRecorder rec;
    copy.Attach(&rec);
    LoadBinary(copy, first);
    EXPECT_EQ(SaveBinary(copy), first);
    EXPECT_EQ(SaveJson(copy), SaveJson(original));
    EXPECT_FALSE(copy.GetModified());
    // One of each notice after the load, the paper size first.
    EXPECT_EQ(
        rec.changes, (std::vector<TZRChange> { TZRChange::Settings, TZRChange::Redraw, TZRChange::Units }));

    auto* a = static_cast<TTestItem*>(copy.GetItem(1));
    EXPECT_EQ(a->fCaption, QStringLiteral("Größe 10×20"));
    EXPECT_EQ(a->fCount, -7);
    EXPECT_EQ(a->GetBackColor(), TAlphaColor { 0x80FF0000 });
    EXPECT_EQ(a->Alpha(), 0x80);
    EXPECT_EQ(copy.GetItem(3)->GetPoint(1).X, int64_t(5) * 1000 * 1000 * 1000);
    EXPECT_EQ(copy.GetLayer(2)->GetImgBytes(), QByteArray("\x89PNG\r\n\x1a\n\0\1", 10));
    EXPECT_EQ(copy.GetSymbol(1)->GetName(), QStringLiteral("Valve"));
    EXPECT_EQ(copy.GetActiveDimStyle()->fPrefix, QStringLiteral("⌀"));
}

TEST(LabelPersist, JsonSaveLoadSaveGivesTheSameText)
{
    TTestLabel original;
    FillSample(original);
    const QString first = SaveJson(original);

    TTestLabel copy;
    LoadJson(copy, first);
    EXPECT_EQ(SaveJson(copy), first);
    EXPECT_EQ(SaveBinary(copy), SaveBinary(original));

    const TJsonObject o = TJsonObject::Parse(first);
    EXPECT_EQ(o.A("Items").Count(), 3);
    EXPECT_EQ(o.A("Items").O(0).I("Type"), 6);
}

TEST(LabelPersist, JsonElementsOfUnknownKindAreSkipped)
{
    TTestLabel label;
    LoadJson(label,
        QStringLiteral(R"({"Items":[{"Type":0},{"Type":6,"Points":[[1,2],[3,4]]},)"
                       R"({"Type":30},{"Type":3},{"Type":6}]})"));
    ASSERT_EQ(label.GetItemsCount(), 2);
    EXPECT_EQ(label.GetItem(1)->GetPoint(2), (TZORPto { 3, 4 }));
}

TEST(LabelPersist, EveryTruncationIsRejectedAndLeavesTheLabelAsItWas)
{
    TTestLabel sample;
    FillSample(sample);
    const QByteArray full = SaveBinary(sample);

    TTestLabel label;
    FillBefore(label);
    const QByteArray before = SaveBinary(label);
    TRecorder rec;
    label.Attach(&rec);
    for (int cut = 0; cut < full.size(); ++cut) {
        SCOPED_TRACE(cut);
        EXPECT_THROW(LoadBinary(label, full.left(cut)), EZORError);
        ASSERT_EQ(SaveBinary(label), before);
        EXPECT_FALSE(label.GetModified());
        EXPECT_FALSE(label.IsUpdating());
    }
    EXPECT_TRUE(rec.changes.empty());
    LoadBinary(label, full); // and a whole stream still loads afterwards
    EXPECT_EQ(label.GetItemsCount(), 1 + 3);
}

TEST(LabelPersist, CorruptStreamsAreRejectedWithAClearError)
{
    TTestLabel sample;
    // The frame: header and data, symbol count, element count, element records.
    const int recordAt = int(SaveBinary(sample).size());
    sample.Add(0, 0)->fCaption = QStringLiteral("x");
    const QByteArray good = SaveBinary(sample);

    struct TCase {
        const char* name;
        std::function<void(QByteArray&)> spoil;
    };
    const std::vector<TCase> cases {
        { "newer file version",
            [](QByteArray& b) {
                b[0] = char(0x7F);
                b[1] = char(0x7F);
            } },
        { "negative symbol count",
            [&](QByteArray& b) { b.replace(recordAt - 8, 4, QByteArray("\xFF\xFF\xFF\xFF", 4)); } },
        { "element count beyond the bytes left",
            [&](QByteArray& b) { b.replace(recordAt - 4, 4, QByteArray("\xFF\xFF\xFF\x7F", 4)); } },
        { "unknown element type", [&](QByteArray& b) { b[recordAt] = char(99); } },
        // Type code, ID, layer, options and colour come before the pen width.
        { "pen width not a number",
            [&](QByteArray& b) { b.replace(recordAt + 18, 4, QByteArray("\x00\x00\xC0\x7F", 4)); } },
        // The record ends with its two points; the first's x becomes the smallest 64-bit value.
        { "a point beyond the largest label",
            [](QByteArray& b) { b.replace(b.size() - 32, 8, QByteArray("\0\0\0\0\0\0\0\x80", 8)); } },
        { "string length beyond the bytes left",
            [&](QByteArray& b) {
                // The caption is the last field before the point count: its length byte.
                b[b.size() - (4 + 32) - (2 + 8) - 2] = char(0x7F);
            } },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.name);
        QByteArray bad = good;
        c.spoil(bad);
        TTestLabel label;
        FillBefore(label);
        const QByteArray before = SaveBinary(label);
        EXPECT_FALSE(ErrorOf([&] { LoadBinary(label, bad); }).isEmpty());
        EXPECT_EQ(SaveBinary(label), before);
    }
}

TEST(LabelPersist, JsonWithWrongTypesIsRejectedNamingTheMember)
{
    struct TCase {
        const char* json;
        const char* key;
    };
    const TCase cases[] = {
        { R"({"Measure":{"Width":"wide"}})", "Width" },
        { R"({"Units":1.5})", "Units" },
        { R"({"Layers":[{"Name":3}]})", "Name" },
        { R"({"Layers":[]})", nullptr },
        { R"({"Items":[{"Type":"6"}]})", "Type" },
        { R"({"Items":[{"Type":6,"Points":"none"}]})", "Points" },
        { R"({"Items":[{"Type":6,"Points":[[1,2,3]]}]})", nullptr },
        { R"({"Items":[{"Type":6,"Points":[[-9223372036854775808,0]]}]})", "beyond" },
        { R"({"Items":[{"Type":6,"Points":[[0,1000000000001]]}]})", "beyond" },
        { R"({"Items":[{"Type":6,"Count":70000}]})", "Count" },
        { R"({"Items":[7]})", nullptr },
        { R"({"Symbols":[{"Name":"","Def":[]}]})", nullptr },
        { R"({"Layers":[{"ImgBytes":"**"}]})", "ImgBytes" },
    };
    for (const TCase& c : cases) {
        SCOPED_TRACE(c.json);
        TTestLabel label;
        FillBefore(label);
        const QString before = SaveJson(label);
        const QString message = ErrorOf([&] { LoadJson(label, QString::fromUtf8(c.json)); });
        if (c.key) {
            EXPECT_TRUE(message.contains(QLatin1String(c.key))) << message.toStdString();
        }
        EXPECT_EQ(SaveJson(label), before);
    }
}

TEST(LabelPersist, SheetCopiesAreReadAsPreviewElements)
{
    TTestLabel source;
    source.Add(0, 0);
    QByteArray record;
    {
        TBinaryWriter w(&record);
        source.GetItem(1)->Write(w);
    }
    TTestLabel label;
    for (TZORReadType type : { TZORReadType::Load, TZORReadType::Paste, TZORReadType::SheetCopy }) {
        TBinaryReader r(record);
        TZORBaseItem* item = label.ReadItem(r, 3100, type);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->IsPreview(), type == TZORReadType::SheetCopy);
    }
}

// A file of version 3100 has no line-end fill colour in its settings record, nor the underline,
// fill colour and line type of its layer records: it reads without them, keeps the defaults, and
// everything after them still lines up.
TEST(LabelPersist, AnOlderFileReadsWithoutTheFieldsAddedSince)
{
    TTestLabel original;
    FillSample(original);
    original.Settings().SetFillTermColor(TAlphaColor(0x12345678));
    original.GetLayer(1)->SetFillColor(TAlphaColor(0x11223344));
    original.GetLayer(2)->SetFillColor(TAlphaColor(0x55667788));
    ASSERT_TRUE(original.AddRefLine({ 12345, 0 }, { 12345, 1000 }));
    QByteArray refLines; // the reference-line block, which came with a later version
    {
        TBinaryWriter w(&refLines);
        w.WriteInt32(1);
        for (int64_t v : { original.GetRefLine(1)->P1.X, original.GetRefLine(1)->P1.Y,
                 original.GetRefLine(1)->P2.X, original.GetRefLine(1)->P2.Y })
            w.WriteInt64(v);
    }
    QByteArray bytes = SaveBinary(original);
    ASSERT_TRUE(original.DeleteRefLine(1));
    for (const QByteArray& mark :
        { QByteArray("\x78\x56\x34\x12", 4), QByteArray("\x00\x44\x33\x22\x11\x00", 6),
            QByteArray("\x00\x88\x77\x66\x55\x00", 6), refLines }) {
        ASSERT_EQ(bytes.count(mark), 1);
        bytes.remove(bytes.indexOf(mark), mark.size());
    }
    const QByteArray version3100("\x1C\x0C\x00\x00", 4);
    bytes.replace(0, 4, version3100);

    TTestLabel old;
    LoadBinary(old, bytes);
    EXPECT_EQ(old.Settings().GetFillTermColor(), zor::claWhite);
    original.Settings().SetFillTermColor(zor::claWhite);
    original.GetLayer(1)->SetFillColor(zor::claWhite);
    original.GetLayer(2)->SetFillColor(zor::claWhite);
    EXPECT_EQ(SaveJson(old), SaveJson(original));
}
