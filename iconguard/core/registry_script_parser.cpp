#include "iconguard/core/registry_script_parser.h"

#include "iconguard/core/hresult.h"

namespace iconguard::script {
namespace {

// Names between percent signs are limited to 31 characters.
constexpr std::size_t kMaxReplacementName = 31;

struct Token {
  std::u16string text;
  bool quoted = false;
};

bool IsSpace(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n'; }

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? c + (u'a' - u'A') : c; }

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  }
  return true;
}

// Splits at white space; a token in single quotes may hold anything, a
// doubled quote inside it standing for one quote.
bool Tokenize(std::u16string_view text, std::vector<Token>* tokens) {
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && IsSpace(text[i])) ++i;
    if (i == text.size()) return true;
    Token token;
    if (text[i] == u'\'') {
      token.quoted = true;
      ++i;
      while (true) {
        if (i == text.size()) return false;
        if (text[i] == u'\'') {
          if (i + 1 < text.size() && text[i + 1] == u'\'') {
            token.text.push_back(u'\'');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        token.text.push_back(text[i++]);
      }
    } else {
      while (i < text.size() && !IsSpace(text[i])) token.text.push_back(text[i++]);
    }
    tokens->push_back(std::move(token));
  }
}

class Parser {
 public:
  explicit Parser(std::vector<Token> tokens) : tokens_(std::move(tokens)) {}

  bool ParseRoots(std::vector<RootBlock>* roots) {
    while (pos_ < tokens_.size()) {
      RootBlock block;
      if (!ParseRootName(&block.root)) return false;
      if (!Expect(u"{") || !ParseBlock(&block.children)) return false;
      roots->push_back(std::move(block));
    }
    return true;
  }

 private:
  bool AtBare(std::u16string_view word) const {
    return pos_ < tokens_.size() && !tokens_[pos_].quoted &&
           EqualsNoCase(tokens_[pos_].text, word);
  }

  bool Expect(std::u16string_view word) {
    if (!AtBare(word)) return false;
    ++pos_;
    return true;
  }

  bool ParseRootName(platform::RegKey* root) {
    static const struct {
      std::u16string_view shortName, longName;
      platform::RegKey key;
    } kRoots[] = {
        {u"HKCR", u"HKEY_CLASSES_ROOT", platform::kClassesRoot},
        {u"HKCU", u"HKEY_CURRENT_USER", platform::kCurrentUser},
        {u"HKLM", u"HKEY_LOCAL_MACHINE", platform::kLocalMachine},
    };
    for (const auto& candidate : kRoots) {
      if (AtBare(candidate.shortName) || AtBare(candidate.longName)) {
        *root = candidate.key;
        ++pos_;
        return true;
      }
    }
    return false;
  }

  // After the opening brace: entries up to and including the closing brace.
  bool ParseBlock(std::vector<Node>* children) {
    while (true) {
      if (pos_ == tokens_.size()) return false;
      if (Expect(u"}")) return true;
      Node node;
      if (!ParseEntry(&node)) return false;
      children->push_back(std::move(node));
    }
  }

  bool ParseEntry(Node* node) {
    if (Expect(u"val")) {
      node->kind = Node::Kind::Value;
      if (pos_ == tokens_.size() || IsStructural()) return false;
      node->name = tokens_[pos_++].text;
      return Expect(u"=") && ParseStringValue(&node->text);
    }
    while (true) {
      if (Expect(u"NoRemove")) {
        node->noRemove = true;
      } else if (Expect(u"ForceRemove")) {
        node->forceRemove = true;
      } else {
        break;
      }
    }
    if (pos_ == tokens_.size() || IsStructural()) return false;
    node->name = tokens_[pos_++].text;
    // One key per entry: nesting is written with braces.
    if (node->name.empty() || node->name.find(u'\\') != std::u16string::npos) return false;
    if (Expect(u"=") && !ParseStringValue(&node->text)) return false;
    if (Expect(u"{")) return ParseBlock(&node->children);
    return true;
  }

  bool IsStructural() const { return AtBare(u"{") || AtBare(u"}") || AtBare(u"="); }

  // "s 'text'": only string values are supported.
  bool ParseStringValue(std::optional<std::u16string>* text) {
    if (!Expect(u"s")) return false;
    if (pos_ == tokens_.size() || !tokens_[pos_].quoted) return false;
    *text = tokens_[pos_++].text;
    return true;
  }

  std::vector<Token> tokens_;
  std::size_t pos_ = 0;
};

}  // namespace

std::int32_t Substitute(std::u16string_view script, const Replacements& replacements,
                        std::u16string* out) {
  out->clear();
  for (std::size_t i = 0; i < script.size(); ++i) {
    if (script[i] != u'%') {
      out->push_back(script[i]);
      continue;
    }
    const std::size_t close = script.find(u'%', i + 1);
    if (close == std::u16string_view::npos) return kDispEException;
    const std::u16string_view name = script.substr(i + 1, close - i - 1);
    i = close;
    if (name.empty()) {
      out->push_back(u'%');
      continue;
    }
    if (name.size() > kMaxReplacementName) return kEFail;
    const std::u16string* replacement = nullptr;
    for (const auto& [key, text] : replacements) {
      if (key == name) replacement = &text;
    }
    if (replacement == nullptr) return kDispEException;
    // The replacement lands inside a quoted token.
    for (char16_t c : *replacement) {
      out->push_back(c);
      if (c == u'\'') out->push_back(u'\'');
    }
  }
  return kSOk;
}

std::int32_t Parse(std::u16string_view text, std::vector<RootBlock>* roots) {
  std::vector<Token> tokens;
  if (!Tokenize(text, &tokens)) return kDispEException;
  Parser parser(std::move(tokens));
  return parser.ParseRoots(roots) ? kSOk : kDispEException;
}

}  // namespace iconguard::script
