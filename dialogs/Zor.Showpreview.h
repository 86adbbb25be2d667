#pragma once

#include "Zor.Types.h"
#include "dialogs/Zor.WidgetsExport.h"

#include <QDialog>
#include <QPointer>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>

class QCheckBox;
class QLineEdit;
class QMenu;
class QProgressBar;
class QToolButton;
class TZORLabelVCL;
class TZORPreview;
class TZORSpinEditFloat;

namespace zor {
class TPreviewRestore;
}

// The print preview window of a label: a TZORPreview of the current page of the run, with
// navigation between pages, the whole page or page width, printing, and export of the page to
// PDF, XPS, PNG, JPEG or GIF. While it is open it takes the label's after-print event, calls the
// host's handler from it, and after a print started here returns to the page it showed.
class QUINDLE_WIDGETS_EXPORT TfPreview : public QDialog {
    Q_OBJECT

public:
    explicit TfPreview(QWidget* parent = nullptr);
    // Gives the label its own after-print handler back. A print job still running afterwards
    // calls the host's handler and leaves the window alone.
    ~TfPreview() override;

    // Prepares the window for the label: takes its after-print event, asks the run's print-time
    // questions and list choices once (CheckPrintData; its errors reach the caller), and shows
    // the first page.
    void Ini(TZORLabelVCL& label);
    TZORPreview* Preview() const { return fPrev; }

    // The controls' handlers.
    void butFirstClick();
    void butPriorClick();
    void butNextClick();
    void butLastClick();
    void pageFullClick();
    void pageWidthClick();
    // Goes to the page typed in the page box.
    void edNumPageReturn();
    // With somewhere to print (the label's print file, else a printer chosen in the print
    // dialog), prints the run and returns to this page once the print job has ended.
    void butPrintClick();
    // Opens the export menu.
    void butSaveClick();
    // Exports the current page (the cropped content when fit is ticked) to a file chosen in the
    // save dialog; the export runs on its own thread and its end shows in the window.
    void SaveAs(TZORExport kind);
    // After a print started here has ended: back to the page shown before (the last page of the
    // run when it has fewer now).
    void WMRestorePreviewPage();
    void CheckNavigation();

private:
    void GoToPage(int64_t page);
    void ExportDone(const QString& fileName, const QString& error);
    void FillLanguage();
    QToolButton* AddButton(const QString& name, int icon, int width, void (TfPreview::*handler)());

    QPointer<TZORLabelVCL> fLabel;
    TZORPreview* fPrev = nullptr;
    int64_t fRestorePage = 1;
    std::shared_ptr<zor::TPreviewRestore> fRestore;
    std::function<void(TZORLabelVCL&)> fUserAfterPrint;
    QSet<QString> fExports; // files being exported

    QWidget* panTop;
    QToolButton* butFirst;
    QToolButton* butPrior;
    QLineEdit* edNumPage;
    QToolButton* butNext;
    QToolButton* butLast;
    QToolButton* pageFull;
    QToolButton* pageWidth;
    QToolButton* butPrint;
    QToolButton* butSave;
    QMenu* popSave;
    TZORSpinEditFloat* seQuality;
    TZORSpinEditFloat* sfScale;
    QCheckBox* ckFit;
    QCheckBox* ckTransparent;
    QProgressBar* pbExport;
    QToolButton* butClose;
};
