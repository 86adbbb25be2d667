#include "DesignKit.h"
#include "dialogs/Zor.Eddata.h"
#include "kit/Dialogs.h"
#include "label/Zor.Vcl.h"

#include <QStandardItemModel>
#include <QTabWidget>
#include <QTableView>

#include <gtest/gtest.h>

using zor::EditDataBinding;
using zor::FormDataSets;

namespace {

using zor::test::TFormDataSet;
using zor::test::TScriptedDialogs;

// A row of a grid as the user sees it: the include flag, the alias, the name.
struct TRow {
    bool include;
    QString alias;
    QString name;
    bool operator==(const TRow&) const = default;
};

QStandardItemModel& GridModel(QDialog& d, const char* grid)
{
    return *qobject_cast<QStandardItemModel*>(d.findChild<QTableView*>(QString::fromLatin1(grid))->model());
}

std::vector<TRow> Rows(QStandardItemModel& model)
{
    std::vector<TRow> rows;
    for (int i = 0; i < model.rowCount(); ++i)
        rows.push_back({ model.item(i, 0)->checkState() == Qt::Checked, model.item(i, 1)->text(),
            model.item(i, 2)->text() });
    return rows;
}

void ShowDataset(QDialog& d, int row)
{
    auto* grid = d.findChild<QTableView*>(QStringLiteral("DBDatasets"));
    grid->setCurrentIndex(grid->model()->index(row, 0));
}

TZORDataset Entry(const QString& name, const QString& alias, TZORDataFields fields)
{
    TZORDataset entry(name, TZORDatasetKind::Host, std::move(fields), nullptr);
    entry.SetAlias(alias);
    return entry;
}

TZORDataField Field(const QString& name, const QString& alias)
{
    TZORDataField field(name, TZORFieldType::String);
    field.SetAlias(alias);
    return field;
}

// The host form: two data sets and a detail set, the label binding the first (under an alias,
// one field with an alias, one stored without) and a data set the form does not hold.
struct TForm {
    QObject Form;
    TZORLabelVCL Label;
    TForm()
    {
        new TFormDataSet(&Form, QStringLiteral("Customers"), { "Id", "Name", "City" });
        new TFormDataSet(&Form, QStringLiteral("Products"), { "Code", "Price" });
        auto* lines = new TFormDataSet(&Form, QStringLiteral("OrderLines"), { "Qty" });
        lines->setProperty("MasterFields", QStringLiteral("Id"));
        Label.Data().Datasets() = { Entry("Archive", "", { Field("Year", "") }),
            Entry("customers", "Clients", { Field("Name", "Who"), Field("City", "") }) };
    }
};

// The grids show the form's data sets that are not detail sets, those the label binds ticked
// under their alias (an empty one shows the name), the others unticked under their own name.
TEST(EdData, ListsTheFormsDataSetsAsTheLabelBindsThem)
{
    TForm form;
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("QUINDLE 3.0 DATA SETTINGS"));
        QStandardItemModel& sets = GridModel(d, "DBDatasets");
        EXPECT_EQ(sets.horizontalHeaderItem(1)->text(), QStringLiteral("   DATASET   ALIAS"));
        EXPECT_EQ(Rows(sets),
            (std::vector<TRow> { { true, "Clients", "Customers" }, { false, "Products", "Products" } }));
        EXPECT_EQ(
            GridModel(d, "DBFields").horizontalHeaderItem(1)->text(), QStringLiteral("    FIELD   ALIAS"));
        EXPECT_EQ(Rows(GridModel(d, "DBFields")),
            (std::vector<TRow> { { false, "Id", "Id" }, { true, "Who", "Name" }, { true, "City", "City" } }));
        ShowDataset(d, 1);
        EXPECT_EQ(Rows(GridModel(d, "DBFields")),
            (std::vector<TRow> { { false, "Code", "Code" }, { false, "Price", "Price" } }));
        return int(QDialog::Rejected);
    });
    EXPECT_FALSE(zor::EditDataBinding(form.Label, zor::FormDataSets(form.Form)));
}

// OK makes the collection from the ticked rows and their aliases: a data set unticked goes, one
// ticked comes with its ticked fields, and a data set the form does not hold keeps its entry.
TEST(EdData, TheTickedRowsBecomeTheCollection)
{
    TForm form;
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog& d) {
        QStandardItemModel& sets = GridModel(d, "DBDatasets");
        sets.item(0, 1)->setText(QStringLiteral("Buyers"));
        GridModel(d, "DBFields").item(1, 0)->setCheckState(Qt::Unchecked);
        GridModel(d, "DBFields").item(0, 0)->setCheckState(Qt::Checked);
        sets.item(1, 0)->setCheckState(Qt::Checked);
        ShowDataset(d, 1);
        GridModel(d, "DBFields").item(1, 0)->setCheckState(Qt::Checked);
        GridModel(d, "DBFields").item(1, 1)->setText(QStringLiteral("Cost"));
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(zor::EditDataBinding(form.Label, zor::FormDataSets(form.Form)));

    const TZORDatasets& sets = form.Label.Data().Datasets();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[0].GetName(), QStringLiteral("Archive"));
    EXPECT_EQ(sets[0].GetFields().size(), 1u);
    EXPECT_EQ(sets[1].GetName(), QStringLiteral("Customers"));
    EXPECT_EQ(sets[1].GetAlias(), QStringLiteral("Buyers"));
    ASSERT_EQ(sets[1].GetFields().size(), 2u);
    EXPECT_EQ(sets[1].GetFields()[0].GetName(), QStringLiteral("Id"));
    EXPECT_EQ(sets[1].GetFields()[1].GetName(), QStringLiteral("City"));
    EXPECT_EQ(sets[2].GetName(), QStringLiteral("Products"));
    EXPECT_EQ(sets[2].GetAlias(), QString());
    ASSERT_EQ(sets[2].GetFields().size(), 1u);
    EXPECT_EQ(sets[2].GetFields()[0].GetName(), QStringLiteral("Price"));
    EXPECT_EQ(sets[2].GetFields()[0].GetAlias(), QStringLiteral("Cost"));
    EXPECT_TRUE(form.Label.GetModified());
}

// Unticking every data set the form holds leaves only what the form does not hold; Cancel keeps
// the collection as it was.
TEST(EdData, UntickingDropsTheBindingAndCancelKeepsIt)
{
    for (const bool ok : { true, false }) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        TForm form;
        TScriptedDialogs dialogs;
        dialogs.AnswerDialog([ok](QDialog& d) {
            GridModel(d, "DBDatasets").item(0, 0)->setCheckState(Qt::Unchecked);
            return ok ? TScriptedDialogs::Press(d, QDialogButtonBox::Ok) : int(QDialog::Rejected);
        });
        EXPECT_EQ(zor::EditDataBinding(form.Label, zor::FormDataSets(form.Form)), ok);
        QStringList names;
        for (const TZORDataset& entry : form.Label.Data().Datasets())
            names << entry.GetName();
        const QStringList expected = ok ? QStringList { "Archive" } : QStringList { "Archive", "customers" };
        EXPECT_EQ(names, expected);
    }
}

// A data source of the form: the object a detail set names as its master source.
QObject* Source(QObject& form, QObject* dataSet)
{
    auto* source = new QObject(&form);
    source->setProperty("DataSet", QVariant::fromValue(dataSet));
    return source;
}

// The detail rules on data sets with and without the master properties.
TEST(EdData, DetailSetsAreKnownByTheirMasterProperties)
{
    QObject form;
    QObject customers(&form), products(&form);
    const auto set = [&form](const char* masterFields, const char* link, QObject* master) {
        auto* ds = new QObject(&form);
        if (masterFields)
            ds->setProperty("MasterFields", QString::fromLatin1(masterFields));
        if (link)
            ds->setProperty(link, QVariant::fromValue(Source(form, master)));
        return ds;
    };
    const struct {
        const char* what;
        QObject* dataSet;
        bool detail;
        bool ofCustomers;
    } cases[] = {
        { "no master properties", set(nullptr, nullptr, nullptr), false, false },
        { "empty MasterFields", set("", "MasterSource", &customers), false, true },
        { "MasterSource of the master", set("Id", "MasterSource", &customers), true, true },
        { "MasterSource of another", set("Id", "MasterSource", &products), true, false },
        { "DataSource when there is no MasterSource", set("Id", "DataSource", &customers), true, true },
        { "a link to no data source", set("Id", nullptr, nullptr), true, false },
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(TfEdData::IsDetail(*c.dataSet), c.detail);
        EXPECT_EQ(TfEdData::CheckDetail(customers, *c.dataSet), c.ofCustomers);
    }
    // MasterSource wins over DataSource.
    QObject* both = set("Id", "MasterSource", &products);
    both->setProperty("DataSource", QVariant::fromValue(Source(form, &customers)));
    EXPECT_FALSE(TfEdData::CheckDetail(customers, *both));
}

// The Detail page lists the detail sets of the master current on the Data page, with the
// fields of the current detail; a detail ticked there is bound with its ticked fields.
TEST(EdData, TheDetailPageListsAndBindsTheCurrentMastersDetails)
{
    TForm form;
    auto* customers = form.Form.findChild<QObject*>(QStringLiteral("Customers"));
    auto* products = form.Form.findChild<QObject*>(QStringLiteral("Products"));
    form.Form.findChild<QObject*>(QStringLiteral("OrderLines"))
        ->setProperty("MasterSource", QVariant::fromValue(Source(form.Form, customers)));
    auto* prices = new TFormDataSet(&form.Form, QStringLiteral("Prices"), { "From", "Amount" });
    prices->setProperty("MasterFields", QStringLiteral("Code"));
    prices->setProperty("DataSource", QVariant::fromValue(Source(form.Form, products)));
    TScriptedDialogs dialogs;
    dialogs.AnswerDialog([](QDialog& d) {
        auto* pages = d.findChild<QTabWidget*>(QStringLiteral("PageControl"));
        EXPECT_EQ(pages->count(), 2);
        EXPECT_EQ(pages->tabText(1), QStringLiteral("Detail"));
        pages->setCurrentIndex(1);
        QStandardItemModel& details = GridModel(d, "DBDetails");
        EXPECT_EQ(details.horizontalHeaderItem(1)->text(), QStringLiteral(" DETAIL DATASET ALIAS"));
        EXPECT_EQ(Rows(details), (std::vector<TRow> { { false, "OrderLines", "OrderLines" } }));
        EXPECT_EQ(Rows(GridModel(d, "DBFieldsDetail")), (std::vector<TRow> { { false, "Qty", "Qty" } }));
        ShowDataset(d, 1);
        EXPECT_EQ(Rows(GridModel(d, "DBDetails")), (std::vector<TRow> { { false, "Prices", "Prices" } }));
        EXPECT_EQ(Rows(GridModel(d, "DBFieldsDetail")),
            (std::vector<TRow> { { false, "From", "From" }, { false, "Amount", "Amount" } }));
        GridModel(d, "DBDetails").item(0, 0)->setCheckState(Qt::Checked);
        GridModel(d, "DBDetails").item(0, 1)->setText(QStringLiteral("Tariff"));
        GridModel(d, "DBFieldsDetail").item(1, 0)->setCheckState(Qt::Checked);
        return TScriptedDialogs::Press(d, QDialogButtonBox::Ok);
    });
    ASSERT_TRUE(zor::EditDataBinding(form.Label, zor::FormDataSets(form.Form)));
    const TZORDatasets& sets = form.Label.Data().Datasets();
    ASSERT_EQ(sets.size(), 3u);
    EXPECT_EQ(sets[2].GetName(), QStringLiteral("Prices"));
    EXPECT_EQ(sets[2].GetAlias(), QStringLiteral("Tariff"));
    ASSERT_EQ(sets[2].GetFields().size(), 1u);
    EXPECT_EQ(sets[2].GetFields()[0].GetName(), QStringLiteral("Amount"));
}

} // namespace
