#include "Zor.Selcolor.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"

#include <QGridLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScopedValueRollback>
#include <QSpinBox>
#include <QTimer>

#include <algorithm>

using zor::TAlphaColor;

namespace {

constexpr int CheckerSide = 6;

} // namespace

namespace zor {

TAlphaColor WithAlpha(TAlphaColor c, int alpha)
{
    return TAlphaColor { (Ord(c) & 0x00FFFFFFu) | (uint32_t(std::clamp(alpha, 0, 255)) << 24) };
}

} // namespace zor

TZORColorSwatch::TZORColorSwatch(QWidget* parent)
    : QWidget(parent)
{
    setCursor(Qt::PointingHandCursor);
}

void TZORColorSwatch::SetColor(TAlphaColor c)
{
    fColor = c;
    update();
}

void TZORColorSwatch::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // A checkerboard under the colour shows how transparent it is.
    for (int y = 0; y < height(); y += CheckerSide)
        for (int x = 0; x < width(); x += CheckerSide)
            painter.fillRect(x, y, CheckerSide, CheckerSide,
                ((x + y) / CheckerSide) % 2 ? QColor(Qt::white) : QColor(Qt::lightGray));
    painter.fillRect(rect(), QColor::fromRgba(zor::Ord(fColor)));
}

void TZORColorSwatch::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        emit Clicked();
}

TfSelColor::TfSelColor(QWidget* parent)
    : QDialog(parent)
    , paintColor(new TZORColorSwatch(this))
    , seAlpha(new QSpinBox(this))
{
    setObjectName(QStringLiteral("TfSelColor"));
    paintColor->setObjectName(QStringLiteral("paintColor"));
    paintColor->setFixedSize(104, 40);
    seAlpha->setObjectName(QStringLiteral("seAlpha"));
    seAlpha->setRange(0, 255);
    seAlpha->setValue(255);
    auto* labAlpha = new QLabel(this);
    labAlpha->setObjectName(QStringLiteral("labAlpha"));
    labAlpha->setBuddy(seAlpha);
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(paintColor, &TZORColorSwatch::Clicked, this, &TfSelColor::PickColor);
    connect(seAlpha, &QSpinBox::valueChanged, this, &TfSelColor::seAlphaChange);
    auto* layout = new QGridLayout(this);
    layout->addWidget(paintColor, 0, 0, 2, 1);
    layout->addWidget(labAlpha, 0, 1);
    layout->addWidget(seAlpha, 1, 1);
    layout->addWidget(buttons, 2, 0, 1, 2);
    resize(216, 96);
}

void TfSelColor::FillLanguage()
{
    setWindowTitle(zor::FormCaption(TZORMsg::GetPropValue(QStringLiteral("Color"))));
    findChild<QLabel*>(QStringLiteral("labAlpha"))->setText(TZORMsg::GetPropValue(QStringLiteral("Alpha")));
    zor::FillOkCancel(*this);
}

void TfSelColor::Ini(TAlphaColor color)
{
    FillLanguage();
    const QScopedValueRollback intro(fIntro, true);
    fColor = color;
    seAlpha->setValue(int(zor::Ord(color) >> 24));
    paintColor->SetColor(fColor);
}

void TfSelColor::PickColor()
{
    const std::optional<QColor> chosen = zor::DialogService().Color(
        this, QColor::fromRgb(zor::Ord(fColor) & 0x00FFFFFFu), windowTitle().trimmed(), false);
    if (!chosen)
        return;
    fColor = zor::WithAlpha(TAlphaColor { uint32_t(chosen->rgb()) }, seAlpha->value());
    paintColor->SetColor(fColor);
}

void TfSelColor::seAlphaChange(int alpha)
{
    if (fIntro)
        return;
    fColor = zor::WithAlpha(fColor, alpha);
    paintColor->SetColor(fColor);
}

void TfSelColor::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!fShown) {
        fShown = true;
        QTimer::singleShot(0, this, &TfSelColor::PickColor);
    }
}
