#pragma once

#include "drawing/Zor.VclExport.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>

class IZORPrompter;
class TZORLabelVCL;

// The JSON text editor the label opens on symbol definitions, and the notice of a definition it
// rejects.
class QUINDLE_VCL_EXPORT IZORJsonEditor {
public:
    virtual ~IZORJsonEditor() = default;
    // The text the user confirms, or nothing when the editing is cancelled.
    virtual std::optional<QString> EditJson(const QString& text) = 0;
    virtual void ShowMessage(const QString& text) = 0;
};

// The values of the label and sheet set-up dialog that the label writes back after OK. Lengths
// are micrometres of paper (the dialog converts from the unit it shows); counts are as typed and
// are kept within the 32-bit range when written.
struct QUINDLE_VCL_EXPORT TZORLabelSetup {
    bool continuousPaper = false;
    QString name;
    // The labels of a sheet are filled column by column (the print information's row order is
    // its opposite).
    bool byColumns = false;
    int64_t width = 0; // the label
    int64_t height = 0;
    int64_t paperWidth = 0;
    int64_t paperHeight = 0;
    int paperIndex = 0; // the entry of ZOrPapers chosen
    int64_t gapX = 0; // between columns
    int64_t gapY = 0; // between rows
    int64_t marginLeft = 0;
    int64_t marginTop = 0;
    int64_t rows = 1;
    int64_t columns = 1;
    int64_t labels = 1;
    int64_t firstRow = 1;
    int64_t firstCol = 1;
    int64_t repetition = 1;
    QString dataSel; // the data set that drives a run
    QString fieldRepeat;
    bool linkData = false;
    bool saveJson = false;
};

// The values of the drawing set-up dialog that the label writes back after OK; lengths as above.
struct QUINDLE_VCL_EXPORT TZORDrawingSetup {
    QString name;
    bool byColumns = false;
    int64_t scale = 1; // the drawing scale, 1:scale
    int64_t paperWidth = 0;
    int64_t paperHeight = 0;
    int paperIndex = 0;
    QString title, author, date, promoter, note, project;
};

namespace zor {

// What the label component opens that lives in the dialog layer above it; a host may put its own
// in place (not owned). A member left empty means the label has no one to ask.
struct QUINDLE_VCL_EXPORT TLabelDialogs {
    // Edits symbol definitions; without one, adding and editing them ends quietly.
    IZORJsonEditor* JsonEditor = nullptr;
    // The set-up of a sheet of labels (EditorMode 0) and of a drawing (1 and 2): each shows the
    // label's values and answers the confirmed ones, or nothing when the user cancels. The label
    // writes them back itself; the dialog changes nothing.
    std::function<std::optional<TZORLabelSetup>(TZORLabelVCL& label)> LabelSetup;
    std::function<std::optional<TZORDrawingSetup>(TZORLabelVCL& label)> DrawingSetup;
    // The layers and the dimension styles: the dialog changes the label itself while it is open
    // and returns when it closes; the label then refreshes its views.
    std::function<void(TZORLabelVCL& label)> Layers;
    std::function<void(TZORLabelVCL& label)> DimStyles;
    // The preview window, shown modally; it returns when the window closes.
    std::function<void(TZORLabelVCL& label)> Preview;
    // The map choice for a new image of width x height pixels: true after OK, when the label's
    // mapping names the composed map (relative to the image folder); false for a cancel.
    std::function<bool(TZORLabelVCL& label, int32_t width, int32_t height)> MapChoice;
    // A picture file to open, starting in folder, offering filter (in Qt's form): the path
    // chosen, empty for a cancel. The widgets library's default is the open-file dialog of the
    // dialog service.
    std::function<QString(const QString& folder, const QString& filter)> PictureFile;
    // Makes the prompter that asks the user the print-time lists and questions of a label whose
    // host has set none (SetPrompter); it answers null where no user can be asked. Without a
    // prompter a run that has lists or questions to ask fails, naming them.
    std::function<std::unique_ptr<IZORPrompter>(TZORLabelVCL& label)> Prompter;
};

// The hooks the label opens its dialogs through. Empty until a host fills them, or until the
// widgets library (quindle_widgets) puts its own dialogs in place: it does so when its first
// widget is made, or when a host calls zor::InstallLabelDialogs (dialogs/Zor.LabelDialogs.h).
QUINDLE_VCL_EXPORT TLabelDialogs& LabelDialogs();

} // namespace zor
