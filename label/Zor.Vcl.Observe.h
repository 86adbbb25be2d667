#pragma once

#include "drawing/Zor.VclExport.h"

#include <QMetaObject>
#include <QPointer>

#include <functional>

class IZRObserver;
class QObject;
class TZORLabelVCL;

namespace zor {

// Moves a view from the label it observes to label (null: to none): detaches it from the one
// before, attaches it to the new one, and has onGone run in context when the new label is
// destroyed first (a destroyed label takes its observers with it: nothing is detached then).
// False, changing nothing, when label is the one observed already.
QUINDLE_VCL_EXPORT bool Observe(IZRObserver& view, QObject& context, QPointer<TZORLabelVCL>& current,
    TZORLabelVCL* label, QMetaObject::Connection& gone, const std::function<void()>& onGone);

} // namespace zor
