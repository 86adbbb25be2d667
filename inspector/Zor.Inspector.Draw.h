#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QString>
#include <QStyledItemDelegate>

class QColor;
class TZORBaseInspector;
class QPainter;
class QRect;
class QRectF;

namespace zor {

// A number in the fixed-decimals form of a format pattern ("0.00": two decimals), in the
// user's locale.
QUINDLE_WIDGETS_EXPORT QString LocaleFixedText(const QString& pattern, double v);
// Line-end shape `value` (1 to 11) centred in a cell, as rows and the drop-down list show it.
QUINDLE_WIDGETS_EXPORT void DrawLineEnd(
    QPainter& p, const QRectF& cell, int value, const QColor& pen, const QColor& brush);
// An entry of a list of field names: a mark in front ("@" a counter) is drawn as its sign.
QUINDLE_WIDGETS_EXPORT void DrawFieldEntry(QPainter& p, const QRect& r, int source, const QString& entry);

} // namespace zor

// The entries of the inspector's drop-down list: line-end shapes (source 5) and marked field
// names (sources 9, 10, 12 to 15) are drawn by the inspector, the others by the style.
class QUINDLE_WIDGETS_EXPORT TZORListDelegate : public QStyledItemDelegate {
public:
    explicit TZORListDelegate(TZORBaseInspector& owner);
    void SetSource(int source) { fSource = source; }
    void paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    TZORBaseInspector& fOwner;
    int fSource = -1;
};
