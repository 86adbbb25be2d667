#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QList>
#include <QPointer>
#include <QString>

#include <cstdint>
#include <functional>

class QComboBox;
class QHBoxLayout;
class QLayout;
class QListWidget;
class QPushButton;
class QToolButton;
class TZORBaseLabel;
class TZORColorSwatch;
class TZORLabelVCL;
class TZORSpinEditFloat;

// The font controls of one kind of text: name, height, colour and the three styles.
struct QUINDLE_WIDGETS_EXPORT TZORFontControls {
    QComboBox* Font = nullptr;
    TZORSpinEditFloat* Height = nullptr;
    TZORColorSwatch* Color = nullptr;
    QToolButton* Bold = nullptr;
    QToolButton* Italic = nullptr;
    QToolButton* Underline = nullptr;
};

// The object names of a set of font controls, in the order of TZORFontControls.
struct QUINDLE_WIDGETS_EXPORT TZORFontNames {
    const char* Font;
    const char* Height;
    const char* Color;
    const char* Bold;
    const char* Italic;
    const char* Underline;
};

// The common frame of the editors of an element's list of parts (a table's columns, a poly
// text's items): the list of parts with Add (also the Insert key), Delete and the two arrows,
// and the controls of the part selected, each of which writes its member of that part at once,
// in an update bracket of its own. Everything changed while the editor is open is one step of
// the label's history, closed when the editor closes.
//
// The part shown is the selected line of the list: part number = row + 1.
class QUINDLE_WIDGETS_EXPORT TfEdList : public QDialog {
    Q_OBJECT

public:
    ~TfEdList() override;

    // Opens on the label's single selected element: the captions, fonts and field lists are
    // filled, then the parts.
    void Ini(TZORLabelVCL& label);
    virtual void FillLanguage() = 0;

    void butAddClick();
    void butDeleteClick();
    void SBUpClick();
    void SBDownClick();

    void done(int result) override;

protected:
    explicit TfEdList(QWidget* parent);
    // Lays the form out: the list of parts with its buttons on the left, editor on the right.
    void LayOut(QWidget* editor);
    void LayOut(QLayout* editor);

    // The parts of the edited element, 1-based.
    virtual int32_t PartCount() const = 0;
    virtual QString PartText(int32_t i) const = 0;
    // The dialog text captioning the question for a new part's name.
    virtual QString AddKey() const = 0;
    virtual void AddPart(const QString& name) = 0;
    virtual void RemovePart(int32_t i) = 0;
    virtual void ExchangeParts(int32_t a, int32_t b) = 0;
    // Whether the last part may go (a table keeps one column).
    virtual bool CanRemoveLast() const { return true; }
    // Loads the controls from part i.
    virtual void LoadPart(int32_t i) = 0;

    // Opens the editor on the label (whose single selected element is edited): begins the
    // history step and fills the list; an element without parts asks for the first at once.
    void Start(TZORLabelVCL& label);
    // The selected part, 1-based; 0 for none.
    int32_t Current() const;
    // Runs edit as one change of the label, unless the controls are being filled, the label is
    // gone or no part is selected.
    void Change(const std::function<void()>& edit);
    void ShowPart();
    void AdjustUpDown();
    // Renames the selected line.
    void SetLineText(const QString& text);

    // Fills every font list with the fonts the label's host offers, or the screen's fonts.
    void FillFonts();
    // Fills the lists of the label's data fields.
    virtual void FillFields() = 0;

    // Controls for the pages.
    QComboBox* FontBox(QWidget* parent, const char* name);
    TZORSpinEditFloat* Spin(
        QWidget* parent, const char* name, double step, double min = 0.0, double max = 0.0);
    QToolButton* Toggle(QWidget* parent, const char* name, const QString& text);
    TZORColorSwatch* Swatch(QWidget* parent, const char* name);
    TZORFontControls FontControls(QWidget* parent, const TZORFontNames& names);
    // Wires a swatch: a click asks the colour service, and a colour chosen is shown and written.
    void WireSwatch(TZORColorSwatch* swatch, const std::function<void(zor::TAlphaColor)>& write);
    // Wires every font control to write its member of the struct that apply hands out.
    template <class C>
    void WireFont(
        const TZORFontControls& c, const std::function<void(const std::function<void(C&)>&)>& apply);
    template <class C> static void LoadFont(const TZORFontControls& c, const C& from);

    QPointer<TZORLabelVCL> fLabel;
    bool fIntro = false;
    QListWidget* listColumns;
    QPushButton* butAdd;
    QPushButton* butDelete;
    QToolButton* SBUp;
    QToolButton* SBDown;

private:
    // The list and its buttons in the form's layout, which it answers.
    QHBoxLayout* LayOutList();
    void EndStep();
    void Move(int by);
    void WireFontBase(const TZORFontControls& c, const std::function<void(const QString&)>& font,
        const std::function<void(float)>& height, const std::function<void(zor::TAlphaColor)>& color,
        const std::function<void(int, bool)>& style);
    static void LoadFontBase(const TZORFontControls& c, const QString& font, float height,
        zor::TAlphaColor color, bool bold, bool italic, bool underline);

    bool fStepOpen = false;
    QList<QComboBox*> fFontBoxes;
};

template <class C>
void TfEdList::WireFont(
    const TZORFontControls& c, const std::function<void(const std::function<void(C&)>&)>& apply)
{
    WireFontBase(
        c, [apply](const QString& f) { apply([&](C& x) { x.FontName = f; }); },
        [apply](float h) { apply([&](C& x) { x.FontHeight = h; }); },
        [apply](zor::TAlphaColor k) { apply([&](C& x) { x.FontColor = k; }); },
        [apply](int which, bool on) {
            apply([&](C& x) { (which == 0 ? x.Bold : which == 1 ? x.Italic : x.Underline) = on; });
        });
}

template <class C> void TfEdList::LoadFont(const TZORFontControls& c, const C& from)
{
    LoadFontBase(c, from.FontName, from.FontHeight, from.FontColor, from.Bold, from.Italic, from.Underline);
}
