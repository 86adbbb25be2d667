#include "Zor.Msg.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using zor::Error;

namespace {

using TGetter = QString (*)(const QString&);

struct TCategory {
    const char* name; // in a language file
    TGetter get;
    const char* builtInKey;
    const char* builtInText;
};

const TCategory Categories[] = {
    { "Prop", &TZORMsg::GetPropValue, "Text", "Text" },
    { "Dialogs", &TZORMsg::GetDialogsValue, "Ok", "OK" },
    { "List", &TZORMsg::GetListValue, "DateTime", "Date and time" },
    { "Error", &TZORMsg::GetErrorValue, "Polygon", "A polygon needs at least three points" },
    { "Actions", &TZORMsg::GetActionsValue, "DeleteList", "Delete this list?" },
    { "Editor", &TZORMsg::GetEditorValue, "Zoom", "Zoom" },
};

// The catalogue is process-wide: every test leaves it with the built-in texts.
class Catalogue : public testing::Test {
protected:
    void TearDown() override { TZORMsg::ResetLanguage(); }

    QString Write(const QString& name, const QByteArray& bytes)
    {
        const QString path = fDir.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }

    // A language file that gives every category's built-in key the text "<category> in Spanish".
    QString Spanish()
    {
        QByteArray json = "{";
        for (const TCategory& c : Categories)
            json += QStringLiteral("\"%1\":{\"%2\":\"%1 en español\"},").arg(c.name, c.builtInKey).toUtf8();
        json += "\"Language\":\"Español\"}";
        return Write("es.json", json);
    }

    QTemporaryDir fDir;
};

} // namespace

TEST_F(Catalogue, BuiltInTexts)
{
    for (const TCategory& c : Categories)
        EXPECT_EQ(c.get(c.builtInKey), c.builtInText) << c.name;
    EXPECT_EQ(TZORMsg::GetErrorValue("EventNumber"), "The number of coordinate values must be even");
    EXPECT_EQ(TZORMsg::GetErrorValue("JsonNotValid"), "JSON is not valid");
    EXPECT_TRUE(TZORMsg::LanguageFileName().isEmpty());
}

TEST_F(Catalogue, NoKeyIsListedTwiceInACategory)
{
    for (int c = 0; c < 6; ++c) {
        QSet<QString> keys;
        for (const auto& text : zor::BuiltInTexts(TZORMsgCategory(c))) {
            EXPECT_FALSE(keys.contains(text.key)) << text.key;
            keys.insert(text.key);
        }
        EXPECT_FALSE(keys.isEmpty()) << c;
    }
}

TEST_F(Catalogue, AMissingKeyReadsAsItself)
{
    for (const TCategory& c : Categories)
        EXPECT_EQ(c.get("NoSuchKey"), "NoSuchKey") << c.name;
    // Keys of one category are not looked up in another, and case counts.
    EXPECT_EQ(TZORMsg::GetPropValue("Polygon"), "Polygon");
    EXPECT_EQ(TZORMsg::GetErrorValue("polygon"), "polygon");
}

TEST_F(Catalogue, ALanguageFileOverridesEachCategory)
{
    const QString path = Spanish();
    QString error;
    ASSERT_TRUE(TZORMsg::LoadLanguageFile(path, &error)) << error.toStdString();
    EXPECT_EQ(TZORMsg::LanguageFileName(), path);
    for (const TCategory& c : Categories)
        EXPECT_EQ(c.get(c.builtInKey), QStringLiteral("%1 en español").arg(c.name)) << c.name;
    // What the file leaves out keeps its built-in text.
    EXPECT_EQ(TZORMsg::GetErrorValue("EventNumber"), "The number of coordinate values must be even");

    TZORMsg::ResetLanguage();
    for (const TCategory& c : Categories)
        EXPECT_EQ(c.get(c.builtInKey), c.builtInText) << c.name;
}

TEST_F(Catalogue, ALaterFileReplacesTheEarlierOne)
{
    ASSERT_TRUE(TZORMsg::LoadLanguageFile(Spanish()));
    ASSERT_TRUE(TZORMsg::LoadLanguageFile(Write("fr.json", R"({"Dialogs":{"Cancel":"Annuler"}})")));
    EXPECT_EQ(TZORMsg::GetDialogsValue("Cancel"), "Annuler");
    EXPECT_EQ(TZORMsg::GetDialogsValue("Ok"), "OK");
    ASSERT_TRUE(TZORMsg::LoadLanguageFile(QString()));
    EXPECT_EQ(TZORMsg::GetDialogsValue("Cancel"), "Cancel");
}

TEST_F(Catalogue, AByteOrderMarkIsAccepted)
{
    ASSERT_TRUE(TZORMsg::LoadLanguageFile(Write("bom.json", "\xEF\xBB\xBF{\"Error\":{\"Polygon\":\"P\"}}")));
    EXPECT_EQ(TZORMsg::GetErrorValue("Polygon"), "P");
}

TEST_F(Catalogue, AnInvalidFileChangesNothingAndSaysWhy)
{
    ASSERT_TRUE(TZORMsg::LoadLanguageFile(Spanish()));
    const QString spanish = TZORMsg::GetErrorValue("Polygon");
    struct Case {
        const char* name;
        QByteArray content; // empty: no file at all
        const char* mustContain;
    };
    const Case cases[] = {
        { "missing", {}, "missing" },
        { "not JSON", "{\"Error\":", "not valid" },
        { "an array", "[1,2]", "(root)" },
        { "category not an object", R"({"Error":["x"]})", "Error" },
        { "text not a string", R"({"Error":{"Polygon":3}})", "Error.Polygon" },
        { "text null", R"({"Prop":{"Text":null}})", "Prop.Text" },
    };
    for (const Case& c : cases) {
        const QString path = c.content.isEmpty() ? fDir.filePath("missing.json")
                                                 : Write(QStringLiteral("%1.json").arg(c.name), c.content);
        QString error;
        EXPECT_FALSE(TZORMsg::LoadLanguageFile(path, &error)) << c.name;
        EXPECT_TRUE(error.contains(path)) << c.name << ": " << error.toStdString();
        EXPECT_TRUE(error.contains(QString::fromUtf8(c.mustContain)))
            << c.name << ": " << error.toStdString();
        EXPECT_EQ(TZORMsg::GetErrorValue("Polygon"), spanish) << c.name;
        EXPECT_TRUE(TZORMsg::LanguageFileName().endsWith("es.json")) << c.name;
    }
    EXPECT_FALSE(TZORMsg::LoadLanguageFile(fDir.filePath("missing.json")));

    TZORMsg::ResetLanguage();
    EXPECT_FALSE(TZORMsg::LoadLanguageFile(fDir.filePath("missing.json")));
    EXPECT_EQ(TZORMsg::GetErrorValue("Polygon"), "A polygon needs at least three points");
}

TEST_F(Catalogue, ErrorFillsThePlaceholders)
{
    EXPECT_EQ(zor::Error("Polygon").Message(), "A polygon needs at least three points");
    EXPECT_EQ(zor::Error("FileOpen", QStringLiteral("a.json"), QStringLiteral("gone %1")).Message(),
        "Cannot open the file \"a.json\": gone %1");
    ASSERT_TRUE(TZORMsg::LoadLanguageFile(Write("order.json", R"x({"Error":{"FileOpen":"%2 (%1)"}})x")));
    EXPECT_EQ(
        zor::Error("FileOpen", QStringLiteral("a.json"), QStringLiteral("gone")).Message(), "gone (a.json)");
}

TEST_F(Catalogue, ReadersOnOtherThreadsSeeOneLanguageOrTheOther)
{
    const QString path = Spanish();
    const QString english = "A polygon needs at least three points";
    const QString spanish = "Error en español";
    std::atomic<bool> stop = false;
    std::atomic<int> strange = 0;
    std::vector<std::thread> readers;
    for (int t = 0; t < 4; ++t)
        readers.emplace_back([&] {
            while (!stop) {
                const QString text = TZORMsg::GetErrorValue("Polygon");
                if (text != english && text != spanish)
                    ++strange;
            }
        });
    for (int i = 0; i < 200; ++i) {
        TZORMsg::LoadLanguageFile(path);
        TZORMsg::ResetLanguage();
    }
    stop = true;
    for (auto& t : readers)
        t.join();
    EXPECT_EQ(strange, 0);
}
