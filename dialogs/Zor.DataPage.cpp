#include "Zor.DataPage.h"

#include "Zor.Data.h"
#include "Zor.DialogService.h"
#include "Zor.Edjson.h"
#include "Zor.Error.h"
#include "Zor.Forms.h"
#include "Zor.Label.h"
#include "Zor.Listask.h"
#include "Zor.Listval.h"
#include "Zor.Msg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QToolButton>

#include <algorithm>
#include <utility>

namespace {

// The field types the page offers, in the order of their codes; other codes show their own text.
constexpr const char* ChosenTypes[] = { "String", "Boolean", "Integer", "Int64", "Float" };
constexpr const char* OtherTypes[] = { "String", "Img64", "ImgBlob" }; // codes 5 to 7
constexpr int FirstOtherType = 5;
constexpr const char* Separators[] = { "Semicolon", "Comma", "Tabulator", "Space" };
constexpr const char* Quotes[] = { "None", "Quotes", "DoubleQuotes" };
constexpr int NameColumnWidth = 220;
constexpr int TypeColumnWidth = 140;

using zor::Dialogs;
using zor::Named;
using zor::Prop;

QString ListText(const char* key)
{
    return TZORMsg::GetListValue(QString::fromLatin1(key));
}

template <size_t N> void FillList(QComboBox& box, const char* const (&keys)[N])
{
    const int index = box.currentIndex();
    box.clear();
    for (const char* key : keys)
        box.addItem(ListText(key));
    box.setCurrentIndex(index);
}

// A caption for an edit, taking it as its buddy.
QLabel* Caption(QWidget* parent, const char* name, QWidget* buddy)
{
    auto* label = zor::Named(new QLabel(parent), name);
    label->setBuddy(buddy);
    return label;
}

} // namespace

TZORDataPage::TZORDataPage(QWidget* parent)
    : QWidget(parent)
    , ckLinkData(zor::Named(new QCheckBox(this), "ckLinkData"))
    , ckSaveJson(zor::Named(new QCheckBox(this), "ckSaveJson"))
    , cbData(zor::Named(new QComboBox(this), "cbData"))
    , cbFieldRepeat(zor::Named(new QComboBox(this), "cbFieldRepeat"))
    , butJson(zor::Named(new QPushButton(QStringLiteral("{JSON}"), this), "butJson"))
    , edCsvFile(zor::Named(new QLineEdit(this), "edCsvFile"))
    , butEdCsvFile(zor::Named(new QToolButton(this), "butEdCsvFile"))
    , cbSeparator(zor::Named(new QComboBox(this), "cbSeparator"))
    , cbQuotes(zor::Named(new QComboBox(this), "cbQuotes"))
    , ckHeader(zor::Named(new QCheckBox(this), "ckHeader"))
    , butCheckCsv(zor::Named(new QPushButton(this), "butCheckCsv"))
    , sgFields(zor::Named(new QTableWidget(0, 2, this), "sgFields"))
    , sgPreview(zor::Named(new QTableWidget(0, 0, this), "sgPreview"))
    , butListVal(zor::Named(new QPushButton(this), "butListVal"))
    , butAskList(zor::Named(new QPushButton(this), "butAskList"))
{
    setObjectName(QStringLiteral("TabData"));
    butEdCsvFile->setText(QStringLiteral("…"));
    butEdCsvFile->setCursor(Qt::PointingHandCursor);
    for (QTableWidget* grid : { sgFields, sgPreview }) {
        grid->horizontalHeader()->hide();
        grid->verticalHeader()->hide();
        grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    }
    sgPreview->horizontalHeader()->show();
    sgFields->setMinimumSize(392, 140);
    for (QPushButton* b : { butJson, butCheckCsv, butListVal, butAskList })
        b->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(Caption(this, "labData", cbData), 0, 0);
    grid->addWidget(cbData, 0, 1);
    grid->addWidget(Caption(this, "labFieldRepeat", cbFieldRepeat), 0, 2);
    grid->addWidget(cbFieldRepeat, 0, 3);
    grid->addWidget(ckLinkData, 1, 0, 1, 2);
    grid->addWidget(ckSaveJson, 1, 2);
    grid->addWidget(butJson, 1, 3);
    auto* file = new QHBoxLayout;
    file->addWidget(edCsvFile);
    file->addWidget(butEdCsvFile);
    grid->addWidget(Caption(this, "labCsvFile", edCsvFile), 2, 0);
    grid->addLayout(file, 2, 1, 1, 3);
    grid->addWidget(Caption(this, "labSeparator", cbSeparator), 3, 0);
    grid->addWidget(cbSeparator, 3, 1);
    grid->addWidget(Caption(this, "labQuotes", cbQuotes), 3, 2);
    grid->addWidget(cbQuotes, 3, 3);
    grid->addWidget(ckHeader, 4, 0, 1, 2);
    grid->addWidget(butCheckCsv, 4, 3);
    grid->addWidget(Caption(this, "labFields", sgFields), 5, 0, 1, 4);
    grid->addWidget(sgFields, 6, 0, 1, 4);
    grid->addWidget(sgPreview, 7, 0, 1, 4);
    auto* lists = new QHBoxLayout;
    lists->addWidget(butListVal);
    lists->addWidget(butAskList);
    lists->addStretch();
    grid->addLayout(lists, 8, 0, 1, 4);

    connect(cbData, &QComboBox::currentIndexChanged, this, &TZORDataPage::cbDataChange);
    connect(butEdCsvFile, &QToolButton::clicked, this, &TZORDataPage::butEdCsvFileClick);
    connect(butCheckCsv, &QPushButton::clicked, this, &TZORDataPage::butCheckCsvClick);
    connect(butJson, &QPushButton::clicked, this, &TZORDataPage::butJsonClick);
    connect(butListVal, &QPushButton::clicked, this, &TZORDataPage::butListValClick);
    connect(butAskList, &QPushButton::clicked, this, &TZORDataPage::butAskListClick);
}

void TZORDataPage::FillLanguage()
{
    const auto caption = [this](const char* name, const QString& text) {
        findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
    };
    caption("labData", zor::Prop("DataSource"));
    caption("labFieldRepeat", zor::Prop("FieldRepeat"));
    caption("labCsvFile", zor::Dialogs("FileCsv"));
    caption("labSeparator", zor::Dialogs("Separator"));
    caption("labQuotes", zor::Dialogs("Quotes"));
    caption("labFields", zor::Dialogs("FieldList"));
    ckLinkData->setText(zor::Prop("LinkData"));
    ckSaveJson->setText(zor::Prop("SaveJson"));
    ckHeader->setText(zor::Dialogs("CsvHeader"));
    butCheckCsv->setText(zor::Dialogs("CheckCsv"));
    butListVal->setText(zor::Dialogs("ValList"));
    butAskList->setText(zor::Dialogs("AskList"));
    FillList(*cbSeparator, Separators);
    FillList(*cbQuotes, Quotes);
}

void TZORDataPage::Ini(TZORBaseLabel& label)
{
    fLabel = &label;
    const TZORData& d = Data();
    const bool was = std::exchange(fIntro, true);
    ckLinkData->setChecked(d.GetLinkData());
    ckSaveJson->setChecked(d.GetSaveJson());
    edCsvFile->setText(d.GetCsvFile());
    cbSeparator->setCurrentIndex(int(d.GetSeparator()) - 1);
    cbQuotes->setCurrentIndex(d.GetQuote());
    ckHeader->setChecked(d.GetHeader());
    FillData();
    fIntro = was;
}

TZORData& TZORDataPage::Data() const
{
    return fLabel->Data();
}

QString TZORDataPage::GetDataSel() const
{
    return cbData->currentText();
}

QString TZORDataPage::GetFieldRepeat() const
{
    return cbFieldRepeat->currentText();
}

bool TZORDataPage::GetLinkData() const
{
    return ckLinkData->isChecked();
}

bool TZORDataPage::GetSaveJson() const
{
    return ckSaveJson->isChecked();
}

void TZORDataPage::FillData()
{
    if (!fLabel)
        return;
    const TZORData& d = Data();
    const bool was = std::exchange(fIntro, true);
    cbData->clear();
    cbData->addItem(QString()); // no data set: the run is the print information's labels
    int selected = 0;
    for (int32_t i = 1; i <= d.GetDatasetCount(); ++i) {
        const TZORDataset* set = d.GetDatasetAt(i);
        cbData->addItem(set->GetName());
        if (set->IsNamed(d.GetDataSel()))
            selected = cbData->count() - 1;
    }
    cbData->setCurrentIndex(selected);
    FillFieldRepeat();
    FillCsvFields();
    fIntro = was;
}

void TZORDataPage::FillFieldRepeat()
{
    if (!fLabel)
        return;
    const TZORData& d = Data();
    cbFieldRepeat->clear();
    cbFieldRepeat->addItem(QString()); // no repeat field
    if (const TZORDataset* set = cbData->currentIndex() > 0 ? d.GetDataset(cbData->currentText()) : nullptr)
        for (const TZORDataField& field : set->GetFields())
            if (field.GetType() == TZORFieldType::Integer) {
                cbFieldRepeat->addItem(field.GetName());
                if (field.IsNamed(d.GetFieldRepeat()))
                    cbFieldRepeat->setCurrentIndex(cbFieldRepeat->count() - 1);
            }
}

void TZORDataPage::FillCsvFields()
{
    sgFields->setRowCount(0);
    sgFields->setColumnWidth(0, NameColumnWidth);
    sgFields->setColumnWidth(1, TypeColumnWidth);
    const TZORDataset* set = fLabel ? Data().GetCsvDataset() : nullptr;
    const int rows = set ? int(set->GetFields().size()) : 0;
    sgFields->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const TZORDataField& field = set->GetFields()[size_t(row)];
        sgFields->setItem(row, 0, new QTableWidgetItem(field.GetName()));
        auto* types = new QComboBox(sgFields);
        types->setObjectName(QStringLiteral("cbFieldTypes"));
        for (const char* key : ChosenTypes)
            types->addItem(ListText(key));
        const int code = int(field.GetType());
        if (code > FirstOtherType) // Img64 and ImgBlob cannot be chosen, only shown
            types->addItem(ListText(OtherTypes[code - FirstOtherType]));
        types->setCurrentIndex(code == FirstOtherType ? 0 : code);
        sgFields->setCellWidget(row, 1, types);
        connect(types, &QComboBox::activated, this, [this, row](int index) { FieldTypeChange(row, index); });
    }
    FillPreview();
}

void TZORDataPage::FillPreview()
{
    sgPreview->clear();
    sgPreview->setRowCount(0);
    sgPreview->setColumnCount(0);
    const TZORDataset* set = fLabel ? Data().GetCsvDataset() : nullptr;
    if (!set)
        return;
    std::vector<std::pair<QString, QString>> fields;
    QStringList names;
    for (const TZORDataField& field : set->GetFields()) {
        fields.emplace_back(field.GetName(), QString());
        names << field.GetName();
    }
    std::vector<QStringList> lines;
    try {
        lines = Data().DataLines(set->GetName(), fields, PreviewRecords);
    } catch (const EZORError&) {
        // The file changed since it was read: the fields still show, the records do not.
    }
    sgPreview->setColumnCount(int(names.size()));
    sgPreview->setHorizontalHeaderLabels(names);
    sgPreview->setRowCount(int(lines.size()));
    for (int r = 0; r < int(lines.size()); ++r)
        for (int c = 0; c < int(lines[size_t(r)].size()) && c < int(names.size()); ++c)
            sgPreview->setItem(r, c, new QTableWidgetItem(lines[size_t(r)][c]));
}

void TZORDataPage::FieldTypeChange(int row, int index)
{
    if (fIntro || index < 0 || index >= int(std::size(ChosenTypes)))
        return;
    const TZORDataset* set = Data().GetCsvDataset();
    if (!set || row >= int(set->GetFields().size()) || int(set->GetFields()[size_t(row)].GetType()) == index)
        return;
    zor::ChangeLabel(*fLabel, [&] { Data().SetCsvField(row, TZORFieldType(index)); });
    if (const TZORDataset* csv = Data().GetCsvDataset(); csv && csv->IsNamed(cbData->currentText()))
        FillFieldRepeat();
}

void TZORDataPage::cbDataChange()
{
    if (fIntro)
        return;
    FillFieldRepeat();
}

void TZORDataPage::butEdCsvFileClick()
{
    const QString name = zor::DialogService().OpenFileName(
        this, zor::Dialogs("FileCsv"), edCsvFile->text(), QStringLiteral("CSV Files (*.csv)"));
    if (!name.isEmpty())
        edCsvFile->setText(name);
}

void TZORDataPage::butCheckCsvClick()
{
    ChangeSource("FileCsv", [this](QString& error) {
        return Data().SetCsvData(edCsvFile->text(), ckHeader->isChecked(),
            uint8_t(cbSeparator->currentIndex() + 1), uint8_t(std::max(cbQuotes->currentIndex(), 0)), &error);
    });
}

void TZORDataPage::ChangeSource(const char* captionKey, const std::function<bool(QString& error)>& change)
{
    QString error;
    bool taken = false;
    zor::ChangeLabel(*fLabel, [&] { taken = change(error); });
    if (taken)
        FillData();
    else
        zor::ShowWarning(this, zor::Dialogs(captionKey), error);
}

void TZORDataPage::butJsonClick()
{
    TfJsonData form;
    form.IniDialog(Data().GetJson());
    if (zor::DialogService().Exec(form) != QDialog::Accepted)
        return;
    const QString json = form.GetJson();
    if (json == Data().GetJson())
        return;
    ChangeSource("JsonData", [&](QString& error) { return Data().SetJson(json, &error); });
}

void TZORDataPage::butListValClick()
{
    TfListVal form;
    form.Ini(*fLabel);
    zor::DialogService().Exec(form);
}

void TZORDataPage::butAskListClick()
{
    TfListAsk form;
    form.Ini(*fLabel);
    zor::DialogService().Exec(form);
}
