#include "DesignerWindow.h"
#include "Zor.Act.h"
#include "Zor.Item.h"
#include "Zor.Props.h"
#include "editor/Zor.Vcl.Editor.h"
#include "inspector/Zor.Inspector.h"
#include "kit/Dialogs.h"
#include "kit/Documents.h"
#include "kit/Pixels.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.Print.h"
#include "label/Zor.Vcl.h"

#include <QDir>
#include <QDoubleSpinBox>
#include <QFile>
#include <QGuiApplication>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using zor::acRectangle;
using zor::acSelect;
using zor::TAct;
using zor::TAlphaColor;
using zor::TJsonArray;
using zor::TJsonObject;

// The example designer in a real X server (tests/designer/RunInXvfb.sh starts one for each run):
// the window is shown, driven with mouse input and photographed from the screen.
namespace {

using zor::test::TScriptedDialogs;

constexpr TAlphaColor Red { 0xFFFF0000u };

// Pixels of two images of one size that differ by more than a faint fringe, as a share of all.
double DifferentShare(const QImage& a, const QImage& b)
{
    if (a.size() != b.size() || a.isNull())
        return 1.0;
    const QImage x = a.convertToFormat(QImage::Format_RGB32);
    const QImage y = b.convertToFormat(QImage::Format_RGB32);
    int64_t different = 0;
    for (int row = 0; row < x.height(); ++row)
        for (int col = 0; col < x.width(); ++col) {
            const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
            if (std::abs(qRed(p) - qRed(q)) > 32 || std::abs(qGreen(p) - qGreen(q)) > 32
                || std::abs(qBlue(p) - qBlue(q)) > 32)
                ++different;
        }
    return double(different) / double(int64_t(x.width()) * x.height());
}

// What the X server shows of a window.
QImage FromScreen(QWidget& window)
{
    QCoreApplication::processEvents();
    QTest::qWait(100);
    return window.screen()->grabWindow(window.winId()).toImage();
}

class Designer : public zor::test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        ASSERT_EQ(QGuiApplication::platformName(), QStringLiteral("xcb"))
            << "the designer's test needs an X server";
        // The sample label with its CSV, where the test may write beside them.
        const QDir sample(QStringLiteral(QUINDLE_SAMPLE_DIR));
        for (const char* name : { "products.json", "products.csv" })
            ASSERT_TRUE(
                QFile::copy(sample.filePath(QString::fromLatin1(name)), Path(QString::fromLatin1(name))));
        window = std::make_unique<TDesignerWindow>();
        ASSERT_TRUE(window->OpenLabel(Path(QStringLiteral("products.json"))));
        window->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    }
    void TearDown() override
    {
        if (window)
            window->Label().SetModified(false);
        window.reset();
    }

    TZORLabelVCL& Label() { return window->Label(); }
    TZORBackEditor& Surface() { return window->Editor().Surface(); }
    // A point of the label (millimetres) on the editor's surface.
    QPoint At(double xmm, double ymm)
    {
        return { Surface().G.ScreenMMX(int64_t(xmm * 1000)), Surface().G.ScreenMMY(int64_t(ymm * 1000)) };
    }
    // The same point in the window's picture from the screen.
    QPoint OnScreen(double xmm, double ymm) { return Surface().mapTo(window.get(), At(xmm, ymm)); }

    // Chooses a command as a user does: a click on its menu in the menu bar, then on the command.
    void Choose(const char* name)
    {
        QAction* action = window->Command(QString::fromLatin1(name));
        ASSERT_NE(action, nullptr) << name;
        QMenu* menu = nullptr;
        for (QAction* entry : window->menuBar()->actions())
            if (entry->menu() && entry->menu()->actions().contains(action))
                menu = entry->menu();
        ASSERT_NE(menu, nullptr) << name << " is in no menu";
        QMenuBar& bar = *window->menuBar();
        QTest::mouseClick(
            &bar, Qt::LeftButton, Qt::NoModifier, bar.actionGeometry(menu->menuAction()).center());
        ASSERT_TRUE(QTest::qWaitForWindowExposed(menu)) << name;
        ASSERT_TRUE(action->isEnabled()) << name;
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(action).center());
        QCoreApplication::processEvents();
    }

    // The inspector's row of the element's field of that key; -1 when it shows none.
    int RowOf(const TZORBaseItem& item, const char* key) const
    {
        const TJsonArray& rows = window->Inspector().Rows();
        for (int r = 0; r < rows.Count(); ++r) {
            const TJsonObject row = rows.O(r);
            if (row.I("Kind") == int(TZORInsRow::Field)
                && std::string_view(item.GetFields()[size_t(row.I("P1"))].key) == key)
                return r;
        }
        return -1;
    }

    // Clicks the tool's button in the tool bar.
    void ChooseTool(int action)
    {
        auto* bar = window->findChild<QToolBar*>(QStringLiteral("ToolBar"));
        ASSERT_NE(bar, nullptr);
        QWidget* button = bar->widgetForAction(window->Tool(action));
        ASSERT_NE(button, nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
    }

    std::unique_ptr<TDesignerWindow> window;
};

// Shows a dialog the service was asked to run in the X server, keeps its picture from the
// screen, and closes it as cancelled.
TScriptedDialogs::TDialogAnswer ShowAndCancel(QImage& shot, QString* title = nullptr)
{
    return [&shot, title](QDialog& dialog) {
        if (title)
            *title = dialog.windowTitle();
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog)) << dialog.objectName().toStdString();
        shot = FromScreen(dialog);
        dialog.hide();
        return int(QDialog::Rejected);
    };
}

// A dialog drawn on the screen: its controls and texts stand out from its background.
::testing::AssertionResult Drawn(const QImage& shot)
{
    if (shot.isNull() || shot.width() < 50 || shot.height() < 50)
        return ::testing::AssertionFailure() << "no picture of the dialog";
    const int ink = zor::test::InkCount(shot, { shot.pixelColor(shot.width() / 2, 2), 32 });
    if (ink < 200)
        return ::testing::AssertionFailure() << "a blank dialog: " << ink << " pixels drawn";
    return ::testing::AssertionSuccess();
}

// The whole round: the sample label shows, a rectangle is drawn with the mouse and changed in the
// inspector, the label is saved in both forms and reopened, previewed and exported to a PDF that
// is read back.
TEST_F(Designer, DrawsSavesReopensPreviewsAndExportsTheSampleLabel)
{
    // The sample label is on the screen as the editor drew it.
    const int items = Label().GetItemsCount();
    ASSERT_EQ(items, 4);
    QImage shot = FromScreen(*window);
    const QRect surface(Surface().mapTo(window.get(), QPoint(0, 0)), Surface().size());
    EXPECT_LT(DifferentShare(shot.copy(surface), Surface().BackImage()), 0.01);
    EXPECT_GT(zor::test::InkCount(shot, {}, QRect(OnScreen(5, 5), OnScreen(30, 9))), 20)
        << "the product's name";
    EXPECT_TRUE(zor::test::ColourNear(shot, OnScreen(53, 9), Qt::white, 8));

    // A rectangle drawn with the rectangle tool: two clicks for its corners.
    ChooseTool(zor::acRectangle);
    EXPECT_EQ(TAct::fCurAction.load(), zor::acRectangle);
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, At(45, 5));
    QTest::mouseMove(&Surface(), At(55, 10));
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, At(62, 13));
    ASSERT_EQ(Label().GetItemsCount(), items + 1);
    QCoreApplication::processEvents();
    EXPECT_TRUE(window->isWindowModified()) << "the title's mark";
    EXPECT_EQ(window->windowTitle(), QStringLiteral("products.json[*] — quindle designer"));
    TZORBaseItem* drawn = Label().GetItem(items + 1);
    const TZORRect box = drawn->GetBounds().Normalized();
    EXPECT_NEAR(box.Left, 45000, 500);
    EXPECT_NEAR(box.Right, 62000, 500);
    EXPECT_NEAR(box.Top, 5000, 500);
    EXPECT_NEAR(box.Bottom, 13000, 500);
    // Esc in the editor ends the tool, and the tool bar shows the select tool again.
    QTest::keyClick(&Surface(), Qt::Key_Escape);
    EXPECT_TRUE(window->Tool(zor::acSelect)->isChecked());
    EXPECT_FALSE(window->Tool(zor::acRectangle)->isChecked());

    // Undo takes it away and redo brings it back, from the Edit menu.
    Choose("actUndo");
    EXPECT_EQ(Label().GetItemsCount(), items);
    Choose("actRedo");
    ASSERT_EQ(Label().GetItemsCount(), items + 1);
    drawn = Label().GetItem(items + 1);

    // Selected with a click on its edge, it turns red in the inspector's colour row.
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, At(45, 9));
    ASSERT_EQ(Label().Select(), drawn);
    const int colourRow = RowOf(*drawn, "Color");
    ASSERT_GE(colourRow, 0);
    {
        TScriptedDialogs dialogs;
        dialogs.AnswerColour(QColor(Qt::red));
        const QRect cell = window->Inspector().ValueCell(colourRow, 1);
        ASSERT_FALSE(cell.isEmpty()) << "the colour row is not shown";
        QTest::mouseClick(&window->Inspector(), Qt::LeftButton, Qt::NoModifier, cell.center());
        EXPECT_EQ(dialogs.Asked.value(0).left(7), QStringLiteral("colour "));
    }
    EXPECT_EQ(drawn->GetColor(), Red);
    Label().UnSelectAll();
    shot = FromScreen(*window);
    zor::test::SaveOnFailure keep(shot, QStringLiteral("designer"));
    // The README's picture is this one: QUINDLE_SCREENSHOT=docs/img/designer.png keeps it.
    if (const QString keepAs = qEnvironmentVariable("QUINDLE_SCREENSHOT"); !keepAs.isEmpty())
        shot.save(keepAs);
    EXPECT_GT(zor::test::InkCount(shot, { Qt::red, 60 }, QRect(OnScreen(52, 4), OnScreen(55, 6))), 0)
        << "no red edge";
    // Its inside stays paper.
    EXPECT_TRUE(zor::test::ColourNear(shot, OnScreen(53, 9), Qt::white, 8));

    // Selected again, its rows show in the inspector on the screen (the README's picture).
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, At(45, 9));
    shot = FromScreen(*window);
    const QRect inspector(window->Inspector().mapTo(window.get(), QPoint(0, 0)), window->Inspector().size());
    EXPECT_GT(zor::test::InkCount(
                  shot.copy(inspector), { shot.pixelColor(inspector.bottomRight() - QPoint(2, 2)), 32 }),
        500)
        << "no rows in the inspector";
    zor::test::SaveForInspection(shot, QStringLiteral("window"));
    Label().UnSelectAll();

    // Saved in both forms through the save dialog, then reopened from the binary one.
    TScriptedDialogs dialogs;
    for (const char* name : { "saved.json", "saved.eti" }) {
        dialogs.AnswerFile(Path(QString::fromLatin1(name)));
        Choose("actSaveAs");
        EXPECT_TRUE(QFileInfo::exists(Path(QString::fromLatin1(name)))) << name;
    }
    EXPECT_FALSE(Label().GetModified());
    EXPECT_EQ(window->FileName(), Path(QStringLiteral("saved.eti")));
    dialogs.AnswerFile(Path(QStringLiteral("saved.json")));
    Choose("actOpen");
    ASSERT_EQ(Label().GetItemsCount(), items + 1);
    EXPECT_EQ(Label().GetItem(items + 1)->GetColor(), Red);
    EXPECT_EQ(Label().GetItem(items + 1)->GetBounds().Normalized(), box);
    EXPECT_EQ(window->FileName(), Path(QStringLiteral("saved.json")));
    EXPECT_FALSE(Label().CanUndo()) << "a label opened starts a history of its own";
    shot = FromScreen(*window);
    EXPECT_GT(zor::test::InkCount(shot, { Qt::red, 60 }, QRect(OnScreen(52, 4), OnScreen(55, 6))), 0);

    // The preview window, shown in the X server, shows the sheet.
    QImage preview;
    QString title;
    dialogs.AnswerDialog(ShowAndCancel(preview, &title));
    Choose("actPreview");
    EXPECT_TRUE(Drawn(preview));
    EXPECT_EQ(title, QStringLiteral("Preview of saved.json — quindle designer"));
    EXPECT_GT(zor::test::InkCount(preview, { Qt::red, 80 }), 100)
        << "the red rectangle on the sheet's labels";
    zor::test::SaveForInspection(preview, QStringLiteral("preview"));

    // The export asks what to write, shown in the X server: every sheet of the run, with the
    // CSV's 40 records on two sheets of 24, and says what it wrote.
    const QString pdf = Path(QStringLiteral("sheet.pdf"));
    dialogs.AnswerFile(pdf);
    QImage options;
    dialogs.AnswerDialog([&options](QDialog& dialog) {
        dialog.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dialog));
        options = FromScreen(dialog);
        auto* all = dialog.findChild<QRadioButton*>(QStringLiteral("rbAll"));
        EXPECT_TRUE(all && all->isChecked() && all->text().contains(QStringLiteral("(2)")));
        EXPECT_EQ(dialog.findChild<QWidget*>(QStringLiteral("edDpi")), nullptr) << "a PDF has no resolution";
        dialog.hide();
        return int(QDialog::Accepted);
    });
    Choose("actExport");
    EXPECT_TRUE(Drawn(options));
    zor::test::SaveForInspection(options, QStringLiteral("export-options"));
    ASSERT_TRUE(QFileInfo::exists(pdf)) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
    ASSERT_EQ(zor::test::PdfPageCount(pdf), 2);
    const QString first = zor::test::PdfText(pdf, 1);
    EXPECT_TRUE(first.contains(QStringLiteral("Apple juice #1"))) << first.toStdString();
    EXPECT_TRUE(first.contains(QStringLiteral("Oat biscuits #2"))) << first.toStdString();
    const QString second = zor::test::PdfText(pdf, 2);
    EXPECT_TRUE(second.contains(QStringLiteral("Lentils #40"))) << second.toStdString();
    EXPECT_EQ(dialogs.Messages,
        QStringList { QStringLiteral("Wrote sheet.pdf: 2 sheets, one page each.\nin ")
            + QDir::toNativeSeparators(DirPath()) });
    EXPECT_TRUE(window->statusBar()->currentMessage().startsWith(QStringLiteral("Wrote sheet.pdf")));
}

// Images: a range of sheets at the resolution asked, one file each.
TEST_F(Designer, ExportsARangeOfSheetsAsImagesAtTheResolutionAsked)
{
    TScriptedDialogs dialogs;
    const QString png = Path(QStringLiteral("run.png"));
    dialogs.AnswerFile(png);
    dialogs.AnswerDialog([](QDialog& dialog) {
        auto* from = dialog.findChild<QSpinBox*>(QStringLiteral("edFrom"));
        auto* dpi = dialog.findChild<QDoubleSpinBox*>(QStringLiteral("edDpi"));
        EXPECT_TRUE(from && dpi);
        if (!from || !dpi)
            return int(QDialog::Rejected);
        EXPECT_DOUBLE_EQ(dpi->value(), 300.0);
        from->setValue(2);
        dpi->setValue(150);
        EXPECT_TRUE(dialog.findChild<QRadioButton*>(QStringLiteral("rbRange"))->isChecked());
        return int(QDialog::Accepted);
    });
    Choose("actExport");
    const QImage second(png);
    ASSERT_FALSE(second.isNull()) << dialogs.Messages.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(QFileInfo::exists(Path(QStringLiteral("run-1.png"))));
    EXPECT_EQ(second.width(), int(std::lround(210 * 150 / 25.4)));
    EXPECT_EQ(dialogs.Messages.value(0).section(QLatin1Char('\n'), 0, 0),
        QStringLiteral("Wrote run.png: one sheet."));
}

// The status bar says what the tool in use takes next, and the tool buttons say all its steps;
// the label's own messages show there too.
TEST_F(Designer, TheStatusBarShowsTheToolsNextStep)
{
    EXPECT_TRUE(
        window->Tool(zor::acRectangle)->toolTip().contains(QStringLiteral("Click the opposite corner")));
    ChooseTool(zor::acRectangle);
    QCoreApplication::processEvents();
    auto* hint = window->statusBar()->findChild<QLabel*>(QStringLiteral("ToolHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(hint->isVisible());
    EXPECT_EQ(hint->text(), QStringLiteral("Click a corner (Esc: done)"));
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, At(45, 5));
    QCoreApplication::processEvents();
    EXPECT_EQ(hint->text(),
        QStringLiteral("Click the opposite corner, or type a distance and press Enter (Esc: done)"));
    const QImage shot = FromScreen(*window);
    zor::test::SaveForInspection(shot, QStringLiteral("status-bar"));
    const QRect bar(window->statusBar()->mapTo(window.get(), QPoint(0, 0)), window->statusBar()->size());
    EXPECT_GT(zor::test::InkCount(
                  shot.copy(bar), { shot.pixelColor(bar.topLeft() + QPoint(bar.width() - 3, 3)), 60 }),
        100)
        << "the step drawn in the status bar";
    QTest::keyClick(&Surface(), Qt::Key_Escape);
    QCoreApplication::processEvents();
    EXPECT_TRUE(hint->text().startsWith(QStringLiteral("Click an element to select it")));

    Label().Select(Label().GetItem(1));
    Label().FireInfoEvent(true);
    EXPECT_FALSE(window->statusBar()->currentMessage().isEmpty()) << "the selection's box";
    Label().FireInfoEvent(false);
    EXPECT_TRUE(window->statusBar()->currentMessage().isEmpty());
}

// The bundled sample opens as an untitled copy: saving it asks where, starting in the user's
// documents, never in the sample's folder.
TEST_F(Designer, TheSampleOpensUntitledAndSaveAsStartsOutsideTheSources)
{
    window = std::make_unique<TDesignerWindow>();
    ASSERT_TRUE(window->OpenCopy(QStringLiteral(QUINDLE_SAMPLE_DIR "/products.json")));
    window->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    EXPECT_TRUE(window->FileName().isEmpty());
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("Untitled")))
        << window->windowTitle().toStdString();
    ASSERT_EQ(Label().GetItemsCount(), 4);

    struct TWhere : TScriptedDialogs {
        QStringList Dirs;
        QString SaveFileName(
            QWidget* parent, const QString& caption, const QString& dir, const QString& filter) override
        {
            Dirs << dir;
            return TScriptedDialogs::SaveFileName(parent, caption, dir, filter);
        }
    } dialogs;
    dialogs.AnswerFile({});
    Choose("actSaveAs");
    dialogs.AnswerFile({});
    Choose("actExport");
    ASSERT_EQ(dialogs.Dirs.size(), 2);
    const QString sources = QFileInfo(QStringLiteral(QUINDLE_SAMPLE_DIR "/..")).canonicalFilePath();
    QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!QFileInfo(documents).isDir())
        documents = QDir::homePath();
    for (const QString& dir : dialogs.Dirs) {
        EXPECT_FALSE(QFileInfo(dir).absoluteFilePath().startsWith(sources)) << dir.toStdString();
        EXPECT_TRUE(dir.startsWith(documents)) << dir.toStdString();
    }
    EXPECT_EQ(QFileInfo(dialogs.Dirs[0]).fileName(), QStringLiteral("Untitled.json"));

    // Saved elsewhere, the copy keeps its data: the CSV is named where it is.
    dialogs.AnswerFile(Path(QStringLiteral("mine.json")));
    Choose("actSaveAs");
    EXPECT_EQ(window->FileName(), Path(QStringLiteral("mine.json")));
    EXPECT_TRUE(window->windowTitle().startsWith(QStringLiteral("mine.json")));
    TZORLabelVCL reread;
    reread.LoadFromFile(Path(QStringLiteral("mine.json")));
    EXPECT_EQ(reread.Data().GetCsvFile(),
        QFileInfo(QStringLiteral(QUINDLE_SAMPLE_DIR "/products.csv")).absoluteFilePath());
    // The file dialogs now start in the label's folder.
    dialogs.AnswerFile({});
    Choose("actSaveAs");
    EXPECT_EQ(dialogs.Dirs.last(), Path(QStringLiteral("mine.json")));
}

// An import asks whether the diagram replaces the open label (which undo brings back) or goes on
// a new one; the drawing mode opens the dimension styles.
TEST_F(Designer, AnImportReplacesTheLabelOrStartsANewOne)
{
    const QString mermaid = Path(QStringLiteral("flow.mmd"));
    ASSERT_TRUE(zor::test::WriteFile(mermaid, "graph LR\nA[Start] --> B[End]\n"));
    {
        TScriptedDialogs dialogs;
        dialogs.AnswerFile(mermaid);
        dialogs.AnswerMessage(QMessageBox::Yes);
        Choose("actImportMermaid");
        EXPECT_TRUE(dialogs.Asked.value(1).startsWith(QStringLiteral("message Draw the diagram in place")));
    }
    EXPECT_EQ(Label().GetItemsCount(), 3);
    EXPECT_EQ(window->FileName(), Path(QStringLiteral("products.json")));
    Choose("actUndo");
    EXPECT_EQ(Label().GetItemsCount(), 4) << "undo brings the label back";
    Label().SetModified(true);
    {
        TScriptedDialogs dialogs;
        dialogs.AnswerFile(mermaid);
        dialogs.AnswerMessage(QMessageBox::No);
        dialogs.AnswerMessage(QMessageBox::Discard); // the open label has changed: not saved
        Choose("actImportMermaid");
    }
    EXPECT_EQ(Label().GetItemsCount(), 3);
    EXPECT_TRUE(window->FileName().isEmpty()) << "a new label";

    QAction* dimStyles = window->Command(QStringLiteral("actDimStyles"));
    QAction* drawing = window->Command(QStringLiteral("actDrawingMode"));
    ASSERT_NE(drawing, nullptr);
    Choose("actDrawingMode");
    EXPECT_EQ(Label().GetEditorMode(), 2);
    EXPECT_TRUE(drawing->isChecked());
    EXPECT_TRUE(dimStyles->isEnabled());
    QImage shot;
    {
        TScriptedDialogs dialogs;
        dialogs.AnswerDialog(ShowAndCancel(shot));
        Choose("actDimStyles");
    }
    EXPECT_TRUE(Drawn(shot));
    Choose("actDrawingMode");
    EXPECT_EQ(Label().GetEditorMode(), 0);
    EXPECT_FALSE(dimStyles->isEnabled());
}

// Every menu command that asks the user opens its dialog through the dialog service, and each
// dialog is drawn in the X server.
TEST_F(Designer, EveryMenuCommandOpensItsDialog)
{
    const QString mermaid = Path(QStringLiteral("flow.mmd"));
    ASSERT_TRUE(zor::test::WriteFile(mermaid, "graph LR\nA[Start] --> B[End]\n"));
    const QString gantt = Path(QStringLiteral("plan.txt"));
    ASSERT_TRUE(zor::test::WriteFile(
        gantt, "Vexlane:Gantt:Plan\n-> T1 Design [Duration:3]\n-> T2 Build [Duration:5]\n"));
    const bool printers = !zor::PrinterNames().isEmpty();

    struct TRow {
        const char* command;
        const char* asked; // the start of what the service was asked
        std::function<void(TScriptedDialogs&, QImage&)> answer;
    };
    const auto cancelFile = [](TScriptedDialogs& d, QImage&) { d.AnswerFile({}); };
    const auto showDialog = [](TScriptedDialogs& d, QImage& shot) { d.AnswerDialog(ShowAndCancel(shot)); };
    const TRow rows[] = {
        { "actOpen", "file Open label", cancelFile },
        { "actSaveAs", "file Save label", cancelFile },
        { "actImportMermaid", "file Import Mermaid",
            [&](TScriptedDialogs& d, QImage&) {
                d.AnswerFile(mermaid);
                d.AnswerMessage(QMessageBox::Yes);
            } },
        { "actImportGantt", "file Import Gantt",
            [&](TScriptedDialogs& d, QImage&) {
                d.AnswerFile(gantt);
                d.AnswerMessage(QMessageBox::Yes);
            } },
        { "actPreview", "dialog ", showDialog },
        { "actPrint", printers ? "print setup" : "message There is no printer",
            [&](TScriptedDialogs& d, QImage&) {
                if (printers)
                    d.AnswerPrintSetup(false);
            } },
        { "actExport", "file Export", cancelFile },
        { "actEditorSettings", "dialog ", showDialog },
        { "actPageSetup", "dialog ", showDialog },
        { "actLayers", "dialog ", showDialog },
        { "actDataSources", "dialog fDataSources", showDialog },
        { "actDimStyles", "dialog ", showDialog },
        { "actNew", "message The label has changed",
            [](TScriptedDialogs& d, QImage&) { d.AnswerMessage(QMessageBox::Discard); } },
    };
    for (const TRow& row : rows) {
        SCOPED_TRACE(row.command);
        // Dimension styles belong to technical drawings; a new label is asked for a changed one.
        Label().SetEditorMode(std::string_view(row.command) == "actDimStyles" ? 2 : 0);
        Label().SetModified(std::string_view(row.command) == "actNew");
        QImage shot;
        {
            TScriptedDialogs dialogs;
            row.answer(dialogs, shot);
            Choose(row.command);
            ASSERT_FALSE(dialogs.Asked.isEmpty());
            EXPECT_TRUE(dialogs.Asked.first().startsWith(QString::fromLatin1(row.asked)))
                << dialogs.Asked.join(QStringLiteral(", ")).toStdString();
        }
        if (QString::fromLatin1(row.asked).startsWith(QStringLiteral("dialog "))) {
            EXPECT_TRUE(Drawn(shot));
        }
        if (std::string_view(row.command) == "actImportMermaid") {
            EXPECT_EQ(Label().GetItemsCount(), 3) << "two nodes and their link";
        }
        if (std::string_view(row.command) == "actImportGantt") {
            EXPECT_GE(Label().GetItemsCount(), 3) << "the title and a bar for each task";
        }
    }
    EXPECT_EQ(Label().GetItemsCount(), 0) << "the new label";
    EXPECT_TRUE(window->FileName().isEmpty());
}

// The tools that change drawn elements go by the tool's state: the trim tool asks for its edge,
// then for the parts to cut away, and cuts the clicked part at the edge.
TEST_F(Designer, TheTrimToolTellsItsStepsAndCuts)
{
    Label().AddBaseLine(10000, 20000, 60000, 20000);
    Label().AddBaseLine(40000, 5000, 40000, 30000);
    const int32_t count = Label().GetItemsCount();
    ChooseTool(zor::acTrim);
    QCoreApplication::processEvents();
    auto* hint = window->statusBar()->findChild<QLabel*>(QStringLiteral("ToolHint"));
    ASSERT_NE(hint, nullptr);
    EXPECT_EQ(hint->text(), QStringLiteral("Click the cutting edge (Esc: done)"));
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, At(40, 10));
    QCoreApplication::processEvents();
    EXPECT_EQ(hint->text(), QStringLiteral("Click each part to cut away; right-click to end (Esc: done)"));
    QTest::mouseClick(&Surface(), Qt::LeftButton, Qt::NoModifier, At(50, 20));
    QCoreApplication::processEvents();
    ASSERT_EQ(Label().GetItemsCount(), count);
    // The horizontal line now ends at the edge; the part clicked is gone.
    std::vector<std::pair<int64_t, int64_t>> horizontal;
    for (int32_t i = 1; i <= count; ++i) {
        const TZORBaseItem& item = *Label().GetItem(i);
        if (item.TypeCode() == TZORItemType::Line && item.GetPoint(1).Y == 20000)
            horizontal.push_back(std::minmax(item.GetPoint(1).X, item.GetPoint(2).X));
    }
    EXPECT_EQ(horizontal, (std::vector<std::pair<int64_t, int64_t>> { { 10000, 40000 } }));
    EXPECT_EQ(hint->text(), QStringLiteral("Click each part to cut away; right-click to end (Esc: done)"));
    QTest::keyClick(&Surface(), Qt::Key_Escape);
}

// What a Mermaid import leaves out is told once, after the drawing is made.
TEST_F(Designer, AMermaidImportNamesWhatItLeavesOut)
{
    const QString mermaid = Path(QStringLiteral("left-out.mmd"));
    ASSERT_TRUE(zor::test::WriteFile(mermaid, "graph LR\nA -->|yes| B\nB --> C\n"));
    TScriptedDialogs dialogs;
    dialogs.AnswerFile(mermaid);
    dialogs.AnswerMessage(QMessageBox::Yes); // in place of the open label
    Choose("actImportMermaid");
    EXPECT_EQ(Label().GetItemsCount(), 5) << "three nodes and their links";
    ASSERT_EQ(dialogs.Messages.size(), 2) << "the question, then what was left out";
    EXPECT_TRUE(dialogs.Messages[1].contains(QStringLiteral("Line 2: A -->|yes| B")))
        << dialogs.Messages[1].toStdString();
}

} // namespace
