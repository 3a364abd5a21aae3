#include "iconguard/core/md5.h"

#include <cstring>

namespace iconguard {
namespace {

constexpr std::uint32_t kShift[64] = {
    7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22, 7, 12, 17, 22,
    5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20, 5, 9,  14, 20,
    4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23, 4, 11, 16, 23,
    6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21, 6, 10, 15, 21,
};

// floor(abs(sin(i + 1)) * 2^32)
constexpr std::uint32_t kSine[64] = {
    0xd76aa478, 0xe8c7b756, 0x242070db, 0xc1bdceee, 0xf57c0faf, 0x4787c62a, 0xa8304613,
    0xfd469501, 0x698098d8, 0x8b44f7af, 0xffff5bb1, 0x895cd7be, 0x6b901122, 0xfd987193,
    0xa679438e, 0x49b40821, 0xf61e2562, 0xc040b340, 0x265e5a51, 0xe9b6c7aa, 0xd62f105d,
    0x02441453, 0xd8a1e681, 0xe7d3fbc8, 0x21e1cde6, 0xc33707d6, 0xf4d50d87, 0x455a14ed,
    0xa9e3e905, 0xfcefa3f8, 0x676f02d9, 0x8d2a4c8a, 0xfffa3942, 0x8771f681, 0x6d9d6122,
    0xfde5380c, 0xa4beea44, 0x4bdecfa9, 0xf6bb4b60, 0xbebfbc70, 0x289b7ec6, 0xeaa127fa,
    0xd4ef3085, 0x04881d05, 0xd9d4d039, 0xe6db99e5, 0x1fa27cf8, 0xc4ac5665, 0xf4292244,
    0x432aff97, 0xab9423a7, 0xfc93a039, 0x655b59c3, 0x8f0ccc92, 0xffeff47d, 0x85845dd1,
    0x6fa87e4f, 0xfe2ce6e0, 0xa3014314, 0x4e0811a1, 0xf7537e82, 0xbd3af235, 0x2ad7d2bb,
    0xeb86d391,
};

std::uint32_t RotateLeft(std::uint32_t x, std::uint32_t n) { return (x << n) | (x >> (32 - n)); }

struct State {
  std::uint32_t a = 0x67452301, b = 0xefcdab89, c = 0x98badcfe, d = 0x10325476;

  void Block(const std::uint8_t* block) {
    std::uint32_t m[16];
    for (int i = 0; i < 16; ++i) {
      m[i] = std::uint32_t{block[4 * i]} | std::uint32_t{block[4 * i + 1]} << 8 |
             std::uint32_t{block[4 * i + 2]} << 16 | std::uint32_t{block[4 * i + 3]} << 24;
    }
    std::uint32_t aa = a, bb = b, cc = c, dd = d;
    for (int i = 0; i < 64; ++i) {
      std::uint32_t f;
      int g;
      if (i < 16) {
        f = (bb & cc) | (~bb & dd);
        g = i;
      } else if (i < 32) {
        f = (dd & bb) | (~dd & cc);
        g = (5 * i + 1) % 16;
      } else if (i < 48) {
        f = bb ^ cc ^ dd;
        g = (3 * i + 5) % 16;
      } else {
        f = cc ^ (bb | ~dd);
        g = (7 * i) % 16;
      }
      const std::uint32_t next = bb + RotateLeft(aa + f + kSine[i] + m[g], kShift[i]);
      aa = dd;
      dd = cc;
      cc = bb;
      bb = next;
    }
    a += aa;
    b += bb;
    c += cc;
    d += dd;
  }
};

void PutLittleEndian(std::uint32_t value, std::uint8_t* out) {
  for (int i = 0; i < 4; ++i) out[i] = static_cast<std::uint8_t>(value >> (8 * i));
}

}  // namespace

std::array<std::uint8_t, 16> Md5(const std::uint8_t* data, std::size_t n) {
  State state;
  std::size_t offset = 0;
  for (; n - offset >= 64; offset += 64) state.Block(data + offset);

  // Padding: a 1 bit, zeros up to 56 mod 64, then the bit length (mod 2^64).
  std::uint8_t tail[128] = {};
  const std::size_t rest = n - offset;
  if (rest > 0) std::memcpy(tail, data + offset, rest);
  tail[rest] = 0x80;
  const std::size_t tailLength = rest < 56 ? 64 : 128;
  const std::uint64_t bits = static_cast<std::uint64_t>(n) * 8;
  for (int i = 0; i < 8; ++i) tail[tailLength - 8 + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  for (std::size_t i = 0; i < tailLength; i += 64) state.Block(tail + i);

  std::array<std::uint8_t, 16> digest{};
  PutLittleEndian(state.a, digest.data());
  PutLittleEndian(state.b, digest.data() + 4);
  PutLittleEndian(state.c, digest.data() + 8);
  PutLittleEndian(state.d, digest.data() + 12);
  return digest;
}

}  // namespace iconguard
