#pragma once

#include "Zor.Data.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QString>

#include <memory>
#include <vector>

class QObject;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class TZORBaseLabel;

// A data set of the host's form: its name and the object. The object is a data set when it also
// implements IZORDataSet; a "MasterFields" property that is not empty makes it a detail set.
struct QUINDLE_WIDGETS_EXPORT TZORFormDataSet {
    QString Name;
    const QObject* Object = nullptr;
};
using TZORFormDataSets = std::vector<TZORFormDataSet>;

namespace zor {
// The data sets among the descendants of a form, by object name, in the order the form holds
// them; objects without a name are passed over.
QUINDLE_WIDGETS_EXPORT TZORFormDataSets FormDataSets(const QObject& form);
} // namespace zor

// The data-binding dialog: which of the host form's data sets and which of their fields the
// label binds, and under which alias. It works on a copy of the label's host data sets; the
// collection it answers is built from the ticked rows of its grids with their aliases, and
// keeps, in their place, the entries of data sets that the form does not hold. The "Data" page
// lists the master data sets and the fields of the current one; the "Detail" page the detail
// sets of that master and the fields of the current detail. A detail set ticked is bound as a
// data set of its own (a table reads the lines of the current master record from it).
class QUINDLE_WIDGETS_EXPORT TfEdData : public QDialog {
    Q_OBJECT

public:
    explicit TfEdData(QWidget* parent = nullptr);
    ~TfEdData() override;

    // Copies the label's host data sets (none without a label).
    void IniDialog(const TZORBaseLabel* label);
    // Lists the form's data sets that are not detail sets, with their fields: ticked and under
    // their alias when the copy binds them, else unticked under their own name.
    void FillDataInfo(const TZORFormDataSets& list);

    // Look-ups on the copy; names compare without regard to case. An alias left empty stands
    // for the name.
    bool FindDataset(const QString& name, QString& alias) const;
    int DatasetPos(const QString& name) const;
    bool FindFieldName(int pos, const QString& name, QString& alias) const;
    // A data set whose "MasterFields" property holds something.
    static bool IsDetail(const QObject& dataSet);
    // Whether dataSet's "MasterSource" property (or, without one, its "DataSource") refers to
    // a data source whose "DataSet" is master.
    static bool CheckDetail(const QObject& master, const QObject& dataSet);

    // The collection the grids show: the copy's entries for data sets not listed, then each
    // listed data set that is ticked (in the copy's place when it had one) with its alias and
    // its ticked fields.
    TZORDatasets GetDatasets() const;

private:
    struct TListed;

    void ShowFields(int row);
    void ShowDetailFields(int row);
    // Lists a data set in grid, ticked and under its alias when the copy binds it, with its
    // fields.
    TListed List(const TZORFormDataSet& entry, const IZORDataSet& source, QStandardItemModel* grid);
    TZORDataset ListedEntry(const TListed& listed, std::shared_ptr<const IZORDataSet> source) const;

    TZORDatasets fCloneDatasets;
    std::vector<TListed> fDatasetList;
    std::vector<TListed> fDetailList; // each names the master row whose detail grid holds it
    QStandardItemModel* CDDatasets;
    QTabWidget* PageControl;
    QTableView* DBDatasets;
    QTableView* DBFields;
    QTableView* DBDetails;
    QTableView* DBFieldsDetail;
    int fCurrentMaster = -1;
};

namespace zor {
// Runs the data-binding dialog over the label and the form's data sets; after OK the label's
// host data sets are the dialog's collection, written as one change. False for a cancel.
QUINDLE_WIDGETS_EXPORT bool EditDataBinding(
    TZORBaseLabel& label, const TZORFormDataSets& list, QWidget* parent = nullptr);
} // namespace zor
