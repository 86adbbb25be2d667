#pragma once

#include "dialogs/Zor.WidgetsExport.h"

class QWidget;

namespace zor {

// Gives the buttons, check boxes, radio buttons, tabs and the captions of edits (labels with a
// buddy) inside form an Alt+letter: the first letter of the caption that no control showing at
// the same time has taken, buttons before captions, each in the order the controls were made
// (the controls of different tab pages may share a letter). A caption whose letters are all
// taken goes without; one that carries a key already keeps it. Called after the captions are
// filled, and again whenever they are: the marks it put in before are given out anew.
QUINDLE_WIDGETS_EXPORT void AssignMnemonics(QWidget& form);

} // namespace zor
