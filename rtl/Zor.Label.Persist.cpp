#include "Zor.Json.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.Version.h"

using zor::Field;
using zor::TBinaryReader;
using zor::TBinaryWriter;
using zor::TJsonArray;
using zor::TJsonObject;

namespace {

// Smallest records, for checking counts against the bytes left before allocating.
constexpr int64_t MinLayerBytes = 8;
constexpr int64_t MinStyleBytes = 8;
constexpr int64_t MinSymbolBytes = 8;
constexpr int64_t MinItemBytes = 4;
// The oldest file version this reader understands.

template <class T> void WriteList(TBinaryWriter& w, const std::vector<std::unique_ptr<T>>& list)
{
    w.WriteInt32(int32_t(list.size()));
    for (const auto& record : list)
        zor::WriteFields(w, *record, T::Fields());
}

template <class T, class Make>
std::vector<std::unique_ptr<T>> ReadList(TBinaryReader& r, int64_t minBytes, Make make)
{
    const int32_t n = r.ReadCount(INT32_MAX, minBytes);
    std::vector<std::unique_ptr<T>> list;
    for (int32_t i = 0; i < n; ++i) {
        auto record = make();
        zor::ReadFields(r, *record, T::Fields());
        list.push_back(std::move(record));
    }
    return list;
}

template <class T> void PutList(TJsonObject& o, const char* key, const std::vector<std::unique_ptr<T>>& list)
{
    TJsonArray a = o.NewA(key);
    for (const auto& record : list) {
        TJsonObject e = a.AddObject();
        zor::FieldsToJson(e, *record, T::Fields());
    }
}

template <class T, class Make>
std::vector<std::unique_ptr<T>> GetList(const TJsonObject& o, const char* key, Make make)
{
    const TJsonArray a = o.A(key);
    std::vector<std::unique_ptr<T>> list;
    for (int i = 0; i < a.Count(); ++i) {
        auto record = make();
        zor::FieldsFromJson(a.O(i), *record, T::Fields());
        list.push_back(std::move(record));
    }
    return list;
}

auto NewLayer = [] { return std::make_unique<TZORLayer>(); };
auto NewStyle
    = [] { return std::make_unique<TZORDimStyle>(QString(), zor::claBlack, zor::claBlack, false, false); };

// An active index read from a file, kept inside the list.
int32_t ClampIndex(int32_t i, int32_t count)
{
    return i < 1 || i > count ? 1 : i;
}

} // namespace

const TZORFields<TZORBaseLabel>& TZORBaseLabel::Fields()
{
    using L = TZORBaseLabel;
    static const TZORFields<L> fields {
        Field<L, &L::fUnits>("Units"),
        Field<L, &L::fEditorMode>("EditorMode"),
        Field<L, &L::fOptions>("Options"),
        Field<L, &L::fBackSurf>("BackSurf"),
        Field<L, &L::fEditable>("Editable"),
        Field<L, &L::fLayerZOrder>("LayerZOrder"),
        Field<L, &L::fOrientation>("Orientation"),
        Field<L, &L::fLanguageFileName>("LanguageFileName"),
        Field<L, &L::fImageFolder>("ImageFolder"),
        Field<L, &L::fOpenImgFolder>("OpenImgFolder"),
        Field<L, &L::fLibraryFolder>("LibraryFolder"),
    };
    return fields;
}

// --- Binary ---

void TZORBaseLabel::WriteBaseData(TBinaryWriter& w) const
{
    w.WriteInt32(ZORFileVersion);
}

void TZORBaseLabel::ReadBaseData(TBinaryReader& r)
{
    const int32_t version = r.ReadInt32();
    if (version < ZORFirstFileVersion || version > ZORFileVersion)
        throw zor::Error(QStringLiteral("FileVersion"), QString::number(version));
    fFileVersion = version;
    r.SetVersion(version);
}

void TZORBaseLabel::WriteData(TBinaryWriter& w) const
{
    zor::WriteFields(w, *this, Fields());
    zor::WriteFields(w, fMeasure, TZORMeasure::Fields());
    zor::WriteFields(w, fPrintInfo, TZORPrintInfo::Fields());
    zor::WriteFields(w, fSettings, TZORSettings::Fields());
    WriteList(w, fLayers);
    w.WriteInt32(fActiveLayer);
    WriteList(w, fDimStyles);
    w.WriteInt32(fActiveDimStyle);
    fData.WriteData(w);
    WriteRefLines(w);
}

void TZORBaseLabel::ReadData(TBinaryReader& r)
{
    zor::ReadFields(r, *this, Fields());
    zor::ReadFields(r, fMeasure, TZORMeasure::Fields());
    zor::ReadFields(r, fPrintInfo, TZORPrintInfo::Fields());
    zor::ReadFields(r, fSettings, TZORSettings::Fields());
    auto layers = ReadList<TZORLayer>(r, MinLayerBytes, NewLayer);
    const int32_t activeLayer = r.ReadInt32();
    auto styles = ReadList<TZORDimStyle>(r, MinStyleBytes, NewStyle);
    const int32_t activeStyle = r.ReadInt32();
    TZORData data(fData); // host data sets keep the sources attached to them
    data.ReadData(r);
    std::vector<TZORRefLine> refLines = ReadRefLines(r);
    if (layers.empty() || styles.empty())
        throw zor::Error(QStringLiteral("LabelData"));
    fLayers = std::move(layers);
    fActiveLayer = ClampIndex(activeLayer, GetLayersCount());
    fDimStyles = std::move(styles);
    fActiveDimStyle = ClampIndex(activeStyle, GetDimStylesCount());
    fData = data;
    fRefLines = std::move(refLines);
}

void TZORBaseLabel::WriteLabel(TBinaryWriter& w) const
{
    WriteBaseData(w);
    WriteData(w);
    w.WriteInt32(GetSymbolsCount());
    for (const auto& symbol : fSymbols)
        symbol->Write(w);
    w.WriteInt32(GetItemsCount());
    for (const auto& item : fItems)
        item->Write(w);
}

void TZORBaseLabel::ReadLabel(TBinaryReader& r)
{
    ReadBaseData(r);
    ReadData(r);
    const int32_t symbols = r.ReadCount(INT32_MAX, MinSymbolBytes);
    for (int32_t i = 0; i < symbols; ++i)
        AddSymbol(TZORLibSymbol::Read(r), false);
    const int32_t items = r.ReadCount(INT32_MAX, MinItemBytes);
    for (int32_t i = 0; i < items; ++i)
        // Records carry no length: an element of a kind this label cannot build cannot be
        // skipped, and reading on would take its data for the next record.
        if (!ReadItem(r, fFileVersion, TZORReadType::Load))
            throw zor::Error(QStringLiteral("UnknownItemType"));
}

TZORBaseItem* TZORBaseLabel::ReadItem(TBinaryReader& r, int32_t version, TZORReadType readType)
{
    const int32_t code = r.ReadInt32() & 0xFF;
    std::unique_ptr<TZORBaseItem> item = NewItem(code, readType == TZORReadType::SheetCopy);
    if (!item)
        return nullptr;
    return AddRead(std::move(item), version, r, readType);
}

TZORBaseItem* TZORBaseLabel::AddRead(
    std::unique_ptr<TZORBaseItem> item, int32_t version, TBinaryReader& r, TZORReadType readType)
{
    r.SetVersion(version);
    item->ReadData(version, r, readType);
    return AddFinished(std::move(item));
}

TZORBaseItem* TZORBaseLabel::AddReadJson(
    std::unique_ptr<TZORBaseItem> item, int32_t version, const TJsonObject& o)
{
    item->ReadJson(version, o);
    return AddFinished(std::move(item));
}

TZORBaseItem* TZORBaseLabel::AddFinished(std::unique_ptr<TZORBaseItem> item)
{
    item->AfterRead();
    // Caption and text layouts are derived, not stored: make them for the element as read.
    item->CalcValues(0);
    return AddItem(std::move(item));
}

// --- JSON ---

TJsonObject TZORBaseLabel::GetJson() const
{
    TJsonObject o;
    o.SetI("Version", ZORFileVersion);
    zor::FieldsToJson(o, *this, Fields());
    TJsonObject measure = o.NewO("Measure");
    zor::FieldsToJson(measure, fMeasure, TZORMeasure::Fields());
    TJsonObject print = o.NewO("PrintInfo");
    zor::FieldsToJson(print, fPrintInfo, TZORPrintInfo::Fields());
    TJsonObject settings = o.NewO("Settings");
    zor::FieldsToJson(settings, fSettings, TZORSettings::Fields());
    PutList(o, "Layers", fLayers);
    o.SetI("ActiveLayer", fActiveLayer);
    PutList(o, "DimStyles", fDimStyles);
    o.SetI("ActiveDimStyle", fActiveDimStyle);
    TJsonObject data = o.NewO("Data");
    fData.WriteJson(data);
    PutRefLines(o);
    TJsonArray symbols = o.NewA("Symbols");
    for (const auto& symbol : fSymbols)
        symbols.Add(symbol->GetJson());
    TJsonArray items = o.NewA("Items");
    for (const auto& item : fItems)
        items.Add(item->WriteJson());
    return o;
}

void TZORBaseLabel::ReadJson(const TJsonObject& o)
{
    const int32_t version = o.I("Version", ZORFileVersion);
    if (version < ZORFirstFileVersion || version > ZORFileVersion)
        throw zor::Error(QStringLiteral("FileVersion"), QString::number(version));
    zor::FieldsFromJson(o, *this, Fields());
    if (o.Contains("Measure"))
        zor::FieldsFromJson(o.O("Measure"), fMeasure, TZORMeasure::Fields());
    if (o.Contains("PrintInfo"))
        zor::FieldsFromJson(o.O("PrintInfo"), fPrintInfo, TZORPrintInfo::Fields());
    if (o.Contains("Settings"))
        zor::FieldsFromJson(o.O("Settings"), fSettings, TZORSettings::Fields());
    if (o.Contains("Layers")) {
        auto layers = GetList<TZORLayer>(o, "Layers", NewLayer);
        if (layers.empty())
            throw zor::Error(QStringLiteral("LabelData"));
        fLayers = std::move(layers);
    }
    fActiveLayer = ClampIndex(o.I("ActiveLayer", 1), GetLayersCount());
    if (o.Contains("DimStyles")) {
        auto styles = GetList<TZORDimStyle>(o, "DimStyles", NewStyle);
        if (styles.empty())
            throw zor::Error(QStringLiteral("LabelData"));
        fDimStyles = std::move(styles);
    }
    fActiveDimStyle = ClampIndex(o.I("ActiveDimStyle", 1), GetDimStylesCount());
    if (o.Contains("Data"))
        fData.ReadJson(o.O("Data"));
    GetRefLines(o);
    fFileVersion = version;
}

void TZORBaseLabel::ReadJsonLabel(const TJsonObject& o)
{
    ReadJson(o);
    if (o.Contains("Symbols")) {
        const TJsonArray symbols = o.A("Symbols");
        for (int i = 0; i < symbols.Count(); ++i) {
            auto symbol = std::make_unique<TZORLibSymbol>();
            QString error;
            if (!symbol->ReadJson(symbols.O(i), error))
                throw EZORError(error);
            AddSymbol(std::move(symbol), false);
        }
    }
    if (!o.Contains("Items"))
        return;
    const TJsonArray items = o.A("Items");
    for (int i = 0; i < items.Count(); ++i)
        // An object of no known kind is skipped: unlike a binary record it has clear bounds.
        ReadJsonItem(items.O(i), fFileVersion);
}

TZORBaseItem* TZORBaseLabel::ReadJsonItem(const TJsonObject& o, int32_t version)
{
    const int64_t code = o.L("Type");
    if (!zor::IsItemType(code))
        return nullptr;
    std::unique_ptr<TZORBaseItem> item = NewItem(int32_t(code), false);
    if (!item)
        return nullptr;
    return AddReadJson(std::move(item), version, o);
}

// --- Failed reads ---

void TZORBaseLabel::ReadTransaction(const std::function<void()>& read)
{
    QByteArray settings;
    {
        TBinaryWriter w(&settings);
        WriteBaseData(w);
        WriteData(w);
    }
    // The data goes back as a copy: the JSON data unsaved and the host's data sets have no
    // binary form.
    const TZORData data = fData;
    const TZORPrintRun run = fPrintRun;
    const int32_t items = GetItemsCount();
    const int32_t symbols = GetSymbolsCount();
    const int32_t currentSymbol = fCurrentSymbol;
    const std::vector<TZORBaseItem*> selection = fSelection;
    const auto pending = fPending;
    const int32_t updateCount = fUpdateCount, readCount = fReadCount;
    const int64_t nextID = fNextID;
    const bool modified = fModified, readPaste = fReadPaste, updateModifies = fUpdateModifies;
    // The history goes back too (its states share their bytes, so the copy is cheap): a failed
    // read leaves no step behind, nor takes one away.
    const TZORUndo undo = fUndo;
    const std::optional<TZORUndoState> undoBefore = fUndoBefore;
    const int32_t undoStepCount = fUndoStepCount;
    const bool updateStep = fUpdateStep, readStep = fReadStep;
    try {
        read();
    } catch (...) {
        ++fUpdateCount; // the label goes back as it was: nobody is told of the way back
        RemoveItemsFrom(items);
        fSymbols.resize(size_t(symbols));
        fCurrentSymbol = currentSymbol;
        for (TZORBaseItem* item : fSelection)
            item->SetItemState(TZORItemState::Normal);
        fSelection = selection;
        for (TZORBaseItem* item : fSelection)
            item->SetItemState(TZORItemState::Selected);
        TBinaryReader r(settings);
        ReadBaseData(r);
        ReadData(r);
        fData = data;
        fPrintRun = run;
        fPending = pending;
        fUpdateCount = updateCount;
        fReadCount = readCount;
        fReadPaste = readPaste;
        fUpdateModifies = updateModifies;
        fNextID = nextID;
        fModified = modified;
        fUndo = undo;
        fUndoBefore = undoBefore;
        fUndoStepCount = undoStepCount;
        fUpdateStep = updateStep;
        fReadStep = readStep;
        FireUndoRedo();
        throw;
    }
}
