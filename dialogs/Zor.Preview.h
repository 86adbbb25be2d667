#pragma once

#include "Zor.Observer.h"
#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"
#include "label/Zor.Vcl.h"

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointer>

#include <cstdint>
#include <memory>

class TZORDraw;

// How the preview fits the page: whole page in the window, or the page's width (scrolling down).
enum class TZORViewType : uint8_t { WholePage = 0, PageWidth = 1 };

// Which scroll bars the preview may show.
enum class TZORScrollStyle : uint8_t { None = 0, Horizontal = 1, Vertical = 2, Both = 3 };

namespace zor {

// Where the page lies in a preview of a client area: the page's size and top left corner in
// content pixels, the scrollable content and the zoom (screen pixels of the page per pixel of
// the paper at the screen's resolution). Empty (zoom 0) when there is nothing to show: no label,
// a client area too small for the margins, or a paper too small to show a pixel of.
struct QUINDLE_WIDGETS_EXPORT TPreviewLayout {
    int32_t pageWidth = 0;
    int32_t pageHeight = 0;
    int32_t left = 0;
    int32_t top = 0;
    int32_t contentWidth = 0;
    int32_t contentHeight = 0;
    double zoom = 0.0;

    bool IsEmpty() const { return zoom <= 0.0; }
    bool operator==(const TPreviewLayout&) const = default;
};

// The layout of a paper of paperWidth x paperHeight screen pixels (at 100 %) in a client area,
// with margin pixels free around the page.
QUINDLE_WIDGETS_EXPORT TPreviewLayout PreviewLayout(
    double paperWidth, double paperHeight, QSize client, int32_t margin, TZORViewType viewType);

} // namespace zor

// A control that shows the current page of a label's print run as it will come out of the
// printer: the paper, every label position the page fills (on the first page from the run's
// first row and column, up to its last label), each with its layer background and its printable
// elements on printable layers, with the data of its own record. It draws into an off-screen
// image and paints that, fits the whole page or the page width, and scrolls with its bars and the
// wheel. It attaches to its label as an observer of kind 2 and redraws when the label changes.
class QUINDLE_WIDGETS_EXPORT TZORBasePreview : public QAbstractScrollArea, public IZRObserver {
    Q_OBJECT

public:
    // The size a new preview asks for (in Designer, the size it is dropped at).
    static constexpr QSize DefaultSize { 320, 240 };

    explicit TZORBasePreview(QWidget* parent = nullptr);
    ~TZORBasePreview() override;
    QSize sizeHint() const override { return DefaultSize; }

    TZORLabelVCL* GetLabel() const { return fBaseLab; }
    // Attaches to the label (detaching from the one before); null detaches. The same label
    // again does nothing.
    void SetLabel(TZORLabelVCL* label);
    TZORViewType GetViewType() const { return fViewType; }
    void SetViewType(TZORViewType viewType);
    zor::TColor GetBackColor() const { return fBackColor; }
    void SetBackColor(zor::TColor c);
    // The colour shown when there is no page to show.
    zor::TColor GetColor() const { return fColor; }
    void SetColor(zor::TColor c);
    int32_t GetMargin() const { return fMargin; }
    void SetMargin(int32_t m);
    TZORScrollStyle GetScrollBars() const { return fScrollBars; }
    void SetScrollBars(TZORScrollStyle s);
    bool GetBorder() const { return frameShape() != QFrame::NoFrame; }
    void SetBorder(bool b);

    const zor::TPreviewLayout& Layout() const { return fLayout; }
    int32_t ContentWidth() const { return fLayout.contentWidth; }
    int32_t ContentHeight() const { return fLayout.contentHeight; }
    // Screen pixels per unit of the label's length unit at the current zoom.
    double FX() const;
    double FY() const;
    // The page's top left corner in window pixels.
    int32_t DMX() const;
    int32_t DMY() const;
    int32_t HorzScrollPos() const;
    int32_t VertScrollPos() const;
    // The off-screen image the window paints.
    const QImage& BackSurf() const { return fBackSurf; }

    // Lays the page out anew and redraws it (the label changed).
    void UpdatePreview();
    // Redraws the page and repaints (the page of the run changed).
    void Draw();

    void UpdateCtrl(TZRChange change, const TZRChangeValue& value) override;
    TZRObserverKind TypeDest() const override { return TZRObserverKind::Preview; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void Resize();
    void AdjustSizes();
    void UpdateScrollBars();
    void DrawPage();
    QSize Client() const;
    double PixelsPerUnit(int32_t dpi) const;
    zor::TPreviewLayout LayoutFor(QSize client) const;

    QPointer<TZORLabelVCL> fBaseLab;
    QMetaObject::Connection fLabelGone;
    bool fReady = false;
    QImage fBackSurf;
    std::unique_ptr<TZORDraw> fDrw;
    zor::TColor fBackColor { 0x808080 };
    zor::TColor fColor;
    TZORScrollStyle fScrollBars = TZORScrollStyle::Both;
    TZORViewType fViewType = TZORViewType::WholePage;
    int32_t fDPIX = 96;
    int32_t fDPIY = 96;
    int32_t fMargin = 10;
    zor::TPreviewLayout fLayout;
};

// The preview control with its settings as properties.
class QUINDLE_WIDGETS_EXPORT TZORPreview : public TZORBasePreview {
    Q_OBJECT
    Q_PROPERTY(TZORLabelVCL* Quindle READ GetLabel WRITE SetLabel DESIGNABLE false)
    Q_PROPERTY(int ViewType READ GetViewTypeValue WRITE SetViewTypeValue)
    Q_PROPERTY(bool BorderStyle READ GetBorder WRITE SetBorder)
    Q_PROPERTY(uint BackColor READ GetBackColorValue WRITE SetBackColorValue)
    Q_PROPERTY(uint Color READ GetColorValue WRITE SetColorValue)
    Q_PROPERTY(int Margin READ GetMargin WRITE SetMargin)

public:
    using TZORBasePreview::TZORBasePreview;

private:
    int GetViewTypeValue() const { return int(GetViewType()); }
    void SetViewTypeValue(int v) { SetViewType(v == 1 ? TZORViewType::PageWidth : TZORViewType::WholePage); }
    uint GetBackColorValue() const { return uint(GetBackColor()); }
    void SetBackColorValue(uint c) { SetBackColor(zor::TColor(c)); }
    uint GetColorValue() const { return uint(GetColor()); }
    void SetColorValue(uint c) { SetColor(zor::TColor(c)); }
};
