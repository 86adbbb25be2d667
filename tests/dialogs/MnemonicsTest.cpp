// The keyboard in every dialog: the controls showing at one time never share an Alt+letter, and
// each underlined letter reaches its control (an edit takes the focus, a button acts, a tab
// opens its page).

#include "Zor.Data.h"
#include "dialogs/Zor.Back.Margins.h"
#include "dialogs/Zor.Dimstyles.h"
#include "dialogs/Zor.Drawing.h"
#include "dialogs/Zor.Eddata.h"
#include "dialogs/Zor.Edjson.h"
#include "dialogs/Zor.Edpolytext.h"
#include "dialogs/Zor.Edtable.h"
#include "dialogs/Zor.Labelling.h"
#include "dialogs/Zor.Layers.h"
#include "dialogs/Zor.Listask.h"
#include "dialogs/Zor.Listval.h"
#include "dialogs/Zor.Mem.h"
#include "dialogs/Zor.Selanswer.h"
#include "dialogs/Zor.Selcolor.h"
#include "dialogs/Zor.Sellisttext.h"
#include "dialogs/Zor.Selmap.h"
#include "dialogs/Zor.Selsymbol.h"
#include "dialogs/Zor.Settings.h"
#include "dialogs/Zor.Showpreview.h"
#include "elements/composite/Zor.Vcl.Poly.h"
#include "elements/composite/Zor.Vcl.Table.h"
#include "kit/Dialogs.h"
#include "kit/TempDir.h"
#include "label/Zor.Vcl.h"

#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using zor::TAlphaColor;

namespace {

using zor::test::TScriptedDialogs;

// The letter a caption underlines, or a null character.
QChar Underlined(const QString& text)
{
    for (qsizetype i = 0; i + 1 < text.size(); ++i) {
        if (text.at(i) != u'&')
            continue;
        if (text.at(i + 1) != u'&')
            return text.at(i + 1).toLower();
        ++i;
    }
    return {};
}

// A control showing an underlined letter: what it is and how to tell that its key reached it.
struct TKeyed {
    QChar key;
    QString caption;
    QWidget* owner;
};

// The captions of the controls the user sees now, with the letters they underline.
QList<TKeyed> ShownKeys(QDialog& dialog)
{
    QList<TKeyed> keyed;
    const auto add = [&keyed](const QString& text, QWidget* owner) {
        if (const QChar k = Underlined(text); !k.isNull())
            keyed.push_back({ k, text, owner });
    };
    for (QWidget* w : dialog.findChildren<QWidget*>()) {
        if (!w->isVisible() || !w->isEnabled())
            continue;
        if (auto* b = qobject_cast<QAbstractButton*>(w))
            add(b->text(), b);
        else if (auto* l = qobject_cast<QLabel*>(w))
            add(l->text(), l);
        else if (auto* g = qobject_cast<QGroupBox*>(w); g && g->isCheckable())
            add(g->title(), g);
        else if (auto* t = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < t->count(); ++i)
                add(t->tabText(i), t);
    }
    return keyed;
}

// Eats the shortcut events of a control and remembers that one came.
class TShortcutCatcher : public QObject {
public:
    explicit TShortcutCatcher(QWidget* watched)
        : fWatched(watched)
    {
        watched->installEventFilter(this);
    }
    ~TShortcutCatcher() override { fWatched->removeEventFilter(this); }
    bool caught = false;

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() != QEvent::Shortcut)
            return false;
        caught = true;
        return true;
    }

private:
    QWidget* fWatched;
};

// Whether Alt+key reaches the control: a caption's edit takes the focus, a button is pressed, a
// tab opens its page.
void ExpectReaches(QDialog& dialog, const TKeyed& k)
{
    SCOPED_TRACE(k.caption.toStdString());
    // From the dialog itself, so that no control that has the focus takes the key first.
    dialog.setFocus(Qt::OtherFocusReason);
    QWidget* start = &dialog;
    if (auto* l = qobject_cast<QLabel*>(k.owner)) {
        ASSERT_TRUE(l->buddy()) << "an underlined caption without an edit";
        QWidget* target = l->buddy()->focusProxy() ? l->buddy()->focusProxy() : l->buddy();
        QTest::keyClick(start, k.key.toLatin1(), Qt::AltModifier);
        EXPECT_EQ(QApplication::focusWidget(), target)
            << "went to "
            << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString()
                                            : "none")
            << " from " << start->objectName().toStdString() << ", not to "
            << target->objectName().toStdString();
        return;
    }
    if (auto* t = qobject_cast<QTabBar*>(k.owner)) {
        int index = -1;
        for (int i = 0; i < t->count(); ++i)
            if (Underlined(t->tabText(i)) == k.key)
                index = i;
        const int shown = t->currentIndex();
        t->setCurrentIndex(index == 0 ? t->count() - 1 : 0);
        QTest::keyClick(start, k.key.toLatin1(), Qt::AltModifier);
        EXPECT_EQ(t->currentIndex(), index);
        // Back to the page being checked.
        t->setCurrentIndex(shown);
        return;
    }
    // A button is not pressed: its shortcut is caught on the way, so that nothing acts.
    TShortcutCatcher catcher(k.owner);
    QTest::keyClick(start, k.key.toLatin1(), Qt::AltModifier);
    EXPECT_TRUE(catcher.caught);
}

// Checks the dialog on each page of its tabs: no letter twice, every letter to its control.
void CheckKeys(QDialog& dialog)
{
    SCOPED_TRACE(dialog.objectName().toStdString());
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    QApplication::processEvents();
    QList<QTabWidget*> tabs = dialog.findChildren<QTabWidget*>();
    const auto check = [&dialog] {
        const QList<TKeyed> keyed = ShownKeys(dialog);
        for (qsizetype i = 0; i < keyed.size(); ++i)
            for (qsizetype j = i + 1; j < keyed.size(); ++j)
                EXPECT_NE(keyed[i].key, keyed[j].key)
                    << keyed[i].caption.toStdString() << " and " << keyed[j].caption.toStdString();
        for (const TKeyed& k : keyed) {
            ExpectReaches(dialog, k);
        }
    };
    if (tabs.isEmpty()) {
        check();
        return;
    }
    for (QTabWidget* t : tabs)
        for (int i = 0; i < t->count(); ++i) {
            if (!t->isVisible())
                continue;
            t->setCurrentIndex(i);
            SCOPED_TRACE(t->tabText(i).toStdString());
            check();
        }
}

class Mnemonics : public zor::test::TempDirTest {
protected:
    void SetUp() override
    {
        TempDirTest::SetUp();
        QLocale::setDefault(QLocale::c());
        prompts.Data().AddListVal(QStringLiteral("Sizes"));
        prompts.Data().AddAskVal(QStringLiteral("Batch"));
        table = label.AddBaseTable(10000, 10000, 40000, 20000);
        poly = label.AddBasePolyText(10000, 40000);
    }

    TScriptedDialogs dialogs;
    TZORLabelVCL label;
    TZORLabelVCL prompts; // a label with a value list and a question to choose from
    TZORBaseItem* table = nullptr;
    TZORBaseItem* poly = nullptr;
};

} // namespace

TEST_F(Mnemonics, EveryDialogGivesEachLetterOnceAndItReachesItsControl)
{
    const std::pair<const char*, std::function<std::unique_ptr<QDialog>()>> forms[] = {
        { "label set-up",
            [&] {
                auto d = std::make_unique<TfLabelling>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "drawing set-up",
            [&] {
                auto d = std::make_unique<TfDrawing>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "settings",
            [&] {
                auto d = std::make_unique<TfSettings>();
                d->Ini(label, {});
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "layers",
            [&] {
                auto d = std::make_unique<TfLayers>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "dimension styles",
            [&] {
                auto d = std::make_unique<TfDimStls>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "margins",
            [&] {
                auto d = std::make_unique<TfBackMargins>();
                d->Ini(label, 1);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "colour",
            [&] {
                // The picker opens the colour dialog as it shows.
                dialogs.AnswerColour(std::nullopt);
                auto d = std::make_unique<TfSelColor>();
                d->Ini(TAlphaColor { 0xFF336699u });
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "map",
            [&] {
                auto d = std::make_unique<TfSelMap>();
                d->Ini(label, true, 100, 100);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "json",
            [&] {
                auto d = std::make_unique<TfJsonData>();
                d->IniDialog(QStringLiteral("{}"));
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "text",
            [&] {
                auto d = std::make_unique<TfMem>();
                d->Ini(QStringLiteral("text"), false);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "value lists",
            [&] {
                auto d = std::make_unique<TfListVal>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "questions",
            [&] {
                auto d = std::make_unique<TfListAsk>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "list choice",
            [&] {
                auto d = std::make_unique<TfSelListText>();
                d->Ini(prompts, *prompts.Data().GetListVal(1));
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "answer",
            [&] {
                auto d = std::make_unique<TfSelAnswer>();
                d->Ini(*prompts.Data().GetAskField(1));
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "symbols",
            [&] {
                auto d = std::make_unique<TfSelSymbol>();
                d->Ini(label, DirPath(), QString());
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "preview",
            [&] {
                auto d = std::make_unique<TfPreview>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "table",
            [&] {
                label.UnSelectAll();
                label.Select(table);
                auto d = std::make_unique<TfEdTable>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "poly text",
            [&] {
                label.UnSelectAll();
                label.Select(poly);
                dialogs.AnswerText(QStringLiteral("First"));
                auto d = std::make_unique<TfEdPolyText>();
                d->Ini(label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
        { "data binding",
            [&] {
                auto d = std::make_unique<TfEdData>();
                d->IniDialog(&label);
                return std::unique_ptr<QDialog>(std::move(d));
            } },
    };
    for (const auto& [name, make] : forms) {
        SCOPED_TRACE(name);
        const std::unique_ptr<QDialog> dialog = make();
        CheckKeys(*dialog);
    }
}
