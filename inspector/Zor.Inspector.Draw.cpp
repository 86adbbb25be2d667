// Drawing of the rows, their values by slot kind, the buttons and the caret editor.

#include "Zor.Inspector.Draw.h"

#include "Zor.Inspector.h"
#include "label/Zor.Vcl.h"

#include <QLocale>
#include <QPainter>
#include <QPainterPath>
#include <QScrollBar>

#include <cmath>

using zor::InsListSources;
using zor::TJsonObject;

namespace zor {

QString LocaleFixedText(const QString& pattern, double v)
{
    const qsizetype dot = pattern.indexOf(QLatin1Char('.'));
    const int decimals = dot < 0 ? 0 : int(pattern.size() - dot - 1);
    return QLocale().toString(v, 'f', decimals);
}

void DrawLineEnd(QPainter& p, const QRectF& cell, int value, const QColor& pen, const QColor& brush)
{
    const double s = cell.height() - 4;
    const double cx = cell.x() + cell.width() / 2;
    const double y = cell.y();
    const QRectF box(cx - s / 2, y + 2, s, s);
    p.save();
    p.setPen(QPen(pen, 1));
    p.setBrush(Qt::NoBrush);
    const QPolygonF triangle { QPointF(cx, y + 2), QPointF(cx - s / 2, y + s), QPointF(cx + s / 2, y + s) };
    const QPolygonF diamond { QPointF(cx, y + 1), QPointF(cx - s / 2, y + s / 2 + 1), QPointF(cx, y + s),
        QPointF(cx + s / 2, y + s / 2 + 1) };
    const bool filled = value == 2 || value == 4 || value == 6 || value == 8;
    if (filled)
        p.setBrush(brush);
    switch (value) {
    case 1:
    case 2:
        p.drawEllipse(box);
        break;
    case 3:
        p.drawLine(triangle[0], triangle[1]);
        p.drawLine(triangle[0], triangle[2]);
        break;
    case 4:
        p.drawPolygon(triangle);
        break;
    case 5:
    case 6:
        p.drawRect(box);
        break;
    case 7:
    case 8:
        p.drawPolygon(diamond);
        break;
    case 9:
    case 11:
        p.drawLine(QPointF(cx - s / 2, y + 2), QPointF(cx + s / 2, y + s));
        if (value == 9)
            break;
        [[fallthrough]];
    case 10:
        p.drawLine(QPointF(cx + s / 2, y + 2), QPointF(cx - s / 2, y + s));
        break;
    default:
        break;
    }
    p.restore();
}

void DrawFieldEntry(QPainter& p, const QRect& r, int source, const QString& entry)
{
    const QChar mark = entry.isEmpty() ? QChar() : entry.front();
    const QString rest = entry.mid(1);
    const int h = r.height();
    const QRect textAfter(r.left() + h + 4, r.top(), r.width() - h - 4, h);
    const QRect whole(r.left() + 6, r.top(), r.width() - 6, h);
    const bool fieldList = source == 9 || source == 12 || source == 13 || source == 14;
    if (fieldList && (mark == u'@' || mark == u'{' || mark == u'~' || mark == u'=')) {
        const QRect badge(r.left() + 2, r.top() + 1, h - 2, h - 2);
        if (mark == u'@') {
            p.drawEllipse(badge);
            p.drawText(badge, Qt::AlignCenter, QStringLiteral("1"));
        } else {
            const QString sign = mark == u'{' ? QStringLiteral("{ }")
                : mark == u'~'                ? QStringLiteral("[ ]")
                                              : QStringLiteral("=");
            p.drawText(badge, Qt::AlignCenter, sign);
        }
        p.drawText(textAfter, Qt::AlignVCenter | Qt::AlignLeft, rest);
        return;
    }
    const bool strip = (source == 10 && (mark == u'[' || mark == u'6'))
        || (source == 15 && (mark == u'¬' || mark == u':'));
    p.drawText(whole, Qt::AlignVCenter | Qt::AlignLeft, strip ? rest : entry);
}

} // namespace zor

TZORListDelegate::TZORListDelegate(TZORBaseInspector& owner)
    : QStyledItemDelegate(&owner)
    , fOwner(owner)
{
}

void TZORListDelegate::paint(QPainter* p, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const bool drawn = fSource == 5 || fSource == 9 || fSource == 10 || (fSource >= 12 && fSource <= 15);
    if (!drawn) {
        QStyledItemDelegate::paint(p, option, index);
        return;
    }
    const bool selected = option.state & (QStyle::State_Selected | QStyle::State_HasFocus);
    p->save();
    p->fillRect(option.rect, selected ? fOwner.SelColor : fOwner.EditColor);
    p->setPen(selected ? fOwner.SelTextColor : fOwner.ValueColor);
    const TZORLabelVCL* label = fOwner.GetLabel();
    if (fSource == 5 && label)
        zor::DrawLineEnd(*p, QRectF(option.rect), index.row(),
            QColor::fromRgba(zor::Ord(label->Settings().GetTermColor())),
            QColor::fromRgba(zor::Ord(label->Settings().GetFillTermColor())));
    else if (fSource != 5)
        zor::DrawFieldEntry(*p, option.rect, fSource, index.data().toString());
    p->restore();
}

namespace {

// Horizontal and vertical alignment glyphs: pairs of points, in 96-dpi pixels from the button's
// corner.
struct TGlyphLine {
    int x1, y1, x2, y2;
};
const std::vector<TGlyphLine> HorzGlyph[3] = {
    { { 4, 4, 18, 4 }, { 4, 10, 12, 10 }, { 4, 16, 18, 16 } },
    { { 4, 4, 18, 4 }, { 8, 10, 14, 10 }, { 4, 16, 18, 16 } },
    { { 4, 4, 18, 4 }, { 10, 10, 18, 10 }, { 4, 16, 18, 16 } },
};
const std::vector<TGlyphLine> VertGlyph[3] = {
    { { 4, 4, 18, 4 }, { 4, 8, 18, 8 } },
    { { 4, 8, 18, 8 }, { 4, 12, 18, 12 } },
    { { 4, 12, 18, 12 }, { 4, 16, 18, 16 } },
};

} // namespace

int TZORBaseInspector::ClientWidth() const
{
    return width() - (ScrollBarShown() ? fScroll->width() : 0);
}

void TZORBaseInspector::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.fillRect(rect(), BackColor);
    int top = 0;
    for (int r = fTopIndex; r < fJsonA.Count(); ++r) {
        const TJsonObject row = Row(r);
        const int h = zor::ScalePos(row.I("H", 0), fDPIY);
        if (top + h > height())
            break;
        DrawRow(p, row, top);
        top += h;
    }
    if (fEdit.Active)
        DrawEditor(p);
}

void TZORBaseInspector::DrawRow(QPainter& p, const TJsonObject& row, int top)
{
    QFont title = font();
    title.setPixelSize(zor::ScalePos(10, fDPIY));
    title.setBold(true);
    QFont value = font();
    value.setPixelSize(zor::ScalePos(11, fDPIY));
    Qt::Alignment align = Qt::AlignLeft;
    for (int k = 1; k <= row.I("N", 0); ++k) {
        const int col = row.I(K("C", k), 0);
        const int prop = row.I(K("Prop", k), 0);
        const int t = row.I(K("T", k), -1);
        if (t >= 0) {
            const int at = row.I(K("AT", k), 0);
            if (at == 0 || at == 1)
                align = at == 0 ? Qt::AlignLeft : Qt::AlignHCenter;
            p.setFont(title);
            p.setPen(TitleColor);
            const QRectF cell(fLeftGap + zor::XPosTitle(col, fSize24), top + t, zor::WidthTitle(col, fSize24),
                zor::ScalePos(14, fDPIY));
            p.drawText(cell, int(align | Qt::AlignVCenter),
                p.fontMetrics().elidedText(
                    row.S(K("Name", k), QString()), Qt::ElideRight, int(cell.width())));
        }
        p.setFont(value);
        const QRectF cell(zor::XPosCtrl(col, prop, fSize24), top + row.I(K("TV", k), 0),
            zor::WidthCtrl(col, prop, fSize24), zor::HeightCtrl(prop, fDPIY));
        DrawValue(p, row, k, cell, top);
    }
    const int h = zor::ScalePos(row.I("H", 0), fDPIY);
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.drawLine(2, top + h - 2, ClientWidth() - 2, top + h - 2);
}

void TZORBaseInspector::DrawValue(QPainter& p, const TJsonObject& row, int k, const QRectF& cell, int top)
{
    const QString valueKey = K("Value", k);
    const int t = std::max(0, row.I(K("T", k), 0));
    const int w = ClientWidth();
    const QRectF dots(w - zor::ScalePos(22, fDPIX) - zor::ScalePos(2, fDPIX), top + t + 2,
        zor::ScalePos(22, fDPIX), zor::ScalePos(20, fDPIX));
    const auto text = [&](const QString& s, Qt::Alignment a, const QRectF& r) {
        p.setPen(ValueColor);
        p.drawText(
            r, int(a | Qt::AlignVCenter), p.fontMetrics().elidedText(s, Qt::ElideRight, int(r.width())));
    };
    switch (TZORInsProp(row.I(K("Prop", k), 0))) {
    case TZORInsProp::Text:
    case TZORInsProp::BarText:
        text(row.S(valueKey, QString()), Qt::AlignLeft, cell);
        break;
    case TZORInsProp::Float:
        text(zor::LocaleFixedText(row.S(K("F", k), QString()), row.F(valueKey, 0)), Qt::AlignHCenter, cell);
        break;
    case TZORInsProp::FormatInt:
        text(zor::LocaleFixedText(row.S(K("F", k), QString()), double(row.L(valueKey, 0))), Qt::AlignHCenter,
            cell);
        break;
    case TZORInsProp::Integer:
        text(QString::number(row.L(valueKey, 0)), Qt::AlignHCenter, cell);
        break;
    case TZORInsProp::Color:
        p.fillRect(cell, QColor::fromRgba(uint32_t(row.L(valueKey, 0))));
        break;
    case TZORInsProp::Check: {
        p.fillRect(cell, BackColor);
        p.setPen(CheckBorder);
        p.drawRect(cell.adjusted(0, 0, -1, -1));
        if (row.B(valueKey, false)) {
            p.setPen(QPen(CheckLine, 2));
            const double x = cell.x(), y = cell.y(), cw = cell.width(), ch = cell.height();
            p.drawLine(QPointF(x + 2, y + ch / 2), QPointF(x + 6, y + ch - 2));
            p.drawLine(QPointF(x + 6, y + ch - 2), QPointF(x + cw - 3, y + 2));
        }
        break;
    }
    case TZORInsProp::ImagePath: {
        const bool map = fOptions & OptMapButton;
        QRectF r = cell;
        r.setRight(dots.left() - (map ? dots.width() + 4 : 0) - 2);
        text(row.S(valueKey, QString()), Qt::AlignLeft, r);
        if (map)
            DrawButton(p,
                QRectF(w - 2 * zor::ScalePos(22, fDPIX) - 4 * zor::ScalePos(2, fDPIX), top + t + 2,
                    zor::ScalePos(22, fDPIX) + zor::ScalePos(2, fDPIX), zor::ScalePos(20, fDPIX)),
                QStringLiteral("M"));
        DrawButton(p, dots, QStringLiteral("..."));
        break;
    }
    case TZORInsProp::List: {
        const int source = row.I(K("List", k), -1);
        if (source == 5 && fBaseLab) {
            const QRectF box(
                cell.x(), cell.y(), cell.width(), zor::HeightCtrl(int(TZORInsProp::Check), fDPIY));
            zor::DrawLineEnd(p, box, row.I(valueKey, 0),
                QColor::fromRgba(zor::Ord(fBaseLab->Settings().GetTermColor())),
                QColor::fromRgba(zor::Ord(fBaseLab->Settings().GetFillTermColor())));
        } else {
            text(ListText(source, row, k), Qt::AlignLeft, cell);
        }
        break;
    }
    case TZORInsProp::Memo: {
        QRectF r = cell;
        r.setRight(dots.left() - 2);
        text(row.S(valueKey, QString()).section(QLatin1Char('\n'), 0, 0), Qt::AlignLeft, r);
        DrawButton(p, dots, QStringLiteral("..."));
        break;
    }
    case TZORInsProp::Table:
    case TZORInsProp::PolyText: {
        // Centred in the row, above its separator.
        const int h = zor::ScalePos(row.I("H", 0), fDPIY);
        DrawButton(p, QRectF(dots.x(), top + (h - 2 - dots.height()) / 2, dots.width(), dots.height()),
            QStringLiteral("..."));
        break;
    }
    case TZORInsProp::Align:
    case TZORInsProp::Align2:
        DrawAlignButtons(p, row, k, top);
        break;
    }
}

void TZORBaseInspector::DrawButton(QPainter& p, const QRectF& r, const QString& caption)
{
    p.setPen(QColor(0x80, 0x80, 0x80));
    p.setBrush(ButColor);
    p.drawRect(r);
    p.setBrush(Qt::NoBrush);
    p.setPen(CapButColor);
    p.drawText(r, Qt::AlignCenter, caption);
}

QRectF TZORBaseInspector::AlignButton(const TJsonObject& row, int k, int top, int group, int i) const
{
    const int b = zor::ScalePos(22, fDPIX);
    const int t = row.I(K("T", k), 0) + 2;
    const bool two = row.I(K("Prop", k), 0) == int(TZORInsProp::Align2);
    const int g
        = two ? zor::ScalePos((108 - fRightGap) / 8, fDPIX) : zor::ScalePos((174 - fRightGap) / 4, fDPIX);
    const double x0 = group == 0 ? g : 5 * g + 3 * b;
    return QRectF(x0 + i * (b + g), top + std::max(t, 2), b, zor::ScalePos(20, fDPIX));
}

void TZORBaseInspector::DrawAlignButtons(QPainter& p, const TJsonObject& row, int k, int top)
{
    const bool two = row.I(K("Prop", k), 0) == int(TZORInsProp::Align2);
    for (int group = 0; group < (two ? 2 : 1); ++group) {
        const int pressed = row.I(group == 0 ? "Value1" : "Value2", -1);
        for (int i = 0; i < 3; ++i) {
            const QRectF r = AlignButton(row, k, top, group, i);
            p.setPen(QColor(0x80, 0x80, 0x80));
            p.setBrush(i == pressed ? ButPresColor : ButColor);
            p.drawRect(r);
            p.setBrush(Qt::NoBrush);
            p.setPen(QPen(i == pressed ? CapButPresColor : CapButColor, 1));
            for (const TGlyphLine& l : (group == 0 ? HorzGlyph : VertGlyph)[i])
                p.drawLine(QPointF(r.x() + zor::ScalePos(l.x1, fDPIX), r.y() + zor::ScalePos(l.y1, fDPIX)),
                    QPointF(r.x() + zor::ScalePos(l.x2, fDPIX), r.y() + zor::ScalePos(l.y2, fDPIX)));
        }
    }
}

QString TZORBaseInspector::ListText(int source, const TJsonObject& row, int k) const
{
    const QString valueKey = K("Value", k);
    if (!zor::IsIndexList(source))
        return source >= 0 && source < InsListSources ? row.S(valueKey, QString()) : QString();
    const int index = row.I(valueKey, -1);
    if (source == 0 || source == 23) {
        const QStringList names = fBaseLab ? zor::ListEntries(*fBaseLab, source, nullptr) : QStringList();
        return index >= 0 && index < names.size() ? names[index] : QString();
    }
    return zor::ItemList(source, index);
}

void TZORBaseInspector::DrawEditor(QPainter& p)
{
    const QRect box(fEdit.X, fEdit.Y, fEdit.W, fEdit.H);
    p.fillRect(box, fEdit.SelectAll ? SelColor : EditColor);
    p.setPen(fEdit.SelectAll ? SelTextColor : ValueColor);
    const QRect textBox = box.adjusted(2, 0, -2, 0);
    p.drawText(textBox, Qt::AlignVCenter | Qt::AlignLeft, fEdit.Text);
    const int caret = fEdit.SelectAll ? int(fEdit.Text.size()) : fEdit.Caret;
    const int x = box.x() + 2 + p.fontMetrics().horizontalAdvance(fEdit.Text.left(caret));
    p.setPen(QColor(255, 0, 0));
    p.drawLine(x + 1, box.y() + 2, x + 1, box.bottom() - 2);
    if (fEdit.Kind == 2 || fEdit.Kind == 3) {
        const int w = fEdit.W, h = fEdit.H, X = fEdit.X, Y = fEdit.Y;
        p.setPen(ArrowColor);
        p.setBrush(ArrowColor);
        p.drawPolygon(QPolygon { QPoint(X + w - h / 4 - 2, Y + 2), QPoint(X + w - 2, Y + h / 2 - 2),
            QPoint(X + w - h / 2 - 2, Y + h / 2 - 2) });
        p.drawPolygon(QPolygon { QPoint(X + w - h / 4 - 2, Y + h - 2), QPoint(X + w - 2, Y + h / 2 + 2),
            QPoint(X + w - h / 2 - 2, Y + h / 2 + 2) });
        p.setBrush(Qt::NoBrush);
    }
}
