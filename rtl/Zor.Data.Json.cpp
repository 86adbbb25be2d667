#include "Zor.Data.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"

#include <QHash>

#include <algorithm>
#include <optional>

using zor::TJsonArray;
using zor::TJsonBaseObject;
using zor::TJsonDataType;
using zor::TJsonObject;

// JSON data: records as objects, whose members are the fields. The fields of a data set are
// the members its objects hold, in the order they first appear; a member an object lacks reads
// as empty. A field's type follows its values (numbers, true and false; anything else String).

namespace {

// An array item's label in errors: Name[3].
QString ItemName(const QString& set, int index)
{
    return QStringLiteral("%1[%2]").arg(set).arg(index);
}

struct TValue {
    QVariant value;
    std::optional<TZORFieldType> type; // none for null
};

TValue ValueOf(const TJsonObject& o, const QString& key)
{
    switch (o.Types(key)) {
    case TJsonDataType::jdtInt:
    case TJsonDataType::jdtLong: {
        const int64_t v = o.L(key);
        return { QVariant(qlonglong(v)), zor::WholeNumberType(v) };
    }
    case TJsonDataType::jdtULong:
    case TJsonDataType::jdtFloat:
        return { QVariant(o.F(key)), TZORFieldType::Float };
    case TJsonDataType::jdtBool:
        return { QVariant(o.B(key)), TZORFieldType::Boolean };
    case TJsonDataType::jdtString:
        return { QVariant(o.S(key)), TZORFieldType::String };
    case TJsonDataType::jdtObject:
        return { QVariant(o.O(key).ToJSON()), TZORFieldType::String };
    case TJsonDataType::jdtArray:
        return { QVariant(o.A(key).ToJSON()), TZORFieldType::String };
    default:
        return {};
    }
}

// A record holds the members its object has, by field index, in the object's order: each object
// costs what it holds, however many fields the set has in all.
using TSparseRecord = std::vector<std::pair<uint32_t, QVariant>>;

// Gives every record as a list of all of the set's fields. The list of the call before comes
// back as that call left it, so only the fields the last record held are emptied and only the
// record's own are set: a walk costs what the records hold, however many fields the set has.
class TSparseCursor : public IZORRecordCursor {
public:
    TSparseCursor(std::shared_ptr<const std::vector<TSparseRecord>> records, size_t fields)
        : fRecords(std::move(records))
        , fFields(fields)
    {
    }
    bool Next(std::vector<QVariant>& values) override
    {
        if (fNext >= fRecords->size())
            return false;
        if (fLast && values.size() == fFields)
            for (const auto& [i, v] : *fLast)
                values[i] = QVariant();
        else
            values.assign(fFields, QVariant());
        fLast = &(*fRecords)[fNext++];
        for (const auto& [i, v] : *fLast)
            values[i] = v;
        return true;
    }

private:
    std::shared_ptr<const std::vector<TSparseRecord>> fRecords;
    size_t fFields;
    size_t fNext = 0;
    const TSparseRecord* fLast = nullptr; // the record the last call gave
};

class TJsonDataSet : public IZORDataSet {
public:
    TJsonDataSet(TZORDataFields fields, std::vector<TSparseRecord> records)
        : fFields(std::move(fields))
        , fRecords(std::make_shared<const std::vector<TSparseRecord>>(std::move(records)))
    {
    }
    TZORDataFields Fields() const override { return fFields; }
    std::unique_ptr<IZORRecordCursor> Open() const override
    {
        return std::make_unique<TSparseCursor>(fRecords, fFields.size());
    }

private:
    TZORDataFields fFields;
    std::shared_ptr<const std::vector<TSparseRecord>> fRecords;
};

TZORDataset SetOf(const QString& name, const TJsonArray& items)
{
    TZORDataFields fields;
    QHash<QString, uint32_t> index;
    std::vector<std::optional<TZORFieldType>> types;
    std::vector<TSparseRecord> records;
    for (int j = 0; j < items.Count(); ++j) {
        if (items.Types(j) != TJsonDataType::jdtObject)
            throw zor::Error(QStringLiteral("JsonData"), ItemName(name, j));
        const TJsonObject o = items.O(j);
        TSparseRecord record;
        record.reserve(size_t(o.Count()));
        for (int k = 0; k < o.Count(); ++k) {
            const QString key = o.Names(k);
            auto it = index.constFind(key);
            if (it == index.cend()) {
                if (fields.size() >= zor::MaxDataFields)
                    throw zor::Error(
                        QStringLiteral("JsonDataWide"), name, QString::number(zor::MaxDataFields));
                it = index.insert(key, uint32_t(fields.size()));
                fields.emplace_back(key, TZORFieldType::String);
                types.emplace_back();
            }
            const uint32_t i = *it;
            TValue v = ValueOf(o, key);
            if (v.type)
                types[i] = types[i] ? zor::WidenFieldType(*types[i], *v.type) : *v.type;
            record.emplace_back(i, std::move(v.value));
        }
        records.push_back(std::move(record));
    }
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i].SetType(types[i].value_or(TZORFieldType::String));
    auto source = std::make_shared<TJsonDataSet>(fields, std::move(records));
    return TZORDataset(name, TZORDatasetKind::Json, std::move(fields), std::move(source));
}

} // namespace

TZORDatasets TZORData::ParseJsonData(const QString& text)
{
    const TJsonBaseObject root = TJsonBaseObject::Parse(text);
    TZORDatasets sets;
    if (root.IsArray()) {
        sets.push_back(SetOf(QStringLiteral("JSON"), root.AsArray()));
        return sets;
    }
    const TJsonObject o = root.AsObject();
    for (int i = 0; i < o.Count(); ++i) {
        const QString name = o.Names(i);
        if (o.Types(name) != TJsonDataType::jdtArray)
            throw zor::Error(QStringLiteral("JsonData"), name);
        sets.push_back(SetOf(name, o.A(name)));
    }
    return sets;
}
