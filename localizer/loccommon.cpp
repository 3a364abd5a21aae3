#include "localizer/loccommon.h"

#include <algorithm>
#include <cstdint>
#include <string_view>

namespace localizer {
namespace {

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameKey(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (Lower(a[i]) != Lower(b[i])) return false;
  }
  return true;
}

int DigitValue(char c, int base) {
  int v = -1;
  if (c >= '0' && c <= '9') v = c - '0';
  else if (c >= 'a' && c <= 'f') v = c - 'a' + 10;
  else if (c >= 'A' && c <= 'F') v = c - 'A' + 10;
  return v < base ? v : -1;
}

// A whole integer text: optional sign, then decimal digits or a hexadecimal
// prefix and digits. Hexadecimal texts may fill all 32 bits, as the
// platform's integer parsing takes "$FFFFFFFF" for -1.
bool ParseInteger(std::string_view text, int& result) {
  std::size_t i = 0;
  bool negative = false;
  if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') {
    base = 16;
    ++i;
  } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i == text.size()) return false;
  const std::uint64_t limit = base == 16 ? 0xFFFFFFFFull : (negative ? 0x80000000ull : 0x7FFFFFFFull);
  std::uint64_t value = 0;
  for (; i < text.size(); ++i) {
    const int digit = DigitValue(text[i], base);
    if (digit < 0) return false;
    value = value * base + digit;
    if (value > limit) return false;
  }
  const auto bits = static_cast<std::uint32_t>(value);
  result = static_cast<int>(negative ? 0u - bits : bits);
  return true;
}

// The part before the first CR, LF or NUL.
std::string_view FirstLine(std::string_view text) {
  return text.substr(0, text.find_first_of(std::string_view("\r\n\0", 3)));
}

}  // namespace

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a'; }

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool FitsPlatform(std::string_view text) {
  return text.substr(0, text.find('\0')).size() <= KeyedStore::kMaxTextLength;
}

std::string_view WritableValue(std::string_view value) {
  return FirstLine(value).substr(0, KeyedStore::kMaxTextLength);
}

bool WritableSectionName(std::string_view section) {
  return FirstLine(section).size() == section.size() && FitsPlatform(section) &&
         section.find(']') == std::string_view::npos;
}

bool WritableKeyName(std::string_view key) {
  if (FirstLine(key).size() != key.size() || !FitsPlatform(key) ||
      key.find('=') != std::string_view::npos) {
    return false;
  }
  const std::string_view name = TrimBlanks(key);
  // First in a file, a name that begins with a byte-order mark would
  // lose it to the reader.
  return name.empty() ||
         (name.front() != '[' && name.front() != ';' && !name.starts_with("\xEF\xBB\xBF"));
}

std::vector<std::string> SplitKeyNames(std::string_view buffer) {
  std::vector<std::string> names;
  while (!buffer.empty()) {
    const std::size_t end = std::min(buffer.find('\0'), buffer.size());
    names.emplace_back(buffer.substr(0, end));
    buffer.remove_prefix(std::min(end + 1, buffer.size()));
  }
  return names;
}

StoreError::StoreError(const std::string& fileName)
    : std::runtime_error("Unable to write to " + fileName) {}

int KeyedStore::ReadInteger(const std::string& section, const std::string& key, int byDefault) {
  int value = 0;
  return ParseInteger(ReadString(section, key, ""), value) ? value : byDefault;
}

void KeyedStore::WriteInteger(const std::string& section, const std::string& key, int value) {
  WriteString(section, key, std::to_string(value));
}

void KeyedStore::ReadSectionValues(const std::string& section, std::vector<std::string>& lines) {
  for (const std::string& name : ReadSection(section)) {
    const std::string value = ReadString(section, name, "");
    std::size_t found = lines.size();
    for (std::size_t i = 0; i < lines.size(); ++i) {
      const std::string_view line = lines[i];
      if (SameKey(line.substr(0, line.find('=')), name)) {
        found = i;
        break;
      }
    }
    if (value.empty()) {
      if (found < lines.size()) lines.erase(lines.begin() + static_cast<std::ptrdiff_t>(found));
    } else if (found < lines.size()) {
      lines[found] = name + "=" + value;
    } else {
      lines.push_back(name + "=" + value);
    }
  }
}

}  // namespace localizer
