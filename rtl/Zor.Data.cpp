#include "Zor.Data.h"

#include "Zor.Csv.h"
#include "Zor.Format.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <limits>

namespace {

// An image a data field names is read only up to this size.
constexpr int64_t MaxImageBytes = 64 * 1024 * 1024;
// A run counts at most this many labels: a record prints fewer than 2^62.
constexpr int64_t MaxRunLabels = std::numeric_limits<int64_t>::max() / 2;

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

template <class T> T* FindNamed(std::vector<T>& list, const QString& name)
{
    const auto it
        = std::find_if(list.begin(), list.end(), [&](const T& e) { return SameName(e.GetName(), name); });
    return it == list.end() ? nullptr : &*it;
}

template <class T> const T* FindNamed(const std::vector<T>& list, const QString& name)
{
    return FindNamed(const_cast<std::vector<T>&>(list), name);
}

template <class T> T* At(std::vector<T>& list, int32_t i)
{
    return i < 1 || i > int32_t(list.size()) ? nullptr : &list[size_t(i - 1)];
}

template <class T> bool AddNamed(std::vector<T>& list, const QString& name)
{
    if (name.trimmed().isEmpty() || FindNamed(list, name))
        return false;
    list.emplace_back(name);
    return true;
}

template <class T> bool DeleteAt(std::vector<T>& list, int32_t i)
{
    if (i < 1 || i > int32_t(list.size()))
        return false;
    list.erase(list.begin() + (i - 1));
    return true;
}

bool IsBytes(const QVariant& v)
{
    return v.typeId() == QMetaType::QByteArray;
}

bool IsDate(const QVariant& v)
{
    return v.typeId() == QMetaType::QDateTime || v.typeId() == QMetaType::QDate;
}

QString TextOf(const QVariant& v)
{
    if (!v.isValid() || v.isNull())
        return {};
    if (IsBytes(v))
        return QString::fromLatin1(v.toByteArray().toBase64());
    if (IsDate(v))
        return zor::FormatDateTime(QString(), v.toDateTime());
    if (v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float)
        return zor::FormatFloat(QString(), v.toDouble());
    return v.toString();
}

// A number in a text field: a point or, when there is none, one comma as the decimal separator.
bool ToDouble(const QVariant& v, double& d)
{
    if (v.typeId() != QMetaType::QString) {
        bool ok = false;
        d = v.toDouble(&ok);
        return ok && std::isfinite(d);
    }
    QString text = v.toString().trimmed();
    bool ok = false;
    d = text.toDouble(&ok);
    if (!ok && !text.contains(u'.') && text.count(u',') == 1)
        d = text.replace(u',', u'.').toDouble(&ok);
    return ok && std::isfinite(d);
}

bool ToInt64(const QVariant& v, int64_t& i)
{
    bool ok = false;
    if (v.typeId() == QMetaType::QString)
        i = v.toString().trimmed().toLongLong(&ok);
    else if (v.typeId() != QMetaType::Double && v.typeId() != QMetaType::Float)
        i = v.toLongLong(&ok);
    return ok;
}

bool Truth(const QVariant& v)
{
    if (v.typeId() != QMetaType::QString)
        return v.toBool();
    static const QStringList yes = { QStringLiteral("1"), QStringLiteral("-1"), QStringLiteral("true"),
        QStringLiteral("t"), QStringLiteral("yes"), QStringLiteral("y") };
    return yes.contains(v.toString().trimmed(), Qt::CaseInsensitive);
}

// A field value as an element shows it. Without a format, the value as it stands; with one,
// numbers go through the float pattern, dates through the date pattern, and a Boolean field
// picks the part before or after the ";" of "yes;no".
QString FormatValue(const QVariant& v, TZORFieldType type, const QString& format)
{
    if (format.isEmpty() || !v.isValid() || v.isNull())
        return TextOf(v);
    if (IsDate(v))
        return zor::FormatDateTime(format, v.toDateTime());
    int64_t i = 0;
    double d = 0;
    switch (type) {
    case TZORFieldType::Boolean: {
        const qsizetype semicolon = format.indexOf(u';');
        if (semicolon < 0)
            return TextOf(v);
        return Truth(v) ? format.left(semicolon) : format.mid(semicolon + 1);
    }
    case TZORFieldType::Integer:
    case TZORFieldType::Int64:
        if (ToInt64(v, i))
            return zor::FormatInteger(format, i);
        [[fallthrough]];
    case TZORFieldType::Float:
        return ToDouble(v, d) ? zor::FormatFloat(format, d) : TextOf(v);
    default:
        return TextOf(v);
    }
}

// Base64 image text, with or without a "data:...;base64," prefix.
bool DecodeImage(QByteArray text, QByteArray& bytes)
{
    const qsizetype comma = text.indexOf(',');
    if (text.startsWith("data:") && comma > 0)
        text = text.mid(comma + 1);
    const auto decoded
        = QByteArray::fromBase64Encoding(text.trimmed(), QByteArray::AbortOnBase64DecodingErrors);
    if (!decoded || decoded.decoded.isEmpty())
        return false;
    bytes = decoded.decoded;
    return true;
}

// A file named by a relative path inside folder, never outside it (a ".." or a link out of it).
bool ReadInside(const QString& folder, const QString& name, QByteArray& bytes)
{
    if (folder.isEmpty() || name.isEmpty() || QFileInfo(name).isAbsolute())
        return false;
    const QString root = QFileInfo(folder).canonicalFilePath();
    const QFileInfo file(QDir(folder).filePath(name));
    const QString path = file.canonicalFilePath();
    if (root.isEmpty() || path.isEmpty() || !path.startsWith(root + u'/') || file.size() > MaxImageBytes)
        return false;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    bytes = f.read(MaxImageBytes);
    return !bytes.isEmpty();
}

// Fields of the source, keeping the alias and type of those the entry knew already.
TZORDataFields Merged(const TZORDataFields& known, TZORDataFields fresh)
{
    QHash<QString, const TZORDataField*> byName; // the first of a name, as a search would find
    for (const TZORDataField& k : known) {
        const QString key = zor::FoldedName(k.GetName());
        if (!byName.contains(key))
            byName.insert(key, &k);
    }
    for (TZORDataField& f : fresh)
        if (const TZORDataField* k = byName.value(zor::FoldedName(f.GetName()))) {
            f.SetAlias(k->GetAlias());
            f.SetType(k->GetType());
        }
    return fresh;
}

int32_t IndexOf(const TZORDataFields& fields, const QString& name)
{
    for (size_t i = 0; i < fields.size(); ++i)
        if (fields[i].IsNamed(name))
            return int32_t(i);
    return -1;
}

class TMemoryCursor : public IZORRecordCursor {
public:
    explicit TMemoryCursor(std::shared_ptr<const std::vector<std::vector<QVariant>>> records)
        : fRecords(std::move(records))
    {
    }
    bool Next(std::vector<QVariant>& values) override
    {
        if (fNext >= fRecords->size())
            return false;
        values = (*fRecords)[fNext++];
        return true;
    }

private:
    std::shared_ptr<const std::vector<std::vector<QVariant>>> fRecords;
    size_t fNext = 0;
};

} // namespace

// --- Fields, data sets ---

TZORFieldType zor::WidenFieldType(TZORFieldType a, TZORFieldType b)
{
    if (a == b)
        return a;
    const auto numeric
        = [](TZORFieldType t) { return t >= TZORFieldType::Integer && t <= TZORFieldType::Float; };
    return numeric(a) && numeric(b) ? std::max(a, b) : TZORFieldType::String;
}

TZORFieldType zor::WholeNumberType(int64_t v)
{
    return v >= std::numeric_limits<int32_t>::min() && v <= std::numeric_limits<int32_t>::max()
        ? TZORFieldType::Integer
        : TZORFieldType::Int64;
}

QString zor::FoldedName(const QString& name)
{
    QString key;
    key.reserve(name.size());
    for (const char32_t c : name.toUcs4()) {
        const char32_t folded = QChar::toCaseFolded(c);
        key += QString::fromUcs4(&folded, 1);
    }
    return key;
}

bool TZORDataField::IsNamed(const QString& name) const
{
    return SameName(fName, name) || (!fAlias.isEmpty() && SameName(fAlias, name));
}

TZORMemoryDataSet::TZORMemoryDataSet(TZORDataFields fields, std::vector<std::vector<QVariant>> records)
    : fFields(std::move(fields))
    , fRecords(std::make_shared<const std::vector<std::vector<QVariant>>>(std::move(records)))
{
}

std::unique_ptr<IZORRecordCursor> TZORMemoryDataSet::Open() const
{
    return std::make_unique<TMemoryCursor>(fRecords);
}

TZORDataset::TZORDataset(const QString& name, TZORDatasetKind kind, TZORDataFields fields,
    std::shared_ptr<const IZORDataSet> source)
    : fName(name)
    , fKind(kind)
    , fFields(std::move(fields))
    , fSource(std::move(source))
{
}

bool TZORDataset::IsNamed(const QString& name) const
{
    return SameName(fName, name) || (!fAlias.isEmpty() && SameName(fAlias, name));
}

int32_t TZORDataset::FieldIndex(const QString& name) const
{
    return IndexOf(fFields, name);
}

// --- Counters, questions ---

int64_t TZORCounter::ValueAt(int64_t label) const
{
    using Wide = __int128;
    Wide steps = Wide(std::max<int64_t>(label, 0) / fRepeat);
    const bool bounded
        = fNumTo != 0 && ((fStep > 0 && fNumTo >= fNumFrom) || (fStep < 0 && fNumTo <= fNumFrom));
    if (bounded)
        steps %= (Wide(fNumTo) - fNumFrom) / fStep + 1;
    const Wide v = fNumFrom + steps * fStep;
    return int64_t(
        std::clamp<Wide>(v, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max()));
}

QString TZORCounter::TextAt(int64_t label) const
{
    const int64_t v = ValueAt(label);
    return fTextBefore + (fFormat.isEmpty() ? QString::number(v) : zor::FormatInteger(fFormat, v))
        + fTextAfter;
}

void TZRAskField::SetNumber(double n)
{
    if (std::isfinite(n))
        fNumber = n;
}

QDateTime TZRAskField::GetDateTime() const
{
    return zor::DaysToDateTime(fDateTime);
}

void TZRAskField::SetDateTime(const QDateTime& d)
{
    fDateTime = zor::DateTimeToDays(d);
}

QString TZRAskField::Answer(const QString& format) const
{
    switch (fAnsType) {
    case TZORAnsType::Text:
        return fText;
    case TZORAnsType::Integer:
        return format.isEmpty() ? QString::number(fInteger) : zor::FormatInteger(format, fInteger);
    case TZORAnsType::Number:
        return zor::FormatFloat(format, fNumber);
    case TZORAnsType::DateTime:
        return zor::FormatDateTime(format, GetDateTime());
    }
    return {};
}

void TZRAskField::TakeAnswer(const TZRAskField& other)
{
    switch (fAnsType) {
    case TZORAnsType::Text:
        fText = other.fText;
        break;
    case TZORAnsType::Integer:
        fInteger = other.fInteger;
        break;
    case TZORAnsType::Number:
        SetNumber(other.fNumber);
        break;
    case TZORAnsType::DateTime:
        if (other.GetDateTime().isValid())
            fDateTime = other.fDateTime;
        break;
    }
}

// --- The run's counters ---

int64_t TZORPrintRun::FirstLabelOf(int64_t sheet) const
{
    const int64_t perSheet = int64_t(rows) * columns;
    sheet = std::min(sheet, sheetCount);
    return sheet <= 1 ? 0 : perSheet - firstOffset + (sheet - 2) * perSheet;
}

int64_t TZORPrintRun::LabelAt(int64_t sheet, int32_t row, int32_t column) const
{
    if (sheet < 1 || sheet > sheetCount || row < 1 || row > rows || column < 1 || column > columns)
        return -1;
    const int64_t position = int64_t(row - 1) * columns + (column - 1);
    const int64_t label = sheet == 1 ? position - firstOffset : FirstLabelOf(sheet) + position;
    return label < 0 || label >= labelCount ? -1 : label;
}

// --- The cursor ---

// Where a run stands. A copy has no cursor: it opens one and walks to its label when moved.
struct TZORData::TWalk {
    std::shared_ptr<const IZORDataSet> source; // null: a run without a data set
    TZORDataFields fields;
    std::unique_ptr<IZORRecordCursor> cursor;
    int32_t repeatField = -1;
    int64_t repetition = 1;
    int64_t labelCount = 0;
    TZORRecord slot;
    int64_t copy = 0;
    int64_t copies = 0;
    bool end = true;

    TWalk() = default;
    TWalk(const TWalk& o)
        : source(o.source)
        , fields(o.fields)
        , repeatField(o.repeatField)
        , repetition(o.repetition)
        , labelCount(o.labelCount)
        , slot(o.slot)
        , copy(o.copy)
        , copies(o.copies)
        , end(o.end)
    {
    }

    // Labels a record prints: the repetition times its repeat field (a value that is no whole
    // number counts as 1, a negative one as 0).
    int64_t CopiesOf(const std::vector<QVariant>& values) const
    {
        if (repeatField < 0)
            return repetition;
        int64_t n = 1;
        if (size_t(repeatField) < values.size() && !ToInt64(values[size_t(repeatField)], n))
            n = 1;
        return std::clamp<int64_t>(n, 0, std::numeric_limits<int32_t>::max()) * repetition;
    }

    // Labels of the whole run, held within a bound that sums of copies cannot overflow.
    int64_t Count() const
    {
        int64_t count = 0;
        std::vector<QVariant> values;
        for (auto c = source->Open(); c->Next(values);)
            count = std::min(count + CopiesOf(values), MaxRunLabels);
        return count;
    }

    void Finish()
    {
        end = true;
        slot.values.clear();
    }

    // On to the next record that prints a label.
    void NextRecord()
    {
        while (cursor->Next(slot.values))
            if ((copies = CopiesOf(slot.values)) > 0)
                return;
        Finish();
    }

    void First()
    {
        slot = TZORRecord { 0, 0, {} };
        copy = 0;
        end = labelCount <= 0;
        if (source && !end) {
            cursor = source->Open();
            NextRecord();
        }
    }

    // n labels on, the copies of a record passed over at once.
    void Skip(int64_t n)
    {
        if (end || n <= 0)
            return;
        if (source && !cursor) { // a copy: open anew and walk to where it was
            const int64_t at = slot.label;
            First();
            Skip(at);
        }
        const int64_t target = slot.label + std::min(n, labelCount - slot.label);
        if (!source) {
            slot.label = target;
            slot.distinct = target / repetition;
        }
        while (!end && slot.label < target) {
            const int64_t step = std::min(target - slot.label, copies - copy);
            slot.label += step;
            if ((copy += step) < copies)
                break;
            copy = 0;
            ++slot.distinct;
            NextRecord();
        }
        if (slot.label >= labelCount)
            Finish();
    }

    void GoTo(int64_t label)
    {
        if (label < slot.label || (source && !cursor))
            First();
        Skip(label - slot.label);
    }
};

// --- The data object ---

TZORData::TZORData() = default;
TZORData::~TZORData() = default;

TZORData::TZORData(const TZORData& other)
{
    *this = other;
}

TZORData& TZORData::operator=(const TZORData& other)
{
    if (this == &other)
        return *this;
    fLinkData = other.fLinkData;
    fSaveJson = other.fSaveJson;
    fDataSel = other.fDataSel;
    fFieldRepeat = other.fFieldRepeat;
    fCsvFile = other.fCsvFile;
    fHeader = other.fHeader;
    fSeparator = other.fSeparator;
    fQuote = other.fQuote;
    fJson = other.fJson;
    fJsonSets = other.fJsonSets;
    fCsvSet = other.fCsvSet;
    fHostSets = other.fHostSets;
    fCounters = other.fCounters;
    fLists = other.fLists;
    fQuestions = other.fQuestions;
    fWalk = other.fWalk ? std::make_unique<TWalk>(*other.fWalk) : nullptr;
    return *this;
}

// --- Data sets ---

std::vector<const TZORDataset*> TZORData::All() const
{
    std::vector<const TZORDataset*> all;
    for (const TZORDataset& s : fJsonSets)
        all.push_back(&s);
    if (fCsvSet)
        all.push_back(&*fCsvSet);
    for (const TZORDataset& s : fHostSets)
        all.push_back(&s);
    return all;
}

int32_t TZORData::GetDatasetCount() const
{
    return int32_t(All().size());
}

const TZORDataset* TZORData::GetDatasetAt(int32_t i) const
{
    const auto all = All();
    return i < 1 || i > int32_t(all.size()) ? nullptr : all[size_t(i - 1)];
}

const TZORDataset* TZORData::GetDataset(const QString& name) const
{
    for (const TZORDataset* s : All())
        if (s->IsNamed(name))
            return s;
    return nullptr;
}

TZORDataset* TZORData::FindHost(const QString& name)
{
    const auto it = std::find_if(fHostSets.begin(), fHostSets.end(),
        [&](const TZORDataset& s) { return SameName(s.GetName(), name); });
    return it == fHostSets.end() ? nullptr : &*it;
}

void TZORData::AttachDataset(const QString& name, std::shared_ptr<const IZORDataSet> source)
{
    TZORDataset* entry = FindHost(name);
    if (!entry) {
        fHostSets.emplace_back(name, TZORDatasetKind::Host, TZORDataFields {}, nullptr);
        entry = &fHostSets.back();
    }
    if (source)
        entry->fFields = Merged(entry->fFields, source->Fields());
    entry->fSource = std::move(source);
    if (fDataSel.isEmpty())
        fDataSel = name;
}

// --- CSV ---

TZORDataset TZORData::MakeCsvSet(TZORDataFields fields) const
{
    const TZORCsvSettings settings { fCsvFile, fHeader, TZORCsvSeparator(fSeparator), TZORCsvQuote(fQuote) };
    auto source = std::make_shared<TZORCsvDataSet>(settings, fields);
    return TZORDataset(TZORMsg::GetDialogsValue(QStringLiteral("CsvFile")), TZORDatasetKind::Csv,
        std::move(fields), std::move(source));
}

bool TZORData::SetCsvData(
    const QString& fileName, bool header, uint8_t separator, uint8_t quote, QString* errorText)
{
    if (fileName.isEmpty()) {
        fCsvFile.clear();
        fCsvSet.reset();
        return true;
    }
    TZORDataFields fields;
    try {
        if (separator > uint8_t(TZORCsvSeparator::Space) || quote > uint8_t(TZORCsvQuote::Double))
            throw zor::Error(QStringLiteral("FieldRange"), QStringLiteral("Separator"),
                QString::number(std::max(separator, quote)));
        fields = TZORCsvDataSet::Scan({ fileName, header, TZORCsvSeparator(separator), TZORCsvQuote(quote) });
    } catch (const EZORError& e) {
        if (errorText)
            *errorText = e.Message();
        return false;
    }
    if (fCsvSet)
        fields = Merged(fCsvSet->GetFields(), std::move(fields));
    fCsvFile = fileName;
    fHeader = header;
    fSeparator = separator;
    fQuote = quote;
    fCsvSet = MakeCsvSet(std::move(fields));
    if (fDataSel.isEmpty())
        fDataSel = fCsvSet->GetName();
    return true;
}

bool TZORData::SetCsvField(int32_t row, TZORFieldType type)
{
    if (!fCsvSet || row < 0 || row >= int32_t(fCsvSet->fFields.size()))
        return false;
    fCsvSet->fFields[size_t(row)].SetType(type);
    return true;
}

const TZORDataset* TZORData::GetCsvDataset() const
{
    return fCsvSet ? &*fCsvSet : nullptr;
}

// --- JSON ---

bool TZORData::SetJson(const QString& text, QString* errorText)
{
    TZORDatasets sets;
    try {
        if (!text.trimmed().isEmpty())
            sets = ParseJsonData(text);
    } catch (const EZORError& e) {
        if (errorText)
            *errorText = e.Message();
        return false;
    }
    fJson = text;
    fJsonSets = std::move(sets);
    if (fDataSel.isEmpty() && !fJsonSets.empty())
        fDataSel = fJsonSets.front().GetName();
    return true;
}

// --- Counters, lists, questions ---

TZORCounter* TZORData::GetCounter(int32_t i)
{
    return At(fCounters, i);
}

const TZORCounter* TZORData::GetCounter(int32_t i) const
{
    return At(const_cast<std::vector<TZORCounter>&>(fCounters), i);
}

TZORCounter* TZORData::AddCounter(const QString& name)
{
    if (GetCounterCount() >= MaxCounters || !AddNamed(fCounters, name))
        return nullptr;
    return &fCounters.back();
}

bool TZORData::CounterName(const QString& name, const TZORCounter* except) const
{
    return std::any_of(fCounters.begin(), fCounters.end(),
        [&](const TZORCounter& c) { return &c != except && SameName(c.GetName(), name); });
}

bool TZORData::RemoveCounter(const TZORCounter* counter)
{
    return std::erase_if(fCounters, [&](const TZORCounter& c) { return &c == counter; }) > 0;
}

TZRValList* TZORData::GetListVal(int32_t i)
{
    return At(fLists, i);
}

bool TZORData::NameListExists(const QString& name) const
{
    return FindNamed(fLists, name) != nullptr;
}

bool TZORData::AddListVal(const QString& name)
{
    return AddNamed(fLists, name);
}

bool TZORData::DeleteList(int32_t i)
{
    return DeleteAt(fLists, i);
}

TZRAskField* TZORData::GetAskField(int32_t i)
{
    return At(fQuestions, i);
}

bool TZORData::NameAskExists(const QString& name) const
{
    return FindNamed(fQuestions, name) != nullptr;
}

bool TZORData::AddAskVal(const QString& name)
{
    return AddNamed(fQuestions, name);
}

bool TZORData::DeleteAsk(int32_t i)
{
    return DeleteAt(fQuestions, i);
}

bool TZORData::HasListPrompts() const
{
    return std::any_of(fLists.begin(), fLists.end(), [](const TZRValList& l) { return l.GetAsk(); });
}

bool TZORData::HasAskPrompts() const
{
    return std::any_of(fQuestions.begin(), fQuestions.end(), [](const TZRAskField& q) { return q.GetAsk(); });
}

// --- Values ---

const TZORRecord& TZORData::Current() const
{
    static const TZORRecord none;
    return fWalk ? fWalk->slot : none;
}

QString TZORData::Value(const QString& name, const QString& format, uint8_t fillType) const
{
    return Value(name, format, fillType, Current());
}

QString TZORData::Value(
    const QString& name, const QString& format, uint8_t fillType, const TZORRecord& slot) const
{
    switch (TZORFillType(fillType)) {
    case TZORFillType::Field: {
        if (!fWalk)
            return {};
        const int32_t i = IndexOf(fWalk->fields, name);
        if (i < 0 || size_t(i) >= slot.values.size())
            return {};
        return FormatValue(slot.values[size_t(i)], fWalk->fields[size_t(i)].GetType(), format);
    }
    case TZORFillType::Counter: {
        const TZORCounter* c = FindNamed(fCounters, name);
        return c ? c->TextAt(slot.distinct) : QString();
    }
    case TZORFillType::List: {
        const TZRValList* l = FindNamed(fLists, name);
        return l ? l->GetValue() : QString();
    }
    case TZORFillType::Ask: {
        const TZRAskField* q = FindNamed(fQuestions, name);
        return q ? q->Answer(format) : QString();
    }
    default:
        return {};
    }
}

bool TZORData::Graphic(const QString& name, const QString& imageFolder, QByteArray& bytes) const
{
    return Graphic(name, imageFolder, bytes, Current());
}

bool TZORData::Graphic(
    const QString& name, const QString& imageFolder, QByteArray& bytes, const TZORRecord& slot) const
{
    if (!fWalk)
        return false;
    const int32_t i = IndexOf(fWalk->fields, name);
    if (i < 0 || size_t(i) >= slot.values.size())
        return false;
    const QVariant& v = slot.values[size_t(i)];
    const TZORFieldType type = fWalk->fields[size_t(i)].GetType();
    if (IsBytes(v) && type != TZORFieldType::Img64) {
        bytes = v.toByteArray();
        return !bytes.isEmpty();
    }
    if (type == TZORFieldType::Img64 || type == TZORFieldType::ImgBlob)
        return DecodeImage(IsBytes(v) ? v.toByteArray() : TextOf(v).toLatin1(), bytes);
    return ReadInside(imageFolder, TextOf(v).trimmed(), bytes);
}

void TZORData::CheckBinding(uint8_t fillType, const QString& name) const
{
    switch (TZORFillType(fillType)) {
    case TZORFillType::Field: {
        const TZORDataset* set = RunDataset();
        if (!set || set->FieldIndex(name) < 0)
            throw zor::Error(QStringLiteral("DataField"), name);
        break;
    }
    case TZORFillType::Counter:
        if (!FindNamed(fCounters, name))
            throw zor::Error(QStringLiteral("DataCounter"), name);
        break;
    case TZORFillType::List:
        if (!FindNamed(fLists, name))
            throw zor::Error(QStringLiteral("DataList"), name);
        break;
    case TZORFillType::Ask:
        if (!FindNamed(fQuestions, name))
            throw zor::Error(QStringLiteral("DataAsk"), name);
        break;
    default:
        break; // a kind of binding this library does not know prints as unbound
    }
}

std::vector<QStringList> TZORData::DataLines(
    const QString& name, const std::vector<std::pair<QString, QString>>& fields, int32_t maxLines) const
{
    const TZORDataset* set = GetDataset(name);
    if (!set || !set->GetSource())
        throw zor::Error(QStringLiteral("DataSet"), name);
    const TZORDataFields& known = set->GetFields();
    std::vector<QStringList> lines;
    std::vector<QVariant> values;
    for (auto cursor = set->GetSource()->Open(); int32_t(lines.size()) < maxLines && cursor->Next(values);) {
        QStringList& line = lines.emplace_back();
        for (const auto& [field, format] : fields) {
            const int32_t i = IndexOf(known, field);
            line << (i < 0 || size_t(i) >= values.size()
                    ? QString()
                    : FormatValue(values[size_t(i)], known[size_t(i)].GetType(), format));
        }
    }
    return lines;
}

// --- The run ---

const TZORDataset* TZORData::RunDataset() const
{
    if (fDataSel.isEmpty())
        return nullptr;
    const TZORDataset* set = GetDataset(fDataSel);
    if (!set || !set->GetSource())
        throw zor::Error(QStringLiteral("DataSet"), fDataSel);
    return set;
}

int64_t TZORData::StartRun(int32_t labs, int32_t repetition)
{
    auto walk = std::make_unique<TWalk>();
    walk->repetition = std::max(repetition, 1);
    if (const TZORDataset* set = RunDataset()) {
        walk->source = set->GetSource();
        walk->fields = set->GetFields();
        if (!fFieldRepeat.isEmpty() && (walk->repeatField = set->FieldIndex(fFieldRepeat)) < 0)
            throw zor::Error(QStringLiteral("DataField"), fFieldRepeat);
        walk->labelCount = walk->Count();
    } else {
        walk->labelCount = int64_t(std::max(labs, 0)) * walk->repetition;
    }
    walk->First();
    fWalk = std::move(walk);
    return fWalk->labelCount;
}

void TZORData::Next()
{
    if (fWalk)
        fWalk->Skip(1);
}

void TZORData::GoToLabel(int64_t label)
{
    if (fWalk)
        fWalk->GoTo(std::max<int64_t>(label, 0));
}

int64_t TZORData::GetLabel() const
{
    return fWalk ? fWalk->slot.label : -1;
}

TZORData::TPageReader::TPageReader(const TZORData& data)
    : fWalk(data.fWalk ? std::make_unique<TWalk>(*data.fWalk) : nullptr)
{
}

TZORData::TPageReader::~TPageReader() = default;

std::vector<TZORRecord> TZORData::TPageReader::Read(const std::vector<int64_t>& labels)
{
    std::vector<TZORRecord> page(labels.size());
    for (size_t i = 0; fWalk && i < labels.size(); ++i) {
        if (labels[i] < 0)
            continue;
        fWalk->GoTo(labels[i]);
        if (!fWalk->end)
            page[i] = fWalk->slot;
    }
    return page;
}
