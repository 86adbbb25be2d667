#pragma once

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

class QAction;
class QActionGroup;
class QMenu;
class TZOREditor;
class TZORInspector;
class TZORBaseLabel;
class TZORLabelVCL;

// The example label designer: the editor in the middle, the element tools in a tool bar, the
// property inspector docked beside it, and menus for the label's files, imports, set-up, layers,
// dimension styles, data, preview, print, export, undo and redo. Everything it does is one of the
// library's own operations or dialogs; every dialog, file dialogs included, opens through the
// dialog service (zor::DialogService()).
class TDesignerWindow : public QMainWindow {
    Q_OBJECT

public:
    explicit TDesignerWindow(QWidget* parent = nullptr);
    ~TDesignerWindow() override;

    // Reads a label file (".eti" or ".json") into a new label, which replaces the one shown; a
    // file that does not read is reported and leaves the label shown as it was. False then.
    bool OpenLabel(const QString& fileName);
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

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    void BuildTools();
    // The property inspector, docked at the right.
    void AddInspectorDock();
    template <class Slot> QAction* AddCommand(QMenu& menu, const char* name, const QString& text, Slot slot);
    // Puts a label in place: every view shows it and the commands follow its history.
    void ShowLabel(std::unique_ptr<TZORLabelVCL> label, const QString& fileName);
    void ChooseTool(int action);
    void UpdateTitle();
    void UpdateCommands();
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
    void DimStyles();
    void DataSources();
    void EditorSettings();
    void Preview();
    void Print();
    void Export();
    void Undo();
    void Redo();
    void DeleteSelection();
    void ExportDone(const QString& fileName, const QString& error);

    std::unique_ptr<TZORLabelVCL> fLabel;
    TZOREditor* fEditor;
    TZORInspector* fInspector = nullptr;
    QActionGroup* fTools;
    QString fFileName;
};
