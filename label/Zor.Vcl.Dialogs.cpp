#include "Zor.Vcl.Dialogs.h"

#include "Zor.Data.h"
#include "Zor.Msg.h"

#include <QStringList>

namespace zor {

TLabelDialogs& LabelDialogs()
{
    static TLabelDialogs dialogs;
    return dialogs;
}

QString PictureFilter()
{
    return QStringLiteral("All (*.png *.jpg *.jpeg *.gif);;Portable Network Graphics (*.png);;"
                          "JPEG Image File (*.jpg);;JPEG Image File (*.jpeg);;GIF Image File (*.gif)");
}

std::vector<TPrintPrompt> PrintPrompts(TZORData& d, bool lists, bool questions)
{
    // The same lists and questions the model's prompts go through.
    std::vector<TPrintPrompt> prompts;
    for (int32_t i = 1; lists && i <= d.GetNumListVal(); ++i)
        if (const TZRValList* list = d.GetListVal(i); list->GetAsk())
            prompts.push_back({ true, list->GetName() });
    for (int32_t i = 1; questions && i <= d.GetNumQuestions(); ++i)
        if (const TZRAskField* q = d.GetAskField(i); q->GetAsk() && q->GetAnsType() <= TZORAnsType::DateTime)
            prompts.push_back({ false, q->GetName() });
    return prompts;
}

EZORError UnansweredPrompts(const std::vector<TPrintPrompt>& prompts)
{
    QStringList names;
    for (const TPrintPrompt& p : prompts)
        names << TZORMsg::GetErrorValue(
            p.list ? QStringLiteral("PromptList") : QStringLiteral("PromptQuestion"))
                     .arg(p.name);
    return Error(QStringLiteral("PromptsUnanswered"), names.join(QStringLiteral(", ")));
}

} // namespace zor
