#include "Zor.Mnemonics.h"

#include <QAbstractButton>
#include <QLabel>
#include <QSet>
#include <QTabWidget>

#include <functional>
#include <vector>

namespace {

// The property under which a control keeps the caption as this unit marked it, so that marking
// again (after the captions were filled anew, or not) starts from the caption without the mark.
constexpr char MarkedProperty[] = "zorMarkedCaption";

// A caption that can carry a key: its text, how to set it, and the tab page it lies on (null
// when it shows whichever page is chosen).
struct TCaption {
    QString text;
    std::function<void(const QString&)> set;
    QWidget* page = nullptr;
    bool button = false; // a button acts at its key, so buttons choose before captions of edits
};

// The caption of a control as its owner wrote it: a mark this unit put in is taken out again.
// A tab's captions are kept on the tab widget, one property per tab.
QString Unmarked(QObject& owner, const QByteArray& property, const QString& text)
{
    const QString marked = owner.property(property.constData()).toString();
    if (marked.isEmpty() || marked != text)
        return text;
    QString plain = text;
    plain.remove(plain.indexOf(QLatin1Char('&')), 1);
    return plain;
}

// The setter of a caption that also remembers the marked text.
std::function<void(const QString&)> Setter(
    QObject& owner, const QByteArray& property, std::function<void(const QString&)> set)
{
    return [&owner, property, set = std::move(set)](const QString& marked) {
        owner.setProperty(property.constData(), marked);
        set(marked);
    };
}

// The letter marked in a caption, or a null character.
QChar Marked(const QString& text)
{
    const qsizetype at = text.indexOf(QLatin1Char('&'));
    return at >= 0 && at + 1 < text.size() ? text.at(at + 1).toLower() : QChar();
}

// Marks the first letter of the caption that is taken neither in taken nor in alsoTaken, and
// takes it.
void Mark(const TCaption& caption, QSet<QChar>& taken, const QSet<QChar>& alsoTaken = {})
{
    const QString& text = caption.text;
    if (text.isEmpty() || text.contains(QLatin1Char('&')))
        return;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i).toLower();
        if (c.isLetterOrNumber() && !taken.contains(c) && !alsoTaken.contains(c)) {
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
            const QByteArray property = QByteArray(MarkedProperty) + QByteArray::number(i);
            const QString text = Unmarked(*t, property, t->tabText(i));
            t->setTabText(i, text);
            captions.push_back({ text,
                Setter(*t, property, [t, i](const QString& s) { t->setTabText(i, s); }), nullptr, true });
        }
    const auto pageOf = [&pages](QWidget* w) -> QWidget* {
        for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
            if (pages.contains(p))
                return p;
        return nullptr;
    };
    for (QWidget* w : form.findChildren<QWidget*>()) {
        if (auto* b = qobject_cast<QAbstractButton*>(w); b && !w->parentWidget()->inherits("QTabBar")) {
            const QString text = Unmarked(*b, MarkedProperty, b->text());
            b->setText(text);
            captions.push_back({ text, Setter(*b, MarkedProperty, [b](const QString& s) { b->setText(s); }),
                pageOf(w), true });
        } else if (auto* l = qobject_cast<QLabel*>(w); l && l->buddy()) {
            const QString text = Unmarked(*l, MarkedProperty, l->text());
            l->setText(text);
            captions.push_back({ text, Setter(*l, MarkedProperty, [l](const QString& s) { l->setText(s); }),
                pageOf(w), false });
        }
    }
    return captions;
}

} // namespace

namespace zor {

void AssignMnemonics(QWidget& form)
{
    const std::vector<TCaption> captions = Captions(form);
    // Keys of the controls that always show are kept from every page; a page's keys only
    // from the controls on it. A key a caption brings of its own is kept from the controls that
    // show with it: those of every page for a control that always shows.
    QSet<QChar> common, onAnyPage;
    QHash<QWidget*, QSet<QChar>> onPage;
    for (const TCaption& c : captions)
        if (const QChar key = Marked(c.text); !key.isNull()) {
            (c.page ? onPage[c.page] : common).insert(key);
            if (c.page)
                onAnyPage.insert(key);
        }
    for (const bool buttons : { true, false })
        for (const TCaption& c : captions)
            if (!c.page && c.button == buttons)
                Mark(c, common, onAnyPage);
    for (const bool buttons : { true, false })
        for (const TCaption& c : captions)
            if (c.page && c.button == buttons) {
                QSet<QChar>& taken = onPage[c.page];
                taken.unite(common);
                Mark(c, taken);
            }
}

} // namespace zor
