#include "Zor.Layer.h"
#include "drawing/Zor.Canvas.h"
#include "drawing/Zor.GdiPlus.h"
#include "drawing/Zor.Paint.h"
#include "drawing/Zor.Vcl.Types.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QBuffer>
#include <QFile>
#include <QPainter>

#include <gtest/gtest.h>

#include <cmath>

using zor::ISkCanvas;
using zor::TCanvas;
using zor::TSkCanvas;

namespace {

using namespace zor::test;

// A 40 x 30 mm label drawn at 10 pixels per millimetre, its corner 20 pixels into the page.
constexpr int Dpi = 254;
constexpr int Org = 20;
constexpr int64_t LabelW = 40000;
constexpr int64_t LabelH = 30000;
constexpr uint16_t AllBack = loDefault | loBackImage | loPrintBack | loExportBack;

enum class TTarget { Editor, Preview, Export, Print };

const char* Name(TTarget t)
{
    constexpr const char* names[] = { "editor", "preview", "export", "print" };
    return names[int(t)];
}

QByteArray Png(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// A picture whose left half is `left` and right half `right`.
QImage TwoColour(const QColor& left = Qt::red, const QColor& right = Qt::blue)
{
    QImage image(20, 10, QImage::Format_RGB32);
    image.fill(right);
    QPainter(&image).fillRect(0, 0, 10, 10, left);
    return image;
}

void Prepare(TZORLabelVCL& label, uint16_t options, int scale = 1)
{
    label.Measure().SetWidth(LabelW);
    label.Measure().SetHeight(LabelH);
    label.Measure().SetDrawScale(scale);
    TZORLayer* layer = label.GetLayer(1);
    layer->SetOptions(options);
    layer->SetImgBytes(Png(TwoColour()));
}

int Dots(int dpi, double mm)
{
    return int(std::lround(mm * dpi / 25.4));
}

// The label's background alone on a white page, as the target draws it.
QImage Render(TZORLabelVCL& label, TTarget target, bool* drawn = nullptr, int dpiX = Dpi, int dpiY = Dpi)
{
    QImage page(2 * Org + Dots(dpiX, 40), 2 * Org + Dots(dpiY, 30), QImage::Format_ARGB32_Premultiplied);
    page.fill(Qt::white);
    QPainter painter(&page);
    const int scale = label.Measure().GetDrawScale();
    TZORDraw D;
    bool done = false;
    if (target == TTarget::Print) {
        TZORPrintKit kit(painter);
        D.SetupPrint(kit, dpiX, dpiY, page.width(), page.height(), scale, TZORUnits::Millimetre);
        D.fOrgX = D.fOrgY = Org;
        done = label.PrintBackImage(D);
    } else {
        TCanvas canvas(painter);
        const ISkCanvas sk = std::make_shared<TSkCanvas>(painter);
        if (target == TTarget::Editor)
            D.SetupEditor(sk, Dpi, 1.0f, scale, false, false);
        else if (target == TTarget::Preview)
            D.SetupPreview(&canvas, sk, Dpi, 1.0f, scale);
        else
            D.SetupExport(&canvas, sk, Dpi, 1.0f, scale, false);
        D.fOrgFX = D.fOrgFY = float(Org);
        done = label.DrawBackImage(sk, D);
    }
    if (drawn)
        *drawn = done;
    return page;
}

// Centres of the label's left, right, top and bottom quarters.
const QPoint LeftQ(Org + 100, Org + 150), RightQ(Org + 300, Org + 150), TopQ(Org + 200, Org + 75),
    BottomQ(Org + 200, Org + 225);

TEST(Background, TurnsWithTheLabelOnScreenAndOnPaper)
{
    // The picture is red on its left, blue on its right; each orientation turns it a further
    // quarter counter-clockwise.
    const struct {
        uint8_t orientation;
        QPoint redAt, blueAt;
    } table[] = {
        { 0, LeftQ, RightQ },
        { 1, BottomQ, TopQ },
        { 2, RightQ, LeftQ },
        { 3, TopQ, BottomQ },
    };
    for (const int scale : { 1, 50 })
        for (const TTarget target : { TTarget::Editor, TTarget::Export, TTarget::Print })
            for (const auto& row : table) {
                SCOPED_TRACE(testing::Message()
                    << Name(target) << " orientation " << int(row.orientation) << " scale " << scale);
                TZORLabelVCL label;
                Prepare(label, AllBack, scale);
                label.SetOrientation(row.orientation);
                bool drawn = false;
                const QImage page = Render(label, target, &drawn);
                EXPECT_TRUE(drawn);
                EXPECT_TRUE(ColourNear(page, row.redAt, Qt::red, 8));
                EXPECT_TRUE(ColourNear(page, row.blueAt, Qt::blue, 8));
                // The picture fills the label box and nothing beyond it.
                EXPECT_EQ(InkBounds(page), QRect(Org, Org, 400, 300));
            }
}

TEST(Background, MarginsTurnWithThePicture)
{
    // Margins left 5, top 2, right 3, bottom 4 mm of the picture; where they land on the page
    // (left, top, right, bottom) for each orientation.
    const struct {
        uint8_t orientation;
        double left, top, right, bottom;
    } table[] = {
        { 0, 5, 2, 3, 4 },
        { 1, 2, 3, 4, 5 },
        { 2, 3, 4, 5, 2 },
        { 3, 4, 5, 2, 3 },
    };
    // The printer's resolutions differ, so a vertical margin measured along X shows.
    const struct {
        TTarget target;
        int dpiX, dpiY;
    } targets[] = { { TTarget::Editor, Dpi, Dpi }, { TTarget::Print, Dpi, 2 * Dpi } };
    for (const auto& t : targets)
        for (const auto& row : table) {
            SCOPED_TRACE(testing::Message() << Name(t.target) << " orientation " << int(row.orientation));
            TZORLabelVCL label;
            Prepare(label, AllBack);
            label.SetOrientation(row.orientation);
            TZORLayer* layer = label.GetLayer(1);
            layer->SetImgMarLeft(5);
            layer->SetImgMarTop(2);
            layer->SetImgMarRight(3);
            layer->SetImgMarBottom(4);
            const QImage page = Render(label, t.target, nullptr, t.dpiX, t.dpiY);
            const QRect ink = InkBounds(page);
            const double kx = t.dpiX / 25.4, ky = t.dpiY / 25.4;
            EXPECT_NEAR(ink.left(), Org + row.left * kx, 1.0);
            EXPECT_NEAR(ink.top(), Org + row.top * ky, 1.0);
            EXPECT_NEAR(ink.right() + 1, Org + (40 - row.right) * kx, 1.0);
            EXPECT_NEAR(ink.bottom() + 1, Org + (30 - row.bottom) * ky, 1.0);
        }
}

TEST(Background, EachTargetAsksForItsOwnOptions)
{
    constexpr uint16_t Image = loView | loBackImage;
    const struct {
        const char* name;
        uint16_t options;
        bool editor, preview, exported, printed;
    } table[] = {
        { "image", Image, true, false, false, false },
        { "map", loView | loBackMap, true, false, false, false },
        { "printed", Image | loPrintBack, true, true, false, true },
        { "exported", Image | loExportBack, true, false, true, false },
        { "everywhere", AllBack, true, true, true, true },
        { "hidden layer", loBackImage | loPrintBack | loExportBack, false, false, false, false },
        { "no background", loDefault | loPrintBack | loExportBack, false, false, false, false },
    };
    for (const auto& row : table) {
        const std::pair<TTarget, bool> expected[]
            = { { TTarget::Editor, row.editor }, { TTarget::Preview, row.preview },
                  { TTarget::Export, row.exported }, { TTarget::Print, row.printed } };
        for (const auto& [target, shown] : expected) {
            SCOPED_TRACE(testing::Message() << row.name << " on " << Name(target));
            TZORLabelVCL label;
            Prepare(label, row.options);
            bool drawn = !shown;
            const QImage page = Render(label, target, &drawn);
            EXPECT_EQ(drawn, shown);
            EXPECT_EQ(InkCount(page) > 0, shown);
        }
    }
}

TEST(Background, TheFirstLayerWithABackgroundIsShown)
{
    TZORLabelVCL label;
    Prepare(label, loDefault);
    TZORLayer* second = label.AddLayer(QStringLiteral("Back"));
    second->SetOptions(AllBack);
    second->SetImgBytes(Png(TwoColour(Qt::green, Qt::green)));
    bool drawn = false;
    const QImage page = Render(label, TTarget::Editor, &drawn);
    EXPECT_TRUE(drawn);
    EXPECT_TRUE(ColourNear(page, LeftQ, Qt::green, 8));
}

class BackgroundFile : public TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        Prepare(label, AllBack);
        label.SetImageFolder(DirPath());
        label.GetLayer(1)->SetImgBytes({});
        label.GetLayer(1)->SetFileImg(QStringLiteral("back.png"));
    }
    void Write(const QImage& picture)
    {
        ASSERT_TRUE(WriteFile(Path(QStringLiteral("back.png")), Png(picture)));
    }
    bool Draws()
    {
        bool drawn = false;
        page = Render(label, TTarget::Editor, &drawn);
        return drawn;
    }

    TZORLabelVCL label;
    QImage page;
};

TEST_F(BackgroundFile, DecodedOnceAndReadAgainWhenTheImageChanged)
{
    Write(TwoColour(Qt::red, Qt::red));
    ASSERT_TRUE(Draws());
    EXPECT_TRUE(ColourNear(page, LeftQ, Qt::red, 8));

    // Rewritten under the same name: the picture decoded before serves until told.
    Write(TwoColour(Qt::green, Qt::green));
    ASSERT_TRUE(Draws());
    EXPECT_TRUE(ColourNear(page, LeftQ, Qt::red, 8));
    label.SetImageChanged(true);
    ASSERT_TRUE(Draws());
    EXPECT_TRUE(ColourNear(page, LeftQ, Qt::green, 8));
    EXPECT_FALSE(label.GetImageChanged());

    // New bytes are a new source: no flag needed, and they win over the file.
    label.GetLayer(1)->SetImgBytes(Png(TwoColour(Qt::blue, Qt::blue)));
    ASSERT_TRUE(Draws());
    EXPECT_TRUE(ColourNear(page, LeftQ, Qt::blue, 8));
}

TEST_F(BackgroundFile, NothingToDrawLeavesThePaperAlone)
{
    const struct {
        const char* name;
        const char* file;
        QByteArray bytes;
    } table[] = {
        { "missing file", "none.png", {} },
        { "no name", "", {} },
        { "outside the folder", "../back.png", {} },
        { "absolute path", "/tmp/back.png", {} },
        { "bytes that are no picture", "", "not a picture" },
    };
    Write(TwoColour());
    for (const auto& row : table) {
        SCOPED_TRACE(row.name);
        // A picture decoded before must not stand in for the one that is not there.
        label.GetLayer(1)->SetFileImg(QStringLiteral("back.png"));
        label.GetLayer(1)->SetImgBytes({});
        ASSERT_TRUE(Draws());
        label.GetLayer(1)->SetFileImg(QString::fromUtf8(row.file));
        label.GetLayer(1)->SetImgBytes(row.bytes);
        EXPECT_FALSE(Draws());
        EXPECT_EQ(InkCount(page), 0);
        bool printed = true;
        EXPECT_EQ(InkCount(Render(label, TTarget::Print, &printed)), 0);
        EXPECT_FALSE(printed);
    }
}

TEST_F(BackgroundFile, KeepBytesHoldsThePictureInTheLayer)
{
    Write(TwoColour());
    label.GetLayer(1)->SetKeepBytes(true);
    ASSERT_TRUE(Draws());
    EXPECT_TRUE(label.GetLayer(1)->GetImgBytes().startsWith("\x89PNG\r\n\x1a\n"));
    ASSERT_TRUE(QFile::remove(Path(QStringLiteral("back.png"))));
    label.SetImageChanged(true);
    ASSERT_TRUE(Draws());
    EXPECT_TRUE(ColourNear(page, RightQ, Qt::blue, 8));
}

class BackgroundExport : public TempDirTest { };

TEST_F(BackgroundExport, ExportedWhenTheLayerSaysSo)
{
    for (const bool exported : { true, false }) {
        SCOPED_TRACE(exported ? "exported" : "not exported");
        TZORLabelVCL label;
        Prepare(label, exported ? AllBack : uint16_t(AllBack & ~loExportBack));
        label.Measure().SetPaperWidth(LabelW);
        label.Measure().SetPaperHeight(LabelH);
        zor::TExportOptions o;
        o.kind = TZORExport::PNG;
        o.fileName = Path(QStringLiteral("out.png"));
        zor::ExportLabel(label, o);
        QImage image(o.fileName);
        ASSERT_FALSE(image.isNull());
        // 96 dpi: the label is 151 x 113 pixels.
        const QPoint left(38, 57), right(113, 57);
        if (exported) {
            EXPECT_TRUE(ColourNear(image, left, Qt::red, 8));
            EXPECT_TRUE(ColourNear(image, right, Qt::blue, 8));
        } else {
            EXPECT_EQ(InkCount(image), 0);
        }
    }
}

} // namespace
