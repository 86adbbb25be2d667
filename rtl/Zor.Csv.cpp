#include "Zor.Csv.h"

#include "Zor.Msg.h"

#include <QFile>
#include <QHash>

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <optional>

namespace {

constexpr qint64 BlockBytes = 64 * 1024;

// Characters by code, -1 for none.
constexpr std::array<int, 5> SeparatorChars = { -1, ';', ',', '\t', ' ' };
constexpr std::array<int, 3> QuoteChars = { -1, '\'', '"' };

template <size_t N> int CharOf(const std::array<int, N>& table, uint8_t code)
{
    return code < N ? table[code] : -1;
}

// The number a text holds, when it holds nothing else. Faster than the locale-aware QString
// conversions, which matter here: a check reads every value of the file.
template <class T> bool ParseNumber(QStringView text, T& value)
{
    char buf[40];
    if (text.startsWith(u'+'))
        text = text.mid(1);
    if (text.isEmpty() || text.size() >= qsizetype(sizeof buf))
        return false;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (!((c >= '0' && c <= '9') || c == '-' || c == '.' || c == 'e' || c == 'E'))
            return false;
        buf[i] = char(c);
    }
    const char* end = buf + text.size();
    const auto [ptr, ec] = std::from_chars(buf, end, value);
    return ec == std::errc() && ptr == end;
}

// The type a text value suggests; none for an empty one.
std::optional<TZORFieldType> GuessOf(const QString& value)
{
    const QStringView text = QStringView(value).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    int64_t i = 0;
    if (ParseNumber(text, i))
        return zor::WholeNumberType(i);
    double d = 0;
    if (ParseNumber(text, d) && std::isfinite(d))
        return TZORFieldType::Float;
    if (text.compare(u"true", Qt::CaseInsensitive) == 0 || text.compare(u"false", Qt::CaseInsensitive) == 0)
        return TZORFieldType::Boolean;
    return TZORFieldType::String;
}

void OpenFile(QFile& file)
{
    if (!file.open(QIODevice::ReadOnly))
        throw zor::Error(QStringLiteral("FileOpen"), file.fileName(), file.errorString());
}

[[noreturn]] void RaggedRecord(const QString& name, int64_t line, size_t got, size_t expected)
{
    throw zor::Error(QStringLiteral("CsvFields"), name, QString::number(line), QString::number(got),
        QString::number(expected));
}

// The names of a header record; a blank name becomes FieldN.
TZORDataFields FieldsOf(const std::vector<QString>& header, bool named)
{
    TZORDataFields fields;
    for (size_t i = 0; i < header.size(); ++i) {
        const QString name = header[i].trimmed();
        fields.emplace_back(
            named && !name.isEmpty() ? name : QStringLiteral("Field%1").arg(i + 1), TZORFieldType::String);
    }
    return fields;
}

// Walks the file, giving the values of each record in the order of the data set's fields.
class TCsvCursor : public IZORRecordCursor {
public:
    TCsvCursor(const TZORCsvSettings& s, const TZORDataFields& fields)
        : fFile(s.fileName)
        , fReader(&fFile, s.separator, s.quote, s.fileName)
        , fFieldCount(fields.size())
    {
        OpenFile(fFile);
        if (!s.header) {
            fColumns = fields.size();
            for (size_t i = 0; i < fields.size(); ++i)
                fMap.push_back(int32_t(i));
            return;
        }
        fReader.ReadRecord(fRow);
        fColumns = fRow.size();
        const TZORDataFields columns = FieldsOf(fRow, true);
        QHash<QString, int32_t> byName; // the first column of a name
        for (size_t i = 0; i < columns.size(); ++i) {
            const QString key = zor::FoldedName(columns[i].GetName());
            if (!byName.contains(key))
                byName.insert(key, int32_t(i));
        }
        for (const TZORDataField& f : fields)
            fMap.push_back(byName.value(zor::FoldedName(f.GetName()), -1));
    }

    bool Next(std::vector<QVariant>& values) override
    {
        if (!fReader.ReadRecord(fRow))
            return false;
        if (fRow.size() != fColumns)
            RaggedRecord(fFile.fileName(), fReader.Line(), fRow.size(), fColumns);
        values.resize(fFieldCount);
        for (size_t i = 0; i < fFieldCount; ++i)
            values[i] = fMap[i] < 0 ? QVariant() : QVariant(fRow[size_t(fMap[i])]);
        return true;
    }

private:
    QFile fFile;
    TZORCsvReader fReader;
    size_t fFieldCount;
    size_t fColumns = 0;
    std::vector<int32_t> fMap; // field → column, -1 for a field the file does not have
    std::vector<QString> fRow;
};

} // namespace

// --- Reader ---

TZORCsvReader::TZORCsvReader(
    QIODevice* device, TZORCsvSeparator separator, TZORCsvQuote quote, const QString& name)
    : fDevice(device)
    , fDecoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInvalidToNull)
    , fSeparator(CharOf(SeparatorChars, uint8_t(separator)))
    , fQuote(CharOf(QuoteChars, uint8_t(quote)))
    , fName(name)
{
}

int TZORCsvReader::Peek()
{
    while (fPos >= fText.size()) {
        const QByteArray block = fDevice->read(BlockBytes);
        if (block.isEmpty())
            return -1;
        fText = fDecoder(block);
        fPos = 0;
        if (fDecoder.hasError())
            RefuseInvalidText();
    }
    return fText[fPos].unicode();
}

void TZORCsvReader::RefuseInvalidText() const
{
    // The decoder makes each invalid sequence a null character: the error names the line of
    // the first one in the block (the block starts on line fLine).
    const qsizetype bad = fText.indexOf(QChar(u'\0'));
    int64_t line = fLine;
    for (qsizetype i = 0; i < bad; ++i)
        if (fText[i] == u'\n' || (fText[i] == u'\r' && (i + 1 >= fText.size() || fText[i + 1] != u'\n')))
            ++line;
    throw zor::Error(QStringLiteral("CsvUtf8"), fName, QString::number(line));
}

void TZORCsvReader::SkipLineEnd()
{
    const int c = Peek();
    Advance();
    if (c == '\r' && Peek() == '\n')
        Advance();
    ++fLine;
}

void TZORCsvReader::Grow(qsizetype chars)
{
    fRecordChars += chars;
    if (fRecordChars > MaxRecordChars)
        throw zor::Error(
            QStringLiteral("CsvLong"), fName, QString::number(fRecordLine), QString::number(MaxRecordChars));
}

void TZORCsvReader::ReadPlain(QString& field)
{
    for (int c = Peek(); c >= 0 && c != fSeparator && !AtLineEnd(c); c = Peek()) {
        const qsizetype start = fPos;
        while (fPos < fText.size()) {
            const char16_t u = fText[fPos].unicode();
            if (u == fSeparator || u == '\n' || u == '\r')
                break;
            ++fPos;
        }
        Grow(fPos - start);
        field.append(QStringView(fText).mid(start, fPos - start));
    }
}

void TZORCsvReader::ReadQuoted(QString& field)
{
    Advance(); // the opening quote
    for (;;) {
        const int c = Peek();
        if (c < 0)
            throw zor::Error(QStringLiteral("CsvQuote"), fName, QString::number(fRecordLine));
        if (c == fQuote) {
            Advance();
            if (Peek() != fQuote)
                return;
            Advance();
            Grow(1);
            field += QChar(char16_t(fQuote));
            continue;
        }
        const qsizetype start = fPos;
        for (; fPos < fText.size() && fText[fPos].unicode() != fQuote; ++fPos) {
            const char16_t u = fText[fPos].unicode();
            if (u == '\n' || (u == '\r' && (fPos + 1 >= fText.size() || fText[fPos + 1] != u'\n')))
                ++fLine;
        }
        Grow(fPos - start);
        field.append(QStringView(fText).mid(start, fPos - start));
    }
}

bool TZORCsvReader::ReadRecord(std::vector<QString>& fields)
{
    int c = Peek();
    while (AtLineEnd(c)) {
        SkipLineEnd();
        c = Peek();
    }
    if (c < 0)
        return false;
    fRecordLine = fLine;
    fRecordChars = 0;
    size_t n = 0;
    for (;;) {
        if (n == zor::MaxDataFields)
            throw zor::Error(QStringLiteral("CsvWide"), fName, QString::number(fRecordLine),
                QString::number(zor::MaxDataFields));
        if (n == fields.size())
            fields.emplace_back();
        QString& field = fields[n++];
        field.clear();
        if (fQuote >= 0 && Peek() == fQuote) {
            ReadQuoted(field);
            // Text after the closing quote is most often a stray quote that took the line
            // break and the next lines in: refused rather than joined silently.
            if (c = Peek(); c >= 0 && c != fSeparator && !AtLineEnd(c))
                throw zor::Error(QStringLiteral("CsvAfterQuote"), fName, QString::number(fRecordLine));
        } else
            ReadPlain(field);
        c = Peek();
        if (c < 0 || c != fSeparator)
            break;
        Advance();
        Grow(1);
    }
    if (AtLineEnd(c))
        SkipLineEnd();
    fields.resize(n);
    return true;
}

// --- Data set ---

TZORCsvDataSet::TZORCsvDataSet(TZORCsvSettings settings, TZORDataFields fields)
    : fSettings(std::move(settings))
    , fFields(std::move(fields))
{
}

std::unique_ptr<IZORRecordCursor> TZORCsvDataSet::Open() const
{
    return std::make_unique<TCsvCursor>(fSettings, fFields);
}

TZORDataFields TZORCsvDataSet::Scan(const TZORCsvSettings& settings)
{
    QFile file(settings.fileName);
    OpenFile(file);
    TZORCsvReader reader(&file, settings.separator, settings.quote, settings.fileName);
    std::vector<QString> row;
    if (!reader.ReadRecord(row))
        throw zor::Error(QStringLiteral("CsvNoFields"), settings.fileName);
    TZORDataFields fields = FieldsOf(row, settings.header);
    std::vector<std::optional<TZORFieldType>> guesses(fields.size());
    bool data = !settings.header;
    do {
        if (row.size() != fields.size())
            RaggedRecord(settings.fileName, reader.Line(), row.size(), fields.size());
        for (size_t i = 0; data && i < row.size(); ++i)
            if (const auto g = GuessOf(row[i]))
                guesses[i] = guesses[i] ? zor::WidenFieldType(*guesses[i], *g) : *g;
        data = true;
    } while (reader.ReadRecord(row));
    for (size_t i = 0; i < fields.size(); ++i)
        fields[i].SetType(guesses[i].value_or(TZORFieldType::String));
    return fields;
}
