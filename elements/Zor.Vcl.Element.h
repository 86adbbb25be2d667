#pragma once

#include "Zor.Label.h"

#include <memory>

namespace zor {

class TBinaryReader;
class TJsonObject;

} // namespace zor

// The class functions every element class offers its label: a new element of the class, and
// the two readers that build one from a binary record (after its type code) or a JSON object.
// An element class T derives from its model class and from TZORElementIO<T>.
template <class T> class TZORElementIO {
public:
    static std::unique_ptr<TZORBaseItem> New(TZORBaseLabel& label, bool aPreview)
    {
        return std::make_unique<T>(&label, aPreview);
    }

    // Read type 2 (a copy for one label of a sheet) makes a preview element.
    static T* Read(TZORBaseLabel& label, int32_t version, zor::TBinaryReader& reader, TZORReadType readType)
    {
        auto item = std::make_unique<T>(&label, readType == TZORReadType::SheetCopy);
        return static_cast<T*>(label.AddRead(std::move(item), version, reader, readType));
    }

    static T* ReadFromJson(TZORBaseLabel& label, int32_t version, const zor::TJsonObject& o)
    {
        return static_cast<T*>(label.AddReadJson(std::make_unique<T>(&label, false), version, o));
    }
};
