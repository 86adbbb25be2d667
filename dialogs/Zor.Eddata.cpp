#include "Zor.Eddata.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Label.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

enum TColumn { ColInclude = 0, ColAlias = 1, ColName = 2 };

// The include column's check box, the alias to edit and the name to read.
QList<QStandardItem*> GridRow(bool include, const QString& alias, const QString& name)
{
    auto* check = new QStandardItem;
    check->setCheckable(true);
    check->setEditable(false);
    check->setCheckState(include ? Qt::Checked : Qt::Unchecked);
    auto* aliasItem = new QStandardItem(alias);
    auto* nameItem = new QStandardItem(name);
    nameItem->setEditable(false);
    return { check, aliasItem, nameItem };
}

QStandardItemModel* GridModel(QObject* parent, const QString& aliasTitle, const QString& nameTitle)
{
    auto* model = new QStandardItemModel(0, 3, parent);
    model->setHorizontalHeaderLabels({ QStringLiteral("ADD"), aliasTitle, nameTitle });
    return model;
}

QTableView* Grid(QWidget* parent, const char* name)
{
    auto* grid = zor::Named(new QTableView(parent), name);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->verticalHeader()->hide();
    grid->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
        | QAbstractItemView::AnyKeyPressed);
    return grid;
}

void SizeColumns(QTableView& grid)
{
    grid.setColumnWidth(ColInclude, 32);
    grid.setColumnWidth(ColAlias, 140);
    grid.setColumnWidth(ColName, 150);
}

bool Ticked(const QStandardItemModel& model, int row)
{
    return model.item(row, ColInclude)->checkState() == Qt::Checked;
}

// The alias as the collection keeps it: empty where it says no more than the name.
QString StoredAlias(const QStandardItemModel& model, int row)
{
    const QString alias = model.item(row, ColAlias)->text().trimmed();
    return alias == model.item(row, ColName)->text() ? QString() : alias;
}

} // namespace

struct TfEdData::TListed {
    QString Name;
    TZORDataFields Fields;
    QStandardItemModel* FieldGrid = nullptr;
    QStandardItemModel* Grid = nullptr; // the grid holding its include flag and alias
    int Row = 0;
    QStandardItemModel* DetailGrid = nullptr; // a master's detail sets
    int Master = -1; // a detail's master row
};

namespace zor {

TZORFormDataSets FormDataSets(const QObject& form)
{
    TZORFormDataSets sets;
    for (const QObject* child : form.findChildren<QObject*>()) {
        if (dynamic_cast<const IZORDataSet*>(child) && !child->objectName().isEmpty())
            sets.push_back({ child->objectName(), child });
    }
    return sets;
}

bool EditDataBinding(TZORBaseLabel& label, const TZORFormDataSets& list, QWidget* parent)
{
    TfEdData form(parent);
    form.IniDialog(&label);
    form.FillDataInfo(list);
    if (DialogService().Exec(form) != QDialog::Accepted)
        return false;
    ChangeLabel(label, [&] { label.Data().Datasets() = form.GetDatasets(); });
    return true;
}

} // namespace zor

TfEdData::TfEdData(QWidget* parent)
    : QDialog(parent)
    , CDDatasets(GridModel(this, QStringLiteral("   DATASET   ALIAS"), QStringLiteral("DATASET")))
    , PageControl(zor::Named(new QTabWidget(this), "PageControl"))
    , DBDatasets(Grid(this, "DBDatasets"))
    , DBFields(Grid(this, "DBFields"))
    , DBDetails(Grid(this, "DBDetails"))
    , DBFieldsDetail(Grid(this, "DBFieldsDetail"))
{
    setObjectName(QStringLiteral("TfEdData"));
    setWindowTitle(QStringLiteral("QUINDLE 3.0 DATA SETTINGS"));
    setFixedSize(722, 394);
    DBDatasets->setModel(CDDatasets);
    SizeColumns(*DBDatasets);
    connect(DBDatasets->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) { ShowFields(current.row()); });

    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOkBtn"));
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("CANCEL"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    const auto page = [this](const char* name, QTableView* top, QTableView* bottom) {
        auto* widget = zor::Named(new QWidget(PageControl), name);
        auto* grids = new QVBoxLayout(widget);
        grids->addWidget(top, 1);
        grids->addWidget(bottom, 1);
        PageControl->addTab(widget, QString::fromLatin1(name));
    };
    page("Data", DBDatasets, DBFields);
    page("Detail", DBDetails, DBFieldsDetail);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PageControl, 1);
    layout->addWidget(buttons);
}

TfEdData::~TfEdData() = default;

void TfEdData::IniDialog(const TZORBaseLabel* label)
{
    fCloneDatasets = label ? label->Data().Datasets() : TZORDatasets {};
}

void TfEdData::FillDataInfo(const TZORFormDataSets& list)
{
    for (const TZORFormDataSet& entry : list) {
        const auto* source = dynamic_cast<const IZORDataSet*>(entry.Object);
        if (!source || entry.Name.isEmpty() || IsDetail(*entry.Object))
            continue;
        TListed listed = List(entry, *source, CDDatasets);
        listed.DetailGrid
            = GridModel(this, QStringLiteral(" DETAIL DATASET ALIAS"), QStringLiteral("DATASET"));
        const int master = int(fDatasetList.size());
        fDatasetList.push_back(std::move(listed));
        for (const TZORFormDataSet& detail : list) {
            const auto* detailSource = dynamic_cast<const IZORDataSet*>(detail.Object);
            if (!detailSource || detail.Name.isEmpty() || !IsDetail(*detail.Object)
                || !CheckDetail(*entry.Object, *detail.Object))
                continue;
            TListed d = List(detail, *detailSource, fDatasetList.back().DetailGrid);
            d.Master = master;
            fDetailList.push_back(std::move(d));
        }
    }
    if (CDDatasets->rowCount() > 0)
        DBDatasets->setCurrentIndex(CDDatasets->index(0, ColInclude));
}

TfEdData::TListed TfEdData::List(
    const TZORFormDataSet& entry, const IZORDataSet& source, QStandardItemModel* grid)
{
    QString alias;
    const bool include = FindDataset(entry.Name, alias);
    TListed listed { entry.Name, source.Fields(),
        GridModel(this, QStringLiteral("    FIELD   ALIAS"), QStringLiteral("FIELDS")), grid,
        grid->rowCount() };
    grid->appendRow(GridRow(include, alias, entry.Name));
    const int pos = DatasetPos(entry.Name);
    for (const TZORDataField& field : listed.Fields) {
        const bool ticked = FindFieldName(pos, field.GetName(), alias);
        listed.FieldGrid->appendRow(GridRow(ticked, alias, field.GetName()));
    }
    return listed;
}

// The detail page follows the master current on the data page.
void TfEdData::ShowFields(int row)
{
    const bool listed = row >= 0 && row < int(fDatasetList.size());
    fCurrentMaster = listed ? row : -1;
    DBFields->setModel(listed ? fDatasetList[size_t(row)].FieldGrid : nullptr);
    DBDetails->setModel(listed ? fDatasetList[size_t(row)].DetailGrid : nullptr);
    DBFieldsDetail->setModel(nullptr);
    if (!listed)
        return;
    SizeColumns(*DBFields);
    SizeColumns(*DBDetails);
    connect(DBDetails->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
        [this](const QModelIndex& current) { ShowDetailFields(current.row()); });
    if (DBDetails->model()->rowCount() > 0)
        DBDetails->setCurrentIndex(DBDetails->model()->index(0, ColInclude));
}

void TfEdData::ShowDetailFields(int row)
{
    for (const TListed& d : fDetailList) {
        if (d.Master == fCurrentMaster && d.Row == row) {
            DBFieldsDetail->setModel(d.FieldGrid);
            SizeColumns(*DBFieldsDetail);
            return;
        }
    }
    DBFieldsDetail->setModel(nullptr);
}

bool TfEdData::FindDataset(const QString& name, QString& alias) const
{
    const int pos = DatasetPos(name);
    const QString stored = pos < 0 ? QString() : fCloneDatasets[size_t(pos)].GetAlias();
    alias = stored.isEmpty() ? name : stored;
    return pos >= 0;
}

int TfEdData::DatasetPos(const QString& name) const
{
    for (size_t i = 0; i < fCloneDatasets.size(); ++i) {
        if (fCloneDatasets[i].IsNamed(name))
            return int(i);
    }
    return -1;
}

bool TfEdData::FindFieldName(int pos, const QString& name, QString& alias) const
{
    alias = name;
    if (pos < 0 || pos >= int(fCloneDatasets.size()))
        return false;
    const TZORDataset& entry = fCloneDatasets[size_t(pos)];
    for (const TZORDataField& field : entry.GetFields()) {
        if (field.GetName().compare(name, Qt::CaseInsensitive) == 0) {
            if (!field.GetAlias().isEmpty())
                alias = field.GetAlias();
            return true;
        }
    }
    return false;
}

bool TfEdData::IsDetail(const QObject& dataSet)
{
    const QVariant master = dataSet.property("MasterFields");
    return master.isValid() && !master.toString().isEmpty();
}

bool TfEdData::CheckDetail(const QObject& master, const QObject& dataSet)
{
    QVariant link = dataSet.property("MasterSource");
    if (!link.isValid())
        link = dataSet.property("DataSource");
    const QObject* source = link.value<QObject*>();
    return source && source->property("DataSet").value<QObject*>() == &master;
}

TZORDataset TfEdData::ListedEntry(const TListed& listed, std::shared_ptr<const IZORDataSet> source) const
{
    TZORDataFields fields;
    for (int i = 0; i < listed.FieldGrid->rowCount(); ++i) {
        if (!Ticked(*listed.FieldGrid, i))
            continue;
        fields.push_back(listed.Fields[size_t(i)]);
        fields.back().SetAlias(StoredAlias(*listed.FieldGrid, i));
    }
    TZORDataset entry(listed.Name, TZORDatasetKind::Host, std::move(fields), std::move(source));
    entry.SetAlias(StoredAlias(*listed.Grid, listed.Row));
    return entry;
}

TZORDatasets TfEdData::GetDatasets() const
{
    std::vector<const TListed*> all;
    for (const TListed& listed : fDatasetList)
        all.push_back(&listed);
    for (const TListed& listed : fDetailList)
        all.push_back(&listed);
    const auto listedAt = [&all](const TZORDataset& entry) {
        for (size_t i = 0; i < all.size(); ++i) {
            if (entry.IsNamed(all[i]->Name))
                return int(i);
        }
        return -1;
    };
    const auto ticked = [&all](size_t i) { return Ticked(*all[i]->Grid, all[i]->Row); };
    TZORDatasets result;
    std::vector<bool> placed(all.size(), false);
    for (const TZORDataset& entry : fCloneDatasets) {
        const int i = listedAt(entry);
        if (i < 0)
            result.push_back(entry);
        else if (!placed[size_t(i)] && ticked(size_t(i)))
            result.push_back(ListedEntry(*all[size_t(i)], entry.GetSource()));
        if (i >= 0)
            placed[size_t(i)] = true;
    }
    for (size_t i = 0; i < all.size(); ++i) {
        if (!placed[i] && ticked(i))
            result.push_back(ListedEntry(*all[i], nullptr));
    }
    return result;
}
