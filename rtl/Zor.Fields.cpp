#include "Zor.Fields.h"

#include "Zor.Json.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"

#include <cmath>
#include <limits>

namespace zor {

namespace {

struct TIntRange {
    int64_t min;
    int64_t max;
};

template <class T> constexpr TIntRange RangeOf()
{
    return { int64_t(std::numeric_limits<T>::min()), int64_t(std::numeric_limits<T>::max()) };
}

TIntRange IntRange(TZORFieldKind kind)
{
    switch (kind) {
    case TZORFieldKind::UInt8:
        return RangeOf<uint8_t>();
    case TZORFieldKind::Int16:
        return RangeOf<int16_t>();
    case TZORFieldKind::UInt16:
        return RangeOf<uint16_t>();
    case TZORFieldKind::Int32:
        return RangeOf<int32_t>();
    case TZORFieldKind::UInt32:
    case TZORFieldKind::Color:
        return RangeOf<uint32_t>();
    default:
        return RangeOf<int64_t>();
    }
}

bool IsInteger(TZORFieldKind kind)
{
    switch (kind) {
    case TZORFieldKind::UInt8:
    case TZORFieldKind::Int16:
    case TZORFieldKind::UInt16:
    case TZORFieldKind::Int32:
    case TZORFieldKind::UInt32:
    case TZORFieldKind::Int64:
    case TZORFieldKind::Color:
        return true;
    default:
        return false;
    }
}

int64_t Checked(int64_t v, TZORFieldKind kind, const char* key)
{
    const TIntRange r = IntRange(kind);
    if (v < r.min || v > r.max)
        throw Error(QStringLiteral("FieldRange"), QString::fromUtf8(key), QString::number(v));
    return v;
}

// A number that is not finite cannot stand in a record: it would also make the JSON form fail.
double Finite(double v, const char* key)
{
    if (!std::isfinite(v))
        throw Error(QStringLiteral("FieldRange"), QString::fromUtf8(key), QString::number(v));
    return v;
}

} // namespace

void WriteFieldValue(TBinaryWriter& w, TZORFieldKind kind, const TZORFieldValue& v)
{
    switch (kind) {
    case TZORFieldKind::Bool:
        w.WriteBoolean(std::get<bool>(v));
        break;
    case TZORFieldKind::UInt8:
        w.WriteByte(uint8_t(std::get<int64_t>(v)));
        break;
    case TZORFieldKind::Int16:
        w.WriteInt16(int16_t(std::get<int64_t>(v)));
        break;
    case TZORFieldKind::UInt16:
        w.WriteUInt16(uint16_t(std::get<int64_t>(v)));
        break;
    case TZORFieldKind::Int32:
        w.WriteInt32(int32_t(std::get<int64_t>(v)));
        break;
    case TZORFieldKind::UInt32:
        w.WriteUInt32(uint32_t(std::get<int64_t>(v)));
        break;
    case TZORFieldKind::Int64:
        w.WriteInt64(std::get<int64_t>(v));
        break;
    case TZORFieldKind::Color:
        w.WriteColor(uint32_t(std::get<int64_t>(v)));
        break;
    case TZORFieldKind::Float:
        w.WriteSingle(float(std::get<double>(v)));
        break;
    case TZORFieldKind::Double:
        w.WriteDouble(std::get<double>(v));
        break;
    case TZORFieldKind::String:
        w.WriteString(std::get<QString>(v));
        break;
    case TZORFieldKind::Bytes:
        w.WriteBytes(std::get<QByteArray>(v));
        break;
    }
}

TZORFieldValue ReadFieldValue(TBinaryReader& r, TZORFieldKind kind, const char* key)
{
    switch (kind) {
    case TZORFieldKind::Bool:
        return r.ReadBoolean();
    case TZORFieldKind::UInt8:
        return int64_t(r.ReadByte());
    case TZORFieldKind::Int16:
        return int64_t(r.ReadInt16());
    case TZORFieldKind::UInt16:
        return int64_t(r.ReadUInt16());
    case TZORFieldKind::Int32:
        return int64_t(r.ReadInt32());
    case TZORFieldKind::UInt32:
        return int64_t(r.ReadUInt32());
    case TZORFieldKind::Int64:
        return r.ReadInt64();
    case TZORFieldKind::Color:
        return int64_t(r.ReadColor());
    case TZORFieldKind::Float:
        return Finite(r.ReadSingle(), key);
    case TZORFieldKind::Double:
        return Finite(r.ReadDouble(), key);
    case TZORFieldKind::String:
        return r.ReadString();
    case TZORFieldKind::Bytes:
        return r.ReadBytes();
    }
    return {};
}

void PutFieldValue(TJsonObject& o, const char* key, TZORFieldKind kind, const TZORFieldValue& v)
{
    if (kind == TZORFieldKind::Bool)
        o.SetB(key, std::get<bool>(v));
    else if (IsInteger(kind))
        o.SetL(key, std::get<int64_t>(v));
    else if (kind == TZORFieldKind::Float || kind == TZORFieldKind::Double)
        o.SetF(key, std::get<double>(v));
    else if (kind == TZORFieldKind::String)
        o.SetS(key, std::get<QString>(v));
    else
        o.SetS(key, QString::fromLatin1(std::get<QByteArray>(v).toBase64()));
}

bool GetFieldValue(const TJsonObject& o, const char* key, TZORFieldKind kind, TZORFieldValue& v)
{
    if (!o.Contains(key))
        return false;
    if (kind == TZORFieldKind::Bool)
        v = o.B(key);
    else if (IsInteger(kind))
        v = Checked(o.L(key), kind, key);
    else if (kind == TZORFieldKind::Float || kind == TZORFieldKind::Double)
        v = o.F(key);
    else if (kind == TZORFieldKind::String)
        v = o.S(key);
    else
        v = DecodeBase64(o.S(key), key);
    return true;
}

QByteArray DecodeBase64(const QString& text, const char* key)
{
    const auto decoded
        = QByteArray::fromBase64Encoding(text.toLatin1(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded)
        throw Error(QStringLiteral("FieldBase64"), QString::fromUtf8(key));
    return *decoded;
}

int32_t StreamVersion(const TBinaryReader& r)
{
    return r.GetVersion();
}

} // namespace zor
