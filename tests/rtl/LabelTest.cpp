#include "ModelFixture.h"
#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.Stream.h"

#include <gtest/gtest.h>

using zor::TBinaryReader;

using namespace zor::test;

namespace {

std::vector<int32_t> LayersInOrder(const TZORBaseLabel& label)
{
    std::vector<int32_t> layers;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
        layers.push_back(label.GetItem(i)->GetLayerIndex());
    return layers;
}

} // namespace

TEST(LabelItems, OneBasedAccessIdsAndZOrder)
{
    TTestLabel label;
    label.AddLayer(QStringLiteral("Top"));
    TTestItem* a = label.Add(0, 0, 2);
    TTestItem* b = label.Add(0, 0, 1);
    TTestItem* c = label.Add(0, 0, 2);
    TTestItem* d = label.Add(0, 0); // takes the active layer

    EXPECT_EQ(label.GetItemsCount(), 4);
    EXPECT_EQ(label.GetItem(1), a);
    EXPECT_EQ(label.GetItem(4), d);
    EXPECT_EQ(label.GetItem(0), nullptr);
    EXPECT_EQ(label.GetItem(5), nullptr);
    EXPECT_EQ(d->GetLayerIndex(), 1);

    std::set<int32_t> ids { a->GetID(), b->GetID(), c->GetID(), d->GetID() };
    EXPECT_EQ(ids.size(), 4u);
    EXPECT_EQ(label.SearchItem(c->GetID()), c);
    EXPECT_EQ(label.SearchItem(9999), nullptr);

    label.SortItemsZLayer();
    EXPECT_EQ(LayersInOrder(label), (std::vector<int32_t> { 1, 1, 2, 2 }));
    // Stable within a layer: b before d, a before c.
    EXPECT_EQ(label.GetItem(1), b);
    EXPECT_EQ(label.GetItem(2), d);
    EXPECT_EQ(label.GetItem(3), a);
    EXPECT_EQ(label.GetItem(4), c);
    EXPECT_EQ(label.IndexOfItem(c), 4);
}

TEST(LabelItems, DuplicateIdGetsAFreshOne)
{
    TTestLabel label;
    TTestItem* a = label.Add(0, 0);
    auto twin = std::make_unique<TTestItem>(&label, false);
    twin->SetID(a->GetID());
    TZORBaseItem* added = label.AddItem(std::move(twin));
    EXPECT_NE(added->GetID(), a->GetID());
}

TEST(LabelItems, IdsStayUniqueNearTheIntegerLimit)
{
    // A file may hold any ID: the next fresh one must not run past the limit, nor repeat.
    for (const int32_t held : { 2147483646, 2147483647 }) {
        SCOPED_TRACE(held);
        TTestLabel label;
        auto read = std::make_unique<TTestItem>(&label, false);
        read->SetID(held);
        TZORBaseItem* first = label.AddItem(std::move(read));
        ASSERT_EQ(first->GetID(), held);
        std::vector<TZORBaseItem*> added { first };
        for (int i = 0; i < 3; ++i)
            added.push_back(label.Add(0, 0));
        std::set<int32_t> ids;
        for (TZORBaseItem* item : added) {
            EXPECT_GT(item->GetID(), 0);
            ids.insert(item->GetID());
            // A link to the ID finds this element and no other.
            EXPECT_EQ(label.SearchItem(item->GetID()), item);
        }
        EXPECT_EQ(ids.size(), 4u);
    }
}

TEST(LabelItems, ADeletedElementIsNoLongerFoundByItsId)
{
    TTestLabel label;
    TTestItem* a = label.Add(0, 0);
    TTestItem* b = label.Add(0, 0);
    const int32_t id = a->GetID();
    label.DeleteItem(a);
    EXPECT_EQ(label.SearchItem(id), nullptr);
    EXPECT_EQ(label.SearchItem(b->GetID()), b);
    // Its ID is not handed out again: a link that named the deleted element stays dangling.
    EXPECT_NE(label.Add(0, 0)->GetID(), id);
}

TEST(LabelItems, InsideAnUpdateBracketTheLayerOrderIsMadeWhenTheBracketCloses)
{
    TTestLabel label;
    label.AddLayer(QStringLiteral("Top"));
    label.BeginUpdate();
    TTestItem* a = label.Add(0, 0, 2);
    label.SortItemsZLayer();
    TTestItem* b = label.Add(0, 0, 1);
    label.SortItemsZLayer();
    TTestItem* c = label.Add(0, 0, 2);
    label.SortItemsZLayer();
    label.EndUpdate();
    // The order of a sort after every element: by layer, stable within a layer.
    EXPECT_EQ(label.GetItem(1), b);
    EXPECT_EQ(label.GetItem(2), a);
    EXPECT_EQ(label.GetItem(3), c);
}

TEST(LabelLayers, DeletingALayerMovesItsElementsToTheDefaultLayer)
{
    TTestLabel label;
    label.AddLayer(QStringLiteral("2"));
    label.AddLayer(QStringLiteral("3"));
    label.SetActiveLayer(3);
    TTestItem* onTwo = label.Add(0, 0, 2);
    TTestItem* onThree = label.Add(0, 0, 3);

    EXPECT_FALSE(label.DeleteLayer(1));
    EXPECT_TRUE(label.DeleteLayer(2));
    EXPECT_EQ(label.GetLayersCount(), 2);
    EXPECT_EQ(onTwo->GetLayerIndex(), 1);
    EXPECT_EQ(onThree->GetLayerIndex(), 2);
    EXPECT_EQ(onThree->GetLayer()->GetName(), QStringLiteral("3"));
    EXPECT_EQ(label.GetActiveLayerIndex(), 2);
}

TEST(LabelDimStyles, TheDefaultStyleStays)
{
    TTestLabel label;
    ASSERT_EQ(label.GetDimStylesCount(), 1);
    EXPECT_EQ(label.GetActiveDimStyle()->GetID(), 1);
    EXPECT_FALSE(label.DeleteActiveDimStyle());
    label.AddDimStyle(
        std::make_unique<TZORDimStyle>(QStringLiteral("B"), zor::claBlack, zor::claBlack, false, false));
    EXPECT_EQ(label.GetActiveDimStyle()->GetID(), 2);
    EXPECT_FALSE(label.SetActiveDimStyle(1)); // already active
    EXPECT_TRUE(label.SetActiveDimStyle(0));
    EXPECT_FALSE(label.SetActiveDimStyle(2)); // past the end
    EXPECT_TRUE(label.SetActiveDimStyle(1));
    EXPECT_TRUE(label.DeleteActiveDimStyle());
    EXPECT_EQ(label.GetDimStylesCount(), 1);
}

TEST(LabelNotices, NestedUpdateBracketsSendOneNoticeAtTheOuterEnd)
{
    TTestLabel label;
    TRecorder rec;
    label.Attach(&rec);
    label.BeginUpdate();
    label.Add(0, 0);
    label.BeginUpdate();
    label.Add(0, 0);
    label.EndUpdate();
    EXPECT_TRUE(rec.changes.empty());
    label.Add(0, 0);
    label.EndUpdate();
    EXPECT_EQ(rec.changes, std::vector<TZRChange> { TZRChange::Redraw });
    EXPECT_TRUE(label.GetModified());

    rec.changes.clear();
    label.EndUpdate(); // unbalanced: ignored
    EXPECT_TRUE(rec.changes.empty());
}

TEST(LabelNotices, AttachTwiceIsOnce)
{
    TTestLabel label;
    TRecorder rec;
    label.Attach(&rec);
    label.Attach(&rec);
    label.SetUnits(TZORUnits::Centimetre);
    EXPECT_EQ(rec.changes, std::vector<TZRChange> { TZRChange::Units });
    label.SetUnits(TZORUnits::Centimetre); // no change, no notice
    EXPECT_EQ(rec.changes.size(), 1u);
}

namespace {

// Detaches itself, and optionally destroys another observer, when first told.
class TDetacher : public IZRObserver {
public:
    TDetacher(TZORBaseLabel& label, std::unique_ptr<TRecorder>* victim)
        : fLabel(label)
        , fVictim(victim)
    {
    }
    void UpdateCtrl(TZRChange, const TZRChangeValue&) override
    {
        ++calls;
        fLabel.Detach(this);
        if (fVictim && *fVictim) {
            fLabel.Detach(fVictim->get());
            fVictim->reset();
        }
    }
    TZRObserverKind TypeDest() const override { return TZRObserverKind::Inspector; }
    int calls = 0;

private:
    TZORBaseLabel& fLabel;
    std::unique_ptr<TRecorder>* fVictim;
};

} // namespace

TEST(LabelNotices, AnObserverMayDetachItselfAndOthersWhileBeingTold)
{
    TTestLabel label;
    TRecorder before;
    auto victim = std::make_unique<TRecorder>();
    TDetacher detacher(label, &victim);
    TRecorder after;
    label.Attach(&before);
    label.Attach(&detacher);
    label.Attach(victim.get());
    label.Attach(&after);

    label.SetUnits(TZORUnits::Foot);
    EXPECT_EQ(detacher.calls, 1);
    EXPECT_EQ(victim, nullptr); // destroyed during the notice and not called afterwards
    EXPECT_EQ(before.changes.size(), 1u);
    EXPECT_EQ(after.changes.size(), 1u);

    label.SetUnits(TZORUnits::Yard);
    EXPECT_EQ(detacher.calls, 1);
    EXPECT_EQ(after.changes.size(), 2u);
}

TEST(LabelSelection, ClearOfTheSelectionKeepsTheElements)
{
    TTestLabel label;
    TTestItem* a = label.Add(0, 0);
    TTestItem* b = label.Add(20000, 10000);
    label.Add(50000, 0);
    label.Select(a);
    label.Select(b, true);
    ASSERT_EQ(label.GetSelectionCount(), 2);
    EXPECT_EQ(label.GetSelection(1), a);
    EXPECT_EQ(a->GetItemState(), TZORItemState::Selected);
    EXPECT_EQ(label.SelectionBounds(), (TZORRect { 0, 0, 30000, 15000 }));

    TRecorder rec;
    label.Attach(&rec);
    label.Clear({ TZORClear::Selection }, true);
    EXPECT_EQ(label.GetItemsCount(), 3);
    EXPECT_EQ(label.GetSelectionCount(), 0);
    EXPECT_EQ(a->GetItemState(), TZORItemState::Normal);
    EXPECT_TRUE(label.SelectionBounds().IsEmpty());
    EXPECT_EQ(rec.changes, (std::vector<TZRChange> { TZRChange::Redraw, TZRChange::Selection }));
}

TEST(LabelSelection, SelectReplacesUnlessAdding)
{
    TTestLabel label;
    TTestItem* a = label.Add(0, 0);
    TTestItem* b = label.Add(0, 0);
    label.Select(a);
    label.Select(b);
    EXPECT_EQ(label.GetSelectionCount(), 1);
    EXPECT_FALSE(label.IsSelected(a));
    label.Select(a, true);
    label.DeleteSelection();
    EXPECT_EQ(label.GetItemsCount(), 0);
    EXPECT_EQ(label.GetSelectionCount(), 0);
}

TEST(LabelClear, SheetCopiesAndEverything)
{
    TTestLabel label;
    label.Add(0, 0);
    auto copy = std::make_unique<TTestItem>(&label, true);
    TZORBaseItem* sheetCopy = label.AddItem(std::move(copy));
    label.Select(sheetCopy);
    label.Clear({ TZORClear::SheetCopies }, true);
    EXPECT_EQ(label.GetItemsCount(), 1);
    EXPECT_EQ(label.GetSelectionCount(), 0);
    label.AddLayer(QStringLiteral("x"));
    label.Clear({ TZORClear::Items, TZORClear::Layers }, true);
    EXPECT_EQ(label.GetItemsCount(), 0);
    EXPECT_EQ(label.GetLayersCount(), 1);
}

TEST(LabelStates, PrintingState)
{
    TTestLabel label;
    EXPECT_FALSE(label.HasState(TZORLabelState::Printing));
    label.AddState(TZORLabelState::Printing);
    EXPECT_TRUE(label.HasState(TZORLabelState::Printing));
    label.RemoveState(TZORLabelState::Printing);
    EXPECT_FALSE(label.HasState(TZORLabelState::Printing));
}

TEST(LabelCopy, TheCopyBufferHoldsACountAndTheRecords)
{
    TTestLabel source;
    TTestItem* a = source.Add(1000, 1000);
    a->fCaption = QStringLiteral("copied");
    source.Add(0, 0);
    source.Select(a);
    source.CopySelection();

    TTestLabel target;
    target.Add(0, 0); // takes ID 1, as a had in its own label
    TRecorder rec;
    target.Attach(&rec);
    TBinaryReader r(source.GetCopyBuffer());
    const int32_t n = r.ReadInt32();
    ASSERT_EQ(n, 1);
    target.BeginRead(true);
    auto* pasted = static_cast<TTestItem*>(target.ReadItem(r, 3100, TZORReadType::Paste));
    target.EndRead(false);
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(r.BytesLeft(), 0);
    EXPECT_EQ(pasted->fCaption, QStringLiteral("copied"));
    EXPECT_NE(pasted->GetID(), target.GetItem(1)->GetID());
    EXPECT_TRUE(target.IsSelected(pasted)); // a paste selects what it adds
    EXPECT_TRUE(target.GetModified());
}

TEST(LabelSelection, TheSelectEventsNameEachElementThatJoinsOrLeaves)
{
    TTestLabel label;
    TTestItem* a = label.Add(0, 0);
    TTestItem* b = label.Add(0, 0);
    std::vector<std::pair<char, TZORBaseItem*>> events;
    label.OnSelectItem = [&](TZORBaseLabel&, TZORBaseItem* item) { events.emplace_back('+', item); };
    label.OnUnSelectItem = [&](TZORBaseLabel&, TZORBaseItem* item) { events.emplace_back('-', item); };
    label.Select(a);
    label.Select(b, true);
    label.Select(a); // replaces: both leave, a joins again
    label.UnSelect(a);
    const std::vector<std::pair<char, TZORBaseItem*>> expected { { '+', a }, { '+', b }, { '-', a },
        { '-', b }, { '+', a }, { '-', a } };
    EXPECT_EQ(events, expected);
}
