#pragma once

#include "Zor.Error.h"

#include <QString>

#include <gtest/gtest.h>

#include <exception>
#include <functional>

namespace zor::test {

// The message of the EZORError that f raises; fails the test when it raises nothing or another
// exception.
inline QString ErrorOf(const std::function<void()>& f)
{
    try {
        f();
    } catch (const EZORError& e) {
        return e.Message();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "not an EZORError: " << e.what();
        return {};
    }
    ADD_FAILURE() << "nothing raised";
    return {};
}

} // namespace zor::test
