#include "Zor.LabelDialogs.h"

#include "Zor.DialogService.h"
#include "Zor.Dimstyles.h"
#include "Zor.Drawing.h"
#include "Zor.Edjson.h"
#include "Zor.Forms.h"
#include "Zor.Labelling.h"
#include "Zor.Layers.h"
#include "Zor.Selanswer.h"
#include "Zor.Selmap.h"
#include "Zor.Showpreview.h"
#include "label/Zor.Vcl.h"

#include <mutex>

namespace zor {

namespace {

// A modal form of the label, opened through the dialog service.
template <class Form> void ShowForm(TZORLabelVCL& label)
{
    Form form;
    form.Ini(label);
    DialogService().Exec(form);
}

TLabelDialogs LibraryDialogs()
{
    static TZORDialogJsonEditor editor;
    TLabelDialogs d;
    d.JsonEditor = &editor;
    d.LabelSetup = AskSetup<TfLabelling, TZORLabelVCL>;
    d.DrawingSetup = AskSetup<TfDrawing, TZORLabelVCL>;
    d.Layers = ShowForm<TfLayers>;
    d.DimStyles = ShowForm<TfDimStls>;
    d.Preview = ShowForm<TfPreview>;
    d.MapChoice = [](TZORLabelVCL& label, int32_t width, int32_t height) {
        TfSelMap form;
        form.Ini(label, false, width, height);
        return DialogService().Exec(form) == QDialog::Accepted;
    };
    d.PictureFile = [](const QString& folder, const QString& filter) {
        return DialogService().OpenFileName(nullptr, QString(), folder, filter);
    };
    d.Prompter = TZORDialogPrompter::ForLabel;
    return d;
}

template <class T> void Fill(T& hook, T& library)
{
    if (!hook)
        hook = std::move(library);
}

} // namespace

void InstallLabelDialogs()
{
    static std::once_flag once;
    std::call_once(once, [] {
        TLabelDialogs library = LibraryDialogs();
        TLabelDialogs& d = LabelDialogs();
        Fill(d.JsonEditor, library.JsonEditor);
        Fill(d.LabelSetup, library.LabelSetup);
        Fill(d.DrawingSetup, library.DrawingSetup);
        Fill(d.Layers, library.Layers);
        Fill(d.DimStyles, library.DimStyles);
        Fill(d.Preview, library.Preview);
        Fill(d.MapChoice, library.MapChoice);
        Fill(d.PictureFile, library.PictureFile);
        Fill(d.Prompter, library.Prompter);
    });
}

} // namespace zor
