#pragma once

#include "Zor.Act.h"
#include "Zor.Base.h"
#include "Zor.Data.h"
#include "Zor.Fields.h"
#include "Zor.Handles.h"
#include "Zor.Item.h"
#include "Zor.Layer.h"
#include "Zor.LibSymbol.h"
#include "Zor.Mapping.h"
#include "Zor.Measure.h"
#include "Zor.Observer.h"
#include "Zor.PrintInfo.h"
#include "Zor.RefLine.h"
#include "Zor.RtlExport.h"
#include "Zor.Settings.h"
#include "Zor.Snap.h"
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
#include <span>
#include <unordered_map>
#include <utility>
#include <vector>

namespace zor {

class TBinaryReader;
class TBinaryWriter;
class TJsonObject;

} // namespace zor
class TZOREditState;
class TZORTextObject;

// What Clear empties.
enum class TZORClear : uint8_t {
    Items = 0, // every element (and so the selection)
    Symbols = 1, // the library symbols
    Selection = 2, // the selection only: the elements stay
    Layers = 3, // back to the one default layer
    DimStyles = 4, // back to the one default style
    RefLines = 5, // the reference lines
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
class QUINDLE_RTL_EXPORT TZORBaseLabel : public QObject {
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
    // Orders the elements by layer, keeping their order within a layer. Inside a
    // BeginUpdate/EndUpdate bracket the order is made once, when the bracket closes.
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
    // Answers the flag and clears it: the drawing layer decodes the picture anew once for it,
    // from whichever thread draws first.
    bool TakeImageChanged() const { return fImageChanged.exchange(false); }
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
    // Makes a symbol current: the one the label holds with the same ID already, else this one,
    // added. One definition per ID.
    TZORLibSymbol* UseSymbol(std::unique_ptr<TZORLibSymbol> symbol);
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
    // Elements copied elsewhere (another label, the system clipboard) for PasteSelection.
    void SetCopyBuffer(const QByteArray& buffer) { fCopyBuffer = buffer; }

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

    // --- Editing: tools, handles, drags and snapping (Zor.Label.Edit.cpp, Zor.Label.Tools.cpp,
    // Zor.Snap.cpp). Points are base units, tol is the pick distance in base units, shift the
    // keys and buttons held (zor::TZORShiftState). A press that starts a drag, a window or an
    // element opens an undo step that its release (or ResetAction) closes; every other completed
    // edit is one update bracket. ---
    int32_t GetAction() const { return zor::TAct::fCurAction; }
    int32_t GetState() const { return zor::TAct::fCurState; }
    // The first selected element, or null.
    TZORBaseItem* Select() const { return GetSelection(1); }
    // Selects the element after (before) the first selected one, round the end; the first
    // (last) one when nothing is selected.
    void SelectNext();
    void SelectPrior();
    // A side of the selection's bounds in the label's unit: kind 1 left, 2 right, 3 top,
    // 4 bottom; -1 with no selection or another kind.
    float SizeSelection(int16_t kind) const;
    // The handles of the selection (zor::SelectionHandles) in the label's unit. The count builds
    // the list that GetSelPoint(1 .. count) reads.
    int32_t GetSelPointCount() const;
    TZORSelPoint GetSelPoint(int32_t i) const;
    // Removes point n of the selected element when its kind may lose it (a run keeps at least
    // two points, a polygon three); true when removed.
    bool DeletePoint(int32_t n);
    void RotateSelectionLeft();
    void RotateSelectionRight();
    // The top-most element that (x, y) hits within tol, selectable on a layer that allows it.
    TZORBaseItem* ItemAt(int64_t x, int64_t y, int32_t tol) const;
    // True when (x, y) lies within tol of what item draws.
    bool PickItem(const TZORBaseItem* item, int64_t x, int64_t y, int32_t tol, bool aSelected) const;

    // A press of the left button with the current tool at (x, y). For the link tools (x, y) is
    // an element's ID and the number of its anchor.
    void PickEditor(int64_t x, int64_t y, int32_t tol, zor::TZORShift shift, bool refLines);
    // A typed length for the current tool (a radius, a side, the distance of the next point).
    void PickEditor(int64_t value, zor::TZORShift shift, bool refLines);
    // A press of the right button: ends a run of points, or cancels the tool.
    void RightButton(int64_t x, int64_t y, int32_t tol, zor::TZORShift shift);
    // A double click with the select tool: a text element selected enters in-place editing.
    void DoDblClick();
    // Cancels the current tool and what it was building; ends a drag.
    void ResetAction();
    // The element edited in place was changed: views repaint it.
    void UpdateEditing(bool aRedraw);
    // The text edited in place, or null when none is.
    TZORTextObject* GetTextObject();
    // True when (x, y) lies on the text element edited in place.
    bool SearchSelectedText(int64_t x, int64_t y, int32_t tol, zor::TZORShift shift) const;

    // Moves what the press or TAct::SetMove readied. During a drag dx, dy are the previous
    // pointer minus the new one, gx, gy the grid point of the new one or -1 for none; gx = gy = 0
    // makes (dx, dy) the new pointer itself. With keyboard, dx and dy (±1) count grid steps of
    // gx, gy against the arrow: the selection moves by one step.
    void MoveEditor(int64_t dx, int64_t dy, int64_t gx, int64_t gy, bool refLines, bool keyboard);
    // The same with the pointer at (x, y) and the result kept on the grid of incX by incY.
    void MoveGridEditor(int64_t x, int64_t y, int64_t incX, int64_t incY, bool refLines);
    // The release at (x, y): ends any drag or selection window.
    void UpEditor(int64_t x, int64_t y);
    // Moves the selection by dx, dy in the label's unit.
    void MoveSelection(float dx, float dy, bool refLines, bool keyboard);
    // Makes the selection narrower, wider, lower or higher by amount (label's unit).
    void MoveSize(float amount, zor::TZORMoveOpt option, bool refLines, bool keyboard);

    // The nearest point of the kind within tol of (x, y) among the elements' points; ref takes
    // it. While editing, the selected elements (which move) are left out.
    bool SearchPoint(int64_t x, int64_t y, int32_t tol, zor::TZORSnap kind, TZORRef& ref, bool editing) const;
    // Runs the object snaps of the set (bits of zor::TZORSnap) in the editor's order (end,
    // middle, centre, tangent, perpendicular, point, crossing, symbol); the first hit wins.
    bool SearchSnap(int64_t x, int64_t y, int32_t tol, uint16_t snaps, TZORRef& ref, bool editing) const;
    // What a new element takes from the active layer: colour, pen width and back colour. A
    // label that builds the renderers gives the fonts too.
    virtual void LayerDefaults(TZORBaseItem& item) const;
    // The anchor of an element within tol of (x, y), for the link tools.
    bool SearchLink(int64_t x, int64_t y, TZORink& link, int32_t tol = 1000) const;

private:
    // The editing units' own steps.
    void SelectPress(int64_t x, int64_t y, int32_t tol, zor::TZORShift shift);
    void SelectWindow(const TZORPto& end);
    void BeginDrag(std::optional<TZORPto> anchor);
    TZORPto DraggedHandle() const;
    void EndDrag();
    void ApplyDrag(const TZORPto& target);
    void ResizeFromStart(const TZORRect& box);
    void DragPoint(TZORBaseItem& item, const TZORPto& p);
    void MoveSelectionBase(int64_t dx, int64_t dy);
    void RotateSelection(bool aLeft);
    void FollowLinks();
    void BeginTextEditing(TZORBaseItem* item, bool aNew);
    void EndTextEditing();
    void ToolPress(int64_t x, int64_t y, int32_t tol, zor::TZORShift shift);
    void ToolValue(int64_t value);
    bool ToolRightButton();
    void EndCreation();
    TZORBaseItem* Create(
        int32_t code, std::span<const TZORPto> points, const std::function<void(TZORBaseItem&)>& setup);
    TZORBaseItem* CreateFromTool(std::span<const TZORPto> points);
    // The tools that work on existing elements (Zor.Label.Modify.cpp): trim, reference line,
    // extend, offset, and the radius and diameter dimensions that measure a circle or an arc.
    void ModifyPress(int64_t x, int64_t y, int32_t tol);
    void RadialPress(int64_t x, int64_t y, int32_t tol);
    bool PickEdges(int64_t x, int64_t y, int32_t tol);
    bool TrimOrExtend(int64_t x, int64_t y, int32_t tol);
    void OffsetPress(int64_t x, int64_t y, int32_t tol);
    // A copy of the element, entered after it; its points as given.
    TZORBaseItem* CopyOf(const TZORBaseItem& item, std::span<const TZORPto> points);
    std::unique_ptr<TZOREditState> fEdit; // the tools and drags in progress

public:
    // --- Reference lines (Zor.Label.Modify.cpp), 1-based. They are saved with the label and
    // undone with it. ---
    int32_t GetRefLinesCount() const { return int32_t(fRefLines.size()); }
    // Null out of range.
    const TZORRefLine* GetRefLine(int32_t i) const;
    // The reference line through p1 and p2 (base units), running from edge to edge of the paper
    // at the drawing scale, as one undo step; false, adding nothing, for two equal points or a
    // line that misses the paper.
    bool AddRefLine(const TZORPto& p1, const TZORPto& p2);
    // Removes reference line i (one undo step); false out of range.
    bool DeleteRefLine(int32_t i);
    // The reference line within tol of (x, y), 1-based; 0 for none.
    int32_t RefLineAt(int64_t x, int64_t y, int32_t tol) const;

    // --- Property rows (Zor.Label.Props.cpp) ---
    // One edit of an inspector slot, as one undo step: prop is the slot kind, kind and type the
    // row's, pos the slot's position (TZORInsRow in Zor.Props.h), value the value object. Every
    // selected element that has the field takes the value. The reply holds the value accepted
    // (the first selected element's) under the key the slot sends, and "Link": the other rows of
    // that element whose values the edit changed ("Kind", "Type", "Pos", "Prop" and the value
    // under its key). An empty reply when nothing is selected, the label is not editable, or
    // the slot names nothing.
    zor::TJsonObject UpdateProp(
        uint8_t prop, int32_t kind, int32_t type, int32_t pos, const zor::TJsonObject& value);
    // Asks the views to open the editor of a property slot (change EditProperty).
    void EditProperty(uint8_t prop, int32_t pos);
    // Asks the inspector to show the rows of the first selected element's points (PointRows).
    void ShowPointRows();

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
    // Clearing it marks the label as saved: undo and redo back to this state clear it again.
    void SetModified(bool m);
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
    zor::TAlphaColor GetBackSurf() const { return fBackSurf; }
    void SetBackSurf(zor::TAlphaColor c);
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
    // A change of the orientation marks the label modified, repaints its views and fires
    // OnLabelRotate.
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
    // The same for a record of the run instead of the cursor's.
    QString DataValue(
        const QString& name, const QString& format, uint8_t fillType, const TZORRecord& record) const;
    QByteArray DataGraphic(const QString& name, const TZORRecord& record) const;
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
    // The records of every label position of a sheet, row by row (an empty record where no
    // label of the run falls), read by reader: the cursor does not move, so a sheet is drawn
    // in any order and from several threads, each with its own reader.
    std::vector<TZORRecord> SheetRecords(int64_t sheet, TZORData::TPageReader& reader) const;
    // Goes to a sheet of the run (kept within 1 to the sheet count): aSetCounters moves the
    // sheet and label counters and the cursor to its first label.
    void GoToPage(int64_t page, bool aSetCounters);

    // --- Persistence ---
    // Binary: header (the file version), then the label data (settings, measure, print
    // information, layers, dimension styles).
    void WriteBaseData(zor::TBinaryWriter& w) const;
    void ReadBaseData(zor::TBinaryReader& r);
    void WriteData(zor::TBinaryWriter& w) const;
    void ReadData(zor::TBinaryReader& r);
    // The whole label stream: header, data, symbols, elements.
    void WriteLabel(zor::TBinaryWriter& w) const;
    void ReadLabel(zor::TBinaryReader& r);
    // One element record (type code, then data) read into the label; null for a type code this
    // label cannot build, of which only the code has been consumed.
    TZORBaseItem* ReadItem(zor::TBinaryReader& r, int32_t version, TZORReadType readType);
    // JSON: the label's settings with "Symbols" and "Items".
    zor::TJsonObject GetJson() const;
    // Reads the settings part of a label document.
    void ReadJson(const zor::TJsonObject& o);
    // Reads a whole label document: settings, symbols and the elements of "Items".
    void ReadJsonLabel(const zor::TJsonObject& o);
    // One element object read into the label; null when its "Type" is not a kind this label builds.
    TZORBaseItem* ReadJsonItem(const zor::TJsonObject& o, int32_t version);
    // Fills a new element from its record data (after the type code) or its JSON object, then
    // enters it; a failing read frees it and the label stays as it was.
    TZORBaseItem* AddRead(
        std::unique_ptr<TZORBaseItem> item, int32_t version, zor::TBinaryReader& r, TZORReadType readType);
    TZORBaseItem* AddReadJson(std::unique_ptr<TZORBaseItem> item, int32_t version, const zor::TJsonObject& o);

    // Runs a read; if it fails, the label is put back as it was before and the error goes on.
    void ReadTransaction(const std::function<void()>& read);

private:
    void Flush();
    TZORBaseItem* AddFinished(std::unique_ptr<TZORBaseItem> item);
    void ResetLayers();
    void WriteSettings(zor::TBinaryWriter& w) const;
    void WriteRefLines(zor::TBinaryWriter& w) const;
    // None from a file older than the reference lines.
    std::vector<TZORRefLine> ReadRefLines(zor::TBinaryReader& r) const;
    void PutRefLines(zor::TJsonObject& o) const;
    // None when the object has no "RefLines".
    void GetRefLines(const zor::TJsonObject& o);
    static const TZORFields<TZORBaseLabel>& Fields();
    void RemoveItemsFrom(int32_t count);
    TZORUndoState UndoState() const;
    void PutUndoState(const TZORUndoState& state);
    // Makes the changes since the history's current state (made outside any step) a step.
    void RecordLoose();
    bool UndoBusy() const { return IsUpdating() || fUndoStepCount > 0; }
    void FireUndoRedo();
    void InfoMsg(const QString& message);
    int32_t FreeID() const;
    // Takes an element leaving the label out of the ID index.
    void Forget(const TZORBaseItem* item);

    std::vector<std::unique_ptr<TZORBaseItem>> fItems;
    std::unordered_map<int32_t, TZORBaseItem*> fByID; // the elements by ID
    std::vector<std::unique_ptr<TZORLayer>> fLayers;
    int32_t fActiveLayer = 1;
    std::vector<std::unique_ptr<TZORDimStyle>> fDimStyles;
    int32_t fActiveDimStyle = 1;
    std::vector<std::unique_ptr<TZORLibSymbol>> fSymbols;
    int32_t fCurrentSymbol = 0;
    std::vector<TZORBaseItem*> fSelection;
    QByteArray fCopyBuffer;
    std::vector<TZORRefLine> fRefLines;

    std::vector<IZRObserver*> fObservers;
    std::map<TZRChange, TZRChangeValue> fPending;
    int32_t fUpdateCount = 0;
    int32_t fReadCount = 0;
    int32_t fUndoStepCount = 0;
    bool fUpdateModifies = false;
    bool fSortDue = false; // SortItemsZLayer was asked for inside the update bracket
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
    // The next fresh ID; past the int32 range, a free one is searched for.
    int64_t fNextID = 1;

    TZORMeasure fMeasure;
    TZORPrintInfo fPrintInfo;
    TZORSettings fSettings;
    TZORMapping fMapping;
    mutable std::atomic<bool> fImageChanged { false };
    zor::TAlphaColor fBackSurf = zor::claWhite;
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
class QUINDLE_RTL_EXPORT TZORUndoStep {
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
