#pragma once
// SHA-256 over data that arrives in pieces.

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>

namespace quarantine {

using Digest = std::array<std::uint8_t, 32>;

class Sha256 {
 public:
  Sha256();
  void Update(const std::uint8_t* data, std::size_t size);
  // Ends the computation; the object must not be updated afterwards.
  Digest Finish();

 private:
  void Compress(const std::uint8_t* block);

  std::array<std::uint32_t, 8> state_;
  std::array<std::uint8_t, 64> buffer_{};
  std::size_t buffered_ = 0;
  std::uint64_t totalBytes_ = 0;
};

// Lower-case hexadecimal, as checksums are usually written.
std::string ToHex(const Digest& digest);

}  // namespace quarantine
