#include "Zor.Csv.h"
#include "Zor.Data.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"

using zor::Field;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TJsonArray;
using zor::TJsonObject;

// The data in the label's two forms. Binary, after the settings: the JSON text (empty unless it
// is saved with the label), the CSV fields, the host data sets (each with its fields), the
// counters, the value lists (each with its values) and the questions; every list an int32
// count followed by its records. JSON: the settings, "Json", "CsvFields", "Datasets",
// "Counters", "Lists" (with "Values") and "Questions".

namespace {

// Smallest records, for checking counts against the bytes left before allocating.
constexpr int64_t MinFieldBytes = 3;
constexpr int64_t MinDatasetBytes = 6;
constexpr int64_t MinCounterBytes = 28;
constexpr int64_t MinListBytes = 7;
constexpr int64_t MinValueBytes = 1;
constexpr int64_t MinQuestionBytes = 25;

template <class T, class Extra> void WriteRecords(TBinaryWriter& w, const std::vector<T>& list, Extra extra)
{
    w.WriteInt32(int32_t(list.size()));
    for (const T& record : list) {
        zor::WriteFields(w, record, T::Fields());
        extra(w, record);
    }
}

template <class T, class Extra> std::vector<T> ReadRecords(TBinaryReader& r, int64_t minBytes, Extra extra)
{
    const int32_t n = r.ReadCount(INT32_MAX, minBytes);
    std::vector<T> list(static_cast<size_t>(n));
    for (T& record : list) {
        zor::ReadFields(r, record, T::Fields());
        extra(r, record);
    }
    return list;
}

template <class T, class Extra>
void PutRecords(TJsonObject& o, const char* key, const std::vector<T>& list, Extra extra)
{
    TJsonArray a = o.NewA(key);
    for (const T& record : list) {
        TJsonObject e = a.AddObject();
        zor::FieldsToJson(e, record, T::Fields());
        extra(e, record);
    }
}

template <class T, class Extra> std::vector<T> GetRecords(const TJsonObject& o, const char* key, Extra extra)
{
    std::vector<T> list;
    if (!o.Contains(key))
        return list;
    const TJsonArray a = o.A(key);
    list.resize(size_t(a.Count()));
    for (int i = 0; i < a.Count(); ++i) {
        const TJsonObject e = a.O(i);
        zor::FieldsFromJson(e, list[size_t(i)], T::Fields());
        extra(e, list[size_t(i)]);
    }
    return list;
}

constexpr auto NoExtra = [](auto&, auto&) {};

} // namespace

const TZORFields<TZORDataField>& TZORDataField::Fields()
{
    using F = TZORDataField;
    static const TZORFields<F> fields {
        Field<F, &F::fName>("Name"),
        Field<F, &F::fAlias>("Alias"),
        Field<F, &F::fType>("Type"),
    };
    return fields;
}

const TZORFields<TZORDataset>& TZORDataset::Fields()
{
    using D = TZORDataset;
    static const TZORFields<D> fields {
        Field<D, &D::fName>("Name"),
        Field<D, &D::fAlias>("Alias"),
    };
    return fields;
}

const TZORFields<TZORCounter>& TZORCounter::Fields()
{
    using C = TZORCounter;
    static const TZORFields<C> fields {
        Field<C, &C::fName>("Name"),
        Field<C, &C::fNumFrom>("NumFrom"),
        Field<C, &C::fNumTo>("NumTo"),
        Field<C, &C::fStep>("Step"),
        Field<C, &C::fRepeat>("Repeat"),
        Field<C, &C::fTextBefore>("TextBefore"),
        Field<C, &C::fTextAfter>("TextAfter"),
        Field<C, &C::fFormat>("Format"),
    };
    return fields;
}

const TZORFields<TZRValList>& TZRValList::Fields()
{
    using L = TZRValList;
    static const TZORFields<L> fields {
        Field<L, &L::fName>("Name"),
        Field<L, &L::fValue>("Value"),
        Field<L, &L::fAsk>("Ask"),
    };
    return fields;
}

const TZORFields<TZRAskField>& TZRAskField::Fields()
{
    using A = TZRAskField;
    static const TZORFields<A> fields {
        Field<A, &A::fName>("Name"),
        Field<A, &A::fQuest>("Quest"),
        Field<A, &A::fAnsType>("AnsType"),
        Field<A, &A::fText>("Text"),
        Field<A, &A::fInteger>("Integer"),
        Field<A, &A::fNumber>("Number"),
        Field<A, &A::fDateTime>("DateTime"),
        Field<A, &A::fAsk>("Ask"),
    };
    return fields;
}

const TZORFields<TZORData>& TZORData::Fields()
{
    using D = TZORData;
    static const TZORFields<D> fields {
        Field<D, &D::fLinkData>("LinkData"),
        Field<D, &D::fSaveJson>("SaveJson"),
        Field<D, &D::fDataSel>("DataSel"),
        Field<D, &D::fFieldRepeat>("FieldRepeat"),
        Field<D, &D::fCsvFile>("CsvFile"),
        Field<D, &D::fHeader>("Header"),
        Field<D, &D::fSeparator>("Separator"),
        Field<D, &D::fQuote>("Quote"),
    };
    return fields;
}

// --- Binary ---

void TZORData::WriteData(TBinaryWriter& w) const
{
    zor::WriteFields(w, *this, Fields());
    w.WriteString(fSaveJson ? fJson : QString());
    WriteRecords(w, fCsvSet ? fCsvSet->GetFields() : TZORDataFields {}, NoExtra);
    WriteRecords(
        w, fHostSets, [](TBinaryWriter& w, const TZORDataset& s) { WriteRecords(w, s.fFields, NoExtra); });
    WriteRecords(w, fCounters, NoExtra);
    WriteRecords(w, fLists, [](TBinaryWriter& w, const TZRValList& l) {
        w.WriteInt32(int32_t(l.GetValues().size()));
        for (const QString& v : l.GetValues())
            w.WriteString(v);
    });
    WriteRecords(w, fQuestions, NoExtra);
}

void TZORData::ReadData(TBinaryReader& r)
{
    TZORData read;
    zor::ReadFields(r, read, Fields());
    const QString json = r.ReadString();
    TZORDataFields csvFields = ReadRecords<TZORDataField>(r, MinFieldBytes, NoExtra);
    read.fHostSets = ReadRecords<TZORDataset>(r, MinDatasetBytes, [](TBinaryReader& r, TZORDataset& s) {
        s.fFields = ReadRecords<TZORDataField>(r, MinFieldBytes, NoExtra);
    });
    read.fCounters = ReadRecords<TZORCounter>(r, MinCounterBytes, NoExtra);
    read.fLists = ReadRecords<TZRValList>(r, MinListBytes, [](TBinaryReader& r, TZRValList& l) {
        QStringList values(r.ReadCount(INT32_MAX, MinValueBytes));
        for (QString& v : values)
            v = r.ReadString();
        l.AssignValues(values);
    });
    read.fQuestions = ReadRecords<TZRAskField>(r, MinQuestionBytes, NoExtra);
    read.Finish(json, std::move(csvFields), *this);
    *this = read;
}

// --- JSON ---

void TZORData::WriteJson(TJsonObject& o) const
{
    zor::FieldsToJson(o, *this, Fields());
    if (fSaveJson)
        o.SetS("Json", fJson);
    PutRecords(o, "CsvFields", fCsvSet ? fCsvSet->GetFields() : TZORDataFields {}, NoExtra);
    PutRecords(o, "Datasets", fHostSets,
        [](TJsonObject& e, const TZORDataset& s) { PutRecords(e, "Fields", s.fFields, NoExtra); });
    PutRecords(o, "Counters", fCounters, NoExtra);
    PutRecords(o, "Lists", fLists, [](TJsonObject& e, const TZRValList& l) {
        TJsonArray values = e.NewA("Values");
        for (const QString& v : l.GetValues())
            values.Add(v);
    });
    PutRecords(o, "Questions", fQuestions, NoExtra);
}

void TZORData::ReadJson(const TJsonObject& o)
{
    TZORData read;
    zor::FieldsFromJson(o, read, Fields());
    TZORDataFields csvFields = GetRecords<TZORDataField>(o, "CsvFields", NoExtra);
    read.fHostSets = GetRecords<TZORDataset>(o, "Datasets", [](const TJsonObject& e, TZORDataset& s) {
        s.fFields = GetRecords<TZORDataField>(e, "Fields", NoExtra);
    });
    read.fCounters = GetRecords<TZORCounter>(o, "Counters", NoExtra);
    read.fLists = GetRecords<TZRValList>(o, "Lists", [](const TJsonObject& e, TZRValList& l) {
        QStringList values;
        if (e.Contains("Values")) {
            const TJsonArray a = e.A("Values");
            for (int i = 0; i < a.Count(); ++i)
                values << a.S(i);
        }
        l.AssignValues(values);
    });
    read.fQuestions = GetRecords<TZRAskField>(o, "Questions", NoExtra);
    read.Finish(o.S("Json", QString()), std::move(csvFields), *this);
    *this = read;
}

// What a reader filled in, checked and completed: the JSON and CSV data sets are made anew
// (the CSV file is not read now: a label whose file is missing still loads), and host data
// sets keep the sources the host attached before.
void TZORData::Finish(const QString& json, TZORDataFields csvFields, const TZORData& before)
{
    const auto check = [](bool ok, const char* key, int64_t value) {
        if (!ok)
            throw zor::Error(QStringLiteral("FieldRange"), QString::fromLatin1(key), QString::number(value));
    };
    check(fSeparator <= uint8_t(TZORCsvSeparator::Space), "Separator", fSeparator);
    check(fQuote <= uint8_t(TZORCsvQuote::Double), "Quote", fQuote);
    if (GetCounterCount() > MaxCounters)
        throw zor::Error(QStringLiteral("LimitCounters"));
    for (TZORCounter& c : fCounters)
        c.SetRepeat(c.GetRepeat());
    const auto checkTypes = [&](const TZORDataFields& fields) {
        for (const TZORDataField& f : fields)
            check(f.GetType() <= TZORFieldType::ImgBlob, "Type", int64_t(f.GetType()));
    };
    checkTypes(csvFields);
    for (TZORDataset& s : fHostSets) {
        checkTypes(s.fFields);
        const auto it = std::find_if(before.fHostSets.begin(), before.fHostSets.end(),
            [&](const TZORDataset& b) { return b.GetName() == s.GetName(); });
        if (it != before.fHostSets.end())
            s.fSource = it->fSource;
    }
    if (!json.isEmpty()) {
        fJsonSets = ParseJsonData(json);
        fJson = json;
    }
    if (!fCsvFile.isEmpty())
        fCsvSet = MakeCsvSet(std::move(csvFields));
}
