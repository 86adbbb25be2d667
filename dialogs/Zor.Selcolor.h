#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QWidget>

class QSpinBox;

// A swatch that shows a colour with its alpha over a checkerboard and reports a click.
class QUINDLE_WIDGETS_EXPORT TZORColorSwatch : public QWidget {
    Q_OBJECT

public:
    explicit TZORColorSwatch(QWidget* parent = nullptr);
    void SetColor(zor::TAlphaColor c);
    zor::TAlphaColor GetColor() const { return fColor; }

signals:
    void Clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    zor::TAlphaColor fColor = zor::claBlack;
};

// The colour picker of the layers dialog: the platform's colour dialog for the colour, and an
// alpha value of its own. When shown it opens the colour dialog at once; a click on the swatch
// opens it again. fColor holds the colour chosen, with its alpha.
class QUINDLE_WIDGETS_EXPORT TfSelColor : public QDialog {
    Q_OBJECT

public:
    explicit TfSelColor(QWidget* parent = nullptr);

    void Ini(zor::TAlphaColor color);
    void FillLanguage();
    // The colour dialog on fColor; a colour confirmed there keeps the alpha of seAlpha.
    void PickColor();
    void seAlphaChange(int alpha);

    zor::TAlphaColor fColor = zor::claBlack;

protected:
    void showEvent(QShowEvent* event) override;

private:
    TZORColorSwatch* paintColor;
    QSpinBox* seAlpha;
    bool fIntro = false;
    bool fShown = false;
};

namespace zor {

// c with its alpha byte replaced.
QUINDLE_WIDGETS_EXPORT TAlphaColor WithAlpha(TAlphaColor c, int alpha);

} // namespace zor
