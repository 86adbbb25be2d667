#include "Zor.Vcl.DialogHelpers.h"

#include "Zor.Base.h"
#include "Zor.Data.h"
#include "Zor.Msg.h"
#include "Zor.Utils.h"

#include <QDir>
#include <QStringList>

#include <algorithm>

namespace zor {

QString PictureFilter()
{
    return QStringLiteral("All (*.png *.jpg *.jpeg *.gif);;Portable Network Graphics (*.png);;"
                          "JPEG Image File (*.jpg);;JPEG Image File (*.jpeg);;GIF Image File (*.gif)");
}

std::optional<QString> InImageFolder(const QString& folder, const QString& path)
{
    if (folder.trimmed().isEmpty())
        return std::nullopt;
    const QString relative = QDir::cleanPath(QDir(folder).relativeFilePath(path));
    if (QDir::isAbsolutePath(relative) || relative == QLatin1String("..")
        || relative.startsWith(QLatin1String("../")))
        return std::nullopt;
    return relative;
}

int32_t MapPixels(int64_t length, int32_t scale)
{
    constexpr double MicrometresPerInch = 25400.0;
    constexpr int32_t MapDpi = 96;
    return ClampToInt32(Round(double(length) * MapDpi / (MicrometresPerInch * std::max(scale, 1))));
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
