// The single-line text: where its ink lies for each alignment and angle, the editor's clip, the
// horizontal scale, the caret, data binding, and texts in other scripts and missing fonts.

#include "TextScenes.h"
#include "elements/composite/Zor.Vcl.Flow.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"

#include <QFont>
#include <QFontMetricsF>

#include <gtest/gtest.h>

#include <cmath>

using zor::Ord;
using zor::TAlphaColor;
using zor::TSkFont;
using zor::TSkFontStyle;

namespace {

using namespace zor::test;

constexpr TAlphaColor Red { 0xFFFF0000 };

// Where a block of w × h millimetres lies when it is placed at (ax, ay) by a horizontal alignment
// (vertical: top) and turned counter-clockwise by `angle` quarter turns about that point.
QRectF Block(double ax, double ay, double w, double h, TZORHorzAlign align, TZORAngle angle)
{
    const double u0 = align == TZORHorzAlign::Left ? 0.0 : align == TZORHorzAlign::Center ? -w / 2.0 : -w;
    const auto turn = [&](double u, double v) {
        switch (angle) {
        case TZORAngle::Angle90:
            return QPointF(ax + v, ay - u);
        case TZORAngle::Angle180:
            return QPointF(ax - u, ay - v);
        case TZORAngle::Angle270:
            return QPointF(ax - v, ay + u);
        case TZORAngle::Angle0:
            break;
        }
        return QPointF(ax + u, ay + v);
    };
    return QRectF(turn(u0, 0.0), turn(u0 + w, h)).normalized();
}

bool Upright(TZORAngle a)
{
    return (zor::Ord(a) & 1) == 0;
}

TEST(Text, InkLiesInTheBlockOfItsAlignmentAndAngle)
{
    for (const int scale : Scales)
        for (const TTarget target : BothTargets)
            for (const TZORAngle angle :
                { TZORAngle::Angle0, TZORAngle::Angle90, TZORAngle::Angle180, TZORAngle::Angle270 })
                for (const TZORHorzAlign align :
                    { TZORHorzAlign::Left, TZORHorzAlign::Center, TZORHorzAlign::Right }) {
                    SCOPED_TRACE(testing::Message()
                        << Name(target) << ", scale " << scale << ", angle " << int(zor::Ord(angle))
                        << ", align " << int(zor::Ord(align)));
                    TScene scene(scale);
                    TZORText& text = AddText(scene, 18, 18, QStringLiteral("Hxgjkl"), 5.0f);
                    text.SetAngle(angle);
                    text.SetHorzAlign(align);
                    text.CalcValues(0);
                    const double w = text.GetTextWidth() / 1000.0;
                    const QImage image = scene.Render(target, Dpi);
                    const SaveOnFailure keep(image, QStringLiteral("text"));
                    const QRect ink = InkBounds(image);
                    ASSERT_FALSE(ink.isNull());
                    const QRectF block = DeviceRect(Dpi, Block(18, 18, w, 5.0, align, angle));
                    EXPECT_TRUE(block.adjusted(-3, -3, 3, 3).contains(QRectF(ink)))
                        << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height()
                        << ", block " << block.x() << "," << block.y() << " " << block.width() << "x"
                        << block.height();
                    const double along = Upright(angle) ? ink.width() : ink.height();
                    EXPECT_GT(along, 0.85 * Pixels(Dpi, w));
                }
}

TEST(Text, PaddingsAndTheFrameSurroundTheText)
{
    for (const TTarget target : BothTargets) {
        SCOPED_TRACE(Name(target));
        TScene scene;
        TZORText& text = AddText(scene, 10, 10, QStringLiteral("Frame"), 5.0f);
        text.SetPaddingX(2.0f);
        text.SetPaddingY(1.0f);
        text.SetPenWidth(0.5f);
        text.SetColor(Red);
        text.CalcValues(0);
        const QImage image = scene.Render(target, Dpi);
        const SaveOnFailure keep(image, QStringLiteral("frame"));
        const double w = text.GetTextWidth() / 1000.0;
        // The frame holds the text and its paddings, from the anchor on.
        const QRectF frame = DeviceRect(Dpi, QRectF(10, 10, w + 4.0, 7.0));
        // The screen strokes it inside the frame, paper on the frame's edge.
        const QRect red = ColourBounds(image, QColor(255, 0, 0), 60);
        const double out = target == TTarget::Print ? Pixels(Dpi, 0.25) : 0.0;
        EXPECT_NEAR(red.left(), frame.left() - out, 1.5);
        EXPECT_NEAR(red.top(), frame.top() - out, 1.5);
        EXPECT_NEAR(red.right() + 1, frame.right() + out, 1.5);
        EXPECT_NEAR(red.bottom() + 1, frame.bottom() + out, 1.5);
        // The black text starts one padding in.
        const QRect black = ColourBounds(image, QColor(0, 0, 0), 60);
        EXPECT_NEAR(black.left(), frame.left() + Pixels(Dpi, 2.0), Pixels(Dpi, 0.4));
    }
}

// A text wider than its width limit: the editor shows only the limit's width, the preview,
// export and paper show it whole.
TEST(Text, TheEditorAloneClipsAtTheWidthLimit)
{
    const struct {
        TTarget Target;
        bool Clipped;
    } cases[] = { { TTarget::Editor, true }, { TTarget::Preview, false }, { TTarget::Export, false },
        { TTarget::Print, false } };
    for (const TZORHorzAlign align : { TZORHorzAlign::Left, TZORHorzAlign::Center, TZORHorzAlign::Right })
        for (const auto& c : cases) {
            SCOPED_TRACE(testing::Message() << Name(c.Target) << ", align " << int(zor::Ord(align)));
            TScene scene;
            TZORText& text = AddText(scene, 18, 10, QStringLiteral("MMMMMMMMMM"), 5.0f);
            text.SetHorzAlign(align);
            text.SetWidthLimit(8.0f);
            text.SetUnderline(true); // the underline runs the whole width: the clip cuts it exactly
            text.CalcValues(0);
            ASSERT_GT(text.GetTextWidth(), 20000);
            const QRect ink = InkBounds(scene.Render(c.Target, Dpi));
            if (c.Clipped)
                EXPECT_NEAR(ink.width(), Pixels(Dpi, 8.0), 4);
            else
                EXPECT_GT(ink.width(), Pixels(Dpi, 19.0));
        }
}

// A horizontal scale stretches the text along its line on paper, at every angle.
TEST(Text, HorizontalScaleStretchesThePrintAlongTheLine)
{
    for (const TZORAngle angle : { TZORAngle::Angle0, TZORAngle::Angle90 }) {
        SCOPED_TRACE(int(zor::Ord(angle)));
        QSizeF sizes[2];
        for (int i = 0; i < 2; ++i) {
            TScene scene;
            TZORText& text = AddText(scene, 5, 30, QStringLiteral("Stretch"), 4.0f);
            text.SetAngle(angle);
            text.SetScale(i == 0 ? 1.0f : 2.0f);
            text.CalcValues(0);
            const QRect ink = InkBounds(scene.Render(TTarget::Print, Dpi));
            sizes[i] = Upright(angle) ? QSizeF(ink.width(), ink.height()) : QSizeF(ink.height(), ink.width());
        }
        EXPECT_NEAR(sizes[1].width() / sizes[0].width(), 2.0, 0.05);
        EXPECT_NEAR(sizes[1].height(), sizes[0].height(), 2);
    }
}

// The caret stands after the characters before it, in red, only while the text has the focus;
// a caret beyond the edit text stands at its end.
TEST(Text, TheCaretStandsAfterTheCharactersBeforeIt)
{
    struct TCase {
        int32_t Pos;
        int32_t Chars; // characters before the caret as drawn
    };
    const QString edit = QStringLiteral("Caret");
    for (const TCase& c :
        { TCase { 0, 0 }, TCase { 2, 2 }, TCase { 5, 5 }, TCase { 40, 5 }, TCase { -3, 0 } }) {
        SCOPED_TRACE(c.Pos);
        TScene scene;
        TZORText& text = AddText(scene, 10, 10, edit, 5.0f);
        const TEditing editing(text, 15);
        const QImage image = EditorRender(scene, Dpi, [&](TZORDraw& D) {
            editing.To(D);
            D.aTxt = edit;
            D.aPos = c.Pos;
            D.aFocused = true;
        });
        const SaveOnFailure keep(image, QStringLiteral("caret"));
        const QRect caret = ColourBounds(image, QColor(255, 0, 0), 60);
        ASSERT_FALSE(caret.isNull());
        const TSkFont font(Sans, TSkFontStyle::Normal, 5.0 * Dpi / 25.4 * text.GetMetrics().Ratio);
        const double x = PixelF(Dpi, 10, 10).x() + font.MeasureText(edit.left(c.Chars));
        EXPECT_NEAR(caret.left(), x, 1.5);
        EXPECT_LE(caret.width(), 2);
        EXPECT_NEAR(caret.height(), Pixels(Dpi, 5.0), 3);
        // Without the focus there is no caret.
        const QImage unfocused = EditorRender(scene, Dpi, [&](TZORDraw& D) {
            editing.To(D);
            D.aTxt = edit;
            D.aPos = c.Pos;
        });
        EXPECT_EQ(CountColour(unfocused, QColor(255, 0, 0), 60), 0);
    }
}

// Only the editor marks an element bound to data; paper prints the data value while the screen
// shows the element's own text.
TEST(Text, ABoundTextMarksTheEditorAndPrintsItsValue)
{
    TScene scene;
    scene.Label().Records = { QStringLiteral("IIIIIIIIIIIIIIIIIIII") };
    TZORText& text = AddText(scene, 10, 10, QStringLiteral("M"), 5.0f);
    text.SetFillType(1);
    text.SetFillName(QStringLiteral("Name"));
    const QPoint marker = Pixel(Dpi, 10, 10);
    EXPECT_TRUE(ColourNear(scene.Render(TTarget::Editor, Dpi), marker, QColor(0x90, 0xEE, 0x90), 8));
    for (const TTarget target : { TTarget::Preview, TTarget::Export })
        EXPECT_FALSE(ColourNear(scene.Render(target, Dpi), marker, QColor(0x90, 0xEE, 0x90), 8))
            << Name(target);
    const int shown = InkBounds(scene.Render(TTarget::Export, Dpi)).width();
    const int printed = InkBounds(scene.Render(TTarget::Print, Dpi)).width();
    EXPECT_GT(printed, 3 * shown);
    EXPECT_EQ(text.GetText(), QStringLiteral("M"));
}

class TextPdf : public TempDirTest { };

// Each text kind holding a Greek and a Cyrillic word, in the font.
struct TScriptCase {
    const char* Name;
    void (*Place)(TScene& scene, const QString& font);
};

const QString Greek = QStringLiteral("Αλφάβητο");
const QString Cyrillic = QStringLiteral("Кириллица");

const TScriptCase ScriptCases[] = {
    { "text",
        [](TScene& scene, const QString& font) {
            TZORText& greek = AddText(scene, 5, 5, Greek, 4.0f);
            TZORText& cyrillic = AddText(scene, 5, 15, Cyrillic, 4.0f);
            for (TZORText* t : { &greek, &cyrillic }) {
                t->SetFontName(font);
                t->CalcValues(0);
                EXPECT_GT(t->GetTextWidth(), 10000);
            }
        } },
    { "paragraph",
        [](TScene& scene, const QString& font) {
            TZORParagraph& p
                = AddParagraph(scene, QRectF(3, 3, 34, 15), Greek + QLatin1Char(' ') + Cyrillic, 3.0f);
            p.SetFontName(font);
            p.CalcValues(0);
        } },
    { "rich text",
        [](TScene& scene, const QString& font) {
            TZORRichText& r = AddRichText(scene, QRectF(3, 3, 34, 15),
                QStringLiteral("<B>") + Greek + QLatin1Char(' ') + Cyrillic, 3.0f);
            r.SetRichFontName(font);
            r.CalcValues(0);
            EXPECT_FALSE(r.GetSegments().empty());
        } },
};

// Greek and Cyrillic come out on screen and in the document from every text kind; a font that
// does not exist falls back to one that does.
TEST_F(TextPdf, OtherScriptsAndMissingFontsDraw)
{
    for (const TScriptCase& c : ScriptCases)
        for (const QString& font : { Sans, QStringLiteral("No Such Font 4711") }) {
            SCOPED_TRACE(testing::Message() << c.Name << ", " << font.toStdString());
            TScene scene;
            c.Place(scene, font);
            for (const TTarget target : { TTarget::Editor, TTarget::Export, TTarget::Print })
                EXPECT_GT(InkCount(scene.Render(target, Dpi)), 500) << Name(target);
            const QString pdf = Path(QStringLiteral("scripts.pdf"));
            scene.PrintPdf(pdf, Dpi, 1, [](int) {});
            EXPECT_EQ(PdfText(pdf).simplified(), Greek + QLatin1Char(' ') + Cyrillic);
        }
}

} // namespace

namespace {

// The row of the longest ink run: an underline outruns every glyph of the text.
int LongestRunRow(const QImage& image)
{
    int row = -1, longest = 0;
    for (int y = 0; y < image.height(); ++y)
        for (const int run : InkLengths(RowRuns(image, y)))
            if (run > longest) {
                longest = run;
                row = y;
            }
    return row;
}

} // namespace

// On screen each kind places its underline by its own rule: a text the font's descent less its
// underline position below the baseline, a paragraph and a flowchart node the measured third
// metric below it, which is 0: on the baseline.
TEST(Text, EachKindUnderlinesAtItsOwnPlace)
{
    constexpr float Height = 12.0f;
    QFont reference(Sans);
    reference.setPixelSize(1000);
    const QFontMetricsF fm(reference);
    const double textDrop = (fm.descent() - std::abs(fm.underlinePos())) / 1000.0;
    const struct {
        const char* name;
        std::function<TZORBaseItem&(TScene&)> make;
        double drop; // below the baseline, in ems
    } cases[] = {
        { "text", [&](TScene& s) -> TZORBaseItem& { return AddText(s, 2, 5, QStringLiteral("HHH"), Height); },
            textDrop },
        { "paragraph",
            [&](TScene& s) -> TZORBaseItem& {
                return AddParagraph(s, QRectF(2, 5, 34, 20), QStringLiteral("HHH"), Height);
            },
            0.0 },
        { "flowchart node",
            [&](TScene& s) -> TZORBaseItem& {
                TZORFlow& flow = s.Add<TZORFlow>();
                flow.AssignPoints(std::vector<TZORPto> { s.Pt(2, 5), s.Pt(36, 30) });
                flow.SetFlowType(TZORFlowType::Process);
                flow.SetPenWidth(0.0f);
                flow.SetColor(White);
                flow.SetFontName(Sans);
                flow.SetFontHeight(Height);
                flow.SetText(QStringLiteral("HHH"));
                return flow;
            },
            0.0 },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const auto render = [&](bool underline, double& ratio) {
            TScene scene;
            TZORBaseItem& item = c.make(scene);
            if (auto* text = dynamic_cast<TZORText*>(&item)) {
                text->SetUnderline(underline);
                text->CalcValues(0);
                ratio = text->GetMetrics().Ratio;
            } else if (auto* para = dynamic_cast<TZORParagraph*>(&item)) {
                para->SetUnderline(underline);
                para->CalcValues(0);
                ratio = para->GetMetrics().Ratio;
            } else {
                auto& flow = dynamic_cast<TZORFlow&>(item);
                flow.SetUnderline(underline);
                ratio = zor::FontMetricsOf(Sans, int32_t(Height * 1000), false, false).Ratio;
            }
            return scene.Render(TTarget::Export, Dpi);
        };
        double ratio = 1.0;
        const QImage plain = render(false, ratio);
        const QImage lined = render(true, ratio);
        const SaveOnFailure keep(lined, QString::fromLatin1(c.name));
        // The letters' feet stand on the baseline.
        const double baseline = InkBounds(plain).bottom() + 1;
        const double em = Pixels(Dpi, Height) * ratio;
        EXPECT_NEAR(LongestRunRow(lined) + 0.5, baseline + c.drop * em, 1.5);
    }
}
