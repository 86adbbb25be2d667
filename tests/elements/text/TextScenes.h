#pragma once

#include "../RenderHarness.h"
#include "elements/text/Zor.Vcl.Text.h"

#include <QImage>
#include <QRect>
#include <QRectF>
#include <QString>

#include <functional>

// Text elements placed on a scene in paper millimetres, an editor pass with an editing state,
// and the measures the text tests take of their pictures.
namespace zor::test {

inline constexpr int Dpi = 300;
inline constexpr TAlphaColor Black { 0xFF000000 };
inline constexpr TAlphaColor White { 0xFFFFFFFF };

// Fonts every machine of the project has (fontconfig gives Liberation Sans for "Arial").
inline const QString Sans = QStringLiteral("Arial");

TZORText& AddText(TScene& scene, double xmm, double ymm, const QString& text, float heightMM = 5.0f);
TZORParagraph& AddParagraph(TScene& scene, const QRectF& mm, const QString& text, float heightMM = 3.0f);
TZORRichText& AddRichText(TScene& scene, const QRectF& mm, const QString& markup, float heightMM = 3.0f);

// An editor pass with the editing state set by `edit` (caret, edit text, focus, selection).
QImage EditorRender(const TScene& scene, int dpi, const std::function<void(TZORDraw&)>& edit);

// An element edited in place by the editor's tool `action`: selected, and the tool given to the
// drawing context of each editor pass.
struct TEditing {
    TEditing(TZORBaseItem& item, int32_t action);
    void To(TZORDraw& D) const { D.aAction = Action; }
    int32_t Action;
};

// The device rectangle of paper millimetres from the label's origin.
QRectF DeviceRect(int dpi, const QRectF& mm);

// Pixels of about `colour` in `region` (each channel within `tolerance`).
int CountColour(const QImage& image, const QColor& colour, int tolerance = 40, QRect region = {});
// The bounds of those pixels; null when there is none.
QRect ColourBounds(const QImage& image, const QColor& colour, int tolerance = 40);

} // namespace zor::test
