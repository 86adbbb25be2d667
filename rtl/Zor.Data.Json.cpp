#include "Zor.Data.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"

#include <algorithm>
#include <optional>

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

TZORDataset SetOf(const QString& name, const TJsonArray& items)
{
    TZORDataFields fields;
    std::vector<std::optional<TZORFieldType>> types;
    std::vector<std::vector<QVariant>> records;
    for (int j = 0; j < items.Count(); ++j) {
        if (items.Types(j) != TJsonDataType::jdtObject)
            throw zor::Error(QStringLiteral("JsonData"), ItemName(name, j));
        const TJsonObject o = items.O(j);
        std::vector<QVariant> record(fields.size());
        for (int k = 0; k < o.Count(); ++k) {
            const QString key = o.Names(k);
            const auto it = std::find_if(
                fields.begin(), fields.end(), [&](const TZORDataField& f) { return f.GetName() == key; });
            const size_t i = size_t(it - fields.begin());
            if (it == fields.end()) {
                fields.emplace_back(key, TZORFieldType::String);
                types.emplace_back();
                record.emplace_back();
            }
            TValue v = ValueOf(o, key);
            if (v.type)
                types[i] = types[i] ? zor::WidenFieldType(*types[i], *v.type) : *v.type;
            record[i] = std::move(v.value);
        }
        records.push_back(std::move(record));
    }
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i].SetType(types[i].value_or(TZORFieldType::String));
    auto source = std::make_shared<TZORMemoryDataSet>(fields, std::move(records));
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
