#pragma once

#include "Zor.Cursors.h"
#include "Zor.EditorGeometry.h"
#include "Zor.EditorOptions.h"
#include "Zor.EditorState.h"
#include "Zor.Observer.h"
#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"
#include "label/Zor.Vcl.h"

#include <QFrame>
#include <QImage>
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

class QMenu;
class QPainter;
class QScrollBar;
class QToolButton;
class TZORBaseEditor;
class TZORDraw;
class TZOREditorPaint;
class TZOREditorInput;
class TZOREditorText;
struct TZOREditorSettings;

// The zoom steps; the last three fit the paper to the editor's width, height or both.
enum class TZORZoom : uint8_t {
    zm25,
    zm50,
    zm75,
    zm100,
    zm125,
    zm150,
    zm175,
    zm200,
    zm250,
    zm300,
    zm350,
    zm400,
    zm450,
    zm500,
    zmWidth,
    zmHeight,
    zmFitAll
};

// Where the paper lies when the editor is larger than it.
enum class TZORLabelPos : uint8_t { TopLeft = 0, Center = 1 };

// Option bits of the editor (TZORBaseEditor::GetOptions).
enum TZOREditorOption : uint16_t {
    eoZoomButton = 1 << 0,
    eoUnitsButton = 1 << 1,
    eoSettingsButton = 1 << 2,
    eoRotateButton = 1 << 3,
    eoOrtoIndicator = 1 << 4,
    eoSnapIndicator = 1 << 5,
    eoValueBox = 1 << 6,
    eoWheel = 1 << 7,
    eoDoubleClick = 1 << 8,
    eoLinkPoints = 1 << 9,
    eoRichTextBar = 1 << 10,
    eoLabelFlag = 1 << 11,
};

// Mouse events of the editor with the pointer in the label's unit.
using TZORMouseEvent = std::function<void(
    TZORBaseEditor& sender, Qt::MouseButton button, Qt::KeyboardModifiers keys, double x, double y)>;
using TZORMouseMoveEvent
    = std::function<void(TZORBaseEditor& sender, Qt::KeyboardModifiers keys, double x, double y)>;

// The drawing surface of an editor: it renders the page into a backing image when something
// changed and paints that image; the mouse goes to the label's current tool.
class QUINDLE_WIDGETS_EXPORT TZORBackEditor : public QWidget {
    Q_OBJECT

public:
    explicit TZORBackEditor(TZORBaseEditor& editor);
    ~TZORBackEditor() override;

    TZOREditorGeometry G; // page geometry and conversions
    // The pointer, the press, the tool's mode and the snap mark, shared with the helpers.
    TZOREditorState& State() { return fState; }
    const TZOREditorState& State() const { return fState; }

    // Reads the resolution of the screen (or the override) and hands it to the element factory.
    void GetDPIs();
    // Lays the page out for the present size and zoom, sets the scroll bars and redraws.
    void Resize();
    void SetGap();
    // The base point snapped to the grid (-1 with grid snap off).
    int64_t GridX(int64_t v) const;
    int64_t GridY(int64_t v) const;
    // Renders the backing image anew and schedules a repaint.
    void DrawEditor();
    // Repaints what lies over the elements (rulers, guides, handles, preview, snap marker) and
    // reuses the rendered elements, moved with the page when it scrolled: for a change that
    // leaves the elements as they are. Requests
    // coming together make one picture, rendered when the surface paints or the image is read.
    void DrawOverlay();
    const QImage& BackImage();
    int RenderCount() const { return fRenderCount; }
    // How many times the elements were rendered.
    int ElementRenderCount() const;
    TZORDraw& Draw() { return *fDrw; }
    TZORBaseEditor& Editor() const { return fEditor; }
    TZOREditorPaint& Painter() const { return *fPaint; }
    // Scrolls so that the item's centre is in view.
    void EnsureItemVisible(const TZORBaseItem& item);
    // Scrolls towards the item (the label asks for its selection): half the way that centres it.
    void ScrollItem(const TZORBaseItem& item);
    // Mouse, keys, the typed-value box and the clipboard (Zor.EditorInput).
    TZOREditorInput& Input() const { return *fInput; }

    // --- The layers and text commands under the names a host calls (Zor.EditorNames.cpp) ---
    // The layers of the paint pass, each into a painter set up as the pass sets it up for that
    // layer: the grid in the page's coordinates, the others in surface pixels.
    void DrawGrid(QPainter& painter);
    void DrawAlignLines(QPainter& painter);
    void PaintRulers(QPainter& painter);
    void DrawSelPoints(QPainter& painter);
    // The caret position a click at x (surface pixels, on the line of the press) or at p gives
    // in the text under edit; 0 when no text is edited.
    int32_t CalcCursorPosFromClick(int x) const;
    int32_t CalcRichTextCursorPosFromClick(QPoint p) const;
    // The rich text's selection takes a font name or a size in millimetres (nothing without a
    // selection); the toolbar's button i acts; the font list pops up at the pointer.
    void ApplyFontNameToSelection(const QString& name);
    void ApplySizeToSelection(int32_t millimetres);
    void HandleToolbarClick(int i);
    void ShowFontCombo();

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;

private:
    struct TBarPosition {
        QScrollBar* bar;
        int value;
    };
    void Render();
    // The position of each bar that centres the item's centre on the surface.
    std::array<TBarPosition, 2> CentreOn(const TZORBaseItem& item) const;

    TZORBaseEditor& fEditor;
    TZOREditorState fState;
    QImage fImage;
    std::unique_ptr<TZORDraw> fDrw;
    std::unique_ptr<TZOREditorPaint> fPaint;
    int fRenderCount = 0;
    bool fOverlayDue = false;
    std::unique_ptr<TZOREditorInput> fInput;
};

// The label editor: the surface with the page, two scroll bars, the zoom, units, settings and
// rotate buttons and the ortho and snap indicators. It observes its label (kind 0) and sends
// mouse input to the label's tools.
class QUINDLE_WIDGETS_EXPORT TZORBaseEditor : public QFrame, public IZRObserver {
    Q_OBJECT

public:
    // The size a new editor asks for (in Designer, the size it is dropped at).
    static constexpr QSize DefaultSize { 400, 300 };

    explicit TZORBaseEditor(QWidget* parent = nullptr);
    ~TZORBaseEditor() override;
    QSize sizeHint() const override { return DefaultSize; }

    // --- The label ---
    TZORLabelVCL* GetLabel() const { return fBaseLab; }
    // Attaches to the label, leaving the one before; null detaches. The same label does nothing.
    void SetLabel(TZORLabelVCL* label);
    void UpdateCtrl(TZRChange change, const TZRChangeValue& value) override;
    TZRObserverKind TypeDest() const override { return TZRObserverKind::Editor; }
    // The label's drawing scale, at least 1; 1 without a label.
    int32_t DrawScale() const;
    TZORUnits Units() const;

    // Takes the other editor's label and settings: rulers, paper colour, label position, grid,
    // snap, pick gap, handle size, zoom, margin colour, options, mouse filter and reference
    // lines. Each editor keeps its own surface, scroll bars and option objects.
    void Assign(const TZORBaseEditor& source);

    // --- Published settings ---
    int GetGap() const { return fGap; }
    void SetGap(int g);
    int GetSizeRef() const { return fSizeRef; }
    void SetSizeRef(int s);
    int GetSizePoint() const { return fSizePoint; }
    void SetSizePoint(int s);
    int GetMargin() const { return fMargin; }
    void SetMargin(int m);
    zor::TColor GetMarginColor() const { return fMarginColor; }
    void SetMarginColor(zor::TColor c);
    zor::TColor GetBackColor() const { return fBackColor; }
    TZORZoom GetZoom() const { return fZoom; }
    void SetZoom(TZORZoom z);
    float GetZScale() const { return fBackEdit->G.ZScale; }
    TZORLabelPos GetLabelPos() const { return fLabelPos; }
    void SetLabelPos(TZORLabelPos p);
    uint16_t GetOptions() const { return fOptions; }
    void SetOptions(uint16_t o);
    uint16_t GetSnap() const { return fSnap; }
    void SetSnap(uint16_t s);
    bool GetOrtoLines() const { return fOrtoLines; }
    void SetOrtoLines(bool o);
    bool GetBorder() const { return frameShape() != QFrame::NoFrame; }
    void SetBorder(bool b);
    bool GetEnabledMouseFilter() const { return fMouseFilter; }
    void SetEnabledMouseFilter(bool e) { fMouseFilter = e; }
    bool GetShowRefLines() const { return fShowRefLines; }
    // The reference lines are drawn only while they are shown.
    void SetShowRefLines(bool s);
    // Keyboard move steps in the label's unit; 0 without a label.
    double GetMoveX() { return ReadMove(fMoveX); }
    double GetMoveY() { return ReadMove(fMoveY); }
    void SetMoveX(double v) { WriteMove(fMoveX, v); }
    void SetMoveY(double v) { WriteMove(fMoveY, v); }
    double MinMoveValue() const;
    double MaxMoveValue() const;

    TZORRulers& Rulers() { return *fRulers; }
    TZORGrid& Grid() { return *fGrid; }
    TZORSelColors& SelectionColors() { return *fSelColors; }

    // --- Children, for hosts and tests ---
    TZORBackEditor& Surface() const { return *fBackEdit; }
    QScrollBar& HorzScroll() const { return *fHorzScroll; }
    QScrollBar& VertScroll() const { return *fVertScroll; }
    QToolButton& ZoomButton() const { return *fEbZoom; }
    QToolButton& UnitsButton() const { return *fEbUnits; }
    QToolButton& SettingsButton() const { return *fEbSettings; }
    QToolButton& RotateButton() const { return *fEbRotate; }
    TZORInfoEd& OrtoIndicator() const { return *fInfoEdOrto; }
    TZORInfoEd& SnapIndicator() const { return *fInfoEdSnap; }
    QMenu& ZoomMenu() const { return *fPopZoom; }
    // In-place text editing and the rich-text bar.
    TZOREditorText& TextEditing() const { return *fText; }
    // A fixed resolution instead of the screen's (0 goes back to the screen's).
    void SetDPIOverride(int32_t dpi);
    int32_t DPIOverride() const { return fDPIOverride; }

    // --- Commands ---
    void IncZoom();
    void DecZoom();
    // Zooms one step in or out keeping the paper point under pos (surface pixels) in place.
    void ZoomAbout(bool in, QPoint pos);
    void ClickUnits();
    void EditSettings();
    void AlignSelectedLeft() { AlignSelected(1); }
    void AlignSelectedRight() { AlignSelected(2); }
    void AlignSelectedTop() { AlignSelected(3); }
    void AlignSelectedBottom() { AlignSelected(4); }
    void ScrollToItem(TZORBaseItem* item);
    // A side of the selection in the label's unit (kind 1 left, 2 right, 3 top, 4 bottom); -1
    // without a label or selection.
    float SizeSelection(int16_t kind) const;
    // The settings the dialog shows, and taking them back.
    TZOREditorSettings CurrentSettings();
    void ApplySettings(const TZOREditorSettings& s);

    // --- Tools (Zor.EditorTools.cpp) ---
    // An edition starts: the surface takes points (inserting) or typed text, and the keyboard.
    void IniEdition(bool inserting);
    // Asks for a library symbol for the symbol tool and makes it the label's current symbol;
    // false, with the tool reset, when none is chosen.
    bool SelectSymbol();
    // The category the symbol picker showed last.
    const QString& LastCat() const { return fLastCat; }

    // --- Painting ---
    void BeginUpdate();
    void EndUpdate();
    void DrawEditor();
    void UpdateRulers(bool full);
    void DrawLinkPointColor();
    // Lays the page out: fitted zoom, rulers, margins and totals.
    void CheckDScroll();

    TZORMouseEvent OnMouseDown;
    TZORMouseEvent OnMouseUp;
    TZORMouseMoveEvent OnMouseMove;

signals:
    // The label's tool changed, also when the editor ended it (Esc, the right button, a
    // finished element): a host's tool bar follows it.
    void ToolChanged(int action);

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    friend class TZORBackEditor;
    void AdjustCtrls();
    void CustomZoom();
    void ShowZoom();
    void ShowUnits();
    void PaperChanged(const TZRChangeValue& value);
    void ChangeScroll();
    void AlignSelected(int side);
    double ReadMove(int32_t& step);
    void WriteMove(int32_t& step, double v);
    int ScrollMetric() const;
    void LabelGone();
    void ApplyToolStep(const zor::TZORToolStep& step);
    void FillEditText();

    bool fIni = true;
    QPointer<TZORLabelVCL> fBaseLab;
    QMetaObject::Connection fLabelGone;
    TZORBackEditor* fBackEdit;
    QScrollBar* fHorzScroll;
    QScrollBar* fVertScroll;
    QToolButton* fEbZoom;
    QToolButton* fEbUnits;
    QToolButton* fEbSettings;
    QToolButton* fEbRotate;
    QMenu* fPopZoom;
    TZORInfoEd* fInfoEdOrto;
    TZORInfoEd* fInfoEdSnap;
    TZOREditorText* fText;
    std::unique_ptr<TZORRulers> fRulers;
    std::unique_ptr<TZORGrid> fGrid;
    std::unique_ptr<TZORSelColors> fSelColors;
    zor::TColor fBackColor { 0xFFFFFF };
    zor::TColor fMarginColor { 0xC0C0C0 };
    TZORLabelPos fLabelPos = TZORLabelPos::TopLeft;
    int32_t fMoveX = 1000;
    int32_t fMoveY = 1000;
    uint16_t fSnap = 0;
    bool fOrtoLines = false;
    TZORZoom fZoom = TZORZoom::zm100;
    int fMargin = 15;
    int fSizeRef = 6;
    int fSizePoint = 3;
    uint16_t fOptions = 0x00FF;
    int fGap = 8;
    bool fMouseFilter = false;
    bool fShowRefLines = false;
    int32_t fDPIOverride = 0;
    QString fLastCat;
};

// The editor with its settings as properties.
class QUINDLE_WIDGETS_EXPORT TZOREditor : public TZORBaseEditor {
    Q_OBJECT
    Q_PROPERTY(TZORLabelVCL* Quindle READ GetLabel WRITE SetLabel DESIGNABLE false)
    Q_PROPERTY(int Gap READ GetGap WRITE SetGap)
    Q_PROPERTY(int SizeRef READ GetSizeRef WRITE SetSizeRef)
    Q_PROPERTY(double MoveX READ GetMoveX WRITE SetMoveX)
    Q_PROPERTY(double MoveY READ GetMoveY WRITE SetMoveY)
    Q_PROPERTY(uint Snap READ GetSnapValue WRITE SetSnapValue)
    Q_PROPERTY(bool OrtoLines READ GetOrtoLines WRITE SetOrtoLines)
    Q_PROPERTY(int Margin READ GetMargin WRITE SetMargin)
    Q_PROPERTY(uint MarginColor READ GetMarginColorValue WRITE SetMarginColorValue)
    Q_PROPERTY(int Zoom READ GetZoomValue WRITE SetZoomValue)
    Q_PROPERTY(int LabelPosition READ GetLabelPosValue WRITE SetLabelPosValue)
    Q_PROPERTY(uint Options READ GetOptionsValue WRITE SetOptionsValue)
    Q_PROPERTY(bool BorderStyle READ GetBorder WRITE SetBorder)
    Q_PROPERTY(bool EnabledMouseFilter READ GetEnabledMouseFilter WRITE SetEnabledMouseFilter)
    Q_PROPERTY(bool ShowRefLines READ GetShowRefLines WRITE SetShowRefLines)

public:
    using TZORBaseEditor::TZORBaseEditor;

private:
    uint GetSnapValue() const { return GetSnap(); }
    void SetSnapValue(uint s) { SetSnap(uint16_t(s & 0x1FF)); }
    uint GetMarginColorValue() const { return uint(GetMarginColor()); }
    void SetMarginColorValue(uint c) { SetMarginColor(zor::TColor(c)); }
    int GetZoomValue() const { return int(GetZoom()); }
    void SetZoomValue(int z);
    int GetLabelPosValue() const { return int(GetLabelPos()); }
    void SetLabelPosValue(int p) { SetLabelPos(p == 1 ? TZORLabelPos::Center : TZORLabelPos::TopLeft); }
    uint GetOptionsValue() const { return GetOptions(); }
    void SetOptionsValue(uint o) { SetOptions(uint16_t(o & 0x0FFF)); }
};
