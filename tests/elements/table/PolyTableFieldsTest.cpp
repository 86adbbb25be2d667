// The poly-text item's identifier, parentheses, back colour and fill, and the table column's
// fixed flag, travel through both file forms; a file of the version before them reads without
// them.

#include "Zor.Json.h"
#include "Zor.Poly.h"
#include "Zor.Stream.h"
#include "Zor.Table.h"
#include "kit/LabelStreams.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>

#include <gtest/gtest.h>

#include <functional>

using zor::TAlphaColor;
using zor::TBinaryWriter;
using zor::TJsonObject;

namespace {

TZORBasePoly& PolyOf(TZORLabelVCL& label)
{
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (auto* p = dynamic_cast<TZORBasePoly*>(label.GetItem(i)))
            return *p;
    throw std::runtime_error("no poly text");
}

TZORBaseTable& TableOf(TZORLabelVCL& label)
{
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        if (auto* t = dynamic_cast<TZORBaseTable*>(label.GetItem(i)))
            return *t;
    throw std::runtime_error("no table");
}

// A label with a poly text of two items (the first marked, the second plain) and a table of two
// columns (the first fixed).
void Fill(TZORLabelVCL& label)
{
    auto* poly = dynamic_cast<TZORBasePoly*>(label.AddItem(label.NewItem(20, false)));
    TZORDataPoly marked;
    marked.Text = QStringLiteral("0123");
    marked.IA = QStringLiteral("Q7");
    marked.AddPar = true;
    marked.BackColor = TAlphaColor { 0x12345678 };
    marked.FillBack = true;
    poly->AddItem(marked);
    TZORDataPoly plain;
    plain.Text = QStringLiteral("tail");
    poly->AddItem(plain);
    auto* table = dynamic_cast<TZORBaseTable*>(label.AddItem(label.NewItem(19, false)));
    table->SetColumns(2);
    table->GetColumn(1)->Fixed = true;
    table->GetColumn(1)->FooterFormat = QStringLiteral("ZZ9");
    table->GetColumn(2)->FieldName = QStringLiteral("after");
}

struct TFieldCase {
    const char* name;
    std::function<QString(TZORLabelVCL&)> read;
    const char* written;
    const char* old; // as a file of the version before reads it
};

const TFieldCase Cases[] = {
    { "IA", [](auto& l) { return PolyOf(l).GetItem(1)->IA; }, "Q7", "" },
    { "AddPar", [](auto& l) { return QString::number(PolyOf(l).GetItem(1)->AddPar); }, "1", "0" },
    { "BackColor", [](auto& l) { return QString::number(zor::Ord(PolyOf(l).GetItem(1)->BackColor), 16); },
        "12345678", "ffffffff" },
    { "FillBack", [](auto& l) { return QString::number(PolyOf(l).GetItem(1)->FillBack); }, "1", "0" },
    { "next item", [](auto& l) { return PolyOf(l).GetItem(2)->Text; }, "tail", "tail" },
    { "shown text", [](auto& l) { return PolyOf(l).JoinedText(); }, "(Q7)0123tail", "0123tail" },
    { "Fixed", [](auto& l) { return QString::number(TableOf(l).GetColumn(1)->Fixed); }, "1", "0" },
    { "next column", [](auto& l) { return TableOf(l).GetColumn(2)->FieldName; }, "after", "after" },
};

} // namespace

TEST(PolyTableFields, TravelInBothForms)
{
    TZORLabelVCL original;
    Fill(original);
    TZORLabelVCL binary;
    zor::test::LoadBinary(binary, zor::test::SaveBinary(original));
    TZORLabelVCL json;
    json.ReadJsonLabel(TJsonObject::Parse(original.GetJson().ToJSON()));
    for (const TFieldCase& c : Cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.read(binary), QString::fromLatin1(c.written));
        EXPECT_EQ(c.read(json), QString::fromLatin1(c.written));
    }
    const QString text = original.GetJson().ToJSON();
    EXPECT_TRUE(text.contains(QStringLiteral("\"AddPar\"")));
    EXPECT_TRUE(text.contains(QStringLiteral("\"Fixed\"")));
}

// A file of version 3102 holds none of the new fields: taking their bytes out and writing that
// version reads the poly text and the table whole, with the defaults.
TEST(PolyTableFields, AnOlderFileReadsWithoutThem)
{
    TZORLabelVCL original;
    Fill(original);
    // A reference line marks the block that version brought too, so that it can be taken out.
    ASSERT_TRUE(original.AddRefLine({ 12345, 0 }, { 12345, 1000 }));
    QByteArray refLines;
    {
        TBinaryWriter w(&refLines);
        w.WriteInt32(1);
        const TZORRefLine& line = *original.GetRefLine(1);
        for (int64_t v : { line.P1.X, line.P1.Y, line.P2.X, line.P2.Y })
            w.WriteInt64(v);
    }
    QByteArray bytes = zor::test::SaveBinary(original);
    ASSERT_EQ(bytes.count(refLines), 1);
    bytes.remove(bytes.indexOf(refLines), refLines.size());
    const QByteArray item("\x02Q7\x01\x78\x56\x34\x12\x01", 9);
    ASSERT_EQ(bytes.count(item), 1);
    bytes.replace(bytes.indexOf(item), item.size(), QByteArray());
    // The plain item's four fields: no identifier, no parentheses, white, no fill.
    const QByteArray plain("tail", 4);
    const qsizetype tail = bytes.indexOf(plain);
    ASSERT_GE(tail, 0);
    const qsizetype rest = bytes.indexOf(QByteArray("\x00\x00\xFF\xFF\xFF\xFF\x00", 7), tail);
    ASSERT_GT(rest, tail);
    bytes.remove(rest, 7);
    const QByteArray fixed("\x03ZZ9\x01", 5);
    ASSERT_EQ(bytes.count(fixed), 1);
    bytes.remove(bytes.indexOf(fixed) + 4, 1);
    // The second column's flag follows its empty format, aggregate and footer format.
    const QByteArray after("\x05"
                           "after\x00\x00\x00\x00",
        10);
    ASSERT_EQ(bytes.count(after), 1);
    bytes.remove(bytes.indexOf(after) + 9, 1);
    bytes.replace(0, 4, QByteArray("\x1E\x0C\x00\x00", 4));
    TZORLabelVCL old;
    zor::test::LoadBinary(old, bytes);
    for (const TFieldCase& c : Cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.read(old), QString::fromLatin1(c.old));
    }
}
