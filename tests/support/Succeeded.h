// Asserting that a step succeeded, with its diagnostic in the failure message when it did not.
#pragma once

#include "platform/Diagnostic.h"

#include <gtest/gtest.h>

namespace lorvenna {

inline testing::AssertionResult succeeded(const Status& status) {
    if (status)
        return testing::AssertionSuccess();
    const Diagnostic& diagnostic = status.diagnostic();
    return testing::AssertionFailure()
           << diagnostic.file << ":" << diagnostic.line << ": " << diagnostic.message;
}

} // namespace lorvenna
