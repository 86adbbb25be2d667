#include "Zor.Json.h"
#include "kit/LabelStreams.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>

#include <gtest/gtest.h>

using zor::claWhite;
using zor::Ord;
using zor::TAlphaColor;
using zor::TJsonObject;

namespace {

void Mark(TZORLayer& layer, uint32_t fill = 0x12345678)
{
    layer.SetUnderline(true);
    layer.SetFillColor(TAlphaColor { fill });
    layer.SetLineType(TZORineType::Dash2_2);
}

TEST(LayerRecord, FillLineTypeAndUnderlineTravelInBothForms)
{
    TZORLabelVCL original;
    Mark(*original.AddLayer(QStringLiteral("Walls")));
    TZORLabelVCL binary;
    zor::test::LoadBinary(binary, zor::test::SaveBinary(original));
    ASSERT_EQ(binary.GetLayersCount(), 2);
    const TZORLayer& b = *binary.GetLayer(2);
    EXPECT_TRUE(b.GetUnderline());
    EXPECT_EQ(zor::Ord(b.GetFillColor()), 0x12345678u);
    EXPECT_EQ(b.GetLineType(), TZORineType::Dash2_2);

    TJsonObject layer;
    zor::FieldsToJson(layer, *original.GetLayer(2), TZORLayer::Fields());
    EXPECT_TRUE(layer.B("Underline"));
    EXPECT_EQ(layer.I("LineType"), 5);
    TZORLayer read;
    zor::FieldsFromJson(layer, read, TZORLayer::Fields());
    EXPECT_EQ(zor::Ord(read.GetFillColor()), 0x12345678u);
    EXPECT_EQ(read.GetLineType(), TZORineType::Dash2_2);
}

// A file of version 3101 has none of the three in its layer records: it reads without them and
// the layers keep their defaults.
TEST(LayerRecord, AnOlderFileReadsWithoutThem)
{
    TZORLabelVCL original;
    Mark(*original.GetLayer(1), 0x11223344);
    Mark(*original.AddLayer(QStringLiteral("Walls")));
    QByteArray bytes = zor::test::SaveBinary(original);
    for (const QByteArray& fields :
        { QByteArray("\x01\x44\x33\x22\x11\x05", 6), QByteArray("\x01\x78\x56\x34\x12\x05", 6) }) {
        ASSERT_EQ(bytes.count(fields), 1);
        bytes.remove(bytes.indexOf(fields), fields.size());
    }
    bytes.replace(0, 4, QByteArray("\x1D\x0C\x00\x00", 4));
    TZORLabelVCL old;
    zor::test::LoadBinary(old, bytes);
    ASSERT_EQ(old.GetLayersCount(), 2);
    EXPECT_EQ(old.GetLayer(2)->GetName(), QStringLiteral("Walls"));
    for (int32_t i = 1; i <= 2; ++i) {
        const TZORLayer& l = *old.GetLayer(i);
        EXPECT_FALSE(l.GetUnderline());
        EXPECT_EQ(l.GetFillColor(), zor::claWhite);
        EXPECT_EQ(l.GetLineType(), TZORineType::Solid);
    }
}

} // namespace
