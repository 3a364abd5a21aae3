#include "ui/form_text.h"

#include <cctype>
#include <limits>

#include "ui/form_error.h"

namespace ui {
namespace {

struct Token {
  enum class Kind { End, Identifier, Text, Integer, Colour, Symbol };
  Kind kind = Kind::End;
  std::string text;  // Identifier, Text, Symbol
  std::int64_t number = 0;
  int line = 1;
};

bool IdentifierStart(char c) { return std::isalpha(static_cast<unsigned char>(c)) || c == '_'; }
bool IdentifierPart(char c) { return IdentifierStart(c) || std::isdigit(static_cast<unsigned char>(c)); }

class Lexer {
 public:
  Lexer(std::string_view form, std::string_view text) : form_(form), text_(text) {}

  Token Next() {
    SkipBlanksAndComments();
    Token token;
    token.line = line_;
    if (pos_ >= text_.size()) return token;
    const char c = text_[pos_];
    if (IdentifierStart(c)) {
      token.kind = Token::Kind::Identifier;
      while (pos_ < text_.size() && IdentifierPart(text_[pos_])) token.text += text_[pos_++];
    } else if (c == '"') {
      token.kind = Token::Kind::Text;
      token.text = QuotedText();
    } else if (c == '#') {
      token.kind = Token::Kind::Colour;
      token.number = ColourLiteral();
    } else if (c == '-' || std::isdigit(static_cast<unsigned char>(c))) {
      token.kind = Token::Kind::Integer;
      token.number = IntegerLiteral();
    } else if (c == '=' || c == ':' || c == '.' || c == ',' || c == '[' || c == ']' || c == '(' ||
               c == ')') {
      token.kind = Token::Kind::Symbol;
      token.text = std::string(1, c);
      ++pos_;
    } else {
      Fail("unexpected character '" + std::string(1, c) + "'");
    }
    return token;
  }

  [[noreturn]] void Fail(const std::string& what) const { throw FormError(std::string(form_), line_, what); }

 private:
  void SkipBlanksAndComments() {
    while (pos_ < text_.size()) {
      const char c = text_[pos_];
      if (c == '\n') {
        ++line_;
        ++pos_;
      } else if (c == ' ' || c == '\t' || c == '\r') {
        ++pos_;
      } else if (c == '/' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '/') {
        while (pos_ < text_.size() && text_[pos_] != '\n') ++pos_;
      } else {
        return;
      }
    }
  }

  std::string QuotedText() {
    std::string out;
    ++pos_;  // the opening quote
    while (true) {
      if (pos_ >= text_.size() || text_[pos_] == '\n') Fail("text without its closing quote");
      const char c = text_[pos_++];
      if (c == '"') return out;
      if (c != '\\') {
        out += c;
        continue;
      }
      if (pos_ >= text_.size()) Fail("text without its closing quote");
      switch (const char e = text_[pos_++]) {
        case '"': out += '"'; break;
        case '\\': out += '\\'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        case 't': out += '\t'; break;
        default: Fail(std::string("unknown escape \\") + e);
      }
    }
  }

  std::int64_t ColourLiteral() {
    ++pos_;  // '#'
    std::uint32_t rgb = 0;
    for (int i = 0; i < 6; ++i) {
      if (pos_ >= text_.size() || !std::isxdigit(static_cast<unsigned char>(text_[pos_]))) {
        Fail("a colour is # and six hexadecimal digits");
      }
      rgb = rgb * 16 + HexDigit(text_[pos_++]);
    }
    if (pos_ < text_.size() && IdentifierPart(text_[pos_])) Fail("a colour is # and six hexadecimal digits");
    // #RRGGBB is written as the colour value 0x00BBGGRR.
    return ((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF);
  }

  std::int64_t IntegerLiteral() {
    const bool negative = text_[pos_] == '-';
    if (negative) ++pos_;
    const bool hex = pos_ + 1 < text_.size() && text_[pos_] == '0' &&
                     (text_[pos_ + 1] == 'x' || text_[pos_ + 1] == 'X');
    if (hex) pos_ += 2;
    const unsigned base = hex ? 16 : 10;
    std::uint64_t value = 0;
    int digits = 0;
    while (pos_ < text_.size() && IdentifierPart(text_[pos_])) {
      const char c = text_[pos_];
      const bool valid = hex ? std::isxdigit(static_cast<unsigned char>(c))
                             : std::isdigit(static_cast<unsigned char>(c));
      if (!valid) Fail("bad number");
      const std::uint64_t limit = std::uint64_t{std::numeric_limits<std::int64_t>::max()};
      value = value * base + HexDigit(c);
      if (value > limit) Fail("number out of range");
      ++pos_;
      ++digits;
    }
    if (digits == 0) Fail("bad number");
    return negative ? -static_cast<std::int64_t>(value) : static_cast<std::int64_t>(value);
  }

  static unsigned HexDigit(char c) {
    if (c >= '0' && c <= '9') return static_cast<unsigned>(c - '0');
    return static_cast<unsigned>(std::tolower(static_cast<unsigned char>(c)) - 'a' + 10);
  }

  std::string_view form_;
  std::string_view text_;
  std::size_t pos_ = 0;
  int line_ = 1;
};

class Parser {
 public:
  Parser(std::string_view form, std::string_view text) : form_(form), lexer_(form, text) {
    Advance();
  }

  FormObject Form() {
    FormObject root = Object();
    if (current_.kind != Token::Kind::End) Fail("text after the form's end");
    return root;
  }

 private:
  FormObject Object() {
    if (!IsWord("object")) Fail("expected \"object\"");
    FormObject object;
    object.line = current_.line;
    Advance();
    if (current_.kind == Token::Kind::Identifier) {
      object.name = current_.text;
      Advance();
    }
    Expect(":");
    if (current_.kind != Token::Kind::Identifier) Fail("expected a class name");
    object.className = current_.text;
    Advance();
    while (!IsWord("end")) {
      if (current_.kind == Token::Kind::End) Fail("object " + object.name + " without \"end\"");
      if (IsWord("object")) {
        object.children.push_back(Object());
        continue;
      }
      if (!object.children.empty()) Fail("properties come before the owned objects");
      object.properties.push_back(Property());
    }
    Advance();
    return object;
  }

  FormProperty Property() {
    FormProperty property;
    property.line = current_.line;
    if (current_.kind != Token::Kind::Identifier) Fail("expected a property name");
    property.path.push_back(current_.text);
    Advance();
    while (IsSymbol(".")) {
      Advance();
      if (current_.kind != Token::Kind::Identifier) Fail("expected a property name after \".\"");
      property.path.push_back(current_.text);
      Advance();
    }
    Expect("=");
    property.value = Value();
    return property;
  }

  FormValue Value() {
    FormValue value;
    switch (current_.kind) {
      case Token::Kind::Text:
        value.type = FormValue::Type::Text;
        value.text = current_.text;
        break;
      case Token::Kind::Integer:
        value.type = FormValue::Type::Integer;
        value.number = current_.number;
        break;
      case Token::Kind::Colour:
        value.type = FormValue::Type::Colour;
        value.number = current_.number;
        break;
      case Token::Kind::Identifier:
        if (current_.text == "bitmap") return BitmapValue();
        value.type = FormValue::Type::Identifier;
        value.text = current_.text;
        break;
      case Token::Kind::Symbol:
        if (current_.text == "[") return ListValue();
        Fail("expected a value");
      case Token::Kind::End:
        Fail("expected a value");
    }
    Advance();
    return value;
  }

  FormValue ListValue() {
    FormValue value;
    value.type = FormValue::Type::List;
    Advance();  // '['
    if (IsSymbol("]")) {
      Advance();
      return value;
    }
    value.listOfText = current_.kind == Token::Kind::Text;
    while (true) {
      const auto wanted = value.listOfText ? Token::Kind::Text : Token::Kind::Identifier;
      if (current_.kind != wanted) {
        Fail(value.listOfText ? "a list of texts holds only quoted texts"
                              : "a set holds only value names");
      }
      value.items.push_back(current_.text);
      Advance();
      if (IsSymbol("]")) break;
      Expect(",");
    }
    Advance();
    return value;
  }

  FormValue BitmapValue() {
    FormValue value;
    value.type = FormValue::Type::Bitmap;
    Advance();
    Expect("(");
    if (current_.kind != Token::Kind::Text) Fail("bitmap(...) takes the resource name as a text");
    value.text = current_.text;
    Advance();
    Expect(")");
    return value;
  }

  bool IsWord(const char* word) const {
    return current_.kind == Token::Kind::Identifier && current_.text == word;
  }
  bool IsSymbol(const char* symbol) const {
    return current_.kind == Token::Kind::Symbol && current_.text == symbol;
  }
  void Expect(const char* symbol) {
    if (!IsSymbol(symbol)) Fail(std::string("expected \"") + symbol + "\"");
    Advance();
  }
  void Advance() { current_ = lexer_.Next(); }
  [[noreturn]] void Fail(const std::string& what) const {
    throw FormError(form_, current_.line, what);
  }

  std::string form_;
  Lexer lexer_;
  Token current_;
};

}  // namespace

FormObject ParseForm(std::string_view formName, std::string_view text) {
  return Parser(formName, text).Form();
}

}  // namespace ui
