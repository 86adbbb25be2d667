#include "Zor.Msg.h"

#include "Zor.Json.h"

#include <QFile>
#include <QHash>

#include <array>
#include <mutex>
#include <shared_mutex>

using zor::TJsonObject;

namespace {

constexpr const char* CategoryNames[] = { "Prop", "Dialogs", "List", "Error", "Actions", "Editor" };
constexpr size_t CategoryCount = std::size(CategoryNames);

using TTexts = std::array<QHash<QString, QString>, CategoryCount>;

// The texts of the language file in force, over the built-in ones. A load builds a complete new
// set before it takes the lock, so readers never see half a language.
struct TLanguage {
    std::shared_mutex lock;
    TTexts texts;
    QString fileName;
};

TLanguage& Language()
{
    static TLanguage language;
    return language;
}

const TTexts& BuiltIns()
{
    static const TTexts texts = [] {
        TTexts t;
        for (size_t i = 0; i < CategoryCount; ++i)
            for (const auto& e : zor::BuiltInTexts(TZORMsgCategory(i)))
                t[i].insert(QString::fromUtf8(e.key), QString::fromUtf8(e.text));
        return t;
    }();
    return texts;
}

TTexts ParseLanguage(const QByteArray& bytes)
{
    const TJsonObject root = TJsonObject::Parse(bytes);
    TTexts texts;
    for (size_t i = 0; i < CategoryCount; ++i) {
        if (!root.Contains(CategoryNames[i]))
            continue;
        const TJsonObject category = root.O(CategoryNames[i]);
        for (int k = 0; k < category.Count(); ++k) {
            const QString key = category.Names(k);
            texts[i].insert(key, category.S(key));
        }
    }
    return texts;
}

TTexts ReadLanguageFile(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw zor::Error("FileOpen", path, file.errorString());
    try {
        return ParseLanguage(file.readAll());
    } catch (const EZORError& e) {
        throw zor::Error("LanguageFile", path, e.Message());
    }
}

} // namespace

QString TZORMsg::GetValue(TZORMsgCategory category, const QString& key)
{
    const size_t i = size_t(category);
    if (i >= CategoryCount)
        return key;
    {
        TLanguage& language = Language();
        std::shared_lock locker(language.lock);
        const auto it = language.texts[i].constFind(key);
        if (it != language.texts[i].cend())
            return *it;
    }
    return BuiltIns()[i].value(key, key);
}

QString TZORMsg::GetPropValue(const QString& key)
{
    return GetValue(TZORMsgCategory::Prop, key);
}

QString TZORMsg::GetDialogsValue(const QString& key)
{
    return GetValue(TZORMsgCategory::Dialogs, key);
}

QString TZORMsg::GetListValue(const QString& key)
{
    return GetValue(TZORMsgCategory::List, key);
}

QString TZORMsg::GetErrorValue(const QString& key)
{
    return GetValue(TZORMsgCategory::Error, key);
}

QString TZORMsg::GetActionsValue(const QString& key)
{
    return GetValue(TZORMsgCategory::Actions, key);
}

QString TZORMsg::GetEditorValue(const QString& key)
{
    return GetValue(TZORMsgCategory::Editor, key);
}

bool TZORMsg::LoadLanguageFile(const QString& path, QString* errorText)
{
    if (path.isEmpty()) {
        ResetLanguage();
        return true;
    }
    TTexts texts;
    try {
        texts = ReadLanguageFile(path);
    } catch (const EZORError& e) {
        if (errorText)
            *errorText = e.Message();
        return false;
    } catch (const std::exception& e) {
        if (errorText)
            *errorText = TZORMsg::GetErrorValue("LanguageFile").arg(path, QString::fromUtf8(e.what()));
        return false;
    }
    TLanguage& language = Language();
    std::unique_lock locker(language.lock);
    language.texts = std::move(texts);
    language.fileName = path;
    return true;
}

void TZORMsg::ResetLanguage()
{
    TLanguage& language = Language();
    std::unique_lock locker(language.lock);
    language.texts = {};
    language.fileName.clear();
}

QString TZORMsg::LanguageFileName()
{
    TLanguage& language = Language();
    std::shared_lock locker(language.lock);
    return language.fileName;
}
