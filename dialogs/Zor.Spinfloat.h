#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QLineEdit>
#include <QWidget>

#include <cstdint>

class QToolButton;

namespace zor {

// The pair of up and down buttons at the right edge of a TZORSpinEditFloat. Held down, a button
// repeats.
class QUINDLE_WIDGETS_EXPORT TQnUpDown : public QWidget {
    Q_OBJECT

public:
    explicit TQnUpDown(QWidget* parent = nullptr);

signals:
    // One click of the upper (up true) or the lower button.
    void Clicked(bool up);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    QToolButton* fUp;
    QToolButton* fDown;
};

} // namespace zor

// A single-line edit with up and down buttons for a decimal number (Digits > 0) or a whole number
// (Digits 0). The text always holds a formatted number in the locale's notation: the decimal
// separator cannot be deleted, digits typed behind it overwrite, and no more than Digits of them
// can be typed. MinValue equal to MaxValue means no upper bound; the value is brought into the
// bounds when the edit loses the focus. OnChange is the line edit's textChanged signal.
class QUINDLE_WIDGETS_EXPORT TZORSpinEditFloat : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(int Digits READ GetDigits WRITE SetDigits)
    Q_PROPERTY(int Precision READ GetPrecision WRITE SetPrecision)
    Q_PROPERTY(bool EditorEnabled READ GetEditorEnabled WRITE SetEditorEnabled)
    Q_PROPERTY(double Increment READ GetIncrement WRITE SetIncrement)
    Q_PROPERTY(double MaxValue READ GetMaxValue WRITE SetMaxValue)
    Q_PROPERTY(double MinValue READ GetMinValue WRITE SetMinValue)
    Q_PROPERTY(double Value READ GetValue WRITE SetValue USER true)
    Q_PROPERTY(qlonglong AsInteger READ GetValInt64 WRITE SetValInt64)
    Q_PROPERTY(bool AutoSelect READ GetAutoSelect WRITE SetAutoSelect)

public:
    static constexpr int MaxDigits = 12;

    explicit TZORSpinEditFloat(QWidget* parent = nullptr);

    int GetDigits() const { return FDigits; }
    // Kept within 0 to 12; at 0 (whole numbers) an increment below 1 becomes 1. Shows the value
    // again.
    void SetDigits(int n);
    // Significant digits a decimal value is rounded to when shown.
    int GetPrecision() const { return FPrecision; }
    void SetPrecision(int n);
    // Off: typing is refused, the buttons and arrow keys still step the value.
    bool GetEditorEnabled() const { return FEditorEnabled; }
    void SetEditorEnabled(bool e) { FEditorEnabled = e; }
    double GetIncrement() const { return FIncrement; }
    void SetIncrement(double v) { FIncrement = v; }
    double GetMaxValue() const { return FMaxValue; }
    void SetMaxValue(double v) { FMaxValue = v; }
    double GetMinValue() const { return FMinValue; }
    void SetMinValue(double v) { FMinValue = v; }
    // Selects the whole text when the edit takes the focus.
    bool GetAutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool a) { FAutoSelect = a; }

    // The text as a number: currency symbols, blanks and thousands separators left out, "(12)"
    // read as -12; MinValue when it is not a number.
    double GetValue() const;
    // Decimal mode: the value within the bounds, with thousands separators and Digits decimals.
    // Whole numbers: the value rounded (half away from zero), not kept within the bounds.
    void SetValue(double v);
    // Whole numbers: the text as an integer, 0 when it is not one. Decimal mode: always 0.
    int64_t GetValInt64() const;
    // Brings the value into the bounds, as leaving the edit does: for a command that reads the
    // value while the edit keeps the focus.
    void ClampValue();
    // Whole numbers: the value within the bounds. Decimal mode: the text becomes "0".
    void SetValInt64(int64_t v);
    // The value within the bounds: MinValue below it; above MaxValue, MaxValue, unless the two
    // are equal (then there is no upper bound).
    double CheckValue(double v) const;
    int64_t CheckValue(int64_t v) const;

    // One step up or down by Increment (truncated for whole numbers); a read-only edit beeps.
    virtual void UpClick();
    virtual void DownClick();
    // Takes increment, digits, precision and value of another spin edit; the value is kept
    // within this edit's own bounds.
    void Assign(const TZORSpinEditFloat& source);

    QSize minimumSizeHint() const override;
    QSize sizeHint() const override;

protected:
    // Typed characters: "+", "-", digits and the locale's decimal separator; a control character
    // other than Backspace always; the rest only while EditorEnabled.
    virtual bool IsValidChar(QChar key) const;

    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    bool IsDecimal() const { return FDigits > 0; }
    // The text for a decimal value, in the locale's notation.
    QString FormatDecimal(double v) const;
    // Puts a text in from outside: the caret goes to the start, where typing replaces a leading 0.
    void ShowText(const QString& t);
    // Shows the current value again, within the bounds (after a change of Digits or Precision).
    void ShowValue();
    // 1-based position of the decimal separator in the text; 0 when there is none.
    int SeparatorPos() const;
    // Where the caret stands, as the start of the selection when there is one.
    int Caret() const;
    void Beep() const;

    // The steps of one key, in order: navigation and deletion keys, then typed characters.
    bool KeyDown(QKeyEvent* event);
    bool KeyBackspace();
    bool KeyPress(QKeyEvent* event);
    bool KeyEnter();
    void TypeDigit(QChar key);
    // Before a typed key: a selection of the whole text resets it to zero, any other selection
    // collapses to its end (the selected characters stay).
    void DeleteSelection();
    // One increment up (sign 1) or down (sign -1).
    void Step(int sign);
    void UpDownClick(bool up);
    bool PasteAllowed() const { return FEditorEnabled && !isReadOnly(); }
    int ButtonWidth() const;
    // Whether an action of the context menu (by its use) can act now.
    bool MenuEnabled(int use) const;

    int FPrecision = 9;
    int FDigits = 2;
    double FMinValue = 0;
    double FMaxValue = 0;
    double FIncrement = 0.5;
    zor::TQnUpDown* FButton;
    bool FEditorEnabled = true;
    bool FFocused = false;
    bool FAutoSelect = true;
};
