#include "Zor.Jsondata.h"

#include "Zor.DialogService.h"
#include "Zor.Error.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"

#include <QDialogButtonBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// The text as a JSON document, or nothing when it is not one.
std::optional<TJsonBaseObject> ParsedJson(const QString& text)
{
    try {
        return TJsonBaseObject::Parse(text);
    } catch (const EZORError&) {
        return std::nullopt;
    }
}

} // namespace

TfJsonData::TfJsonData(QWidget* parent)
    : QDialog(parent)
    , fText(new QPlainTextEdit(this))
{
    fText->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfJsonData::butOKClick);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fText);
    layout->addWidget(buttons);
    resize(560, 420);
}

void TfJsonData::IniDialog(const QString& text)
{
    setWindowTitle(TZORMsg::GetDialogsValue(QStringLiteral("JsonData")));
    auto* buttons = findChild<QDialogButtonBox*>();
    buttons->button(QDialogButtonBox::Ok)->setText(TZORMsg::GetDialogsValue(QStringLiteral("Ok")));
    buttons->button(QDialogButtonBox::Cancel)->setText(TZORMsg::GetDialogsValue(QStringLiteral("Cancel")));
    const std::optional<TJsonBaseObject> json = ParsedJson(text);
    fText->setPlainText(json ? json->ToJSON(false) : text);
}

QString TfJsonData::GetJson() const
{
    const std::optional<TJsonBaseObject> json = ParsedJson(fText->toPlainText());
    return json ? json->ToJSON(true) : QString();
}

namespace {

// The label edits symbol definitions with this dialog unless a host puts another editor in place.
const bool JsonEditorInPlace = [] {
    static TZORDialogJsonEditor editor;
    zor::LabelDialogs().JsonEditor = &editor;
    return true;
}();

} // namespace

void TfJsonData::butOKClick()
{
    const QString text = fText->toPlainText();
    if (text.trimmed().isEmpty())
        reject();
    else if (ParsedJson(text))
        accept();
    else
        zor::ShowWarning(this, windowTitle(), TZORMsg::GetErrorValue(QStringLiteral("JsonNotValid")));
}

std::optional<QString> TZORDialogJsonEditor::EditJson(const QString& text)
{
    TfJsonData dialog;
    dialog.IniDialog(text);
    if (zor::DialogService().Exec(dialog) != QDialog::Accepted)
        return std::nullopt;
    return dialog.GetJson();
}

void TZORDialogJsonEditor::ShowMessage(const QString& text)
{
    zor::ShowInfo(nullptr, TZORMsg::GetDialogsValue(QStringLiteral("JsonData")), text);
}
