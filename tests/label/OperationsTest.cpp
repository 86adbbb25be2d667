// The label's operations that open dialogs, each answered by a hook of the test in place of the
// dialog layer's, and what the label writes back.

#include "Zor.Error.h"
#include "Zor.Measure.h"
#include "elements/composite/Zor.Vcl.Link.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Image.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <limits>

namespace {

using zor::test::TempDirTest;
using zor::test::WriteFile;

// Puts the dialog layer's hooks back when the test ends.
class THooks {
public:
    THooks()
        : fSaved(zor::LabelDialogs())
    {
    }
    ~THooks() { zor::LabelDialogs() = fSaved; }
    THooks(const THooks&) = delete;
    THooks& operator=(const THooks&) = delete;

private:
    zor::TLabelDialogs fSaved;
};

// Records every notice and, at each, takes a look at the model through `probe`: what a view sees
// when it is told.
struct TViewer : IZRObserver {
    std::vector<TZRChange> changes;
    std::vector<TZRChangeValue> values;
    std::function<void()> probe;

    void UpdateCtrl(TZRChange change, const TZRChangeValue& value) override
    {
        changes.push_back(change);
        values.push_back(value);
        if (probe)
            probe();
    }
    TZRObserverKind TypeDest() const override { return TZRObserverKind::Editor; }
};

// Sheet values away from every default, in micrometres.
TZORLabelSetup SheetValues()
{
    TZORLabelSetup v;
    v.continuousPaper = true;
    v.name = QStringLiteral("Shelf");
    v.byColumns = true;
    v.width = 38100;
    v.height = 21200;
    v.paperWidth = 297000; // A4 turned to landscape
    v.paperHeight = 210000;
    v.paperIndex = 4;
    v.gapX = 2500;
    v.gapY = 1500;
    v.marginLeft = 4700;
    v.marginTop = 10700;
    v.rows = 9;
    v.columns = 7;
    v.labels = 120;
    v.firstRow = 2;
    v.firstCol = 3;
    v.repetition = 4;
    v.dataSel = QStringLiteral("Stock");
    v.fieldRepeat = QStringLiteral("count");
    v.linkData = true;
    v.saveJson = true;
    return v;
}

class Operations : public TempDirTest {
protected:
    THooks hooks;
    TZORLabelVCL label;
    TViewer viewer;

    void SetUp() override
    {
        TempDirTest::SetUp();
        zor::LabelDialogs() = {};
        label.Attach(&viewer);
    }
    void TearDown() override { label.Detach(&viewer); }
    int Count(TZRChange c) const { return int(std::count(viewer.changes.begin(), viewer.changes.end(), c)); }
};

} // namespace

// Every value of the sheet set-up reaches its member, the gaps and counts to the model's names
// that count the other way; the views learn it once, with everything already written.
TEST_F(Operations, SheetSetUpIsWrittenBackInOneBracket)
{
    int asked = 0;
    zor::LabelDialogs().LabelSetup = [&](TZORLabelVCL& l) {
        EXPECT_EQ(&l, &label);
        ++asked;
        return std::optional<TZORLabelSetup>(SheetValues());
    };
    bool wholeAtEveryNotice = true;
    viewer.probe = [&] { wholeAtEveryNotice = wholeAtEveryNotice && label.Data().GetSaveJson(); };
    label.SetModified(false);
    label.EditProperties();
    EXPECT_EQ(asked, 1);
    const TZORMeasure& m = label.Measure();
    EXPECT_TRUE(m.GetContinousPaper());
    EXPECT_EQ(m.GetLabelName(), QStringLiteral("Shelf"));
    EXPECT_FALSE(label.PrintInfo().GetByRows());
    const struct {
        TZORSizeKind kind;
        int64_t value;
    } sizes[] = {
        { TZORSizeKind::LabelWidth, 38100 },
        { TZORSizeKind::LabelHeight, 21200 },
        { TZORSizeKind::PaperWidth, 297000 },
        { TZORSizeKind::PaperHeight, 210000 },
        { TZORSizeKind::GapHorizontal, 2500 },
        { TZORSizeKind::GapVertical, 1500 },
        { TZORSizeKind::MarginLeft, 4700 },
        { TZORSizeKind::MarginTop, 10700 },
    };
    for (const auto& s : sizes)
        EXPECT_EQ(m.GetSize(s.kind), s.value) << int(s.kind);
    EXPECT_EQ(m.GetPaperName(), QStringLiteral("A4"));
    EXPECT_EQ(m.GetNuHor(), 9); // rows
    EXPECT_EQ(m.GetNuVer(), 7); // columns
    EXPECT_EQ(label.PrintInfo().GetLabs(), 120);
    EXPECT_EQ(label.PrintInfo().GetFirstRow(), 2);
    EXPECT_EQ(label.PrintInfo().GetFirstCol(), 3);
    EXPECT_EQ(label.PrintInfo().GetRepetition(), 4);
    EXPECT_EQ(label.Data().GetDataSel(), QStringLiteral("Stock"));
    EXPECT_EQ(label.Data().GetFieldRepeat(), QStringLiteral("count"));
    EXPECT_TRUE(label.Data().GetLinkData());
    EXPECT_TRUE(label.Data().GetSaveJson());

    EXPECT_TRUE(wholeAtEveryNotice);
    EXPECT_EQ(Count(TZRChange::Redraw), 1);
    ASSERT_EQ(Count(TZRChange::Settings), 1);
    EXPECT_EQ(viewer.values[0], (TZRChangeValue { 297000, 210000 }));
    EXPECT_TRUE(label.GetModified());
}

// A paper of the table with sizes of the user's own, counts beyond 32 bits, a paper index
// outside the table.
TEST_F(Operations, SheetSetUpKeepsCountsAndPapersInRange)
{
    TZORLabelSetup v = SheetValues();
    v.paperIndex = 99;
    v.paperWidth = 123000;
    v.rows = int64_t(std::numeric_limits<int32_t>::max()) + 5;
    v.labels = -7;
    zor::LabelDialogs().LabelSetup = [&](TZORLabelVCL&) { return std::optional<TZORLabelSetup>(v); };
    label.EditProperties();
    EXPECT_EQ(label.Measure().GetPaperName(), QStringLiteral("User"));
    EXPECT_EQ(label.Measure().GetSize(TZORSizeKind::PaperWidth), 123000);
    EXPECT_EQ(label.Measure().GetNuHor(), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(label.PrintInfo().GetLabs(), 1);
}

TEST_F(Operations, ACancelledOrMissingSetUpChangesNothing)
{
    int asked = 0;
    zor::LabelDialogs().LabelSetup = [&](TZORLabelVCL&) {
        ++asked;
        return std::optional<TZORLabelSetup>();
    };
    zor::LabelDialogs().DrawingSetup = [&](TZORLabelVCL&) {
        ++asked;
        return std::optional<TZORDrawingSetup>();
    };
    label.SetModified(false);
    label.EditProperties();
    EXPECT_EQ(asked, 1);
    label.SetEditorMode(3); // no set-up of its own
    label.EditProperties();
    EXPECT_EQ(asked, 1);
    zor::LabelDialogs() = {};
    for (uint8_t mode : { 0, 1, 2 }) {
        label.SetEditorMode(mode);
        label.EditProperties();
    }
    EXPECT_TRUE(viewer.changes.empty());
    EXPECT_FALSE(label.GetModified());
    EXPECT_EQ(label.Measure().GetLabelName(), QString());
}

TEST_F(Operations, DrawingSetUpIsWrittenBackInOneBracket)
{
    for (uint8_t mode : { 1, 2 }) {
        SCOPED_TRACE(int(mode));
        TZORLabelVCL drawing;
        TViewer seen;
        drawing.Attach(&seen);
        drawing.SetEditorMode(mode);
        zor::LabelDialogs().LabelSetup = [](TZORLabelVCL&) {
            ADD_FAILURE() << "the sheet set-up opened for a drawing";
            return std::optional<TZORLabelSetup>();
        };
        zor::LabelDialogs().DrawingSetup = [](TZORLabelVCL&) {
            TZORDrawingSetup v;
            v.name = QStringLiteral("Plan");
            v.byColumns = true;
            v.scale = 50;
            v.paperWidth = 420000;
            v.paperHeight = 297000;
            v.paperIndex = 3; // A3, landscape
            v.title = QStringLiteral("Ground floor");
            v.author = QStringLiteral("R. Vega");
            v.date = QStringLiteral("2024-05-01");
            v.promoter = QStringLiteral("Town");
            v.note = QStringLiteral("Draft\nnot for building");
            v.project = QStringLiteral("P-7");
            return std::optional<TZORDrawingSetup>(v);
        };
        drawing.EditProperties();
        const TZORMeasure& m = drawing.Measure();
        EXPECT_TRUE(m.GetContinousPaper());
        EXPECT_EQ(m.GetLabelName(), QStringLiteral("Plan"));
        EXPECT_FALSE(drawing.PrintInfo().GetByRows());
        EXPECT_EQ(m.GetDrawScale(), 50);
        EXPECT_EQ(m.GetPaperName(), QStringLiteral("A3"));
        EXPECT_EQ(m.GetSize(TZORSizeKind::PaperWidth), 420000);
        EXPECT_EQ(m.GetSize(TZORSizeKind::PaperHeight), 297000);
        EXPECT_EQ(m.fTitle, QStringLiteral("Ground floor"));
        EXPECT_EQ(m.fAuthor, QStringLiteral("R. Vega"));
        EXPECT_EQ(m.fDate, QStringLiteral("2024-05-01"));
        EXPECT_EQ(m.fPromoter, QStringLiteral("Town"));
        EXPECT_EQ(m.fNote, QStringLiteral("Draft\nnot for building"));
        EXPECT_EQ(m.fProject, QStringLiteral("P-7"));
        EXPECT_EQ(std::count(seen.changes.begin(), seen.changes.end(), TZRChange::Redraw), 1);
        EXPECT_EQ(std::count(seen.changes.begin(), seen.changes.end(), TZRChange::Settings), 1);
        drawing.Detach(&seen);
    }
}

// The layers dialog changes the label itself; the views are refreshed once it closes.
TEST_F(Operations, LayersAreRefreshedAfterTheDialog)
{
    std::vector<TZRChange> seenInDialog;
    zor::LabelDialogs().Layers = [&](TZORLabelVCL& l) {
        l.BeginUpdate(true);
        l.AddLayer(QStringLiteral("Notes"));
        l.EndUpdate();
        seenInDialog = viewer.changes;
    };
    label.EditLayers();
    EXPECT_EQ(label.GetLayersCount(), 2);
    EXPECT_EQ(seenInDialog, std::vector<TZRChange> { TZRChange::Redraw });
    EXPECT_EQ(viewer.changes, (std::vector<TZRChange> { TZRChange::Redraw, TZRChange::Redraw }));
}

// Only a drawing of EditorMode 2 opens its dimension styles; after the dialog the dimensions
// show their values in the styles as changed.
TEST_F(Operations, DimensionStylesInEveryModeThenTheDimensionsFollow)
{
    int asked = 0;
    zor::LabelDialogs().DimStyles = [&](TZORLabelVCL& l) {
        ++asked;
        l.GetDimStyle(1)->fPrefix = QStringLiteral("L=");
        l.GetDimStyle(1)->fFormat = QStringLiteral("0.00");
    };
    TZORDim* dim = label.AddBaseDim(0, 0, 40000, 0, 20000, 10000);
    ASSERT_NE(dim, nullptr);
    const QString before = dim->GetText();
    EXPECT_EQ(before, QStringLiteral("40.0"));
    for (uint8_t mode : { 0, 1, 2 }) {
        SCOPED_TRACE(int(mode));
        label.SetEditorMode(mode);
        viewer.changes.clear();
        label.EditDimStyles();
        EXPECT_EQ(asked, mode + 1);
        EXPECT_EQ(dim->GetText(), QStringLiteral("L=40.00"));
        EXPECT_EQ(Count(TZRChange::Redraw), 1);
    }
}

TEST_F(Operations, PreviewOpensThroughItsHook)
{
    std::vector<TZORLabelVCL*> shown;
    zor::LabelDialogs().Preview = [&](TZORLabelVCL& l) { shown.push_back(&l); };
    label.Preview();
    EXPECT_EQ(shown, std::vector<TZORLabelVCL*> { &label });
}

// The map dialog is asked for an image of the box's size on paper at 96 dpi (halves to even);
// after OK the image shows the composed map, named as the mapping names it.
TEST_F(Operations, AMapImageTakesTheComposedMap)
{
    const struct {
        int scale;
        int64_t w, h; // model micrometres
        int32_t pw, ph;
        bool ok;
    } cases[] = {
        { 1, 100000, 50000, 378, 189, true },
        { 10, 1000000, 500000, 378, 189, true },
        { 1, 26194, 13229, 99, 50, true }, // 98.998 and 49.9994
        { 1, 100000, 50000, 378, 189, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.scale);
        label.Measure().SetDrawScale(c.scale);
        std::vector<std::pair<int32_t, int32_t>> asked;
        zor::LabelDialogs().MapChoice = [&](TZORLabelVCL& l, int32_t w, int32_t h) {
            asked.emplace_back(w, h);
            l.Mapping().SetFileName(QStringLiteral("404168_-37038_15.png"));
            return c.ok;
        };
        zor::LabelDialogs().PictureFile = [](const QString&, const QString&) {
            ADD_FAILURE() << "a picture was asked for a map";
            return QString();
        };
        const int before = label.GetItemsCount();
        TZORImage* image = label.AddBaseImage(5000, 6000, c.w, c.h, true, QStringLiteral("ignored.png"));
        EXPECT_EQ(asked, (std::vector<std::pair<int32_t, int32_t>> { { c.pw, c.ph } }));
        if (!c.ok) {
            EXPECT_EQ(image, nullptr);
            EXPECT_EQ(label.GetItemsCount(), before);
            continue;
        }
        ASSERT_NE(image, nullptr);
        EXPECT_EQ(image->GetFileName(), QStringLiteral("404168_-37038_15.png"));
        EXPECT_EQ(image->GetPoint(1), (TZORPto { 5000, 6000 }));
        EXPECT_EQ(image->GetPoint(2), (TZORPto { 5000 + c.w, 6000 + c.h }));
    }
}

// The picture dialog opens whatever file name the call gives, in the folder of pictures, with
// every kind it offers (GIF too) in the first filter.
TEST_F(Operations, APictureComesFromTheFileDialog)
{
    const QString images = Path(QStringLiteral("images"));
    ASSERT_TRUE(QDir().mkpath(images + QStringLiteral("/logos")));
    label.SetImageFolder(images);
    label.SetOpenImgFolder(Path(QStringLiteral("start")));
    ASSERT_TRUE(WriteFile(images + QStringLiteral("/logos/a.gif"), "GIF89a inside"));
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("b.png")), "\x89PNG outside"));
    QStringList answers { images + QStringLiteral("/logos/a.gif"), Path(QStringLiteral("b.png")), QString() };
    QStringList folders, filters;
    zor::LabelDialogs().PictureFile = [&](const QString& folder, const QString& filter) {
        folders << folder;
        filters << filter;
        return answers.takeFirst();
    };
    TZORImage* inside = label.AddBaseImage(0, 0, 10000, 10000, false, QStringLiteral("given.png"));
    ASSERT_NE(inside, nullptr);
    EXPECT_EQ(inside->GetFileName(), QStringLiteral("logos/a.gif"));
    EXPECT_TRUE(inside->GetImageBytes().isEmpty());
    // A picture from elsewhere could never be found through the image folder: it is embedded.
    TZORImage* outside = label.AddBaseImage(0, 0, 10000, 10000, false, QString());
    ASSERT_NE(outside, nullptr);
    EXPECT_EQ(outside->GetImageBytes(), QByteArray("\x89PNG outside"));
    EXPECT_EQ(label.AddBaseImage(0, 0, 10000, 10000, false, QString()), nullptr);
    EXPECT_EQ(label.GetItemsCount(), 2);
    ASSERT_EQ(filters.size(), 3);
    EXPECT_EQ(folders[0], Path(QStringLiteral("start")));
    const QString all = filters[0].section(QStringLiteral(";;"), 0, 0);
    EXPECT_EQ(all, QStringLiteral("All (*.png *.jpg *.jpeg *.gif)"));
    EXPECT_TRUE(filters[0].contains(QStringLiteral("GIF Image File (*.gif)")));
    EXPECT_EQ(Count(TZRChange::Redraw), 2);

    answers = { Path(QStringLiteral("missing.png")) };
    EXPECT_THROW(label.AddBaseImage(0, 0, 10000, 10000, false, QString()), EZORError);
    EXPECT_EQ(label.GetItemsCount(), 2);
}

TEST_F(Operations, WithoutHooksNothingOpensAndNothingIsAdded)
{
    label.SetEditorMode(2);
    label.EditLayers();
    label.EditDimStyles();
    label.Preview();
    EXPECT_EQ(label.AddBaseImage(0, 0, 1000, 1000, true, QString()), nullptr);
    EXPECT_EQ(label.AddBaseImage(0, 0, 1000, 1000, false, QString()), nullptr);
    EXPECT_EQ(label.GetItemsCount(), 0);
    EXPECT_TRUE(viewer.changes.empty());
}

TEST_F(Operations, ALinkJoinsTheElementsOfThoseNames)
{
    TZORRectangle* from = label.AddBaseRectangle(0, 0, 10000, 10000);
    TZORRectangle* to = label.AddBaseRectangle(30000, 0, 10000, 10000);
    TZORLink* link
        = label.AddLink(QString::number(from->GetID()), QString::number(to->GetID()), 2, 4, TZORinkType(0));
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->GetFromID(), from->GetID());
    EXPECT_EQ(link->GetToID(), to->GetID());
    EXPECT_EQ(
        label.AddLink(QStringLiteral("999"), QString::number(to->GetID()), 1, 1, TZORinkType(0)), nullptr);
}
