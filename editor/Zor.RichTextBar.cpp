#include "Zor.RichTextBar.h"

#include "Zor.EditorText.h"
#include "Zor.Msg.h"
#include "Zor.Text.h"
#include "Zor.Vcl.Editor.h"
#include "dialogs/Zor.DialogService.h"

#include <QComboBox>
#include <QCursor>
#include <QFontDatabase>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QToolButton>

#include <algorithm>

using zor::TAlphaColor;

namespace {

constexpr std::array<const char*, 10> Captions
    = { "...", "B", "I", "U", "aBc", "Size", "Clr", "L", "C", "R" };
constexpr std::array<const char*, 10> Names = { "RichMore", "RichBold", "RichItalic", "RichUnderline",
    "RichFont", "RichSize", "RichColor", "RichLeft", "RichCentre", "RichRight" };
constexpr std::array<const char*, 3> Styles = { "B", "I", "U" };
constexpr int FirstSize = 4;
constexpr int LastSize = 15;

} // namespace

TZORRichTextBar::TZORRichTextBar(TZORBaseEditor& editor, TZOREditorText& text)
    : QWidget(&editor)
    , fEditor(editor)
    , fText(text)
    , fSizeMenu(new QMenu(this))
    , fFontPopup(new QWidget(this, Qt::Popup))
    , fFontCombo(new QComboBox(fFontPopup))
{
    setObjectName(QStringLiteral("RichTextBar"));
    setFixedSize(BarWidth, BarHeight);
    for (int i = 0; i < int(fButtons.size()); ++i) {
        auto* b = new QToolButton(this);
        b->setObjectName(QString::fromLatin1(Names[size_t(i)]));
        b->setText(QString::fromLatin1(Captions[size_t(i)]));
        b->setFocusPolicy(Qt::NoFocus);
        b->setGeometry(4 + 30 * i, 4, 26, 22);
        b->setCheckable(i >= 1 && i <= 3);
        QFont f = b->font();
        f.setPixelSize(11);
        f.setBold(i == 1);
        f.setItalic(i == 2);
        f.setUnderline(i == 3);
        b->setFont(f);
        connect(b, &QToolButton::clicked, this, [this, i] { Clicked(i); });
        fButtons[size_t(i)] = b;
    }
    for (int mm = FirstSize; mm <= LastSize; ++mm)
        fSizeMenu->addAction(QStringLiteral("%1 mm").arg(mm))->setData(mm);
    fFontPopup->setObjectName(QStringLiteral("RichFontPopup"));
    auto* layout = new QHBoxLayout(fFontPopup);
    layout->setContentsMargins(4, 4, 4, 4);
    fFontCombo->setObjectName(QStringLiteral("RichFontCombo"));
    fFontCombo->setEditable(true);
    fFontCombo->setInsertPolicy(QComboBox::NoInsert);
    fFontCombo->setFixedWidth(200);
    layout->addWidget(fFontCombo);
    connect(fFontCombo, &QComboBox::textActivated, this, &TZORRichTextBar::FontChosen);
    hide();
}

void TZORRichTextBar::Place(bool shown)
{
    const TZORBaseRichText* rich = fText.RichText();
    if (!shown || !rich) {
        hide();
        return;
    }
    for (int i = 1; i <= 3; ++i)
        fButtons[size_t(i)]->setChecked(fText.StyleActive(QLatin1StringView(Styles[size_t(i - 1)])));
    // Above the element, else below it; within the surface.
    const TZORBackEditor& s = fEditor.Surface();
    const TZORRect b = rich->GetBounds().Normalized();
    int x = s.G.ScreenMMX(b.Left);
    int y = s.G.ScreenMMY(b.Top) - BarHeight - 4;
    x = std::max(0, std::min(x, s.width() - BarWidth));
    if (y < 0)
        y = s.G.ScreenMMY(b.Bottom) + 4;
    y = std::max(0, std::min(y, s.height() - BarHeight));
    const QPoint at = s.geometry().topLeft() + QPoint(x, y);
    if (pos() != at)
        move(at);
    raise();
    show();
}

void TZORRichTextBar::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0xC0, 0xC0, 0xC0), 1));
    p.setBrush(QColor(0xF0, 0xF0, 0xF0));
    p.drawRoundedRect(QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
}

void TZORRichTextBar::Clicked(int i)
{
    TZORLabelVCL* label = fEditor.GetLabel();
    if (!label || !fText.RichText())
        return;
    const bool selection = fText.SelStart() != fText.SelEnd();
    switch (i) {
    case 0:
        label->DoDblClick();
        break;
    case 1:
    case 2:
    case 3:
        fText.ToggleStyle(QLatin1StringView(Styles[size_t(i - 1)]));
        break;
    case 4:
        if (selection)
            ShowFonts();
        else
            label->DoDblClick();
        break;
    case 5:
        if (selection)
            ChooseSize();
        break;
    case 6:
        if (selection)
            ChooseColor();
        break;
    default:
        fText.ApplyAlignment(uint8_t(i - 7));
        break;
    }
    fText.PlaceBar();
}

void TZORRichTextBar::ShowFonts()
{
    QStringList fonts;
    TZORLabelVCL* label = fEditor.GetLabel();
    if (!label || !label->GetFontList(&fEditor.Surface(), fonts))
        fonts = QFontDatabase::families();
    fFontCombo->clear();
    fFontCombo->addItems(fonts);
    fFontCombo->setCurrentIndex(fonts.isEmpty() ? -1 : 0);
    fFontPopup->adjustSize();
    fFontPopup->move(QCursor::pos());
    fFontPopup->show();
    fFontCombo->setFocus();
}

void TZORRichTextBar::FontChosen(const QString& name)
{
    if (name.trimmed().isEmpty())
        return;
    fFontPopup->hide();
    fText.ApplyFontName(name);
    fText.PlaceBar();
}

void TZORRichTextBar::ChooseSize()
{
    if (QAction* a = zor::DialogService().Popup(*fSizeMenu, QCursor::pos()))
        fText.ApplySize(a->data().toInt());
}

void TZORRichTextBar::ChooseColor()
{
    const TAlphaColor now = fText.ColorAtSelection();
    const std::optional<QColor> c
        = zor::DialogService().Color(this, QColor::fromRgb(uint32_t(now) | 0xFF000000u),
            TZORMsg::GetDialogsValue(QStringLiteral("Color")), false);
    if (c)
        fText.ApplyColor(TAlphaColor { 0xFF000000u | (c->rgb() & 0xFFFFFFu) });
}
