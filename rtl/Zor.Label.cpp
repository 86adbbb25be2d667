#include "Zor.Label.h"

#include "Zor.Edit.h"
#include "Zor.Error.h"
#include "Zor.Line.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.Version.h"

#include <algorithm>
#include <limits>
#include <utility>

using zor::TAct;
using zor::TAlphaColor;
using zor::TBinaryWriter;

TZORBaseLabel::TZORBaseLabel(QObject* parent)
    : QObject(parent)
    , fEdit(std::make_unique<TZOREditState>())
    , fFileVersion(ZORFileVersion)
{
    ResetLayers();
    ResetDimStyles();
    fUndo.Reset(UndoState());
}

TZORBaseLabel::~TZORBaseLabel() = default;

// --- Elements ---

TZORBaseItem* TZORBaseLabel::GetItem(int32_t i) const
{
    if (i < 1 || i > GetItemsCount())
        return nullptr;
    return fItems[size_t(i - 1)].get();
}

int32_t TZORBaseLabel::IndexOfItem(const TZORBaseItem* item) const
{
    const auto it
        = std::find_if(fItems.begin(), fItems.end(), [item](const auto& p) { return p.get() == item; });
    return it == fItems.end() ? 0 : int32_t(it - fItems.begin()) + 1;
}

TZORBaseItem* TZORBaseLabel::SearchItem(int32_t id) const
{
    const auto it = fByID.find(id);
    return it == fByID.end() || it->second->GetID() != id ? nullptr : it->second;
}

TZORBaseItem* TZORBaseLabel::AddItem(std::unique_ptr<TZORBaseItem> item)
{
    TZORBaseItem* added = item.get();
    // A sheet copy or a pasted element whose ID is taken gets a fresh one: IDs name elements
    // uniquely (links refer to them). While a file is read, the fresh ID waits for its end: an
    // element read later may state the ID that would be free now.
    const int32_t id = added->GetID();
    if (id > 0 && !fByID.contains(id)) {
        fNextID = std::max(fNextID, int64_t(id) + 1);
        fByID[id] = added;
    } else if (fReadCount == 0) {
        added->SetID(FreeID());
        fNextID = std::max(fNextID, int64_t(added->GetID()) + 1);
        fByID[added->GetID()] = added;
    }
    if (added->GetLayerIndex() < 1 || added->GetLayerIndex() > GetLayersCount())
        added->SetLayerIndex(fActiveLayer);
    fItems.push_back(std::move(item));
    if (fReadCount > 0 && fReadPaste)
        Select(added, true);
    fModified = true;
    Notify(TZRChange::Redraw);
    return added;
}

int32_t TZORBaseLabel::FreeID() const
{
    if (fNextID <= std::numeric_limits<int32_t>::max())
        return int32_t(fNextID);
    // A file took the highest ID: the lowest one no element holds (there are fewer elements
    // than IDs, so one is free).
    int32_t free = 1;
    while (fByID.contains(free))
        ++free;
    return free;
}

void TZORBaseLabel::Forget(const TZORBaseItem* item)
{
    const auto it = fByID.find(item->GetID());
    if (it != fByID.end() && it->second == item)
        fByID.erase(it);
}

void TZORBaseLabel::DeleteItem(TZORBaseItem* item)
{
    const int32_t i = IndexOfItem(item);
    if (i == 0)
        return;
    UnSelect(item);
    Forget(item);
    fItems.erase(fItems.begin() + (i - 1));
    fModified = true;
    Notify(TZRChange::Redraw);
}

void TZORBaseLabel::RemoveItemsFrom(int32_t count)
{
    while (GetItemsCount() > count) {
        UnSelect(fItems.back().get());
        Forget(fItems.back().get());
        fItems.pop_back();
    }
}

void TZORBaseLabel::SortItemsZLayer()
{
    // Stable sorts one after another come to one stable sort at the end: an import that adds
    // elements one by one sorts once.
    fSortDue = fUpdateCount > 0;
    if (fSortDue)
        return;
    std::stable_sort(fItems.begin(), fItems.end(),
        [](const auto& a, const auto& b) { return a->GetLayerIndex() < b->GetLayerIndex(); });
}

std::unique_ptr<TZORBaseItem> TZORBaseLabel::NewItem(int32_t, bool)
{
    return nullptr;
}

// --- Layers ---

void TZORBaseLabel::ResetLayers()
{
    fLayers.clear();
    fLayers.push_back(std::make_unique<TZORLayer>(QStringLiteral("0")));
    fActiveLayer = 1;
}

TZORLayer* TZORBaseLabel::GetLayer(int32_t i) const
{
    if (i < 1 || i > GetLayersCount())
        return nullptr;
    return fLayers[size_t(i - 1)].get();
}

int32_t TZORBaseLabel::IndexOfLayer(const TZORLayer* layer) const
{
    const auto it
        = std::find_if(fLayers.begin(), fLayers.end(), [layer](const auto& p) { return p.get() == layer; });
    return it == fLayers.end() ? 0 : int32_t(it - fLayers.begin()) + 1;
}

TZORLayer* TZORBaseLabel::AddLayer(const QString& name)
{
    fLayers.push_back(std::make_unique<TZORLayer>(name));
    fModified = true;
    Notify(TZRChange::Redraw);
    return fLayers.back().get();
}

bool TZORBaseLabel::DeleteLayer(int32_t i)
{
    if (i <= 1 || i > GetLayersCount())
        return false;
    for (const auto& item : fItems) {
        const int32_t l = item->GetLayerIndex();
        item->SetLayerIndex(l == i ? 1 : l > i ? l - 1 : l);
    }
    fLayers.erase(fLayers.begin() + (i - 1));
    if (fActiveLayer == i)
        fActiveLayer = 1;
    else if (fActiveLayer > i)
        --fActiveLayer;
    fModified = true;
    Notify(TZRChange::Redraw);
    return true;
}

bool TZORBaseLabel::ExchangeLayers(int32_t a, int32_t b)
{
    if (a <= 1 || b <= 1 || a == b || a > GetLayersCount() || b > GetLayersCount())
        return false;
    std::swap(fLayers[size_t(a - 1)], fLayers[size_t(b - 1)]);
    const auto swapped = [a, b](int32_t l) { return l == a ? b : l == b ? a : l; };
    for (const auto& item : fItems)
        item->SetLayerIndex(swapped(item->GetLayerIndex()));
    fActiveLayer = swapped(fActiveLayer);
    if (fLayerZOrder)
        SortItemsZLayer();
    fModified = true;
    Notify(TZRChange::Redraw);
    return true;
}

void TZORBaseLabel::ApplyLayerValues(int32_t i)
{
    const TZORLayer* layer = GetLayer(i);
    if (!layer)
        return;
    for (const auto& item : fItems) {
        if (item->GetLayerIndex() != i)
            continue;
        item->SetColor(layer->GetColor());
        if (auto* shape = dynamic_cast<TZOR2DItem*>(item.get()))
            shape->SetBackColor(layer->GetFillColor());
        item->SetPenWidth(layer->GetPenWidth());
        item->SetLineType(layer->GetLineType());
    }
    fModified = true;
    Notify(TZRChange::Redraw);
}

bool TZORBaseLabel::SetActiveLayer(int32_t i)
{
    if (i < 1 || i > GetLayersCount())
        return false;
    fActiveLayer = i;
    return true;
}

int32_t TZORBaseLabel::GetBackLayer() const
{
    const auto has = [](const auto& layer) { return (layer->GetOptions() & (loBackImage | loBackMap)) != 0; };
    const auto it = std::find_if(fLayers.begin(), fLayers.end(), has);
    return it == fLayers.end() ? 0 : int32_t(it - fLayers.begin()) + 1;
}

// --- Dimension styles ---

void TZORBaseLabel::ResetDimStyles()
{
    fDimStyles.clear();
    auto standard = std::make_unique<TZORDimStyle>(
        QStringLiteral("Standard"), zor::claBlack, zor::claBlack, false, false);
    standard->SetID(1);
    fDimStyles.push_back(std::move(standard));
    fActiveDimStyle = 1;
}

TZORDimStyle* TZORBaseLabel::GetDimStyle(int32_t i) const
{
    if (i < 1 || i > GetDimStylesCount())
        return nullptr;
    return fDimStyles[size_t(i - 1)].get();
}

bool TZORBaseLabel::SetActiveDimStyle(int32_t pos)
{
    if (pos < 0 || pos >= GetDimStylesCount() || pos + 1 == fActiveDimStyle)
        return false;
    fActiveDimStyle = pos + 1;
    return true;
}

TZORDimStyle* TZORBaseLabel::AddDimStyle(std::unique_ptr<TZORDimStyle> style)
{
    int16_t id = 0;
    for (const auto& s : fDimStyles)
        id = std::max(id, s->GetID());
    style->SetID(int16_t(id + 1));
    fDimStyles.push_back(std::move(style));
    fActiveDimStyle = GetDimStylesCount();
    fModified = true;
    return fDimStyles.back().get();
}

bool TZORBaseLabel::DeleteActiveDimStyle()
{
    // The first style is the default every dimension falls back to.
    if (fActiveDimStyle <= 1)
        return false;
    fDimStyles.erase(fDimStyles.begin() + (fActiveDimStyle - 1));
    fActiveDimStyle = std::min(fActiveDimStyle, GetDimStylesCount());
    fModified = true;
    return true;
}

// --- Symbols ---

TZORLibSymbol* TZORBaseLabel::GetSymbol(int32_t i) const
{
    if (i < 1 || i > GetSymbolsCount())
        return nullptr;
    return fSymbols[size_t(i - 1)].get();
}

TZORLibSymbol* TZORBaseLabel::AddSymbol(std::unique_ptr<TZORLibSymbol> symbol, bool aCurrent)
{
    fSymbols.push_back(std::move(symbol));
    if (aCurrent)
        fCurrentSymbol = GetSymbolsCount();
    fModified = true;
    return fSymbols.back().get();
}

TZORLibSymbol* TZORBaseLabel::UseSymbol(std::unique_ptr<TZORLibSymbol> symbol)
{
    if (!symbol)
        return nullptr;
    // One definition per ID: a symbol the label holds already is the one to show.
    for (int32_t held = 1; held <= GetSymbolsCount(); ++held)
        if (GetSymbol(held)->GetID() == symbol->GetID()) {
            fCurrentSymbol = held;
            return GetSymbol(held);
        }
    return AddSymbol(std::move(symbol), true);
}

// --- Selection ---

namespace {

// A redraw and a selection change after the selection alone changed. Told at once, the redraw
// says so with its flag, so that a view keeping a picture of the elements redraws only those
// whose state changed; inside an update bracket it is an ordinary redraw, since other changes
// may come with it.
void NotifySelection(TZORBaseLabel& label)
{
    TZRChangeValue value;
    value.flag = !label.IsUpdating();
    label.Notify(TZRChange::Redraw, value);
    label.Notify(TZRChange::Selection);
}

} // namespace

void TZORBaseLabel::Select(TZORBaseItem* item, bool aAdd)
{
    if (!item || IndexOfItem(item) == 0)
        return;
    if (!aAdd)
        UnSelectAll();
    if (IsSelected(item))
        return;
    fSelection.push_back(item);
    // A handle's point number belongs to the selection it was taken from.
    TAct::fPos1 = 0;
    item->SetItemState(TZORItemState::Selected);
    if (OnSelectItem)
        OnSelectItem(*this, item);
    NotifySelection(*this);
}

void TZORBaseLabel::UnSelect(TZORBaseItem* item)
{
    const auto it = std::find(fSelection.begin(), fSelection.end(), item);
    if (it == fSelection.end())
        return;
    fSelection.erase(it);
    TAct::fPos1 = 0;
    item->SetItemState(TZORItemState::Normal);
    if (OnUnSelectItem)
        OnUnSelectItem(*this, item);
    NotifySelection(*this);
}

void TZORBaseLabel::UnSelectAll()
{
    if (fSelection.empty())
        return;
    const std::vector<TZORBaseItem*> was = std::exchange(fSelection, {});
    TAct::fPos1 = 0;
    for (TZORBaseItem* item : was) {
        item->SetItemState(TZORItemState::Normal);
        if (OnUnSelectItem)
            OnUnSelectItem(*this, item);
    }
    NotifySelection(*this);
}

TZORBaseItem* TZORBaseLabel::GetSelection(int32_t i) const
{
    if (i < 1 || i > GetSelectionCount())
        return nullptr;
    return fSelection[size_t(i - 1)];
}

bool TZORBaseLabel::IsSelected(const TZORBaseItem* item) const
{
    return std::find(fSelection.begin(), fSelection.end(), item) != fSelection.end();
}

TZORRect TZORBaseLabel::SelectionBounds() const
{
    if (fSelection.empty())
        return {};
    TZORRect r = fSelection.front()->GetBounds().Normalized();
    for (const TZORBaseItem* item : fSelection)
        r = r.United(item->GetBounds().Normalized());
    return r;
}

void TZORBaseLabel::DeleteSelection()
{
    if (fSelection.empty())
        return;
    BeginUpdate();
    const std::vector<TZORBaseItem*> doomed = fSelection;
    for (TZORBaseItem* item : doomed)
        DeleteItem(item);
    EndUpdate();
}

void TZORBaseLabel::CopySelection()
{
    fCopyBuffer.clear();
    TBinaryWriter w(&fCopyBuffer);
    w.WriteInt32(GetSelectionCount());
    for (const TZORBaseItem* item : fSelection)
        item->Write(w);
}

// --- Brackets ---

void TZORBaseLabel::BeginUpdate(bool aModify)
{
    if (fUpdateCount++ == 0) {
        fUpdateModifies = aModify;
        // Inside a read the read decides: a paste is a step, a load empties the history.
        fUpdateStep = aModify && fReadCount == 0;
        if (fUpdateStep)
            BeginUndoStep();
    } else {
        fUpdateModifies = fUpdateModifies || aModify;
    }
}

void TZORBaseLabel::EndUpdate()
{
    if (fUpdateCount == 0)
        return;
    if (--fUpdateCount > 0)
        return;
    if (fSortDue)
        SortItemsZLayer();
    if (fUpdateModifies) {
        fModified = true;
        fPending.try_emplace(TZRChange::Redraw);
    }
    Flush();
    if (std::exchange(fUpdateStep, false))
        EndUndoStep();
}

void TZORBaseLabel::BeginRead(bool aPaste)
{
    if (fReadCount++ > 0)
        return;
    fReadPaste = aPaste;
    fReadStep = aPaste;
    if (fReadStep)
        BeginUndoStep();
}

void TZORBaseLabel::EndRead(bool aLoaded)
{
    if (fReadCount == 0)
        return;
    if (--fReadCount > 0)
        return;
    // The elements read without an ID of their own (or with one an element before them took)
    // get fresh IDs now that the whole read has stated its IDs: they are those the index lacks.
    for (const auto& item : fItems) {
        const auto it = fByID.find(item->GetID());
        if (it != fByID.end() && it->second == item.get())
            continue;
        item->SetID(FreeID());
        fNextID = std::max(fNextID, int64_t(item->GetID()) + 1);
        fByID[item->GetID()] = item.get();
    }
    fReadPaste = false;
    fModified = !aLoaded;
    if (aLoaded) {
        fPending[TZRChange::Settings]
            = { fMeasure.GetSize(TZORSizeKind::PaperWidth), fMeasure.GetSize(TZORSizeKind::PaperHeight) };
        fPending.try_emplace(TZRChange::Units);
    }
    fPending.try_emplace(TZRChange::Redraw);
    Flush();
    if (aLoaded)
        ClearUndo();
    if (std::exchange(fReadStep, false))
        EndUndoStep();
}

void TZORBaseLabel::Clear(std::initializer_list<TZORClear> what, bool aNotify)
{
    const auto before = fPending;
    BeginUpdate(false);
    for (TZORClear c : what) {
        switch (c) {
        case TZORClear::Items:
            UnSelectAll();
            RemoveItemsFrom(0);
            break;
        case TZORClear::Symbols:
            fSymbols.clear();
            fCurrentSymbol = 0;
            break;
        case TZORClear::Selection:
            UnSelectAll();
            break;
        case TZORClear::Layers:
            ResetLayers();
            for (const auto& item : fItems)
                item->SetLayerIndex(1);
            break;
        case TZORClear::DimStyles:
            ResetDimStyles();
            break;
        case TZORClear::RefLines:
            fRefLines.clear();
            break;
        case TZORClear::SheetCopies:
            std::erase_if(fItems, [this](const auto& item) {
                if (!item->IsPreview())
                    return false;
                UnSelect(item.get());
                Forget(item.get());
                return true;
            });
            break;
        }
    }
    if (aNotify)
        fPending.try_emplace(TZRChange::Redraw);
    else
        fPending = before;
    EndUpdate();
}

// --- Observers ---

void TZORBaseLabel::Attach(IZRObserver* observer)
{
    if (observer && std::find(fObservers.begin(), fObservers.end(), observer) == fObservers.end())
        fObservers.push_back(observer);
}

void TZORBaseLabel::Detach(IZRObserver* observer)
{
    std::erase(fObservers, observer);
}

void TZORBaseLabel::Notify(TZRChange change, const TZRChangeValue& value)
{
    if (IsUpdating()) {
        fPending[change] = value;
        return;
    }
    // A copy: an observer may detach itself, or another one, while it is told.
    const std::vector<IZRObserver*> observers = fObservers;
    for (IZRObserver* o : observers)
        if (std::find(fObservers.begin(), fObservers.end(), o) != fObservers.end())
            o->UpdateCtrl(change, value);
}

void TZORBaseLabel::Refresh()
{
    Notify(TZRChange::Redraw);
}

void TZORBaseLabel::CalcDimValues()
{
    for (const auto& item : fItems)
        if (auto* dim = dynamic_cast<TZORBaseDim*>(item.get())) {
            dim->AssignText();
            dim->CalcValues(0);
        }
}

void TZORBaseLabel::Flush()
{
    std::map<TZRChange, TZRChangeValue> pending;
    pending.swap(fPending);
    for (const auto& [change, value] : pending)
        Notify(change, value);
}

// --- Settings ---

void TZORBaseLabel::SetBackSurf(TAlphaColor c)
{
    if (c == fBackSurf)
        return;
    fBackSurf = c;
    fModified = true;
    Notify(TZRChange::PaperColor);
}

void TZORBaseLabel::SetUnits(TZORUnits u)
{
    if (u == fUnits)
        return;
    fUnits = u;
    fModified = true;
    Notify(TZRChange::Units);
}

void TZORBaseLabel::SetOrientation(uint8_t o)
{
    if ((o & 3) == fOrientation)
        return;
    fOrientation = o & 3;
    fModified = true;
    Notify(TZRChange::Redraw);
    if (OnLabelRotate)
        OnLabelRotate(*this);
}

void TZORBaseLabel::SetLngFileName(const QString& fileName)
{
    fLanguageFileName = fileName;
    if (fileName.isEmpty())
        TZORMsg::ResetLanguage();
    else
        TZORMsg::LoadLanguageFile(fileName);
}
