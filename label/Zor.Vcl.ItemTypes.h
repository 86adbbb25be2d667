#pragma once

#include "Zor.Item.h"
#include "drawing/Zor.VclExport.h"

#include <cstdint>
#include <memory>

class TZORBaseLabel;

namespace zor {

// The element class of a type code (1 to 29), made for the label; null for any other code.
QUINDLE_VCL_EXPORT std::unique_ptr<TZORBaseItem> NewElement(
    TZORBaseLabel& label, int32_t code, bool aPreview);

} // namespace zor
