#pragma once
// Whether a text is exactly one JSON value (RFC 8259), whitespace around it
// allowed: enough to know that a report parses, without a library.

#include <cctype>
#include <cstring>
#include <string>

namespace e2e::testing {

class JsonSyntax {
 public:
  static bool Valid(const std::string& text) {
    JsonSyntax parser(text);
    return parser.Value(0) && (parser.Space(), parser.at_ == text.size());
  }

 private:
  explicit JsonSyntax(const std::string& text) : text_(text) {}

  void Space() {
    while (at_ < text_.size() && std::strchr(" \t\r\n", text_[at_]) != nullptr) ++at_;
  }
  bool Eat(char c) {
    Space();
    if (at_ >= text_.size() || text_[at_] != c) return false;
    ++at_;
    return true;
  }
  bool Word(const char* word) {
    const std::size_t length = std::strlen(word);
    if (text_.compare(at_, length, word) != 0) return false;
    at_ += length;
    return true;
  }
  bool String() {
    if (!Eat('"')) return false;
    while (at_ < text_.size()) {
      const auto c = static_cast<unsigned char>(text_[at_++]);
      if (c == '"') return true;
      if (c < 0x20) return false;
      if (c != '\\') continue;
      if (at_ >= text_.size()) return false;
      const char escaped = text_[at_++];
      if (escaped == 'u') {
        for (int i = 0; i < 4; ++i) {
          if (at_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[at_++]))) {
            return false;
          }
        }
      } else if (std::strchr("\"\\/bfnrt", escaped) == nullptr) {
        return false;
      }
    }
    return false;
  }
  bool Number() {
    const std::size_t start = at_;
    if (at_ < text_.size() && text_[at_] == '-') ++at_;
    while (at_ < text_.size() && std::strchr("0123456789.eE+-", text_[at_]) != nullptr) ++at_;
    return at_ > start && std::isdigit(static_cast<unsigned char>(text_[at_ - 1]));
  }
  bool Value(int depth) {
    if (depth > 64) return false;
    Space();
    if (at_ >= text_.size()) return false;
    const char c = text_[at_];
    if (c == '"') return String();
    if (c == '{' || c == '[') {
      const char close = c == '{' ? '}' : ']';
      ++at_;
      if (Eat(close)) return true;
      do {
        if (c == '{' && !(String() && Eat(':'))) return false;
        if (!Value(depth + 1)) return false;
      } while (Eat(','));
      return Eat(close);
    }
    return Word("true") || Word("false") || Word("null") || Number();
  }

  const std::string& text_;
  std::size_t at_ = 0;
};

}  // namespace e2e::testing
