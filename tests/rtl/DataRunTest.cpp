#include "ErrorOf.h"
#include "KindStubs.h"
#include "Zor.Barcode.h"
#include "Zor.Data.h"
#include "Zor.Format.h"
#include "Zor.Text.h"
#include "kit/TempDir.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <limits>

using zor::FormatFloat;

using namespace zor::test;

namespace {

const QDateTime When(QDate(2024, 3, 5), QTime(14, 7, 9));

// Answers every prompt at once; a list or question named "cancel" is cancelled.
class TAnswers : public IZORPrompter {
public:
    bool ChooseFromList(TZRValList& list) override
    {
        asked << list.GetName();
        list.SetValue(list.GetValues().value(1));
        return list.GetName() != QLatin1String("cancel");
    }
    bool Answer(TZRAskField& q) override
    {
        asked << q.GetName();
        q.SetText(QStringLiteral("answered"));
        q.SetInteger(42);
        q.SetNumber(3.14159);
        q.SetDateTime(When);
        return q.GetName() != QLatin1String("cancel");
    }
    QStringList asked;
};

// A host data set that makes its records as it goes: record i has the fields n = i and
// name = "N<i>", a date, and a blob.
class THostSet : public IZORDataSet {
public:
    explicit THostSet(int count)
        : fCount(count)
    {
    }
    TZORDataFields Fields() const override
    {
        return { { QStringLiteral("n"), TZORFieldType::Integer },
            { QStringLiteral("name"), TZORFieldType::String },
            { QStringLiteral("when"), TZORFieldType::String },
            { QStringLiteral("blob"), TZORFieldType::ImgBlob } };
    }
    std::unique_ptr<IZORRecordCursor> Open() const override
    {
        ++opened;
        struct TCursor : IZORRecordCursor {
            int i = 0, count = 0;
            bool Next(std::vector<QVariant>& values) override
            {
                if (i >= count)
                    return false;
                ++i;
                values = { i, QStringLiteral("N%1").arg(i), When.addDays(i),
                    QByteArray("blob") + QByteArray::number(i) };
                return true;
            }
        };
        auto c = std::make_unique<TCursor>();
        c->count = fCount;
        return c;
    }
    mutable int opened = 0;

private:
    int fCount;
};

class DataRun : public TempDirTest {
protected:
    QString Csv(const QByteArray& bytes, const QString& name = QStringLiteral("data.csv"))
    {
        const QString path = Path(name);
        WriteFile(path, bytes);
        return path;
    }
    // A text element bound to name by fillType.
    TZORBaseText* Bound(TZORFillType fillType, const QString& name, const QString& format = QString())
    {
        auto* text = Stub<TZORBaseText>(label);
        text->SetFillType(uint8_t(fillType));
        text->SetFillName(name);
        text->SetFormat(format);
        return text;
    }
    QString Value(const TZORBaseItem* item) const
    {
        return label.DataValue(item->FillName(), item->GetFormat(), item->FillType());
    }
    // Twenty records R1 .. R20.
    void TwentyRecords()
    {
        QByteArray csv = "name\n";
        for (int i = 1; i <= 20; ++i)
            csv += "R" + QByteArray::number(i) + "\n";
        ASSERT_TRUE(label.Data().SetCsvData(Csv(csv), true, 1, 2));
    }

    TKindLabel label;
};

} // namespace

TEST_F(DataRun, TextAndBarcodeBoundToCsvFieldsWalkTenRecords)
{
    QByteArray csv = "name;code;price\n";
    for (int i = 1; i <= 10; ++i)
        csv += "Item " + QByteArray::number(i) + ";40000000" + QByteArray::number(1000 + i) + ";"
            + QByteArray::number(1234.5 * i) + "\n";
    ASSERT_TRUE(label.Data().SetCsvData(Csv(csv), true, 1, 2));
    TZORBaseText* text = Bound(TZORFillType::Field, QStringLiteral("name"));
    TZORBaseText* price = Bound(TZORFillType::Field, QStringLiteral("PRICE"), QStringLiteral("#,##0.00"));
    auto* barcode = Stub<TZORBaseBarcode>(label);
    barcode->SetFillType(uint8_t(TZORFillType::Field));
    barcode->SetFillName(QStringLiteral("code"));
    label.Measure().SetNuHor(2);
    label.Measure().SetNuVer(3);
    label.PrintInfo().SetFirstRow(2);

    label.CheckPrintData();
    const TZORPrintRun& run = label.PrintRun();
    EXPECT_EQ(run.labelCount, 10);
    EXPECT_EQ(run.sheetCount, 3); // three positions left free, then 6 + 4
    EXPECT_TRUE(run.dataRun);
    for (int i = 1; i <= 10; ++i) {
        EXPECT_EQ(Value(text), QStringLiteral("Item %1").arg(i));
        EXPECT_EQ(Value(price), zor::FormatFloat(QStringLiteral("#,##0.00"), 1234.5 * i));
        const QByteArray code = Value(barcode).toLatin1();
        EXPECT_EQ(code, "40000000" + QByteArray::number(1000 + i));
        TZOR128AutoType autoType;
        EXPECT_EQ(TZORBarEncoder::PrepareBarcode(code, TZORBarType::EAN13, false, false, autoType).size(), 13)
            << i;
        label.NextData();
    }
    EXPECT_EQ(Value(price), QString()); // past the last record
    EXPECT_EQ(Value(text), QString());
    label.NextData(); // and no further harm
    EXPECT_EQ(label.Data().GetLabel(), 10);
}

TEST_F(DataRun, CountersCountWithStepFormatRepeatAndLimit)
{
    const struct {
        const char* name;
        int64_t from, to;
        int32_t step, repeat;
        const char *format, *before, *after;
        const char* values[6];
    } counters[] = {
        { "plain", 1, 0, 1, 1, "", "", "", { "1", "2", "3", "4", "5", "6" } },
        { "down", 100, 0, -5, 1, "0000", "N-", "/A",
            { "N-0100/A", "N-0095/A", "N-0090/A", "N-0085/A", "N-0080/A", "N-0075/A" } },
        { "pairs", 1, 0, 1, 2, "", "", "", { "1", "1", "2", "2", "3", "3" } },
        { "wrap", 1, 3, 1, 1, "", "", "", { "1", "2", "3", "1", "2", "3" } },
        { "grouped", 999998, 0, 1, 1, "#,##0", "", "",
            { "999,998", "999,999", "1,000,000", "1,000,001", "1,000,002", "1,000,003" } },
    };
    std::vector<TZORBaseText*> texts;
    for (const auto& c : counters) {
        TZORCounter* counter = label.Data().AddCounter(QString::fromUtf8(c.name));
        ASSERT_NE(counter, nullptr);
        counter->SetNumFrom(c.from);
        counter->SetNumTo(c.to);
        counter->SetStep(c.step);
        counter->SetRepeat(c.repeat);
        counter->SetFormat(QString::fromUtf8(c.format));
        counter->SetTextBefore(QString::fromUtf8(c.before));
        counter->SetTextAfter(QString::fromUtf8(c.after));
        texts.push_back(Bound(TZORFillType::Counter, QString::fromUtf8(c.name)));
    }
    EXPECT_EQ(label.Data().AddCounter(QStringLiteral("sixth")), nullptr);
    EXPECT_EQ(label.GetCounterCount(), TZORData::MaxCounters);
    EXPECT_TRUE(label.CounterName(QStringLiteral("PLAIN"), label.GetCounter(2)));
    EXPECT_FALSE(label.CounterName(QStringLiteral("plain"), label.GetCounter(1)));

    // Six labels, each printed twice: the counters count labels, not copies.
    label.PrintInfo().SetLabs(6);
    label.PrintInfo().SetRepetition(2);
    label.CheckPrintData();
    EXPECT_EQ(label.PrintRun().labelCount, 12);
    EXPECT_TRUE(label.PrintRun().dataRun);
    for (int k = 0; k < 12; ++k, label.NextData())
        for (size_t c = 0; c < std::size(counters); ++c)
            EXPECT_EQ(Value(texts[c]), QString::fromUtf8(counters[c].values[k / 2]))
                << counters[c].name << " " << k;
}

TEST(Counter, ValuesAtTheEdgesOfTheRangeSaturate)
{
    TZORCounter c;
    c.SetNumFrom(std::numeric_limits<int64_t>::max() - 1);
    c.SetStep(std::numeric_limits<int32_t>::max());
    EXPECT_EQ(c.ValueAt(std::numeric_limits<int64_t>::max()), std::numeric_limits<int64_t>::max());
    c.SetNumFrom(std::numeric_limits<int64_t>::min());
    c.SetNumTo(-1);
    c.SetStep(std::numeric_limits<int32_t>::min());
    EXPECT_EQ(c.ValueAt(2), std::numeric_limits<int64_t>::min()); // -1 is on the other side: no limit
    c.SetRepeat(0);
    EXPECT_EQ(c.GetRepeat(), 1);
}

TEST_F(DataRun, TheRepeatFieldAndTheRepetitionSetHowOftenARecordPrints)
{
    ASSERT_TRUE(label.Data().SetCsvData(Csv("name;qty\nA;2\nB;0\nC;3\nD;x\nE;-4\n"), true, 1, 2));
    label.Data().SetFieldRepeat(QStringLiteral("qty"));
    label.PrintInfo().SetRepetition(2);
    label.Data().AddCounter(QStringLiteral("n"))->SetNumFrom(1);
    const TZORBaseText* name = Bound(TZORFillType::Field, QStringLiteral("name"));
    const TZORBaseText* counter = Bound(TZORFillType::Counter, QStringLiteral("n"));
    label.CheckPrintData();
    // A twice, B not at all, C three times, D once (no whole number), E not at all; each twice.
    const QString expected = QStringLiteral("A1A1A1A1C2C2C2C2C2C2D3D3");
    EXPECT_EQ(label.PrintRun().labelCount, expected.size() / 2);
    QString walked;
    for (int i = 0; i < label.PrintRun().labelCount; ++i, label.NextData())
        walked += Value(name) + Value(counter);
    EXPECT_EQ(walked, expected);
}

TEST_F(DataRun, ListChoicesAndQuestionsAreAnsweredThroughThePrompter)
{
    TZORData& data = label.Data();
    for (const char* name : { "size", "cancel", "quiet" }) {
        ASSERT_TRUE(data.AddListVal(QString::fromUtf8(name)));
        TZRValList* list = data.GetListVal(data.GetNumListVal());
        list->AssignValues({ QStringLiteral("first"), QStringLiteral("second") });
        list->SetValue(QStringLiteral("before"));
    }
    EXPECT_FALSE(data.AddListVal(QStringLiteral("SIZE")));
    EXPECT_FALSE(data.AddListVal(QStringLiteral(" ")));
    data.GetListVal(3)->SetAsk(false);
    const struct {
        const char* name;
        TZORAnsType type;
        const char* format;
        const char* shown;
    } questions[] = {
        { "who", TZORAnsType::Text, "", "answered" },
        { "count", TZORAnsType::Integer, "000", "042" },
        { "weight", TZORAnsType::Number, "0.00", "3.14" },
        { "when", TZORAnsType::DateTime, "dd/mm/yyyy hh:nn", "05/03/2024 14:07" },
        { "cancel", TZORAnsType::Integer, "", "7" },
        { "quiet", TZORAnsType::Text, "", "kept" },
    };
    std::vector<const TZORBaseText*> asks;
    for (const auto& q : questions) {
        ASSERT_TRUE(data.AddAskVal(QString::fromUtf8(q.name)));
        TZRAskField* ask = data.GetAskField(data.GetNumQuestions());
        ask->SetAnsType(q.type);
        ask->SetInteger(7);
        ask->SetText(QStringLiteral("kept"));
        asks.push_back(Bound(TZORFillType::Ask, QString::fromUtf8(q.name), QString::fromUtf8(q.format)));
    }
    data.GetAskField(6)->SetAsk(false);
    const TZORBaseText* size = Bound(TZORFillType::List, QStringLiteral("size"));
    const TZORBaseText* cancelled = Bound(TZORFillType::List, QStringLiteral("cancel"));

    label.CheckPrintData(); // no prompter: everything keeps its value
    EXPECT_EQ(Value(size), QStringLiteral("before"));
    EXPECT_EQ(Value(asks[1]), QStringLiteral("007"));

    TAnswers answers;
    label.SetPrompter(&answers);
    label.CheckPrintData();
    EXPECT_EQ(answers.asked, QStringList({ "size", "cancel", "who", "count", "weight", "when", "cancel" }));
    EXPECT_EQ(Value(size), QStringLiteral("second"));
    EXPECT_EQ(Value(cancelled), QStringLiteral("before"));
    for (size_t i = 0; i < std::size(questions); ++i)
        EXPECT_EQ(Value(asks[i]), QString::fromUtf8(questions[i].shown)) << questions[i].name;
    // Only the answer of the question's kind is taken over.
    EXPECT_EQ(data.GetAskField(2)->GetText(), QStringLiteral("kept"));
    EXPECT_FALSE(label.PrintRun().dataRun);
}

TEST_F(DataRun, BindingsToNothingAreClearErrorsAndTheRunStaysAsItWas)
{
    TwentyRecords();
    label.Data().AddCounter(QStringLiteral("c"));
    Bound(TZORFillType::Field, QStringLiteral("name"));
    label.CheckPrintData();
    label.NextData();
    const struct {
        const char* name;
        TZORFillType fillType;
        const char* fillName;
        const char* dataSel;
        const char* repeat;
        const char* says;
    } cases[] = {
        { "unknown field", TZORFillType::Field, "nope", nullptr, "", "\"nope\"" },
        { "unknown counter", TZORFillType::Counter, "d", nullptr, "", "counter \"d\"" },
        { "unknown list", TZORFillType::List, "l", nullptr, "", "list \"l\"" },
        { "unknown question", TZORFillType::Ask, "q", nullptr, "", "question \"q\"" },
        { "unknown data set", TZORFillType::Counter, "c", "ghost", "", "data set \"ghost\"" },
        { "field without a data set", TZORFillType::Field, "name", "", "", "\"name\"" },
        { "unknown repeat field", TZORFillType::Counter, "c", nullptr, "qty", "\"qty\"" },
    };
    const QString dataSel = label.Data().GetDataSel();
    for (const auto& c : cases) {
        TZORBaseText* text = Bound(c.fillType, QString::fromUtf8(c.fillName));
        label.Data().SetDataSel(c.dataSel ? QString::fromUtf8(c.dataSel) : dataSel);
        label.Data().SetFieldRepeat(QString::fromUtf8(c.repeat));
        const QString error = ErrorOf([&] { label.CheckPrintData(); });
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << c.name << ": " << error.toStdString();
        EXPECT_EQ(label.PrintRun().labelCount, 20) << c.name;
        EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("R2")) << c.name;
        label.DeleteItem(text);
    }
    // A kind of binding this library does not know prints as unbound.
    label.Data().SetDataSel(dataSel);
    label.Data().SetFieldRepeat(QString());
    Bound(TZORFillType(9), QStringLiteral("x"));
    label.CheckPrintData();
    EXPECT_EQ(label.DataValue(QStringLiteral("x"), QString(), 9), QString());
}

TEST_F(DataRun, AFileSpoiltAfterItsCheckFailsThePreparationCleanly)
{
    const QString path = Csv("a;b\n1;2\n3;4\n");
    ASSERT_TRUE(label.Data().SetCsvData(path, true, 1, 2));
    label.CheckPrintData();
    WriteFile(path, "a;b\n1;2\n3\n");
    EXPECT_TRUE(ErrorOf([&] { label.CheckPrintData(); }).contains(QStringLiteral("line 3")));
    QFile::remove(path);
    EXPECT_TRUE(ErrorOf([&] { label.CheckPrintData(); }).contains(QStringLiteral("data.csv")));
    EXPECT_EQ(label.PrintRun().labelCount, 2);
    EXPECT_EQ(label.DataValue(QStringLiteral("a"), QString(), 1), QStringLiteral("1"));
}

TEST_F(DataRun, APageIsFilledAndDrawnInAnyOrder)
{
    TwentyRecords();
    label.Measure().SetNuHor(2);
    label.Measure().SetNuVer(3);
    label.PrintInfo().SetFirstCol(2);
    label.CheckPrintData();
    EXPECT_EQ(label.PrintRun().sheetCount, 4);
    TZORData::TPageReader reader(label.Data());
    std::vector<TZORRecord> page;
    const auto at = [&](int32_t row, int32_t column) {
        return label.DataValue(
            QStringLiteral("name"), QString(), 1, page[size_t((row - 1) * 3 + column - 1)]);
    };
    page = label.SheetRecords(2, reader);
    EXPECT_EQ(at(2, 3), QStringLiteral("R11"));
    EXPECT_EQ(at(1, 1), QStringLiteral("R6"));
    // The cursor, which reading the page did not move.
    EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("R1"));
    page = label.SheetRecords(1, reader);
    EXPECT_EQ(at(1, 1), QString()); // left free on the first sheet
    EXPECT_EQ(at(1, 2), QStringLiteral("R1"));
    page = label.SheetRecords(4, reader);
    EXPECT_EQ(at(1, 3), QStringLiteral("R20"));
    EXPECT_EQ(at(2, 1), QString()); // after the last label

    label.GoToPage(3, true);
    EXPECT_EQ(label.PrintRun().sheetCounter, 3);
    EXPECT_EQ(label.PrintRun().labelCounter, 12);
    EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("R12"));
    label.GoToPage(99, true);
    EXPECT_EQ(label.PrintRun().sheetCounter, 4);
    EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("R18"));
    label.GoToPage(-5, true); // back to the first sheet: the cursor opens its data anew
    EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("R1"));
    page = label.SheetRecords(1, reader);
    EXPECT_EQ(at(1, 3), QStringLiteral("R2"));
}

TEST_F(DataRun, ACopyOfTheDataWalksOnFromWhereItWas)
{
    TwentyRecords();
    label.CheckPrintData();
    label.Data().GoToLabel(11);
    TZORData copy = label.Data();
    EXPECT_EQ(copy.Value(QStringLiteral("name"), QString(), 1), QStringLiteral("R12"));
    copy.Next();
    EXPECT_EQ(copy.Value(QStringLiteral("name"), QString(), 1), QStringLiteral("R13"));
    EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("R12"));
}

TEST_F(DataRun, JsonDataSetsAndTheirFields)
{
    TZORData& data = label.Data();
    const QString json = QStringLiteral(
        R"({"Products":[{"name":"A","price":1.5,"qty":2,"ok":true,"tags":["x"],"none":null},)"
        R"({"name":"B","price":2,"big":5000000000,"extra":"e"}],"Empty":[]})");
    ASSERT_TRUE(data.SetJson(json));
    ASSERT_EQ(data.GetDatasetCount(), 2);
    const TZORDataset* products = data.GetDataset(QStringLiteral("products"));
    ASSERT_NE(products, nullptr);
    EXPECT_EQ(data.GetDataSel(), QStringLiteral("Products"));
    const struct {
        const char* name;
        TZORFieldType type;
        const char* first;
        const char* second;
    } fields[] = {
        { "name", TZORFieldType::String, "A", "B" },
        { "price", TZORFieldType::Float, "1.5", "2" },
        { "qty", TZORFieldType::Integer, "2", "" },
        { "ok", TZORFieldType::Boolean, "true", "" },
        { "tags", TZORFieldType::String, "[\"x\"]", "" },
        { "none", TZORFieldType::String, "", "" },
        { "big", TZORFieldType::Int64, "", "5000000000" },
        { "extra", TZORFieldType::String, "", "e" },
    };
    ASSERT_EQ(products->GetFields().size(), std::size(fields));
    for (size_t i = 0; i < std::size(fields); ++i) {
        EXPECT_EQ(products->GetFields()[i].GetName(), QString::fromUtf8(fields[i].name));
        EXPECT_EQ(products->GetFields()[i].GetType(), fields[i].type) << fields[i].name;
    }
    label.CheckPrintData();
    EXPECT_EQ(label.PrintRun().labelCount, 2);
    for (int record = 0; record < 2; ++record, label.NextData())
        for (const auto& f : fields)
            EXPECT_EQ(data.Value(QString::fromUtf8(f.name), QString(), 1),
                QString::fromUtf8(record == 0 ? f.first : f.second))
                << f.name << " " << record;
    ASSERT_TRUE(data.SetJson(QStringLiteral(R"([{"a":1}])")));
    EXPECT_EQ(data.GetDatasetAt(1)->GetName(), QStringLiteral("JSON"));
}

TEST_F(DataRun, JsonOfAnotherShapeIsAClearErrorAndChangesNothing)
{
    TZORData& data = label.Data();
    const QString good = QStringLiteral(R"({"S":[{"a":1}]})");
    ASSERT_TRUE(data.SetJson(good));
    const struct {
        const char* text;
        const char* says;
    } cases[] = {
        { "[1,2]", "JSON[0]" },
        { R"({"a":5})", "\"a\"" },
        { R"({"a":[{"x":1},3]})", "a[1]" },
        { R"("text")", "neither an object nor an array" },
        { R"({"a":[)", "not valid" },
    };
    for (const auto& c : cases) {
        QString error;
        EXPECT_FALSE(data.SetJson(QString::fromUtf8(c.text), &error)) << c.text;
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.says))) << c.text << ": " << error.toStdString();
        EXPECT_EQ(data.GetJson(), good);
        ASSERT_EQ(data.GetDatasetCount(), 1);
        EXPECT_EQ(data.GetDatasetAt(1)->GetName(), QStringLiteral("S"));
    }
    EXPECT_TRUE(data.SetJson(QString()));
    EXPECT_EQ(data.GetDatasetCount(), 0);
}

TEST_F(DataRun, AHostDataSetIsWalkedThroughItsCursor)
{
    auto host = std::make_shared<THostSet>(5);
    label.Data().AttachDataset(QStringLiteral("Orders"), host);
    EXPECT_EQ(label.Data().GetDataSel(), QStringLiteral("Orders"));
    const TZORBaseText* when
        = Bound(TZORFillType::Field, QStringLiteral("when"), QStringLiteral("yyyy-mm-dd"));
    const TZORBaseText* n = Bound(TZORFillType::Field, QStringLiteral("n"), QStringLiteral("000"));
    label.CheckPrintData();
    EXPECT_EQ(label.PrintRun().labelCount, 5);
    label.NextData();
    EXPECT_EQ(Value(when), QStringLiteral("2024-03-07"));
    EXPECT_EQ(Value(n), QStringLiteral("002"));
    EXPECT_EQ(label.DataGraphic(QStringLiteral("blob")), QByteArray("blob2"));
    EXPECT_EQ(label.DataGraphic(QStringLiteral("nope")), QByteArray());
    EXPECT_EQ(host->opened, 2); // one pass to count, one to walk

    // An entry whose host is gone cannot drive a run.
    label.Data().AttachDataset(QStringLiteral("Orders"), nullptr);
    EXPECT_TRUE(ErrorOf([&] { label.CheckPrintData(); }).contains(QStringLiteral("\"Orders\"")));
}

TEST_F(DataRun, ImagesComeFromBase64BytesOrFilesInsideTheImageFolder)
{
    const QByteArray png("\x89PNG\r\n\x1a\nimage", 13);
    const QByteArray b64 = png.toBase64();
    ASSERT_TRUE(QDir(DirPath()).mkdir(QStringLiteral("images")));
    WriteFile(Path(QStringLiteral("images/img.png")), png);
    WriteFile(Path(QStringLiteral("outside.png")), "secret");
    ASSERT_TRUE(QFile::link(Path(QStringLiteral("outside.png")), Path(QStringLiteral("images/link.png"))));
    label.SetImageFolder(Path(QStringLiteral("images")));
    const QByteArray csv = "pic;b64;blob\n"
                           "img.png;"
        + b64 + ";\"data:image/png;base64," + b64 + "\"\n" + "../outside.png;!!;\n"
        + Path(QStringLiteral("images/img.png")).toUtf8() + ";;\n" + "link.png;;\n";
    ASSERT_TRUE(label.Data().SetCsvData(Csv(csv), true, 1, 2));
    label.Data().SetCsvField(1, TZORFieldType::Img64);
    label.Data().SetCsvField(2, TZORFieldType::ImgBlob);
    label.CheckPrintData();
    const auto image = [&](const char* field) { return label.DataGraphic(QString::fromUtf8(field)); };
    EXPECT_EQ(image("pic"), png);
    EXPECT_EQ(image("b64"), png);
    EXPECT_EQ(image("blob"), png);
    label.NextData();
    EXPECT_EQ(image("pic"), QByteArray()); // out of the folder
    EXPECT_EQ(image("b64"), QByteArray()); // not base64
    EXPECT_EQ(image("blob"), QByteArray());
    label.NextData();
    EXPECT_EQ(image("pic"), QByteArray()); // an absolute path
    label.NextData();
    EXPECT_EQ(image("pic"), QByteArray()); // a link out of the folder
    label.SetImageFolder(QString());
    label.GoToPage(1, true);
    EXPECT_EQ(image("pic"), QByteArray()); // no folder, no files
}

TEST_F(DataRun, HugeRunsAndSheetsStayWithinBounds)
{
    constexpr int32_t most = std::numeric_limits<int32_t>::max();
    label.Data().AddCounter(QStringLiteral("n"));
    const TZORBaseText* counter = Bound(TZORFillType::Counter, QStringLiteral("n"));
    label.PrintInfo().SetLabs(most);
    label.PrintInfo().SetRepetition(most);
    label.Measure().SetNuHor(100000); // more rows than a run holds
    label.CheckPrintData();
    const TZORPrintRun& run = label.PrintRun();
    EXPECT_EQ(run.labelCount, int64_t(most) * most);
    EXPECT_EQ(run.rows, TZORPrintRun::MaxSide);
    label.GoToPage(run.sheetCount, true); // a jump, not a walk through every label
    const int64_t first = (run.sheetCount - 1) * TZORPrintRun::MaxSide; // one column, no free positions
    EXPECT_EQ(run.labelCounter, first + 1);
    EXPECT_EQ(Value(counter), QString::number(first / most));
    TZORData::TPageReader reader(label.Data());
    const std::vector<TZORRecord> beyond = label.SheetRecords(std::numeric_limits<int64_t>::max(), reader);
    // A sheet beyond the run shows nothing of it.
    EXPECT_EQ(label.DataValue(counter->FillName(), counter->GetFormat(), counter->FillType(), beyond[0]),
        QStringLiteral("0"));

    ASSERT_TRUE(
        label.Data().SetCsvData(Csv("name;qty\nA;2147483647\nB;2147483647\nC;2147483647\n"), true, 1, 2));
    label.Data().SetFieldRepeat(QStringLiteral("qty"));
    Bound(TZORFillType::Field, QStringLiteral("name"));
    label.Measure().SetNuHor(1);
    label.CheckPrintData();
    EXPECT_EQ(run.labelCount, std::numeric_limits<int64_t>::max() / 2); // the sum saturates
    label.GoToPage(run.sheetCount, true);
    EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("B"));
}

TEST_F(DataRun, ATableReadsTheLinesOfADataSetWithoutMovingTheCursor)
{
    TwentyRecords();
    ASSERT_TRUE(
        label.Data().SetJson(QStringLiteral(R"({"Lines":[{"item":"Pen","price":1.5},{"item":"Ink"}]})")));
    label.CheckPrintData();
    label.NextData();
    const std::vector<std::pair<QString, QString>> columns = { { QStringLiteral("ITEM"), QString() },
        { QStringLiteral("price"), QStringLiteral("0.00") }, { QStringLiteral("nope"), QString() } };
    EXPECT_EQ(label.Data().DataLines(QStringLiteral("Lines"), columns, 10),
        (std::vector<QStringList> { { "Pen", "1.50", "" }, { "Ink", "", "" } }));
    EXPECT_EQ(label.Data().DataLines(label.Data().GetDataSel(), { { QStringLiteral("name"), QString() } }, 3),
        (std::vector<QStringList> { { "R1" }, { "R2" }, { "R3" } }));
    EXPECT_EQ(label.DataValue(QStringLiteral("name"), QString(), 1), QStringLiteral("R2"));
    EXPECT_TRUE(
        ErrorOf([&] { label.Data().DataLines(QStringLiteral("ghost"), columns, 1); }).contains("ghost"));
}
