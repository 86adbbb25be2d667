#include "Zor.Spinfloat.h"

#include "Zor.DialogService.h"
#include "Zor.Format.h"
#include "Zor.Utils.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QStyle>
#include <QToolButton>

#include <algorithm>
#include <cmath>
#include <limits>

using zor::TQnUpDown;

namespace {

// The widest the buttons get, however wide the style's scroll bars are.
constexpr int MaxButtonWidth = 16;
// The edit's context menu: the line edit's usual actions, under names a test can find. Cut, paste
// and delete follow the editor switch, as their keys do.
enum class TMenuUse { Undo, Redo, Cut, Copy, Paste, Delete, SelectAll };
struct TMenuRow {
    const char* name;
    const char* text; // translated as the line edit's own menu is
    void (*act)(QLineEdit&);
    TMenuUse use;
    bool separatorAfter;
};
constexpr TMenuRow MenuRows[] = {
    { "edit-undo", "&Undo", [](QLineEdit& e) { e.undo(); }, TMenuUse::Undo, false },
    { "edit-redo", "&Redo", [](QLineEdit& e) { e.redo(); }, TMenuUse::Redo, true },
    { "edit-cut", "Cu&t", [](QLineEdit& e) { e.cut(); }, TMenuUse::Cut, false },
    { "edit-copy", "&Copy", [](QLineEdit& e) { e.copy(); }, TMenuUse::Copy, false },
    { "edit-paste", "&Paste", [](QLineEdit& e) { e.paste(); }, TMenuUse::Paste, false },
    { "edit-delete", "Delete", [](QLineEdit& e) { e.del(); }, TMenuUse::Delete, true },
    { "select-all", "Select All", [](QLineEdit& e) { e.selectAll(); }, TMenuUse::SelectAll, false },
};

QChar DecimalSeparator()
{
    return QLocale().decimalPoint().front();
}

// The text of a new edit and of a decimal edit whose whole text was typed over.
QString ZeroText()
{
    return QLatin1Char('0') + DecimalSeparator() + QStringLiteral("00");
}

// The library's float patterns write "," groups, a "." point and a "-" sign; this is the same
// number in the locale's notation.
QString Localised(const QString& text)
{
    const QLocale locale;
    QString out;
    for (const QChar c : text) {
        if (c == QLatin1Char(','))
            out += locale.groupSeparator();
        else if (c == QLatin1Char('.'))
            out += locale.decimalPoint();
        else if (c == QLatin1Char('-'))
            out += locale.negativeSign();
        else
            out += c;
    }
    return out;
}

int64_t SaturatingAdd(int64_t a, int64_t b)
{
    int64_t sum = 0;
    if (__builtin_add_overflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<int64_t>::max() : std::numeric_limits<int64_t>::min();
    return sum;
}

} // namespace

TQnUpDown::TQnUpDown(QWidget* parent)
    : QWidget(parent)
    , fUp(new QToolButton(this))
    , fDown(new QToolButton(this))
{
    const struct {
        QToolButton* button;
        const char* name;
        Qt::ArrowType arrow;
        bool up;
    } buttons[] = { { fUp, "Up", Qt::UpArrow, true }, { fDown, "Down", Qt::DownArrow, false } };
    for (const auto& b : buttons) {
        b.button->setObjectName(QString::fromLatin1(b.name));
        b.button->setArrowType(b.arrow);
        b.button->setAutoRepeat(true);
        b.button->setFocusPolicy(Qt::NoFocus);
        connect(b.button, &QToolButton::clicked, this, [this, up = b.up] { emit Clicked(up); });
    }
}

void TQnUpDown::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    const int upper = height() / 2;
    fUp->setGeometry(0, 0, width(), upper);
    fDown->setGeometry(0, upper, width(), height() - upper);
}

TZORSpinEditFloat::TZORSpinEditFloat(QWidget* parent)
    : QLineEdit(parent)
    , FButton(new TQnUpDown(this))
{
    FButton->setObjectName(QStringLiteral("Button"));
    setText(ZeroText());
    setCursorPosition(0);
    setTextMargins(0, 0, ButtonWidth(), 0);
    connect(FButton, &TQnUpDown::Clicked, this, &TZORSpinEditFloat::UpDownClick);
}

int TZORSpinEditFloat::ButtonWidth() const
{
    return std::min(style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this), MaxButtonWidth);
}

QSize TZORSpinEditFloat::minimumSizeHint() const
{
    // The smaller of the system font and the edit's own font, with room for the border.
    constexpr int BorderHeight = 1;
    const int text = std::min(QFontMetrics(QApplication::font()).height(), fontMetrics().height());
    QSize size = QLineEdit::minimumSizeHint();
    size.setHeight(std::max(size.height(), text + 4 * BorderHeight + 8));
    return size;
}

QSize TZORSpinEditFloat::sizeHint() const
{
    QSize size = QLineEdit::sizeHint();
    size.setHeight(std::max(size.height(), minimumSizeHint().height()));
    return size;
}

void TZORSpinEditFloat::resizeEvent(QResizeEvent* event)
{
    QLineEdit::resizeEvent(event);
    const int width = ButtonWidth();
    FButton->setGeometry(this->width() - width, 0, width, height());
}

// --- Value ---

void TZORSpinEditFloat::SetDigits(int n)
{
    if (n == FDigits)
        return;
    FDigits = std::clamp(n, 0, MaxDigits);
    if (FDigits == 0 && FIncrement < 1.0)
        FIncrement = 1.0;
    ShowValue();
}

void TZORSpinEditFloat::SetPrecision(int n)
{
    if (n == FPrecision)
        return;
    FPrecision = n;
    ShowValue();
}

double TZORSpinEditFloat::CheckValue(double v) const
{
    const double r = v < FMinValue ? FMinValue : v;
    if (FMaxValue == FMinValue)
        return r;
    return v > FMaxValue ? FMaxValue : r;
}

int64_t TZORSpinEditFloat::CheckValue(int64_t v) const
{
    const int64_t low = zor::Trunc(FMinValue);
    const int64_t high = zor::Trunc(FMaxValue);
    const int64_t r = v < low ? low : v;
    if (high == low)
        return r;
    return v > high ? high : r;
}

double TZORSpinEditFloat::GetValue() const
{
    const QLocale locale;
    QString t = text();
    if (const QString currency = locale.currencySymbol(); !currency.isEmpty())
        t.remove(currency);
    t.remove(QLatin1Char(' '));
    t.remove(locale.groupSeparator());
    bool negative = false;
    if (const qsizetype open = t.indexOf(QLatin1Char('(')); open >= 0) {
        t.remove(open, 1);
        if (const qsizetype close = t.indexOf(QLatin1Char(')')); close >= 0)
            t.remove(close, 1);
        negative = true;
    }
    bool ok = false;
    const double v = locale.toDouble(t, &ok);
    if (!ok)
        return FMinValue;
    return negative ? -v : v;
}

QString TZORSpinEditFloat::FormatDecimal(double v) const
{
    // Rounded to the significant digits first, as the number would be written out in full.
    const int significant = std::clamp(FPrecision, 1, std::numeric_limits<double>::max_digits10);
    const double rounded = std::isfinite(v) ? QString::number(v, 'g', significant).toDouble() : v;
    const QString pattern = QStringLiteral("#,##0.") + QString(FDigits, QLatin1Char('0'));
    return Localised(zor::FormatFloat(pattern, rounded));
}

void TZORSpinEditFloat::ShowText(const QString& t)
{
    if (t != text())
        setText(t);
    setCursorPosition(0);
}

void TZORSpinEditFloat::SetValue(double v)
{
    ShowText(IsDecimal() ? FormatDecimal(CheckValue(v)) : zor::FormatFloat(QStringLiteral("0"), v));
}

int64_t TZORSpinEditFloat::GetValInt64() const
{
    if (IsDecimal())
        return 0;
    bool ok = false;
    const qlonglong v = text().toLongLong(&ok);
    return ok ? v : 0;
}

void TZORSpinEditFloat::SetValInt64(int64_t v)
{
    ShowText(IsDecimal() ? QStringLiteral("0") : QString::number(CheckValue(v)));
}

void TZORSpinEditFloat::ShowValue()
{
    if (IsDecimal())
        ShowText(FormatDecimal(CheckValue(GetValue())));
    else
        ShowText(QString::number(CheckValue(GetValInt64())));
}

void TZORSpinEditFloat::ClampValue()
{
    if (IsDecimal())
        SetValue(CheckValue(GetValue()));
    else
        SetValInt64(CheckValue(GetValInt64()));
}

void TZORSpinEditFloat::Assign(const TZORSpinEditFloat& source)
{
    FIncrement = source.FIncrement;
    SetDigits(source.FDigits);
    SetPrecision(source.FPrecision);
    SetValue(source.GetValue());
}

// --- Steps ---

void TZORSpinEditFloat::UpClick()
{
    Step(1);
}

void TZORSpinEditFloat::DownClick()
{
    Step(-1);
}

void TZORSpinEditFloat::Step(int sign)
{
    if (isReadOnly()) {
        Beep();
        return;
    }
    if (IsDecimal())
        SetValue(GetValue() + sign * FIncrement);
    else
        SetValInt64(SaturatingAdd(GetValInt64(), sign * zor::Trunc(std::clamp(FIncrement, -9e18, 9e18))));
}

void TZORSpinEditFloat::UpDownClick(bool up)
{
    if ((focusPolicy() & Qt::TabFocus) && isEnabled() && isVisible())
        setFocus(Qt::OtherFocusReason);
    if (up)
        UpClick();
    else
        DownClick();
}

void TZORSpinEditFloat::Beep() const
{
    zor::DialogService().Beep();
}

// --- Keys ---

int TZORSpinEditFloat::SeparatorPos() const
{
    return int(text().indexOf(DecimalSeparator())) + 1;
}

int TZORSpinEditFloat::Caret() const
{
    return hasSelectedText() ? selectionStart() : cursorPosition();
}

bool TZORSpinEditFloat::IsValidChar(QChar key) const
{
    const bool allowed = key == QLatin1Char('+') || key == QLatin1Char('-')
        || (key >= QLatin1Char('0') && key <= QLatin1Char('9')) || key == DecimalSeparator();
    const bool control = key < QLatin1Char(' ');
    if (!allowed && (!control || key == QLatin1Char('\r')))
        return false;
    return FEditorEnabled || (control && key != QLatin1Char('\b'));
}

void TZORSpinEditFloat::keyPressEvent(QKeyEvent* event)
{
    if (KeyDown(event) || KeyPress(event)) {
        event->accept();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

bool TZORSpinEditFloat::KeyDown(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        UpClick();
        return true;
    case Qt::Key_Down:
        DownClick();
        return true;
    case Qt::Key_Delete:
        if (event->matches(QKeySequence::Cut) || isReadOnly())
            return false;
        if (text().mid(cursorPosition(), 1) == DecimalSeparator()) {
            cursorForward(false);
            return true;
        }
        if (!FEditorEnabled) {
            Beep();
            return true;
        }
        return false;
    case Qt::Key_Backspace:
        return KeyBackspace();
    default:
        return false;
    }
}

bool TZORSpinEditFloat::KeyBackspace()
{
    if (isReadOnly())
        return false;
    if (!IsValidChar(QLatin1Char('\b'))) {
        Beep();
        return true;
    }
    const QString t = text();
    const int p = SeparatorPos();
    const int c = Caret();
    if (c > 0 && p > 0 && c == p - 1) {
        // Before the separator: a lone integer digit turns into 0; otherwise the caret steps left.
        if (p == 2 || (p == 3 && t.startsWith(QLatin1Char('-')))) {
            QString zeroed = t;
            zeroed[c - 1] = QLatin1Char('0');
            setText(zeroed);
            setCursorPosition(c);
        } else {
            cursorBackward(false);
        }
        return true;
    }
    if (c > 0 && c >= p && t[c - 1] == DecimalSeparator()) {
        cursorBackward(false);
        return true;
    }
    DeleteSelection();
    backspace();
    return true;
}

bool TZORSpinEditFloat::KeyPress(QKeyEvent* event)
{
    if (isReadOnly())
        return false;
    if (event->matches(QKeySequence::Paste) || event->matches(QKeySequence::Cut))
        return !PasteAllowed();
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
        return KeyEnter();
    const QString typed = event->text();
    // Keys that type nothing (caret moves) and control characters (shortcuts) are the edit's own.
    if (typed.isEmpty() || typed.front() < QLatin1Char(' ') || typed.front() == QChar(0x7f))
        return false;
    QChar key = typed.front();
    if (key == QLatin1Char('.'))
        key = DecimalSeparator();
    if (!FEditorEnabled && key == QLatin1Char('-')) {
        Beep();
        return true;
    }
    if (key == QLatin1Char('-')) {
        insert(key);
        return true;
    }
    if (!IsValidChar(key)) {
        Beep();
        return true;
    }
    if (key != DecimalSeparator()) {
        DeleteSelection();
        TypeDigit(key);
        return true;
    }
    setCursorPosition(Caret());
    if (!IsDecimal()) {
        // A whole number with a separator would no longer read as a number at all.
        Beep();
        return true;
    }
    if (const int p = SeparatorPos(); p > 0)
        setCursorPosition(p);
    else
        insert(key);
    return true;
}

void TZORSpinEditFloat::TypeDigit(QChar key)
{
    const int c = cursorPosition();
    if (c <= 1 && text().startsWith(QLatin1Char('0'))) {
        setSelection(0, 1);
        insert(key);
        return;
    }
    const int p = SeparatorPos();
    if (IsDecimal() && p > 0) {
        if (c == p + FDigits) {
            Beep();
            return;
        }
        if (c >= p)
            setSelection(c, 1);
    }
    insert(key);
}

void TZORSpinEditFloat::DeleteSelection()
{
    if (!hasSelectedText())
        return;
    if (selectedText().compare(text(), Qt::CaseInsensitive) == 0) {
        const QSignalBlocker quiet(this);
        setText(IsDecimal() ? ZeroText() : QStringLiteral("0"));
        setCursorPosition(0);
        return;
    }
    setCursorPosition(selectionEnd());
}

bool TZORSpinEditFloat::KeyEnter()
{
    QWidget* form = window();
    if (form == this)
        return false;
    const int start = selectionStart();
    const int length = int(selectedText().size());
    const int caret = cursorPosition();
    QList<QPushButton*> defaults;
    for (QPushButton* button : form->findChildren<QPushButton*>())
        if (button->isDefault() && button->window() == form)
            defaults << button;
    if (defaults.isEmpty()) {
        Beep();
        return true;
    }
    // The edit is left before the buttons act, so they read the value within its bounds.
    ClampValue();
    for (QPushButton* button : defaults) {
        button->setFocus(Qt::OtherFocusReason);
        button->click();
    }
    setFocus(Qt::OtherFocusReason);
    if (FAutoSelect)
        selectAll();
    else if (length > 0)
        setSelection(start, length);
    else
        setCursorPosition(caret);
    return true;
}

// --- Focus and menu ---

void TZORSpinEditFloat::focusInEvent(QFocusEvent* event)
{
    QLineEdit::focusInEvent(event);
    if (!FFocused) {
        FFocused = true;
        update();
    }
    if (FAutoSelect && !(QApplication::mouseButtons() & Qt::LeftButton))
        selectAll();
}

void TZORSpinEditFloat::focusOutEvent(QFocusEvent* event)
{
    // A menu or another window taking the focus for a while is not leaving the edit.
    if (event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason) {
        FFocused = false;
        ClampValue();
    }
    QLineEdit::focusOutEvent(event);
}

bool TZORSpinEditFloat::MenuEnabled(int use) const
{
    switch (TMenuUse(use)) {
    case TMenuUse::Undo:
        return isUndoAvailable();
    case TMenuUse::Redo:
        return isRedoAvailable();
    case TMenuUse::Cut:
    case TMenuUse::Delete:
        return hasSelectedText() && PasteAllowed();
    case TMenuUse::Copy:
        return hasSelectedText();
    case TMenuUse::Paste:
        return PasteAllowed();
    case TMenuUse::SelectAll:
        return !text().isEmpty();
    }
    return false;
}

void TZORSpinEditFloat::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    for (const TMenuRow& row : MenuRows) {
        QAction* action = menu.addAction(QCoreApplication::translate("QLineEdit", row.text));
        action->setObjectName(QString::fromLatin1(row.name));
        action->setEnabled(MenuEnabled(int(row.use)));
        connect(action, &QAction::triggered, this, [this, act = row.act] { act(*this); });
        if (row.separatorAfter)
            menu.addSeparator();
    }
    zor::DialogService().Popup(menu, event->globalPos());
}
