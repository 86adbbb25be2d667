#include "Zor.Mnemonics.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSet>
#include <QTabWidget>

#include <functional>
#include <vector>

namespace {

// A caption that can carry a key: its text, how to set it, and the tab page it lies on (null
// when it shows whichever page is chosen).
struct TCaption {
    QString text;
    std::function<void(const QString&)> set;
    QWidget* page = nullptr;
    bool button = false; // a button acts at its key, so buttons choose before captions of edits
};

// The letter marked in a caption, or a null character.
QChar Marked(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

// Marks the first letter of the caption that is not taken yet and takes it.
void Mark(const TCaption& caption, QSet<QChar>& taken)
{
    const QString& text = caption.text;
    if (text.isEmpty() || text.contains(QLatin1Char('&')))
        return;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i).toLower();
        if (c.isLetterOrNumber() && !taken.contains(c)) {
            taken.insert(c);
            QString marked = text;
            marked.insert(i, QLatin1Char('&'));
            caption.set(marked);
            return;
        }
    }
}

// The captions of form in the order their controls were made, tabs first.
std::vector<TCaption> Captions(QWidget& form)
{
    QList<QWidget*> pages;
    std::vector<TCaption> captions;
    for (QTabWidget* t : form.findChildren<QTabWidget*>())
        for (int i = 0; i < t->count(); ++i) {
            pages << t->widget(i);
            captions.push_back({ t->tabText(i), [t, i](const QString& s) { t->setTabText(i, s); }, nullptr, true });
        }
    const auto pageOf = [&pages](QWidget* w) -> QWidget* {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (pages.contains(p))
                return p;
        return nullptr;
    };
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !w->parentWidget()->inherits("QTabBar"))
            captions.push_back({ b->text(), [b](const QString& s) { b->setText(s); }, pageOf(w), true });
        else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy())
            captions.push_back({ l->text(), [l](const QString& s) { l->setText(s); }, pageOf(w), false });
    }
    return captions;
}

} // namespace

namespace zor {

void AssignMnemonics(QWidget& form)
{
    const std::vector<TCaption> captions = Captions(form);
    // Keys of the controls that always show are kept from every page; a page's keys only
    // from the controls on it.
    QSet<QChar> common;
    QHash<QWidget*, QSet<QChar>> onPage;
    for (const TCaption& c : captions)
        if (const QChar key = Marked(c.text); !key.isNull())
            (c.page ? onPage[c.page] : common).insert(key);
    for (const bool buttons : { true, false })
        for (const TCaption& c : captions)
            if (!c.page && c.button == buttons)
                Mark(c, common);
    for (const bool buttons : { true, false })
        for (const TCaption& c : captions)
            if (c.page && c.button == buttons) {
                QSet<QChar>& taken = onPage[c.page];
                taken.unite(common);
                Mark(c, taken);
            }
}

} // namespace zor
