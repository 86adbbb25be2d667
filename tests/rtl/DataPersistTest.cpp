#include "ErrorOf.h"
#include "ModelFixture.h"
#include "Zor.Json.h"
#include "Zor.Stream.h"
#include "kit/TempDir.h"

#include <gtest/gtest.h>

using zor::TBinaryReader;
using zor::TJsonObject;

using namespace zor::test;

namespace {

void LoadBinary(TZORBaseLabel& label, const QByteArray& bytes)
{
    label.ReadTransaction([&] {
        TBinaryReader r(bytes);
        label.ReadLabel(r);
    });
}

void LoadJson(TZORBaseLabel& label, const QString& text)
{
    label.ReadTransaction([&] { label.ReadJsonLabel(TJsonObject::Parse(text)); });
}

const QString Products = QStringLiteral(R"({"Products":[{"name":"A","qty":2},{"name":"B","qty":1}]})");

std::shared_ptr<TZORMemoryDataSet> HostSet()
{
    return std::make_shared<TZORMemoryDataSet>(
        TZORDataFields { { QStringLiteral("sku"), TZORFieldType::String } },
        std::vector<std::vector<QVariant>> { { QStringLiteral("X1") } });
}

class DataPersist : public TempDirTest {
protected:
    // Every setting of the data away from its default.
    void Fill(TTestLabel& label)
    {
        TZORData& data = label.Data();
        const QString csv = Path(QStringLiteral("data.csv"));
        WriteFile(csv, "'name','price'\n'a,b','1.5'\n");
        ASSERT_TRUE(data.SetCsvData(csv, true, 2, 1));
        data.SetCsvField(1, TZORFieldType::String);
        ASSERT_TRUE(data.SetJson(Products));
        data.SetSaveJson(true);
        data.SetLinkData(true);
        data.SetDataSel(QStringLiteral("Products"));
        data.SetFieldRepeat(QStringLiteral("qty"));
        data.AttachDataset(QStringLiteral("Host"), HostSet());
        data.Datasets()[0].SetAlias(QStringLiteral("Stock"));
        data.Datasets()[0].GetFields()[0].SetAlias(QStringLiteral("Article"));
        data.Datasets()[0].GetFields()[0].SetType(TZORFieldType::Img64);
        TZORCounter* c = data.AddCounter(QStringLiteral("serial"));
        c->SetNumFrom(-5);
        c->SetNumTo(500);
        c->SetStep(5);
        c->SetRepeat(3);
        c->SetTextBefore(QStringLiteral("S-"));
        c->SetTextAfter(QStringLiteral("/24"));
        c->SetFormat(QStringLiteral("0000"));
        data.AddListVal(QStringLiteral("size"));
        data.GetListVal(1)->AssignValues({ QStringLiteral("S"), QStringLiteral("M ✓"), QString() });
        data.GetListVal(1)->SetValue(QStringLiteral("M ✓"));
        data.GetListVal(1)->SetAsk(false);
        data.AddAskVal(QStringLiteral("when"));
        TZRAskField* q = data.GetAskField(1);
        q->SetQuest(QStringLiteral("Packed on?"));
        q->SetAnsType(TZORAnsType::DateTime);
        q->SetText(QStringLiteral("t"));
        q->SetInteger(-9);
        q->SetNumber(2.75);
        q->SetDateTime(QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
        q->SetAsk(false);
    }
};

} // namespace

TEST_F(DataPersist, SaveAndLoadKeepEverySetting)
{
    TTestLabel original;
    Fill(original);
    const QByteArray binary = SaveBinary(original);
    const QString json = SaveJson(original);
    for (const bool fromJson : { false, true }) {
        TTestLabel copy;
        if (fromJson)
            LoadJson(copy, json);
        else
            LoadBinary(copy, binary);
        EXPECT_EQ(SaveBinary(copy), binary) << fromJson;
        EXPECT_EQ(SaveJson(copy), json) << fromJson;
        const TZORData& data = copy.Data();
        EXPECT_EQ(data.GetDatasetCount(), 3);
        EXPECT_EQ(data.GetCsvDataset()->GetFields()[1].GetType(), TZORFieldType::String);
        EXPECT_EQ(data.GetDataset(QStringLiteral("Stock"))->FieldIndex(QStringLiteral("article")), 0);
        EXPECT_EQ(data.GetDataset(QStringLiteral("Stock"))->GetSource(), nullptr); // the host attaches it
        EXPECT_EQ(copy.Data().GetAskField(1)->GetDateTime(), QDateTime(QDate(2024, 3, 5), QTime(14, 7, 9)));
        // The data works as it did: the CSV file is read again, the JSON data made anew.
        copy.CheckPrintData();
        EXPECT_EQ(copy.PrintRun().labelCount, 3);
        EXPECT_EQ(copy.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("A"));
        copy.Data().SetDataSel(data.GetCsvDataset()->GetName());
        copy.Data().SetFieldRepeat(QString());
        copy.CheckPrintData();
        EXPECT_EQ(copy.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("a,b"));
        EXPECT_EQ(copy.DataValue(QStringLiteral("serial"), QString(), 2), QStringLiteral("S--0005/24"));
    }
}

TEST_F(DataPersist, JsonDataIsSavedOnlyWhenAskedTo)
{
    TTestLabel label;
    ASSERT_TRUE(label.Data().SetJson(Products));
    EXPECT_FALSE(SaveJson(label).contains(QStringLiteral("\"Json\"")));
    TTestLabel copy;
    LoadBinary(copy, SaveBinary(label));
    EXPECT_EQ(copy.Data().GetDatasetCount(), 0);
    label.Data().SetSaveJson(true);
    LoadBinary(copy, SaveBinary(label));
    EXPECT_EQ(copy.Data().GetJson(), Products);
}

TEST_F(DataPersist, AFailedLoadPutsTheDataBack)
{
    TTestLabel label;
    ASSERT_TRUE(label.Data().SetJson(Products)); // not saved with the label: no binary form
    auto host = HostSet();
    label.Data().AttachDataset(QStringLiteral("Host"), host);
    label.Data().AddCounter(QStringLiteral("kept"));
    label.CheckPrintData();
    label.NextData();

    TTestLabel other;
    other.Data().AddCounter(QStringLiteral("other"));
    const QByteArray bytes = SaveBinary(other);
    ErrorOf([&] { LoadBinary(label, bytes.left(bytes.size() - 2)); });
    ErrorOf(
        [&] { LoadJson(label, QStringLiteral(R"({"Data":{"Counters":[{"Name":"x"}],"Separator":9}})")); });
    const TZORData& data = label.Data();
    EXPECT_EQ(data.GetJson(), Products);
    EXPECT_EQ(data.GetDataset(QStringLiteral("Host"))->GetSource(), host);
    ASSERT_EQ(data.GetCounterCount(), 1);
    EXPECT_EQ(data.GetCounter(1)->GetName(), QStringLiteral("kept"));
    EXPECT_EQ(label.PrintRun().labelCount, 2);
    EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("B"));
}

TEST_F(DataPersist, BadDataInAFileIsAClearError)
{
    const struct {
        const char* data;
        const char* says;
    } cases[] = {
        { R"({"Separator":9})", "Separator" },
        { R"({"Quote":3})", "Quote" },
        { R"({"CsvFile":"x.csv","CsvFields":[{"Name":"a","Type":8}]})", "Type" },
        { R"({"Datasets":[{"Name":"H","Fields":[{"Name":"a","Type":200}]}]})", "Type" },
        { R"({"Counters":[{"Name":"1"},{"Name":"2"},{"Name":"3"},{"Name":"4"},{"Name":"5"},{"Name":"6"}]})",
            "at most 5 counters" },
        { R"({"SaveJson":true,"Json":"[1]"})", "JSON[0]" },
        { R"({"Lists":[{"Name":"l","Values":[1]}]})", "Values[0]" },
    };
    for (const auto& c : cases) {
        TTestLabel label;
        const QString text = QStringLiteral(R"({"Data":%1})").arg(QString::fromUtf8(c.data));
        const QString error = ErrorOf([&] { LoadJson(label, text); });
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << c.data << ": " << error.toStdString();
        EXPECT_EQ(label.Data().GetCounterCount(), 0);
        EXPECT_TRUE(label.Data().GetCsvFile().isEmpty());
    }
}

TEST_F(DataPersist, ALabelWhoseCsvFileIsGoneStillLoads)
{
    TTestLabel label;
    const QString csv = Path(QStringLiteral("gone.csv"));
    WriteFile(csv, "a\n1\n");
    ASSERT_TRUE(label.Data().SetCsvData(csv, true, 1, 2));
    const QByteArray bytes = SaveBinary(label);
    QFile::remove(csv);
    TTestLabel copy;
    LoadBinary(copy, bytes);
    EXPECT_EQ(copy.Data().GetCsvFile(), csv);
    EXPECT_TRUE(ErrorOf([&] { copy.CheckPrintData(); }).contains(QStringLiteral("gone.csv")));
}

TEST_F(DataPersist, AttachedHostDataSetsOutliveALoad)
{
    TTestLabel saved;
    saved.Data().AttachDataset(QStringLiteral("Host"), HostSet());
    saved.Data().Datasets()[0].SetAlias(QStringLiteral("Stock"));
    const QByteArray bytes = SaveBinary(saved);

    TTestLabel label;
    auto host = HostSet();
    label.Data().AttachDataset(QStringLiteral("Host"), host);
    LoadBinary(label, bytes);
    const TZORDataset* set = label.Data().GetDataset(QStringLiteral("Stock"));
    ASSERT_NE(set, nullptr);
    EXPECT_EQ(set->GetSource(), host);
    label.CheckPrintData();
    EXPECT_EQ(label.DataValue(QStringLiteral("sku"), QString(), 1), QStringLiteral("X1"));
}
