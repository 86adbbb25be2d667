#pragma once

#include "Zor.LibSymbol.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <QStringList>

#include <memory>
#include <utility>
#include <vector>

class QLabel;
class QTreeWidget;
class QTreeWidgetItem;
class TZORLabelVCL;
class TZORViewLibrary;

// Chooses one library symbol to place on a label: at the left a tree of the library files
// ("*.lyp") of a folder with their categories and sub-categories, headed by the label's own
// symbols when it holds any; at the right the symbols of the category chosen; below the tree the
// name, unit and note of the symbol under the pointer. OK without a symbol chosen is a cancel.
class QUINDLE_WIDGETS_EXPORT TfSelSymbol : public QDialog {
    Q_OBJECT

public:
    // Where a node's symbols come from: the position of its file in the list of files, or
    // OwnSymbols for the label's own.
    static constexpr int OwnSymbols = -1;
    static constexpr int FileRole = Qt::UserRole;
    static constexpr int IdRole = Qt::UserRole + 1;

    explicit TfSelSymbol(QWidget* parent = nullptr);

    // Fills the tree from the folder's library files that the label's host lets be read
    // (OnReadSymEvent), and selects the node of lastCat (a category's own text) or the first.
    void Ini(TZORLabelVCL& label, const QString& folder, const QString& lastCat);
    void FillLanguage();

    // The symbol chosen, for the caller to keep; null for none.
    std::unique_ptr<TZORLibSymbol> GetSelection() const;
    // The text of the category node last chosen.
    const QString& LastCat() const { return fLastCat; }
    const QString& LastFile() const { return fLastFile; }

    // The files listed with their categories, sorted by path without case.
    const std::vector<std::pair<QString, QStringList>>& Categories() const { return listCategories; }
    TZORViewLibrary& Viewer() const { return *ZORViewLibrary; }

    void butOKClick();

private:
    void FillTree(const QString& lastCat);
    QTreeWidgetItem* FindNode(const QString& text, int file) const;
    QTreeWidgetItem* AddNode(QTreeWidgetItem* parent, const QString& text, int file);
    void tvCategoryChange(QTreeWidgetItem* node);
    void ZORViewLibraryChangePos(const QString& name, const QString& note, TZORUnits unit);

    QPointer<TZORLabelVCL> fLabel;
    std::vector<std::pair<QString, QStringList>> listCategories;
    QString fLastFile;
    QString fLastCat;
    bool fReading = true;
    int fIndex = -2;
    int fNodeCount = 0;
    QTreeWidget* tvCategory;
    QLabel* labName;
    QLabel* labUnits;
    QLabel* labNote;
    TZORViewLibrary* ZORViewLibrary;
};
