#include "dialogs/Zor.Spinfloat.h"
#include "kit/Dialogs.h"

#include <QApplication>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QDialog>
#include <QFocusEvent>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using zor::test::TScriptedDialogs;

// Every test here runs under a locale it names; the process's own is put back afterwards.
class SpinFloat : public ::testing::Test {
protected:
    ~SpinFloat() override { QLocale::setDefault(fSaved); }
    static void Pin(const char* name) { QLocale::setDefault(QLocale(QString::fromLatin1(name))); }

    TScriptedDialogs dialogs; // counts the beeps
private:
    QLocale fSaved;
};

// Types keys into the edit: characters as they stand, {bs} {del} {left} {right} {home} {end}
// {up} {down} for those keys and {all} to select the whole text.
void Type(TZORSpinEditFloat& edit, const QString& keys)
{
    static const struct {
        const char* name;
        Qt::Key key;
    } named[] = {
        { "bs", Qt::Key_Backspace },
        { "del", Qt::Key_Delete },
        { "left", Qt::Key_Left },
        { "right", Qt::Key_Right },
        { "home", Qt::Key_Home },
        { "end", Qt::Key_End },
        { "up", Qt::Key_Up },
        { "down", Qt::Key_Down },
    };
    for (qsizetype i = 0; i < keys.size(); ++i) {
        if (keys[i] != QLatin1Char('{')) {
            QTest::keyClick(&edit, keys[i].toLatin1());
            continue;
        }
        const qsizetype close = keys.indexOf(QLatin1Char('}'), i);
        const QString token = keys.mid(i + 1, close - i - 1);
        i = close;
        if (token == QLatin1String("all")) {
            edit.selectAll();
            continue;
        }
        const auto* row = std::find_if(std::begin(named), std::end(named),
            [&](const auto& n) { return token == QLatin1String(n.name); });
        ASSERT_NE(row, std::end(named)) << token.toStdString();
        QTest::keyClick(&edit, row->key);
    }
}

void Leave(TZORSpinEditFloat& edit)
{
    QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
    QApplication::sendEvent(&edit, &out);
}

TEST_F(SpinFloat, TypingFollowsTheFixedDecimalsModelInEitherLocale)
{
    const struct {
        const char* locale;
        const char* start; // the text before typing (caret at the start); empty: a new edit
        const char* keys;
        const char* text;
        int caret;
        int beeps;
    } table[] = {
        // A new edit's leading 0 is replaced; digits go in before the separator.
        { "en_US", "", "5", "5.00", 1, 0 },
        { "en_US", "", "56", "56.00", 2, 0 },
        // "." jumps behind the separator and the decimals are typed over, two at most.
        { "en_US", "", "5.7", "5.70", 3, 0 },
        { "en_US", "", "1234.5", "1234.50", 6, 0 },
        { "en_US", "", "5.789", "5.78", 4, 1 },
        { "en_US", "", ".", "0.00", 2, 0 },
        { "en_US", "5.78", "{right}{right}9", "5.98", 3, 0 },
        // Backspace just behind the separator steps over it, Delete just before it too.
        { "en_US", "5.78", "{right}{right}{bs}", "5.78", 1, 0 },
        { "en_US", "5.78", "{right}{del}", "5.78", 2, 0 },
        // Backspace on the only integer digit leaves 0 in its place, also behind a minus.
        { "en_US", "5.78", "{right}{bs}", "0.78", 1, 0 },
        { "en_US", "-5.78", "{right}{right}{bs}", "-0.78", 2, 0 },
        // With more integer digits it steps left; further left it deletes.
        { "en_US", "25.78", "{right}{right}{bs}", "25.78", 1, 0 },
        { "en_US", "25.78", "{right}{bs}", "5.78", 0, 0 },
        { "en_US", "5.78", "{end}{bs}", "5.7", 3, 0 },
        // Typing over the whole text starts again from zero.
        { "en_US", "5.78", "{all}3", "3.00", 1, 0 },
        { "en_US", "5.78", "{all}{bs}", "0.00", 0, 0 },
        // The minus is typed where the caret is; letters and a foreign separator beep.
        { "en_US", "5.00", "-", "-5.00", 1, 0 },
        { "en_US", "", "a", "0.00", 0, 1 },
        { "en_US", "", ",", "0.00", 0, 1 },
        { "en_US", "1.50", "{up}", "2.00", 0, 0 },
        { "en_US", "1.50", "{down}{down}{down}{down}", "0.00", 0, 0 },
        // The German locale: "," separates, "." is taken for it.
        { "de_DE", "", "1234,5", "1234,50", 6, 0 },
        { "de_DE", "", "12.5", "12,50", 4, 0 },
        { "de_DE", "", "5,789", "5,78", 4, 1 },
        { "de_DE", "5,78", "{right}{right}{bs}", "5,78", 1, 0 },
        { "de_DE", "5,78", "{right}{del}", "5,78", 2, 0 },
        { "de_DE", "5,78", "{right}{bs}", "0,78", 1, 0 },
        { "de_DE", "5,78", "{all}3", "3,00", 1, 0 },
        { "de_DE", "", "a", "0,00", 0, 1 },
    };
    for (const auto& row : table) {
        Pin(row.locale);
        const int beeps = dialogs.Beeps;
        TZORSpinEditFloat edit;
        if (*row.start) {
            edit.setText(QString::fromLatin1(row.start));
            edit.setCursorPosition(0);
        }
        Type(edit, QString::fromLatin1(row.keys));
        const std::string what = std::string(row.locale) + " \"" + row.start + "\" " + row.keys;
        EXPECT_EQ(edit.text(), QString::fromLatin1(row.text)) << what;
        EXPECT_EQ(edit.cursorPosition(), row.caret) << what;
        EXPECT_EQ(dialogs.Beeps - beeps, row.beeps) << what;
    }
}

TEST_F(SpinFloat, ValuesShowAndReadInTheLocalesNotation)
{
    const struct {
        const char* locale;
        double value;
        const char* text;
    } table[] = {
        { "en_US", 1234.5, "1,234.50" },
        { "en_US", -1234567.126, "-1,234,567.13" },
        { "en_US", 0.004, "0.00" },
        { "de_DE", 1234.5, "1.234,50" },
        { "de_DE", -1234567.126, "-1.234.567,13" },
    };
    for (const auto& row : table) {
        Pin(row.locale);
        TZORSpinEditFloat edit;
        edit.SetMinValue(-1e9);
        edit.SetMaxValue(1e9);
        edit.SetValue(row.value);
        EXPECT_EQ(edit.text(), QString::fromLatin1(row.text)) << row.locale << " " << row.value;
        EXPECT_NEAR(edit.GetValue(), row.value, 0.006) << row.locale;
    }
}

TEST_F(SpinFloat, ANewEditShowsZeroInTheLocalesNotation)
{
    Pin("en_US");
    EXPECT_EQ(TZORSpinEditFloat().text(), QStringLiteral("0.00"));
    Pin("de_DE");
    TZORSpinEditFloat edit;
    EXPECT_EQ(edit.text(), QStringLiteral("0,00"));
    EXPECT_EQ(edit.GetDigits(), 2);
    EXPECT_EQ(edit.GetPrecision(), 9);
    EXPECT_DOUBLE_EQ(edit.GetIncrement(), 0.5);
    EXPECT_TRUE(edit.GetEditorEnabled());
}

TEST_F(SpinFloat, TextReadsAsANumberOrAsTheMinimum)
{
    Pin("en_US");
    TZORSpinEditFloat edit;
    edit.SetMinValue(-3);
    const struct {
        const char* text;
        double value;
    } table[] = {
        { "(12)", -12 },
        { "(1,234.5)", -1234.5 },
        { "$ 7.25", 7.25 },
        { "", -3 },
        { "-", -3 },
        { "abc", -3 },
    };
    for (const auto& row : table) {
        edit.setText(QString::fromLatin1(row.text));
        EXPECT_DOUBLE_EQ(edit.GetValue(), row.value) << row.text;
    }
}

TEST_F(SpinFloat, LeavingTheEditKeepsTheValueWithinItsBounds)
{
    Pin("en_US");
    const struct {
        double min, max;
        const char* typed;
        const char* shown;
    } table[] = {
        { 0, 0, "-5", "0.00" }, // equal bounds: no upper bound, but nothing below the minimum
        { 0, 0, "99999", "99,999.00" }, { -10, 10, "12", "10.00" }, { -10, 10, "-15", "-10.00" },
        { 1, 10, "", "1.00" }, // no number: the minimum
    };
    for (const auto& row : table) {
        TZORSpinEditFloat edit;
        edit.SetMinValue(row.min);
        edit.SetMaxValue(row.max);
        edit.setText(QString());
        Type(edit, QString::fromLatin1(row.typed));
        Leave(edit);
        EXPECT_EQ(edit.text(), QString::fromLatin1(row.shown)) << row.typed;
    }
}

TEST_F(SpinFloat, WholeNumbersRoundWithoutClampingUntilTheEditIsLeft)
{
    Pin("en_US");
    TZORSpinEditFloat edit;
    edit.SetMaxValue(2);
    EXPECT_EQ(edit.GetValInt64(), 0); // decimal mode reads no integer
    edit.SetValInt64(7);
    EXPECT_EQ(edit.text(), QStringLiteral("0"));
    edit.SetDigits(0);
    EXPECT_DOUBLE_EQ(edit.GetIncrement(), 1.0);
    edit.SetValue(2.6);
    EXPECT_EQ(edit.text(), QStringLiteral("3"));
    Leave(edit);
    EXPECT_EQ(edit.text(), QStringLiteral("2"));
    EXPECT_EQ(edit.GetValInt64(), 2);
    edit.SetValInt64(-4);
    EXPECT_EQ(edit.text(), QStringLiteral("0"));
    // Typing: the leading 0 is replaced, a separator is refused.
    Type(edit, QStringLiteral("1.5"));
    EXPECT_EQ(edit.text(), QStringLiteral("15"));
    EXPECT_EQ(dialogs.Beeps, 1);
    Type(edit, QStringLiteral("{up}"));
    EXPECT_EQ(edit.text(), QStringLiteral("2")); // 16 is above the maximum
}

TEST_F(SpinFloat, DigitsAreKeptWithinZeroToTwelve)
{
    Pin("en_US");
    TZORSpinEditFloat edit;
    edit.SetValue(1.5);
    edit.SetDigits(20);
    EXPECT_EQ(edit.GetDigits(), 12);
    EXPECT_EQ(edit.text(), QStringLiteral("1.500000000000"));
    edit.SetDigits(-1);
    EXPECT_EQ(edit.GetDigits(), 0);
    EXPECT_DOUBLE_EQ(edit.GetIncrement(), 1.0);
    edit.SetDigits(2);
    edit.SetIncrement(2.5);
    edit.SetDigits(0);
    EXPECT_DOUBLE_EQ(edit.GetIncrement(), 2.5); // an increment of 1 or more stays
}

TEST_F(SpinFloat, WithTheEditorDisabledOnlyTheStepsChangeTheValue)
{
    Pin("en_US");
    TZORSpinEditFloat edit;
    edit.SetEditorEnabled(false);
    edit.setText(QStringLiteral("5.00"));
    Type(edit, QStringLiteral("{home}7{bs}{del}-"));
    EXPECT_EQ(edit.text(), QStringLiteral("5.00"));
    EXPECT_EQ(dialogs.Beeps, 4);
    Type(edit, QStringLiteral("{up}"));
    EXPECT_EQ(edit.text(), QStringLiteral("5.50"));
    edit.resize(120, 24);
    edit.show();
    QTest::mouseClick(edit.findChild<QToolButton*>(QStringLiteral("Down")), Qt::LeftButton);
    QTest::mouseClick(edit.findChild<QToolButton*>(QStringLiteral("Down")), Qt::LeftButton);
    EXPECT_EQ(edit.text(), QStringLiteral("4.50"));
    QTest::mouseClick(edit.findChild<QToolButton*>(QStringLiteral("Up")), Qt::LeftButton);
    EXPECT_EQ(edit.text(), QStringLiteral("5.00"));
    // Read-only: a step only beeps.
    edit.setReadOnly(true);
    Type(edit, QStringLiteral("{up}"));
    EXPECT_EQ(edit.text(), QStringLiteral("5.00"));
    EXPECT_EQ(dialogs.Beeps, 5);
}

TEST_F(SpinFloat, PasteAndCutNeedTheEditor)
{
    Pin("en_US");
    TZORSpinEditFloat edit;
    QApplication::clipboard()->setText(QStringLiteral("42"));
    edit.SetEditorEnabled(false);
    edit.setCursorPosition(0);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("0.00"));
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_X, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("0.00"));
    // The context menu opens through the dialog service, with paste, cut and delete disabled.
    edit.selectAll();
    dialogs.AnswerPopup([](QMenu& menu) {
        for (const char* name : { "edit-paste", "edit-cut", "edit-delete" }) {
            const QAction* action = menu.findChild<QAction*>(QString::fromLatin1(name));
            EXPECT_TRUE(action && !action->isEnabled()) << name;
        }
        EXPECT_TRUE(menu.findChild<QAction*>(QStringLiteral("edit-copy"))->isEnabled());
        return nullptr;
    });
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(2, 2), edit.mapToGlobal(QPoint(2, 2)));
    QApplication::sendEvent(&edit, &menu);
    edit.SetEditorEnabled(true);
    edit.setCursorPosition(0);
    QTest::keyClick(&edit, Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(edit.text(), QStringLiteral("420.00"));
}

TEST_F(SpinFloat, EnterPressesTheFormsDefaultButtonWithTheValueInBounds)
{
    Pin("en_US");
    QDialog form;
    auto* edit = new TZORSpinEditFloat(&form);
    edit->SetMinValue(1);
    edit->SetMaxValue(9);
    auto* ok = new QPushButton(QStringLiteral("OK"), &form);
    QString seen;
    QObject::connect(ok, &QPushButton::clicked, [&] { seen = edit->text(); });
    Type(*edit, QStringLiteral("{all}12"));
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(seen, QString()); // no default button: a beep
    EXPECT_EQ(dialogs.Beeps, 1);
    ok->setDefault(true);
    QTest::keyClick(edit, Qt::Key_Return);
    EXPECT_EQ(seen, QStringLiteral("9.00"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("9.00"));
}

TEST_F(SpinFloat, AssignTakesTheSettingsAndKeepsItsOwnBounds)
{
    Pin("en_US");
    TZORSpinEditFloat source;
    source.SetMaxValue(100);
    source.SetIncrement(0.25);
    source.SetDigits(3);
    source.SetValue(42.125);
    TZORSpinEditFloat edit;
    edit.SetMaxValue(10);
    edit.Assign(source);
    EXPECT_EQ(edit.GetDigits(), 3);
    EXPECT_DOUBLE_EQ(edit.GetIncrement(), 0.25);
    EXPECT_EQ(edit.text(), QStringLiteral("10.000"));
    EXPECT_DOUBLE_EQ(edit.GetMaxValue(), 10);
}

} // namespace
