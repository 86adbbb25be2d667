#include "Zor.Edjson.h"

#include "Zor.DialogService.h"
#include "Zor.Error.h"
#include "Zor.Forms.h"
#include "Zor.Json.h"
#include "Zor.Msg.h"

#include <QDialogButtonBox>
#include <QFile>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using zor::TJsonBaseObject;

namespace {

// The text as a JSON object, or nothing when it is not one.
std::optional<TJsonBaseObject> ParsedObject(const QString& text)
{
    if (text.trimmed().isEmpty())
        return std::nullopt;
    try {
        TJsonBaseObject json = TJsonBaseObject::Parse(text);
        if (json.IsObject())
            return json;
    } catch (const EZORError&) {
        // Not JSON: the caller reports it in its own words.
    }
    return std::nullopt;
}

QString DialogsText(const char* key)
{
    return TZORMsg::GetDialogsValue(QString::fromLatin1(key));
}

} // namespace

TfJsonData::TfJsonData(QWidget* parent)
    : QDialog(parent)
    , MemJson(new QPlainTextEdit(this))
    , butLoad(new QPushButton(this))
    , butFormat(new QPushButton(this))
{
    setObjectName(QStringLiteral("TfJsonData"));
    MemJson->setObjectName(QStringLiteral("MemJson"));
    MemJson->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemJson->setFont(QFont(QStringLiteral("Courier New")));
    butLoad->setObjectName(QStringLiteral("butLoad"));
    butFormat->setObjectName(QStringLiteral("butFormat"));
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfJsonData::butOKClick);
    connect(butLoad, &QPushButton::clicked, this, &TfJsonData::butLoadClick);
    connect(butFormat, &QPushButton::clicked, this, &TfJsonData::butFormatClick);
    auto* row = new QHBoxLayout;
    row->addWidget(butLoad);
    row->addWidget(butFormat);
    row->addStretch();
    row->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addWidget(MemJson);
    layout->addLayout(row);
    resize(684, 501);
}

bool TfJsonData::IsValidJson(const QString& text)
{
    return ParsedObject(text).has_value();
}

QString TfJsonData::PrettyJson(const QString& text)
{
    const std::optional<TJsonBaseObject> json = ParsedObject(text);
    return json ? json->ToJSON(false) : QString();
}

void TfJsonData::IniDialog(const QString& text)
{
    setWindowTitle(zor::FormCaption(DialogsText("JsonData")));
    zor::FillOkCancel(*this);
    butLoad->setText(QStringLiteral("  ") + DialogsText("LoadJson"));
    butFormat->setText(DialogsText("Format"));
    fFilter = DialogsText("FilterJson");
    MemJson->setPlainText(PrettyJson(text));
}

QString TfJsonData::GetJson() const
{
    const std::optional<TJsonBaseObject> json = ParsedObject(MemJson->toPlainText());
    return json ? json->ToJSON(true) : QString();
}

void TfJsonData::butOKClick()
{
    const QString text = MemJson->toPlainText();
    if (text.trimmed().isEmpty())
        reject();
    else if (IsValidJson(text))
        accept();
    else
        ShowNotValid();
}

void TfJsonData::ShowNotValid()
{
    zor::ShowWarning(this, windowTitle(), TZORMsg::GetErrorValue(QStringLiteral("JsonNotValid")));
}

void TfJsonData::butFormatClick()
{
    const QString text = MemJson->toPlainText();
    if (IsValidJson(text))
        MemJson->setPlainText(PrettyJson(text));
    else
        ShowNotValid();
}

void TfJsonData::butLoadClick()
{
    const QString fileName = zor::DialogService().OpenFileName(this, butLoad->text().trimmed(), {}, fFilter);
    if (fileName.isEmpty())
        return;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        zor::ShowWarning(this, windowTitle(),
            zor::Error(QStringLiteral("FileOpen"), fileName, file.errorString()).Message());
        return;
    }
    QString text = QString::fromUtf8(file.readAll());
    if (text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    MemJson->setPlainText(text);
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
