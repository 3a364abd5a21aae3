#include "quarantine/sha256.h"

#include <gtest/gtest.h>

#include <string>

namespace quarantine {
namespace {

std::string HashOf(const std::string& text, std::size_t piece) {
  Sha256 sha;
  for (std::size_t at = 0; at < text.size(); at += piece) {
    const std::string part = text.substr(at, piece);
    sha.Update(reinterpret_cast<const std::uint8_t*>(part.data()), part.size());
  }
  return ToHex(sha.Finish());
}

TEST(Sha256, KnownDigestsWhateverThePiecesTheDataArrivesIn) {
  const struct {
    std::string text;
    const char* digest;
  } kCases[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {std::string(1000000, 'a'),
       "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (const auto& c : kCases) {
    for (const std::size_t piece : {std::size_t{1}, std::size_t{63}, std::size_t{64},
                                    std::size_t{65}, std::size_t{100000}}) {
      EXPECT_EQ(HashOf(c.text, piece), c.digest) << c.text.size() << " bytes in " << piece;
    }
  }
}

}  // namespace
}  // namespace quarantine
