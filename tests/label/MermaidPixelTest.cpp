// Imported Mermaid diagrams as they come out on paper: a flowchart whose links skip nodes and
// run back, and a sequence diagram with notes and messages to oneself. Nothing may lie over a
// node or a note, no text may be cut and everything must be on the paper.

#include "elements/composite/Zor.Vcl.Composite.h"
#include "elements/lines/Zor.Vcl.Lines.h"
#include "elements/text/Zor.Vcl.Text.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.Shared.Factory.h"
#include "label/Zor.Vcl.h"

#include <QImageReader>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

using namespace zor::test;

constexpr double Dpi = 96.0;

class MermaidPixels : public TempDirTest {
protected:
    void Import(const char* text) { ASSERT_TRUE(TZORFactory::LoadMermaid(label, QString::fromUtf8(text))); }

    // The whole page as an image at 96 dpi.
    QImage Page()
    {
        zor::TExportOptions o;
        o.kind = TZORExport::PNG;
        o.fileName = Path(QStringLiteral("page%1.png").arg(++fPages));
        zor::ExportLabel(label, o);
        QImageReader reader(o.fileName);
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        EXPECT_FALSE(image.isNull()) << reader.errorString().toStdString();
        return image;
    }

    // The page with only the elements for which `keep` holds.
    QImage PageOf(const char* text, const std::function<bool(int32_t, const TZORBaseItem&)>& keep)
    {
        Import(text);
        std::vector<TZORBaseItem*> dropped;
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i)
            if (!keep(i, *label.GetItem(i)))
                dropped.push_back(label.GetItem(i));
        for (TZORBaseItem* item : dropped)
            label.DeleteItem(item);
        return Page();
    }

    // The pixels of an element's box, drawn `inset` pixels smaller on every side.
    static QRect Pixels(const TZORBaseItem& item, int inset = 0)
    {
        const auto px = [](int64_t base) { return int(double(base) / 25400.0 * Dpi); };
        const QRect r(QPoint(px(item.GetPoint(1).X), px(item.GetPoint(1).Y)),
            QPoint(px(item.GetPoint(2).X), px(item.GetPoint(2).Y)));
        return r.normalized().adjusted(inset, inset, -inset, -inset);
    }

    // Every element lies on the paper, and so does every pixel of ink, with a pixel to spare.
    void ExpectAllOnPaper(const QImage& page)
    {
        const int64_t w = label.Measure().GetSize(TZORSizeKind::PaperWidth);
        const int64_t h = label.Measure().GetSize(TZORSizeKind::PaperHeight);
        for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
            const TZORRect& b = label.GetItem(i)->GetBounds();
            EXPECT_TRUE(b.Left >= 0 && b.Top >= 0 && b.Right <= w && b.Bottom <= h) << "element " << i;
        }
        const QRect ink = InkBounds(page);
        ASSERT_FALSE(ink.isNull());
        EXPECT_TRUE(page.rect().adjusted(1, 1, -1, -1).contains(ink))
            << "ink " << ink.x() << "," << ink.y() << " " << ink.width() << "x" << ink.height();
    }

    TZORLabelVCL label;

private:
    int fPages = 0;
};

// Pixels with ink in both images.
int CommonInk(const QImage& a, const QImage& b, const Ink& ink = {})
{
    const QImage ma = InkMask(a, ink), mb = InkMask(b, ink);
    int n = 0;
    for (int y = 0; y < ma.height(); ++y)
        for (int x = 0; x < ma.width(); ++x)
            n += qGray(ma.pixel(x, y)) < 128 && qGray(mb.pixel(x, y)) < 128;
    return n;
}

// Where the image differs from `base`: black on white.
QImage Added(const QImage& image, const QImage& base)
{
    QImage out(image.size(), QImage::Format_Grayscale8);
    out.fill(255);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixel(x, y) != base.pixel(x, y))
                out.setPixel(x, y, qRgb(0, 0, 0));
    return out;
}

// Pixels of `region` that differ between the two images.
int Differing(const QImage& a, const QImage& b, const QRect& region)
{
    int n = 0;
    for (int y = region.top(); y <= region.bottom(); ++y)
        for (int x = region.left(); x <= region.right(); ++x)
            n += a.pixel(x, y) != b.pixel(x, y);
    return n;
}

// Every character of the text is laid out in lines: none is cut.
int32_t LaidOut(const TxtLines& lines)
{
    int32_t n = 0;
    for (const TZORTxtInf& line : lines)
        n += line.count;
    return n;
}

// Ten nodes, links back by one and by several, links forward over several nodes.
const char* const TenNodes = R"M(flowchart LR
    n1([Start]) --> n2[Read order] --> n3{Valid?}
    n3 -->|no| n2
    n3 -->|yes| n4[Reserve stock] --> n5[Charge card] --> n6{Paid?}
    n6 -->|no| n3
    n6 -->|yes| n7[Pack] --> n8[Ship] --> n9[Notify] --> n10((End))
    n4 --> n7
    n2 --> n9
    n9 --> n1
    n5 -.-> n8
)M";

bool IsLink(const TZORBaseItem& item)
{
    return item.TypeCode() == TZORItemType::Link;
}

TEST_F(MermaidPixels, TenNodeFlowchartLinksPassNoNodeAndLieOnNoOtherLink)
{
    const QImage page = PageOf(TenNodes, [](int32_t, const TZORBaseItem&) { return true; });
    const SaveOnFailure keep(page, QStringLiteral("flowchart"));
    ExpectAllOnPaper(page);
    std::vector<const TZORFlow*> nodes;
    int links = 0;
    for (int32_t i = 1; i <= label.GetItemsCount(); ++i) {
        if (const auto* flow = dynamic_cast<const TZORFlow*>(label.GetItem(i)))
            nodes.push_back(flow);
        links += IsLink(*label.GetItem(i));
    }
    ASSERT_EQ(nodes.size(), 10u);
    ASSERT_EQ(links, 15);
    std::vector<QRect> boxes;
    for (const TZORFlow* node : nodes) {
        boxes.push_back(Pixels(*node, 3));
        // Every node shows on the paper with its whole text.
        EXPECT_GT(InkCount(page, {}, Pixels(*node)), 0) << node->GetText().toStdString();
        TZORFontMetrics metrics;
        EXPECT_EQ(LaidOut(node->LayOut(metrics)), node->GetText().size()) << node->GetText().toStdString();
    }

    // Without the links, the nodes look the same: no link passes over one.
    const QImage bare = PageOf(TenNodes, [](int32_t, const TZORBaseItem& item) { return !IsLink(item); });
    for (size_t i = 0; i < boxes.size(); ++i)
        EXPECT_EQ(Differing(page, bare, boxes[i]), 0) << "node " << i + 1;

    // Each link alone with the nodes: two links share no more ink than where they cross or meet
    // at a node.
    std::vector<QImage> alone;
    for (int k = 0; k < links; ++k) {
        int seen = 0;
        alone.push_back(Added(PageOf(TenNodes,
                                  [&](int32_t, const TZORBaseItem& item) { return !IsLink(item) || seen++ == k; }),
            bare));
        ASSERT_GT(InkCount(alone.back()), 0) << "link " << k;
    }
    for (int a = 0; a < links; ++a)
        for (int b = a + 1; b < links; ++b) {
            const int common = CommonInk(alone[a], alone[b]);
            const int least = std::min(InkCount(alone[a]), InkCount(alone[b]));
            EXPECT_LT(common * 10, least) << "links " << a << " and " << b << ": " << common << " of " << least;
        }
}

const char* const WithNotes = R"M(sequenceDiagram
    participant A as Alice
    participant B as Bob
    participant C as Carol
    Note over C: Ready
    Note left of A: Starts<br/>here
    A->>B: Hello Bob
    B->>B: Think it over
    Note over A,B: A note over two
    B-->>C: Pass it on to Carol, who decides what comes next
    C->>C: Check
    Note right of C: Last word
    C-xA: Reply lost
    Note over B: Waits
)M";

// A note is a filled paragraph; so are no other elements of the diagram.
bool IsNote(const TZORBaseItem& item)
{
    const auto* para = dynamic_cast<const TZORParagraph*>(&item);
    return para && para->GetFilled();
}

TEST_F(MermaidPixels, SequenceNotesAndMessagesToOneselfShowWholeOnThePaper)
{
    const QImage page = PageOf(WithNotes, [](int32_t, const TZORBaseItem&) { return true; });
    const SaveOnFailure keep(page, QStringLiteral("sequence"));
    ExpectAllOnPaper(page);
    // Heads (6), lifelines (3), rows, feet (6).
    const int32_t firstRow = 10, lastRow = label.GetItemsCount() - 6;
    int notes = 0;
    for (int32_t i = firstRow; i <= lastRow; ++i) {
        auto* para = dynamic_cast<TZORParagraph*>(label.GetItem(i));
        if (!para)
            continue;
        notes += IsNote(*para);
        // The whole text is laid out in its box, and it shows there.
        EXPECT_EQ(LaidOut(para->GetLines()), para->GetText().size()) << para->GetText().toStdString();
        EXPECT_GT(InkCount(page, {}, Pixels(*para)), 0) << para->GetText().toStdString();
    }
    EXPECT_EQ(notes, 5);

    // The notes (their fill counts as ink) and the messages have no pixel in common.
    const Ink fill { Qt::white, 8 };
    const QImage onlyNotes = PageOf(WithNotes, [&](int32_t, const TZORBaseItem& item) { return IsNote(item); });
    const QImage onlyMessages = PageOf(WithNotes, [&](int32_t i, const TZORBaseItem& item) {
        return i >= firstRow && i <= lastRow && !IsNote(item);
    });
    ASSERT_GT(InkCount(onlyNotes, fill), 0);
    ASSERT_GT(InkCount(onlyMessages), 0);
    EXPECT_EQ(CommonInk(onlyNotes, onlyMessages, fill), 0);
    // Nor do the notes and the boxes of the participants.
    const QImage onlyBoxes = PageOf(WithNotes, [&](int32_t i, const TZORBaseItem&) {
        return i <= 6 || i > lastRow;
    });
    EXPECT_EQ(CommonInk(onlyNotes, onlyBoxes, fill), 0);
}

} // namespace
