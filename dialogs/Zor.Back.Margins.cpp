#include "Zor.Back.Margins.h"

#include "Zor.Forms.h"
#include "Zor.Label.h"
#include "Zor.Msg.h"
#include "Zor.Spinfloat.h"

#include <QGridLayout>
#include <QLabel>

TfBackMargins::TfBackMargins(QWidget* parent)
    : QDialog(parent)
    , seMarginTop(new TZORSpinEditFloat(this))
    , seMarginLeft(new TZORSpinEditFloat(this))
    , seMarginBottom(new TZORSpinEditFloat(this))
    , seMarginRight(new TZORSpinEditFloat(this))
{
    setObjectName(QStringLiteral("TfBackMargins"));
    auto* layout = new QGridLayout(this);
    const std::pair<TZORSpinEditFloat*, const char*> edits[]
        = { { seMarginTop, "seMarginTop" }, { seMarginLeft, "seMarginLeft" },
              { seMarginBottom, "seMarginBottom" }, { seMarginRight, "seMarginRight" } };
    int row = 0;
    for (const auto& [edit, name] : edits) {
        edit->setObjectName(QString::fromLatin1(name));
        edit->SetDigits(2);
        edit->SetIncrement(0.5);
        auto* caption = new QLabel(this);
        caption->setObjectName(QStringLiteral("lab") + QString::fromLatin1(name + 8));
        caption->setBuddy(edit);
        layout->addWidget(caption, row, 0);
        layout->addWidget(edit, row++, 1);
    }
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons, row, 0, 1, 2);
    resize(284, 221);
}

void TfBackMargins::FillLanguage()
{
    setWindowTitle(zor::FormCaption(TZORMsg::GetDialogsValue(QStringLiteral("BackMargins"))));
    const auto caption = [this](const char* name, const QString& text) {
        findChild<QLabel*>(QString::fromLatin1(name))->setText(text);
    };
    caption("labTop", TZORMsg::GetPropValue(QStringLiteral("Top")));
    caption("labLeft", TZORMsg::GetPropValue(QStringLiteral("Left")));
    caption("labBottom", TZORMsg::GetDialogsValue(QStringLiteral("Bottom")));
    caption("labRight", TZORMsg::GetDialogsValue(QStringLiteral("Right")));
    zor::FillOkCancel(*this);
}

void TfBackMargins::Ini(TZORBaseLabel& label, int32_t index)
{
    FillLanguage();
    const TZORLayer* layer = label.GetLayer(index);
    if (!layer)
        return;
    seMarginTop->SetValue(layer->GetImgMarTop());
    seMarginLeft->SetValue(layer->GetImgMarLeft());
    seMarginBottom->SetValue(layer->GetImgMarBottom());
    seMarginRight->SetValue(layer->GetImgMarRight());
}

double TfBackMargins::MarginTop() const
{
    return seMarginTop->GetValue();
}

double TfBackMargins::MarginLeft() const
{
    return seMarginLeft->GetValue();
}

double TfBackMargins::MarginBottom() const
{
    return seMarginBottom->GetValue();
}

double TfBackMargins::MarginRight() const
{
    return seMarginRight->GetValue();
}
