// The symbol library viewer (grid layout, pointer reports, selection) and the symbol picker
// (the tree of a folder's library files).

#include "Zor.Library.h"
#include "dialogs/Zor.Selsymbol.h"
#include "dialogs/Zor.Viewlibrary.h"
#include "kit/Dialogs.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QDir>
#include <QMouseEvent>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <vector>

using zor::TAlphaColor;

namespace {

using namespace zor::test;

// A symbol of a category: a blue filled square of 10 mm, or (flat) a line without height.
QString SymbolJson(const QString& name, const QString& category, bool flat = false)
{
    const QString def = flat
        ? QStringLiteral(R"([{"Kind":"Line","Points":[[0,0],[10,0]]}])")
        : QStringLiteral(
            R"([{"Kind":"Fill","Value":true},{"Kind":"BackColor","Value":"#0000FF"},)"
            R"({"Kind":"ForeColor","Value":"#0000FF"},{"Kind":"Rectangle","Points":[[0,0],[10,10]]}])");
    return QStringLiteral(R"({"Name":"%1","Category":"%2","ID":"%1","Units":"mm","Def":%3})")
        .arg(name, category, def);
}

bool WriteLibrary(const QString& path, const QStringList& symbols)
{
    return WriteFile(path, (QLatin1Char('[') + symbols.join(QLatin1Char(',')) + QLatin1Char(']')).toUtf8());
}

void Move(QWidget& viewport, QPoint at)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(at), viewport.mapToGlobal(QPointF(at)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(&viewport, &move);
}

void Click(QWidget& viewport, QPoint at)
{
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(at), viewport.mapToGlobal(QPointF(at)),
        Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&viewport, &press);
}

const QColor Grey(0x80, 0x80, 0x80);
const QColor Red(0xFF, 0, 0);
const QColor Blue(0, 0, 0xFF);
const QColor Back(0xD0, 0xE0, 0xF0);

// A library of seven squares S1..S7 in "Basic", the last one flat, and a viewer without a
// frame (its client is its whole size) on a label.
class Viewer : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        QStringList symbols;
        for (int i = 1; i <= 7; ++i)
            symbols << SymbolJson(QStringLiteral("S%1").arg(i), QStringLiteral("Basic"), i == 7);
        symbols << SymbolJson(QStringLiteral("Other"), QStringLiteral("Else"));
        ASSERT_TRUE(WriteLibrary(Path(QStringLiteral("shapes.lyp")), symbols));
        view.setFrameShape(QFrame::NoFrame);
        view.SetColor(TAlphaColor { 0xFFD0E0F0 });
        view.SetQuindle(&label);
        view.OnChangePos
            = [this](TZORViewLibrary&, const QString& name, const QString&, TZORUnits) { reported << name; };
    }
    void Load(QSize size)
    {
        view.resize(size);
        view.LoadSymbols(Path(QStringLiteral("shapes.lyp")), QStringLiteral("basic"));
    }
    QColor At(int x, int y) const { return view.BackSurf().pixelColor(x, y); }

    TZORLabelVCL label;
    TZORViewLibrary view;
    QStringList reported;
};

} // namespace

// Columns and rows follow the client size; the cells sit Gap apart, centred across, each framed
// grey round the symbol fitted into it, on the viewer's colour.
TEST_F(Viewer, TheGridFollowsTheSizeAndFramesEveryCell)
{
    const struct {
        QSize size;
        int cols, rows, left;
    } cases[] = {
        { { 300, 300 }, 3, 3, 10 },
        { { 200, 500 }, 2, 4, 5 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size.width());
        Load(c.size);
        ASSERT_EQ(view.GetNumSymbols(), 7);
        EXPECT_EQ(view.Cols(), c.cols);
        EXPECT_EQ(view.Rows(), c.rows);
        EXPECT_EQ(view.MarginLeft(), c.left);
        const SaveOnFailure keep(view.BackSurf(), QStringLiteral("viewer"));
        for (int i = 0; i < 7; ++i) {
            const int x = c.left + (i % c.cols) * 90, y = 10 + (i / c.cols) * 90;
            EXPECT_EQ(At(x, y + 40), Grey) << "frame of " << i + 1;
            EXPECT_EQ(At(x - 1, y + 40), Back) << "gap before " << i + 1;
            EXPECT_EQ(At(x + 2, y + 40), QColor(Qt::white)) << "room inside " << i + 1;
            if (i < 6) { // the square fills the middle of its cell
                EXPECT_EQ(At(x + 40, y + 40), Blue) << "symbol " << i + 1;
            }
        }
        // The cell after the last symbol is not drawn.
        const int x = c.left + (7 % c.cols) * 90, y = 10 + (7 / c.cols) * 90;
        EXPECT_EQ(At(x + 40, y + 40), Back);
    }
}

// Rows that do not fit bring the scroll bar, whose room the columns leave free.
TEST_F(Viewer, RowsThatDoNotFitLeaveRoomForTheScrollBar)
{
    Load({ 290, 150 });
    EXPECT_EQ(view.Cols(), 2);
    EXPECT_EQ(view.Rows(), 4);
    Load({ 290, 400 });
    EXPECT_EQ(view.Cols(), 3);
}

// Within one cell the pointer reports once; leaving the symbols reports once with no name;
// right of the last column there is no symbol (not the next row's first), and left of the
// grid nothing happens.
TEST_F(Viewer, ThePointerReportsEachSymbolOnce)
{
    Load({ 300, 300 });
    QWidget& vp = *view.viewport();
    Move(vp, { 50, 50 });
    Move(vp, { 60, 70 });
    Move(vp, { 140, 50 });
    Move(vp, { 140, 95 }); // the gap between the rows
    Move(vp, { 140, 96 });
    Move(vp, { 230, 50 });
    Move(vp, { 285, 50 }); // right of the grid
    Move(vp, { 140, 230 }); // row 3, past the last symbol
    Move(vp, { 50, 230 });
    Move(vp, { 5, 50 }); // left of the grid
    EXPECT_EQ(reported, (QStringList { "S1", "S2", "", "S3", "", "S7" }));
    EXPECT_EQ(view.IdPosition(), 7);
}

// The pointer and a click find their symbol in the grid of each size: three columns 10 pixels in,
// or two columns 5 pixels in; the cell clicked is framed in the selection colour.
TEST_F(Viewer, HoverAndSelectionFollowTheGridOfEachSize)
{
    const struct {
        QSize size;
        std::vector<QPoint> moves;
        QStringList reported;
        QPoint click;
        int selected;
        QPoint frame;
    } cases[] = {
        { { 300, 300 }, { { 50, 50 }, { 230, 140 }, { 290, 140 } }, { "S1", "S6", "" }, { 50, 230 }, 7,
            { 10, 230 } },
        { { 200, 500 }, { { 135, 50 }, { 50, 140 }, { 190, 50 } }, { "S2", "S3", "" }, { 135, 140 }, 4,
            { 95, 140 } },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.size.width());
        Load(c.size);
        reported.clear();
        QWidget& vp = *view.viewport();
        for (QPoint p : c.moves)
            Move(vp, p);
        EXPECT_EQ(reported, c.reported);
        Click(vp, c.click);
        EXPECT_EQ(view.IdSelection(), c.selected);
        EXPECT_EQ(At(c.frame.x(), c.frame.y()), Red);
        EXPECT_EQ(At(c.frame.x() + 2, c.frame.y()), QColor(Qt::white));
        Move(vp, { 0, 0 });
    }
}

// A click selects the cell under the pointer (a two-pixel frame in the selection colour); a
// click outside every cell keeps it; the copy handed out outlives the viewer.
TEST_F(Viewer, AClickSelectsAndTheCopyOutlivesTheViewer)
{
    Load({ 300, 300 });
    EXPECT_EQ(view.GetSelection(), nullptr);
    QWidget& vp = *view.viewport();
    Click(vp, { 140, 140 });
    EXPECT_EQ(view.IdSelection(), 5);
    Click(vp, { 140, 95 });
    EXPECT_EQ(view.IdSelection(), 5);
    EXPECT_EQ(At(100, 140), Red);
    EXPECT_EQ(At(101, 140), Red);
    EXPECT_EQ(At(10, 140), Grey);
    EXPECT_EQ(At(11, 140), QColor(Qt::white));

    std::unique_ptr<TZORLibSymbol> copy;
    {
        TZORViewLibrary other;
        other.setFrameShape(QFrame::NoFrame);
        other.SetQuindle(&label);
        other.resize(300, 300);
        other.LoadSymbols(Path(QStringLiteral("shapes.lyp")), QStringLiteral("Basic"));
        Click(*other.viewport(), { 50, 50 });
        copy = other.GetSelection();
    }
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->GetName(), QStringLiteral("S1"));
    EXPECT_EQ(copy->GetItemsCount(), 4);
}

// No room, no file, or a file that does not read: no symbol, the viewer's colour.
TEST_F(Viewer, NothingToShowLeavesTheBackground)
{
    ASSERT_TRUE(WriteFile(Path(QStringLiteral("bad.lyp")), "{not json"));
    const struct {
        QSize size;
        QString file;
    } cases[] = {
        { { 300, 300 }, Path(QStringLiteral("missing.lyp")) },
        { { 300, 300 }, Path(QStringLiteral("bad.lyp")) },
        { { 0, 0 }, Path(QStringLiteral("shapes.lyp")) },
        { { 60, 300 }, QString() },
    };
    for (const auto& c : cases) {
        view.resize(c.size);
        view.LoadSymbols(c.file, QString());
        EXPECT_EQ(view.GetNumSymbols(), 0) << c.file.toStdString();
        EXPECT_EQ(view.Cols(), 0);
    }
    // Narrower than a cell: one column all the same.
    view.resize(60, 300);
    view.LoadSymbols(Path(QStringLiteral("shapes.lyp")), QStringLiteral("Basic"));
    EXPECT_EQ(view.Cols(), 1);
    EXPECT_EQ(view.Rows(), 7);
}

// The label's own symbols under the text "CurDrawing".
TEST_F(Viewer, TheCurrentDrawingShowsTheLabelsSymbols)
{
    TZORLibrary lib;
    lib.LoadFromFile(Path(QStringLiteral("shapes.lyp")), QStringLiteral("Else"));
    label.AddSymbol(lib.CopySymbol(1), false);
    view.resize(300, 300);
    view.LoadSymbols(QStringLiteral("current drawing"), QStringLiteral("*"));
    EXPECT_EQ(view.GetNumSymbols(), 1);
}

namespace {

// A folder of library files: "a2.lyp" (Top twice), "B.lyp" (A/B/C, A/B/D, Top), "skip.lyp"
// (Hidden), a text file and a sub-folder holding another library.
class Picker : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ASSERT_TRUE(WriteLibrary(Path(QStringLiteral("a2.lyp")),
            { SymbolJson(QStringLiteral("T1"), QStringLiteral("Top")),
                SymbolJson(QStringLiteral("T2"), QStringLiteral("top")) }));
        ASSERT_TRUE(WriteLibrary(Path(QStringLiteral("B.lyp")),
            { SymbolJson(QStringLiteral("C1"), QStringLiteral("A/B/C")),
                SymbolJson(QStringLiteral("C2"), QStringLiteral("A/B/C")),
                SymbolJson(QStringLiteral("D1"), QStringLiteral("A/B/D")),
                SymbolJson(QStringLiteral("T3"), QStringLiteral("Top")) }));
        ASSERT_TRUE(WriteLibrary(
            Path(QStringLiteral("skip.lyp")), { SymbolJson(QStringLiteral("H"), QStringLiteral("Hidden")) }));
        ASSERT_TRUE(WriteFile(Path(QStringLiteral("notes.txt")), "x"));
        ASSERT_TRUE(QDir(DirPath()).mkdir(QStringLiteral("sub")));
        ASSERT_TRUE(WriteLibrary(Path(QStringLiteral("sub/inner.lyp")),
            { SymbolJson(QStringLiteral("I"), QStringLiteral("Inner")) }));
        label.OnReadSymEvent = [this](TZORBaseLabel&, const QString& file, bool& read) {
            asked << QFileInfo(file).fileName();
            read = !file.endsWith(QLatin1String("skip.lyp"));
        };
    }

    static QString Describe(QTreeWidgetItem* node)
    {
        QString text = node->text(0);
        QStringList children;
        for (int i = 0; i < node->childCount(); ++i)
            children << Describe(node->child(i));
        return children.isEmpty() ? text : text + '(' + children.join(';') + ')';
    }
    QString Tree(TfSelSymbol& form) const
    {
        auto& tree = *form.findChild<QTreeWidget*>(QStringLiteral("tvCategory"));
        QStringList roots;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            roots << Describe(tree.topLevelItem(i));
        return roots.join(';');
    }
    QString Current(TfSelSymbol& form) const
    {
        QTreeWidgetItem* item = form.findChild<QTreeWidget*>(QStringLiteral("tvCategory"))->currentItem();
        return item ? item->text(0) : QString();
    }

    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    QStringList asked;
};

} // namespace

// The files sorted without case, not from sub-folders; a category's pieces nested, one root per
// file and top-level text; the file the host skips left out.
TEST_F(Picker, TheTreeHoldsTheFolderCategoriesTheHostLets)
{
    TfSelSymbol form;
    form.Ini(label, DirPath(), QString());
    asked.sort();
    EXPECT_EQ(asked, (QStringList { "B.lyp", "a2.lyp", "skip.lyp" }));
    EXPECT_EQ(Tree(form), QStringLiteral("Top;A(B(C);B(D));Top"));
    ASSERT_EQ(form.Categories().size(), 2u);
    EXPECT_TRUE(form.Categories()[0].first.endsWith(QLatin1String("a2.lyp")));
    // The first node is chosen and shown: both symbols of a2's Top.
    EXPECT_EQ(Current(form), QStringLiteral("Top"));
    EXPECT_EQ(form.Viewer().GetNumSymbols(), 2);
    EXPECT_TRUE(dialogs.Messages.isEmpty());
}

// Re-opening with the last category's own text chooses it, and its whole path is loaded.
TEST_F(Picker, TheLastCategoryIsChosenAgain)
{
    TfSelSymbol form;
    form.Ini(label, DirPath(), QStringLiteral("c"));
    EXPECT_EQ(Current(form), QStringLiteral("C"));
    EXPECT_EQ(form.LastCat(), QStringLiteral("C"));
    EXPECT_TRUE(form.LastFile().endsWith(QLatin1String("B.lyp")));
    EXPECT_EQ(form.Viewer().GetNumSymbols(), 2);
}

TEST_F(Picker, TheLabelsOwnSymbolsComeFirst)
{
    TZORLibrary lib;
    lib.LoadFromFile(Path(QStringLiteral("a2.lyp")), QString());
    label.AddSymbol(lib.CopySymbol(1), false);
    TfSelSymbol form;
    form.Ini(label, DirPath(), QString());
    EXPECT_EQ(Tree(form), QStringLiteral("Current drawing;Top;A(B(C);B(D));Top"));
    EXPECT_EQ(form.Viewer().GetNumSymbols(), 1);
}

TEST_F(Picker, AMissingFolderSaysSoAndLeavesTheTreeEmpty)
{
    const QString folders[] = { Path(QStringLiteral("nowhere")), QString() };
    for (const QString& folder : folders) {
        dialogs.Messages.clear();
        TfSelSymbol form;
        form.Ini(label, folder, QString());
        EXPECT_EQ(dialogs.Messages, QStringList { "Incorrect path or search mask" });
        EXPECT_EQ(Tree(form), QString());
        EXPECT_EQ(form.Viewer().GetNumSymbols(), 0);
    }
}

// A folder and a file whose names hold "=" are listed and read like any other.
TEST_F(Picker, AnEqualsSignInThePathIsKept)
{
    ASSERT_TRUE(QDir(DirPath()).mkdir(QStringLiteral("a=b")));
    ASSERT_TRUE(WriteLibrary(Path(QStringLiteral("a=b/k=v.lyp")),
        { SymbolJson(QStringLiteral("E1"), QStringLiteral("Eq")),
            SymbolJson(QStringLiteral("E2"), QStringLiteral("Eq")) }));
    TfSelSymbol form;
    form.Ini(label, Path(QStringLiteral("a=b")), QString());
    ASSERT_EQ(form.Categories().size(), 1u);
    EXPECT_EQ(form.Categories()[0].first, Path(QStringLiteral("a=b/k=v.lyp")));
    EXPECT_EQ(Tree(form), QStringLiteral("Eq"));
    EXPECT_EQ(form.Viewer().GetNumSymbols(), 2);
}

// OK without a symbol clicked is a cancel; with one it hands out a copy.
TEST_F(Picker, OkNeedsAChosenSymbol)
{
    TfSelSymbol form;
    form.Ini(label, DirPath(), QStringLiteral("D"));
    form.butOKClick();
    EXPECT_EQ(form.result(), QDialog::Rejected);
    TZORViewLibrary& view = form.Viewer();
    ASSERT_GT(view.Cols(), 0);
    Click(*view.viewport(), { view.MarginLeft() + 20, view.MarginTop() + 20 });
    form.butOKClick();
    EXPECT_EQ(form.result(), QDialog::Accepted);
    const std::unique_ptr<TZORLibSymbol> chosen = form.GetSelection();
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->GetName(), QStringLiteral("D1"));
}
