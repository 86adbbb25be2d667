#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QObject>
#include <QPoint>
#include <QString>

#include <cstdint>

class QInputMethodEvent;
class QInputMethodQueryEvent;
class QKeyEvent;
class QMouseEvent;
class TZORBaseEditor;
class TZORBaseItem;
class TZORBaseRichText;
class TZORDraw;
class TZORRichTextBar;

// In-place editing of a text, paragraph or rich text in the editor: the caret and the
// selection, typing (keys and input methods), deleting, moving by character, word and line,
// selecting with the mouse and the keys, and the formatting of a rich text. It watches the
// surface through an event filter and takes its keys, input-method text and mouse presses only
// while a text is edited in place; everything else goes on to the surface.
//
// The caret and both ends of the selection are plain positions of the edited text (see
// TZORBaseRichText), kept in the surface's drawing context (aPos, aSelStart, aSelEnd; equal ends
// for no selection), where the renderers read them to draw the caret and the selection. Every
// change of the text is one update of the label and so one step of its undo history.
class QUINDLE_WIDGETS_EXPORT TZOREditorText : public QObject {
    Q_OBJECT

public:
    explicit TZOREditorText(TZORBaseEditor& editor);
    ~TZOREditorText() override;

    // The label's notices of in-place editing.
    void Started();
    void Refreshed();
    void Ended();

    // Whether a text is edited in place, and the rich text it is (null for other kinds).
    bool Editing() const;
    TZORBaseRichText* RichText() const;
    // The caret position that a click at p (surface pixels) gives in the text under edit; 0
    // when no text is edited.
    int32_t CalcCursorPosFromClick(QPoint p) const { return Editing() ? HitAt(p) : 0; }
    // The plain text under edit.
    QString Text() const;
    int32_t Pos() const;
    // The selection ordered; equal ends for none.
    int32_t SelStart() const;
    int32_t SelEnd() const;
    void SetCaret(int32_t pos, bool extend);
    void SelectAll();

    // --- Editing ---
    // Types text at the caret in place of the selection (line breaks only where the kind has
    // lines).
    void InsertText(const QString& text);
    void DeleteBackward(bool word);
    void DeleteForward(bool word);

    // --- Formatting of a rich text, over the selection (nothing without one) or, for the
    // alignment, the caret's paragraph. True when the text changed. ---
    bool ToggleStyle(QLatin1StringView tag);
    bool StyleActive(QLatin1StringView tag) const;
    // A name holding "<" or ">" is refused.
    bool ApplyFontName(const QString& name);
    bool ApplySize(int32_t millimetres);
    bool ApplyColor(zor::TAlphaColor color);
    bool ApplyAlignment(uint8_t align);
    // The text colour at the start of the selection.
    zor::TAlphaColor ColorAtSelection() const;

    TZORRichTextBar& Bar() const { return *fBar; }
    // Shows the rich-text bar over the edited rich text, or hides it.
    void PlaceBar();

protected:
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    TZORDraw& D() const;
    TZORBaseItem* Item() const;
    void LayOut();
    bool Key(QKeyEvent& e);
    bool Press(QMouseEvent& e);
    bool Move(QMouseEvent& e);
    bool DoubleClick(QMouseEvent& e);
    void InputMethod(QInputMethodEvent& e);
    void AnswerQuery(QInputMethodQueryEvent& e);
    bool OnText(QPoint p) const;
    int32_t HitAt(QPoint p) const;
    void MoveCaret(int32_t pos, bool extend);
    void Replace(int32_t a, int32_t b, const QString& text);
    void CommitRich(const QString& rich);
    void Changed();
    void Undo(bool redo);

    TZORBaseEditor& fEditor;
    TZORRichTextBar* fBar;
    bool fDragging = false;
};
