#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Types.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>
#include <type_traits>
#include <variant>
#include <vector>

namespace zor {

class TBinaryReader;
class TBinaryWriter;
class TJsonObject;

} // namespace zor

// One declarative table of fields per record (element kind, layer, measure, ...) drives its
// binary record, its JSON object and its inspector rows, so that the three cannot disagree.
// A field names a data member; the table's order is the binary order.

enum class TZORFieldKind : uint8_t {
    Bool,
    UInt8,
    Int16,
    UInt16,
    Int32,
    UInt32,
    Int64,
    Float,
    Double,
    String,
    Color,
    Bytes
};

// A field's value on its way between a record and a stream: integers of every width travel as
// int64, floats as double, byte blocks as QByteArray (base64 in JSON).
using TZORFieldValue = std::variant<bool, int64_t, double, QString, QByteArray>;

namespace zor {

template <class T> struct MemberOf;
template <class C, class M> struct MemberOf<M C::*> {
    using Class = C;
    using Type = M;
};

template <class M> constexpr TZORFieldKind FieldKindOf()
{
    if constexpr (std::is_same_v<M, bool>)
        return TZORFieldKind::Bool;
    else if constexpr (std::is_same_v<M, QString>)
        return TZORFieldKind::String;
    else if constexpr (std::is_same_v<M, QByteArray>)
        return TZORFieldKind::Bytes;
    else if constexpr (std::is_same_v<M, TAlphaColor>)
        return TZORFieldKind::Color;
    else if constexpr (std::is_same_v<M, float>)
        return TZORFieldKind::Float;
    else if constexpr (std::is_same_v<M, double>)
        return TZORFieldKind::Double;
    else if constexpr (std::is_enum_v<M>)
        return FieldKindOf<std::underlying_type_t<M>>();
    else if constexpr (std::is_same_v<M, uint8_t>)
        return TZORFieldKind::UInt8;
    else if constexpr (std::is_same_v<M, int16_t>)
        return TZORFieldKind::Int16;
    else if constexpr (std::is_same_v<M, uint16_t>)
        return TZORFieldKind::UInt16;
    else if constexpr (std::is_same_v<M, int32_t>)
        return TZORFieldKind::Int32;
    else if constexpr (std::is_same_v<M, uint32_t>)
        return TZORFieldKind::UInt32;
    else if constexpr (std::is_same_v<M, int64_t>)
        return TZORFieldKind::Int64;
    else
        static_assert(sizeof(M) == 0, "no field kind for this member type");
}

template <class M> TZORFieldValue ToFieldValue(const M& m)
{
    if constexpr (std::is_same_v<M, bool> || std::is_same_v<M, QString> || std::is_same_v<M, QByteArray>)
        return m;
    else if constexpr (std::is_same_v<M, TAlphaColor>)
        return int64_t(zor::Ord(m));
    else if constexpr (std::is_floating_point_v<M>)
        return double(m);
    else if constexpr (std::is_enum_v<M>)
        return int64_t(std::underlying_type_t<M>(m));
    else
        return int64_t(m);
}

template <class M> M FromFieldValue(const TZORFieldValue& v)
{
    if constexpr (std::is_same_v<M, bool> || std::is_same_v<M, QString> || std::is_same_v<M, QByteArray>)
        return std::get<M>(v);
    else if constexpr (std::is_same_v<M, TAlphaColor>)
        return TAlphaColor(uint32_t(std::get<int64_t>(v)));
    else if constexpr (std::is_floating_point_v<M>)
        return M(std::get<double>(v));
    else if constexpr (std::is_enum_v<M>)
        return M(std::underlying_type_t<M>(std::get<int64_t>(v)));
    else
        return M(std::get<int64_t>(v));
}

} // namespace zor

template <class Root> struct TZORField {
    const char* key; // JSON member and inspector property name
    TZORFieldKind kind;
    TZORFieldValue (*get)(const Root&);
    void (*set)(Root&, const TZORFieldValue&);
    int32_t since = 0; // the file version that added the field to the binary record; 0: always there
    // A JSON object leaves the field out while it holds this value, so that a label that does
    // not use a newer field writes the object it wrote before; none: always written.
    std::optional<TZORFieldValue> quiet = std::nullopt;
};

template <class Root> using TZORFields = std::vector<TZORField<Root>>;

namespace zor {

// The field of data member Member (of Root or of a class derived from it) under key; `since` for
// a field that binary records of files older than that version lack; `quiet` for a value that
// JSON leaves out.
template <class Root, auto Member>
TZORField<Root> Field(const char* key, int32_t since = 0,
    std::optional<typename zor::MemberOf<decltype(Member)>::Type> quiet = std::nullopt)
{
    using C = typename zor::MemberOf<decltype(Member)>::Class;
    using M = typename zor::MemberOf<decltype(Member)>::Type;
    static_assert(std::is_base_of_v<Root, C>);
    return { key, zor::FieldKindOf<M>(),
        [](const Root& r) { return zor::ToFieldValue(static_cast<const C&>(r).*Member); },
        [](Root& r, const TZORFieldValue& v) { static_cast<C&>(r).*Member = zor::FromFieldValue<M>(v); },
        since, quiet ? std::optional(zor::ToFieldValue(*quiet)) : std::nullopt };
}

} // namespace zor

// A table extended by more fields: a derived record's table is its base's plus its own.
template <class Root> TZORFields<Root> operator+(TZORFields<Root> base, const TZORFields<Root>& more)
{
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

namespace zor {

// Value-level stream and JSON access, checked: a value out of its field's range, or a JSON member
// of the wrong type, raises EZORError naming the key.
QUINDLE_RTL_EXPORT void WriteFieldValue(TBinaryWriter& w, TZORFieldKind kind, const TZORFieldValue& v);
QUINDLE_RTL_EXPORT TZORFieldValue ReadFieldValue(TBinaryReader& r, TZORFieldKind kind, const char* key);
QUINDLE_RTL_EXPORT void PutFieldValue(
    TJsonObject& o, const char* key, TZORFieldKind kind, const TZORFieldValue& v);
// False when the member is absent (the record keeps its default).
QUINDLE_RTL_EXPORT bool GetFieldValue(
    const TJsonObject& o, const char* key, TZORFieldKind kind, TZORFieldValue& v);
// Bytes kept in JSON as base64 text; anything else raises EZORError naming the key.
QUINDLE_RTL_EXPORT QByteArray DecodeBase64(const QString& text, const char* key);
QUINDLE_RTL_EXPORT int32_t StreamVersion(const TBinaryReader& r);

template <class Root> void WriteFields(TBinaryWriter& w, const Root& r, const TZORFields<Root>& fields)
{
    for (const auto& f : fields)
        WriteFieldValue(w, f.kind, f.get(r));
}

// A field newer than the stream's version is not in its record and keeps the record's value.
template <class Root> void ReadFields(TBinaryReader& rd, Root& r, const TZORFields<Root>& fields)
{
    for (const auto& f : fields)
        if (f.since <= StreamVersion(rd))
            f.set(r, ReadFieldValue(rd, f.kind, f.key));
}

template <class Root> void FieldsToJson(TJsonObject& o, const Root& r, const TZORFields<Root>& fields)
{
    for (const auto& f : fields)
        if (const TZORFieldValue v = f.get(r); v != f.quiet)
            PutFieldValue(o, f.key, f.kind, v);
}

template <class Root> void FieldsFromJson(const TJsonObject& o, Root& r, const TZORFields<Root>& fields)
{
    TZORFieldValue v;
    for (const auto& f : fields)
        if (GetFieldValue(o, f.key, f.kind, v))
            f.set(r, v);
}

} // namespace zor
