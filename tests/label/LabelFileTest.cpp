#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.LibSymbol.h"
#include "Zor.Stream.h"
#include "Zor.Version.h"
#include "common/EveryKind.h"
#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"
#include "rtl/ErrorOf.h"

#include <QBuffer>

#include <gtest/gtest.h>

using zor::Ord;
using zor::TAlphaColor;
using zor::TBinaryWriter;
using zor::TJsonObject;

namespace {

using zor::test::FirstKindCode;
using zor::test::GivePoints;
using zor::test::LastKindCode;
using zor::test::NewElement;
using zor::test::ReadFile;
using zor::test::WriteFile;

// A label holding one element of every kind and a library symbol.
void FillEveryKind(TZORLabelVCL& label)
{
    label.Measure().SetLabelName(QStringLiteral("All kinds"));
    label.AddLayer(QStringLiteral("Top"));
    auto symbol = std::make_unique<TZORLibSymbol>();
    QString error;
    ASSERT_TRUE(symbol->ReadJson(
        TJsonObject::Parse(QStringLiteral(R"({"Name":"Valve","ID":"{7}","Def":[]})")), error))
        << error.toStdString();
    label.AddSymbol(std::move(symbol), true);
    for (int32_t code = FirstKindCode; code <= LastKindCode; ++code) {
        std::unique_ptr<TZORBaseItem> item = NewElement(label, code, 10000 * code);
        ASSERT_NE(item, nullptr) << code;
        item->SetColor(TAlphaColor { 0xFF000000u + uint32_t(code) });
        item->SetLayerIndex(1 + code % 2);
        label.AddItem(std::move(item));
    }
}

class LabelFiles : public zor::test::TempDirTest { };

} // namespace

TEST_F(LabelFiles, EveryKindSavedAndLoadedGivesTheSameFileInBothForms)
{
    TZORLabelVCL original;
    FillEveryKind(original);
    ASSERT_EQ(original.GetItemsCount(), 29);

    for (const auto& [name, kind] : { std::pair { QStringLiteral("label.eti"), TZORExt::Binary },
             std::pair { QStringLiteral("label.json"), TZORExt::Json } }) {
        SCOPED_TRACE(name.toStdString());
        const QString first = Path(name), second = Path(QStringLiteral("again-") + name);
        original.SaveToFile(first, kind);
        EXPECT_FALSE(original.GetModified());

        TZORLabelVCL copy;
        copy.LoadFromFile(first);
        ASSERT_EQ(copy.GetItemsCount(), 29);
        for (int32_t i = 1; i <= 29; ++i)
            EXPECT_EQ(zor::Ord(copy.GetItem(i)->TypeCode()), i);
        EXPECT_EQ(copy.GetSymbolsCount(), 1);
        copy.SaveToFile(second, kind);
        EXPECT_EQ(ReadFile(second), ReadFile(first));
    }
    // The JSON form: no byte-order mark, indented.
    const QByteArray json = ReadFile(Path(QStringLiteral("label.json")));
    EXPECT_TRUE(json.startsWith("{\n ")) << json.left(20).toStdString();
}

TEST_F(LabelFiles, OnlyTheTwoExtensionsLoadAndTheyAreCaseSensitive)
{
    TZORLabelVCL source;
    source.Measure().SetLabelName(QStringLiteral("named"));
    source.SaveToFile(Path(QStringLiteral("x.eti")), TZORExt::Binary);
    const QByteArray bytes = ReadFile(Path(QStringLiteral("x.eti")));
    const struct {
        const char* name;
        bool loads;
    } cases[] = {
        { "a.eti", true },
        { "a.ETI", false },
        { "a", false },
        { "a.eti.bak", false },
        { "a.Eti", false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = Path(QString::fromLatin1(c.name));
        ASSERT_TRUE(WriteFile(path, bytes));
        TZORLabelVCL label;
        label.LoadFromFile(path);
        EXPECT_EQ(label.Measure().GetLabelName() == QStringLiteral("named"), c.loads);
    }
}

TEST_F(LabelFiles, JsonItemsOfNoKindAreSkipped)
{
    const QString path = Path(QStringLiteral("items.json"));
    ASSERT_TRUE(WriteFile(path,
        "\xEF\xBB\xBF" // a byte-order mark is accepted
        R"({"Items":[{"Type":0},{"Type":6,"Points":[[0,0],[10,10]]},{"Type":30},)"
        R"({"Type":262},{"Type":2,"Points":[[0,0],[5,5]]}]})"));
    TZORLabelVCL label;
    label.LoadFromFile(path);
    ASSERT_EQ(label.GetItemsCount(), 2);
    EXPECT_EQ(label.GetItem(1)->TypeCode(), TZORItemType::Rectangle);
    EXPECT_EQ(label.GetItem(2)->TypeCode(), TZORItemType::Line);
}

// A hand-written label states the IDs of some elements only: the others get fresh IDs once the
// whole file is read, so no stated ID is taken from a later element (whose links would then
// point elsewhere). Of two elements stating one ID, the first keeps it.
TEST_F(LabelFiles, StatedIdsAreKeptAndTheOthersNumberedAfterTheRead)
{
    TZORLabelVCL written;
    for (const int32_t id : { 0, 1, 2, 1 }) {
        TZORBaseItem* item = written.AddBaseRectangle(0, 0, 1000, 1000);
        item->SetID(id);
    }
    for (const auto& [name, kind] : { std::pair { QStringLiteral("ids.eti"), TZORExt::Binary },
             std::pair { QStringLiteral("ids.json"), TZORExt::Json } }) {
        SCOPED_TRACE(name.toStdString());
        written.SaveToFile(Path(name), kind);
        TZORLabelVCL label;
        label.LoadFromFile(Path(name));
        ASSERT_EQ(label.GetItemsCount(), 4);
        EXPECT_EQ(label.GetItem(2)->GetID(), 1);
        EXPECT_EQ(label.GetItem(3)->GetID(), 2);
        EXPECT_EQ(label.GetItem(1)->GetID(), 3);
        EXPECT_EQ(label.GetItem(4)->GetID(), 4);
        EXPECT_EQ(label.SearchItem(1), label.GetItem(2));
        EXPECT_EQ(label.SearchItem(3), label.GetItem(1));
        // An element added afterwards takes the next one.
        EXPECT_EQ(label.AddBaseRectangle(0, 0, 1000, 1000)->GetID(), 5);
    }
}

TEST_F(LabelFiles, SavingWithAnUnknownKindWritesNothing)
{
    TZORLabelVCL label;
    label.SetModified(true);
    label.SaveToFile(Path(QStringLiteral("none.eti")), TZORExt(uint8_t(2)));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("none.eti"))));
    EXPECT_TRUE(label.GetModified());
}

TEST_F(LabelFiles, AFailedSaveLeavesTheOldFileWholeAndTheLabelModified)
{
    TZORLabelVCL label;
    FillEveryKind(label);
    for (TZORExt kind : { TZORExt::Binary, TZORExt::Json }) {
        const QString path = Path(QStringLiteral("kept"));
        ASSERT_TRUE(WriteFile(path, "old contents"));
        label.SetModified(true);
        QString reason;
        {
            zor::test::FileSizeLimit full(64);
            reason = zor::test::ErrorOf([&] { label.SaveToFile(path, kind); });
        }
        // The system's reason for the short write, not "Unknown error".
        EXPECT_TRUE(reason.endsWith(QStringLiteral(": File too large"))) << reason.toStdString();
        EXPECT_EQ(ReadFile(path), QByteArray("old contents"));
        EXPECT_TRUE(label.GetModified());
    }
}

TEST_F(LabelFiles, ATruncatedFileIsRejectedAndTheLabelStaysAsItWas)
{
    TZORLabelVCL source;
    FillEveryKind(source);
    QBuffer whole;
    whole.open(QIODevice::WriteOnly);
    source.SaveToStream(&whole);
    const QByteArray bytes = whole.data();

    TZORLabelVCL label;
    label.AddLayer(QStringLiteral("mine"));
    QBuffer before;
    before.open(QIODevice::WriteOnly);
    label.SaveToStream(&before);
    for (qsizetype cut :
        { qsizetype(0), qsizetype(3), bytes.size() / 3, bytes.size() / 2, bytes.size() - 1 }) {
        SCOPED_TRACE(cut);
        const QString path = Path(QStringLiteral("cut.eti"));
        ASSERT_TRUE(WriteFile(path, bytes.left(cut)));
        EXPECT_THROW(label.LoadFromFile(path), EZORError);
        QBuffer after;
        after.open(QIODevice::WriteOnly);
        label.SaveToStream(&after);
        EXPECT_EQ(after.data(), before.data());
        EXPECT_FALSE(label.IsUpdating());
    }
}

// A file written before a link's ends could lie anywhere along their sides has links that join
// the middles of the sides.
TEST_F(LabelFiles, AnOlderFilesLinksJoinTheMiddlesOfTheSides)
{
    TZORLabelVCL written;
    const int32_t a = TZORFactory::AddBaseFlow(written, 0, 0, 40000, 20000, TZORFlowType::Process)->GetID();
    const int32_t b
        = TZORFactory::AddBaseFlow(written, 60000, 0, 40000, 20000, TZORFlowType::Process)->GetID();
    using F = TZORBaseFlow;
    TZORLink* link
        = TZORFactory::AddBaseLink(written, a, b, F::TopAnchor, F::BottomAnchor, TZORinkType::Straight);
    link->SetFromAlong(0.3125f);
    link->SetToAlong(0.6875f);
    link->CalcValues(0);
    EXPECT_EQ(link->GetStartPoint(), (TZORPto { 12500, 0 }));
    EXPECT_EQ(link->GetEndPoint(), (TZORPto { 87500, 20000 }));
    written.SaveToFile(Path(QStringLiteral("new.eti")), TZORExt::Binary);
    // The same file as the version before wrote it: without the two places.
    QByteArray bytes = ReadFile(Path(QStringLiteral("new.eti")));
    const QByteArray places("\x00\x00\xA0\x3E\x00\x00\x30\x3F", 8);
    ASSERT_EQ(bytes.count(places), 1);
    bytes.remove(bytes.indexOf(places), places.size());
    const int32_t older = ZORLinkAlongVersion - 1;
    bytes.replace(0, 4, QByteArray(reinterpret_cast<const char*>(&older), 4));
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("old.eti")), bytes));

    TZORLabelVCL old;
    old.LoadFromFile(Path(QStringLiteral("old.eti")));
    ASSERT_EQ(old.GetItemsCount(), 3);
    const auto* read = dynamic_cast<const TZORLink*>(old.GetItem(3));
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->GetFromAlong(), TZORBaseLink::MiddleAlong);
    EXPECT_EQ(read->GetToAlong(), TZORBaseLink::MiddleAlong);
    EXPECT_EQ(read->GetStartPoint(), (TZORPto { 20000, 0 }));
    EXPECT_EQ(read->GetEndPoint(), (TZORPto { 80000, 20000 }));
}

TEST(LabelPaste, TwoElementsAreAddedSelectedAndAnEmptyBufferChangesNothing)
{
    TZORLabelVCL label;
    label.PasteSelection(); // nothing copied yet
    EXPECT_EQ(label.GetItemsCount(), 0);

    for (int32_t code : { 6, 10 }) {
        auto item = label.NewItem(code, false);
        GivePoints(*item, 0);
        label.AddItem(std::move(item));
    }
    label.Select(label.GetItem(1));
    label.Select(label.GetItem(2), true);
    label.CopySelection();
    label.Select(label.GetItem(1)); // the paste replaces this selection

    label.PasteSelection();
    ASSERT_EQ(label.GetItemsCount(), 4);
    EXPECT_EQ(label.GetItem(3)->TypeCode(), TZORItemType::Rectangle);
    EXPECT_EQ(label.GetItem(4)->TypeCode(), TZORItemType::Text);
    EXPECT_EQ(label.GetSelectionCount(), 2);
    EXPECT_TRUE(label.IsSelected(label.GetItem(3)));
    EXPECT_TRUE(label.IsSelected(label.GetItem(4)));
    EXPECT_NE(label.GetItem(3)->GetID(), label.GetItem(1)->GetID());
    EXPECT_TRUE(label.GetModified());
}

TEST(LabelStreams, OneElementFromTheSingleElementForm)
{
    TZORLabelVCL source;
    auto line = source.NewItem(2, false);
    GivePoints(*line, 0);
    TZORBaseItem* original = source.AddItem(std::move(line));
    QBuffer stream;
    stream.open(QIODevice::ReadWrite);
    {
        TBinaryWriter w(&stream);
        w.WriteInt32(ZORFileVersion);
        original->Write(w);
    }

    TZORLabelVCL label;
    TZORBaseItem* read = label.CreateElementFromStream(&stream);
    ASSERT_NE(read, nullptr);
    EXPECT_EQ(read->TypeCode(), TZORItemType::Line);
    EXPECT_EQ(read->GetPoint(2), original->GetPoint(2));
    EXPECT_EQ(label.GetSelectionCount(), 0);

    // A record of no kind: only its code is read, nothing is added.
    QBuffer unknown;
    unknown.open(QIODevice::ReadWrite);
    {
        TBinaryWriter w(&unknown);
        w.WriteInt32(ZORFileVersion);
        w.WriteInt32(31);
    }
    EXPECT_EQ(label.CreateElementFromStream(&unknown), nullptr);
    EXPECT_EQ(label.GetItemsCount(), 1);
}

TEST(LabelSnapshot, AJobsCopyHoldsEverythingAndStaysApart)
{
    TZORLabelVCL label;
    FillEveryKind(label);
    label.Measure().SetDrawScale(50);
    QBuffer original;
    original.open(QIODevice::WriteOnly);
    label.SaveToStream(&original);

    const std::unique_ptr<TZORLabelVCL> copy = label.Snapshot();
    QBuffer copied;
    copied.open(QIODevice::WriteOnly);
    copy->SaveToStream(&copied);
    EXPECT_EQ(copied.data(), original.data());

    // Editing the label leaves the job's copy as it was.
    label.DeleteItem(label.GetItem(1));
    EXPECT_EQ(copy->GetItemsCount(), 29);
}
