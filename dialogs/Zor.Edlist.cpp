#include "Zor.Edlist.h"

#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.Selcolor.h"
#include "Zor.Spinfloat.h"
#include "label/Zor.Vcl.h"

#include <QComboBox>
#include <QFontDatabase>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QToolButton>
#include <QVBoxLayout>

using zor::TAlphaColor;

TfEdList::TfEdList(QWidget* parent)
    : QDialog(parent)
    , listColumns(new QListWidget(this))
    , butAdd(new QPushButton(this))
    , butDelete(new QPushButton(this))
    , SBUp(new QToolButton(this))
    , SBDown(new QToolButton(this))
{
    listColumns->setObjectName(QStringLiteral("listColumns"));
    butAdd->setObjectName(QStringLiteral("butAdd"));
    butDelete->setObjectName(QStringLiteral("butDelete"));
    SBUp->setObjectName(QStringLiteral("SBUp"));
    SBDown->setObjectName(QStringLiteral("SBDown"));
    SBUp->setArrowType(Qt::UpArrow);
    SBDown->setArrowType(Qt::DownArrow);
    butAdd->setAutoDefault(false);
    butDelete->setAutoDefault(false);
    connect(butAdd, &QPushButton::clicked, this, &TfEdList::butAddClick);
    connect(butDelete, &QPushButton::clicked, this, &TfEdList::butDeleteClick);
    connect(SBUp, &QToolButton::clicked, this, &TfEdList::SBUpClick);
    connect(SBDown, &QToolButton::clicked, this, &TfEdList::SBDownClick);
    connect(listColumns, &QListWidget::currentRowChanged, this, [this] {
        if (fIntro)
            return;
        AdjustUpDown();
        ShowPart();
    });
    auto* insert = new QShortcut(QKeySequence(Qt::Key_Insert), this);
    connect(insert, &QShortcut::activated, this, &TfEdList::butAddClick);
}

TfEdList::~TfEdList()
{
    EndStep();
}

QHBoxLayout* TfEdList::LayOutList()
{
    auto* left = new QVBoxLayout;
    left->addWidget(listColumns);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(butAdd);
    buttons->addWidget(butDelete);
    buttons->addWidget(SBUp);
    buttons->addWidget(SBDown);
    left->addLayout(buttons);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(left);
    return layout;
}

void TfEdList::LayOut(QWidget* editor)
{
    LayOutList()->addWidget(editor, 1);
}

void TfEdList::LayOut(QLayout* editor)
{
    LayOutList()->addLayout(editor, 1);
}

void TfEdList::done(int result)
{
    EndStep();
    QDialog::done(result);
}

void TfEdList::EndStep()
{
    if (fStepOpen && fLabel)
        fLabel->EndUndoStep();
    fStepOpen = false;
}

void TfEdList::Ini(TZORLabelVCL& label)
{
    fLabel = &label;
    {
        const QScopedValueRollback intro(fIntro, true);
        FillLanguage();
        FillFonts();
        FillFields();
    }
    Start(label);
}

void TfEdList::Start(TZORLabelVCL& label)
{
    EndStep();
    fLabel = &label;
    label.BeginUndoStep();
    fStepOpen = true;
    {
        const QScopedValueRollback intro(fIntro, true);
        listColumns->clear();
        for (int32_t i = 1; i <= PartCount(); ++i)
            listColumns->addItem(PartText(i));
        listColumns->setCurrentRow(PartCount() > 0 ? 0 : -1);
    }
    AdjustUpDown();
    if (PartCount() == 0)
        butAddClick();
    else
        ShowPart();
}

int32_t TfEdList::Current() const
{
    const int row = listColumns->currentRow();
    return row >= 0 && row < PartCount() ? row + 1 : 0;
}

void TfEdList::Change(const std::function<void()>& edit)
{
    if (fIntro || !fLabel || Current() == 0)
        return;
    zor::ChangeLabel(*fLabel, edit);
}

void TfEdList::ShowPart()
{
    const int32_t i = Current();
    if (i == 0 || !fLabel)
        return;
    const QScopedValueRollback intro(fIntro, true);
    LoadPart(i);
}

void TfEdList::AdjustUpDown()
{
    const int count = listColumns->count();
    const int row = listColumns->currentRow();
    SBUp->setEnabled(count > 0 && row > 0);
    SBDown->setEnabled(count > 0 && row >= 0 && row < count - 1);
    butDelete->setEnabled(row >= 0 && (count > 1 || CanRemoveLast()));
}

void TfEdList::SetLineText(const QString& text)
{
    if (QListWidgetItem* line = listColumns->currentItem())
        line->setText(text);
}

void TfEdList::butAddClick()
{
    if (!fLabel)
        return;
    const std::optional<QString> name = zor::AskNewName(this, AddKey(), [](const QString&) { return false; });
    if (!name)
        return;
    {
        const QScopedValueRollback intro(fIntro, true);
        zor::ChangeLabel(*fLabel, [&] { AddPart(*name); });
        listColumns->addItem(PartText(PartCount()));
        listColumns->setCurrentRow(listColumns->count() - 1);
    }
    ShowPart();
    AdjustUpDown();
}

void TfEdList::butDeleteClick()
{
    const int32_t i = Current();
    if (i == 0 || (PartCount() == 1 && !CanRemoveLast()))
        return;
    {
        const QScopedValueRollback intro(fIntro, true);
        zor::ChangeLabel(*fLabel, [&] { RemovePart(i); });
        delete listColumns->takeItem(i - 1);
        listColumns->setCurrentRow(listColumns->count() > 0 ? 0 : -1);
    }
    AdjustUpDown();
    ShowPart();
}

void TfEdList::SBUpClick()
{
    Move(-1);
}

void TfEdList::SBDownClick()
{
    Move(1);
}

void TfEdList::Move(int by)
{
    const int32_t i = Current();
    const int32_t j = i + by;
    if (i == 0 || j < 1 || j > PartCount())
        return;
    {
        const QScopedValueRollback intro(fIntro, true);
        zor::ChangeLabel(*fLabel, [&] { ExchangeParts(i, j); });
        QListWidgetItem* a = listColumns->item(i - 1);
        QListWidgetItem* b = listColumns->item(j - 1);
        const QString text = a->text();
        a->setText(b->text());
        b->setText(text);
        listColumns->setCurrentRow(j - 1);
    }
    ShowPart();
    AdjustUpDown();
}

QComboBox* TfEdList::FontBox(QWidget* parent, const char* name)
{
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    fFontBoxes << box;
    return box;
}

void TfEdList::FillFonts()
{
    QStringList fonts;
    if (!fLabel || !fLabel->GetFontList(this, fonts))
        fonts = QFontDatabase::families();
    const QScopedValueRollback intro(fIntro, true);
    for (QComboBox* box : fFontBoxes) {
        box->clear();
        box->addItems(fonts);
    }
}

TZORSpinEditFloat* TfEdList::Spin(QWidget* parent, const char* name, double step, double min, double max)
{
    auto* spin = new TZORSpinEditFloat(parent);
    spin->setObjectName(QString::fromLatin1(name));
    spin->SetDigits(2);
    spin->SetIncrement(step);
    spin->SetMinValue(min);
    spin->SetMaxValue(max);
    return spin;
}

QToolButton* TfEdList::Toggle(QWidget* parent, const char* name, const QString& text)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setText(text);
    button->setCheckable(true);
    return button;
}

TZORColorSwatch* TfEdList::Swatch(QWidget* parent, const char* name)
{
    auto* swatch = new TZORColorSwatch(parent);
    swatch->setObjectName(QString::fromLatin1(name));
    swatch->setFixedSize(40, 20);
    return swatch;
}

TZORFontControls TfEdList::FontControls(QWidget* parent, const TZORFontNames& names)
{
    TZORFontControls c;
    c.Font = FontBox(parent, names.Font);
    c.Height = Spin(parent, names.Height, 0.1);
    c.Color = Swatch(parent, names.Color);
    c.Bold = Toggle(parent, names.Bold, QStringLiteral("B"));
    c.Italic = Toggle(parent, names.Italic, QStringLiteral("I"));
    c.Underline = Toggle(parent, names.Underline, QStringLiteral("U"));
    return c;
}

void TfEdList::WireSwatch(TZORColorSwatch* swatch, const std::function<void(TAlphaColor)>& write)
{
    connect(swatch, &TZORColorSwatch::Clicked, this, [this, swatch, write] {
        if (fIntro || Current() == 0)
            return;
        const std::optional<QColor> chosen = zor::DialogService().Color(
            this, QColor::fromRgba(zor::Ord(swatch->GetColor())), windowTitle(), false);
        if (!chosen)
            return;
        const TAlphaColor colour { chosen->rgba() };
        swatch->SetColor(colour);
        Change([&] { write(colour); });
    });
}

void TfEdList::WireFontBase(const TZORFontControls& c, const std::function<void(const QString&)>& font,
    const std::function<void(float)>& height, const std::function<void(TAlphaColor)>& color,
    const std::function<void(int, bool)>& style)
{
    connect(c.Font, &QComboBox::currentTextChanged, this,
        [this, font](const QString& f) { Change([&] { font(f); }); });
    TZORSpinEditFloat* spin = c.Height;
    connect(spin, &QLineEdit::textChanged, this,
        [this, spin, height] { Change([&] { height(float(spin->GetValue())); }); });
    WireSwatch(c.Color, color);
    const QToolButton* buttons[] = { c.Bold, c.Italic, c.Underline };
    for (int which = 0; which < 3; ++which)
        connect(buttons[which], &QToolButton::toggled, this,
            [this, which, style](bool on) { Change([&] { style(which, on); }); });
}

void TfEdList::LoadFontBase(const TZORFontControls& c, const QString& font, float height, TAlphaColor color,
    bool bold, bool italic, bool underline)
{
    c.Font->setCurrentIndex(c.Font->findText(font));
    c.Height->SetValue(double(height));
    c.Color->SetColor(color);
    c.Bold->setChecked(bold);
    c.Italic->setChecked(italic);
    c.Underline->setChecked(underline);
}
