#include "Zor.Vcl.Observe.h"

#include "Zor.Vcl.h"

namespace zor {

bool Observe(IZRObserver& view, QObject& context, QPointer<TZORLabelVCL>& current, TZORLabelVCL* label,
    QMetaObject::Connection& gone, const std::function<void()>& onGone)
{
    if (label == current)
        return false;
    if (current)
        current->Detach(&view);
    QObject::disconnect(gone);
    current = label;
    if (label) {
        label->Attach(&view);
        gone = QObject::connect(label, &QObject::destroyed, &context, onGone);
    }
    return true;
}

} // namespace zor
