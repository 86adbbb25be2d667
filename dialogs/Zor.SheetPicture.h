#pragma once

#include "dialogs/Zor.WidgetsExport.h"

#include <QImage>
#include <QWidget>

#include <cstdint>
#include <optional>
#include <utility>

// A sheet of labels as the set-up dialog shows it: lengths in micrometres, first row and
// column from 1.
struct QUINDLE_WIDGETS_EXPORT TZORSheet {
    int64_t paperWidth = 0;
    int64_t paperHeight = 0;
    int64_t labelWidth = 0;
    int64_t labelHeight = 0;
    int64_t marginLeft = 0;
    int64_t marginTop = 0;
    int64_t gapX = 0; // between columns
    int64_t gapY = 0; // between rows
    int32_t rows = 1;
    int32_t columns = 1;
    int32_t firstRow = 1;
    int32_t firstCol = 1;
};

namespace zor {

// The sheet scaled into a picture, in pixels: the paper fitted into the room (the picture less
// 4 pixels on each side) and centred, the other lengths scaled with it and rounded.
struct QUINDLE_WIDGETS_EXPORT TSheetPixels {
    int paperWidth = 0;
    int paperHeight = 0;
    int x0 = 0; // the paper's corner
    int y0 = 0;
    int marginLeft = 0;
    int marginTop = 0;
    int labelWidth = 0;
    int labelHeight = 0;
    int gapX = 0;
    int gapY = 0;
};

// Nothing for a paper without width or height, which cannot be fitted.
QUINDLE_WIDGETS_EXPORT std::optional<TSheetPixels> SheetPixels(
    const TZORSheet& sheet, int roomWidth, int roomHeight);

} // namespace zor

// The picture of a sheet: grey around a white paper, the labels before the first one to print
// light yellow and the others light cyan, each outlined in black. A press on a label chooses it
// as the first label to print.
class QUINDLE_WIDGETS_EXPORT TZORSheetPicture : public QWidget {
    Q_OBJECT

public:
    static constexpr int PictureWidth = 290;
    static constexpr int PictureHeight = 362;

    explicit TZORSheetPicture(QWidget* parent = nullptr);

    // Draws the sheet anew.
    void SetSheet(const TZORSheet& sheet);
    const QImage& Image() const { return fBmp; }
    // The label (row, column from 1) under a point of the picture; nothing outside the labels.
    std::optional<std::pair<int32_t, int32_t>> LabelAt(QPoint at) const;

signals:
    void FirstChosen(int32_t row, int32_t column);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Draw();

    TZORSheet fSheet;
    std::optional<zor::TSheetPixels> fPixels;
    QImage fBmp;
};
