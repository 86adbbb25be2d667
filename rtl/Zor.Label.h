#pragma once

#include "Zor.Base.h"
#include "Zor.Data.h"
#include "Zor.Fields.h"
#include "Zor.Item.h"
#include "Zor.Layer.h"
#include "Zor.LibSymbol.h"
#include "Zor.Mapping.h"
#include "Zor.Measure.h"
#include "Zor.Observer.h"
#include "Zor.PrintInfo.h"
#include "Zor.Settings.h"
#include "Zor.Types.h"
#include "Zor.Undo.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

#include <atomic>
#include <functional>
#include <initializer_list>
#include <map>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

class TBinaryReader;
class TBinaryWriter;
class TJsonObject;

// What Clear empties.
enum class TZORClear : uint8_t {
    Items = 0, // every element (and so the selection)
    Symbols = 1, // the library symbols
    Selection = 2, // the selection only: the elements stay
    Layers = 3, // back to the one default layer
    DimStyles = 4, // back to the one default style
    SheetCopies = 10, // the per-label copies made for printing a sheet
};

// Label states (AddState / RemoveState).
enum class TZORLabelState : uint8_t {
    Printing = 9,
};

// The label model: elements in z-order, layers, the page and sheet measure, print information,
// dimension styles, library symbols, the selection and the copy buffer. Views attach as
// observers and learn every change through UpdateCtrl; they never notify one another.
//
// Changes can be bracketed: inside BeginUpdate/EndUpdate (or BeginRead/EndRead) notices are held
// back and sent once each, in ordinal order, when the outermost bracket closes.
class TZORBaseLabel : public QObject {
    Q_OBJECT

public:
    explicit TZORBaseLabel(QObject* parent = nullptr);
    ~TZORBaseLabel() override;

    // --- Elements, 1-based, in z-order ---
    int32_t GetItemsCount() const { return int32_t(fItems.size()); }
    TZORBaseItem* GetItem(int32_t i) const;
    // 1-based position of the item, 0 when it is not in this label.
    int32_t IndexOfItem(const TZORBaseItem* item) const;
    TZORBaseItem* SearchItem(int32_t id) const;
    // Enters a finished element: gives it a free ID and, when it has none, the active layer.
    TZORBaseItem* AddItem(std::unique_ptr<TZORBaseItem> item);
    void DeleteItem(TZORBaseItem* item);
    // Orders the elements by layer, keeping their order within a layer.
    void SortItemsZLayer();
    // A new element of the given type code, not yet in the label; null for a code this label
    // cannot build. The runtime library's label builds the renderers of every kind.
    virtual std::unique_ptr<TZORBaseItem> NewItem(int32_t code, bool aPreview);

    // --- Layers, 1-based; layer 1 is the default layer ---
    int32_t GetLayersCount() const { return int32_t(fLayers.size()); }
    TZORLayer* GetLayer(int32_t i) const;
    int32_t IndexOfLayer(const TZORLayer* layer) const;
    TZORLayer* AddLayer(const QString& name);
    // Deletes layer i (not layer 1); its elements move to layer 1.
    bool DeleteLayer(int32_t i);
    // Swaps layers a and b (neither may be layer 1); their elements and the active layer follow
    // their layer. False, with nothing changed, for any other pair.
    bool ExchangeLayers(int32_t a, int32_t b);
    // Gives the elements of layer i its colour, fill, pen width and line type.
    void ApplyLayerValues(int32_t i);
    TZORLayer* GetActiveLayer() const { return GetLayer(fActiveLayer); }
    int32_t GetActiveLayerIndex() const { return fActiveLayer; }
    // False for an index of no layer, which changes nothing.
    bool SetActiveLayer(int32_t i);
    // The layer whose background the label shows: the first that has a background image or map
    // (1-based); 0 for none.
    int32_t GetBackLayer() const;
    // Set when a background changes behind the layer's back (a composed map rewritten under the
    // same name): the decoded background is read again at the next drawing, which clears it.
    bool GetImageChanged() const { return fImageChanged; }
    void SetImageChanged(bool c) { fImageChanged = c; }

    // --- Dimension styles, 1-based ---
    int32_t GetDimStylesCount() const { return int32_t(fDimStyles.size()); }
    TZORDimStyle* GetDimStyle(int32_t i) const;
    TZORDimStyle* GetActiveDimStyle() const { return GetDimStyle(fActiveDimStyle); }
    // pos is 0-based; true when the active style changed.
    bool SetActiveDimStyle(int32_t pos);
    TZORDimStyle* AddDimStyle(std::unique_ptr<TZORDimStyle> style);
    bool DeleteActiveDimStyle();
    void ResetDimStyles();

    // --- Library symbols, 1-based ---
    int32_t GetSymbolsCount() const { return int32_t(fSymbols.size()); }
    TZORLibSymbol* GetSymbol(int32_t i) const;
    // Adds a symbol; with aCurrent it becomes the current symbol.
    TZORLibSymbol* AddSymbol(std::unique_ptr<TZORLibSymbol> symbol, bool aCurrent);
    TZORLibSymbol* GetCurrentSymbol() const { return GetSymbol(fCurrentSymbol); }
    // Makes symbol name of the library file library (a file of the library folder, ".lyp"
    // added when the name has no suffix) the current symbol: one the label holds already (by
    // its ID) is reused, else a copy is added. False, with an information message, when the
    // name is not a plain file name, the file is not there, the host skips it (OnReadSymEvent)
    // or it holds no symbol of that name (compared without case); a file that cannot be read
    // raises EZORError naming it.
    bool LoadSymbolByName(const QString& library, const QString& name);
    // A symbol element of that library symbol at (x, y), in the label's unit, as one undo step;
    // null when LoadSymbolByName answers false or the label builds no symbol elements.
    TZORBaseItem* AddSymbol(double x, double y, const QString& library, const QString& name);

    // --- Selection, 1-based, in the order of selecting ---
    void Select(TZORBaseItem* item, bool aAdd = false);
    void UnSelect(TZORBaseItem* item);
    void UnSelectAll();
    int32_t GetSelectionCount() const { return int32_t(fSelection.size()); }
    TZORBaseItem* GetSelection(int32_t i) const;
    bool IsSelected(const TZORBaseItem* item) const;
    // Bounds of the selected elements; an empty rectangle when nothing is selected.
    TZORRect SelectionBounds() const;
    void DeleteSelection();
    // Fills the copy buffer with the selected elements: a 32-bit count, then their records.
    void CopySelection();
    const QByteArray& GetCopyBuffer() const { return fCopyBuffer; }

    // --- Brackets ---
    // aModify: closing the outer bracket marks the label modified.
    void BeginUpdate(bool aModify = true);
    void EndUpdate();
    // aPaste: elements read are selected. EndRead's aLoaded: a load leaves the label unmodified,
    // anything else marks it modified.
    void BeginRead(bool aPaste);
    void EndRead(bool aLoaded);
    bool IsUpdating() const { return fUpdateCount > 0 || fReadCount > 0; }
    // The edits between the outermost BeginUndoStep and its EndUndoStep are one step of the
    // history (a drag from press to release, a run of arrow-key moves). An update bracket
    // that modifies the label is a step of its own unless it lies inside one.
    // A paste is a step; a load is none and empties the history. Changes made outside any
    // bracket become a step of their own when the next step begins or at the next Undo.
    void BeginUndoStep();
    void EndUndoStep();
    void Clear(std::initializer_list<TZORClear> what, bool aNotify);

    // --- Undo ---
    // Puts the label back as it was before the last step (after it, for Redo): elements and
    // their IDs, symbols, layers, the active layer, settings and the selection; the views are
    // told once. False, changing nothing, when there is nothing to undo or redo or a bracket or
    // step is open. An edit after an undo drops the steps undone.
    bool Undo();
    bool Redo();
    bool CanUndo() const { return fUndo.CanUndo(); }
    bool CanRedo() const { return fUndo.CanRedo(); }
    // Starts the history afresh from the label as it is.
    void ClearUndo();
    // The history, for its limits.
    TZORUndo& UndoHistory() { return fUndo; }
    const TZORUndo& UndoHistory() const { return fUndo; }

    // --- Events for the host ---
    // Each element that joins or leaves the selection.
    using TZORSelectItem = std::function<void(TZORBaseLabel& sender, TZORBaseItem* item)>;
    TZORSelectItem OnSelectItem;
    TZORSelectItem OnUnSelectItem;
    // A message for the host's status line: the selection's box when a move starts
    // (FireInfoEvent), an empty text when it ends, the reason a symbol could not be placed.
    using TZORInfoMsgEvent = std::function<void(TZORBaseLabel& sender, const QString& message)>;
    TZORInfoMsgEvent OnInfoMsg;
    // The font names to offer, asked by a dialog or view (the sender) instead of taking the
    // screen's fonts; see GetFontList.
    using TZORGetFontListEvent = std::function<void(QObject* sender, QStringList& fonts)>;
    TZORGetFontListEvent OnGetFontListEvent;
    // Whether undo and redo are available, told whenever either changes.
    using TZORUndoRedoEvent = std::function<void(TZORBaseLabel& sender, bool canUndo, bool canRedo)>;
    TZORUndoRedoEvent OnUndoRedoEvent;
    // A symbol library file about to be read from the library folder; clearing read skips it.
    using TZORReadSymEvent = std::function<void(TZORBaseLabel& sender, const QString& fileName, bool& read)>;
    TZORReadSymEvent OnReadSymEvent;
    // The label's orientation changed.
    std::function<void(TZORBaseLabel& sender)> OnLabelRotate;

    // Tells OnInfoMsg of the selection's box (aMoving: a move of the selection has started) or
    // sends it an empty text (the move has ended).
    void FireInfoEvent(bool aMoving);
    // Has OnGetFontListEvent fill fonts for sender; false, leaving fonts alone, without one.
    bool GetFontList(QObject* sender, QStringList& fonts) const;
    // Asks OnReadSymEvent whether the library file may be read; true without a handler.
    bool ReadSymFile(const QString& fileName);

    // --- Observers ---
    void Attach(IZRObserver* observer);
    void Detach(IZRObserver* observer);
    void Notify(TZRChange change, const TZRChangeValue& value = {});
    // Has the views show the label anew, after a change they were not told of (a dialog that
    // changed layers or styles in place).
    void Refresh();
    // The dimensions take their texts (unless their own) and layouts anew from their styles.
    void CalcDimValues();

    // --- State ---
    bool GetModified() const { return fModified; }
    void SetModified(bool m) { fModified = m; }
    // The states are atomic: a print worker sets and clears Printing while views read it.
    void AddState(TZORLabelState s) { fStates.fetch_or(StateBit(s)); }
    void RemoveState(TZORLabelState s) { fStates.fetch_and(~StateBit(s)); }
    bool HasState(TZORLabelState s) const { return (fStates.load() & StateBit(s)) != 0; }
    int32_t GetFileVersion() const { return fFileVersion; }

    // --- Settings ---
    TZORMeasure& Measure() { return fMeasure; }
    const TZORMeasure& Measure() const { return fMeasure; }
    TZORPrintInfo& PrintInfo() { return fPrintInfo; }
    const TZORPrintInfo& PrintInfo() const { return fPrintInfo; }
    TZORSettings& Settings() { return fSettings; }
    // The map settings and the tile plan of the map being composed; not part of the label file.
    TZORMapping& Mapping() { return fMapping; }
    const TZORMapping& Mapping() const { return fMapping; }
    const TZORSettings& Settings() const { return fSettings; }
    TAlphaColor GetBackSurf() const { return fBackSurf; }
    void SetBackSurf(TAlphaColor c);
    uint32_t GetOptions() const { return fOptions; }
    void SetOptions(uint32_t o) { fOptions = o; }
    TZORUnits GetUnits() const { return fUnits; }
    void SetUnits(TZORUnits u);
    uint8_t GetEditorMode() const { return fEditorMode; }
    void SetEditorMode(uint8_t m) { fEditorMode = m; }
    bool GetEditable() const { return fEditable; }
    void SetEditable(bool e) { fEditable = e; }
    bool GetLayerZOrder() const { return fLayerZOrder; }
    void SetLayerZOrder(bool z) { fLayerZOrder = z; }
    uint8_t GetOrientation() const { return fOrientation; }
    // Fires OnLabelRotate when the orientation changes.
    void SetOrientation(uint8_t o);
    const QString& GetLanguageFileName() const { return fLanguageFileName; }
    // Names the language file of the text catalogue and loads it; a file that cannot be read
    // leaves the built-in texts.
    void SetLngFileName(const QString& fileName);
    const QString& GetImageFolder() const { return fImageFolder; }
    void SetImageFolder(const QString& f) { fImageFolder = f; }
    const QString& GetOpenImgFolder() const { return fOpenImgFolder; }
    void SetOpenImgFolder(const QString& f) { fOpenImgFolder = f; }
    const QString& GetLibraryFolder() const { return fLibraryFolder; }
    void SetLibraryFolder(const QString& f) { fLibraryFolder = f; }

    // --- Data ---
    // The data sets, counters, value lists and questions, and the record cursor of a run.
    TZORData& Data() { return fData; }
    const TZORData& Data() const { return fData; }
    // The value of field name of the current data record, formatted by format, for an element
    // bound with fillType; empty when the label has no such data.
    virtual QString DataValue(const QString& name, const QString& format, uint8_t fillType) const;
    // The encoded picture in field name of the current data record, for an image bound to it;
    // empty when the label has no such data. A text field names an image file inside the
    // image folder.
    virtual QByteArray DataGraphic(const QString& name) const;
    // Counters (1-based); CounterName is true when a counter other than except has the name.
    int32_t GetCounterCount() const { return fData.GetCounterCount(); }
    TZORCounter* GetCounter(int32_t i) { return fData.GetCounter(i); }
    bool CounterName(const QString& name, const TZORCounter* except) const
    {
        return fData.CounterName(name, except);
    }
    bool RemoveCounter(const TZORCounter* counter) { return fData.RemoveCounter(counter); }

    // --- Print runs ---
    // Who answers the list choices and questions before printing; not owned. Without one, lists
    // and questions keep their values.
    void SetPrompter(IZORPrompter* prompter) { fPrompter = prompter; }
    IZORPrompter* GetPrompter() const { return fPrompter; }
    // Prepares a run: checks that every bound element names something that exists, counts the
    // labels and sheets, puts the cursor on the first label, then asks the list choices and the
    // questions. Raises EZORError for a binding to nothing or for data that cannot be read; the
    // run then stays as it was.
    virtual void CheckPrintData();
    // The prompts of CheckPrintData; a cancelled one keeps its old value.
    virtual void GetListValues();
    virtual void GetAskValues();
    TZORPrintRun& PrintRun() { return fPrintRun; }
    const TZORPrintRun& PrintRun() const { return fPrintRun; }
    // On to the next label's data (the caller counts the label).
    void NextData();
    // Takes in the data of every label position of a sheet, for drawing the sheet without
    // moving the cursor; SelectDataPos(row, column) then makes a position's data current and
    // (0, 0) the cursor's again.
    void FillDataPage(int64_t sheet);
    void SelectDataPos(int32_t row, int32_t column);
    // Goes to a sheet of the run (kept within 1 to the sheet count): aSetCounters moves the
    // sheet and label counters and the cursor to its first label; aFillData fills its page.
    void GoToPage(int64_t page, bool aSetCounters, bool aFillData);

    // --- Persistence ---
    // Binary: header (the file version), then the label data (settings, measure, print
    // information, layers, dimension styles).
    void WriteBaseData(TBinaryWriter& w) const;
    void ReadBaseData(TBinaryReader& r);
    void WriteData(TBinaryWriter& w) const;
    void ReadData(TBinaryReader& r);
    // The whole label stream: header, data, symbols, elements.
    void WriteLabel(TBinaryWriter& w) const;
    void ReadLabel(TBinaryReader& r);
    // One element record (type code, then data) read into the label; null for a type code this
    // label cannot build, of which only the code has been consumed.
    TZORBaseItem* ReadItem(TBinaryReader& r, int32_t version, TZORReadType readType);
    // JSON: the label's settings with "Symbols" and "Items".
    TJsonObject GetJson() const;
    // Reads the settings part of a label document.
    void ReadJson(const TJsonObject& o);
    // Reads a whole label document: settings, symbols and the elements of "Items".
    void ReadJsonLabel(const TJsonObject& o);
    // One element object read into the label; null when its "Type" is not a kind this label builds.
    TZORBaseItem* ReadJsonItem(const TJsonObject& o, int32_t version);
    // Fills a new element from its record data (after the type code) or its JSON object, then
    // enters it; a failing read frees it and the label stays as it was.
    TZORBaseItem* AddRead(
        std::unique_ptr<TZORBaseItem> item, int32_t version, TBinaryReader& r, TZORReadType readType);
    TZORBaseItem* AddReadJson(std::unique_ptr<TZORBaseItem> item, int32_t version, const TJsonObject& o);

    // Runs a read; if it fails, the label is put back as it was before and the error goes on.
    void ReadTransaction(const std::function<void()>& read);

private:
    void Flush();
    TZORBaseItem* AddFinished(std::unique_ptr<TZORBaseItem> item);
    void ResetLayers();
    void WriteSettings(TBinaryWriter& w) const;
    static const TZORFields<TZORBaseLabel>& Fields();
    void RemoveItemsFrom(int32_t count);
    TZORUndoState UndoState() const;
    void PutUndoState(const TZORUndoState& state);
    // Makes the changes since the history's current state (made outside any step) a step.
    void RecordLoose();
    bool UndoBusy() const { return IsUpdating() || fUndoStepCount > 0; }
    void FireUndoRedo();
    void InfoMsg(const QString& message);

    std::vector<std::unique_ptr<TZORBaseItem>> fItems;
    std::vector<std::unique_ptr<TZORLayer>> fLayers;
    int32_t fActiveLayer = 1;
    std::vector<std::unique_ptr<TZORDimStyle>> fDimStyles;
    int32_t fActiveDimStyle = 1;
    std::vector<std::unique_ptr<TZORLibSymbol>> fSymbols;
    int32_t fCurrentSymbol = 0;
    std::vector<TZORBaseItem*> fSelection;
    QByteArray fCopyBuffer;

    std::vector<IZRObserver*> fObservers;
    std::map<TZRChange, TZRChangeValue> fPending;
    int32_t fUpdateCount = 0;
    int32_t fReadCount = 0;
    int32_t fUndoStepCount = 0;
    bool fUpdateModifies = false;
    bool fReadPaste = false;
    bool fUpdateStep = false; // the outer update bracket is an undo step
    bool fReadStep = false; // the outer read bracket (a paste) is an undo step
    TZORUndo fUndo;
    std::optional<TZORUndoState> fUndoBefore; // the label as the open step found it
    std::pair<bool, bool> fUndoRedoTold { false, false };

    bool fModified = false;
    static constexpr uint32_t StateBit(TZORLabelState s) { return uint32_t(1) << uint8_t(s); }
    std::atomic<uint32_t> fStates { 0 };
    int32_t fFileVersion;
    int32_t fNextID = 1;

    TZORMeasure fMeasure;
    TZORPrintInfo fPrintInfo;
    TZORSettings fSettings;
    TZORMapping fMapping;
    bool fImageChanged = false;
    TAlphaColor fBackSurf = zor::claWhite;
    uint32_t fOptions = 0;
    TZORUnits fUnits {};
    uint8_t fEditorMode = 0;
    bool fEditable = true;
    bool fLayerZOrder = false;
    uint8_t fOrientation = 0;
    QString fLanguageFileName;
    QString fImageFolder;
    QString fOpenImgFolder;
    QString fLibraryFolder;
    TZORData fData;
    TZORPrintRun fPrintRun;
    IZORPrompter* fPrompter = nullptr;
};

// One undo step for the life of the scope, ended also when the edit raises.
class TZORUndoStep {
public:
    explicit TZORUndoStep(TZORBaseLabel& label)
        : fLabel(label)
    {
        fLabel.BeginUndoStep();
    }
    ~TZORUndoStep() { fLabel.EndUndoStep(); }
    TZORUndoStep(const TZORUndoStep&) = delete;
    TZORUndoStep& operator=(const TZORUndoStep&) = delete;

private:
    TZORBaseLabel& fLabel;
};
