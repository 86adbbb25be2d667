#include "Zor.Selanswer.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"
#include "Zor.Sellisttext.h"
#include "Zor.Spinfloat.h"
#include "Zor.Utils.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QDateEdit>
#include <QLabel>
#include <QThread>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>

namespace {

// The range a number answer can take; whole numbers are those of the answer's 32 bits.
constexpr double NumberLimit = 1e12;

// A user can be asked only in a widget application, on its own thread.
bool UserAtHand()
{
    const QCoreApplication* app = QCoreApplication::instance();
    return qobject_cast<const QApplication*>(app) && QThread::currentThread() == app->thread();
}

} // namespace

std::unique_ptr<IZORPrompter> TZORDialogPrompter::ForLabel(TZORLabelVCL& label)
{
    if (!UserAtHand())
        return nullptr;
    return std::make_unique<TZORDialogPrompter>(label);
}

TfSelAnswer::TfSelAnswer(QWidget* parent)
    : QDialog(parent)
    , labQuestion(new QLabel(this))
    , seNumber(new TZORSpinEditFloat(this))
    , DTDate(new QDateEdit(this))
    , DTHora(new QTimeEdit(this))
{
    setObjectName(QStringLiteral("TfSelAnswer"));
    labQuestion->setObjectName(QStringLiteral("labQuestion"));
    labQuestion->setWordWrap(true);
    seNumber->setObjectName(QStringLiteral("seNumber"));
    seNumber->SetDigits(2);
    seNumber->SetPrecision(9);
    seNumber->SetIncrement(0.5);
    DTDate->setObjectName(QStringLiteral("DTDate"));
    DTDate->setCalendarPopup(true);
    DTDate->hide();
    DTHora->setObjectName(QStringLiteral("DTHora"));
    DTHora->setDisplayFormat(QStringLiteral("HH:mm:ss"));
    DTHora->hide();
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(labQuestion);
    layout->addWidget(seNumber);
    layout->addWidget(DTDate);
    layout->addWidget(DTHora);
    layout->addWidget(buttons);
    resize(254, 119);
}

void TfSelAnswer::Ini(const TZRAskField& question)
{
    setWindowTitle(zor::FormCaption(TZORMsg::GetPropValue(QStringLiteral("Answer"))));
    zor::FillOkCancel(*this);
    labQuestion->setText(question.GetQuest());
    switch (question.GetAnsType()) {
    case TZORAnsType::Integer:
        seNumber->SetMinValue(std::numeric_limits<int32_t>::min());
        seNumber->SetMaxValue(std::numeric_limits<int32_t>::max());
        seNumber->SetDigits(0);
        seNumber->SetValue(question.GetInteger());
        break;
    case TZORAnsType::Number:
        seNumber->SetMinValue(-NumberLimit);
        seNumber->SetMaxValue(NumberLimit);
        seNumber->SetDigits(2);
        seNumber->SetValue(question.GetNumber());
        break;
    case TZORAnsType::DateTime:
        seNumber->hide();
        DTDate->show();
        DTHora->show();
        DTDate->setDate(question.GetDateTime().date());
        DTHora->setTime(question.GetDateTime().time());
        break;
    case TZORAnsType::Text:
        break;
    }
}

int32_t TfSelAnswer::GetInteger() const
{
    return int32_t(std::clamp<int64_t>(zor::Trunc(seNumber->GetValue()), std::numeric_limits<int32_t>::min(),
        std::numeric_limits<int32_t>::max()));
}

double TfSelAnswer::GetNumber() const
{
    return seNumber->GetValue();
}

QDateTime TfSelAnswer::GetDateTime() const
{
    const QTime time = DTHora->time();
    return QDateTime(DTDate->date(), QTime(time.hour(), time.minute(), time.second()));
}

bool TZORDialogPrompter::ChooseFromList(TZRValList& list)
{
    TfSelListText dialog;
    dialog.Ini(fLabel, list);
    if (zor::DialogService().Exec(dialog) != QDialog::Accepted)
        return false;
    list.SetValue(dialog.GetText());
    return true;
}

bool TZORDialogPrompter::Answer(TZRAskField& question)
{
    if (question.GetAnsType() == TZORAnsType::Text) {
        const std::optional<QString> text = zor::DialogService().Text(nullptr, question.GetQuest(),
            TZORMsg::GetPropValue(QStringLiteral("Answer")) + QLatin1Char(':'), question.GetText());
        if (text)
            question.SetText(*text);
        return text.has_value();
    }
    TfSelAnswer dialog;
    dialog.Ini(question);
    if (zor::DialogService().Exec(dialog) != QDialog::Accepted)
        return false;
    if (question.GetAnsType() == TZORAnsType::Integer)
        question.SetInteger(dialog.GetInteger());
    else if (question.GetAnsType() == TZORAnsType::Number)
        question.SetNumber(dialog.GetNumber());
    else
        question.SetDateTime(dialog.GetDateTime());
    return true;
}
