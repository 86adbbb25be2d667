#include "Zor.EditorText.h"

#include "Zor.Act.h"
#include "Zor.Edit.h"
#include "Zor.RichEdit.h"
#include "Zor.RichTextBar.h"
#include "Zor.Text.h"
#include "Zor.Vcl.Editor.h"
#include "dialogs/Zor.DialogService.h"
#include "drawing/Zor.Vcl.Types.h"
#include "elements/text/Zor.Vcl.Text.Caret.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <QApplication>
#include <QClipboard>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <algorithm>

using zor::TAct;
using zor::TAlphaColor;

namespace {

// Characters a text takes from the keyboard or the clipboard: no control characters, and line
// breaks only where the kind has lines.
QString Typeable(const QString& text, bool lines)
{
    QString out;
    QString lf = text;
    lf.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    for (QChar c : lf) {
        if (c == u'\n' || c == u'\r')
            out += lines ? QChar(u'\n') : QChar(u' ');
        else if (c == u'\t' || c.isPrint() || c.isSurrogate())
            out += c == u'\t' ? QChar(u' ') : c;
    }
    return out;
}

bool IsWordChar(QStringView s, int32_t i)
{
    return i >= 0 && i < int32_t(s.size()) && !zor::IsWordSeparator(s[i]);
}

} // namespace

TZOREditorText::TZOREditorText(TZORBaseEditor& editor)
    : QObject(&editor)
    , fEditor(editor)
    , fBar(new TZORRichTextBar(editor, *this))
{
    TZORBackEditor& surface = editor.Surface();
    surface.setAttribute(Qt::WA_InputMethodEnabled);
    surface.installEventFilter(this);
}

TZOREditorText::~TZOREditorText() = default;

TZORDraw& TZOREditorText::D() const
{
    return fEditor.Surface().Draw();
}

TZORBaseItem* TZOREditorText::Item() const
{
    TZORLabelVCL* label = fEditor.GetLabel();
    TZORTextObject* text = label ? label->GetTextObject() : nullptr;
    return text ? text->Item() : nullptr;
}

bool TZOREditorText::Editing() const
{
    return Item() != nullptr;
}

TZORBaseRichText* TZOREditorText::RichText() const
{
    return dynamic_cast<TZORBaseRichText*>(Item());
}

QString TZOREditorText::Text() const
{
    if (const TZORBaseRichText* rich = RichText())
        return rich->GetPlainText();
    TZORBaseItem* item = Item();
    return item ? TZORTextObject(item).GetText() : QString();
}

int32_t TZOREditorText::Pos() const
{
    return D().aPos;
}

int32_t TZOREditorText::SelStart() const
{
    return std::min(D().aSelStart, D().aSelEnd);
}

int32_t TZOREditorText::SelEnd() const
{
    return std::max(D().aSelStart, D().aSelEnd);
}

// --- Notices ---

void TZOREditorText::LayOut()
{
    // The caret and the clicks go by the text's layout, which a change of the text leaves stale.
    if (TZORBaseItem* item = Item())
        item->CalcValues(0);
}

void TZOREditorText::Started()
{
    LayOut();
    TZORDraw& d = D();
    d.aTxt = Text();
    d.aPos = int32_t(d.aTxt.size());
    d.aSelStart = d.aSelEnd = 0;
    fDragging = false;
    PlaceBar();
}

void TZOREditorText::Refreshed()
{
    LayOut();
    TZORDraw& d = D();
    d.aTxt = Text();
    const auto n = int32_t(d.aTxt.size());
    d.aPos = std::clamp(d.aPos, 0, n);
    d.aSelStart = std::clamp(d.aSelStart, 0, n);
    d.aSelEnd = std::clamp(d.aSelEnd, 0, n);
    PlaceBar();
}

void TZOREditorText::Ended()
{
    TZORDraw& d = D();
    d.aTxt.clear();
    d.aPos = d.aSelStart = d.aSelEnd = 0;
    fDragging = false;
    PlaceBar();
}

// --- Caret ---

void TZOREditorText::MoveCaret(int32_t pos, bool extend)
{
    TZORDraw& d = D();
    pos = std::clamp(pos, 0, int32_t(d.aTxt.size()));
    if (extend) {
        if (d.aSelStart == d.aSelEnd)
            d.aSelStart = d.aPos;
        d.aSelEnd = pos;
    } else {
        d.aSelStart = d.aSelEnd = pos;
    }
    d.aPos = pos;
    fEditor.Surface().DrawEditor();
    PlaceBar();
}

void TZOREditorText::SetCaret(int32_t pos, bool extend)
{
    if (Editing())
        MoveCaret(pos, extend);
}

void TZOREditorText::SelectAll()
{
    TZORDraw& d = D();
    d.aSelStart = 0;
    d.aSelEnd = d.aPos = int32_t(d.aTxt.size());
    fEditor.Surface().DrawEditor();
    PlaceBar();
}

// --- Editing ---

void TZOREditorText::Changed()
{
    if (TZORLabelVCL* label = fEditor.GetLabel())
        label->UpdateEditing(true);
}

void TZOREditorText::Replace(int32_t a, int32_t b, const QString& text)
{
    TZORLabelVCL* label = fEditor.GetLabel();
    TZORBaseItem* item = Item();
    if (!label || !item || (a == b && text.isEmpty()))
        return;
    label->BeginUpdate(true);
    if (TZORBaseRichText* rich = RichText()) {
        if (a != b)
            rich->SetRichTextValue(zor::DeleteRichText(rich->GetRichText(), a, b));
        if (!text.isEmpty())
            rich->InsertPlainText(a, text);
    } else {
        TZORTextObject object(item);
        QString t = object.GetText();
        t.remove(a, b - a);
        t.insert(a, text);
        object.SetText(t);
    }
    label->EndUpdate();
    TZORDraw& d = D();
    d.aPos = a + int32_t(text.size());
    d.aSelStart = d.aSelEnd = d.aPos;
    Changed();
}

void TZOREditorText::InsertText(const QString& text)
{
    if (!Editing())
        return;
    const QString typed = Typeable(text, dynamic_cast<TZORBasePara*>(Item()) != nullptr);
    if (typed.isEmpty())
        return;
    const bool sel = SelStart() != SelEnd();
    Replace(sel ? SelStart() : Pos(), sel ? SelEnd() : Pos(), typed);
}

void TZOREditorText::DeleteBackward(bool word)
{
    if (!Editing())
        return;
    if (SelStart() != SelEnd()) {
        Replace(SelStart(), SelEnd(), {});
        return;
    }
    const int32_t from = word ? zor::FindPrevWordBoundary(D().aTxt, Pos()) : Pos() - 1;
    if (from >= 0 && from < Pos())
        Replace(from, Pos(), {});
}

void TZOREditorText::DeleteForward(bool word)
{
    if (!Editing())
        return;
    if (SelStart() != SelEnd()) {
        Replace(SelStart(), SelEnd(), {});
        return;
    }
    const int32_t to = word ? zor::FindNextWordBoundary(D().aTxt, Pos()) : Pos() + 1;
    if (to > Pos() && to <= int32_t(D().aTxt.size()))
        Replace(Pos(), to, {});
}

// --- Formatting ---

void TZOREditorText::CommitRich(const QString& rich)
{
    TZORLabelVCL* label = fEditor.GetLabel();
    TZORBaseRichText* item = RichText();
    if (!label || !item)
        return;
    label->BeginUpdate(true);
    item->SetRichTextValue(rich);
    label->EndUpdate();
    Changed();
}

bool TZOREditorText::ToggleStyle(QLatin1StringView tag)
{
    const TZORBaseRichText* rich = RichText();
    if (!rich)
        return false;
    const std::optional<QString> out = zor::ToggleRichStyle(rich->GetRichText(), SelStart(), SelEnd(), tag);
    if (out)
        CommitRich(*out);
    return out.has_value();
}

bool TZOREditorText::StyleActive(QLatin1StringView tag) const
{
    const TZORBaseRichText* rich = RichText();
    return rich && zor::RichStyleActive(rich->GetRichText(), SelStart(), SelEnd(), tag);
}

bool TZOREditorText::ApplyFontName(const QString& name)
{
    const TZORBaseRichText* rich = RichText();
    if (!rich)
        return false;
    if (!zor::ValidRichFontName(name)) {
        zor::DialogService().Beep();
        return false;
    }
    const std::optional<QString> out = zor::SetRichValue(
        rich->GetRichText(), SelStart(), SelEnd(), QLatin1StringView("FN"), name.trimmed());
    if (out)
        CommitRich(*out);
    return out.has_value();
}

bool TZOREditorText::ApplySize(int32_t millimetres)
{
    const TZORBaseRichText* rich = RichText();
    if (!rich || millimetres <= 0)
        return false;
    const std::optional<QString> out = zor::SetRichValue(
        rich->GetRichText(), SelStart(), SelEnd(), QLatin1StringView("FS"), zor::RichSizeValue(millimetres));
    if (out)
        CommitRich(*out);
    return out.has_value();
}

bool TZOREditorText::ApplyColor(TAlphaColor color)
{
    const TZORBaseRichText* rich = RichText();
    if (!rich)
        return false;
    const std::optional<QString> out = zor::SetRichValue(
        rich->GetRichText(), SelStart(), SelEnd(), QLatin1StringView("FC"), zor::RichColorValue(color));
    if (out)
        CommitRich(*out);
    return out.has_value();
}

bool TZOREditorText::ApplyAlignment(uint8_t align)
{
    const TZORBaseRichText* rich = RichText();
    if (!rich)
        return false;
    const std::optional<QString> out = zor::SetRichAlignment(rich->GetRichText(), Pos(), align);
    if (out)
        CommitRich(*out);
    return out.has_value();
}

TAlphaColor TZOREditorText::ColorAtSelection() const
{
    const TZORBaseRichText* rich = RichText();
    if (!rich)
        return TAlphaColor { 0xFF000000u };
    int32_t k = -1, off = 0;
    const auto& formats = rich->GetFormats();
    if (rich->GetSegmentAtPlainPos(SelStart(), k, off, true) && k >= 0) {
        const int32_t f = rich->GetSegments()[size_t(k)].FormatIndex;
        if (f >= 0 && size_t(f) < formats.size())
            return formats[size_t(f)].FontColor;
    }
    return rich->GetFontColor();
}

void TZOREditorText::PlaceBar()
{
    fBar->Place(RichText() && (fEditor.GetOptions() & eoRichTextBar));
}

// --- Events ---

bool TZOREditorText::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != &fEditor.Surface())
        return false;
    if (e->type() == QEvent::MouseButtonDblClick)
        return DoubleClick(static_cast<QMouseEvent&>(*e));
    // The bar follows the element as the page scrolls and zooms.
    if (e->type() == QEvent::Paint)
        PlaceBar();
    if (!Editing())
        return false;
    switch (e->type()) {
    case QEvent::KeyPress:
        return Key(static_cast<QKeyEvent&>(*e));
    case QEvent::ShortcutOverride:
        // Keys typed into the text are not taken by shortcuts of the host's window.
        if (!static_cast<QKeyEvent*>(e)->text().isEmpty())
            e->accept();
        return false;
    case QEvent::InputMethod:
        InputMethod(static_cast<QInputMethodEvent&>(*e));
        return true;
    case QEvent::InputMethodQuery:
        AnswerQuery(static_cast<QInputMethodQueryEvent&>(*e));
        return true;
    case QEvent::MouseButtonPress:
        return Press(static_cast<QMouseEvent&>(*e));
    case QEvent::MouseMove:
        return Move(static_cast<QMouseEvent&>(*e));
    case QEvent::MouseButtonRelease:
        if (!fDragging)
            return false;
        fDragging = false;
        return true;
    default:
        return false;
    }
}

bool TZOREditorText::Key(QKeyEvent& e)
{
    const Qt::KeyboardModifiers mods = e.modifiers();
    const bool ctrl = mods & Qt::ControlModifier, shift = mods & Qt::ShiftModifier;
    const bool rich = RichText() != nullptr;
    TZORLabelVCL* label = fEditor.GetLabel();
    switch (e.key()) {
    case Qt::Key_Left:
        MoveCaret(shift || SelStart() == SelEnd()
                ? (ctrl ? zor::FindPrevWordBoundary(D().aTxt, Pos()) : Pos() - 1)
                : SelStart(),
            shift);
        return true;
    case Qt::Key_Right:
        MoveCaret(shift || SelStart() == SelEnd()
                ? (ctrl ? zor::FindNextWordBoundary(D().aTxt, Pos()) : Pos() + 1)
                : SelEnd(),
            shift);
        return true;
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (const TZORBaseRichText* r = RichText())
            MoveCaret(zor::RichTextLineMove(*r, Pos(), e.key() == Qt::Key_Up), shift);
        return true;
    case Qt::Key_Home:
    case Qt::Key_End: {
        const bool home = e.key() == Qt::Key_Home;
        const TZORBaseRichText* r = RichText();
        if (r && !ctrl) {
            const auto [start, end] = zor::RichTextLineRange(*r, Pos());
            MoveCaret(home ? start : end, shift);
        } else {
            MoveCaret(home ? 0 : int32_t(D().aTxt.size()), shift);
        }
        return true;
    }
    case Qt::Key_Backspace:
        DeleteBackward(ctrl);
        return true;
    case Qt::Key_Delete:
        DeleteForward(ctrl);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (rich)
            InsertText(QStringLiteral("\n"));
        else if (label)
            label->ResetAction();
        return true;
    case Qt::Key_Escape:
        if (label)
            label->ResetAction();
        return true;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_F8:
    case Qt::Key_F9:
        return false;
    default:
        break;
    }
    if (ctrl && !(mods & Qt::AltModifier)) {
        switch (e.key()) {
        case Qt::Key_A:
            SelectAll();
            return true;
        case Qt::Key_V:
            InsertText(QGuiApplication::clipboard()->text());
            return true;
        case Qt::Key_Z:
            Undo(shift);
            return true;
        case Qt::Key_Y:
            Undo(true);
            return true;
        case Qt::Key_B:
            return rich && (ToggleStyle(QLatin1StringView("B")), true);
        case Qt::Key_I:
            return rich && (ToggleStyle(QLatin1StringView("I")), true);
        case Qt::Key_U:
            return rich && (ToggleStyle(QLatin1StringView("U")), true);
        default:
            // Copying elements and the other commands of the editor go on.
            return false;
        }
    }
    InsertText(e.text());
    return true;
}

void TZOREditorText::Undo(bool redo)
{
    TZORLabelVCL* label = fEditor.GetLabel();
    if (!label || !(redo ? label->Redo() : label->Undo()))
        return;
    Refreshed();
    // The text may have changed anywhere: the caret goes to its end, the selection goes.
    MoveCaret(int32_t(D().aTxt.size()), false);
}

void TZOREditorText::InputMethod(QInputMethodEvent& e)
{
    // Composed text arrives whole when it is committed and is typed like keys; what is still
    // being composed is the input method's own to show.
    if (!e.commitString().isEmpty())
        InsertText(e.commitString());
    e.accept();
}

void TZOREditorText::AnswerQuery(QInputMethodQueryEvent& e)
{
    const Qt::InputMethodQueries queries = e.queries();
    for (Qt::InputMethodQuery q : { Qt::ImEnabled, Qt::ImCursorPosition, Qt::ImAnchorPosition,
             Qt::ImSurroundingText, Qt::ImCurrentSelection, Qt::ImHints, Qt::ImCursorRectangle }) {
        if (!(queries & q))
            continue;
        switch (q) {
        case Qt::ImEnabled:
            e.setValue(q, true);
            break;
        case Qt::ImCursorPosition:
            e.setValue(q, Pos());
            break;
        case Qt::ImAnchorPosition:
            e.setValue(q, SelStart() != SelEnd() ? (Pos() == SelEnd() ? SelStart() : SelEnd()) : Pos());
            break;
        case Qt::ImSurroundingText:
            e.setValue(q, D().aTxt);
            break;
        case Qt::ImCurrentSelection:
            e.setValue(q, D().aTxt.mid(SelStart(), SelEnd() - SelStart()));
            break;
        case Qt::ImHints:
            e.setValue(q, int(Qt::ImhMultiLine));
            break;
        case Qt::ImCursorRectangle:
            e.setValue(q, QRect(fEditor.Surface().State().Pointer, QSize(1, 16)));
            break;
        default:
            break;
        }
    }
    e.accept();
}

// --- Mouse ---

bool TZOREditorText::OnText(QPoint p) const
{
    TZORLabelVCL* label = fEditor.GetLabel();
    TZORBackEditor& s = fEditor.Surface();
    return label
        && label->SearchSelectedText(
            s.G.BaseMMX(p.x()), s.G.BaseMMY(p.y()), int32_t(s.State().Gap * s.G.Scale), 0);
}

int32_t TZOREditorText::HitAt(QPoint p) const
{
    const TZORBackEditor& s = fEditor.Surface();
    const TZORPto at { s.G.BaseMMX(p.x()), s.G.BaseMMY(p.y()) };
    if (const TZORBaseRichText* rich = RichText())
        return zor::RichTextHit(*rich, at);
    if (auto* text = dynamic_cast<TZORText*>(Item()))
        return zor::TextHit(*text, at);
    if (auto* para = dynamic_cast<TZORParagraph*>(Item()))
        return zor::ParaHit(*para, at);
    return int32_t(D().aTxt.size());
}

bool TZOREditorText::Press(QMouseEvent& e)
{
    const QPoint p = e.position().toPoint();
    if (e.button() != Qt::LeftButton || !OnText(p))
        return false;
    fEditor.Surface().setFocus(Qt::MouseFocusReason);
    MoveCaret(HitAt(p), (e.modifiers() & Qt::ShiftModifier) != 0);
    fDragging = true;
    return true;
}

bool TZOREditorText::Move(QMouseEvent& e)
{
    if (!fDragging)
        return false;
    if (e.buttons() & Qt::LeftButton)
        MoveCaret(HitAt(e.position().toPoint()), true);
    return true;
}

bool TZOREditorText::DoubleClick(QMouseEvent& e)
{
    TZORLabelVCL* label = fEditor.GetLabel();
    const QPoint p = e.position().toPoint();
    if (!label || e.button() != Qt::LeftButton || !(fEditor.GetOptions() & eoDoubleClick))
        return false;
    if (!Editing()) {
        // A text kind selected with the select tool goes into in-place editing, with the caret
        // where the double click was.
        TZORBaseItem* item = label->Select();
        if (!item || !TZORTextObject::IsTextKind(item) || TAct::fCurAction != zor::acSelect)
            return false;
        label->DoDblClick();
        if (Editing() && OnText(p))
            MoveCaret(HitAt(p), false);
        return true;
    }
    if (!OnText(p))
        return false;
    // A double click on the text selects the word under it.
    const QString& t = D().aTxt;
    const int32_t at = HitAt(p);
    int32_t a = at, b = at;
    while (a > 0 && IsWordChar(t, a - 1))
        --a;
    while (b < int32_t(t.size()) && IsWordChar(t, b))
        ++b;
    MoveCaret(a, false);
    MoveCaret(b, true);
    fDragging = false;
    return true;
}
