#include "Zor.Showpreview.h"

#include "Zor.DialogService.h"
#include "Zor.Error.h"
#include "Zor.Forms.h"
#include "Zor.Msg.h"
#include "Zor.Preview.h"
#include "Zor.Spinfloat.h"
#include "label/Zor.Vcl.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QProgressBar>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <array>
#include <mutex>

namespace zor {

// What a print job's thread may touch of a preview window: whether a return to the page is due,
// and the window while it lives. The window takes itself out under the lock before it goes, so a
// job that ends later posts nothing to a window that is no more.
class TPreviewRestore {
public:
    explicit TPreviewRestore(TfPreview* window)
        : fWindow(window)
    {
    }

    void Arm(bool armed)
    {
        std::lock_guard lock(fMutex);
        fArmed = armed;
    }
    // On the user interface thread: true once after Arm(true).
    bool Take()
    {
        std::lock_guard lock(fMutex);
        return std::exchange(fArmed, false);
    }
    // On the print thread: has the window return to its page on its own thread.
    void AfterPrint()
    {
        std::lock_guard lock(fMutex);
        if (!fWindow || !fArmed)
            return;
        // Posted to the window: a window destroyed before the call is delivered drops it.
        QMetaObject::invokeMethod(
            fWindow, [w = fWindow] { w->WMRestorePreviewPage(); }, Qt::QueuedConnection);
    }
    void Close()
    {
        std::lock_guard lock(fMutex);
        fWindow = nullptr;
    }

private:
    std::mutex fMutex;
    TfPreview* fWindow;
    bool fArmed = false;
};

} // namespace zor

namespace {

constexpr int ButtonWidth = 30;
constexpr int SaveButtonWidth = 46;
constexpr int ButtonHeight = 28;
constexpr int TopBarHeight = 32;

// The export menu's items, in their order.
struct TSaveRow {
    TZORExport kind;
    const char* name;
    const char* caption;
    const char* extension;
    const char* filter;
};
constexpr std::array<TSaveRow, 5> SaveRows = { {
    { TZORExport::PDF, "savePDF", "PDF", "pdf", "PDF Files (*.pdf)" },
    { TZORExport::XPS, "saveXPS", "XPS", "xps", "XPS Documents (*.xps)" },
    { TZORExport::PNG, "savePNG", "PNG", "png", "PNG images (*.png)" },
    { TZORExport::JPEG, "saveJPEG", "JPEG", "jpeg", "JPEG images (*.jpeg)" },
    { TZORExport::GIF, "saveGIF", "GIF", "gif", "GIF images (*.gif)" },
} };

const TSaveRow& SaveRowOf(TZORExport kind)
{
    for (const TSaveRow& row : SaveRows)
        if (row.kind == kind)
            return row;
    return SaveRows[0];
}

int64_t Pages(const TZORLabelVCL& label)
{
    return label.PrintRun().sheetCount;
}

int64_t CurrentPage(const TZORLabelVCL& label)
{
    return label.PrintRun().sheetCounter;
}

// The label prints per label position (sheet copies of its bound elements), so the content of
// one label is not what every position shows.
bool DiffersByPosition(const TZORLabelVCL& label)
{
    return label.PrintInfo().GetSheetCopies() || label.PrintRun().dataRun || label.Data().HasListPrompts()
        || label.Data().HasAskPrompts();
}

} // namespace

TfPreview::TfPreview(QWidget* parent)
    : QDialog(parent)
    , fRestore(std::make_shared<zor::TPreviewRestore>(this))
{
    setObjectName(QStringLiteral("fPreview"));
    panTop = new QWidget(this);
    panTop->setObjectName(QStringLiteral("panTop"));
    panTop->setFixedHeight(TopBarHeight);
    auto* bar = new QHBoxLayout(panTop);
    bar->setContentsMargins(2, 2, 2, 2);
    bar->setSpacing(2);
    butFirst = AddButton(
        QStringLiteral("butFirst"), QStyle::SP_MediaSkipBackward, ButtonWidth, &TfPreview::butFirstClick);
    butPrior = AddButton(
        QStringLiteral("butPrior"), QStyle::SP_MediaSeekBackward, ButtonWidth, &TfPreview::butPriorClick);
    edNumPage = new QLineEdit(panTop);
    edNumPage->setObjectName(QStringLiteral("edNumPage"));
    edNumPage->setFixedWidth(130);
    edNumPage->setAlignment(Qt::AlignCenter);
    QFont bold = edNumPage->font();
    bold.setBold(true);
    edNumPage->setFont(bold);
    connect(edNumPage, &QLineEdit::returnPressed, this, &TfPreview::edNumPageReturn);
    bar->addWidget(edNumPage);
    butNext = AddButton(
        QStringLiteral("butNext"), QStyle::SP_MediaSeekForward, ButtonWidth, &TfPreview::butNextClick);
    butLast = AddButton(
        QStringLiteral("butLast"), QStyle::SP_MediaSkipForward, ButtonWidth, &TfPreview::butLastClick);
    pageFull = AddButton(
        QStringLiteral("pageFull"), QStyle::SP_TitleBarNormalButton, ButtonWidth, &TfPreview::pageFullClick);
    pageWidth = AddButton(
        QStringLiteral("pageWidth"), QStyle::SP_TitleBarMaxButton, ButtonWidth, &TfPreview::pageWidthClick);
    butPrint = AddButton(QStringLiteral("butPrint"), QStyle::SP_FileDialogDetailedView, ButtonWidth,
        &TfPreview::butPrintClick);
    butSave = AddButton(
        QStringLiteral("butSave"), QStyle::SP_DialogSaveButton, SaveButtonWidth, &TfPreview::butSaveClick);
    popSave = new QMenu(this);
    popSave->setObjectName(QStringLiteral("popSave"));
    for (const TSaveRow& row : SaveRows)
        popSave->addAction(QString::fromLatin1(row.caption))->setObjectName(QString::fromLatin1(row.name));
    seQuality = new TZORSpinEditFloat(panTop);
    seQuality->setObjectName(QStringLiteral("seQuality"));
    seQuality->SetDigits(0);
    seQuality->SetMinValue(10);
    seQuality->SetMaxValue(100);
    seQuality->SetIncrement(5);
    bar->addWidget(seQuality);
    sfScale = new TZORSpinEditFloat(panTop);
    sfScale->setObjectName(QStringLiteral("sfScale"));
    sfScale->SetDigits(2);
    sfScale->SetMinValue(0.2);
    sfScale->SetMaxValue(5);
    sfScale->SetIncrement(0.05);
    bar->addWidget(sfScale);
    ckFit = new QCheckBox(panTop);
    ckFit->setObjectName(QStringLiteral("ckFit"));
    bar->addWidget(ckFit);
    ckTransparent = new QCheckBox(panTop);
    ckTransparent->setObjectName(QStringLiteral("ckTransparent"));
    bar->addWidget(ckTransparent);
    pbExport = new QProgressBar(panTop);
    pbExport->setObjectName(QStringLiteral("pbExport"));
    // Busy while an export runs: a single page has no steps worth counting.
    pbExport->setRange(0, 0);
    pbExport->setFixedWidth(80);
    pbExport->setVisible(false);
    bar->addWidget(pbExport);
    bar->addStretch();
    butClose = AddButton(
        QStringLiteral("butClose"), QStyle::SP_DialogCloseButton, ButtonWidth, &TfPreview::reject);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(panTop);
    resize(804, 560);
}

TfPreview::~TfPreview()
{
    fRestore->Close();
    if (fLabel)
        fLabel->OnAfterPrint = fUserAfterPrint;
}

QToolButton* TfPreview::AddButton(const QString& name, int icon, int width, void (TfPreview::*handler)())
{
    auto* button = new QToolButton(panTop);
    button->setObjectName(name);
    button->setIcon(style()->standardIcon(QStyle::StandardPixmap(icon)));
    button->setFixedSize(width, ButtonHeight);
    button->setAutoRaise(true);
    connect(button, &QToolButton::clicked, this, handler);
    panTop->layout()->addWidget(button);
    return button;
}

void TfPreview::Ini(TZORLabelVCL& label)
{
    fLabel = &label;
    fRestorePage = 1;
    fRestore->Arm(false);
    fUserAfterPrint = label.OnAfterPrint;
    // Runs on the print thread: the host's handler first, then the window is told, on its own
    // thread, through the restore token (never the window itself).
    label.OnAfterPrint = [user = fUserAfterPrint, restore = fRestore](TZORLabelVCL& sender) {
        if (user)
            user(sender);
        restore->AfterPrint();
    };
    setWindowTitle(zor::FormCaption(label.Measure().GetLabelName()));
    connect(&label, &TZORLabelVCL::ExportDone, this, &TfPreview::ExportDone, Qt::UniqueConnection);
    label.CheckPrintData();
    ckFit->setVisible(!DiffersByPosition(label));
    FillLanguage();
    fPrev = new TZORPreview(this);
    fPrev->setObjectName(QStringLiteral("fPrev"));
    layout()->addWidget(fPrev);
    fPrev->SetLabel(&label);
    sfScale->SetValue(1.0);
    seQuality->SetValInt64(100);
    butFirstClick();
}

void TfPreview::FillLanguage()
{
    sfScale->setToolTip(TZORMsg::GetDialogsValue(QStringLiteral("ScaleExp")));
    ckFit->setToolTip(TZORMsg::GetDialogsValue(QStringLiteral("FitExp")));
    ckFit->setText(TZORMsg::GetDialogsValue(QStringLiteral("Fit")));
    seQuality->setToolTip(TZORMsg::GetDialogsValue(QStringLiteral("Quality")));
    ckTransparent->setText(TZORMsg::GetPropValue(QStringLiteral("Transparent")));
    ckTransparent->setToolTip(TZORMsg::GetDialogsValue(QStringLiteral("Transparent")));
}

void TfPreview::GoToPage(int64_t page)
{
    if (!fLabel)
        return;
    fLabel->GoToPage(page, true);
    fPrev->Draw();
    CheckNavigation();
}

void TfPreview::butFirstClick()
{
    GoToPage(1);
}

void TfPreview::butPriorClick()
{
    if (fLabel)
        GoToPage(CurrentPage(*fLabel) - 1);
}

void TfPreview::butNextClick()
{
    if (fLabel)
        GoToPage(CurrentPage(*fLabel) + 1);
}

void TfPreview::butLastClick()
{
    if (fLabel)
        GoToPage(Pages(*fLabel));
}

void TfPreview::pageFullClick()
{
    fPrev->SetViewType(TZORViewType::WholePage);
}

void TfPreview::pageWidthClick()
{
    fPrev->SetViewType(TZORViewType::PageWidth);
}

void TfPreview::edNumPageReturn()
{
    bool ok = false;
    const int64_t page = edNumPage->text().section(QLatin1Char('/'), 0, 0).trimmed().toLongLong(&ok);
    if (ok)
        GoToPage(page);
    else
        CheckNavigation();
}

void TfPreview::CheckNavigation()
{
    if (!fLabel)
        return;
    const int64_t pages = Pages(*fLabel);
    const int64_t current = CurrentPage(*fLabel);
    const bool several = pages != 1;
    butFirst->setEnabled(several && current >= 2);
    butPrior->setEnabled(several && current >= 2);
    butNext->setEnabled(several && current < pages);
    butLast->setEnabled(several && current < pages);
    edNumPage->setText(several ? QStringLiteral("%1 / %2").arg(current).arg(pages) : QStringLiteral("1 / 1"));
    edNumPage->setReadOnly(!several);
}

void TfPreview::butPrintClick()
{
    if (!fLabel)
        return;
    const int64_t page = std::max<int64_t>(CurrentPage(*fLabel), 1);
    if (zor::ChoosePrinter(this, *fLabel) != zor::TZORPrinterChoice::Ready)
        return;
    fRestorePage = page;
    fRestore->Arm(true);
    try {
        fLabel->Print();
    } catch (const EZORError& e) {
        // Errors of the run's data reach the user here, not the event loop.
        fRestore->Arm(false);
        zor::ShowWarning(this, windowTitle().trimmed(), e.Message());
    }
}

void TfPreview::WMRestorePreviewPage()
{
    if (!fRestore->Take() || !fLabel)
        return;
    // The job printed a copy of the label: its run here is as Print prepared it, on page 1.
    const int64_t pages = Pages(*fLabel);
    if (pages < 1)
        return;
    fRestorePage = std::clamp<int64_t>(fRestorePage, 1, pages);
    fLabel->GoToPage(fRestorePage, true);
    fPrev->Draw();
    CheckNavigation();
}

void TfPreview::butSaveClick()
{
    QAction* chosen
        = zor::DialogService().Popup(*popSave, butSave->mapToGlobal(QPoint(0, butSave->height())));
    for (const TSaveRow& row : SaveRows)
        if (chosen && chosen->objectName() == QLatin1String(row.name))
            SaveAs(row.kind);
}

void TfPreview::SaveAs(TZORExport kind)
{
    if (!fLabel)
        return;
    const TSaveRow& row = SaveRowOf(kind);
    QString fileName
        = zor::DialogService().SaveFileName(this, TZORMsg::GetDialogsValue(QStringLiteral("Save")),
            fLabel->GetImageFolder(), QString::fromLatin1(row.filter));
    if (fileName.isEmpty())
        return;
    if (QFileInfo(fileName).suffix().isEmpty())
        fileName += QLatin1Char('.') + QString::fromLatin1(row.extension);
    // The buttons take no focus: the values typed are brought into their bounds here.
    seQuality->ClampValue();
    sfScale->ClampValue();
    // Fit asks the export for the content of the label, cropped, which it makes of page 0.
    const bool fit = !ckFit->isHidden() && ckFit->isChecked();
    const int32_t page = fit ? 0 : int32_t(std::max<int64_t>(CurrentPage(*fLabel), 1));
    try {
        fLabel->ExportDoc(kind, fileName, page, float(sfScale->GetValue()), int16_t(seQuality->GetValInt64()),
            false, ckTransparent->isChecked(), fit);
    } catch (const EZORError& e) {
        zor::ShowWarning(this, windowTitle().trimmed(), e.Message());
        return;
    }
    fExports.insert(fileName);
    pbExport->setVisible(true);
}

void TfPreview::ExportDone(const QString& fileName, const QString& error)
{
    if (!fExports.remove(fileName))
        return;
    pbExport->setVisible(!fExports.isEmpty());
    if (!error.isEmpty())
        zor::ShowWarning(this, windowTitle().trimmed(), error);
}
