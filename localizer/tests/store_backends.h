#pragma once
// The stores every store contract test runs against in this build, each
// with the platform backend that seeds and inspects its files: natively the
// portable store over the in-memory machine; in the Windows build (under
// Wine) the store over the profile functions and the portable store over
// the Win32 file system.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "localizer/file_store.h"

#ifdef _WIN32
#include "localizer/win32/profile_store.h"
#include "platform/tests/win32_backend.h"
#else
#include "platform/tests/memory_backend.h"
#endif

namespace localizer::tests {

#ifdef _WIN32
struct ProfileStoreOnWine {
  platform::tests::Win32Backend backend;
  std::unique_ptr<KeyedStore> Open(const std::string& file) {
    return std::make_unique<win32::ProfileStore>(file);
  }
};
struct FileStoreOnWine {
  platform::tests::Win32Backend backend;
  std::unique_ptr<KeyedStore> Open(const std::string& file) {
    return std::make_unique<FileStore>(backend.files(), file);
  }
};
using StoreBackends = ::testing::Types<ProfileStoreOnWine, FileStoreOnWine>;
#else
struct FileStoreInMemory {
  platform::tests::MemoryBackend backend;
  std::unique_ptr<KeyedStore> Open(const std::string& file) {
    return std::make_unique<FileStore>(backend.files(), file);
  }
};
using StoreBackends = ::testing::Types<FileStoreInMemory>;
#endif

}  // namespace localizer::tests
