#pragma once
// MD5 message digest (RFC 1321).

#include <array>
#include <cstddef>
#include <cstdint>

namespace iconguard {

std::array<std::uint8_t, 16> Md5(const std::uint8_t* data, std::size_t n);

}  // namespace iconguard
