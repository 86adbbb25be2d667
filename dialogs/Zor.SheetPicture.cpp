#include "Zor.SheetPicture.h"

#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace {

constexpr int Border = 4;
const QColor Outside(160, 160, 160);
const QColor BeforeFirst(255, 255, 204); // light yellow
const QColor FromFirst(204, 255, 255); // light cyan

constexpr double MaxPixels = 1e6; // far beyond the picture; keeps sums of lengths within int

int Scaled(int64_t length, double factor)
{
    return int(std::lround(std::clamp(double(length) * factor, -MaxPixels, MaxPixels)));
}

} // namespace

namespace zor {

std::optional<TSheetPixels> SheetPixels(const TZORSheet& s, int roomWidth, int roomHeight)
{
    if (s.paperWidth <= 0 || s.paperHeight <= 0 || roomWidth <= 0 || roomHeight <= 0)
        return std::nullopt;
    TSheetPixels p;
    if (double(s.paperWidth) / double(s.paperHeight) <= double(roomWidth) / double(roomHeight)) {
        p.paperHeight = roomHeight;
        p.paperWidth = Scaled(s.paperWidth, double(roomHeight) / double(s.paperHeight));
    } else {
        p.paperWidth = roomWidth;
        p.paperHeight = Scaled(s.paperHeight, double(roomWidth) / double(s.paperWidth));
    }
    p.x0 = (roomWidth - p.paperWidth) / 2 + Border;
    p.y0 = (roomHeight - p.paperHeight) / 2 + Border;
    const double fx = double(p.paperWidth) / double(s.paperWidth);
    const double fy = double(p.paperHeight) / double(s.paperHeight);
    p.labelWidth = Scaled(s.labelWidth, fx);
    p.labelHeight = Scaled(s.labelHeight, fy);
    p.marginLeft = Scaled(s.marginLeft, fx);
    p.marginTop = Scaled(s.marginTop, fy);
    p.gapX = Scaled(s.gapX, fx);
    p.gapY = Scaled(s.gapY, fy);
    return p;
}

} // namespace zor

TZORSheetPicture::TZORSheetPicture(QWidget* parent)
    : QWidget(parent)
    , fBmp(PictureWidth, PictureHeight, QImage::Format_ARGB32_Premultiplied)
{
    setObjectName(QStringLiteral("paintLab"));
    setFixedSize(PictureWidth, PictureHeight);
    setMouseTracking(true);
    Draw();
}

void TZORSheetPicture::SetSheet(const TZORSheet& sheet)
{
    fSheet = sheet;
    fPixels = zor::SheetPixels(sheet, PictureWidth - 2 * Border, PictureHeight - 2 * Border);
    Draw();
}

void TZORSheetPicture::Draw()
{
    fBmp.fill(Outside);
    if (fPixels) {
        const zor::TSheetPixels& p = *fPixels;
        QPainter painter(&fBmp);
        painter.fillRect(p.x0, p.y0, p.paperWidth, p.paperHeight, Qt::white);
        painter.setPen(QPen(Qt::black, 1, Qt::SolidLine, Qt::SquareCap));
        bool reached = false;
        for (int32_t r = 0; r < fSheet.rows; ++r)
            for (int32_t c = 0; c < fSheet.columns; ++c) {
                reached = reached || (c + 1 >= fSheet.firstCol && r + 1 >= fSheet.firstRow);
                const QRect cell(p.x0 + p.marginLeft + c * (p.labelWidth + p.gapX),
                    p.y0 + p.marginTop + r * (p.labelHeight + p.gapY), p.labelWidth, p.labelHeight);
                painter.fillRect(cell, reached ? FromFirst : BeforeFirst);
                painter.drawRect(cell);
            }
    }
    update();
}

std::optional<std::pair<int32_t, int32_t>> TZORSheetPicture::LabelAt(QPoint at) const
{
    if (!fPixels)
        return std::nullopt;
    const zor::TSheetPixels& p = *fPixels;
    const int pitchX = p.labelWidth + p.gapX;
    const int pitchY = p.labelHeight + p.gapY;
    const int x = at.x() - p.x0 - p.marginLeft;
    const int y = at.y() - p.y0 - p.marginTop;
    if (pitchX <= 0 || pitchY <= 0 || x < 0 || y < 0 || x >= fSheet.columns * pitchX || y >= fSheet.rows * pitchY)
        return std::nullopt;
    return std::make_pair(int32_t(y / pitchY + 1), int32_t(x / pitchX + 1));
}

void TZORSheetPicture::paintEvent(QPaintEvent*)
{
    QPainter(this).drawImage(0, 0, fBmp);
}

void TZORSheetPicture::mousePressEvent(QMouseEvent* event)
{
    if (const auto label = LabelAt(event->position().toPoint()))
        emit FirstChosen(label->first, label->second);
}

void TZORSheetPicture::mouseMoveEvent(QMouseEvent* event)
{
    setCursor(LabelAt(event->position().toPoint()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}
