#include "Zor.Stream.h"

#include "Zor.Msg.h"

#include <QBuffer>
#include <QSaveFile>
#include <QStringDecoder>

#include <bit>
#include <cmath>
#include <limits>

using zor::Error;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::WriteAll;

namespace {

constexpr int64_t MsPerDay = 86400000;
const QDate DayZero(1899, 12, 30);

QString Num(int64_t value)
{
    return QString::number(value);
}

EZORError TooLong(qsizetype size)
{
    return zor::Error("StreamTooLong", Num(size));
}

} // namespace

// ---------------------------------------------------------------------------------------------
// TBinaryWriter

TBinaryWriter::TBinaryWriter(QIODevice* device)
    : fDevice(device)
{
    if (!fDevice || !fDevice->isWritable())
        throw zor::Error("StreamNotWritable");
}

TBinaryWriter::TBinaryWriter(QByteArray* bytes)
    : fOwnBuffer(std::make_unique<QBuffer>(bytes))
    , fDevice(fOwnBuffer.get())
{
    fOwnBuffer->open(QIODevice::WriteOnly | QIODevice::Append);
}

TBinaryWriter::~TBinaryWriter() = default;

void TBinaryWriter::Put(const char* data, int64_t size)
{
    if (fDevice->write(data, size) != size)
        throw zor::Error("StreamWrite", fDevice->errorString());
}

template <class U> void TBinaryWriter::PutLE(U value)
{
    static_assert(std::is_unsigned_v<U>);
    char bytes[sizeof(U)];
    for (size_t i = 0; i < sizeof(U); ++i)
        bytes[i] = char((value >> (8 * i)) & 0xFF);
    Put(bytes, sizeof(U));
}

void TBinaryWriter::WriteBoolean(bool value)
{
    WriteByte(value ? 1 : 0);
}

void TBinaryWriter::WriteByte(uint8_t value)
{
    PutLE(value);
}

void TBinaryWriter::WriteInt16(int16_t value)
{
    PutLE(uint16_t(value));
}

void TBinaryWriter::WriteUInt16(uint16_t value)
{
    PutLE(value);
}

void TBinaryWriter::WriteInt32(int32_t value)
{
    PutLE(uint32_t(value));
}

void TBinaryWriter::WriteUInt32(uint32_t value)
{
    PutLE(value);
}

void TBinaryWriter::WriteInt64(int64_t value)
{
    PutLE(uint64_t(value));
}

void TBinaryWriter::WriteSingle(float value)
{
    PutLE(std::bit_cast<uint32_t>(value));
}

void TBinaryWriter::WriteDouble(double value)
{
    PutLE(std::bit_cast<uint64_t>(value));
}

void TBinaryWriter::Write7BitEncodedInt(int32_t value)
{
    if (value < 0)
        throw zor::Error("StreamNegative", Num(value));
    char bytes[5];
    int n = 0;
    auto rest = uint32_t(value);
    for (; rest >= 0x80; rest >>= 7)
        bytes[n++] = char((rest & 0x7F) | 0x80);
    bytes[n++] = char(rest);
    Put(bytes, n);
}

void TBinaryWriter::WriteString(const QString& value)
{
    const QByteArray utf8 = value.toUtf8();
    if (utf8.size() > std::numeric_limits<int32_t>::max())
        throw TooLong(utf8.size());
    Write7BitEncodedInt(int32_t(utf8.size()));
    Put(utf8.constData(), utf8.size());
}

void TBinaryWriter::WriteDateTime(const QDateTime& value)
{
    WriteDouble(zor::DateTimeToDays(value));
}

void TBinaryWriter::WriteColor(uint32_t value)
{
    WriteUInt32(value);
}

void TBinaryWriter::WriteBytes(const QByteArray& value)
{
    if (value.size() > std::numeric_limits<int32_t>::max())
        throw TooLong(value.size());
    WriteInt32(int32_t(value.size()));
    WriteRaw(value);
}

void TBinaryWriter::WriteRaw(const QByteArray& value)
{
    Put(value.constData(), value.size());
}

// ---------------------------------------------------------------------------------------------
// TBinaryReader

TBinaryReader::TBinaryReader(QIODevice* device)
    : fDevice(device)
{
    if (!fDevice || !fDevice->isReadable())
        throw zor::Error("StreamNotReadable");
    // QFile::size asks the file system each time: take it once, since a file being read as a
    // label does not change under the reader.
    fSize = fDevice->isSequential() ? -1 : fDevice->size();
}

TBinaryReader::TBinaryReader(const QByteArray& bytes)
    : fOwnBuffer(std::make_unique<QBuffer>())
    , fDevice(fOwnBuffer.get())
{
    fOwnBuffer->setData(bytes);
    fOwnBuffer->open(QIODevice::ReadOnly);
    fSize = bytes.size();
}

TBinaryReader::~TBinaryReader() = default;

int64_t TBinaryReader::Position() const
{
    return fDevice->pos();
}

int64_t TBinaryReader::BytesLeft() const
{
    if (fSize < 0)
        return fDevice->bytesAvailable();
    return std::max<int64_t>(0, fSize - fDevice->pos());
}

void TBinaryReader::Need(int64_t size) const
{
    const int64_t left = BytesLeft();
    if (size > left)
        throw zor::Error("StreamEnd", Num(Position()), Num(size), Num(left));
}

void TBinaryReader::Get(char* data, int64_t size)
{
    Need(size);
    const int64_t start = Position();
    const int64_t got = fDevice->read(data, size);
    if (got != size)
        throw zor::Error("StreamEnd", Num(start), Num(size), Num(std::max<int64_t>(got, 0)));
}

template <class U> U TBinaryReader::GetLE()
{
    static_assert(std::is_unsigned_v<U>);
    char bytes[sizeof(U)];
    Get(bytes, sizeof(U));
    U value = 0;
    for (size_t i = 0; i < sizeof(U); ++i)
        value |= U(uint8_t(bytes[i])) << (8 * i);
    return value;
}

bool TBinaryReader::ReadBoolean()
{
    return ReadByte() != 0;
}

uint8_t TBinaryReader::ReadByte()
{
    return GetLE<uint8_t>();
}

int16_t TBinaryReader::ReadInt16()
{
    return int16_t(GetLE<uint16_t>());
}

uint16_t TBinaryReader::ReadUInt16()
{
    return GetLE<uint16_t>();
}

int32_t TBinaryReader::ReadInt32()
{
    return int32_t(GetLE<uint32_t>());
}

uint32_t TBinaryReader::ReadUInt32()
{
    return GetLE<uint32_t>();
}

int64_t TBinaryReader::ReadInt64()
{
    return int64_t(GetLE<uint64_t>());
}

float TBinaryReader::ReadSingle()
{
    return std::bit_cast<float>(GetLE<uint32_t>());
}

double TBinaryReader::ReadDouble()
{
    return std::bit_cast<double>(GetLE<uint64_t>());
}

int32_t TBinaryReader::Read7BitEncodedInt()
{
    const int64_t start = Position();
    uint32_t value = 0;
    for (int shift = 0; shift < 28; shift += 7) {
        const uint8_t b = ReadByte();
        value |= uint32_t(b & 0x7F) << shift;
        if (!(b & 0x80))
            return int32_t(value);
    }
    // The fifth byte holds the top 4 bits of 32; only 3 of them keep the value below 2^31.
    const uint8_t last = ReadByte();
    if (last > 0x07)
        throw zor::Error("StreamLength", Num(start));
    return int32_t(value | (uint32_t(last) << 28));
}

QString TBinaryReader::ReadString()
{
    const int64_t start = Position();
    const QByteArray utf8 = ReadRaw(Read7BitEncodedInt());
    // Stateless: a sequence cut at the end is an error, not a wait for more. A leading U+FEFF
    // is part of the text, not a mark to drop.
    QStringDecoder decoder(
        QStringDecoder::Utf8, QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = decoder.decode(utf8);
    if (decoder.hasError())
        throw zor::Error("StreamUtf8", Num(start));
    return text;
}

QDateTime TBinaryReader::ReadDateTime()
{
    const int64_t start = Position();
    const double days = ReadDouble();
    QDateTime value = zor::DaysToDateTime(days);
    if (!value.isValid())
        throw zor::Error("StreamDate", Num(start), QString::number(days, 'g', 17));
    return value;
}

uint32_t TBinaryReader::ReadColor()
{
    return ReadUInt32();
}

QByteArray TBinaryReader::ReadBytes()
{
    const int64_t start = Position();
    const int32_t size = ReadInt32();
    if (size < 0)
        throw zor::Error("StreamLength", Num(start));
    return ReadRaw(size);
}

QByteArray TBinaryReader::ReadRaw(int64_t size)
{
    if (size < 0)
        throw zor::Error("StreamLength", Num(Position()));
    Need(size);
    QByteArray bytes(size, Qt::Uninitialized);
    Get(bytes.data(), size);
    return bytes;
}

int32_t TBinaryReader::ReadCount(int32_t maxItems, int64_t minBytesPerItem)
{
    const int64_t start = Position();
    const int32_t count = ReadInt32();
    const bool fits = minBytesPerItem <= 0 || count <= BytesLeft() / minBytesPerItem;
    if (count < 0 || count > maxItems || !fits)
        throw zor::Error("StreamCount", Num(start), Num(count));
    return count;
}

// ---------------------------------------------------------------------------------------------
// TDateTime

double zor::DateTimeToDays(const QDateTime& value)
{
    if (!value.isValid())
        return 0;
    const int64_t day = DayZero.daysTo(value.date());
    const double fraction = double(value.time().msecsSinceStartOfDay()) / double(MsPerDay);
    return day >= 0 ? double(day) + fraction : double(day) - fraction;
}

QDateTime zor::DaysToDateTime(double days)
{
    // Beyond this the day count no longer fits the calendar range checked below.
    constexpr double Limit = 1e9;
    if (!std::isfinite(days) || std::fabs(days) > Limit)
        return {};
    const double whole = std::trunc(days);
    auto day = int64_t(whole);
    auto ms = int64_t(std::nearbyint(std::fabs(days - whole) * double(MsPerDay)));
    if (ms >= MsPerDay) {
        ++day;
        ms = 0;
    }
    const QDate date = DayZero.addDays(day);
    if (!date.isValid() || date.year() < 1 || date.year() > 9999)
        return {};
    return QDateTime(date, QTime::fromMSecsSinceStartOfDay(int(ms)));
}

bool zor::WriteAll(QFileDevice& file, const char* data, int64_t size)
{
    while (size > 0) {
        const qint64 n = file.write(data, size);
        if (n <= 0)
            return false;
        data += n;
        size -= n;
    }
    return true;
}

void zor::SaveFileBytes(const QString& path, const QByteArray& bytes)
{
    QSaveFile file(path);
    // Unbuffered: a short write (a disk filling up) must show in the count written; through the
    // buffer it would be lost at the flush and the truncated file committed.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        throw Error(QStringLiteral("FileWrite"), path, file.errorString());
    if (!WriteAll(file, bytes.constData(), bytes.size())) {
        const QString reason = file.errorString();
        file.cancelWriting();
        throw Error(QStringLiteral("FileWrite"), path, reason);
    }
    if (!file.commit())
        throw Error(QStringLiteral("FileWrite"), path, file.errorString());
}
