#pragma once

#include "Zor.Json.h"
#include "Zor.Observer.h"
#include "Zor.Props.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QColor>
#include <QTimer>
#include <QWidget>

#include <utility>
#include <vector>

class QComboBox;
class QScrollBar;
class TZORLabelVCL;
class TZORListDelegate;

// The property inspector: the selected elements' properties as rows of typed slots, beside a
// label editor. The rows come from the label (zor::InspectorRows); every edit goes back through
// the label's UpdateProp, one undo step each, and the row shows the value the label accepted.
class QUINDLE_WIDGETS_EXPORT TZORBaseInspector : public QWidget, public IZRObserver {
    Q_OBJECT

public:
    // Scroll requests, as a scroll bar sends them.
    enum class TScroll : uint8_t { LineUp, LineDown, PageUp, PageDown, Thumb };
    // Option bits: 0 lets EditProperty open a property's editor, 1 lets the wheel scroll,
    // 2 adds the map button to image-path slots.
    static constexpr uint8_t OptEditProperty = 1, OptWheel = 2, OptMapButton = 4;
    static constexpr int DesignWidth = 240;

    // The size a new inspector asks for (in Designer, the size it is dropped at).
    static constexpr QSize DefaultSize { DesignWidth, 400 };

    explicit TZORBaseInspector(QWidget* parent = nullptr);
    ~TZORBaseInspector() override;
    QSize sizeHint() const override { return DefaultSize; }

    TZORLabelVCL* GetLabel() const { return fBaseLab; }
    void SetLabel(TZORLabelVCL* label);
    uint8_t GetOptions() const { return fOptions; }
    void SetOptions(uint8_t o) { fOptions = o; }
    // Takes the other inspector's options and colours, all but its back colour, and repaints.
    void Assign(const TZORBaseInspector& source);

    QColor BackColor, TitleColor, ValueColor, EditColor, SelColor, SelTextColor, SelButColor, ArrowColor,
        ButColor, ButPresColor, CapButColor, CapButPresColor, CheckBorder, CheckLine;

    // --- Observer ---
    void UpdateCtrl(TZRChange change, const TZRChangeValue& value) override;
    TZRObserverKind TypeDest() const override { return TZRObserverKind::Inspector; }

    // --- Rows ---
    const zor::TJsonArray& Rows() const { return fJsonA; }
    int RowCount() const { return fNumRows; }
    int VisibleRows() const { return fVisibleRows; }
    int TopIndex() const { return fTopIndex; }
    bool ScrollBarShown() const;
    void FillInspector(bool reset);
    // A scroll request; Thumb moves the top row to pos.
    void VScroll(TScroll code, int pos = 0);
    // The value cell of a slot of a shown row, in widget pixels; empty when the row is not shown.
    QRect ValueCell(int row, int slot) const;
    const zor::TDataEdit& EditState() const { return fEdit; }
    // Opens the caret editor or list of a slot, or runs the slot's action (check box, dialogs).
    void Edit(int row, int slot);
    void PropEditor(int row, int slot);
    QComboBox* ComboList() const { return fComboList; }

protected:
    void paintEvent(QPaintEvent* event) override;
    // The style hook: a style given to the inspector reaches its scroll bar too (Qt hands a
    // widget's style to no child), and the rows are laid out again in its metrics.
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool focusNextPrevChild(bool next) override;

private:
    // Rows and scrolling (Zor.Inspector.cpp).
    void Rebuild();
    void AppendPointRows();
    void UpdateScrollBars();
    void SetTopIndex(int top);
    void OpenPropertyEditor(uint8_t prop, int32_t pos);
    // The top of shown row `row` in pixels; -1 when it is above the top row or does not fit.
    int RowTop(int row) const;
    zor::TJsonObject Row(int row) const { return fJsonA.O(row); }
    static QString K(const char* key, int slot);

    // Committing (Zor.Inspector.cpp): the value under `key` for the slot, as one UpdateProp; the
    // changes the label tells its views meanwhile reach the inspector after UpdateProp returns,
    // and then the reply's value goes into the row. Answers the reply.
    zor::TJsonObject Commit(int row, int slot, const char* key, int pos = -1, const QString& valueKey = {});
    void UpdateLinkedProp(const zor::TJsonObject& reply);
    static void CopyValue(
        zor::TJsonObject& to, const QString& toKey, const zor::TJsonObject& from, const char* key);
    void ResetValue();

    // Drawing (Zor.Inspector.Draw.cpp).
    void DrawRow(QPainter& p, const zor::TJsonObject& row, int top);
    void DrawValue(QPainter& p, const zor::TJsonObject& row, int slot, const QRectF& cell, int top);
    void DrawButton(QPainter& p, const QRectF& r, const QString& caption);
    // Button i (0-2) of alignment group `group` (0 horizontal, 1 vertical) of a row at top.
    QRectF AlignButton(const zor::TJsonObject& row, int slot, int top, int group, int i) const;
    // The width the rows use: the widget less the scroll bar when it is shown.
    int ClientWidth() const;
    void DrawAlignButtons(QPainter& p, const zor::TJsonObject& row, int slot, int top);
    void DrawEditor(QPainter& p);
    QString ListText(int source, const zor::TJsonObject& row, int slot) const;

    // Caret editor (Zor.Inspector.Edit.cpp).
    void OpenCaretEditor(int row, int slot);
    void TypeChar(QChar c);
    void Insert(const QString& text);
    void CommitText();
    void CommitNumberText();
    void UpdateNumberProp();
    void IncValue();
    void DecValue();
    void StartSpin(bool up);
    void Backspace();
    void PasteFromClipBoard();
    bool KeyBarcodeValid(QChar c) const;
    bool KeyValid(QChar c) const;
    QString FormatValue(double v) const;
    void CloseEditor();
    // Opens the caret editor of the next (previous) text or number slot.
    void EditNext(bool forward);
    // The row of that slot; -1 when there is none.
    int NextTypedRow(bool forward) const;

    // Mouse, lists and dialogs (Zor.Inspector.Mouse.cpp).
    bool HitSlot(QPoint pos, int& row, int& slot) const;
    void ClickAlign(int row, int slot, QPoint pos);
    void ClickImagePath(int row, int slot, QPoint pos);
    void OpenList(int row, int slot);
    void ListChosen(int index);
    void ListTextEntered();
    void ChooseColor(int row, int slot);
    void ChoosePicture(int row, int slot);
    void ChooseMap(int row, int slot);
    void EditMemo(int row, int slot);
    void CommitText(int row, int slot, const QString& text);

    TZORLabelVCL* fBaseLab = nullptr;
    zor::TJsonArray fJsonA;
    zor::TJsonObject fJsonV;
    zor::TDataEdit fEdit;
    int fTopIndex = 0;
    int fNumRows = 0;
    int fVisibleRows = 0;
    int fLeftGap = 11;
    int fRightGap = 4;
    int fDPIX = 96;
    int fDPIY = 96;
    double fSize24 = 10;
    bool fImgMap = false;
    int fPointRows = 0; // how many times the point rows were asked for since the selection changed
    bool fSettingScroll = false;
    // While a commit runs, the changes told to the inspector wait here (rows are never rebuilt
    // under the commit); null outside a commit.
    std::vector<std::pair<TZRChange, TZRChangeValue>>* fToldAfter = nullptr;
    uint8_t fOptions = OptEditProperty | OptWheel;
    QScrollBar* fScroll = nullptr;
    QComboBox* fComboList = nullptr;
    TZORListDelegate* fListDelegate = nullptr;
    int fListRow = -1, fListSlot = -1, fListSource = -1;
    QTimer fTimer;
    bool fTimerUp = true;
};

class QUINDLE_WIDGETS_EXPORT TZORInspector : public TZORBaseInspector {
    Q_OBJECT
    Q_PROPERTY(TZORLabelVCL* Quindle READ GetLabel WRITE SetLabel DESIGNABLE false)

public:
    explicit TZORInspector(QWidget* parent = nullptr);
};
