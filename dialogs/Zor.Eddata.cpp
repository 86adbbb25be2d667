#include "Zor.Eddata.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Label.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
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
    , DBDatasets(Grid(this, "DBDatasets"))
    , DBFields(Grid(this, "DBFields"))
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

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(DBDatasets, 1);
    layout->addWidget(DBFields, 1);
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
        QString alias;
        CDDatasets->appendRow(GridRow(FindDataset(entry.Name, alias), alias, entry.Name));
        TListed listed { entry.Name, source->Fields(),
            GridModel(this, QStringLiteral("    FIELD   ALIAS"), QStringLiteral("FIELDS")) };
        const int pos = DatasetPos(entry.Name);
        for (const TZORDataField& field : listed.Fields) {
            const bool include = FindFieldName(pos, field.GetName(), alias);
            listed.FieldGrid->appendRow(GridRow(include, alias, field.GetName()));
        }
        fDatasetList.push_back(std::move(listed));
    }
    if (CDDatasets->rowCount() > 0)
        DBDatasets->setCurrentIndex(CDDatasets->index(0, ColInclude));
}

void TfEdData::ShowFields(int row)
{
    const bool listed = row >= 0 && row < int(fDatasetList.size());
    DBFields->setModel(listed ? fDatasetList[size_t(row)].FieldGrid : nullptr);
    if (listed)
        SizeColumns(*DBFields);
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

TZORDataset TfEdData::ListedEntry(int row, std::shared_ptr<const IZORDataSet> source) const
{
    const TListed& listed = fDatasetList[size_t(row)];
    TZORDataFields fields;
    for (int i = 0; i < listed.FieldGrid->rowCount(); ++i) {
        if (!Ticked(*listed.FieldGrid, i))
            continue;
        fields.push_back(listed.Fields[size_t(i)]);
        fields.back().SetAlias(StoredAlias(*listed.FieldGrid, i));
    }
    TZORDataset entry(listed.Name, TZORDatasetKind::Host, std::move(fields), std::move(source));
    entry.SetAlias(StoredAlias(*CDDatasets, row));
    return entry;
}

TZORDatasets TfEdData::GetDatasets() const
{
    const auto listedRow = [this](const TZORDataset& entry) {
        for (size_t i = 0; i < fDatasetList.size(); ++i) {
            if (entry.IsNamed(fDatasetList[i].Name))
                return int(i);
        }
        return -1;
    };
    TZORDatasets result;
    std::vector<bool> placed(fDatasetList.size(), false);
    for (const TZORDataset& entry : fCloneDatasets) {
        const int row = listedRow(entry);
        if (row < 0)
            result.push_back(entry);
        else if (!placed[size_t(row)] && Ticked(*CDDatasets, row))
            result.push_back(ListedEntry(row, entry.GetSource()));
        if (row >= 0)
            placed[size_t(row)] = true;
    }
    for (size_t row = 0; row < fDatasetList.size(); ++row) {
        if (!placed[row] && Ticked(*CDDatasets, int(row)))
            result.push_back(ListedEntry(int(row), nullptr));
    }
    return result;
}
