#include "DesignerWindow.h"

#include "ExportDialog.h"
#include "Zor.Act.h"
#include "Zor.Error.h"
#include "Zor.Mermaid.h"
#include "dialogs/Zor.DataPage.h"
#include "dialogs/Zor.DialogService.h"
#include "dialogs/Zor.Forms.h"
#include "dialogs/Zor.Showpreview.h"
#include "editor/Zor.Vcl.Editor.h"
#include "inspector/Zor.Inspector.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>
#include <array>

using zor::TAct;
using zor::TMermaidLeftOut;

namespace {

const QString AppName = QStringLiteral("quindle designer");
// The editor mode of technical drawings, which have dimension styles; 0 is a sheet of labels.
constexpr uint8_t TechnicalDrawing = 2;
const QString LabelFilter
    = QStringLiteral("Labels (*.json *.eti);;Label, JSON (*.json);;Label, binary (*.eti)");
const QString ExportFilter = QStringLiteral(
    "PDF (*.pdf);;XPS (*.xps);;PNG (*.png);;JPEG (*.jpg *.jpeg);;GIF (*.gif);;Bitmap (*.bmp)");

// The element tools of the tool bar, in its order, with the steps that build each: the step
// shown for the k-th click is steps[k], the last one again for any further click.
struct TToolRow {
    zor::TZORAction action;
    const char* text;
    std::array<const char*, 3> steps;
};
constexpr const char* ClickCorner = "Click a corner";
constexpr const char* OppositeCorner = "Click the opposite corner, or type a distance and press Enter";
constexpr const char* ClickCentre = "Click the centre";
constexpr const char* ClickPlace = "Click where it goes";
constexpr const char* RightClickToEnd = "Click the next point; right-click to end";
constexpr const char* LineEnd = "Click the end, or type a length and press Enter";
constexpr TToolRow ToolRows[] = {
    { zor::acSelect, "Select", { "Click an element to select it, or click beside them to start a window" } },
    { zor::acPoint, "Point", { ClickPlace } },
    { zor::acLine, "Line", { "Click the start", LineEnd } },
    { zor::acArrowLine, "Arrow", { "Click the start", LineEnd } },
    { zor::acPolyLine, "Polyline", { "Click the first point", RightClickToEnd } },
    { zor::acBezier, "Bézier", { "Click the first point", RightClickToEnd } },
    { zor::acArc3P, "Arc",
        { "Click the start of the arc", "Click a point on the arc", "Click the end of the arc" } },
    { zor::acRectangle, "Rectangle", { ClickCorner, OppositeCorner } },
    { zor::acPolygon, "Polygon", { "Click the first corner", "Click the next corner; right-click to end" } },
    { zor::acCircle, "Circle",
        { ClickCentre, "Click a point on the circle, or type the radius and press Enter" } },
    { zor::acEllipse, "Ellipse", { ClickCentre, "Click the radius along X", "Click the radius along Y" } },
    { zor::acSector, "Sector", { ClickCentre, "Click a point on the circle" } },
    { zor::acLevel, "Gauge", { ClickCentre, "Click a point on the rim" } },
    { zor::acPackage, "Package", { ClickCorner, OppositeCorner } },
    { zor::acDim, "Dimension",
        { "Click the first point to measure", "Click the second point",
            "Click where the dimension line goes" } },
    { zor::acDimRadius, "Radius", { "Click a circle or an arc", "Click where the text goes" } },
    { zor::acDimDiameter, "Diameter", { "Click a circle or an arc", "Click where the text goes" } },
    { zor::acRefLine, "Reference line", { "Click a point of the line", "Click a second point" } },
    { zor::acTrim, "Trim", { "Click the cutting edge", "Click each part to cut away; right-click to end" } },
    { zor::acExtend, "Extend",
        { "Click the edge to reach", "Click near the end to lengthen; right-click to end" } },
    { zor::acOffset, "Offset",
        { "Click the element", "Type the distance and press Enter, or click a point", "Click the side" } },
    { zor::acText, "Text", { ClickPlace } },
    { zor::acParagraph, "Paragraph", { ClickCorner, OppositeCorner } },
    { zor::acRichText, "Rich text", { ClickCorner, OppositeCorner } },
    { zor::acPolyText, "Poly text", { ClickPlace } },
    { zor::acImage, "Image", { ClickCorner, OppositeCorner } },
    { zor::acBarcode, "Barcode", { ClickPlace } },
    { zor::acPDF417, "PDF417", { ClickPlace } },
    { zor::acDataMatrix, "DataMatrix", { ClickPlace } },
    { zor::acQRCode, "QR code", { ClickPlace } },
    { zor::acTable, "Table", { ClickCorner, OppositeCorner } },
    { zor::acFlow, "Flow node", { ClickCorner, OppositeCorner } },
    { zor::acLink, "Link", { "Click the element to link from", "Click the element to link to" } },
    { zor::acRank, "Rating", { ClickCorner, OppositeCorner } },
    { zor::acNutriScore, "Nutri-Score", { ClickCorner, OppositeCorner } },
    { zor::acSymbol, "Symbol", { ClickPlace } },
};

const TToolRow* ToolRow(int action)
{
    for (const TToolRow& row : ToolRows)
        if (row.action == action)
            return &row;
    return nullptr;
}

// The steps of a tool, one after the other, for its button's tooltip.
QString ToolSteps(const TToolRow& row)
{
    QStringList steps;
    for (const char* step : row.steps)
        if (step)
            steps << QCoreApplication::translate("TDesignerWindow", step);
    return steps.join(QStringLiteral(", then: "));
}

// The next step of the tool in use, as the status bar shows it.
QString NextStep(int action, int state, int points)
{
    if (state == zor::stTyping)
        return QCoreApplication::translate("TDesignerWindow", "Type the text; Esc ends it");
    if (state == zor::stWindow)
        return QCoreApplication::translate("TDesignerWindow", "Click the other corner of the window");
    const TToolRow* row = ToolRow(action);
    if (!row)
        return {};
    // The tools that work on drawn elements go by their state, the others by the points clicked.
    size_t k = size_t(std::max(points, 0));
    if (state == zor::stTrimTarget || state == zor::stExtendTarget || state == zor::stDistance)
        k = 1;
    else if (state == zor::stSide)
        k = 2;
    while (k > 0 && (k >= row->steps.size() || !row->steps[k]))
        --k;
    const QString step = QCoreApplication::translate("TDesignerWindow", row->steps[k]);
    return action == zor::acSelect ? step
                                   : step + QCoreApplication::translate("TDesignerWindow", " (Esc: done)");
}

QString ToolName(int action)
{
    return QStringLiteral("tool%1").arg(action);
}

} // namespace

TDesignerWindow::TDesignerWindow(QWidget* parent)
    : QMainWindow(parent)
    , fEditor(new TZOREditor(this))
    , fTools(new QActionGroup(this))
{
    setObjectName(QStringLiteral("DesignerWindow"));
    fEditor->setObjectName(QStringLiteral("Editor"));
    // Labels are small: they are drawn at twice their size.
    fEditor->SetZoom(TZORZoom::zm200);
    setCentralWidget(fEditor);
    BuildMenus();
    BuildTools();
    AddInspectorDock();
    AddStatusBar();
    ShowLabel(std::make_unique<TZORLabelVCL>(), {});
    // Room for the label and the inspector, within the screen (a small or high-density one).
    resize(QSize(1200, 800).boundedTo(screen()->availableSize() * 0.9));
}

TDesignerWindow::~TDesignerWindow()
{
    // The views leave the label before it goes.
    fEditor->SetLabel(nullptr);
    fInspector->SetLabel(nullptr);
}

template <class Slot>
QAction* TDesignerWindow::AddCommand(QMenu& menu, const char* name, const QString& text, Slot slot)
{
    QAction* action = menu.addAction(text, this, slot);
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

void TDesignerWindow::BuildMenus()
{
    QMenu& file = *menuBar()->addMenu(tr("&File"));
    AddCommand(file, "actNew", tr("&New"), &TDesignerWindow::NewLabel)->setShortcut(QKeySequence::New);
    AddCommand(file, "actOpen", tr("&Open…"), &TDesignerWindow::Open)->setShortcut(QKeySequence::Open);
    AddCommand(file, "actSave", tr("&Save"), &TDesignerWindow::Save)->setShortcut(QKeySequence::Save);
    AddCommand(file, "actSaveAs", tr("Save &as…"), &TDesignerWindow::SaveAs)
        ->setShortcut(QKeySequence::SaveAs);
    file.addSeparator();
    AddCommand(file, "actImportMermaid", tr("Import &Mermaid…"), &TDesignerWindow::ImportMermaid);
    AddCommand(file, "actImportGantt", tr("Import &Gantt…"), &TDesignerWindow::ImportGantt);
    file.addSeparator();
    AddCommand(file, "actPreview", tr("Pre&view…"), &TDesignerWindow::Preview);
    AddCommand(file, "actPrint", tr("&Print…"), &TDesignerWindow::Print)->setShortcut(QKeySequence::Print);
    AddCommand(file, "actExport", tr("&Export…"), &TDesignerWindow::Export);
    file.addSeparator();
    AddCommand(file, "actQuit", tr("&Quit"), &TDesignerWindow::close)->setShortcut(QKeySequence::Quit);

    QMenu& edit = *menuBar()->addMenu(tr("&Edit"));
    AddCommand(edit, "actUndo", tr("&Undo"), &TDesignerWindow::Undo)->setShortcut(QKeySequence::Undo);
    AddCommand(edit, "actRedo", tr("&Redo"), &TDesignerWindow::Redo)->setShortcut(QKeySequence::Redo);
    edit.addSeparator();
    AddCommand(edit, "actDelete", tr("&Delete"), &TDesignerWindow::DeleteSelection);
    edit.addSeparator();
    AddCommand(edit, "actEditorSettings", tr("Editor &settings…"), &TDesignerWindow::EditorSettings);

    QMenu& label = *menuBar()->addMenu(tr("&Label"));
    AddCommand(label, "actPageSetup", tr("&Page set-up…"), &TDesignerWindow::PageSetup);
    AddCommand(label, "actLayers", tr("&Layers…"), &TDesignerWindow::Layers);
    QAction* drawing
        = AddCommand(label, "actDrawingMode", tr("&Technical drawing"), &TDesignerWindow::ToggleDrawingMode);
    drawing->setCheckable(true);
    drawing->setStatusTip(tr("Draw to scale, with dimension styles, instead of a sheet of labels"));
    AddCommand(label, "actDimStyles", tr("&Dimension styles…"), &TDesignerWindow::DimStyles);
    AddCommand(label, "actDataSources", tr("Data &sources…"), &TDesignerWindow::DataSources);
    // What may run depends on the label: its history and its kind of drawing.
    connect(&edit, &QMenu::aboutToShow, this, &TDesignerWindow::UpdateCommands);
    connect(&label, &QMenu::aboutToShow, this, &TDesignerWindow::UpdateCommands);
}

void TDesignerWindow::BuildTools()
{
    auto* bar = new QToolBar(tr("Tools"), this);
    bar->setObjectName(QStringLiteral("ToolBar"));
    bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
    addToolBar(Qt::LeftToolBarArea, bar);
    fTools->setExclusive(true);
    for (const TToolRow& row : ToolRows) {
        QAction* tool = bar->addAction(tr(row.text));
        tool->setObjectName(ToolName(row.action));
        tool->setCheckable(true);
        tool->setToolTip(tr(row.text) + QStringLiteral(": ") + ToolSteps(row));
        tool->setStatusTip(tool->toolTip());
        fTools->addAction(tool);
        connect(tool, &QAction::triggered, this, [this, action = row.action] { ChooseTool(action); });
    }
    Tool(zor::acSelect)->setChecked(true);
    // A tool the editor ends (Esc, the right button) shows as ended.
    connect(fEditor, &TZORBaseEditor::ToolChanged, this, [this](int action) {
        if (QAction* tool = Tool(action))
            tool->setChecked(true);
        UpdateHint();
    });
}

void TDesignerWindow::AddStatusBar()
{
    fHint = new QLabel(statusBar());
    fHint->setObjectName(QStringLiteral("ToolHint"));
    statusBar()->addWidget(fHint, 1);
    // Input anywhere in the window (the editor, the inspector) may take a tool's step or change
    // the label: after each click or key, the step that follows and the title's modified mark.
    qApp->installEventFilter(this);
}

bool TDesignerWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::KeyPress:
        if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->window() == this)
            QTimer::singleShot(0, this, &TDesignerWindow::AfterInput);
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TDesignerWindow::AfterInput()
{
    UpdateHint();
    UpdateTitle();
}

void TDesignerWindow::UpdateHint()
{
    fHint->setText(NextStep(TAct::fCurAction, TAct::fCurState, TAct::NumPoints()));
}

QString TDesignerWindow::Hint() const
{
    return fHint->text();
}

void TDesignerWindow::AddInspectorDock()
{
    auto* dock = new QDockWidget(tr("Properties"), this);
    dock->setObjectName(QStringLiteral("InspectorDock"));
    dock->setFeatures(QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
    fInspector = new TZORInspector(dock);
    fInspector->setObjectName(QStringLiteral("Inspector"));
    fInspector->setMinimumWidth(TZORInspector::DesignWidth);
    dock->setWidget(fInspector);
    addDockWidget(Qt::RightDockWidgetArea, dock);
}

QAction* TDesignerWindow::Command(const QString& name) const
{
    return findChild<QAction*>(name);
}

QAction* TDesignerWindow::Tool(int action) const
{
    return findChild<QAction*>(ToolName(action));
}

void TDesignerWindow::ShowLabel(std::unique_ptr<TZORLabelVCL> label, const QString& fileName)
{
    if (fLabel)
        fLabel->ResetAction();
    label->OnUndoRedoEvent = [this](TZORBaseLabel&, bool, bool) {
        UpdateCommands();
        UpdateTitle();
    };
    // The label's messages for the status line: a text shows until an empty one comes.
    label->OnInfoMsg = [this](TZORBaseLabel&, const QString& message) {
        if (message.isEmpty())
            statusBar()->clearMessage();
        else
            statusBar()->showMessage(message);
    };
    fEditor->SetLabel(label.get());
    fInspector->SetLabel(label.get());
    fLabel = std::move(label);
    fFileName = fileName;
    Tool(zor::acSelect)->setChecked(true);
    UpdateCommands();
    UpdateTitle();
    UpdateHint();
}

void TDesignerWindow::ChooseTool(int action)
{
    fLabel->ResetAction();
    TAct::SetCurAction(action);
    fLabel->Notify(TZRChange::Tool);
    fEditor->Surface().setFocus(Qt::OtherFocusReason);
    UpdateHint();
}

QString TDesignerWindow::LabelTitle() const
{
    return fFileName.isEmpty() ? tr("Untitled") : QFileInfo(fFileName).fileName();
}

void TDesignerWindow::UpdateTitle()
{
    setWindowTitle(LabelTitle() + QStringLiteral("[*] — ") + AppName);
    setWindowModified(fLabel->GetModified());
}

void TDesignerWindow::UpdateCommands()
{
    Command(QStringLiteral("actUndo"))->setEnabled(fLabel->CanUndo());
    Command(QStringLiteral("actRedo"))->setEnabled(fLabel->CanRedo());
    Command(QStringLiteral("actDelete"))->setEnabled(fLabel->GetSelectionCount() > 0);
    // Dimension styles belong to technical drawings.
    Command(QStringLiteral("actDimStyles"))->setEnabled(fLabel->GetEditorMode() == TechnicalDrawing);
    Command(QStringLiteral("actDrawingMode"))->setChecked(fLabel->GetEditorMode() == TechnicalDrawing);
}

template <class F> void TDesignerWindow::Run(F&& operation)
{
    try {
        operation();
    } catch (const EZORError& e) {
        zor::ShowWarning(this, AppName, e.Message());
    }
    UpdateCommands();
    UpdateTitle();
}

bool TDesignerWindow::MaySetAside()
{
    if (!fLabel->GetModified())
        return true;
    const QMessageBox::StandardButton answer = zor::DialogService().Message(this, QMessageBox::Question,
        AppName, tr("The label has changed. Save it?"),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel)
        return false;
    if (answer == QMessageBox::Discard)
        return true;
    Save();
    return !fLabel->GetModified();
}

void TDesignerWindow::closeEvent(QCloseEvent* event)
{
    if (MaySetAside())
        event->accept();
    else
        event->ignore();
}

std::unique_ptr<TZORLabelVCL> TDesignerWindow::ReadLabel(const QString& fileName)
{
    auto label = std::make_unique<TZORLabelVCL>();
    try {
        label->LoadFromFile(fileName);
    } catch (const EZORError& e) {
        zor::ShowWarning(this, AppName, e.Message());
        return nullptr;
    }
    label->SetModified(false);
    // Names in a label (its CSV file, its images) count from the label's folder.
    QDir::setCurrent(QFileInfo(fileName).absolutePath());
    return label;
}

bool TDesignerWindow::OpenLabel(const QString& fileName)
{
    std::unique_ptr<TZORLabelVCL> label = ReadLabel(fileName);
    if (!label)
        return false;
    ShowLabel(std::move(label), QFileInfo(fileName).absoluteFilePath());
    return true;
}

bool TDesignerWindow::OpenCopy(const QString& fileName)
{
    std::unique_ptr<TZORLabelVCL> label = ReadLabel(fileName);
    if (!label)
        return false;
    // The copy is saved elsewhere: its CSV file is named from where it is.
    TZORData& data = label->Data();
    if (!data.GetCsvFile().isEmpty() && QFileInfo(data.GetCsvFile()).isRelative()) {
        const QString csv = QFileInfo(fileName).dir().absoluteFilePath(data.GetCsvFile());
        QString why;
        if (!data.SetCsvData(csv, data.GetHeader(), data.GetSeparator(), data.GetQuote(), &why))
            zor::ShowWarning(this, AppName, why);
        label->SetModified(false);
    }
    ShowLabel(std::move(label), {});
    return true;
}

QString TDesignerWindow::StartFolder() const
{
    if (!fFileName.isEmpty())
        return QFileInfo(fFileName).absolutePath();
    // A dialog given a folder that does not exist opens in the working folder: the home folder
    // stands in for missing documents.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

QString TDesignerWindow::StartName(const QString& extension) const
{
    const QString base = fFileName.isEmpty() ? tr("Untitled") : QFileInfo(fFileName).completeBaseName();
    return QDir(StartFolder()).filePath(base + QLatin1Char('.') + extension);
}

bool TDesignerWindow::SaveLabel(const QString& fileName)
{
    const TZORExt kind
        = QFileInfo(fileName).suffix() == QLatin1String("eti") ? TZORExt::Binary : TZORExt::Json;
    try {
        fLabel->SaveToFile(fileName, kind);
    } catch (const EZORError& e) {
        zor::ShowWarning(this, AppName, e.Message());
        return false;
    }
    fFileName = QFileInfo(fileName).absoluteFilePath();
    UpdateTitle();
    return true;
}

void TDesignerWindow::NewLabel()
{
    if (MaySetAside())
        ShowLabel(std::make_unique<TZORLabelVCL>(), {});
}

void TDesignerWindow::Open()
{
    if (!MaySetAside())
        return;
    const QString fileName
        = zor::DialogService().OpenFileName(this, tr("Open label"), StartFolder(), LabelFilter);
    if (!fileName.isEmpty())
        OpenLabel(fileName);
}

void TDesignerWindow::Save()
{
    if (fFileName.isEmpty())
        SaveAs();
    else
        SaveLabel(fFileName);
}

void TDesignerWindow::SaveAs()
{
    const QString start = fFileName.isEmpty() ? StartName(QStringLiteral("json")) : fFileName;
    QString fileName = zor::DialogService().SaveFileName(this, tr("Save label"), start, LabelFilter);
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QStringLiteral(".json");
    SaveLabel(fileName);
}

void TDesignerWindow::ImportMermaid()
{
    // What the drawing leaves out is told once, after the import.
    std::vector<TMermaidLeftOut> leftOut;
    ImportText(tr("Import Mermaid"), QStringLiteral("Mermaid (*.mmd *.mermaid *.txt);;All files (*)"),
        [&](TZORBaseLabel& label, const QString& text) {
            return TZORFactory::LoadMermaid(label, text, leftOut);
        });
    if (!leftOut.empty())
        zor::ShowInfo(this, AppName, TZORFactory::LeftOutMessage(leftOut));
}

void TDesignerWindow::ImportGantt()
{
    ImportText(
        tr("Import Gantt"), QStringLiteral("Gantt (*.gantt *.txt);;All files (*)"), &TZORFactory::LoadGantt);
}

void TDesignerWindow::ImportText(const QString& caption, const QString& filter,
    const std::function<bool(TZORBaseLabel&, const QString&)>& load)
{
    const QString fileName = zor::DialogService().OpenFileName(this, caption, StartFolder(), filter);
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        zor::ShowWarning(this, AppName, file.errorString());
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    // The diagram replaces the open label (one step of its history, which undo takes back) or
    // goes on a new one.
    const QMessageBox::StandardButton answer
        = zor::DialogService().Message(this, QMessageBox::Question, caption,
            tr("Draw the diagram in place of the open label?\n\nYes: it replaces the label's elements (Undo "
               "brings "
               "them back).\nNo: it goes on a new label."),
            QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::No);
    if (answer == QMessageBox::Cancel || (answer == QMessageBox::No && !MaySetAside()))
        return;
    if (answer == QMessageBox::No)
        ShowLabel(std::make_unique<TZORLabelVCL>(), {});
    // The statements an import leaves out are to be shown here once the imports report them.
    Run([&] { load(*fLabel, text); });
}

void TDesignerWindow::PageSetup()
{
    Run([this] { fLabel->EditProperties(); });
}

void TDesignerWindow::Layers()
{
    Run([this] { fLabel->EditLayers(); });
}

void TDesignerWindow::ToggleDrawingMode()
{
    const uint8_t mode = fLabel->GetEditorMode() == TechnicalDrawing ? 0 : TechnicalDrawing;
    Run([&] { zor::ChangeLabel(*fLabel, [&] { fLabel->SetEditorMode(mode); }); });
}

void TDesignerWindow::DimStyles()
{
    Run([this] { fLabel->EditDimStyles(); });
}

void TDesignerWindow::DataSources()
{
    // The data page of the set-up on its own: JSON, CSV, lists and questions change the label at
    // once; the run's data set, repeat field and flags are taken after OK.
    QDialog form(this);
    form.setObjectName(QStringLiteral("fDataSources"));
    form.setWindowTitle(zor::FormCaption(tr("Data sources")));
    auto* page = new TZORDataPage(&form);
    page->FillLanguage();
    page->Ini(*fLabel);
    auto* layout = new QVBoxLayout(&form);
    layout->addWidget(page);
    QDialogButtonBox* buttons = zor::AddOkCancel(form, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, &form, &QDialog::accept);
    layout->addWidget(buttons);
    zor::FillOkCancel(form);
    if (zor::DialogService().Exec(form) != QDialog::Accepted)
        return;
    Run([&] {
        zor::ChangeLabel(*fLabel, [&] {
            TZORData& data = fLabel->Data();
            data.SetDataSel(page->GetDataSel());
            data.SetFieldRepeat(page->GetFieldRepeat());
            data.SetLinkData(page->GetLinkData());
            data.SetSaveJson(page->GetSaveJson());
        });
    });
}

void TDesignerWindow::EditorSettings()
{
    fEditor->EditSettings();
}

void TDesignerWindow::Preview()
{
    Run([this] {
        TfPreview form(this);
        form.Ini(*fLabel);
        form.setWindowTitle(tr("Preview of %1 — %2").arg(LabelTitle(), AppName));
        zor::DialogService().Exec(form);
    });
}

void TDesignerWindow::Print()
{
    switch (zor::ChoosePrinter(this, *fLabel)) {
    case zor::TZORPrinterChoice::NoPrinter:
        zor::ShowWarning(this, AppName, tr("There is no printer to print on."));
        return;
    case zor::TZORPrinterChoice::Cancelled:
        return;
    case zor::TZORPrinterChoice::Ready:
        break;
    }
    Run([this] { fLabel->Print(); });
}

void TDesignerWindow::Export()
{
    const QString fileName = zor::DialogService().SaveFileName(
        this, tr("Export"), StartName(QStringLiteral("pdf")), ExportFilter);
    if (fileName.isEmpty())
        return;
    TZORExport kind = TZORExport::PDF;
    if (!zor::ExportKindOf(QFileInfo(fileName).suffix(), kind)) {
        zor::ShowWarning(
            this, AppName, tr("Export writes PDF, XPS, PNG, JPEG, GIF or BMP files: %1").arg(fileName));
        return;
    }
    Run([&] {
        // The run with its data, its questions asked here, gives the sheets to choose from.
        fLabel->CheckPrintData();
        const TZORPrintRun& run = fLabel->PrintRun();
        const int64_t sheets = std::max<int64_t>(run.sheetCount, 1);
        TExportDialog form(kind, sheets, std::clamp<int64_t>(run.sheetCounter, 1, sheets), this);
        if (zor::DialogService().Exec(form) != QDialog::Accepted)
            return;
        zor::TExportOptions options = form.Options(fileName);
        const int64_t first = form.First(), last = form.Last();
        // A copy is drawn: the label's own data cursor stays where the user left it.
        const std::unique_ptr<TZORLabelVCL> job = fLabel->Snapshot();
        QApplication::setOverrideCursor(Qt::WaitCursor);
        const auto restore = qScopeGuard([] { QApplication::restoreOverrideCursor(); });
        if (zor::IsRaster(kind)) {
            zor::ExportSheets(*job, options, first, last);
        } else {
            job->GoToPage(first, true);
            zor::ExportLabel(*job, options);
        }
        ExportDone(fileName, kind, last - first + 1);
    });
}

void TDesignerWindow::ExportDone(const QString& fileName, TZORExport kind, int64_t sheets)
{
    const QString name = QFileInfo(fileName).fileName();
    QString what;
    if (sheets == 1)
        what = tr("Wrote %1: one sheet.").arg(name);
    else if (zor::IsRaster(kind))
        what = tr("Wrote %1 sheets, one image each: %2 to %3.")
                   .arg(sheets)
                   .arg(QFileInfo(zor::SheetFileName(fileName, 1, sheets)).fileName(),
                       QFileInfo(zor::SheetFileName(fileName, sheets, sheets)).fileName());
    else
        what = tr("Wrote %1: %2 sheets, one page each.").arg(name).arg(sheets);
    statusBar()->showMessage(what, 10000);
    zor::ShowInfo(this, AppName,
        what + QLatin1Char('\n')
            + tr("in %1").arg(QDir::toNativeSeparators(QFileInfo(fileName).absolutePath())));
}

void TDesignerWindow::Undo()
{
    fLabel->Undo();
}

void TDesignerWindow::Redo()
{
    fLabel->Redo();
}

void TDesignerWindow::DeleteSelection()
{
    fLabel->DeleteSelection();
}
