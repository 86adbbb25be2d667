#include "Zor.Text.h"

#include "Zor.Label.h"

using zor::Field;
using zor::TDraw2D;

// --- Text ---

TZORBaseText::TZORBaseText(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBaseText(aOwner, nullptr, aPreview)
{
}

TZORBaseText::TZORBaseText(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORTextItem(aOwner, aLayer, aPreview)
{
    IniText();
}

void TZORBaseText::IniText()
{
    fFontHeight = DefaultTextHeight;
    fScale = 1.0f;
}

const TZORFields<TZORBaseItem>& TZORBaseText::GetFields() const
{
    using T = TZORBaseText;
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &T::fText>("Text"),
              Field<TZORBaseItem, &T::fScale>("Scale"),
          }
        + TextFields() + TZORFields<TZORBaseItem> { Field<TZORBaseItem, &T::fWidthLimit>("WidthLimit") };
    return fields;
}

TZORRect TZORBaseText::TextBox(int32_t width) const
{
    const double scale = DrawScale();
    const double w = (double(std::max(width, 0)) + 2.0 * GetBasePadX()) * scale;
    const double h = (double(fMetrics.Height) + 2.0 * GetBasePadY()) * scale;
    const TZORPto& anchor = GetPoint(1);
    const QPointF corner
        = zor::DrawTxtPos(double(anchor.X), double(anchor.Y), 0.0, 0.0, w, h, fHorzAlign, fVertAlign, fAngle);
    QRectF box(corner, QSizeF(w, h));
    TDraw2D::Rotate(box, corner, fAngle);
    return { zor::Round(box.left()), zor::Round(box.top()), zor::Round(box.right()),
        zor::Round(box.bottom()) };
}

void TZORBaseText::UpdateBounds()
{
    if (!HasMetrics() || GetPointsCount() < 1) {
        TZORTextItem::UpdateBounds();
        return;
    }
    fBounds = TextBox(fTextWidth);
}

void TZORBaseText::AfterRead()
{
    SetScale(fScale);
    SetWidthLimit(fWidthLimit);
    TZORTextItem::AfterRead();
}

// --- Paragraph ---

TZORBasePara::TZORBasePara(TZORBaseLabel* aOwner, bool aPreview)
    : TZORBasePara(aOwner, nullptr, aPreview)
{
}

TZORBasePara::TZORBasePara(TZORBaseLabel* aOwner, TZORLayer* aLayer, bool aPreview)
    : TZORTextItem(aOwner, aLayer, aPreview)
{
    IniPara();
}

void TZORBasePara::IniPara()
{
    fFontHeight = DefaultParaHeight;
    fScaleX = 1.0f;
}

TZORFields<TZORBaseItem> TZORBasePara::BoxFields()
{
    using P = TZORBasePara;
    return TextFields()
        + TZORFields<TZORBaseItem> {
              Field<TZORBaseItem, &P::fScaleX>("ScaleX"),
              Field<TZORBaseItem, &P::fGrow>("Grow"),
              Field<TZORBaseItem, &P::fShrink>("Shrink"),
          };
}

const TZORFields<TZORBaseItem>& TZORBasePara::GetFields() const
{
    static const TZORFields<TZORBaseItem> fields = FigureFields() + FontFields()
        + TZORFields<TZORBaseItem> { Field<TZORBaseItem, &TZORBasePara::fText>("Text") } + BoxFields();
    return fields;
}

namespace {

bool Upright(TZORAngle a)
{
    return (zor::Ord(a) & 1) == 0;
}

} // namespace

int64_t TZORBasePara::LineWidth() const
{
    return Upright(fAngle) ? BaseScaleWidth() - 2 * int64_t { GetBasePadX() }
                           : BaseScaleHeight() - 2 * int64_t { GetBasePadY() };
}

int64_t TZORBasePara::LinesHeight() const
{
    return Upright(fAngle) ? BaseScaleHeight() - 2 * int64_t { GetBasePadY() }
                           : BaseScaleWidth() - 2 * int64_t { GetBasePadX() };
}

int64_t TZORBasePara::GrowHeight() const
{
    const int64_t scale = DrawScale();
    const int64_t padX = 2 * int64_t { GetBasePadX() }, padY = 2 * int64_t { GetBasePadY() };
    const TZORMeasure* m = GetOwner() ? &GetOwner()->Measure() : nullptr;
    const int64_t labelW = m ? m->GetSize(TZORSizeKind::LabelWidth) : 0;
    const int64_t labelH = m ? m->GetSize(TZORSizeKind::LabelHeight) : 0;
    switch (fAngle) {
    case TZORAngle::Angle90:
        return labelW - GetPoint(1).X / scale - padX;
    case TZORAngle::Angle180:
        return GetPoint(2).Y / scale - padY;
    case TZORAngle::Angle270:
        return GetPoint(2).X / scale - padX;
    case TZORAngle::Angle0:
        break;
    }
    return labelH - GetPoint(1).Y / scale - padY;
}

void TZORBasePara::AfterRead()
{
    SetScaleX(fScaleX);
    TZORTextItem::AfterRead();
}
