#pragma once
// The backend every contract test runs against in this build: the Win32
// API in the Windows build (under Wine), the in-memory machine natively.

#include <gtest/gtest.h>

#ifdef _WIN32
#include "platform/tests/win32_backend.h"
namespace platform::tests {
using ContractBackends = ::testing::Types<Win32Backend>;
}
#else
#include "platform/tests/memory_backend.h"
namespace platform::tests {
using ContractBackends = ::testing::Types<MemoryBackend>;
}
#endif

namespace platform::tests {

template <class Backend>
class Contract : public ::testing::Test {
 protected:
  Backend backend;
};

}  // namespace platform::tests
