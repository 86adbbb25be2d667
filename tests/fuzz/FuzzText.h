#pragma once

#include "Zor.Error.h"

#include <QString>

#include <cstdint>
#include <functional>

// What the targets of readers that need no label share (Qt Core only).
namespace zor::fuzz {

// Runs a reader that takes no label; a rejected input raises EZORError and nothing else.
inline void Read(const std::function<void()>& read)
{
    try {
        read();
    } catch (const EZORError&) {
    }
}

inline QString Text(const uint8_t* data, size_t size)
{
    return QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
}

} // namespace zor::fuzz
