#pragma once

#include "dialogs/Zor.WidgetsExport.h"

// The wiring of the label's dialog hooks (label/Zor.Vcl.Dialogs.h) to the dialogs of this
// library.
namespace zor {

// Puts the library's dialogs into every hook of zor::LabelDialogs() that is still empty, so
// that a host's own stay in place. Runs once: the widgets that a host makes first (editor,
// inspector, preview, the label component of a form) call it, and so may a host that opens the
// label's dialogs without any of them.
QUINDLE_WIDGETS_EXPORT void InstallLabelDialogs();

} // namespace zor
