#include "Zor.PaperBox.h"

#include "Zor.Forms.h"
#include "Zor.LengthEdit.h"
#include "Zor.Measure.h"
#include "Zor.Msg.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QRadioButton>

#include <utility>

namespace {

using zor::Prop;

// Runs f with the flag set, restoring it afterwards.
template <class F> void Quietly(bool& flag, F&& f)
{
    const bool was = std::exchange(flag, true);
    f();
    flag = was;
}

} // namespace

TZORPaperBox::TZORPaperBox(QWidget* parent)
    : QGroupBox(parent)
    , cbPapers(new QComboBox(this))
    , sePaperWidth(new TZORLengthEdit(this))
    , sePaperHeight(new TZORLengthEdit(this))
    , labPaperWidth(new QLabel(this))
    , labPaperHeight(new QLabel(this))
    , RaBuVer(new QRadioButton(this))
    , RaBuHor(new QRadioButton(this))
{
    setObjectName(QStringLiteral("gbPaper"));
    cbPapers->setObjectName(QStringLiteral("cbPapers"));
    sePaperWidth->setObjectName(QStringLiteral("sePaperWidth"));
    sePaperHeight->setObjectName(QStringLiteral("sePaperHeight"));
    RaBuVer->setObjectName(QStringLiteral("RaBuVer"));
    RaBuHor->setObjectName(QStringLiteral("RaBuHor"));
    labPaperWidth->setBuddy(sePaperWidth);
    labPaperHeight->setBuddy(sePaperHeight);
    for (const TZORPaper& paper : ZOrPapers)
        cbPapers->addItem(QString::fromLatin1(paper.name));
    RaBuVer->setChecked(true);

    auto* grid = new QGridLayout(this);
    grid->addWidget(cbPapers, 0, 0, 1, 2);
    grid->addWidget(labPaperWidth, 1, 0);
    grid->addWidget(sePaperWidth, 1, 1);
    grid->addWidget(labPaperHeight, 2, 0);
    grid->addWidget(sePaperHeight, 2, 1);
    grid->addWidget(RaBuVer, 3, 0);
    grid->addWidget(RaBuHor, 3, 1);

    connect(cbPapers, &QComboBox::currentIndexChanged, this, &TZORPaperBox::cbPapersChange);
    connect(RaBuHor, &QRadioButton::toggled, this, &TZORPaperBox::RaBuHorToggled);
    connect(sePaperWidth, &QLineEdit::textChanged, this, &TZORPaperBox::SizeChanged);
    connect(sePaperHeight, &QLineEdit::textChanged, this, &TZORPaperBox::SizeChanged);
}

void TZORPaperBox::FillLanguage(const QString& title)
{
    setTitle(title);
    labPaperWidth->setText(zor::Prop("Width"));
    labPaperHeight->setText(zor::Prop("Height"));
    RaBuVer->setText(zor::Prop("Vertical"));
    RaBuHor->setText(zor::Prop("Horizontal"));
}

void TZORPaperBox::Ini(
    TZORUnits units, const QString& paperName, int64_t width, int64_t height, bool landscape)
{
    Quietly(fIntro, [&] {
        sePaperWidth->SetUnits(units);
        sePaperHeight->SetUnits(units);
        sePaperWidth->SetLength(width);
        sePaperHeight->SetLength(height);
        (landscape ? RaBuHor : RaBuVer)->setChecked(true);
        cbPapers->setCurrentIndex(ZOrPaperIndex(paperName));
    });
    CheckPapers();
}

int TZORPaperBox::GetPaperIndex() const
{
    return cbPapers->currentIndex() < 0 ? ZOrPapersUser : cbPapers->currentIndex();
}

void TZORPaperBox::SelectPaper(int index)
{
    Quietly(fIntro, [&] { cbPapers->setCurrentIndex(index); });
    CheckPapers();
}

bool TZORPaperBox::GetLandscape() const
{
    return RaBuHor->isChecked();
}

int64_t TZORPaperBox::GetPaperWidth() const
{
    return sePaperWidth->GetLength();
}

int64_t TZORPaperBox::GetPaperHeight() const
{
    return sePaperHeight->GetLength();
}

void TZORPaperBox::SetPaperSize(int64_t width, int64_t height)
{
    Quietly(fIntro, [&] {
        if (sePaperWidth->GetLength() != width)
            sePaperWidth->SetLength(width);
        if (sePaperHeight->GetLength() != height)
            sePaperHeight->SetLength(height);
    });
}

void TZORPaperBox::CheckPapers()
{
    const bool user = GetPaperIndex() == ZOrPapersUser;
    // A caption goes with its edit: no Alt+letter leads to a size that cannot be typed.
    for (QWidget* w :
        std::initializer_list<QWidget*> { sePaperWidth, sePaperHeight, labPaperWidth, labPaperHeight })
        w->setEnabled(user);
}

void TZORPaperBox::cbPapersChange()
{
    if (fIntro)
        return;
    CheckPapers();
    const int index = GetPaperIndex();
    if (index != ZOrPapersUser) {
        const TZORPaper& paper = ZOrPapers[size_t(index)];
        const bool turned = GetLandscape();
        SetPaperSize(turned ? paper.height : paper.width, turned ? paper.width : paper.height);
    }
    emit Changed();
}

void TZORPaperBox::RaBuHorToggled()
{
    if (fIntro)
        return;
    SetPaperSize(GetPaperHeight(), GetPaperWidth());
    emit Changed();
}

void TZORPaperBox::SizeChanged()
{
    if (!fIntro)
        emit Changed();
}
