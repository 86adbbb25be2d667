#pragma once

#include "Zor.Types.h"

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class TZOREditor;
class TZORInspector;
class TZORBaseLabel;
class TZORLabelVCL;

// The example label designer: the editor in the middle, the element tools in a tool bar, the
// property inspector docked beside it, and menus for the label's files, imports, set-up, layers,
// dimension styles, data, preview, print, export, undo and redo, and a status bar with the next
// step of the tool in use and the label's messages. Everything it does is one of the library's
// own operations or dialogs; every dialog, file dialogs included, opens through the dialog
// service (zor::DialogService()). File dialogs start in the label's folder, or in the user's
// documents for a label not yet saved.
class TDesignerWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TDesignerWindow(QWidget* parent = nullptr);
    ~TDesignerWindow() override;

    // Reads a label file (".eti" or ".json") into a new label, which replaces the one shown; a
    // file that does not read is reported and leaves the label shown as it was. False then.
    bool OpenLabel(const QString& fileName);
    // Reads a label file as a new, untitled label (the bundled sample): saving it asks where.
    bool OpenCopy(const QString& fileName);
    // Saves to fileName in the form its extension names (".eti" binary, else JSON); false, after
    // telling the user, when the file could not be written.
    bool SaveLabel(const QString& fileName);

    TZORLabelVCL& Label() const { return *fLabel; }
    TZOREditor& Editor() const { return *fEditor; }
    TZORInspector& Inspector() const { return *fInspector; }
    // The file the label was read from or last saved to; empty for a new label.
    const QString& FileName() const { return fFileName; }
    // The command of that object name ("actOpen", "actPreview", ...), for hosts and tests.
    QAction* Command(const QString& name) const;
    // The tool button of an action (zor::TZORAction).
    QAction* Tool(int action) const;
    // The next step of the tool in use, as the status bar shows it.
    QString Hint() const;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildMenus();
    void BuildTools();
    // The property inspector, docked at the right.
    void AddInspectorDock();
    // The status bar: the tool's next step, and the label's messages over it while they last.
    void AddStatusBar();
    template <class Slot> QAction* AddCommand(QMenu& menu, const char* name, const QString& text, Slot slot);
    // Puts a label in place: every view shows it and the commands follow its history.
    void ShowLabel(std::unique_ptr<TZORLabelVCL> label, const QString& fileName);
    void ChooseTool(int action);
    // The label's file name, or "Untitled".
    QString LabelTitle() const;
    void UpdateTitle();
    void UpdateHint();
    // After a click or a key in the window: the tool's next step and the title.
    void AfterInput();
    void UpdateCommands();
    // Reads a label file, telling the user why it could not; null then.
    std::unique_ptr<TZORLabelVCL> ReadLabel(const QString& fileName);
    // Where file dialogs start: the label's folder, else the user's documents; and the name
    // offered there for a file of that extension.
    QString StartFolder() const;
    QString StartName(const QString& extension) const;
    // Asks to save a modified label; false when the user cancels what was about to replace it.
    bool MaySetAside();
    // Runs an operation of the label, telling the user of the error it raises.
    template <class F> void Run(F&& operation);

    void NewLabel();
    void Open();
    void Save();
    void SaveAs();
    void ImportMermaid();
    void ImportGantt();
    void ImportText(const QString& caption, const QString& filter,
        const std::function<bool(TZORBaseLabel&, const QString&)>& load);
    void PageSetup();
    void Layers();
    void ToggleDrawingMode();
    void DimStyles();
    void DataSources();
    void EditorSettings();
    void Preview();
    void Print();
    void Export();
    void Undo();
    void Redo();
    void DeleteSelection();
    // Tells the user what the export wrote.
    void ExportDone(const QString& fileName, TZORExport kind, int64_t sheets);

    std::unique_ptr<TZORLabelVCL> fLabel;
    TZOREditor* fEditor;
    TZORInspector* fInspector = nullptr;
    QActionGroup* fTools;
    QLabel* fHint = nullptr;
    QString fFileName;
};
