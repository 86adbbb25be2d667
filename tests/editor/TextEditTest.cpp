// In-place text editing in the editor: the caret where a click lands (from the text metrics, at
// 0 and 90 degrees), typing, deleting, moving and selecting with synthesized keys and clicks,
// the rich-text bar and its formats, undo, and the formats kept through saving, loading and a
// PDF export.

#include "ShownEditor.h"
#include "Zor.Edit.h"
#include "editor/Zor.EditorText.h"
#include "editor/Zor.RichTextBar.h"
#include "editor/Zor.Vcl.Editor.h"
#include "elements/text/Zor.Vcl.Text.Caret.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "kit/Dialogs.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "kit/Widgets.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QComboBox>
#include <QInputMethodEvent>
#include <QMenu>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>

using zor::FindNextWordBoundary;
using zor::FindPrevWordBoundary;
using zor::TAct;
using zor::TxtLines;

namespace {

using namespace zor::test;
using namespace Qt::StringLiterals;

constexpr double PadMM = 1.0;
const QString Font = u"DejaVu Sans"_s;

// A page of 150 x 100 mm with a rich text in the box (10, 15) .. (90, 95) mm, 8 mm high
// letters, a padding of 1 mm, in an editor at 100 % and 96 dpi.
class TextEdit : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        TAct::Reset();
        label.Measure().SetPaperWidth(150000);
        label.Measure().SetPaperHeight(100000);
        label.Measure().SetWidth(150000);
        label.Measure().SetHeight(100000);
        rich = label.AddBaseRichText(10000, 15000, 80000, 80000);
        rich->SetRichFontName(Font);
        rich->SetFontHeight(8.0f);
        rich->SetPaddingX(float(PadMM));
        rich->SetPaddingY(float(PadMM));
        editor = zor::test::ShownEditor(label, { 700, 500 }, eoRichTextBar | eoDoubleClick);
        QApplication::setActiveWindow(editor.get());
        Surface().setFocus();
    }
    void TearDown() override
    {
        editor.reset();
        TAct::Reset();
        TempDirTest::TearDown();
    }

    TZORBackEditor& Surface() { return editor->Surface(); }
    TZOREditorText& Text() { return editor->TextEditing(); }
    TZOREditorGeometry& G() { return Surface().G; }
    QPoint Pixel(double xmm, double ymm)
    {
        return { G().ScreenMMX(int64_t(std::lround(xmm * 1000))),
            G().ScreenMMY(int64_t(std::lround(ymm * 1000))) };
    }
    // Starts editing the rich text as a user does: a click selects it, a double click edits it.
    void StartEditing()
    {
        const QPoint inside = Pixel(60, 80);
        QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, inside);
        QTest::mouseDClick(&Surface(), Qt::LeftButton, Qt::NoModifier, inside);
        ASSERT_TRUE(Text().Editing());
        ASSERT_EQ(Text().RichText(), rich);
    }
    void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier)
    {
        QTest::keyClick(&Surface(), key, mods);
    }
    void Type(const QString& s) { QTest::keyClicks(&Surface(), s); }
    void Press(const char* button)
    {
        QTest::mouseClick(&Child<QToolButton>(*editor, button), Qt::LeftButton);
    }
    void Select(int a, int b)
    {
        Text().SetCaret(a, false);
        Text().SetCaret(b, true);
    }
    // The width of a text in the rich text's own font, paper micrometres.
    int32_t Width(const QString& s) const { return zor::MetricWidth(s, rich->GetFormats().front()); }

    TZORLabelVCL label;
    TZORRichText* rich = nullptr;
    std::unique_ptr<TZOREditor> editor;
};

} // namespace

// A click between two characters puts the caret on the nearer side of the character it lands
// on, whatever the angle: the characters' edges come from the text metrics.
TEST_F(TextEdit, ClickPutsTheCaretAtTheNearestCharacterEdge)
{
    rich->SetRichText(u"Wombat moon"_s);
    for (const TZORAngle angle : { TZORAngle::Angle0, TZORAngle::Angle90 }) {
        SCOPED_TRACE(int(angle));
        rich->SetAngle(angle);
        rich->Update();
        StartEditing();
        const double line = 4.0; // millimetres into the first line
        const struct {
            int chars; // characters before the one clicked
            double part; // how far into that character
            int expected;
        } table[] = {
            { 0, 0.2, 0 },
            { 0, 0.8, 1 },
            { 1, 0.3, 1 },
            { 1, 0.7, 2 },
            { 7, 0.25, 7 },
            { 7, 0.75, 8 },
            { 10, 0.8, 11 },
        };
        const QString t = rich->GetPlainText();
        for (const auto& c : table) {
            SCOPED_TRACE(std::to_string(c.chars) + " + " + std::to_string(c.part));
            const double before = Width(t.left(c.chars)) / 1000.0;
            const double ch = Width(t.left(c.chars + 1)) / 1000.0 - before;
            const double along = before + c.part * ch;
            // At 0 degrees the lines run right from the padded top-left corner; at 90 degrees
            // they run up from the padded bottom-left corner and advance to the right.
            const QPoint p = angle == TZORAngle::Angle0 ? Pixel(10 + PadMM + along, 15 + PadMM + line)
                                                        : Pixel(10 + PadMM + line, 95 - PadMM - along);
            QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, p);
            EXPECT_EQ(Text().Pos(), c.expected);
            EXPECT_EQ(Text().SelStart(), Text().SelEnd());
        }
        // Left of the text: its start; far to its right on the line: the line's end.
        QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier,
            angle == TZORAngle::Angle0 ? Pixel(10.3, 15 + PadMM + line) : Pixel(10 + PadMM + line, 94.7));
        EXPECT_EQ(Text().Pos(), 0);
        QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier,
            angle == TZORAngle::Angle0 ? Pixel(85, 15 + PadMM + line) : Pixel(10 + PadMM + line, 20));
        EXPECT_EQ(Text().Pos(), 11);
        label.ResetAction();
    }
}

// Lines: a click below the last line takes the last line; Up and Down keep the place along the
// line; a caret on the first line stays with Up.
TEST_F(TextEdit, LinesByClickAndKeys)
{
    // Lines that begin alike, so that the place along them is the same characters.
    rich->SetRichText(u"sea<BR>second<BR>set"_s);
    rich->Update();
    StartEditing();
    const double second = 4.0 + 8.0; // millimetres into the second line
    const double before = Width(u"se"_s) / 1000.0, ch = Width(u"sec"_s) / 1000.0 - before;
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, Pixel(11 + before + 0.3 * ch, 16 + second));
    EXPECT_EQ(Text().Pos(), 4 + 2);
    Key(Qt::Key_Up);
    EXPECT_EQ(Text().Pos(), 2);
    Key(Qt::Key_Up);
    EXPECT_EQ(Text().Pos(), 2);
    Key(Qt::Key_Down);
    EXPECT_EQ(Text().Pos(), 6);
    Key(Qt::Key_Down);
    EXPECT_EQ(Text().Pos(), 11 + 2);
    Key(Qt::Key_Down);
    EXPECT_EQ(Text().Pos(), 13);
    Key(Qt::Key_Home);
    EXPECT_EQ(Text().Pos(), 11);
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Text().SelStart(), 11);
    EXPECT_EQ(Text().SelEnd(), 14);
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, Pixel(12, 80));
    EXPECT_EQ(Text().Pos(), 11);
}

// A click in a paragraph puts the caret in the line it lands on, at the nearer edge of the
// character under it, as the paragraph laid its lines out.
TEST_F(TextEdit, AClickInAParagraphPlacesTheCaretWhereItLands)
{
    TZORParagraph* para = label.AddBaseParagraph(95000, 15000, 50000, 40000);
    para->SetFontName(Font);
    para->SetFontHeight(6.0f);
    para->SetPaddingX(float(PadMM));
    para->SetPaddingY(float(PadMM));
    para->SetText(u"Hello world\nsecond line"_s);
    para->Update();
    const QPoint inside = Pixel(120, 45);
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, inside);
    QTest::mouseDClick(&Surface(), Qt::LeftButton, Qt::NoModifier, inside);
    ASSERT_TRUE(Text().Editing());
    const TxtLines& lines = para->GetLines();
    ASSERT_EQ(lines.size(), 2u);
    const QString t = para->GetText();
    const auto width = [&](const QString& s) {
        zor::FontMetricsOf(Font, para->GetBaseFontHeight(), false, false);
        return TZORCalc::CalcTxtSize(s).width() / 1000.0;
    };
    const struct {
        size_t line;
        int chars; // characters of the line before the one clicked
        double part; // how far into that character
        int expected;
    } table[] = { { 0, 6, 0.3, 6 }, { 0, 6, 0.7, 7 }, { 1, 2, 0.3, 12 + 2 }, { 1, 2, 0.8, 12 + 3 } };
    for (const auto& c : table) {
        SCOPED_TRACE(std::to_string(c.line) + ": " + std::to_string(c.chars));
        const QString line = t.mid(lines[c.line].start - 1, lines[c.line].count);
        const double before = width(line.left(c.chars));
        const double along = before + c.part * (width(line.left(c.chars + 1)) - before);
        QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier,
            Pixel(
                95 + PadMM + lines[c.line].x / 1000.0 + along, 15 + PadMM + lines[c.line].y / 1000.0 + 1.0));
        EXPECT_EQ(Text().Pos(), c.expected);
    }
}

TEST(WordBoundaries, SeparatorsEndWords)
{
    const QString s = u"Hello, World"_s;
    EXPECT_EQ(zor::FindPrevWordBoundary(s, 12), 7);
    EXPECT_EQ(zor::FindNextWordBoundary(s, 0), 7);
    EXPECT_EQ(zor::FindPrevWordBoundary(s, 7), 0);
    EXPECT_EQ(zor::FindNextWordBoundary(s, 7), 12);
    EXPECT_EQ(zor::FindPrevWordBoundary(s, 0), 0);
    EXPECT_EQ(zor::FindNextWordBoundary(u"a (b) c"_s, 2), 3);
}

// Typed keys, an input method's text, deleting, words and a double click.
TEST_F(TextEdit, TypingDeletingAndSelecting)
{
    StartEditing();
    Type(u"Hello wrld"_s);
    EXPECT_EQ(rich->GetRichText(), u"Hello wrld"_s);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left);
    Type(u"o"_s);
    EXPECT_EQ(rich->GetPlainText(), u"Hello world"_s);
    // Text an input method composed is typed where the caret is.
    QInputMethodEvent im;
    im.setCommitString(u"é<"_s);
    QApplication::sendEvent(&Surface(), &im);
    EXPECT_EQ(rich->GetPlainText(), u"Hello woé<rld"_s);
    EXPECT_EQ(rich->GetRichText(), u"Hello woé<LT>rld"_s);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Backspace);
    // Delete takes the character after the caret; the element stays.
    Key(Qt::Key_Delete);
    EXPECT_EQ(rich->GetPlainText(), u"Hello wold"_s);
    EXPECT_EQ(label.GetItemsCount(), 1);
    EXPECT_EQ(Text().Pos(), 8);
    Key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Text().SelStart(), 6);
    EXPECT_EQ(Text().SelEnd(), 8);
    Key(Qt::Key_Delete);
    EXPECT_EQ(rich->GetPlainText(), u"Hello ld"_s);
    Type(u"wor"_s);
    EXPECT_EQ(rich->GetPlainText(), u"Hello world"_s);
    // A double click on a word selects it.
    const double at = (Width(u"Hello w"_s) + Width(u"Hello wo"_s)) / 2000.0;
    QTest::mouseDClick(&Surface(), Qt::LeftButton, Qt::NoModifier, Pixel(11 + at, 20));
    EXPECT_EQ(Text().SelStart(), 6);
    EXPECT_EQ(Text().SelEnd(), 11);
    Type(u"there"_s);
    EXPECT_EQ(rich->GetPlainText(), u"Hello there"_s);
    // A drag selects.
    QTest::mousePress(&Surface(), Qt::LeftButton, Qt::NoModifier, Pixel(10.5, 20));
    QMouseEvent move(QEvent::MouseMove, QPointF(Pixel(85, 20)), Surface().mapToGlobal(QPointF(Pixel(85, 20))),
        Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&Surface(), &move);
    QTest::mouseRelease(&Surface(), Qt::LeftButton, Qt::NoModifier, Pixel(85, 20));
    EXPECT_EQ(Text().SelStart(), 0);
    EXPECT_EQ(Text().SelEnd(), 11);
    EXPECT_TRUE(Text().Editing());
}

// Every change of the text is one step back.
TEST_F(TextEdit, EditsUndoOneByOne)
{
    rich->SetRichText(u"ab"_s);
    label.ClearUndo();
    StartEditing();
    Type(u"c"_s);
    Select(0, 3);
    Press("RichBold");
    EXPECT_EQ(rich->GetRichText(), u"<B>abc</B>"_s);
    // A step back puts a new element in the old one's place: read it from the label.
    const auto current = [this] { return static_cast<TZORRichText*>(label.GetItem(1))->GetRichText(); };
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(current(), u"abc"_s);
    Key(Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(current(), u"ab"_s);
    ASSERT_TRUE(Text().Editing());
    Key(Qt::Key_Y, Qt::ControlModifier);
    EXPECT_EQ(Text().RichText()->GetRichText(), u"abc"_s);
    Type(u"d"_s);
    EXPECT_EQ(Text().RichText()->GetRichText(), u"abcd"_s);
}

// A host may delete a shown editor in the middle of an edit: the surface's last events reach
// nothing of the editor (the sanitizer build catches a call into the half-destroyed editor), and
// the label goes on without it.
TEST_F(TextEdit, AShownEditorDeletedWhileEditing)
{
    StartEditing();
    Type(u"x"_s);
    const auto current = [this] { return static_cast<TZORRichText*>(label.GetItem(1))->GetRichText(); };
    ASSERT_TRUE(current().contains(u'x'));
    editor.reset();
    EXPECT_TRUE(label.Undo());
    EXPECT_FALSE(current().contains(u'x'));
}

// The bar shows over the rich text while it is edited, with bold pressed where the selection is
// bold; font names that would break the markup are refused.
TEST_F(TextEdit, BarAndFonts)
{
    rich->SetRichText(u"<B>bold</B> thin"_s);
    rich->Update();
    const QWidget& bar = Text().Bar();
    EXPECT_FALSE(bar.isVisible());
    StartEditing();
    ASSERT_TRUE(bar.isVisible());
    // Above the element, 4 pixels clear of it.
    EXPECT_EQ(bar.geometry().bottom() + 1 + 4, Surface().geometry().top() + Pixel(10, 15).y());
    Select(0, 4);
    EXPECT_TRUE(Text().Bar().Button(1).isChecked());
    Select(5, 9);
    EXPECT_FALSE(Text().Bar().Button(1).isChecked());
    // The font list is the label's when it has one.
    label.OnGetFontListEvent = [](QObject*, QStringList& fonts) {
        fonts = { u"Liberation Serif"_s, u"Bad<Font"_s };
    };
    Press("RichFont");
    QComboBox& combo = Text().Bar().FontCombo();
    ASSERT_EQ(combo.count(), 2);
    emit combo.textActivated(u"Bad<Font"_s);
    EXPECT_EQ(rich->GetRichText(), u"<B>bold</B> thin"_s);
    emit combo.textActivated(u"Liberation Serif"_s);
    EXPECT_EQ(rich->GetRichText(), u"<B>bold</B> <FN:Liberation Serif>thin</FN>"_s);
    // Editing ends: the bar goes.
    Key(Qt::Key_Escape);
    EXPECT_FALSE(Text().Editing());
    EXPECT_FALSE(bar.isVisible());
}

// A rich text typed, deleted and formatted in the editor keeps its formats through a save, a
// load and a PDF export.
TEST_F(TextEdit, FormatsSurviveSavingLoadingAndPdf)
{
    TScriptedDialogs dialogs;
    StartEditing();
    Type(u"Red plain bigx"_s);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_Return);
    Type(u"Bold"_s);
    EXPECT_EQ(rich->GetPlainText(), u"Red plain big\nBold"_s);
    // Bold by the bar, from the keys' selection.
    Key(Qt::Key_Left, Qt::ControlModifier | Qt::ShiftModifier);
    Press("RichBold");
    // Red through the colour chooser.
    Key(Qt::Key_Home, Qt::ControlModifier);
    Key(Qt::Key_Right, Qt::ControlModifier | Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    dialogs.AnswerColour(QColor(255, 0, 0));
    Press("RichColor");
    // 12 mm from the size menu.
    Select(10, 13);
    dialogs.AnswerPopup([](QMenu& menu) {
        for (QAction* a : menu.actions())
            if (a->text() == u"12 mm"_s)
                return a;
        return static_cast<QAction*>(nullptr);
    });
    Press("RichSize");
    const QString expected = u"<FC:FF0000>Red</FC> plain <FS:12000>big</FS><BR><B>Bold</B>"_s;
    EXPECT_EQ(rich->GetRichText(), expected);
    Key(Qt::Key_Escape);

    const QString file = Path(u"rich.json"_s);
    label.SaveToFile(file, TZORExt::Json);
    TZORLabelVCL loaded;
    loaded.LoadFromFile(file);
    ASSERT_EQ(loaded.GetItemsCount(), 1);
    auto* back = dynamic_cast<TZORRichText*>(loaded.GetItem(1));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->GetRichText(), expected);

    zor::TExportOptions o;
    o.kind = TZORExport::PDF;
    o.fileName = Path(u"rich.pdf"_s);
    zor::ExportLabel(loaded, o);
    const std::vector<PdfWord> words = PdfWords(o.fileName);
    auto find = [&](const QString& t) {
        const auto it
            = std::find_if(words.begin(), words.end(), [&](const PdfWord& w) { return w.text == t; });
        return it == words.end() ? PdfWord {} : *it;
    };
    const PdfWord red = find(u"Red"_s), plain = find(u"plain"_s), big = find(u"big"_s),
                  bold = find(u"Bold"_s);
    ASSERT_FALSE(red.text.isEmpty() || plain.text.isEmpty() || big.text.isEmpty() || bold.text.isEmpty());
    // The size: 12 mm letters against 8 mm ones; the line break: "Bold" on a line of its own.
    EXPECT_NEAR(big.h / plain.h, 1.5, 0.1);
    EXPECT_GT(bold.y, plain.y + plain.h * 0.8);
    // Bold: a bold face is embedded.
    EXPECT_TRUE(QString::fromUtf8(RunTool(u"pdffonts"_s, { o.fileName })).contains(u"Bold"_s));
    // The colour: red ink inside "Red", none inside "plain".
    const QImage page = PdfPage(o.fileName, 1, 300);
    auto inked = [&](const PdfWord& w, const QColor& c) {
        const double k = 300.0 / 72.0;
        for (int y = int(w.y * k); y < int((w.y + w.h) * k); ++y)
            for (int x = int(w.x * k); x < int((w.x + w.w) * k); ++x)
                if (ColourNear(page, QPoint(x, y), c, 60))
                    return true;
        return false;
    };
    EXPECT_TRUE(inked(red, QColor(255, 0, 0)));
    EXPECT_FALSE(inked(plain, QColor(255, 0, 0)));
}
