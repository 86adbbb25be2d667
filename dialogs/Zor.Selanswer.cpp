#include "Zor.Selanswer.h"

#include "Zor.DialogService.h"
#include "Zor.Msg.h"
#include "Zor.Sellisttext.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QLabel>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <cmath>
#include <limits>

TfSelAnswer::TfSelAnswer(QWidget* parent)
    : QDialog(parent)
    , fNumber(new QDoubleSpinBox(this))
    , fDate(new QDateEdit(this))
    , fTime(new QTimeEdit(this))
{
    fDate->setCalendarPopup(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(this));
    layout->addWidget(fNumber);
    layout->addWidget(fDate);
    layout->addWidget(fTime);
    layout->addWidget(buttons);
}

void TfSelAnswer::Ini(const TZRAskField& question)
{
    setWindowTitle(question.GetName());
    findChild<QLabel*>()->setText(question.GetQuest());
    const TZORAnsType kind = question.GetAnsType();
    const bool number = kind == TZORAnsType::Integer || kind == TZORAnsType::Number;
    fNumber->setVisible(number);
    fDate->setVisible(kind == TZORAnsType::DateTime);
    fTime->setVisible(kind == TZORAnsType::DateTime);
    if (kind == TZORAnsType::Integer) {
        fNumber->setDecimals(0);
        fNumber->setRange(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
        fNumber->setValue(question.GetInteger());
    } else if (kind == TZORAnsType::Number) {
        fNumber->setDecimals(2);
        fNumber->setRange(-1e12, 1e12);
        fNumber->setValue(question.GetNumber());
    } else if (kind == TZORAnsType::DateTime) {
        const QDateTime at = question.GetDateTime();
        fDate->setDate(at.date());
        fTime->setTime(at.time());
    }
}

int32_t TfSelAnswer::GetInteger() const
{
    return int32_t(std::trunc(fNumber->value()));
}

double TfSelAnswer::GetNumber() const
{
    return fNumber->value();
}

QDateTime TfSelAnswer::GetDateTime() const
{
    return QDateTime(fDate->date(), fTime->time());
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
