#include "DesignerWindow.h"

#include "Zor.Act.h"
#include "Zor.Error.h"
#include "Zor.Mermaid.h"
#include "dialogs/Zor.DataPage.h"
#include "dialogs/Zor.DialogService.h"
#include "dialogs/Zor.Forms.h"
#include "editor/Zor.Vcl.Editor.h"
#include "inspector/Zor.Inspector.h"
#include "label/Zor.Vcl.Export.h"
#include "label/Zor.Vcl.h"

#include <QActionGroup>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFile>
#include <QFileInfo>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString AppName = QStringLiteral("quindle designer");
const QString LabelFilter
    = QStringLiteral("Labels (*.json *.eti);;Label, JSON (*.json);;Label, binary (*.eti)");
const QString ExportFilter = QStringLiteral(
    "PDF (*.pdf);;XPS (*.xps);;PNG (*.png);;JPEG (*.jpg *.jpeg);;GIF (*.gif);;Bitmap (*.bmp)");

// The element tools of the tool bar, in its order.
struct TToolRow {
    zor::TZORAction action;
    const char* text;
};
constexpr TToolRow ToolRows[] = {
    { zor::acSelect, "Select" },
    { zor::acPoint, "Point" },
    { zor::acLine, "Line" },
    { zor::acArrowLine, "Arrow" },
    { zor::acPolyLine, "Polyline" },
    { zor::acBezier, "Bézier" },
    { zor::acArc3P, "Arc" },
    { zor::acRectangle, "Rectangle" },
    { zor::acPolygon, "Polygon" },
    { zor::acCircle, "Circle" },
    { zor::acEllipse, "Ellipse" },
    { zor::acSector, "Sector" },
    { zor::acLevel, "Gauge" },
    { zor::acPackage, "Package" },
    { zor::acDim, "Dimension" },
    { zor::acText, "Text" },
    { zor::acParagraph, "Paragraph" },
    { zor::acRichText, "Rich text" },
    { zor::acPolyText, "Poly text" },
    { zor::acImage, "Image" },
    { zor::acBarcode, "Barcode" },
    { zor::acPDF417, "PDF417" },
    { zor::acDataMatrix, "DataMatrix" },
    { zor::acQRCode, "QR code" },
    { zor::acTable, "Table" },
    { zor::acFlow, "Flow node" },
    { zor::acLink, "Link" },
    { zor::acRank, "Rating" },
    { zor::acNutriScore, "Nutri-Score" },
    { zor::acSymbol, "Symbol" },
};

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
    ShowLabel(std::make_unique<TZORLabelVCL>(), {});
    resize(1200, 800);
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
        fTools->addAction(tool);
        connect(tool, &QAction::triggered, this, [this, action = row.action] { ChooseTool(action); });
    }
    Tool(zor::acSelect)->setChecked(true);
    // A tool the editor ends (Esc, the right button) shows as ended.
    connect(fEditor, &TZORBaseEditor::ToolChanged, this, [this](int action) {
        if (QAction* tool = Tool(action))
            tool->setChecked(true);
    });
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
    connect(label.get(), &TZORLabelVCL::ExportDone, this, &TDesignerWindow::ExportDone);
    fEditor->SetLabel(label.get());
    fInspector->SetLabel(label.get());
    fLabel = std::move(label);
    fFileName = fileName;
    Tool(zor::acSelect)->setChecked(true);
    UpdateCommands();
    UpdateTitle();
}

void TDesignerWindow::ChooseTool(int action)
{
    fLabel->ResetAction();
    TAct::SetCurAction(action);
    fLabel->Notify(TZRChange::Tool);
    fEditor->Surface().setFocus(Qt::OtherFocusReason);
}

void TDesignerWindow::UpdateTitle()
{
    const QString name = fFileName.isEmpty() ? tr("Untitled") : QFileInfo(fFileName).fileName();
    setWindowTitle(name + QStringLiteral("[*] — ") + AppName);
    setWindowModified(fLabel->GetModified());
}

void TDesignerWindow::UpdateCommands()
{
    Command(QStringLiteral("actUndo"))->setEnabled(fLabel->CanUndo());
    Command(QStringLiteral("actRedo"))->setEnabled(fLabel->CanRedo());
    Command(QStringLiteral("actDelete"))->setEnabled(fLabel->GetSelectionCount() > 0);
    // Dimension styles belong to technical drawings.
    Command(QStringLiteral("actDimStyles"))->setEnabled(fLabel->GetEditorMode() == 2);
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

bool TDesignerWindow::OpenLabel(const QString& fileName)
{
    auto label = std::make_unique<TZORLabelVCL>();
    try {
        label->LoadFromFile(fileName);
    } catch (const EZORError& e) {
        zor::ShowWarning(this, AppName, e.Message());
        return false;
    }
    label->SetModified(false);
    // Names in a label (its CSV file, its images) count from the label's folder.
    QDir::setCurrent(QFileInfo(fileName).absolutePath());
    ShowLabel(std::move(label), QFileInfo(fileName).absoluteFilePath());
    return true;
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
        = zor::DialogService().OpenFileName(this, tr("Open label"), fFileName, LabelFilter);
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
    QString fileName = zor::DialogService().SaveFileName(this, tr("Save label"), fFileName, LabelFilter);
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
    const QString fileName = zor::DialogService().OpenFileName(this, caption, {}, filter);
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        zor::ShowWarning(this, AppName, file.errorString());
        return;
    }
    const QString text = QString::fromUtf8(file.readAll());
    // The import empties the label and draws the diagram, one step of its history.
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
    Run([this] { fLabel->Preview(); });
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
    const QString fileName = zor::DialogService().SaveFileName(this, tr("Export"), {}, ExportFilter);
    if (fileName.isEmpty())
        return;
    TZORExport kind = TZORExport::PDF;
    if (!zor::ExportKindOf(QFileInfo(fileName).suffix(), kind)) {
        zor::ShowWarning(
            this, AppName, tr("Export writes PDF, XPS, PNG, JPEG, GIF or BMP files: %1").arg(fileName));
        return;
    }
    // The current sheet with the data of the run, at full size.
    Run([&] { fLabel->ExportDoc(kind, fileName, 1, 1.0f, 90, true, false, false); });
}

void TDesignerWindow::ExportDone(const QString& fileName, const QString& error)
{
    if (!error.isEmpty())
        zor::ShowWarning(this, AppName, error);
    else
        statusBar()->showMessage(tr("Exported %1").arg(fileName), 5000);
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
