#include "Zor.Vcl.Dialogs.h"

namespace zor {

TLabelDialogs& LabelDialogs()
{
    static TLabelDialogs dialogs;
    return dialogs;
}

} // namespace zor
