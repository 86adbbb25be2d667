#include "Zor.Listask.h"

#include "Zor.Data.h"
#include "Zor.Forms.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScopedValueRollback>

namespace {

// The entries of cbType: the answer types 0 to 3 in order.
constexpr const char* AnswerTypes[] = { "Text", "Integer", "Number", "DateTime" };

} // namespace

TfListAsk::TfListAsk(QWidget* parent)
    : QDialog(parent)
    , cbListAsk(new QComboBox(this))
    , butAdd(new QPushButton(this))
    , butDelete(new QPushButton(this))
    , labQuestion(new QLabel(this))
    , memQuest(new QPlainTextEdit(this))
    , labType(new QLabel(this))
    , cbType(new QComboBox(this))
{
    setObjectName(QStringLiteral("TfListAsk"));
    cbListAsk->setObjectName(QStringLiteral("cbListAsk"));
    butAdd->setObjectName(QStringLiteral("butAdd"));
    butDelete->setObjectName(QStringLiteral("butDelete"));
    labQuestion->setObjectName(QStringLiteral("labQuestion"));
    memQuest->setObjectName(QStringLiteral("memQuest"));
    memQuest->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memQuest->setFixedHeight(68);
    labType->setObjectName(QStringLiteral("labType"));
    cbType->setObjectName(QStringLiteral("cbType"));
    for (QPushButton* button : { butAdd, butDelete })
        button->setAutoDefault(false);
    connect(cbListAsk, &QComboBox::currentIndexChanged, this, &TfListAsk::cbListAskChange);
    connect(memQuest, &QPlainTextEdit::textChanged, this, &TfListAsk::memQuestChange);
    connect(cbType, &QComboBox::currentIndexChanged, this, &TfListAsk::cbTypeChange);
    connect(butAdd, &QPushButton::clicked, this, &TfListAsk::butAddClick);
    connect(butDelete, &QPushButton::clicked, this, &TfListAsk::butDeleteClick);
    auto* layout = new QGridLayout(this);
    layout->addWidget(cbListAsk, 0, 0, 1, 2);
    layout->addWidget(butAdd, 1, 0);
    layout->addWidget(butDelete, 1, 1);
    layout->addWidget(labQuestion, 2, 0, 1, 2);
    layout->addWidget(memQuest, 3, 0, 1, 2);
    layout->addWidget(labType, 4, 0, 1, 2);
    layout->addWidget(cbType, 5, 0, 1, 2);
    resize(242, 224);
}

void TfListAsk::FillLanguage()
{
    const auto text = [](const char* key) { return TZORMsg::GetDialogsValue(QString::fromLatin1(key)); };
    setWindowTitle(zor::FormCaption(text("AskList")));
    butAdd->setText(text("Add") + QStringLiteral(" (Ins)"));
    butDelete->setText(text("Delete"));
    labQuestion->setText(text("Quest"));
    labType->setText(text("AnsType"));
    const QScopedValueRollback loading(fLoading, true);
    const int type = cbType->currentIndex();
    cbType->clear();
    for (const char* key : AnswerTypes)
        cbType->addItem(TZORMsg::GetListValue(QString::fromLatin1(key)));
    cbType->setCurrentIndex(type);
}

void TfListAsk::Ini(TZORBaseLabel& label)
{
    FillLanguage();
    fData = &label.Data();
    QStringList names;
    for (int32_t i = 1; i <= fData->GetNumQuestions(); ++i)
        names << fData->GetAskField(i)->GetName();
    {
        const QScopedValueRollback loading(fLoading, true);
        zor::ShowNames(*cbListAsk, names);
    }
    LoadQuestion(cbListAsk->currentIndex());
}

TZRAskField* TfListAsk::Current() const
{
    return fData && fIndex >= 0 ? fData->GetAskField(fIndex + 1) : nullptr;
}

void TfListAsk::LoadQuestion(int index)
{
    const QScopedValueRollback loading(fLoading, true);
    fIndex = index;
    const TZRAskField* question = Current();
    memQuest->setPlainText(question ? question->GetQuest() : QString());
    cbType->setCurrentIndex(question ? int(question->GetAnsType()) : -1);
}

void TfListAsk::cbListAskChange(int index)
{
    if (!fLoading)
        LoadQuestion(index);
}

void TfListAsk::memQuestChange()
{
    if (TZRAskField* question = Current(); question && !fLoading)
        question->SetQuest(memQuest->toPlainText());
}

void TfListAsk::cbTypeChange(int index)
{
    if (TZRAskField* question = Current(); question && !fLoading && index >= 0)
        question->SetAnsType(TZORAnsType(index));
}

void TfListAsk::butAddClick()
{
    if (!fData)
        return;
    const std::optional<QString> name = zor::AskNewName(
        this, QStringLiteral("NameQuest"), [this](const QString& n) { return fData->NameAskExists(n); });
    if (!name || !fData->AddAskVal(*name))
        return;
    {
        const QScopedValueRollback loading(fLoading, true);
        cbListAsk->addItem(*name);
        cbListAsk->setCurrentIndex(cbListAsk->count() - 1);
        fIndex = cbListAsk->currentIndex();
        memQuest->clear();
        cbType->setCurrentIndex(-1);
    }
    memQuest->setFocus();
}

void TfListAsk::butDeleteClick()
{
    if (fIndex < 0 || !zor::ConfirmDelete(this, QStringLiteral("DeleteQuest"))
        || !fData->DeleteAsk(fIndex + 1))
        return;
    {
        const QScopedValueRollback loading(fLoading, true);
        zor::DropName(*cbListAsk, fIndex);
    }
    LoadQuestion(cbListAsk->currentIndex());
}

void TfListAsk::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Insert)
        butAddClick();
    else
        QDialog::keyPressEvent(event);
}
