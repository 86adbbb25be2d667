#include "Zor.Drawing.h"

#include "Zor.DialogService.h"
#include "Zor.Format.h"
#include "Zor.Forms.h"
#include "Zor.LengthEdit.h"
#include "Zor.Mnemonics.h"
#include "Zor.Msg.h"
#include "Zor.PaperBox.h"
#include "Zor.Spinfloat.h"
#include "Zor.Utils.h"
#include "label/Zor.Vcl.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

using zor::Dialogs;
using zor::Named;
using zor::Prop;

// The title-block texts: object name, caption key (a property text when prop), the member.
struct TTitleRow {
    const char* edit;
    const char* key;
    bool prop;
    QString TZORMeasure::*member;
};
constexpr TTitleRow TitleRows[] = {
    { "edTitle", "Title", true, &TZORMeasure::fTitle },
    { "edAuthor", "Author", false, &TZORMeasure::fAuthor },
    { "edDate", "Date", false, &TZORMeasure::fDate },
    { "edPromoter", "Promoter", false, &TZORMeasure::fPromoter },
    { "edProject", "Project", false, &TZORMeasure::fProject },
};

// A length of the paper at a scale, in the label's unit as the area shows it: "29,700.00 mm".
QString AreaLength(int64_t micrometres, int64_t scale, TZORUnits units)
{
    return zor::FormatFloat(QStringLiteral("#,##0.00 "), zor::GetValue(micrometres, units) * double(scale))
        + zor::UnitSymbol(units);
}

} // namespace

TfDrawing::TfDrawing(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TfDrawing"));
    auto* page = zor::Named(new QGroupBox(this), "TabDimension");
    auto* grid = new QGridLayout(page);
    const auto caption = [page](const char* name, QWidget* buddy) {
        auto* label = zor::Named(new QLabel(page), name);
        label->setBuddy(buddy);
        return label;
    };
    edName = zor::Named(new QLineEdit(page), "edName");
    grid->addWidget(caption("labName", edName), 0, 0);
    grid->addWidget(edName, 0, 1, 1, 3);
    gbPaper = new TZORPaperBox(page);
    grid->addWidget(gbPaper, 1, 0, 4, 2);
    seScale = zor::Named(new TZORSpinEditFloat(page), "seScale");
    seScale->SetDigits(0);
    seScale->SetIncrement(1);
    seScale->SetMinValue(1);
    seScale->SetMaxValue(MaxScale);
    seScale->SetValInt64(1);
    labScale = caption("labScale", seScale);
    grid->addWidget(labScale, 1, 2);
    grid->addWidget(seScale, 1, 3);
    labDrawArea = zor::Named(new QLabel(page), "labDrawArea");
    grid->addWidget(labDrawArea, 2, 2, 1, 2);
    QLineEdit** edits[] = { &edTitle, &edAuthor, &edDate, &edPromoter, &edProject };
    int row = 5;
    for (size_t i = 0; i < std::size(TitleRows); ++i) {
        *edits[i] = zor::Named(new QLineEdit(page), TitleRows[i].edit);
        grid->addWidget(caption(TitleRows[i].key, *edits[i]), row, 0);
        grid->addWidget(*edits[i], row++, 1, 1, 3);
    }
    memNote = zor::Named(new QPlainTextEdit(page), "memNote");
    memNote->setTabChangesFocus(true);
    grid->addWidget(caption("labNote", memNote), row, 0, Qt::AlignTop);
    grid->addWidget(memNote, row, 1, 1, 3);

    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(page);
    layout->addWidget(buttons);

    connect(gbPaper, &TZORPaperBox::Changed, this, &TfDrawing::ShowDrawArea);
    connect(seScale, &QLineEdit::textChanged, this, [this] {
        if (!fIntro)
            ShowDrawArea();
    });
    resize(584, 371);
}

void TfDrawing::FillLanguage()
{
    setWindowTitle(zor::FormCaption(zor::Prop("Drawing")));
    const auto text = [this](const char* name, const QString& t) {
        findChild<QLabel*>(QString::fromLatin1(name))->setText(t);
    };
    text("labName", zor::Prop("DrawingName"));
    text("labScale", zor::Prop("DrawingScale"));
    text("labNote", zor::Prop("Note"));
    for (const TTitleRow& r : TitleRows)
        text(r.key, r.prop ? zor::Prop(r.key) : zor::Dialogs(r.key));
    const QString unit
        = fLabel ? zor::UnitSymbol(fLabel->GetUnits()) : zor::UnitSymbol(TZORUnits::Millimetre);
    gbPaper->FillLanguage(zor::Prop("PaperSize") + QStringLiteral(" (") + unit + QLatin1Char(')'));
    findChild<QGroupBox*>(QStringLiteral("TabDimension"))->setTitle(zor::Prop("Dimensions"));
    zor::FillOkCancel(*this);
    zor::AssignMnemonics(*this);
}

void TfDrawing::Ini(TZORLabelVCL& label)
{
    fLabel = &label;
    fIntro = true;
    FillLanguage();
    const TZORMeasure& m = label.Measure();
    edName->setText(m.GetLabelName());
    QLineEdit* edits[] = { edTitle, edAuthor, edDate, edPromoter, edProject };
    for (size_t i = 0; i < std::size(TitleRows); ++i)
        edits[i]->setText(m.*TitleRows[i].member);
    memNote->setPlainText(m.fNote);
    gbPaper->Ini(label.GetUnits(), m.GetPaperName(), m.GetSize(TZORSizeKind::PaperWidth),
        m.GetSize(TZORSizeKind::PaperHeight), !label.PrintInfo().GetByRows());
    const bool scaled = label.GetEditorMode() != 1;
    for (QWidget* w : std::initializer_list<QWidget*> { labScale, seScale, labDrawArea })
        w->setVisible(scaled);
    if (scaled)
        seScale->SetValInt64(m.GetDrawScale());
    fIntro = false;
    ShowDrawArea();
}

TZORDrawingSetup TfDrawing::GetValues() const
{
    TZORDrawingSetup v;
    v.name = edName->text();
    v.byColumns = gbPaper->GetLandscape();
    v.scale = seScale->CheckValue(seScale->GetValInt64());
    v.paperWidth = gbPaper->GetPaperWidth();
    v.paperHeight = gbPaper->GetPaperHeight();
    v.paperIndex = gbPaper->GetPaperIndex();
    v.title = edTitle->text();
    v.author = edAuthor->text();
    v.date = edDate->text();
    v.promoter = edPromoter->text();
    v.project = edProject->text();
    v.note = memNote->toPlainText();
    return v;
}

void TfDrawing::ShowDrawArea()
{
    if (!fLabel || fIntro || fLabel->GetEditorMode() == 1)
        return;
    const int64_t scale = seScale->CheckValue(seScale->GetValInt64());
    const TZORUnits units = fLabel->GetUnits();
    labDrawArea->setText(zor::Dialogs("DrawingArea") + QStringLiteral(": ")
        + AreaLength(gbPaper->GetPaperHeight(), scale, units) + QStringLiteral(" x ")
        + AreaLength(gbPaper->GetPaperWidth(), scale, units));
}
