#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QString>
#include <QWidget>

#include <cstdint>
#include <functional>
#include <optional>

// The text typed for the current tool while it places points: "a,b" an absolute point, "@a,b"
// a point relative to the last one, "@" the last point again, "a" a length. Numbers are in the
// label's unit with "." as the decimal separator.
class QUINDLE_WIDGETS_EXPORT TZORValueInput {
public:
    // What a committed text asks for.
    struct TResult {
        enum class TKind { None, Point, Length } Kind = TKind::None;
        TZORPto Point; // base units
        int64_t Length = 0; // base units
    };
    // A value in the label's unit to base units.
    using TBaseMM = std::function<int64_t(double)>;

    const QString& Text() const { return fText; }
    int32_t Caret() const { return fCaret; }
    bool IsEmpty() const { return fText.isEmpty(); }

    // Takes one typed character when it belongs in the text at the caret: digits, ".", and one
    // each of ",", "@" and "<"; "-" only where a number starts. False when refused.
    bool Type(QChar c);
    // The caret keys; false when nothing changed.
    bool Left();
    bool Right();
    bool Backspace();
    bool Delete();
    void Clear();

    // Reads the text. last is the point placed last (none at the start of an edit). The caret
    // goes to the first comma first, so that a text that does not read leaves it there.
    TResult Evaluate(const TBaseMM& baseMM, const std::optional<TZORPto>& last);

private:
    QString fText;
    int32_t fCaret = 0;
};

// The small box at the top of the surface that shows the typed value with its caret. It only
// shows what its input holds; the editor's keyboard fills it.
class QUINDLE_WIDGETS_EXPORT TZORValueBox : public QWidget {
    Q_OBJECT

public:
    explicit TZORValueBox(QWidget* surface);

    TZORValueInput& Input() { return fInput; }
    const TZORValueInput& Input() const { return fInput; }
    // Shows the box centred at the top of the surface (its place is fixed while it stays open),
    // or repaints it when it is open already.
    void DrawInput(int32_t dpiY);
    // Hides the box and forgets the text.
    void Close();
    bool IsOpen() const { return isVisible(); }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    void PrepareInput(int32_t dpiY);

    TZORValueInput fInput;
    QFont fFont;
};
