#pragma once
// The least a drive scan must do, with plain Win32 calls: list the root and
// read the first 128 bytes of every .lnk and .tmp file. The yardstick for
// the real scanner's speed.

#include <cstddef>
#include <string>

namespace bench {

struct BaselineResult {
  std::size_t entries = 0;
  std::size_t filesRead = 0;
};

// `root` such as L"R:\\".
BaselineResult BaselineScan(const std::wstring& root);

}  // namespace bench
