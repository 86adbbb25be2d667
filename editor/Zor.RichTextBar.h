#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QWidget>

#include <array>

class QComboBox;
class QMenu;
class QToolButton;
class TZORBaseEditor;
class TZOREditorText;

// The bar over a rich text edited in place: the element's own action ("..."), bold, italic and
// underline (shown pressed where the selection has them), the font ("aBc", a list of the
// label's fonts or the system's), the size (a menu of 4 to 15 mm), the colour (the colour
// chooser of the dialog service) and the caret paragraph's alignment (L, C, R). It lies 4 pixels
// above the element, or below it where there is no room, and keeps within the surface. Its
// buttons never take the focus, so the keys go on into the text.
class QUINDLE_WIDGETS_EXPORT TZORRichTextBar : public QWidget {
    Q_OBJECT

public:
    static constexpr int BarWidth = 304;
    static constexpr int BarHeight = 30;

    TZORRichTextBar(TZORBaseEditor& editor, TZOREditorText& text);

    // Shows the bar in its place with the present states (shown) or hides it.
    void Place(bool shown);
    // The buttons in their order, the size menu and the font list.
    QToolButton& Button(int i) const { return *fButtons[size_t(i)]; }
    QMenu& SizeMenu() const { return *fSizeMenu; }
    QComboBox& FontCombo() const { return *fFontCombo; }
    QWidget& FontPopup() const { return *fFontPopup; }

protected:
    void paintEvent(QPaintEvent* e) override;

private:
    // The surface offers the bar's actions under their own names (ShowFontCombo, ...).
    friend class TZORBackEditor;
    void Clicked(int i);
    void ShowFonts();
    void ChooseSize();
    void ChooseColor();
    void FontChosen(const QString& name);

    TZORBaseEditor& fEditor;
    TZOREditorText& fText;
    std::array<QToolButton*, 10> fButtons {};
    QMenu* fSizeMenu;
    QWidget* fFontPopup;
    QComboBox* fFontCombo;
};
