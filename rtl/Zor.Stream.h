#pragma once

#include "Zor.RtlExport.h"
#include "Zor.Version.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <cstdint>
#include <memory>

class QBuffer;
class QFileDevice;
class QIODevice;

// The binary form of the model: little-endian numbers, floats in IEEE 754, booleans as one byte,
// strings as their UTF-8 byte length in 7-bit groups (the LEB128 form of .NET's BinaryWriter,
// at most 5 bytes) followed by the bytes, dates as the double of days since 1899-12-30 (the
// TDateTime convention), colours as uint32, byte blocks as an int32 length and the bytes.
//
// The reader trusts nothing it reads: every read checks the bytes left first and a short or
// corrupt stream raises EZORError saying what was wrong and at which offset; a length or count
// is checked against the bytes left before anything is allocated for it. A device that is not
// random-access is read as far as it has data buffered.

namespace zor {

class QUINDLE_RTL_EXPORT TBinaryWriter {
public:
    // The device stays the caller's and must be open for writing.
    explicit TBinaryWriter(QIODevice* device);
    // Appends to bytes, which must outlive the writer.
    explicit TBinaryWriter(QByteArray* bytes);
    ~TBinaryWriter();
    TBinaryWriter(const TBinaryWriter&) = delete;
    TBinaryWriter& operator=(const TBinaryWriter&) = delete;

    void WriteBoolean(bool value);
    void WriteByte(uint8_t value);
    void WriteInt16(int16_t value);
    void WriteUInt16(uint16_t value);
    void WriteInt32(int32_t value);
    void WriteUInt32(uint32_t value);
    void WriteInt64(int64_t value);
    void WriteSingle(float value);
    void WriteDouble(double value);
    void WriteString(const QString& value);
    // A length or count from 0 to 2^31 - 1 in 1 to 5 bytes.
    void Write7BitEncodedInt(int32_t value);
    void WriteDateTime(const QDateTime& value);
    void WriteColor(uint32_t value);
    void WriteBytes(const QByteArray& value);
    // Bytes as they are, without a length.
    void WriteRaw(const QByteArray& value);

    QIODevice* Device() const { return fDevice; }

private:
    void Put(const char* data, int64_t size);
    template <class U> void PutLE(U value);

    std::unique_ptr<QBuffer> fOwnBuffer;
    QIODevice* fDevice;
};

class QUINDLE_RTL_EXPORT TBinaryReader {
public:
    // The device stays the caller's and must be open for reading; it is read from its current
    // position, and its size is taken now.
    explicit TBinaryReader(QIODevice* device);
    // Reads a shared copy of bytes.
    explicit TBinaryReader(const QByteArray& bytes);
    ~TBinaryReader();
    TBinaryReader(const TBinaryReader&) = delete;
    TBinaryReader& operator=(const TBinaryReader&) = delete;

    bool ReadBoolean(); // any byte but 0 is true
    uint8_t ReadByte();
    int16_t ReadInt16();
    uint16_t ReadUInt16();
    int32_t ReadInt32();
    uint32_t ReadUInt32();
    int64_t ReadInt64();
    float ReadSingle();
    double ReadDouble();
    QString ReadString();
    int32_t Read7BitEncodedInt();
    // A date outside the years 1 to 9999 (or not a number) raises.
    QDateTime ReadDateTime();
    uint32_t ReadColor();
    QByteArray ReadBytes();
    QByteArray ReadRaw(int64_t size);
    // A count of list items: an int32 from 0 to maxItems whose items, at minBytesPerItem each,
    // fit in the bytes left. Anything else raises before the caller allocates for the list.
    int32_t ReadCount(int32_t maxItems, int64_t minBytesPerItem);

    // The file version of the stream being read (this library's own until a header says
    // otherwise); records leave out the fields added after it.
    int32_t GetVersion() const { return fVersion; }
    void SetVersion(int32_t version) { fVersion = version; }

    int64_t Position() const;
    int64_t BytesLeft() const;
    QIODevice* Device() const { return fDevice; }

private:
    void Need(int64_t size) const;
    void Get(char* data, int64_t size);
    template <class U> U GetLE();

    std::unique_ptr<QBuffer> fOwnBuffer;
    QIODevice* fDevice;
    int64_t fSize = -1; // -1 for a sequential device
    int32_t fVersion = ZORFileVersion;
};

// Replaces the file at path by bytes through a temporary file and a rename: a save that fails
// (a full disk included) raises and leaves the old file whole.
QUINDLE_RTL_EXPORT void SaveFileBytes(const QString& path, const QByteArray& bytes);
// Writes all size bytes to the file, false when it takes fewer. A write the system cuts short
// (the disk filling up) is tried on until the system refuses one, so that the file's
// errorString gives the system's reason ("No space left on device"), not an unknown error.
QUINDLE_RTL_EXPORT bool WriteAll(QFileDevice& file, const char* data, int64_t size);

// TDateTime: whole days since 1899-12-30 plus the fraction of the day; before that day the
// fraction still counts forward from midnight (-1.25 is 1899-12-29 06:00). The date and time
// are taken as the QDateTime shows them, without any zone; an invalid QDateTime is 0.
QUINDLE_RTL_EXPORT double DateTimeToDays(const QDateTime& value);
// Local time; invalid for a value that is not a number or outside the years 1 to 9999.
QUINDLE_RTL_EXPORT QDateTime DaysToDateTime(double days);

} // namespace zor
