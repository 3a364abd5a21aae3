#pragma once
// The keyed store behind a language data file: sections of key=value
// entries, names compared without regard to letter case, no escaping.
// Every operation of the localizer opens a store on a file name, uses it
// and lets it go; opening touches no file.

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace localizer {

// A write or erase the file would not take: "Unable to write to <file>".
class StoreError : public std::runtime_error {
 public:
  explicit StoreError(const std::string& fileName);
};

class KeyedStore {
 public:
  // The longest value a read hands back; longer ones are cut.
  static constexpr std::size_t kMaxValueLength = 2047;
  // The buffer that carries a section's key names, terminators included.
  static constexpr std::size_t kSectionNamesBuffer = 16384;
  // The longest name or value, in bytes up to any NUL, that the platform's
  // profile functions take: under Wine a longer one crashes a read and is
  // written as something else. A longer name finds nothing and cannot be
  // written; a longer value is written cut to this length.
  static constexpr std::size_t kMaxTextLength = 32766;

  virtual ~KeyedStore() = default;

  // The entry's value, or `byDefault` when the file, section or key is missing.
  virtual std::string ReadString(const std::string& section, const std::string& key,
                                 const std::string& byDefault) = 0;
  // Creates file, section and key as needed; throws StoreError on refusal.
  virtual void WriteString(const std::string& section, const std::string& key,
                           const std::string& value) = 0;
  // A missing section is no error; throws StoreError on refusal.
  virtual void EraseSection(const std::string& section) = 0;
  // The section's key names in file order; empty when it is missing.
  virtual std::vector<std::string> ReadSection(const std::string& section) = 0;

  // Decimal, or hexadecimal after "0x", "0X" or "$"; anything else gives
  // `byDefault`.
  int ReadInteger(const std::string& section, const std::string& key, int byDefault);
  void WriteInteger(const std::string& section, const std::string& key, int value);
  // Sets name=value in `lines` for every key of the section (a line of the
  // same name, in any letter case, is replaced; an empty value removes it).
  void ReadSectionValues(const std::string& section, std::vector<std::string>& lines);
};

// Opens a store on a file name.
using StoreOpener = std::function<std::unique_ptr<KeyedStore>(const std::string& fileName)>;

// The line rules both stores share, so that they write and read alike.

// The blanks the profile functions drop around names and values: tab,
// vertical tab, form feed, Ctrl-Z and space (as measured under Wine).
bool IsBlank(char c);
std::string_view TrimBlanks(std::string_view text);
// Whether the platform's functions take `text` (see kMaxTextLength).
bool FitsPlatform(std::string_view text);
// What of a value is written: the part before its first CR, LF or NUL
// (what fits one line), at most kMaxTextLength bytes of it.
std::string_view WritableValue(std::string_view value);
// Whether a name written now reads back as itself. A section name must
// hold no "]", CR, LF or NUL; a key name no "=", CR, LF or NUL, and must
// not begin with "[" (a section line), ";" (a comment that no listing
// shows) or a UTF-8 byte-order mark once its blanks are dropped. Neither may be longer than
// kMaxTextLength.
bool WritableSectionName(std::string_view section);
bool WritableKeyName(std::string_view key);
// The key names in the buffer the platform fills: each ends in a NUL, and
// a last one without its NUL was cut by the buffer's end.
std::vector<std::string> SplitKeyNames(std::string_view buffer);

}  // namespace localizer
