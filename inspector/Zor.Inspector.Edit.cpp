// The caret editor of text and number slots: keys, character filters, spin steps, Alt-codes and
// paste. Every accepted change is sent to the label at once.

#include "Zor.Barcode.h"
#include "Zor.Inspector.Draw.h"
#include "Zor.Inspector.h"
#include "label/Zor.Vcl.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLocale>

#include <cmath>

using zor::TDataEdit;
using zor::TJsonObject;

namespace {

bool InSet(QChar c, std::string_view set)
{
    return c.unicode() < 128 && set.find(char(c.unicode())) != std::string_view::npos;
}

// A decimal separator as typed: the locale's, a full stop or a comma.
bool IsSeparator(QChar c)
{
    return c == u'.' || c == u',' || c == QLocale().decimalPoint().front();
}

// The number a text shows, read with the locale's separator or a full stop; nothing for a text
// that is no number.
std::optional<double> ParseNumber(const QString& text)
{
    QLocale locale;
    locale.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    double v = locale.toDouble(text, &ok);
    if (!ok)
        v = QLocale::c().toDouble(text, &ok);
    if (!ok || !std::isfinite(v))
        return std::nullopt;
    return v;
}

} // namespace

void TZORBaseInspector::Edit(int row, int slot)
{
    if (row < 0 || row >= fJsonA.Count())
        return;
    if (Row(row).I(K("Prop", slot), -1) == int(TZORInsProp::List))
        OpenList(row, slot);
    else
        OpenCaretEditor(row, slot);
}

void TZORBaseInspector::OpenCaretEditor(int row, int slot)
{
    const int top = RowTop(row);
    if (top < 0)
        return;
    const TJsonObject r = Row(row);
    const auto prop = TZORInsProp(r.I(K("Prop", slot), -1));
    if (prop != TZORInsProp::Text && prop != TZORInsProp::Float && prop != TZORInsProp::Integer
        && prop != TZORInsProp::FormatInt && prop != TZORInsProp::BarText)
        return;
    fEdit = TDataEdit {};
    const QRect cell = ValueCell(row, slot);
    fEdit.X = cell.x();
    fEdit.Y = cell.y();
    fEdit.W = cell.width();
    fEdit.H = cell.height();
    fEdit.Row = row;
    fEdit.Slot = slot;
    const QString valueKey = K("Value", slot);
    if (prop == TZORInsProp::Text || prop == TZORInsProp::BarText) {
        fEdit.Kind = 1;
        fEdit.Text = r.S(valueKey, QString());
    } else {
        fEdit.Kind = prop == TZORInsProp::Float ? 2 : 3;
        fEdit.Value = prop == TZORInsProp::Float ? r.F(valueKey, 0) : double(r.L(valueKey, 0));
        fEdit.Inc = prop == TZORInsProp::Float ? r.F(K("I", slot), 1) : 1;
        fEdit.Min = r.F(K("M", slot), 0);
        fEdit.Max = r.F(K("X", slot), 0);
        fEdit.Text = FormatValue(fEdit.Value);
    }
    fEdit.Caret = int32_t(fEdit.Text.size());
    fEdit.Active = true;
    update();
}

QString TZORBaseInspector::FormatValue(double v) const
{
    const TJsonObject r = Row(fEdit.Row);
    if (r.I(K("Prop", fEdit.Slot), -1) == int(TZORInsProp::Integer))
        return QString::number(std::llround(v));
    return zor::LocaleFixedText(r.S(K("FE", fEdit.Slot), QString()), v);
}

int TZORBaseInspector::NextTypedRow(bool forward) const
{
    const int count = fJsonA.Count();
    int row = fEdit.Active ? fEdit.Row : (forward ? -1 : count);
    for (row += forward ? 1 : -1; row >= 0 && row < count; row += forward ? 1 : -1) {
        const auto prop = TZORInsProp(Row(row).I("Prop1", -1));
        if (prop == TZORInsProp::Text || prop == TZORInsProp::Float || prop == TZORInsProp::Integer
            || prop == TZORInsProp::FormatInt || prop == TZORInsProp::BarText)
            return row;
    }
    return -1;
}

void TZORBaseInspector::EditNext(bool forward)
{
    const int row = NextTypedRow(forward);
    CloseEditor();
    if (row < 0)
        return;
    // Bring the row into view first.
    while (RowTop(row) < 0 && fTopIndex < row)
        SetTopIndex(fTopIndex + 1);
    if (row < fTopIndex)
        SetTopIndex(row);
    OpenCaretEditor(row, 1);
}

void TZORBaseInspector::keyPressEvent(QKeyEvent* event)
{
    // Tab and Shift+Tab go from one text or number slot to the next.
    if (event->key() == Qt::Key_Tab || event->key() == Qt::Key_Backtab) {
        EditNext(event->key() == Qt::Key_Tab && !(event->modifiers() & Qt::ShiftModifier));
        return;
    }
    if (!fEdit.Active) {
        QWidget::keyPressEvent(event);
        return;
    }
    const Qt::KeyboardModifiers mods = event->modifiers();
    const int key = event->key();
    const bool numeric = fEdit.Kind == 2 || fEdit.Kind == 3;
    if (key == Qt::Key_Alt) {
        if (fEdit.Kind == 1 && !fEdit.AltMode) {
            fEdit.AltMode = true;
            fEdit.AltCode.clear();
        }
        return;
    }
    if (fEdit.AltMode && (mods & Qt::AltModifier)) {
        if ((mods & Qt::KeypadModifier) && key >= Qt::Key_0 && key <= Qt::Key_9)
            fEdit.AltCode += QChar(u'0' + (key - Qt::Key_0));
        return;
    }
    switch (key) {
    case Qt::Key_Up:
        if (numeric)
            IncValue();
        return;
    case Qt::Key_Down:
        if (numeric)
            DecValue();
        return;
    case Qt::Key_Left:
        if (fEdit.Caret > 0) {
            --fEdit.Caret;
            fEdit.SelectAll = false;
        }
        update();
        return;
    case Qt::Key_Right:
        if (fEdit.Caret < fEdit.Text.size()) {
            ++fEdit.Caret;
            fEdit.SelectAll = false;
        } else if (fEdit.Kind == 1) {
            fEdit.SelectAll = false;
        }
        update();
        return;
    case Qt::Key_Home:
    case Qt::Key_End:
        fEdit.Caret = key == Qt::Key_Home ? 0 : int32_t(fEdit.Text.size());
        fEdit.SelectAll = false;
        update();
        return;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Escape:
        CloseEditor();
        return;
    case Qt::Key_Backspace:
        Backspace();
        return;
    default:
        break;
    }
    if (key == Qt::Key_V && (mods & ~Qt::KeypadModifier) == Qt::ControlModifier) {
        PasteFromClipBoard();
        return;
    }
    if (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return;
    for (const QChar c : event->text())
        TypeChar(c);
}

void TZORBaseInspector::keyReleaseEvent(QKeyEvent* event)
{
    // Linux sends no character with the release of Alt, so nothing is held back after it.
    if (!fEdit.Active || event->key() != Qt::Key_Alt || !fEdit.AltMode)
        return;
    fEdit.AltMode = false;
    bool ok = false;
    const uint code = fEdit.AltCode.toUInt(&ok);
    fEdit.AltCode.clear();
    // Control characters are not typed.
    if (!ok || code < 32 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return;
    const char32_t ch = code;
    Insert(QString::fromUcs4(&ch, 1));
    CommitText();
}

void TZORBaseInspector::mouseDoubleClickEvent(QMouseEvent*)
{
    if (!fEdit.Active)
        return;
    fEdit.SelectAll = true;
    update();
}

bool TZORBaseInspector::KeyBarcodeValid(QChar c) const
{
    const auto* code = fBaseLab ? dynamic_cast<const IZORBarcode*>(fBaseLab->Select()) : nullptr;
    if (!code || c == u'\b')
        return false;
    const ushort u = c.unicode();
    switch (int(code->GetBarType())) {
    case 0:
    case 1:
    case 2:
    case 3:
    case 12: // Code 128 C and EAN-128 C encode pairs of digits
    case 16:
    case 17:
    case 18:
    case 19:
    case 21:
    case 22:
        return c.isDigit();
    case 4:
        return InSet(c, TZORBarEncoder::ValidFullCode39);
    case 5:
    case 7:
        return u <= 127;
    case 6:
        return InSet(c, TZORBarEncoder::ValidCode93);
    case 8:
        return InSet(c, TZORBarEncoder::ValidCodabar);
    case 9:
    case 13:
        return u <= 95;
    case 10:
    case 11:
    case 14:
    case 15:
        return u >= 32 && u <= 127;
    case 20:
        return InSet(c, TZORBarEncoder::ValidCode11);
    default:
        return false;
    }
}

bool TZORBaseInspector::KeyValid(QChar c) const
{
    switch (fEdit.Kind) {
    case 1:
        if (Row(fEdit.Row).I(K("Prop", fEdit.Slot), -1) == int(TZORInsProp::BarText))
            return KeyBarcodeValid(c);
        // Every printable character of any script but the semicolon, which separates the
        // values of a row.
        return c.isPrint() && c != u';';
    case 2:
        return (c >= u'0' && c <= u'9') || IsSeparator(c);
    case 3:
        return c >= u'0' && c <= u'9';
    default:
        return false;
    }
}

void TZORBaseInspector::TypeChar(QChar c)
{
    if (!KeyValid(c))
        return;
    if (fEdit.Kind == 1) {
        Insert(QString(c));
        CommitText();
        return;
    }
    if (fEdit.Kind == 2 && IsSeparator(c)) {
        const qsizetype at = fEdit.Text.indexOf(QLocale().decimalPoint());
        fEdit.Caret = at < 0 ? 0 : int32_t(at + 1);
        fEdit.SelectAll = false;
        update();
        return;
    }
    if (c == u'0' && fEdit.Caret == 0 && !fEdit.SelectAll) {
        if (fEdit.Kind == 3)
            return;
        if (fEdit.Text.isEmpty())
            fEdit.Text = QStringLiteral("0");
        CommitNumberText();
        return;
    }
    const QString oldText = fEdit.Text;
    const int32_t oldCaret = fEdit.Caret;
    Insert(QString(c));
    if (!ParseNumber(fEdit.Text)) {
        // A keystroke that leaves no number is refused.
        fEdit.Text = oldText;
        fEdit.Caret = oldCaret;
        update();
        return;
    }
    CommitNumberText();
}

void TZORBaseInspector::Insert(const QString& text)
{
    if (fEdit.SelectAll) {
        fEdit.Text = text;
        fEdit.Caret = fEdit.Kind == 2 ? 1 : int32_t(text.size());
    } else if (fEdit.Kind != 1 && fEdit.Caret == 0 && fEdit.Value < 1.0 && !fEdit.Text.isEmpty()) {
        fEdit.Text.replace(0, 1, text);
        fEdit.Caret = int32_t(text.size());
    } else {
        fEdit.Text.insert(fEdit.Caret, text);
        fEdit.Caret += int32_t(text.size());
    }
    fEdit.SelectAll = false;
}

void TZORBaseInspector::CommitText()
{
    fJsonV.SetS("txt", fEdit.Text);
    const TJsonObject reply = Commit(fEdit.Row, fEdit.Slot, "txt");
    if (reply.Contains("txt") && reply.S("txt") != fEdit.Text) {
        fEdit.Text = reply.S("txt");
        fEdit.Caret = std::min<int32_t>(fEdit.Caret, int32_t(fEdit.Text.size()));
    }
    update();
}

void TZORBaseInspector::CommitNumberText()
{
    const std::optional<double> v = ParseNumber(fEdit.Text);
    if (!v)
        return;
    if (fEdit.Kind == 2)
        fEdit.Value = std::round(*v * 1000.0) / 1000.0;
    else
        fEdit.Value = std::clamp(std::round(*v), fEdit.Min, fEdit.Max);
    UpdateNumberProp();
}

void TZORBaseInspector::UpdateNumberProp()
{
    const char* key = fEdit.Kind == 2 ? "ext" : "int";
    if (fEdit.Kind == 2)
        fJsonV.SetF("ext", fEdit.Value);
    else
        fJsonV.SetL("int", std::llround(fEdit.Value));
    const TJsonObject reply = Commit(fEdit.Row, fEdit.Slot, key);
    if (reply.Contains(key))
        fEdit.Value = fEdit.Kind == 2 ? reply.F(key) : double(reply.L(key));
    fEdit.Text = FormatValue(fEdit.Value);
    fEdit.Caret = std::min<int32_t>(fEdit.Caret, int32_t(fEdit.Text.size()));
    update();
}

void TZORBaseInspector::IncValue()
{
    if (!fEdit.Active || fEdit.Value + fEdit.Inc > fEdit.Max + 1e-9)
        return;
    fEdit.Value += fEdit.Inc;
    UpdateNumberProp();
}

void TZORBaseInspector::DecValue()
{
    if (!fEdit.Active || fEdit.Value - fEdit.Inc < fEdit.Min - 1e-9)
        return;
    fEdit.Value -= fEdit.Inc;
    UpdateNumberProp();
}

void TZORBaseInspector::StartSpin(bool up)
{
    fTimer.stop();
    fTimerUp = up;
    fTimer.start();
}

void TZORBaseInspector::Backspace()
{
    if (fEdit.SelectAll) {
        fEdit.SelectAll = false;
        fEdit.Caret = 0;
        if (fEdit.Kind == 1) {
            fEdit.Text.clear();
            CommitText();
        } else {
            fEdit.Text = QStringLiteral("0");
            fEdit.Value = 0;
            UpdateNumberProp();
        }
        return;
    }
    QString text = fEdit.Text;
    if (!zor::DeleteCharPos(text, fEdit.Caret))
        return;
    if (fEdit.Kind == 1) {
        fEdit.Text = text;
        --fEdit.Caret;
        CommitText();
    } else if (text.isEmpty()) {
        fEdit.Text = QStringLiteral("0");
        fEdit.Caret = 1;
        fEdit.Value = 0;
        UpdateNumberProp();
    } else if (const std::optional<double> v = ParseNumber(text)) {
        fEdit.Text = text;
        --fEdit.Caret;
        fEdit.Value = *v;
        UpdateNumberProp();
    }
}

void TZORBaseInspector::PasteFromClipBoard()
{
    const QString text = QApplication::clipboard()->text();
    if (fEdit.Kind != 1 || text.isEmpty())
        return;
    Insert(text);
    CommitText();
}
