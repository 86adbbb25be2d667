#pragma once

#include "Zor.Edlist.h"
#include "dialogs/Zor.WidgetsExport.h"

class QCheckBox;
class QLineEdit;
class QMenu;
class QAction;
class TZORBasePoly;
struct TZORDataPoly;

// The items of the selected poly text: their order, and per item its own text, the data field
// it shows, the field's format, the identifier that leads it (in parentheses or not), its font and
// its back colour. Every control writes at once (see TfEdList);
// nothing is written when the editor closes.
class QUINDLE_WIDGETS_EXPORT TfEdPolyText : public TfEdList {
    Q_OBJECT

public:
    explicit TfEdPolyText(QWidget* parent = nullptr);

    void FillLanguage() override;
    // The field combo's pop-up item: the item shows no field any more.
    void menuClearClick();

    QMenu* PopMenu() const { return fPopMenu; }

protected:
    int32_t PartCount() const override;
    QString PartText(int32_t i) const override;
    QString AddKey() const override { return QStringLiteral("AddText"); }
    void AddPart(const QString& name) override;
    void RemovePart(int32_t i) override;
    void ExchangeParts(int32_t a, int32_t b) override;
    void LoadPart(int32_t i) override;

private:
    TZORBasePoly* Poly() const;
    // Writes into the selected item.
    void ChangeItem(const std::function<void(TZORDataPoly&)>& edit);
    void FillFields() override;

    QLineEdit* edText;
    QComboBox* CBoxFields;
    QLineEdit* edFormat;
    QLineEdit* edIA;
    QCheckBox* ckAddParenthesis;
    TZORFontControls fFont;
    TZORColorSwatch* ShColColor;
    QCheckBox* ckFill;
    QMenu* fPopMenu;
    QAction* menuClear;
};
