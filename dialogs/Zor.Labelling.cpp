#include "Zor.Labelling.h"

#include "Zor.DataPage.h"
#include "Zor.DialogService.h"
#include "Zor.Forms.h"
#include "Zor.LengthEdit.h"
#include "Zor.Measure.h"
#include "Zor.Mnemonics.h"
#include "Zor.Msg.h"
#include "Zor.PaperBox.h"
#include "Zor.SheetPicture.h"
#include "Zor.Spinfloat.h"
#include "Zor.Utils.h"
#include "label/Zor.Vcl.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr double MarginMin = -10;
constexpr double MarginMax = 100;
constexpr double MaxCount = std::numeric_limits<int32_t>::max();
constexpr double MaxCounterNumber = 999'999'999'999'999; // whole numbers a double holds exactly

using zor::Dialogs;
using zor::Named;
using zor::Prop;

// A whole-number spin edit from min to max.
TZORSpinEditFloat* WholeEdit(QWidget* parent, const char* name, double min, double max)
{
    auto* edit = zor::Named(new TZORSpinEditFloat(parent), name);
    edit->SetDigits(0);
    edit->SetIncrement(1);
    edit->SetMinValue(min);
    edit->SetMaxValue(max);
    edit->SetValInt64(int64_t(std::max(min, 1.0)));
    return edit;
}

TZORLengthEdit* LengthEdit(QWidget* parent, const char* name, double min = 0, double max = 0)
{
    auto* edit = zor::Named(new TZORLengthEdit(parent), name);
    edit->SetMinValue(min);
    edit->SetMaxValue(max);
    return edit;
}

// Runs f with the flag set, restoring it afterwards.
template <class F> void Quietly(bool& flag, F&& f)
{
    const bool was = std::exchange(flag, true);
    f();
    flag = was;
}

} // namespace

TfLabelling::TfLabelling(QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("TfLabelling"));
    PageLab = zor::Named(new QTabWidget(this), "PageLab");
    PageLab->addTab(BuildDimensionPage(), QString());
    PageLab->addTab(BuildPrintingPage(), QString());
    TabData = new TZORDataPage(this);
    PageLab->addTab(TabData, QString());
    fCaptions.push_back([this] {
        PageLab->setTabText(0, zor::Prop("Dimensions"));
        PageLab->setTabText(1, zor::Prop("Printing"));
        PageLab->setTabText(2, zor::Prop("Data"));
    });
    paintLab = new TZORSheetPicture(this);
    cbContinousPaper = zor::Named(new QCheckBox(this), "cbContinousPaper");
    fCaptions.push_back([this] { cbContinousPaper->setText(zor::Prop("ContinousPaper")); });
    QDialogButtonBox* buttons = zor::AddOkCancel(*this, QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* top = new QHBoxLayout;
    top->addWidget(PageLab, 1);
    top->addWidget(paintLab, 0, Qt::AlignTop);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cbContinousPaper);
    bottom->addStretch();
    bottom->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(bottom);

    connect(PageLab, &QTabWidget::currentChanged, this, &TfLabelling::PageLabChange);
    connect(cbContinousPaper, &QCheckBox::clicked, this, &TfLabelling::cbContinousPaperClick);
    connect(paintLab, &TZORSheetPicture::FirstChosen, this, &TfLabelling::FirstChosen);
    connect(gbPaper, &TZORPaperBox::Changed, this, &TfLabelling::PaperSizeChange);
    connect(seWidth, &QLineEdit::textChanged, this, [this] { LabelSizeChange(true); });
    connect(seHeight, &QLineEdit::textChanged, this, [this] { LabelSizeChange(false); });
    for (TZORLengthEdit* e : { seGapX, seGapY, seMargLeft, seMargTop })
        connect(e, &QLineEdit::textChanged, this, &TfLabelling::Draw);
    for (TZORSpinEditFloat* e : { seRows, seColumns })
        connect(e, &QLineEdit::textChanged, this, &TfLabelling::RowsColumnsChange);
    for (TZORSpinEditFloat* e : { edFirstRow, edFirstCol })
        connect(e, &QLineEdit::textChanged, this, &TfLabelling::Draw);
    resize(836, 481);
}

QWidget* TfLabelling::BuildDimensionPage()
{
    auto* page = zor::Named(new QWidget(this), "TabDimension");
    auto* grid = new QGridLayout(page);
    // A group of captioned edits, the captions filled with the property texts of keys.
    const auto group
        = [this, page](const char* title, std::initializer_list<std::pair<const char*, QWidget*>> rows) {
              auto* box = new QGroupBox(page);
              auto* layout = new QGridLayout(box);
              int row = 0;
              for (const auto& [captionKey, edit] : rows) {
                  const char* key = captionKey;
                  auto* caption = new QLabel(box);
                  caption->setBuddy(edit);
                  edit->setParent(box);
                  layout->addWidget(caption, row, 0);
                  layout->addWidget(edit, row++, 1);
                  fCaptions.push_back([caption, key] { caption->setText(zor::Prop(key)); });
              }
              fCaptions.push_back([box, title] { box->setTitle(zor::Prop(title)); });
              return box;
          };
    edName = zor::Named(new QLineEdit(page), "edName");
    seWidth = LengthEdit(page, "seWidth");
    seHeight = LengthEdit(page, "seHeight");
    grid->addWidget(
        group("LabelSize", { { "LabelName", edName }, { "Width", seWidth }, { "Height", seHeight } }), 0, 0,
        1, 2);
    seGapX = LengthEdit(page, "seGapX");
    seGapY = LengthEdit(page, "seGapY");
    grid->addWidget(group("LabelSeparation", { { "Horizontal", seGapX }, { "Vertical", seGapY } }), 1, 0);
    seMargLeft = LengthEdit(page, "seMargLeft", MarginMin, MarginMax);
    seMargTop = LengthEdit(page, "seMargTop", MarginMin, MarginMax);
    grid->addWidget(group("LabelMargins", { { "Left", seMargLeft }, { "Top", seMargTop } }), 1, 1);
    seRows = WholeEdit(page, "seRows", 1, MaxSide);
    seColumns = WholeEdit(page, "seColumns", 1, MaxSide);
    grid->addWidget(group("LabelDisposition", { { "Rows", seRows }, { "Columns", seColumns } }), 2, 0);
    gbPaper = new TZORPaperBox(page);
    fCaptions.push_back([this] { gbPaper->FillLanguage(zor::Prop("PaperSize")); });
    grid->addWidget(gbPaper, 2, 1);
    grid->setRowStretch(3, 1);
    return page;
}

QWidget* TfLabelling::BuildPrintingPage()
{
    auto* page = zor::Named(new QWidget(this), "TabPrinting");
    auto* grid = new QGridLayout(page);
    const auto captioned = [this](QGridLayout* layout, int row, const char* key, QWidget* edit) {
        auto* caption = new QLabel(edit->parentWidget());
        caption->setBuddy(edit);
        layout->addWidget(caption, row, 0);
        layout->addWidget(edit, row, 1);
        fCaptions.push_back([caption, key] { caption->setText(zor::Prop(key)); });
    };
    const auto box = [this, page](const char* title) {
        auto* b = new QGroupBox(page);
        fCaptions.push_back([b, title] { b->setTitle(zor::Prop(title)); });
        return b;
    };
    QGroupBox* first = box("FirstLabel");
    auto* firstLayout = new QGridLayout(first);
    edFirstRow = WholeEdit(first, "edFirstRow", 1, 1);
    edFirstCol = WholeEdit(first, "edFirstCol", 1, 1);
    captioned(firstLayout, 0, "Rows", edFirstRow);
    captioned(firstLayout, 1, "Columns", edFirstCol);
    grid->addWidget(first, 0, 0);
    QGroupBox* number = box("NumLabsToPrint");
    auto* numberLayout = new QGridLayout(number);
    edNumLabs = WholeEdit(number, "edNumLabs", 1, MaxCount);
    edRepetition = WholeEdit(number, "edRepetition", 1, MaxCount);
    captioned(numberLayout, 0, "NumLabs", edNumLabs);
    captioned(numberLayout, 1, "Repetition", edRepetition);
    grid->addWidget(number, 0, 1);
    QGroupBox* counters = box("Counters");
    auto* countersLayout = new QGridLayout(counters);
    lbCounters = zor::Named(new QListWidget(counters), "lbCounters");
    countersLayout->addWidget(lbCounters, 0, 0, 7, 1);
    auto* fields = new QGridLayout;
    countersLayout->addLayout(fields, 0, 1, 7, 1);
    edCounterName = zor::Named(new QLineEdit(counters), "edCounterName");
    seStep = WholeEdit(counters, "seStep", std::numeric_limits<int32_t>::min(), MaxCount);
    seFromNumber = WholeEdit(counters, "seFromNumber", -MaxCounterNumber, MaxCounterNumber);
    seToNumber = WholeEdit(counters, "seToNumber", -MaxCounterNumber, MaxCounterNumber);
    edTextBefore = zor::Named(new QLineEdit(counters), "edTextBefore");
    edTextAfter = zor::Named(new QLineEdit(counters), "edTextAfter");
    edFormat = zor::Named(new QLineEdit(counters), "edFormat");
    int row = 0;
    for (const auto& [key, edit] :
        std::initializer_list<std::pair<const char*, QWidget*>> { { "Name", edCounterName },
            { "Step", seStep }, { "FromNumber", seFromNumber }, { "ToNumber", seToNumber },
            { "TextBefore", edTextBefore }, { "TextAfter", edTextAfter }, { "Format", edFormat } })
        captioned(fields, row++, key, edit);
    auto* counterButtons = new QHBoxLayout;
    butAddCounter = zor::Named(new QPushButton(counters), "butAddCounter");
    butSaveCounter = zor::Named(new QPushButton(counters), "butSaveCounter");
    butDelCounter = zor::Named(new QPushButton(counters), "butDelCounter");
    for (const auto& [counterButton, buttonKey] : { std::pair { butAddCounter, "Add" },
             std::pair { butSaveCounter, "Save" }, std::pair { butDelCounter, "Delete" } }) {
        QPushButton* button = counterButton;
        const char* key = buttonKey;
        button->setAutoDefault(false);
        counterButtons->addWidget(button);
        fCaptions.push_back([button, key] { button->setText(zor::Dialogs(key)); });
    }
    countersLayout->addLayout(counterButtons, 7, 0, 1, 2);
    grid->addWidget(counters, 1, 0, 1, 2);
    grid->setRowStretch(2, 1);

    connect(lbCounters, &QListWidget::currentRowChanged, this, &TfLabelling::lbCountersChange);
    connect(butAddCounter, &QPushButton::clicked, this, &TfLabelling::butAddCounterClick);
    connect(butSaveCounter, &QPushButton::clicked, this, &TfLabelling::butSaveCounterClick);
    connect(butDelCounter, &QPushButton::clicked, this, &TfLabelling::butDelCounterClick);
    for (QLineEdit* e : { static_cast<QLineEdit*>(edCounterName), static_cast<QLineEdit*>(seStep),
             static_cast<QLineEdit*>(seFromNumber), static_cast<QLineEdit*>(seToNumber), edTextBefore,
             edTextAfter, edFormat })
        connect(e, &QLineEdit::textEdited, this, &TfLabelling::CounterFieldChange);
    return page;
}

void TfLabelling::FillLanguage()
{
    setWindowTitle(zor::FormCaption(zor::Prop("Label")));
    for (const auto& fill : fCaptions)
        fill();
    TabData->FillLanguage();
    zor::FillOkCancel(*this);
    zor::AssignMnemonics(*this);
}

void TfLabelling::Ini(TZORLabelVCL& label)
{
    fLabel = &label;
    fIntro = true;
    fNeedSaveCounter = false;
    fAddingCounter = false;
    FillLanguage();
    const TZORMeasure& m = label.Measure();
    const TZORPrintInfo& info = label.PrintInfo();
    for (TZORLengthEdit* e : { seWidth, seHeight, seGapX, seGapY, seMargLeft, seMargTop })
        e->SetUnits(label.GetUnits());
    edName->setText(m.GetLabelName());
    seWidth->SetLength(m.GetSize(TZORSizeKind::LabelWidth));
    seHeight->SetLength(m.GetSize(TZORSizeKind::LabelHeight));
    seGapX->SetLength(m.GetSize(TZORSizeKind::GapHorizontal));
    seGapY->SetLength(m.GetSize(TZORSizeKind::GapVertical));
    seMargLeft->SetLength(m.GetSize(TZORSizeKind::MarginLeft));
    seMargTop->SetLength(m.GetSize(TZORSizeKind::MarginTop));
    seRows->SetValInt64(m.GetNuHor());
    seColumns->SetValInt64(m.GetNuVer());
    cbContinousPaper->setChecked(m.GetContinousPaper());
    edNumLabs->SetValInt64(info.GetLabs());
    edRepetition->SetValInt64(info.GetRepetition());
    RowsColumnsChange();
    edFirstRow->SetValInt64(info.GetFirstRow());
    edFirstCol->SetValInt64(info.GetFirstCol());
    gbPaper->Ini(label.GetUnits(), m.GetPaperName(), m.GetSize(TZORSizeKind::PaperWidth),
        m.GetSize(TZORSizeKind::PaperHeight), !info.GetByRows());
    TabData->Ini(label);
    FillCounterList();
    CheckContinuous();
    PageLab->setCurrentIndex(0);
    PageLabChange(0);
    fIntro = false;
    Draw();
}

TZORLabelSetup TfLabelling::GetValues() const
{
    const TZORSheet sheet = Sheet();
    TZORLabelSetup v;
    v.continuousPaper = cbContinousPaper->isChecked();
    v.name = edName->text();
    v.byColumns = gbPaper->GetLandscape();
    v.width = sheet.labelWidth;
    v.height = sheet.labelHeight;
    v.paperWidth = sheet.paperWidth;
    v.paperHeight = sheet.paperHeight;
    v.paperIndex = gbPaper->GetPaperIndex();
    v.gapX = sheet.gapX;
    v.gapY = sheet.gapY;
    v.marginLeft = sheet.marginLeft;
    v.marginTop = sheet.marginTop;
    v.rows = sheet.rows;
    v.columns = sheet.columns;
    v.labels = edNumLabs->CheckValue(edNumLabs->GetValInt64());
    v.firstRow = sheet.firstRow;
    v.firstCol = sheet.firstCol;
    v.repetition = edRepetition->CheckValue(edRepetition->GetValInt64());
    v.dataSel = TabData->GetDataSel();
    v.fieldRepeat = TabData->GetFieldRepeat();
    v.linkData = TabData->GetLinkData();
    v.saveJson = TabData->GetSaveJson();
    return v;
}

TZORSheet TfLabelling::Sheet() const
{
    // Whole numbers within their bounds, as leaving their edits would bring them.
    const auto whole = [](const TZORSpinEditFloat* e) { return int32_t(e->CheckValue(e->GetValInt64())); };
    TZORSheet s;
    s.paperWidth = gbPaper->GetPaperWidth();
    s.paperHeight = gbPaper->GetPaperHeight();
    s.labelWidth = seWidth->GetLength();
    s.labelHeight = seHeight->GetLength();
    s.marginLeft = seMargLeft->GetLength();
    s.marginTop = seMargTop->GetLength();
    s.gapX = seGapX->GetLength();
    s.gapY = seGapY->GetLength();
    s.rows = whole(seRows);
    s.columns = whole(seColumns);
    s.firstRow = std::min(whole(edFirstRow), s.rows);
    s.firstCol = std::min(whole(edFirstCol), s.columns);
    return s;
}

void TfLabelling::Draw()
{
    if (!fIntro)
        paintLab->SetSheet(Sheet());
}

// --- Paper and sheet ---

void TfLabelling::CheckContinuous()
{
    const bool continuous = cbContinousPaper->isChecked();
    for (QWidget* w :
        std::initializer_list<QWidget*> { seGapX, seGapY, seMargLeft, seMargTop, seRows, seColumns })
        w->setEnabled(!continuous);
    if (!continuous)
        return;
    gbPaper->SelectPaper(ZOrPapersUser);
    if (fIntro)
        return;
    Quietly(fIntro, [this] {
        for (TZORLengthEdit* e : { seGapX, seGapY, seMargLeft, seMargTop })
            e->SetLength(0);
        seRows->SetValInt64(1);
        seColumns->SetValInt64(1);
        RowsColumnsChange();
        const int64_t w = seWidth->GetLength();
        const int64_t h = seHeight->GetLength();
        if (gbPaper->GetLandscape())
            gbPaper->SetPaperSize(h, w);
        else
            gbPaper->SetPaperSize(w, h);
    });
    Draw();
}

void TfLabelling::cbContinousPaperClick()
{
    if (!fIntro)
        CheckContinuous();
}

void TfLabelling::LabelSizeChange(bool width)
{
    if (fIntro)
        return;
    if (cbContinousPaper->isChecked()) {
        if (width)
            gbPaper->SetPaperSize(seWidth->GetLength(), gbPaper->GetPaperHeight());
        else
            gbPaper->SetPaperSize(gbPaper->GetPaperWidth(), seHeight->GetLength());
    }
    Draw();
}

void TfLabelling::PaperSizeChange()
{
    if (fIntro)
        return;
    if (cbContinousPaper->isChecked())
        Quietly(fIntro, [this] {
            seWidth->SetLength(gbPaper->GetPaperWidth());
            seHeight->SetLength(gbPaper->GetPaperHeight());
        });
    Draw();
}

void TfLabelling::RowsColumnsChange()
{
    // The first label lies on the sheet: a value past the new maximum is brought down when its
    // field is left, and read as the maximum until then (a row count half typed does not move
    // it).
    for (auto [first, side] : { std::pair { edFirstRow, seRows }, std::pair { edFirstCol, seColumns } })
        first->SetMaxValue(double(side->CheckValue(side->GetValInt64())));
    Draw();
}

void TfLabelling::FirstChosen(int32_t row, int32_t column)
{
    edFirstRow->SetValInt64(row);
    edFirstCol->SetValInt64(column);
}

void TfLabelling::PageLabChange(int index)
{
    if (!fIntro)
        CheckSaveCounter();
    cbContinousPaper->setVisible(index == 0);
    paintLab->setVisible(PageLab->widget(index) != TabData);
}

void TfLabelling::done(int result)
{
    CheckSaveCounter();
    QDialog::done(result);
}

// --- Counters ---

void TfLabelling::FillCounterList()
{
    Quietly(fIntro, [this] {
        lbCounters->clear();
        for (int32_t i = 1; i <= fLabel->GetCounterCount(); ++i)
            lbCounters->addItem(fLabel->GetCounter(i)->GetName());
        lbCounters->setCurrentRow(lbCounters->count() > 0 ? 0 : -1);
    });
    ShowCounter();
}

void TfLabelling::ShowCounter()
{
    fShownCounter = lbCounters->currentRow() + 1;
    fAddingCounter = false;
    const TZORCounter* c = fShownCounter > 0 ? fLabel->GetCounter(fShownCounter) : nullptr;
    const TZORCounter blank;
    const TZORCounter& shown = c ? *c : blank;
    Quietly(fIntro, [&] {
        edCounterName->setText(shown.GetName());
        seStep->SetValInt64(shown.GetStep());
        seFromNumber->SetValInt64(shown.GetNumFrom());
        seToNumber->SetValInt64(shown.GetNumTo());
        edTextBefore->setText(shown.GetTextBefore());
        edTextAfter->setText(shown.GetTextAfter());
        edFormat->setText(shown.GetFormat());
    });
    butDelCounter->setEnabled(c != nullptr);
    butSaveCounter->setEnabled(false);
    fNeedSaveCounter = false;
}

void TfLabelling::CounterFieldChange()
{
    if (fIntro)
        return;
    butSaveCounter->setEnabled(true);
    fNeedSaveCounter = true;
}

void TfLabelling::lbCountersChange()
{
    if (fIntro)
        return;
    CheckSaveCounter();
    ShowCounter();
}

void TfLabelling::CheckSaveCounter()
{
    if (!fNeedSaveCounter)
        return;
    fNeedSaveCounter = false;
    const QMessageBox::StandardButton answer
        = zor::DialogService().Message(this, QMessageBox::Question, windowTitle().trimmed(),
            zor::Dialogs("SaveCounter"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer == QMessageBox::Yes)
        SaveCounter();
}

void TfLabelling::butAddCounterClick()
{
    if (fLabel->GetCounterCount() >= TZORData::MaxCounters) {
        zor::ShowWarning(
            this, windowTitle().trimmed(), TZORMsg::GetErrorValue(QStringLiteral("LimitCounters")));
        return;
    }
    CheckSaveCounter();
    const QString name = zor::DialogService()
                             .Text(this, zor::Dialogs("AddCounter"), zor::Prop("Name"), QString())
                             .value_or(QString())
                             .trimmed();
    if (name.isEmpty())
        return;
    fAddingCounter = true;
    Quietly(fIntro, [&] {
        edCounterName->setText(name);
        seStep->SetValInt64(1);
        seFromNumber->SetValInt64(0);
        seToNumber->SetValInt64(0);
        edTextBefore->clear();
        edTextAfter->clear();
        edFormat->clear();
    });
    butDelCounter->setEnabled(false);
    seStep->setFocus();
    SaveCounter();
}

void TfLabelling::butSaveCounterClick()
{
    SaveCounter();
}

bool TfLabelling::SaveCounter()
{
    const QString name = edCounterName->text().trimmed();
    const TZORCounter* existing = fAddingCounter ? nullptr : fLabel->GetCounter(fShownCounter);
    const bool refused
        = name.isEmpty() || (!fAddingCounter && !existing) || fLabel->CounterName(name, existing);
    if (refused) {
        // The edits stay, to be saved under another name.
        butSaveCounter->setEnabled(true);
        fNeedSaveCounter = true;
        if (!name.isEmpty() && (fAddingCounter || existing))
            zor::ShowWarning(
                this, windowTitle().trimmed(), TZORMsg::GetErrorValue(QStringLiteral("RepeatName")));
        else
            zor::DialogService().Beep();
        return false;
    }
    TZORCounter* saved = nullptr;
    zor::ChangeLabel(*fLabel, [&] {
        saved = fAddingCounter ? fLabel->Data().AddCounter(name) : fLabel->GetCounter(fShownCounter);
        if (!saved)
            return;
        saved->SetName(name);
        saved->SetNumFrom(seFromNumber->CheckValue(seFromNumber->GetValInt64()));
        saved->SetNumTo(seToNumber->CheckValue(seToNumber->GetValInt64()));
        saved->SetStep(int32_t(seStep->CheckValue(seStep->GetValInt64())));
        saved->SetFormat(edFormat->text());
        saved->SetTextBefore(edTextBefore->text());
        saved->SetTextAfter(edTextAfter->text());
    });
    if (!saved) // the label holds as many counters as it can
        return false;
    Quietly(fIntro, [&] {
        if (fAddingCounter) {
            lbCounters->addItem(name);
            lbCounters->setCurrentRow(lbCounters->count() - 1);
            fShownCounter = lbCounters->count();
        } else {
            lbCounters->item(fShownCounter - 1)->setText(name);
        }
    });
    fAddingCounter = false;
    Quietly(fIntro, [&] {
        edCounterName->setText(saved->GetName());
        seFromNumber->SetValInt64(saved->GetNumFrom());
        seToNumber->SetValInt64(saved->GetNumTo());
    });
    butDelCounter->setEnabled(true);
    butSaveCounter->setEnabled(false);
    fNeedSaveCounter = false;
    return true;
}

void TfLabelling::butDelCounterClick()
{
    const TZORCounter* c = fLabel->GetCounter(fShownCounter);
    if (!c)
        return;
    const QMessageBox::StandardButton answer
        = zor::DialogService().Message(this, QMessageBox::Question, windowTitle().trimmed(),
            zor::Dialogs("DelCounter"), QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes);
    if (answer != QMessageBox::Yes)
        return;
    zor::ChangeLabel(*fLabel, [&] { fLabel->Data().RemoveCounter(c); });
    FillCounterList();
}
