// Undo and redo of the label model: a run of mixed edits undone and redone, each step back to
// the saved form byte for byte; the selection by ID; a failed read that leaves no step; the
// history's bounds; and the events the model fires for its host.

#include "ErrorOf.h"
#include "KindStubs.h"
#include "ModelFixture.h"
#include "Zor.Msg.h"
#include "Zor.Stream.h"
#include "Zor.Symbol.h"
#include "kit/TempDir.h"

#include <QFile>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <tuple>
#include <vector>

using zor::TAlphaColor;
using zor::TBinaryReader;
using zor::TBinaryWriter;

namespace {

using namespace zor::test;

constexpr const char* ValveLibrary
    = R"([{"Name":"Valve","Category":"Pipes","ID":"{V1}","Def":[{"Kind":"Line","Points":[[0,0],[5,5]]}]},)"
      R"({"Name":"Pump","Category":"Pipes","ID":"{P1}","Def":[{"Kind":"Circle","Center":[0,0],"Radius":3}]}])";

// The line and figure kinds, and library symbols.
class TUndoLabel : public TKindLabel {
public:
    std::unique_ptr<TZORBaseItem> NewItem(int32_t code, bool aPreview) override
    {
        if (code == zor::Ord(TZORItemType::Symbol))
            return std::make_unique<TStub<TZORBaseSymbol>>(this, aPreview);
        return TKindLabel::NewItem(code, aPreview);
    }
};

std::vector<int32_t> SelectedIDs(const TZORBaseLabel& label)
{
    std::vector<int32_t> ids;
    for (int32_t i = 1; i <= label.GetSelectionCount(); ++i)
        ids.push_back(label.GetSelection(i)->GetID());
    return ids;
}

// An element of the kind with the points, entered as the tools enter one: in an update bracket.
TZORBaseItem* Create(TZORBaseLabel& label, TZORItemType kind, std::initializer_list<TZORPto> points)
{
    label.BeginUpdate(true);
    std::unique_ptr<TZORBaseItem> item = label.NewItem(zor::Ord(kind), false);
    SetPoints(*item, points);
    TZORBaseItem* added = label.AddItem(std::move(item));
    label.EndUpdate();
    return added;
}

// The model's side of a paste: the copy buffer read in a paste bracket, in a read transaction.
void Paste(TZORBaseLabel& label)
{
    const TZORUndoStep step(label);
    label.ReadTransaction([&] {
        label.Clear({ TZORClear::Selection }, false);
        TBinaryReader r(label.GetCopyBuffer());
        label.BeginRead(true);
        const int32_t count = r.ReadInt32();
        for (int32_t i = 0; i < count; ++i)
            if (!label.ReadItem(r, ZORFileVersion, TZORReadType::Paste))
                throw zor::Error(QStringLiteral("UnknownItemType"));
        label.EndRead(false);
    });
}

template <class F> void Bracket(TZORBaseLabel& label, F edit)
{
    label.BeginUpdate(true);
    edit();
    label.EndUpdate();
}

TZORBaseItem* ItemByID(const TZORBaseLabel& label, int32_t id)
{
    TZORBaseItem* item = label.SearchItem(id);
    EXPECT_NE(item, nullptr) << "no element " << id;
    return item;
}

// An edit, and what the user selects before it (not a step of its own: the selection is part
// of the edit's step).
struct TEdit {
    const char* name;
    std::function<void(TUndoLabel&)> run;
    std::function<void(TUndoLabel&)> select = nullptr;
};

// Twenty edits of every sort; elements are reached by ID, as a view would after an undo.
const std::vector<TEdit>& MixedEdits()
{
    static const std::vector<TEdit> edits {
        { "create a rectangle",
            [](TUndoLabel& l) {
                Create(l, TZORItemType::Rectangle, { { 1000, 1000 }, { 11000, 6000 } });
            } },
        { "create a line",
            [](TUndoLabel& l) {
                Create(l, TZORItemType::Line, { { 0, 20000 }, { 30000, 25000 } });
            } },
        { "pen width of the selected rectangle",
            [](TUndoLabel& l) { Bracket(l, [&] { l.GetSelection(1)->SetPenWidth(0.7f); }); },
            [](TUndoLabel& l) { l.Select(ItemByID(l, 1)); } },
        { "move the rectangle by its points",
            [](TUndoLabel& l) {
                Bracket(l, [&] {
                    TZORBaseItem* r = ItemByID(l, 1);
                    r->SetBase(1, 3000, 4000);
                    r->SetBase(2, 13000, 9000);
                    r->Update();
                });
            } },
        { "resize the rectangle",
            [](TUndoLabel& l) { Bracket(l, [&] { ItemByID(l, 1)->SetBase(2, 40000, 30000); }); } },
        { "a drag of three moves",
            [](TUndoLabel& l) {
                l.BeginUndoStep();
                for (int step = 1; step <= 3; ++step)
                    Bracket(l, [&] { ItemByID(l, 2)->SetBase(2, 30000 + step * 1000, 25000); });
                l.EndUndoStep();
            } },
        { "colour and fill",
            [](TUndoLabel& l) {
                Bracket(l, [&] {
                    auto* r = dynamic_cast<TZOR2DItem*>(ItemByID(l, 1));
                    r->SetFilled(true);
                    r->SetBackColor(TAlphaColor { 0x8000FF00 });
                    r->SetColor(TAlphaColor { 0xFF123456 });
                });
            } },
        { "add a layer", [](TUndoLabel& l) { Bracket(l, [&] { l.AddLayer(QStringLiteral("Notes")); }); } },
        { "make it active", [](TUndoLabel& l) { Bracket(l, [&] { l.SetActiveLayer(3); }); } },
        { "create a circle on it",
            [](TUndoLabel& l) {
                Create(l, TZORItemType::Circle, { { 50000, 50000 }, { 60000, 60000 } });
            } },
        { "copy the rectangle and paste it",
            [](TUndoLabel& l) {
                l.CopySelection();
                Paste(l);
            },
            [](TUndoLabel& l) { l.Select(ItemByID(l, 1)); } },
        { "delete the selection (the pasted copy)", [](TUndoLabel& l) { l.DeleteSelection(); } },
        { "paste again", [](TUndoLabel& l) { Paste(l); } },
        { "create a polyline",
            [](TUndoLabel& l) {
                Create(l, TZORItemType::PolyLine,
                    { { 0, 0 }, { 5000, 9000 }, { 12000, 1000 }, { 20000, 7000 } });
            } },
        { "delete the line", [](TUndoLabel& l) { Bracket(l, [&] { l.DeleteItem(ItemByID(l, 2)); }); } },
        { "paper width", [](TUndoLabel& l) { Bracket(l, [&] { l.Measure().SetWidth(75000); }); } },
        { "a symbol by name",
            [](TUndoLabel& l) {
                l.AddSymbol(20.0, 15.5, QStringLiteral("pipes"), QStringLiteral("valve"));
            } },
        { "units, outside any bracket", [](TUndoLabel& l) { l.SetUnits(TZORUnits::Centimetre); } },
        { "delete the new layer", [](TUndoLabel& l) { Bracket(l, [&] { l.DeleteLayer(3); }); } },
        { "delete two selected", [](TUndoLabel& l) { l.DeleteSelection(); },
            [](TUndoLabel& l) {
                l.Select(ItemByID(l, 1));
                l.Select(ItemByID(l, 5), true);
            } },
    };
    return edits;
}

class UndoHistory : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ASSERT_TRUE(WriteFile(Path("pipes.lyp"), ValveLibrary));
        label.SetLibraryFolder(DirPath());
        label.ClearUndo();
    }

    TUndoLabel label;
};

TEST_F(UndoHistory, TwentyMixedEditsUndoAndRedoToTheSavedFormOfEachStep)
{
    // saved[k]: the label after edit k; selected[k]: the selection edit k starts from and
    // ends with.
    std::vector<QByteArray> saved { SaveBinary(label) };
    std::vector<std::pair<std::vector<int32_t>, std::vector<int32_t>>> selected { {} };
    for (const TEdit& edit : MixedEdits()) {
        if (edit.select)
            edit.select(label);
        const std::vector<int32_t> before = SelectedIDs(label);
        edit.run(label);
        saved.push_back(SaveBinary(label));
        selected.emplace_back(before, SelectedIDs(label));
        ASSERT_NE(saved.back(), saved[saved.size() - 2]) << edit.name << " changed nothing";
    }
    ASSERT_EQ(MixedEdits().size(), 20u);

    for (size_t k = MixedEdits().size(); k > 0; --k) {
        ASSERT_TRUE(label.Undo()) << MixedEdits()[k - 1].name;
        EXPECT_EQ(SaveBinary(label), saved[k - 1]) << "undo of " << MixedEdits()[k - 1].name;
        EXPECT_EQ(SelectedIDs(label), selected[k].first) << "undo of " << MixedEdits()[k - 1].name;
    }
    EXPECT_FALSE(label.CanUndo());
    EXPECT_FALSE(label.Undo());
    for (size_t k = 1; k <= MixedEdits().size(); ++k) {
        ASSERT_TRUE(label.Redo()) << MixedEdits()[k - 1].name;
        EXPECT_EQ(SaveBinary(label), saved[k]) << "redo of " << MixedEdits()[k - 1].name;
        EXPECT_EQ(SelectedIDs(label), selected[k].second) << "redo of " << MixedEdits()[k - 1].name;
    }
    EXPECT_FALSE(label.CanRedo());
    EXPECT_FALSE(label.Redo());
}

TEST_F(UndoHistory, EachEditIsOneStep)
{
    int32_t steps = 0;
    for (const TEdit& edit : MixedEdits()) {
        if (edit.select)
            edit.select(label);
        edit.run(label);
        // A change outside any bracket becomes a step when the next one begins or at Undo.
        if (std::string(edit.name).find("outside") == std::string::npos)
            EXPECT_EQ(label.UndoHistory().GetStepsCount(), ++steps) << edit.name;
        else
            ++steps;
    }
}

TEST_F(UndoHistory, UndoPutsBackSelectionLayersAndIDsAndTellsTheViewsOnce)
{
    TZORBaseItem* a = Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 1000, 1000 } });
    TZORBaseItem* b = Create(label, TZORItemType::Circle, { { 0, 0 }, { 2000, 2000 } });
    Bracket(label, [&] { label.AddLayer(QStringLiteral("Third")); });
    Bracket(label, [&] { label.SetActiveLayer(3); });
    label.Select(b);
    label.Select(a, true);
    const int32_t idA = a->GetID(), idB = b->GetID();
    label.DeleteSelection();
    Bracket(label, [&] { label.DeleteLayer(3); });
    ASSERT_EQ(label.GetItemsCount(), 0);

    TRecorder views;
    label.Attach(&views);
    ASSERT_TRUE(label.Undo());
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetLayersCount(), 3);
    EXPECT_EQ(label.GetActiveLayerIndex(), 3);
    ASSERT_EQ(label.GetItemsCount(), 2);
    EXPECT_EQ(label.GetItem(1)->GetID(), idA);
    EXPECT_EQ(label.GetItem(2)->GetID(), idB);
    EXPECT_EQ(SelectedIDs(label), (std::vector<int32_t> { idB, idA }));
    EXPECT_TRUE(label.GetSelection(1)->GetItemState() == TZORItemState::Selected);
    // Two undos, each told once: settings, redraw, units and selection.
    const std::vector<TZRChange> once { TZRChange::Settings, TZRChange::Redraw, TZRChange::Units,
        TZRChange::Selection };
    std::vector<TZRChange> twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(views.changes, twice);
    label.Detach(&views);
}

TEST_F(UndoHistory, AnEditAfterUndoDropsTheRedoBranch)
{
    Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 1000, 1000 } });
    Create(label, TZORItemType::Line, { { 0, 0 }, { 1000, 1000 } });
    ASSERT_TRUE(label.Undo());
    EXPECT_TRUE(label.CanRedo());
    Create(label, TZORItemType::Circle, { { 0, 0 }, { 1000, 1000 } });
    EXPECT_FALSE(label.CanRedo());
    EXPECT_EQ(label.GetItem(2)->TypeCode(), TZORItemType::Circle);
    // The ID the undone line had is free again.
    EXPECT_EQ(label.GetItem(2)->GetID(), 2);
    ASSERT_TRUE(label.Undo());
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetItemsCount(), 0);
}

// The label counts as modified exactly when it differs from what was last saved, whichever way
// undo and redo brought it there.
TEST(UndoSaved, UndoAndRedoBackToTheSavedStateLeaveTheLabelUnmodified)
{
    struct TCase {
        const char* name;
        std::function<void(TUndoLabel&)> after; // what follows two edits, a save and a third edit
        bool modified;
        bool loose = false; // a change with no step of its own comes just before the save
    };
    const auto edit = [](TUndoLabel& l, int i) {
        Create(l, TZORItemType::Rectangle, { { i * 1000, 0 }, { i * 1000 + 500, 500 } });
    };
    const TCase cases[] {
        { "undo to the save", [](TUndoLabel& l) { l.Undo(); }, false },
        { "undo past the save", [](TUndoLabel& l) { l.Undo(), l.Undo(); }, true },
        { "past it and redone back", [](TUndoLabel& l) { l.Undo(), l.Undo(), l.Redo(); }, false },
        { "redone beyond it", [](TUndoLabel& l) { l.Undo(), l.Redo(); }, true },
        { "an edit drops the saved state from the redo branch",
            [&](TUndoLabel& l) { l.Undo(), l.Undo(), edit(l, 9), l.Undo(), l.Redo(); }, true },
        { "a change with no step of its own before the save", [](TUndoLabel& l) { l.Undo(); }, false, true },
    };
    for (const TCase& c : cases) {
        TUndoLabel label;
        label.ClearUndo();
        edit(label, 0);
        edit(label, 1);
        if (c.loose)
            label.GetItem(1)->SetPenWidth(2.5f); // outside any bracket
        label.SetModified(false);
        const QByteArray saved = SaveBinary(label);
        edit(label, 2);
        ASSERT_TRUE(label.GetModified()) << c.name;
        c.after(label);
        EXPECT_EQ(label.GetModified(), c.modified) << c.name;
        if (!c.modified) {
            EXPECT_EQ(SaveBinary(label), saved) << c.name;
        }
    }
    // The history's limits drop the saved state: no undo leads back to it.
    TUndoLabel label;
    label.ClearUndo();
    label.UndoHistory().SetLimits(2, TZORUndo::DefaultMaxBytes);
    label.SetModified(false);
    for (int i = 0; i < 3; ++i)
        edit(label, i);
    while (label.Undo())
        EXPECT_TRUE(label.GetModified());
}

TEST_F(UndoHistory, AChangeOutsideAnyBracketIsUndoneOnItsOwn)
{
    Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 1000, 1000 } });
    const QByteArray afterCreate = SaveBinary(label);
    label.GetItem(1)->SetPenWidth(2.5f); // no bracket
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(SaveBinary(label), afterCreate);
    ASSERT_TRUE(label.Redo());
    EXPECT_FLOAT_EQ(label.GetItem(1)->GetPenWidth(), 2.5f);
}

TEST_F(UndoHistory, NoStepWhileABracketIsOpenAndNoneForNothingChanged)
{
    Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 1000, 1000 } });
    label.BeginUndoStep();
    EXPECT_FALSE(label.Undo());
    label.EndUndoStep();
    label.BeginUpdate(true);
    EXPECT_FALSE(label.Undo());
    label.EndUpdate();
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), 1);
    // An unmatched end changes nothing.
    label.EndUndoStep();
    EXPECT_TRUE(label.Undo());
}

TEST_F(UndoHistory, AFailedReadRecordsNothing)
{
    Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 1000, 1000 } });
    const QByteArray before = SaveBinary(label);
    // A paste whose second record is of no kind: the first was already in the label.
    QByteArray buffer;
    {
        TBinaryWriter w(&buffer);
        w.WriteInt32(2);
        label.GetItem(1)->Write(w);
        w.WriteInt32(99);
    }
    struct TRead {
        const char* name;
        std::function<void()> read;
    };
    const std::vector<TRead> reads {
        { "a paste",
            [&] {
                const TZORUndoStep step(label);
                label.ReadTransaction([&] {
                    TBinaryReader r(buffer);
                    label.BeginRead(true);
                    const int32_t count = r.ReadInt32();
                    for (int32_t i = 0; i < count; ++i)
                        if (!label.ReadItem(r, ZORFileVersion, TZORReadType::Paste))
                            throw zor::Error(QStringLiteral("UnknownItemType"));
                    label.EndRead(false);
                });
            } },
        { "an element in an update bracket",
            [&] {
                label.ReadTransaction([&] {
                    TBinaryReader r(buffer.mid(4));
                    label.BeginUpdate(true);
                    label.ReadItem(r, ZORFileVersion, TZORReadType::Load);
                    r.ReadInt64(); // past the end
                    label.EndUpdate();
                });
            } },
        { "a load",
            [&] {
                QByteArray file = SaveBinary(label);
                file.chop(3);
                label.ReadTransaction([&] {
                    TBinaryReader r(file);
                    label.BeginRead(false);
                    label.ReadLabel(r);
                    label.EndRead(true);
                });
            } },
    };
    for (const TRead& read : reads) {
        EXPECT_THROW(read.read(), std::exception) << read.name;
        EXPECT_EQ(SaveBinary(label), before) << read.name;
        EXPECT_EQ(label.UndoHistory().GetStepsCount(), 1) << read.name;
        EXPECT_EQ(label.UndoHistory().GetPosition(), 1) << read.name;
    }
    // The next edit and its undo still work from the label as it is.
    Create(label, TZORItemType::Line, { { 0, 0 }, { 1000, 1000 } });
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(SaveBinary(label), before);
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetItemsCount(), 0);
}

TEST_F(UndoHistory, ALoadEmptiesTheHistory)
{
    Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 1000, 1000 } });
    const QByteArray file = SaveBinary(label);
    Create(label, TZORItemType::Line, { { 0, 0 }, { 1000, 1000 } });
    TUndoLabel other;
    other.SetLibraryFolder(DirPath());
    Create(other, TZORItemType::Line, { { 0, 0 }, { 1000, 1000 } });
    ASSERT_TRUE(other.CanUndo());
    other.ReadTransaction([&] {
        TBinaryReader r(file);
        other.BeginRead(false);
        other.ReadLabel(r);
        other.EndRead(true);
    });
    EXPECT_FALSE(other.CanUndo());
    EXPECT_FALSE(other.Undo());
    EXPECT_EQ(other.GetItemsCount(), 2);
}

TEST(UndoBounds, TheOldestStepsGoFirst)
{
    struct TCase {
        const char* name;
        int32_t maxSteps;
        int64_t maxBytes;
        int32_t kept;
    };
    // The label's stream is 389 bytes and 71 more for each rectangle: after the eighth, the
    // last two steps and their start hold 815 + 886 + 957 bytes, three would hold 3402.
    const TCase cases[] {
        { "five steps at most", 5, TZORUndo::DefaultMaxBytes, 5 },
        { "a byte budget", 100, 3000, 2 },
        { "the newest step stays whatever its size", 100, 10, 1 },
    };
    for (const TCase& c : cases) {
        TUndoLabel label;
        label.ClearUndo();
        label.UndoHistory().SetLimits(c.maxSteps, c.maxBytes);
        std::vector<QByteArray> saved { SaveBinary(label) };
        for (int i = 0; i < 8; ++i) {
            Create(label, TZORItemType::Rectangle, { { i * 1000, 0 }, { i * 1000 + 500, 500 } });
            saved.push_back(SaveBinary(label));
        }
        EXPECT_EQ(label.UndoHistory().GetStepsCount(), c.kept) << c.name;
        if (c.maxBytes < TZORUndo::DefaultMaxBytes && c.kept > 1) {
            EXPECT_LE(label.UndoHistory().GetBytes(), c.maxBytes) << c.name;
        }
        for (int32_t k = 0; k < c.kept; ++k)
            ASSERT_TRUE(label.Undo()) << c.name;
        EXPECT_FALSE(label.Undo()) << c.name;
        EXPECT_EQ(SaveBinary(label), saved[size_t(8 - c.kept)]) << c.name;
    }
}

TEST(UndoBounds, StatesSharedByNeighbouringStepsCountOnce)
{
    TUndoLabel label;
    label.ClearUndo();
    const QByteArray empty = SaveBinary(label);
    Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 500, 500 } });
    const QByteArray one = SaveBinary(label);
    Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 500, 500 } });
    const QByteArray two = SaveBinary(label);
    ASSERT_EQ(label.UndoHistory().GetStepsCount(), 2);
    // The start, the label after one and after two: each step's before is its neighbour's after.
    EXPECT_EQ(label.UndoHistory().GetBytes(), empty.size() + one.size() + two.size());
}

// --- Events ---

struct TEvents {
    std::vector<std::tuple<bool, bool>> undoRedo;
    QStringList info;
    QStringList symFiles;
    int rotations = 0;
};

void Listen(TZORBaseLabel& label, TEvents& events)
{
    label.OnUndoRedoEvent = [&events, &label](TZORBaseLabel& sender, bool canUndo, bool canRedo) {
        EXPECT_EQ(&sender, &label);
        events.undoRedo.emplace_back(canUndo, canRedo);
    };
    label.OnInfoMsg = [&events](TZORBaseLabel&, const QString& message) { events.info << message; };
    label.OnLabelRotate = [&events](TZORBaseLabel&) { ++events.rotations; };
}

TEST_F(UndoHistory, UndoRedoEventTellsEachChangeOfWhatIsAvailable)
{
    TEvents events;
    Listen(label, events);
    using R = std::tuple<bool, bool>;
    struct TCase {
        const char* name;
        std::function<void()> run;
        std::vector<R> told;
    };
    const std::vector<TCase> cases {
        { "first edit",
            [&] {
                Create(label, TZORItemType::Rectangle, { { 0, 0 }, { 1, 1 } });
            },
            { R { true, false } } },
        { "second edit: no change of availability",
            [&] {
                Create(label, TZORItemType::Line, { { 0, 0 }, { 1, 1 } });
            },
            {} },
        { "selection only", [&] { label.Select(label.GetItem(1)); }, {} },
        { "undo", [&] { label.Undo(); }, { R { true, true } } },
        { "undo to the start", [&] { label.Undo(); }, { R { false, true } } },
        { "nothing left to undo", [&] { label.Undo(); }, {} },
        { "redo", [&] { label.Redo(); }, { R { true, true } } },
        { "a new edit drops the redo",
            [&] {
                Create(label, TZORItemType::Circle, { { 0, 0 }, { 1, 1 } });
            },
            { R { true, false } } },
        { "an update bracket that changes nothing",
            [&] {
                label.BeginUpdate(true);
                label.EndUpdate();
            },
            {} },
        { "clear", [&] { label.ClearUndo(); }, { R { false, false } } },
    };
    for (const TCase& c : cases) {
        events.undoRedo.clear();
        c.run();
        EXPECT_EQ(events.undoRedo, c.told) << c.name;
    }
}

TEST_F(UndoHistory, InfoMessagesForMovesAndSymbolsThatCannotBePlaced)
{
    TEvents events;
    Listen(label, events);
    label.SetUnits(TZORUnits::Centimetre);
    Create(label, TZORItemType::Rectangle, { { 12000, 3000 }, { 47500, 8000 } });
    label.Select(label.GetItem(1));
    struct TCase {
        const char* name;
        std::function<void()> run;
        QString message;
    };
    const std::vector<TCase> cases {
        { "a move starts", [&] { label.FireInfoEvent(true); }, "X 1.20  Y 0.30  W 3.55  H 0.50" },
        { "it ends", [&] { label.FireInfoEvent(false); }, "" },
        { "no library of that name", [&] { label.AddSymbol(0, 0, "valves", "Valve"); },
            "The symbol library \"valves\" is not in the library folder" },
        { "no symbol of that name", [&] { label.AddSymbol(0, 0, "pipes", "Tap"); },
            "The symbol library \"pipes\" holds no symbol \"Tap\"" },
        { "a path out of the folder", [&] { label.AddSymbol(0, 0, "../pipes", "Valve"); },
            "\"../pipes\" is not the name of a file in the library folder" },
    };
    for (const TCase& c : cases) {
        events.info.clear();
        c.run();
        EXPECT_EQ(events.info, QStringList { c.message }) << c.name;
    }
}

TEST_F(UndoHistory, ASymbolByLibraryAndNameIsOneStep)
{
    label.SetUnits(TZORUnits::Centimetre);
    TZORBaseItem* item = label.AddSymbol(2.5, 1.25, QStringLiteral("pipes.lyp"), QStringLiteral("PUMP"));
    auto* symbol = dynamic_cast<TZORBaseSymbol*>(item);
    ASSERT_NE(symbol, nullptr);
    EXPECT_EQ(symbol->GetPoint(1), (TZORPto { 25000, 12500 }));
    EXPECT_EQ(symbol->GetSymbolID(), "{P1}");
    EXPECT_EQ(label.GetSymbolsCount(), 1);
    EXPECT_EQ(label.GetCurrentSymbol()->GetName(), "Pump");
    // The same symbol again reuses the definition the label holds.
    label.AddSymbol(5, 5, QStringLiteral("pipes"), QStringLiteral("Pump"));
    EXPECT_EQ(label.GetSymbolsCount(), 1);
    EXPECT_EQ(label.GetItemsCount(), 2);
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), 3); // the units, then the two symbols
    ASSERT_TRUE(label.Undo());
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetItemsCount(), 0);
    EXPECT_EQ(label.GetSymbolsCount(), 0);
}

TEST_F(UndoHistory, SymbolLibrariesTheLabelCannotUse)
{
    TEvents events;
    Listen(label, events);
    ASSERT_TRUE(WriteFile(Path("broken.lyp"), "[{\"Name\":"));
    struct TCase {
        const char* name;
        QString folder;
        QString library;
    };
    const std::vector<TCase> cases {
        { "no library folder", QString(), "pipes" },
        { "an empty name", DirPath(), "" },
        { "a folder for a name", DirPath(), ".." },
        { "an absolute path", DirPath(), Path("pipes.lyp") },
    };
    for (const TCase& c : cases) {
        label.SetLibraryFolder(c.folder);
        EXPECT_EQ(label.AddSymbol(0, 0, c.library, QStringLiteral("Valve")), nullptr) << c.name;
        EXPECT_EQ(label.GetItemsCount(), 0) << c.name;
    }
    label.SetLibraryFolder(DirPath());
    const QByteArray before = SaveBinary(label);
    const int32_t steps = label.UndoHistory().GetStepsCount();
    // A library that cannot be read is an error, and the label stays as it was.
    const QString error
        = ErrorOf([&] { label.AddSymbol(0, 0, QStringLiteral("broken"), QStringLiteral("Valve")); });
    EXPECT_TRUE(error.contains("broken.lyp")) << error.toStdString();
    EXPECT_EQ(SaveBinary(label), before);
    label.BeginUndoStep();
    label.EndUndoStep();
    EXPECT_EQ(label.UndoHistory().GetStepsCount(), steps);
}

TEST_F(UndoHistory, TheHostMaySkipALibraryFile)
{
    QStringList asked;
    label.OnReadSymEvent = [&](TZORBaseLabel& sender, const QString& fileName, bool& read) {
        EXPECT_EQ(&sender, &label);
        EXPECT_TRUE(read);
        asked << fileName;
        read = false;
    };
    EXPECT_EQ(label.AddSymbol(0, 0, QStringLiteral("pipes"), QStringLiteral("Valve")), nullptr);
    EXPECT_EQ(asked, QStringList { Path("pipes.lyp") });
    EXPECT_EQ(label.GetSymbolsCount(), 0);
    label.OnReadSymEvent = nullptr;
    EXPECT_TRUE(label.ReadSymFile(Path("pipes.lyp")));
}

TEST(ModelEvents, FontListAndRotation)
{
    TUndoLabel label;
    QObject dialog;
    QStringList fonts { "Kept" };
    EXPECT_FALSE(label.GetFontList(&dialog, fonts));
    EXPECT_EQ(fonts, QStringList { "Kept" });
    QObject* askedBy = nullptr;
    label.OnGetFontListEvent = [&](QObject* sender, QStringList& list) {
        askedBy = sender;
        list << "DejaVu Sans"
             << "Liberation Serif";
    };
    EXPECT_TRUE(label.GetFontList(&dialog, fonts));
    EXPECT_EQ(askedBy, &dialog);
    EXPECT_EQ(fonts, (QStringList { "Kept", "DejaVu Sans", "Liberation Serif" }));

    TEvents events;
    Listen(label, events);
    struct TCase {
        uint8_t orientation;
        int rotations;
        uint8_t kept;
    };
    const TCase cases[] { { 1, 1, 1 }, { 1, 1, 1 }, { 6, 2, 2 }, { 0, 3, 0 } };
    for (const TCase& c : cases) {
        label.SetOrientation(c.orientation);
        EXPECT_EQ(events.rotations, c.rotations) << int(c.orientation);
        EXPECT_EQ(label.GetOrientation(), c.kept) << int(c.orientation);
    }
}

} // namespace

namespace {

// JSON data given to the label for this session (not saved with it) outlives an undo.
TEST_F(UndoHistory, DataNotSavedWithTheLabelOutlivesAnUndo)
{
    ASSERT_TRUE(label.Data().SetJson(QStringLiteral(R"({"Animals":[{"Name":"Cat"},{"Name":"Dog"}]})")));
    ASSERT_FALSE(label.Data().GetSaveJson());
    label.ClearUndo();
    Create(label, TZORItemType::Line, { { 0, 0 }, { 1000, 1000 } });
    ASSERT_TRUE(label.Undo());
    EXPECT_EQ(label.GetItemsCount(), 0);
    EXPECT_EQ(label.Data().GetDatasetCount(), 1);
    ASSERT_TRUE(label.Redo());
    EXPECT_EQ(label.Data().GetDatasetCount(), 1);
}

} // namespace
