#include "ErrorOf.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"

#include <QBuffer>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <fstream>
#include <functional>
#include <limits>
#include <string>
#include <sys/resource.h>

using zor::DateTimeToDays;
using zor::DaysToDateTime;
using zor::TBinaryReader;
using zor::TBinaryWriter;

using zor::test::ErrorOf;

namespace {

QByteArray Bytes(std::initializer_list<int> values)
{
    QByteArray b;
    for (int v : values)
        b.append(char(v));
    return b;
}

QByteArray Written(const std::function<void(TBinaryWriter&)>& write)
{
    QByteArray bytes;
    TBinaryWriter w(&bytes);
    write(w);
    return bytes;
}

// The first words of a catalogue error text, before its first placeholder.
QString Lead(const char* key)
{
    const QString text = TZORMsg::GetErrorValue(key);
    return text.left(text.indexOf('%'));
}

// A record of every kind of value, written and read in the same order.
struct TRecord {
    bool b1 = true, b2 = false;
    uint8_t u8 = 0xFE;
    int16_t i16 = std::numeric_limits<int16_t>::min();
    uint16_t u16 = 0xFFFF;
    int32_t i32 = -123456789;
    uint32_t u32 = 0xDEADBEEF;
    int64_t i64 = std::numeric_limits<int64_t>::min() + 7;
    float f32 = -0.0f;
    float nan32 = std::bit_cast<float>(0x7FC00001u);
    double f64 = 5e-324; // the smallest denormal
    double inf = -std::numeric_limits<double>::infinity();
    QString empty;
    QString unicode = QString::fromUtf8("Grüße € 𝄞");
    QString withMark = QChar(0xFEFF) + QStringLiteral("after a BOM");
    QString medium = QString(200, QChar(0x00E9)); // a 2-byte length
    QString large = QString(20000, QChar(0x20AC)); // a 3-byte length
    QDateTime date = QDateTime(QDate(2024, 2, 29), QTime(13, 45, 30, 250));
    uint32_t color = 0x80FF8040;
    QByteArray blob = Bytes({ 0, 1, 2, 255, 0 });
    QByteArray none;

    void Write(TBinaryWriter& w) const
    {
        w.WriteBoolean(b1);
        w.WriteBoolean(b2);
        w.WriteByte(u8);
        w.WriteInt16(i16);
        w.WriteUInt16(u16);
        w.WriteInt32(i32);
        w.WriteUInt32(u32);
        w.WriteInt64(i64);
        w.WriteSingle(f32);
        w.WriteSingle(nan32);
        w.WriteDouble(f64);
        w.WriteDouble(inf);
        for (const QString* s : { &empty, &unicode, &withMark, &medium, &large })
            w.WriteString(*s);
        w.WriteDateTime(date);
        w.WriteColor(color);
        w.WriteBytes(blob);
        w.WriteBytes(none);
    }

    void ReadAndCompare(TBinaryReader& r) const
    {
        EXPECT_EQ(r.ReadBoolean(), b1);
        EXPECT_EQ(r.ReadBoolean(), b2);
        EXPECT_EQ(r.ReadByte(), u8);
        EXPECT_EQ(r.ReadInt16(), i16);
        EXPECT_EQ(r.ReadUInt16(), u16);
        EXPECT_EQ(r.ReadInt32(), i32);
        EXPECT_EQ(r.ReadUInt32(), u32);
        EXPECT_EQ(r.ReadInt64(), i64);
        EXPECT_EQ(std::bit_cast<uint32_t>(r.ReadSingle()), std::bit_cast<uint32_t>(f32));
        EXPECT_EQ(std::bit_cast<uint32_t>(r.ReadSingle()), std::bit_cast<uint32_t>(nan32));
        EXPECT_EQ(r.ReadDouble(), f64);
        EXPECT_EQ(r.ReadDouble(), inf);
        for (const QString* s : { &empty, &unicode, &withMark, &medium, &large })
            EXPECT_EQ(r.ReadString(), *s);
        EXPECT_EQ(r.ReadDateTime(), date);
        EXPECT_EQ(r.ReadColor(), color);
        EXPECT_EQ(r.ReadBytes(), blob);
        EXPECT_EQ(r.ReadBytes(), none);
    }
};

} // namespace

TEST(BinaryStream, EveryKindOfValueReadsBackEqual)
{
    const TRecord record;
    const QByteArray bytes = Written([&](TBinaryWriter& w) { record.Write(w); });
    TBinaryReader r(bytes);
    record.ReadAndCompare(r);
    EXPECT_EQ(r.BytesLeft(), 0);

    // The same through a file.
    QTemporaryDir dir;
    QFile file(dir.filePath("record.bin"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    TBinaryWriter(&file).WriteRaw(bytes);
    file.close();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    TBinaryReader fr(&file);
    record.ReadAndCompare(fr);
    EXPECT_EQ(fr.BytesLeft(), 0);
}

TEST(BinaryStream, ExactEncoding)
{
    struct Case {
        const char* name;
        std::function<void(TBinaryWriter&)> write;
        QByteArray bytes;
    };
    const Case cases[] = {
        { "int32 little-endian", [](TBinaryWriter& w) { w.WriteInt32(0x01020304); }, Bytes({ 4, 3, 2, 1 }) },
        { "int16 negative", [](TBinaryWriter& w) { w.WriteInt16(-2); }, Bytes({ 0xFE, 0xFF }) },
        { "int64", [](TBinaryWriter& w) { w.WriteInt64(0x0102030405060708); },
            Bytes({ 8, 7, 6, 5, 4, 3, 2, 1 }) },
        { "bool", [](TBinaryWriter& w) { w.WriteBoolean(true); }, Bytes({ 1 }) },
        { "single 1.0", [](TBinaryWriter& w) { w.WriteSingle(1.0f); }, Bytes({ 0, 0, 0x80, 0x3F }) },
        { "double 1.0", [](TBinaryWriter& w) { w.WriteDouble(1.0); },
            Bytes({ 0, 0, 0, 0, 0, 0, 0xF0, 0x3F }) },
        { "7-bit 0", [](TBinaryWriter& w) { w.Write7BitEncodedInt(0); }, Bytes({ 0 }) },
        { "7-bit 127", [](TBinaryWriter& w) { w.Write7BitEncodedInt(127); }, Bytes({ 0x7F }) },
        { "7-bit 128", [](TBinaryWriter& w) { w.Write7BitEncodedInt(128); }, Bytes({ 0x80, 0x01 }) },
        { "7-bit 300", [](TBinaryWriter& w) { w.Write7BitEncodedInt(300); }, Bytes({ 0xAC, 0x02 }) },
        { "7-bit max", [](TBinaryWriter& w) { w.Write7BitEncodedInt(std::numeric_limits<int32_t>::max()); },
            Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0x07 }) },
        { "string", [](TBinaryWriter& w) { w.WriteString(QString::fromUtf8("aé")); },
            Bytes({ 3, 'a', 0xC3, 0xA9 }) },
        { "bytes", [](TBinaryWriter& w) { w.WriteBytes(Bytes({ 9 })); }, Bytes({ 1, 0, 0, 0, 9 }) },
        { "date zero", [](TBinaryWriter& w) { w.WriteDateTime(QDateTime(QDate(1899, 12, 30), QTime(0, 0))); },
            Bytes({ 0, 0, 0, 0, 0, 0, 0, 0 }) },
    };
    for (const Case& c : cases)
        EXPECT_EQ(Written(c.write).toHex(' '), c.bytes.toHex(' ')) << c.name;
    const QByteArray max = Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0x07 });
    EXPECT_EQ(TBinaryReader(max).Read7BitEncodedInt(), std::numeric_limits<int32_t>::max());
    // Longer than needed, as .NET accepts.
    EXPECT_EQ(TBinaryReader(Bytes({ 0x80, 0x80, 0x00 })).Read7BitEncodedInt(), 0);
}

TEST(BinaryStream, WriterAppendsToBytes)
{
    QByteArray bytes = "ab";
    TBinaryWriter w(&bytes);
    w.WriteByte('c');
    EXPECT_EQ(bytes, "abc");
}

TEST(BinaryStream, EveryCutOfARecordIsRejected)
{
    const TRecord record;
    const QByteArray bytes = Written([&](TBinaryWriter& w) { record.Write(w); });
    const QString end = Lead("StreamEnd");
    for (qsizetype cut = 0; cut < bytes.size(); ++cut) {
        TBinaryReader r(bytes.left(cut));
        // Values are compared only while they are whole; the cut raises before a wrong one.
        const QString message = ErrorOf([&] { record.ReadAndCompare(r); });
        ASSERT_TRUE(message.startsWith(end)) << "cut " << cut << ": " << message.toStdString();
    }
}

TEST(BinaryStream, CutsOfAFileAreRejectedToo)
{
    const TRecord record;
    const QByteArray bytes = Written([&](TBinaryWriter& w) { record.Write(w); });
    QTemporaryDir dir;
    for (const qsizetype cut :
        { qsizetype(0), qsizetype(1), qsizetype(40), bytes.size() / 2, bytes.size() - 1 }) {
        QFile file(dir.filePath(QStringLiteral("cut%1.bin").arg(cut)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes.left(cut));
        file.close();
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        TBinaryReader r(&file);
        EXPECT_TRUE(ErrorOf([&] { record.ReadAndCompare(r); }).startsWith(Lead("StreamEnd"))) << cut;
    }
}

TEST(BinaryStream, TheMessageSaysWhereAndHowMuch)
{
    TBinaryReader r(Bytes({ 1, 2, 3, 4, 5, 6 }));
    r.ReadInt32();
    const QString message = ErrorOf([&] { r.ReadInt32(); });
    EXPECT_EQ(message, TZORMsg::GetErrorValue("StreamEnd").arg("4", "4", "2"));
    // Nothing was consumed by the failed read.
    EXPECT_EQ(r.ReadInt16(), 0x0605);
}

namespace {

// Keeps the address space within reach of what the process has, so that an allocation sized by
// a corrupt length fails loudly instead of quietly succeeding. Sanitizers reserve huge shadow
// regions and cannot run under such a limit.
class TAddressSpaceCap {
public:
    TAddressSpaceCap()
    {
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
        getrlimit(RLIMIT_AS, &fSaved);
        std::ifstream status("/proc/self/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmSize:", 0) == 0)
                fKb = std::stoull(line.substr(7));
        rlimit cap = fSaved;
        cap.rlim_cur = (fKb + 512 * 1024) * 1024; // 512 MiB more than now
        fActive = fKb > 0 && setrlimit(RLIMIT_AS, &cap) == 0;
#endif
    }
    ~TAddressSpaceCap()
    {
        if (fActive)
            setrlimit(RLIMIT_AS, &fSaved);
    }

private:
    rlimit fSaved {};
    unsigned long long fKb = 0;
    bool fActive = false;
};

} // namespace

TEST(BinaryStream, LengthsBeyondTheDataAreRejectedBeforeAllocating)
{
    const QByteArray hugeString = Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0x07, 'a', 'b', 'c' });
    const QByteArray hugeBytes = Bytes({ 0xFF, 0xFF, 0xFF, 0x7F, 'a' });
    const QByteArray negativeBytes = Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 'a' });
    const QByteArray oneTooMany = Bytes({ 4, 'a', 'b', 'c' });
    TAddressSpaceCap cap;
    EXPECT_TRUE(ErrorOf([&] { TBinaryReader(hugeString).ReadString(); }).startsWith(Lead("StreamEnd")));
    EXPECT_TRUE(ErrorOf([&] { TBinaryReader(hugeBytes).ReadBytes(); }).startsWith(Lead("StreamEnd")));
    EXPECT_TRUE(ErrorOf([&] { TBinaryReader(negativeBytes).ReadBytes(); }).startsWith(Lead("StreamLength")));
    EXPECT_TRUE(ErrorOf([&] { TBinaryReader(oneTooMany).ReadString(); }).startsWith(Lead("StreamEnd")));
    EXPECT_TRUE(ErrorOf([&] { TBinaryReader(oneTooMany).ReadRaw(-1); }).startsWith(Lead("StreamLength")));
}

TEST(BinaryStream, MalformedSevenBitLengthsAreRejected)
{
    const QByteArray cases[] = {
        Bytes({ 0x80, 0x80, 0x80, 0x80, 0x80, 0x00 }), // a sixth byte
        Bytes({ 0xFF, 0xFF, 0xFF, 0xFF, 0x0F }), // 2^32 - 1
        Bytes({ 0x80, 0x80, 0x80, 0x80, 0x08 }), // 2^31
        Bytes({ 0x80, 0x80, 0x80, 0x80, 0x7F }),
    };
    for (const QByteArray& bytes : cases) {
        EXPECT_EQ(ErrorOf([&] { TBinaryReader(bytes).ReadString(); }),
            TZORMsg::GetErrorValue("StreamLength").arg("0"))
            << bytes.toHex().toStdString();
    }
    EXPECT_THROW(Written([](TBinaryWriter& w) { w.Write7BitEncodedInt(-1); }), EZORError);
}

TEST(BinaryStream, InvalidUtf8IsRejected)
{
    const QByteArray cases[] = {
        Bytes({ 0xC0, 0x80 }), // overlong NUL
        Bytes({ 0xED, 0xA0, 0x80 }), // a UTF-16 surrogate
        Bytes({ 0xFF }), Bytes({ 'a', 0x80 }), // a lone continuation byte
        Bytes({ 'a', 0xE2, 0x82 }), // cut inside a sequence
        Bytes({ 0xF4, 0x90, 0x80, 0x80 }), // beyond U+10FFFF
    };
    for (const QByteArray& text : cases) {
        const QByteArray bytes = char(text.size()) + text;
        EXPECT_EQ(ErrorOf([&] { TBinaryReader(bytes).ReadString(); }),
            TZORMsg::GetErrorValue("StreamUtf8").arg("0"))
            << text.toHex().toStdString();
    }
}

TEST(BinaryStream, CountsAreCheckedAgainstTheLimitAndTheBytesLeft)
{
    struct Case {
        int32_t count;
        int32_t maxItems;
        int64_t minBytes;
        int bytesAfter;
        bool ok;
    };
    const Case cases[] = {
        { 0, 10, 4, 0, true },
        { 3, 10, 4, 12, true },
        { 3, 10, 4, 11, false },
        { -1, 10, 4, 100, false },
        { 11, 10, 0, 100, false },
        { 10, 10, 0, 0, true },
        { std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max(), 1, 10, false },
        { 1000, 100000, std::numeric_limits<int64_t>::max(), 10, false },
        { std::numeric_limits<int32_t>::min(), 10, 1, 0, false },
    };
    for (const Case& c : cases) {
        const QByteArray bytes = Written([&](TBinaryWriter& w) {
            w.WriteInt32(c.count);
            w.WriteRaw(QByteArray(c.bytesAfter, 'x'));
        });
        TBinaryReader r(bytes);
        if (c.ok)
            EXPECT_EQ(r.ReadCount(c.maxItems, c.minBytes), c.count) << c.count;
        else
            EXPECT_EQ(ErrorOf([&] { r.ReadCount(c.maxItems, c.minBytes); }),
                TZORMsg::GetErrorValue("StreamCount").arg("0", QString::number(c.count)));
    }
}

TEST(BinaryStream, DatesAreDaysSince1899)
{
    struct Case {
        QDateTime date;
        double days;
    };
    const Case cases[] = {
        { QDateTime(QDate(1899, 12, 30), QTime(0, 0)), 0.0 },
        { QDateTime(QDate(1900, 1, 1), QTime(0, 0)), 2.0 },
        { QDateTime(QDate(2024, 2, 29), QTime(12, 0)), 45351.5 },
        { QDateTime(QDate(1899, 12, 29), QTime(6, 0)), -1.25 },
        { QDateTime(QDate(1, 1, 1), QTime(0, 0)), -693593.0 },
        { QDateTime(QDate(9999, 12, 31), QTime(0, 0)), 2958465.0 },
    };
    for (const Case& c : cases) {
        EXPECT_DOUBLE_EQ(zor::DateTimeToDays(c.date), c.days) << c.date.toString().toStdString();
        EXPECT_EQ(zor::DaysToDateTime(c.days), c.date) << c.days;
    }
    // Between -1 and 0 the day is 1899-12-30 too, the fraction counting forward.
    EXPECT_EQ(zor::DaysToDateTime(-0.5), QDateTime(QDate(1899, 12, 30), QTime(12, 0)));
    // A fraction that rounds to a whole day is the next midnight.
    EXPECT_EQ(zor::DaysToDateTime(1.9999999999), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    EXPECT_EQ(zor::DateTimeToDays(QDateTime()), 0.0);

    const double bad[]
        = { std::nan(""), std::numeric_limits<double>::infinity(), 1e300, -693594.0, 2958466.0 };
    for (double days : bad) {
        EXPECT_FALSE(zor::DaysToDateTime(days).isValid()) << days;
        const QByteArray bytes = Written([&](TBinaryWriter& w) { w.WriteDouble(days); });
        EXPECT_TRUE(ErrorOf([&] { TBinaryReader(bytes).ReadDateTime(); }).startsWith(Lead("StreamDate")))
            << days;
    }
}

TEST(BinaryStream, DevicesMustBeOpenTheRightWay)
{
    QBuffer closed;
    EXPECT_THROW(TBinaryReader r(&closed), EZORError);
    EXPECT_THROW(TBinaryWriter w(&closed), EZORError);
    QBuffer readOnly;
    readOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(TBinaryWriter w(&readOnly), EZORError);
    EXPECT_THROW(TBinaryReader r(static_cast<QIODevice*>(nullptr)), EZORError);
}

TEST(BinaryStream, AReaderStartsAtTheDevicePosition)
{
    QByteArray bytes = Written([](TBinaryWriter& w) {
        w.WriteInt32(1);
        w.WriteString(QStringLiteral("x"));
    });
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    buffer.seek(4);
    TBinaryReader r(&buffer);
    EXPECT_EQ(r.BytesLeft(), 2);
    EXPECT_EQ(r.ReadString(), "x");
    EXPECT_EQ(r.Position(), 6);
}
