#pragma once

#include "editor/Zor.Vcl.Editor.h"

#include <QSize>

#include <cstdint>
#include <memory>

namespace zor::test {

// An editor of size pixels at 96 dpi, shown and linked to label, with extra option bits.
inline std::unique_ptr<TZOREditor> ShownEditor(TZORLabelVCL& label, QSize size, uint16_t options = 0)
{
    auto e = std::make_unique<TZOREditor>();
    e->SetDPIOverride(96);
    if (options)
        e->SetOptions(uint16_t(e->GetOptions() | options));
    e->resize(size);
    e->show();
    e->SetLabel(&label);
    return e;
}

} // namespace zor::test
