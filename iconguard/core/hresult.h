#pragma once
// The HRESULT values the icon guard returns, as plain integers so the
// portable core needs no Windows headers.

#include <cstdint>

namespace iconguard {

constexpr std::int32_t kSOk = 0;
constexpr std::int32_t kSFalse = 1;
constexpr std::int32_t kENotImpl = static_cast<std::int32_t>(0x80004001u);
constexpr std::int32_t kENoInterface = static_cast<std::int32_t>(0x80004002u);
constexpr std::int32_t kEPointer = static_cast<std::int32_t>(0x80004003u);
constexpr std::int32_t kEFail = static_cast<std::int32_t>(0x80004005u);
constexpr std::int32_t kEOutOfMemory = static_cast<std::int32_t>(0x8007000Eu);
constexpr std::int32_t kClassENoAggregation = static_cast<std::int32_t>(0x80040110u);
constexpr std::int32_t kClassEClassNotAvailable = static_cast<std::int32_t>(0x80040111u);
constexpr std::int32_t kDispEException = static_cast<std::int32_t>(0x80020009u);

// HRESULT_FROM_WIN32: the system error in the low 16 bits of a failure code;
// success stays success.
constexpr std::int32_t HresultFromWin32(std::uint32_t error) {
  if (error == 0) return kSOk;
  return static_cast<std::int32_t>(0x80070000u | (error & 0xFFFFu));
}

}  // namespace iconguard
