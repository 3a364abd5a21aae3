#include "iconguard/core/md5.h"

#include <gtest/gtest.h>

#include <string>

namespace iconguard {
namespace {

std::string HexDigest(const std::string& text) {
  const auto digest = Md5(reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
  std::string hex;
  for (std::uint8_t b : digest) {
    static constexpr char kDigits[] = "0123456789abcdef";
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

TEST(Md5, MatchesTheRfc1321TestSuite) {
  const struct {
    std::string input;
    std::string digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789",
       "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) EXPECT_EQ(HexDigest(c.input), c.digest) << '"' << c.input << '"';
}

TEST(Md5, PaddingBoundaries) {
  // 55 bytes fit one padded block, 56 need a second, 64 fill a block exactly.
  const struct {
    std::size_t length;
    std::string digest;
  } cases[] = {
      {55, "ef1772b6dff9a122358552954ad0df65"},
      {56, "3b0c8ac703f828b04c6c197006d17218"},
      {64, "014842d480b571495a4a0363793f7367"},
  };
  for (const auto& c : cases) EXPECT_EQ(HexDigest(std::string(c.length, 'a')), c.digest) << c.length;
}

}  // namespace
}  // namespace iconguard
