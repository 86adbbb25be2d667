#pragma once

#include <QString>

#include <optional>

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
// A member left empty means the label has no one to ask, and the operation ends quietly.
struct TLabelDialogs {
    IZORJsonEditor* JsonEditor = nullptr;
};

TLabelDialogs& LabelDialogs();

} // namespace zor
