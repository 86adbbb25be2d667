#pragma once

#include "Zor.Error.h"

#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class IZORPrompter;
class TZORData;
class TZORLabelVCL;

// The JSON text editor the label opens on symbol definitions, and the notice of a definition it
// rejects.
class IZORJsonEditor {
public:
    virtual ~IZORJsonEditor() = default;
    // The text the user confirms, or nothing when the editing is cancelled.
    virtual std::optional<QString> EditJson(const QString& text) = 0;
    virtual void ShowMessage(const QString& text) = 0;
};

namespace zor {

// What the label component opens that lives in the dialog layer above it. The library's dialogs
// put their defaults here when the library is loaded; a host may put its own in place (not owned).
// A member left empty means the label has no one to ask.
struct TLabelDialogs {
    // Edits symbol definitions; without one, adding and showing them ends quietly.
    IZORJsonEditor* JsonEditor = nullptr;
    // Makes the prompter that asks the user the print-time lists and questions of a label whose
    // host has set none (SetPrompter); it answers null where no user can be asked. Without a
    // prompter a run that has lists or questions to ask fails, naming them.
    std::function<std::unique_ptr<IZORPrompter>(TZORLabelVCL& label)> Prompter;
};

TLabelDialogs& LabelDialogs();

// A list or a question that a print run asks before it starts.
struct TPrintPrompt {
    bool list = false; // else a question
    QString name;
};

// What a run of the data asks: the lists, then the questions, that are asked at print time (in
// the order they are asked).
std::vector<TPrintPrompt> PrintPrompts(TZORData& data, bool lists = true, bool questions = true);
// The error of a run whose prompts no one answers, naming each of them.
EZORError UnansweredPrompts(const std::vector<TPrintPrompt>& prompts);

} // namespace zor
