#pragma once

#include "Zor.Fields.h"
#include "Zor.RtlExport.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace zor {

class TBinaryReader;
class TBinaryWriter;
class TJsonObject;

} // namespace zor

// The data of a label: the data sets a print run walks (a CSV file, JSON data, data sets of the
// host program), the counters, the value lists and the questions asked before printing, and
// the record cursor that print and export move label by label.

// The type of a data field, as the set-up dialog offers it (5 reads like 0).
enum class TZORFieldType : uint8_t {
    String = 0,
    Boolean = 1,
    Integer = 2,
    Int64 = 3,
    Float = 4,
    WideString = 5,
    Img64 = 6, // an image as base64 text
    ImgBlob = 7, // an image as bytes
};

// What an element's value is bound to: its FillType; its FillName names the field, counter,
// list or question.
enum class TZORFillType : uint8_t { None = 0, Field = 1, Counter = 2, List = 3, Ask = 4 };

// The answer kind of a question.
enum class TZORAnsType : uint8_t { Text = 0, Integer = 1, Number = 2, DateTime = 3 };

// A field of a data set. Elements name it by its name or its alias; names compare without regard
// to case. Data sets are named the same way.
class QUINDLE_RTL_EXPORT TZORDataField {
public:
    static const TZORFields<TZORDataField>& Fields();

    TZORDataField() = default;
    TZORDataField(const QString& name, TZORFieldType type)
        : fName(name)
        , fType(type)
    {
    }

    const QString& GetName() const { return fName; }
    const QString& GetAlias() const { return fAlias; }
    void SetAlias(const QString& a) { fAlias = a; }
    TZORFieldType GetType() const { return fType; }
    void SetType(TZORFieldType t) { fType = t; }
    bool IsNamed(const QString& name) const;

private:
    QString fName;
    QString fAlias;
    TZORFieldType fType = TZORFieldType::String;
};

using TZORDataFields = std::vector<TZORDataField>;

namespace zor {
// The type of a field whose values so far had type a and now one of type b: whole numbers widen
// to Int64 and Float; any other mix is String.
QUINDLE_RTL_EXPORT TZORFieldType WidenFieldType(TZORFieldType a, TZORFieldType b);
// Integer for a value within 32 bits, else Int64.
QUINDLE_RTL_EXPORT TZORFieldType WholeNumberType(int64_t v);
// The most fields a data set may have: a CSV header or record, or JSON data, with more is
// refused with an error rather than held at any cost.
inline constexpr size_t MaxDataFields = 100000;
// A field or data-set name as names compare (without regard to case): a key for a hash.
QUINDLE_RTL_EXPORT QString FoldedName(const QString& name);
} // namespace zor

// A forward cursor over the records of a data set.
class QUINDLE_RTL_EXPORT IZORRecordCursor {
public:
    virtual ~IZORRecordCursor() = default;
    // Moves to the next record (the first on the first call) and gives its values, one per
    // field in field order (a QString, a number, a bool, a QDateTime or a QByteArray; a
    // shorter list leaves the last fields empty). False after the last record. A malformed
    // record raises EZORError.
    virtual bool Next(std::vector<QVariant>& values) = 0;
};

// A source of records. The host program implements it for data of its own; the label's CSV
// and JSON data are built on it too. Open may be called many times (a print job walks its own
// cursor while the screen walks another) and from the print and export workers.
class QUINDLE_RTL_EXPORT IZORDataSet {
public:
    virtual ~IZORDataSet() = default;
    virtual TZORDataFields Fields() const = 0;
    virtual std::unique_ptr<IZORRecordCursor> Open() const = 0;
};

// Records held in memory, shared by every cursor; the form of JSON data, and a ready data set
// for a host program.
class QUINDLE_RTL_EXPORT TZORMemoryDataSet : public IZORDataSet {
public:
    TZORMemoryDataSet(TZORDataFields fields, std::vector<std::vector<QVariant>> records);

    TZORDataFields Fields() const override { return fFields; }
    std::unique_ptr<IZORRecordCursor> Open() const override;

private:
    TZORDataFields fFields;
    std::shared_ptr<const std::vector<std::vector<QVariant>>> fRecords;
};

enum class TZORDatasetKind : uint8_t { Host = 0, Csv = 1, Json = 2 };

// An entry of the label's data-set collection: its name (and alias), kind, fields and source.
// A host entry read from a file has no source until the host program attaches one by name.
class QUINDLE_RTL_EXPORT TZORDataset {
public:
    static const TZORFields<TZORDataset>& Fields();

    TZORDataset() = default;
    TZORDataset(const QString& name, TZORDatasetKind kind, TZORDataFields fields,
        std::shared_ptr<const IZORDataSet> source);

    const QString& GetName() const { return fName; }
    const QString& GetAlias() const { return fAlias; }
    void SetAlias(const QString& a) { fAlias = a; }
    bool IsNamed(const QString& name) const;
    TZORDatasetKind GetKind() const { return fKind; }
    const TZORDataFields& GetFields() const { return fFields; }
    TZORDataFields& GetFields() { return fFields; }
    // 0-based index of the field an element names, -1 for none.
    int32_t FieldIndex(const QString& name) const;
    const std::shared_ptr<const IZORDataSet>& GetSource() const { return fSource; }

private:
    friend class TZORData;
    QString fName;
    QString fAlias;
    TZORDatasetKind fKind = TZORDatasetKind::Host;
    TZORDataFields fFields;
    std::shared_ptr<const IZORDataSet> fSource;
};

using TZORDatasets = std::vector<TZORDataset>;

// A counter: the value of the n-th label of a run (0-based, a label printed again by the
// repetition counts once) is NumFrom + Step × (n div Repeat). When NumTo is not 0 and lies on
// the side the counter runs to, the value after NumTo is NumFrom again.
class QUINDLE_RTL_EXPORT TZORCounter {
public:
    static const TZORFields<TZORCounter>& Fields();

    TZORCounter() = default;
    explicit TZORCounter(const QString& name)
        : fName(name)
    {
    }

    const QString& GetName() const { return fName; }
    void SetName(const QString& n) { fName = n; }
    int64_t GetNumFrom() const { return fNumFrom; }
    void SetNumFrom(int64_t v) { fNumFrom = v; }
    int64_t GetNumTo() const { return fNumTo; }
    void SetNumTo(int64_t v) { fNumTo = v; }
    int32_t GetStep() const { return fStep; }
    void SetStep(int32_t s) { fStep = s; }
    // Labels that show each value, at least 1.
    int32_t GetRepeat() const { return fRepeat; }
    void SetRepeat(int32_t r) { fRepeat = r < 1 ? 1 : r; }
    const QString& GetTextBefore() const { return fTextBefore; }
    void SetTextBefore(const QString& t) { fTextBefore = t; }
    const QString& GetTextAfter() const { return fTextAfter; }
    void SetTextAfter(const QString& t) { fTextAfter = t; }
    // A float pattern (zor::FormatInteger); empty: the plain number.
    const QString& GetFormat() const { return fFormat; }
    void SetFormat(const QString& f) { fFormat = f; }

    int64_t ValueAt(int64_t label) const;
    // Text before, the formatted value, text after.
    QString TextAt(int64_t label) const;

private:
    QString fName;
    int64_t fNumFrom = 0;
    int64_t fNumTo = 0;
    int32_t fStep = 1;
    int32_t fRepeat = 1;
    QString fTextBefore;
    QString fTextAfter;
    QString fFormat;
};

// A named list of values, one of which is chosen before printing.
class QUINDLE_RTL_EXPORT TZRValList {
public:
    static const TZORFields<TZRValList>& Fields();

    TZRValList() = default;
    explicit TZRValList(const QString& name)
        : fName(name)
    {
    }

    const QString& GetName() const { return fName; }
    void SetName(const QString& n) { fName = n; }
    const QStringList& GetValues() const { return fValues; }
    void AssignValues(const QStringList& values) { fValues = values; }
    // The chosen value, which the bound elements print.
    const QString& GetValue() const { return fValue; }
    void SetValue(const QString& v) { fValue = v; }
    // Chosen at print time.
    bool GetAsk() const { return fAsk; }
    void SetAsk(bool a) { fAsk = a; }

private:
    QString fName;
    QStringList fValues;
    QString fValue;
    bool fAsk = true;
};

// A named question asked before printing, with one answer per kind.
class QUINDLE_RTL_EXPORT TZRAskField {
public:
    static const TZORFields<TZRAskField>& Fields();

    TZRAskField() = default;
    explicit TZRAskField(const QString& name)
        : fName(name)
    {
    }

    const QString& GetName() const { return fName; }
    void SetName(const QString& n) { fName = n; }
    const QString& GetQuest() const { return fQuest; }
    void SetQuest(const QString& q) { fQuest = q; }
    TZORAnsType GetAnsType() const { return fAnsType; }
    void SetAnsType(TZORAnsType t) { fAnsType = t; }
    const QString& GetText() const { return fText; }
    void SetText(const QString& t) { fText = t; }
    int32_t GetInteger() const { return fInteger; }
    void SetInteger(int32_t i) { fInteger = i; }
    double GetNumber() const { return fNumber; }
    // A number that is not finite is not an answer: the old one stays.
    void SetNumber(double n);
    QDateTime GetDateTime() const;
    void SetDateTime(const QDateTime& d);
    // Asked at print time.
    bool GetAsk() const { return fAsk; }
    void SetAsk(bool a) { fAsk = a; }

    // The answer of the question's kind, formatted (a float pattern for numbers, a date pattern
    // for dates); an answer kind beyond the four gives "".
    QString Answer(const QString& format) const;
    // Takes over the answer of the question's kind from other.
    void TakeAnswer(const TZRAskField& other);

private:
    QString fName;
    QString fQuest;
    TZORAnsType fAnsType = TZORAnsType::Text;
    QString fText;
    int32_t fInteger = 0;
    double fDateTime = 0; // days since 1899-12-30
    double fNumber = 0;
    bool fAsk = true;
};

// Asks the user before printing. The runtime library plugs its dialogs in; tests answer
// directly. Each call gets a copy: true takes its answer over, false (cancelled) keeps the old.
class QUINDLE_RTL_EXPORT IZORPrompter {
public:
    virtual ~IZORPrompter() = default;
    // Offers the values of list; the choice goes into list's value.
    virtual bool ChooseFromList(TZRValList& list) = 0;
    // Asks question; the answer of its kind goes into it.
    virtual bool Answer(TZRAskField& question) = 0;
};

// The counters of a print run, prepared before printing. Sheets, rows, columns and labels
// count from 1; the first sheet starts at the first row and column of the print information,
// and labels fill a sheet row by row.
struct QUINDLE_RTL_EXPORT TZORPrintRun {
    // Rows and columns a run uses at most (the range the set-up dialog offers): a sheet's data
    // is held position by position.
    static constexpr int32_t MaxSide = 200;

    int64_t sheetCounter = 1;
    int64_t sheetCount = 0;
    int64_t labelCounter = 1;
    int64_t labelCount = 0;
    int32_t rows = 1;
    int32_t columns = 1;
    int32_t firstOffset = 0; // label positions left free at the start of the first sheet
    bool dataRun = false; // the labels differ by their data

    // The 0-based label of the run at a position; -1 when none falls there.
    int64_t LabelAt(int64_t sheet, int32_t row, int32_t column) const;
    // The 0-based first label of a sheet (kept within the run's sheets).
    int64_t FirstLabelOf(int64_t sheet) const;
};

// One label's record of a run: what its bound elements show.
struct QUINDLE_RTL_EXPORT TZORRecord {
    int64_t label = -1; // 0-based in the run; -1: none
    int64_t distinct = 0; // the label without its repetitions: what counters count
    std::vector<QVariant> values;
};

class QUINDLE_RTL_EXPORT TZORData {
    struct TWalk; // where a walk through the run stands

public:
    static constexpr int32_t MaxCounters = 5;

    TZORData();
    ~TZORData();
    // A copy keeps its place in the run; its cursor opens anew where it is first moved.
    TZORData(const TZORData& other);
    TZORData& operator=(const TZORData& other);

    static const TZORFields<TZORData>& Fields();

    // --- Settings ---
    bool GetLinkData() const { return fLinkData; }
    void SetLinkData(bool l) { fLinkData = l; }
    // The JSON text is saved with the label.
    bool GetSaveJson() const { return fSaveJson; }
    void SetSaveJson(bool s) { fSaveJson = s; }
    // The data set that drives a run; none: the run is the print information's labels.
    const QString& GetDataSel() const { return fDataSel; }
    void SetDataSel(const QString& name) { fDataSel = name; }
    // An integer field of the driving data set: how many times each record's label prints.
    const QString& GetFieldRepeat() const { return fFieldRepeat; }
    void SetFieldRepeat(const QString& name) { fFieldRepeat = name; }

    // --- Data sets: the JSON ones, the CSV one, the host's, in that order ---
    int32_t GetDatasetCount() const;
    const TZORDataset* GetDatasetAt(int32_t i) const; // 1-based
    const TZORDataset* GetDataset(const QString& name) const;
    // The host entries, which a data-binding dialog may replace as a whole.
    TZORDatasets& Datasets() { return fHostSets; }
    const TZORDatasets& Datasets() const { return fHostSets; }
    // Gives the host entry of that name its source (adding the entry when there is none; null
    // takes the source away); fields the entry knows keep their alias and type.
    void AttachDataset(const QString& name, std::shared_ptr<const IZORDataSet> source);

    // --- CSV ---
    const QString& GetCsvFile() const { return fCsvFile; }
    bool GetHeader() const { return fHeader; }
    uint8_t GetSeparator() const { return fSeparator; } // TZORCsvSeparator
    uint8_t GetQuote() const { return fQuote; } // TZORCsvQuote
    // Reads and checks the file with these settings and makes it the CSV data set; an empty
    // name removes it. A file that cannot be read or is malformed changes nothing: the answer
    // is false and errorText says why. Fields named as before keep their types.
    bool SetCsvData(
        const QString& fileName, bool header, uint8_t separator, uint8_t quote, QString* errorText = nullptr);
    // The type of the CSV field on the 0-based row of the field grid; false without such a field.
    bool SetCsvField(int32_t row, TZORFieldType type);
    const TZORDataset* GetCsvDataset() const;

    // --- JSON ---
    const QString& GetJson() const { return fJson; }
    // An array of objects (one data set, "JSON"), or an object whose members are such arrays
    // (a data set per member). Anything else changes nothing: false, and errorText says why.
    bool SetJson(const QString& text, QString* errorText = nullptr);

    // --- Counters, 1-based ---
    int32_t GetCounterCount() const { return int32_t(fCounters.size()); }
    TZORCounter* GetCounter(int32_t i);
    const TZORCounter* GetCounter(int32_t i) const;
    // A new counter; null when there are MaxCounters already or the name is empty or taken.
    TZORCounter* AddCounter(const QString& name);
    // True when a counter other than except has this name.
    bool CounterName(const QString& name, const TZORCounter* except) const;
    bool RemoveCounter(const TZORCounter* counter);

    // --- Value lists, 1-based ---
    int32_t GetNumListVal() const { return int32_t(fLists.size()); }
    TZRValList* GetListVal(int32_t i);
    bool NameListExists(const QString& name) const;
    // False for an empty or taken name.
    bool AddListVal(const QString& name);
    bool DeleteList(int32_t i);

    // --- Questions, 1-based ---
    int32_t GetNumQuestions() const { return int32_t(fQuestions.size()); }
    TZRAskField* GetAskField(int32_t i);
    bool NameAskExists(const QString& name) const;
    bool AddAskVal(const QString& name);
    bool DeleteAsk(int32_t i);

    // Lists and questions to ask before printing.
    bool HasListPrompts() const;
    bool HasAskPrompts() const;

    // --- Values of a label ---
    // The value an element bound by fillType to name shows for the record; "" for anything
    // unknown. Without a record: the cursor's.
    QString Value(const QString& name, const QString& format, uint8_t fillType) const;
    QString Value(
        const QString& name, const QString& format, uint8_t fillType, const TZORRecord& record) const;
    // The image bytes of field name: decoded base64 (Img64, and text in an ImgBlob field),
    // bytes as the host gives them (ImgBlob), or the file a text field names inside
    // imageFolder. False when there is no image. Without a record: the cursor's.
    bool Graphic(const QString& name, const QString& imageFolder, QByteArray& bytes) const;
    bool Graphic(
        const QString& name, const QString& imageFolder, QByteArray& bytes, const TZORRecord& record) const;
    // The record of the cursor's label (an empty one before a run).
    const TZORRecord& Current() const;
    // Raises EZORError when the binding names nothing that exists.
    void CheckBinding(uint8_t fillType, const QString& name) const;
    // The lines of a table: the first maxLines records of data set name, each as the values of
    // the given fields (name and format) as Value shows them; a field the set lacks gives "".
    // The run's cursor does not move. Raises EZORError for a data set that is not there or
    // cannot be read.
    std::vector<QStringList> DataLines(
        const QString& name, const std::vector<std::pair<QString, QString>>& fields, int32_t maxLines) const;

    // --- The run ---
    // The driving data set, null when none is chosen. Raises EZORError when the chosen one is
    // not there or has no source.
    const TZORDataset* RunDataset() const;
    // Counts the labels of a run (a pass over the records) and puts the cursor on the first.
    // Without a data set the run is labs × repetition labels; with one, each record prints
    // repetition × its repeat field (a record whose repeat field is 0 prints no label).
    // Raises EZORError for data that cannot be read; the cursor then stays where it was.
    int64_t StartRun(int32_t labs, int32_t repetition);
    void Next();
    // Moves the cursor to a 0-based label of the run.
    void GoToLabel(int64_t label);
    int64_t GetLabel() const;

    // Reads the records of labels of the run apart from its cursor, which it never moves, so
    // that a sheet can be drawn in any order and from several threads, each with a reader of
    // its own. A reader reads on from where it stood, sheet after sheet, instead of from the
    // first record. It reads the run the data had when it was made.
    class TPageReader {
    public:
        explicit TPageReader(const TZORData& data);
        ~TPageReader();
        TPageReader(const TPageReader&) = delete;
        TPageReader& operator=(const TPageReader&) = delete;
        // The records of the given labels (-1, or a label beyond the run: an empty record).
        std::vector<TZORRecord> Read(const std::vector<int64_t>& labels);

    private:
        std::unique_ptr<TWalk> fWalk;
    };

    // --- Persistence ---
    void WriteData(zor::TBinaryWriter& w) const;
    void ReadData(zor::TBinaryReader& r);
    void WriteJson(zor::TJsonObject& o) const;
    void ReadJson(const zor::TJsonObject& o);

private:
    // The data sets of a JSON text; raises EZORError for any other shape.
    static TZORDatasets ParseJsonData(const QString& text);
    TZORDataset MakeCsvSet(TZORDataFields fields) const;
    TZORDataset* FindHost(const QString& name);
    void Finish(const QString& json, TZORDataFields csvFields, const TZORData& before);
    std::vector<const TZORDataset*> All() const;

    bool fLinkData = false;
    bool fSaveJson = false;
    QString fDataSel;
    QString fFieldRepeat;
    QString fCsvFile;
    bool fHeader = true;
    uint8_t fSeparator = 1;
    uint8_t fQuote = 2;
    QString fJson;

    TZORDatasets fJsonSets;
    std::optional<TZORDataset> fCsvSet;
    TZORDatasets fHostSets;
    std::vector<TZORCounter> fCounters;
    std::vector<TZRValList> fLists;
    std::vector<TZRAskField> fQuestions;

    std::unique_ptr<TWalk> fWalk;
};
