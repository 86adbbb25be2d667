#include "Zor.Listval.h"

#include "Zor.Data.h"
#include "Zor.Forms.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QTableWidget>

namespace {

constexpr int ColumnWidth = 200;
constexpr int RowHeight = 24;

} // namespace

TfListVal::TfListVal(QWidget* parent)
    : QDialog(parent)
    , cbListVal(new QComboBox(this))
    , butAdd(new QPushButton(this))
    , butDelete(new QPushButton(this))
    , sgValues(new QTableWidget(1, 1, this))
    , butAddVal(new QPushButton(this))
    , butDeleteVal(new QPushButton(this))
{
    setObjectName(QStringLiteral("TfListVal"));
    cbListVal->setObjectName(QStringLiteral("cbListVal"));
    butAdd->setObjectName(QStringLiteral("butAdd"));
    butDelete->setObjectName(QStringLiteral("butDelete"));
    sgValues->setObjectName(QStringLiteral("sgValues"));
    butAddVal->setObjectName(QStringLiteral("butAddVal"));
    butDeleteVal->setObjectName(QStringLiteral("butDeleteVal"));
    sgValues->horizontalHeader()->hide();
    sgValues->verticalHeader()->hide();
    sgValues->setColumnWidth(0, ColumnWidth);
    sgValues->verticalHeader()->setDefaultSectionSize(RowHeight);
    sgValues->setSelectionMode(QAbstractItemView::SingleSelection);
    for (QPushButton* button : { butAdd, butDelete, butAddVal, butDeleteVal })
        button->setAutoDefault(false);
    connect(cbListVal, &QComboBox::currentIndexChanged, this, &TfListVal::cbListValChange);
    connect(butAdd, &QPushButton::clicked, this, &TfListVal::butAddClick);
    connect(butDelete, &QPushButton::clicked, this, &TfListVal::butDeleteClick);
    connect(butAddVal, &QPushButton::clicked, this, &TfListVal::butAddValClick);
    connect(butDeleteVal, &QPushButton::clicked, this, &TfListVal::butDeleteValClick);
    connect(sgValues, &QTableWidget::itemChanged, this, [this] {
        if (!fIntro)
            fModified = true;
    });
    auto* layout = new QGridLayout(this);
    layout->addWidget(cbListVal, 0, 0, 1, 2);
    layout->addWidget(butAdd, 1, 0);
    layout->addWidget(butDelete, 1, 1);
    layout->addWidget(sgValues, 2, 0, 1, 2);
    layout->addWidget(butAddVal, 3, 0);
    layout->addWidget(butDeleteVal, 3, 1);
    resize(242, 396);
}

void TfListVal::FillLanguage()
{
    const auto text = [](const char* key) { return TZORMsg::GetDialogsValue(QString::fromLatin1(key)); };
    setWindowTitle(zor::FormCaption(text("ValList")));
    butAdd->setText(text("Add") + QStringLiteral(" (Ctrl + Ins)"));
    butDelete->setText(text("Delete"));
    butAddVal->setText(text("Add") + QStringLiteral(" (Ins)"));
    butDeleteVal->setText(text("Delete"));
}

void TfListVal::Ini(TZORBaseLabel& label)
{
    FillLanguage();
    fData = &label.Data();
    QStringList names;
    for (int32_t i = 1; i <= fData->GetNumListVal(); ++i)
        names << fData->GetListVal(i)->GetName();
    {
        const QScopedValueRollback intro(fIntro, true);
        zor::ShowNames(*cbListVal, names);
    }
    LoadList(cbListVal->currentIndex());
}

void TfListVal::ShowValues(const QStringList& values)
{
    const QScopedValueRollback intro(fIntro, true);
    sgValues->clearContents();
    sgValues->setRowCount(int(std::max<qsizetype>(values.size(), 1)));
    for (int row = 0; row < values.size(); ++row)
        sgValues->setItem(row, 0, new QTableWidgetItem(values[row]));
}

QStringList TfListVal::GridValues() const
{
    QStringList values;
    for (int row = 0; row < sgValues->rowCount(); ++row) {
        const QTableWidgetItem* item = sgValues->item(row, 0);
        values << (item ? item->text() : QString());
    }
    return values;
}

void TfListVal::LoadList(int index)
{
    fIndex = index;
    ShowValues(index >= 0 ? fData->GetListVal(index + 1)->GetValues() : QStringList());
    fModified = false;
}

void TfListVal::SaveList()
{
    if (fIndex < 0 || !fModified)
        return;
    fData->GetListVal(fIndex + 1)->AssignValues(GridValues());
    fModified = false;
}

void TfListVal::cbListValChange(int index)
{
    if (fIntro || !fData)
        return;
    SaveList();
    LoadList(index);
}

void TfListVal::butAddValClick()
{
    if (fIndex < 0)
        return;
    const QStringList values = GridValues();
    if (values.size() != 1 || !values[0].isEmpty()) {
        const QScopedValueRollback intro(fIntro, true);
        sgValues->insertRow(sgValues->rowCount());
        sgValues->setItem(sgValues->rowCount() - 1, 0, new QTableWidgetItem(QString()));
    }
    sgValues->setCurrentCell(sgValues->rowCount() - 1, 0);
    sgValues->setFocus();
    fModified = true;
}

void TfListVal::butDeleteValClick()
{
    const int row = sgValues->currentRow();
    if (row < 0)
        return;
    if (sgValues->rowCount() > 1)
        sgValues->removeRow(row);
    else
        sgValues->setItem(0, 0, new QTableWidgetItem(QString()));
    fModified = true;
}

void TfListVal::butAddClick()
{
    if (!fData)
        return;
    const std::optional<QString> name = zor::AskNewName(
        this, QStringLiteral("NameList"), [this](const QString& n) { return fData->NameListExists(n); });
    if (!name || !fData->AddListVal(*name))
        return;
    SaveList();
    {
        const QScopedValueRollback intro(fIntro, true);
        cbListVal->addItem(*name);
        cbListVal->setCurrentIndex(cbListVal->count() - 1);
    }
    LoadList(cbListVal->currentIndex());
    sgValues->setCurrentCell(0, 0);
}

void TfListVal::butDeleteClick()
{
    if (fIndex < 0 || !zor::ConfirmDelete(this, QStringLiteral("DeleteList"))
        || !fData->DeleteList(fIndex + 1))
        return;
    {
        const QScopedValueRollback intro(fIntro, true);
        zor::DropName(*cbListVal, fIndex);
    }
    // The grid's edits belonged to the list that is gone.
    fModified = false;
    LoadList(cbListVal->currentIndex());
}

void TfListVal::keyPressEvent(QKeyEvent* event)
{
    if (event->key() != Qt::Key_Insert) {
        QDialog::keyPressEvent(event);
        return;
    }
    if (event->modifiers() & Qt::ControlModifier)
        butAddClick();
    else
        butAddValClick();
}

void TfListVal::done(int result)
{
    SaveList();
    QDialog::done(result);
}
