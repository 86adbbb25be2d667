#include "Zor.Json.h"

#include "Zor.Msg.h"
#include "Zor.Stream.h"

#include <QFile>

#include <nlohmann/json.hpp>

#include <cmath>
#include <limits>

using zor::TJsonArray;
using zor::TJsonBaseObject;
using zor::TJsonDataType;
using zor::TJsonKey;
using zor::TJsonObject;

using json = nlohmann::ordered_json;
using object_t = json::object_t;
using array_t = json::array_t;

// The document behind every handle. epoch changes whenever a change may have moved or destroyed
// values, so that handles find their place again by path instead of trusting a stale pointer
// (adding a member to an ordered object copies its members to a new buffer).
struct zor::TJsonDocument {
    json root;
    uint64_t epoch = 1;
};

// A value on its way into a document. The header names it without nlohmann, so that a program
// using the object model needs no nlohmann headers.
struct zor::TJsonValue {
    TJsonValue(json&& v)
        : value(std::move(v))
    {
    }
    json value;
};

namespace {

// Deeper texts are refused: copying and writing a document recurse once per level.
constexpr int MaxDepth = 512;

template <class C> C& As(void* node)
{
    return *static_cast<C*>(node);
}

EZORError NotValid(const QString& detail)
{
    return EZORError(TZORMsg::GetErrorValue("JsonNotValid") + QStringLiteral(": ") + detail);
}

void CheckDepth(const QByteArray& utf8)
{
    int depth = 0;
    bool inString = false;
    bool escaped = false;
    for (const char c : utf8) {
        if (inString) {
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > MaxDepth)
                throw NotValid(TZORMsg::GetErrorValue("JsonDepth").arg(MaxDepth));
        } else if (c == ']' || c == '}') {
            --depth;
        }
    }
}

json ParseJson(const QByteArray& utf8)
{
    CheckDepth(utf8);
    try {
        return json::parse(utf8.cbegin(), utf8.cend());
    } catch (const json::exception& e) {
        // Drop the library's "[json.exception.parse_error.101] " tag; the rest says where and why.
        const QString what = QString::fromUtf8(e.what());
        const qsizetype tag = what.indexOf(QStringLiteral("] "));
        throw NotValid(tag < 0 ? what : what.mid(tag + 2));
    }
}

QByteArray ReadFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw zor::Error("FileOpen", fileName, file.errorString());
    return file.readAll();
}

QString TypeName(const json& v)
{
    switch (v.type()) {
    case json::value_t::null:
        return QStringLiteral("null");
    case json::value_t::boolean:
        return QStringLiteral("a boolean");
    case json::value_t::string:
        return QStringLiteral("a string");
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
        return QStringLiteral("an integer");
    case json::value_t::number_float:
        return QStringLiteral("a fractional number");
    case json::value_t::object:
        return QStringLiteral("an object");
    case json::value_t::array:
        return QStringLiteral("an array");
    default:
        return QStringLiteral("binary data");
    }
}

EZORError WrongType(const json& v, const QString& label, const char* expected)
{
    return zor::Error("JsonType", label, TypeName(v), QString::fromLatin1(expected));
}

// Typed reads of one value; where() names it, and is asked only on the way to an error.
template <class T, class Where> T Read(const json& v, Where where)
{
    if constexpr (std::is_same_v<T, QString>) {
        if (!v.is_string())
            throw WrongType(v, where(), "a string");
        return QString::fromStdString(v.get_ref<const std::string&>());
    } else if constexpr (std::is_same_v<T, bool>) {
        if (!v.is_boolean())
            throw WrongType(v, where(), "a boolean");
        return v.get<bool>();
    } else if constexpr (std::is_same_v<T, double>) {
        if (!v.is_number())
            throw WrongType(v, where(), "a number");
        return v.get<double>();
    } else {
        static_assert(std::is_same_v<T, int32_t> || std::is_same_v<T, int64_t>);
        if (!v.is_number_integer())
            throw WrongType(v, where(), "an integer");
        if (v.is_number_unsigned()) {
            const uint64_t u = v.get<uint64_t>();
            if (u > uint64_t(std::numeric_limits<T>::max()))
                throw zor::Error("JsonRange", where(), QString::number(u));
            return T(u);
        }
        const int64_t i = v.get<int64_t>();
        if (i < std::numeric_limits<T>::min() || i > std::numeric_limits<T>::max())
            throw zor::Error("JsonRange", where(), QString::number(i));
        return T(i);
    }
}

TJsonDataType TypeOf(const json* v)
{
    if (!v)
        return TJsonDataType::jdtNone;
    switch (v->type()) {
    case json::value_t::null:
        return TJsonDataType::jdtNull;
    case json::value_t::boolean:
        return TJsonDataType::jdtBool;
    case json::value_t::string:
        return TJsonDataType::jdtString;
    case json::value_t::number_float:
        return TJsonDataType::jdtFloat;
    case json::value_t::object:
        return TJsonDataType::jdtObject;
    case json::value_t::array:
        return TJsonDataType::jdtArray;
    case json::value_t::number_integer:
    case json::value_t::number_unsigned:
        break;
    default:
        return TJsonDataType::jdtNone;
    }
    if (v->is_number_unsigned() && v->get<uint64_t>() > uint64_t(std::numeric_limits<int64_t>::max()))
        return TJsonDataType::jdtULong;
    const int64_t i = v->get<int64_t>();
    return i >= std::numeric_limits<int32_t>::min() && i <= std::numeric_limits<int32_t>::max()
        ? TJsonDataType::jdtInt
        : TJsonDataType::jdtLong;
}

template <class Where> json Number(double value, Where where)
{
    // A document cannot hold them: they would be written as null and read back as an error.
    if (!std::isfinite(value))
        throw zor::Error("JsonNotFinite", where());
    return json(value);
}

json String(const QString& value)
{
    return json(value.toStdString());
}

template <class Items, class Where> auto& Item(Items& items, int index, Where where)
{
    if (index < 0 || size_t(index) >= items.size())
        throw zor::Error("JsonIndex", QString::number(index), where(), QString::number(items.size()));
    return *(items.begin() + index);
}

const json* Find(const object_t& members, const std::string& key)
{
    const auto it = members.find(key);
    return it == members.end() ? nullptr : &it->second;
}

// Stores value under key. True when the change may have moved or destroyed values that other
// handles lead to: a replaced object or array, or members copied to a larger buffer.
bool Put(object_t& members, const std::string& key, json&& value)
{
    if (const auto it = members.find(key); it != members.end()) {
        const bool replaced = it->second.is_structured();
        it->second = std::move(value);
        return replaced;
    }
    const bool grows = members.size() == members.capacity();
    members.emplace_back(key, std::move(value));
    return grows;
}

std::shared_ptr<zor::TJsonDocument> NewDocument(json&& root)
{
    auto doc = std::make_shared<zor::TJsonDocument>();
    doc->root = std::move(root);
    return doc;
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TJsonBaseObject

TJsonBaseObject::TJsonBaseObject(
    std::shared_ptr<zor::TJsonDocument> doc, std::vector<TStep> path, bool isArray)
    : fDoc(std::move(doc))
    , fPath(std::move(path))
    , fIsArray(isArray)
{
}

TJsonBaseObject::TJsonBaseObject(const TJsonBaseObject& parent, TStep step, bool isArray)
    : fDoc(parent.fDoc)
    , fPath(parent.fPath)
    , fIsArray(isArray)
{
    fPath.push_back(std::move(step));
}

void* TJsonBaseObject::Node() const
{
    if (fCacheEpoch == fDoc->epoch)
        return fCache;
    json* node = &fDoc->root;
    for (const TStep& step : fPath) {
        json* next = nullptr;
        if (step.index < 0) {
            if (auto* members = node->get_ptr<object_t*>()) {
                const auto it = members->find(step.key);
                next = it == members->end() ? nullptr : &it->second;
            }
        } else if (auto* items = node->get_ptr<array_t*>()) {
            next = size_t(step.index) < items->size() ? &(*items)[size_t(step.index)] : nullptr;
        }
        if (!next)
            throw zor::Error("JsonRemoved", Label());
        node = next;
    }
    void* container = fIsArray ? static_cast<void*>(node->get_ptr<array_t*>())
                               : static_cast<void*>(node->get_ptr<object_t*>());
    if (!container)
        throw zor::Error("JsonRemoved", Label());
    fCache = container;
    fCacheEpoch = fDoc->epoch;
    return container;
}

void TJsonBaseObject::Moved() const
{
    // This handle's own container stays where it is; only what lies below it may have moved.
    fCacheEpoch = ++fDoc->epoch;
}

QString TJsonBaseObject::Label() const
{
    QString label;
    for (const TStep& step : fPath) {
        if (step.index >= 0)
            label += QStringLiteral("[%1]").arg(step.index);
        else
            label += (label.isEmpty() ? QString() : QStringLiteral(".")) + QString::fromStdString(step.key);
    }
    return label.isEmpty() ? QStringLiteral("(root)") : label;
}

QString TJsonBaseObject::Label(const TJsonKey& key) const
{
    const QString name = QString::fromStdString(key.Utf8());
    return fPath.empty() ? name : Label() + QStringLiteral(".") + name;
}

QString TJsonBaseObject::Label(int index) const
{
    return (fPath.empty() ? QString() : Label()) + QStringLiteral("[%1]").arg(index);
}

TJsonBaseObject TJsonBaseObject::Parse(const QString& text)
{
    return Parse(text.toUtf8());
}

TJsonBaseObject TJsonBaseObject::Parse(const QByteArray& utf8)
{
    json root = ParseJson(utf8);
    if (!root.is_structured())
        throw NotValid(TZORMsg::GetErrorValue("JsonRoot"));
    const bool isArray = root.is_array();
    return TJsonBaseObject(NewDocument(std::move(root)), {}, isArray);
}

TJsonBaseObject TJsonBaseObject::ParseFromFile(const QString& fileName)
{
    return Parse(ReadFile(fileName));
}

TJsonObject TJsonBaseObject::AsObject() const
{
    if (fIsArray)
        throw zor::Error("JsonNotObject", Label());
    return TJsonObject(fDoc, fPath, false);
}

TJsonArray TJsonBaseObject::AsArray() const
{
    if (!fIsArray)
        throw zor::Error("JsonNotArray", Label());
    return TJsonArray(fDoc, fPath, true);
}

QByteArray TJsonBaseObject::ToUtf8JSON(bool compact) const
{
    void* node = Node();
    const int indent = compact ? -1 : 2;
    if (fPath.empty())
        return QByteArray::fromStdString(fDoc->root.dump(indent));
    const json copy = fIsArray ? json(As<array_t>(node)) : json(As<object_t>(node));
    return QByteArray::fromStdString(copy.dump(indent));
}

QString TJsonBaseObject::ToJSON(bool compact) const
{
    return QString::fromUtf8(ToUtf8JSON(compact));
}

void TJsonBaseObject::SaveToFile(const QString& fileName, bool compact) const
{
    const QByteArray bytes = ToUtf8JSON(compact) + '\n';
    zor::SaveFileBytes(fileName, bytes);
}

void TJsonBaseObject::FromUtf8JSON(const QByteArray& utf8)
{
    void* node = Node();
    json parsed = ParseJson(utf8);
    if (fIsArray) {
        if (!parsed.is_array())
            throw zor::Error("JsonNotArray", Label());
        As<array_t>(node) = std::move(parsed.get_ref<array_t&>());
    } else {
        if (!parsed.is_object())
            throw zor::Error("JsonNotObject", Label());
        As<object_t>(node) = std::move(parsed.get_ref<object_t&>());
    }
    Moved();
}

void TJsonBaseObject::FromJSON(const QString& text)
{
    FromUtf8JSON(text.toUtf8());
}

void TJsonBaseObject::LoadFromFile(const QString& fileName)
{
    FromUtf8JSON(ReadFile(fileName));
}

int TJsonBaseObject::Count() const
{
    void* node = Node();
    return int(fIsArray ? As<array_t>(node).size() : As<object_t>(node).size());
}

void TJsonBaseObject::Clear()
{
    void* node = Node();
    if (fIsArray)
        As<array_t>(node).clear();
    else
        As<object_t>(node).clear();
    Moved();
}

// ---------------------------------------------------------------------------------------------
// TJsonObject

TJsonObject::TJsonObject()
    : TJsonBaseObject(NewDocument(json::object()), {}, false)
{
}

TJsonObject TJsonObject::Parse(const QString& text)
{
    return TJsonBaseObject::Parse(text).AsObject();
}

TJsonObject TJsonObject::Parse(const QByteArray& utf8)
{
    return TJsonBaseObject::Parse(utf8).AsObject();
}

TJsonObject TJsonObject::ParseFromFile(const QString& fileName)
{
    return TJsonBaseObject::ParseFromFile(fileName).AsObject();
}

TJsonObject TJsonObject::Clone() const
{
    return TJsonObject(NewDocument(json(As<object_t>(Node()))), {}, false);
}

bool TJsonObject::Contains(const TJsonKey& key) const
{
    return Find(As<object_t>(Node()), key.Utf8()) != nullptr;
}

QString TJsonObject::Names(int index) const
{
    return QString::fromStdString(Item(As<object_t>(Node()), index, [this] { return Label(); }).first);
}

TJsonDataType TJsonObject::Types(const TJsonKey& key) const
{
    return TypeOf(Find(As<object_t>(Node()), key.Utf8()));
}

void TJsonObject::Remove(const TJsonKey& key)
{
    As<object_t>(Node()).erase(key.Utf8());
    Moved();
}

template <class T> T TJsonObject::Get(const TJsonKey& key) const
{
    const json* v = Find(As<object_t>(Node()), key.Utf8());
    if (!v)
        throw zor::Error("JsonMissing", Label(key));
    return Read<T>(*v, [&] { return Label(key); });
}

template <class T> T TJsonObject::Get(const TJsonKey& key, const T& defaultValue) const
{
    const json* v = Find(As<object_t>(Node()), key.Utf8());
    if (!v || v->is_null())
        return defaultValue;
    return Read<T>(*v, [&] { return Label(key); });
}

QString TJsonObject::S(const TJsonKey& key) const
{
    return Get<QString>(key);
}

int32_t TJsonObject::I(const TJsonKey& key) const
{
    return Get<int32_t>(key);
}

int64_t TJsonObject::L(const TJsonKey& key) const
{
    return Get<int64_t>(key);
}

double TJsonObject::F(const TJsonKey& key) const
{
    return Get<double>(key);
}

bool TJsonObject::B(const TJsonKey& key) const
{
    return Get<bool>(key);
}

QString TJsonObject::S(const TJsonKey& key, const QString& defaultValue) const
{
    return Get<QString>(key, defaultValue);
}

int32_t TJsonObject::I(const TJsonKey& key, int32_t defaultValue) const
{
    return Get<int32_t>(key, defaultValue);
}

int64_t TJsonObject::L(const TJsonKey& key, int64_t defaultValue) const
{
    return Get<int64_t>(key, defaultValue);
}

double TJsonObject::F(const TJsonKey& key, double defaultValue) const
{
    return Get<double>(key, defaultValue);
}

bool TJsonObject::B(const TJsonKey& key, bool defaultValue) const
{
    return Get<bool>(key, defaultValue);
}

TJsonObject TJsonObject::O(const TJsonKey& key) const
{
    const json* v = Find(As<object_t>(Node()), key.Utf8());
    if (!v)
        throw zor::Error("JsonMissing", Label(key));
    if (!v->is_object())
        throw WrongType(*v, Label(key), "an object");
    return TJsonObject(*this, TStep { key.Utf8() }, false);
}

TJsonArray TJsonObject::A(const TJsonKey& key) const
{
    const json* v = Find(As<object_t>(Node()), key.Utf8());
    if (!v)
        throw zor::Error("JsonMissing", Label(key));
    if (!v->is_array())
        throw WrongType(*v, Label(key), "an array");
    return TJsonArray(*this, TStep { key.Utf8() }, true);
}

void TJsonObject::Put(const TJsonKey& key, zor::TJsonValue&& value)
{
    if (::Put(As<object_t>(Node()), key.Utf8(), std::move(value.value)))
        Moved();
}

void TJsonObject::SetS(const TJsonKey& key, const QString& value)
{
    Put(key, String(value));
}

void TJsonObject::SetI(const TJsonKey& key, int32_t value)
{
    Put(key, json(value));
}

void TJsonObject::SetL(const TJsonKey& key, int64_t value)
{
    Put(key, json(value));
}

void TJsonObject::SetF(const TJsonKey& key, double value)
{
    Put(key, Number(value, [&] { return Label(key); }));
}

void TJsonObject::SetB(const TJsonKey& key, bool value)
{
    Put(key, json(value));
}

void TJsonObject::SetNull(const TJsonKey& key)
{
    Put(key, json());
}

void TJsonObject::SetO(const TJsonKey& key, const TJsonObject& value)
{
    Put(key, json(As<object_t>(value.Node())));
}

void TJsonObject::SetA(const TJsonKey& key, const TJsonArray& value)
{
    Put(key, json(As<array_t>(value.Node())));
}

TJsonObject TJsonObject::NewO(const TJsonKey& key)
{
    Put(key, json::object());
    return TJsonObject(*this, TStep { key.Utf8() }, false);
}

TJsonArray TJsonObject::NewA(const TJsonKey& key)
{
    Put(key, json::array());
    return TJsonArray(*this, TStep { key.Utf8() }, true);
}

// ---------------------------------------------------------------------------------------------
// TJsonArray

TJsonArray::TJsonArray()
    : TJsonBaseObject(NewDocument(json::array()), {}, true)
{
}

TJsonArray TJsonArray::Parse(const QString& text)
{
    return TJsonBaseObject::Parse(text).AsArray();
}

TJsonArray TJsonArray::Parse(const QByteArray& utf8)
{
    return TJsonBaseObject::Parse(utf8).AsArray();
}

TJsonArray TJsonArray::ParseFromFile(const QString& fileName)
{
    return TJsonBaseObject::ParseFromFile(fileName).AsArray();
}

TJsonArray TJsonArray::Clone() const
{
    return TJsonArray(NewDocument(json(As<array_t>(Node()))), {}, true);
}

template <class T> T TJsonArray::Get(int index) const
{
    return Read<T>(
        Item(As<array_t>(Node()), index, [this] { return Label(); }), [&] { return Label(index); });
}

TJsonDataType TJsonArray::Types(int index) const
{
    const array_t& items = As<array_t>(Node());
    return TypeOf(index >= 0 && size_t(index) < items.size() ? &items[size_t(index)] : nullptr);
}

QString TJsonArray::S(int index) const
{
    return Get<QString>(index);
}

int32_t TJsonArray::I(int index) const
{
    return Get<int32_t>(index);
}

int64_t TJsonArray::L(int index) const
{
    return Get<int64_t>(index);
}

double TJsonArray::F(int index) const
{
    return Get<double>(index);
}

bool TJsonArray::B(int index) const
{
    return Get<bool>(index);
}

TJsonObject TJsonArray::O(int index) const
{
    const json& v = Item(As<array_t>(Node()), index, [this] { return Label(); });
    if (!v.is_object())
        throw WrongType(v, Label(index), "an object");
    return TJsonObject(*this, TStep { {}, index }, false);
}

TJsonArray TJsonArray::A(int index) const
{
    const json& v = Item(As<array_t>(Node()), index, [this] { return Label(); });
    if (!v.is_array())
        throw WrongType(v, Label(index), "an array");
    return TJsonArray(*this, TStep { {}, index }, true);
}

void TJsonArray::Put(int index, zor::TJsonValue&& value)
{
    json& item = Item(As<array_t>(Node()), index, [this] { return Label(); });
    const bool replaced = item.is_structured();
    item = std::move(value.value);
    if (replaced)
        Moved();
}

void TJsonArray::SetS(int index, const QString& value)
{
    Put(index, String(value));
}

void TJsonArray::SetI(int index, int32_t value)
{
    Put(index, json(value));
}

void TJsonArray::SetL(int index, int64_t value)
{
    Put(index, json(value));
}

void TJsonArray::SetF(int index, double value)
{
    Put(index, Number(value, [&] { return Label(index); }));
}

void TJsonArray::SetB(int index, bool value)
{
    Put(index, json(value));
}

// Items keep their objects and arrays where they are when the array grows (the values move
// without a copy), so appending needs no new epoch.
void TJsonArray::Append(zor::TJsonValue&& value)
{
    As<array_t>(Node()).push_back(std::move(value.value));
}

void TJsonArray::Add(const QString& value)
{
    Append(String(value));
}

void TJsonArray::Add(bool value)
{
    Append(json(value));
}

void TJsonArray::Add(double value)
{
    Append(Number(value, [&] { return Label(Count()); }));
}

void TJsonArray::AddInteger(int64_t value)
{
    Append(json(value));
}

void TJsonArray::Add(const TJsonObject& value)
{
    Append(json(As<object_t>(value.Node())));
}

void TJsonArray::Add(const TJsonArray& value)
{
    Append(json(As<array_t>(value.Node())));
}

void TJsonArray::AddNull()
{
    Append(json());
}

TJsonObject TJsonArray::AddObject()
{
    Append(json::object());
    return TJsonObject(*this, TStep { {}, Count() - 1 }, false);
}

TJsonArray TJsonArray::AddArray()
{
    Append(json::array());
    return TJsonArray(*this, TStep { {}, Count() - 1 }, true);
}

void TJsonArray::Delete(int index)
{
    array_t& items = As<array_t>(Node());
    Item(items, index, [this] { return Label(); });
    items.erase(items.begin() + index);
    Moved();
}
