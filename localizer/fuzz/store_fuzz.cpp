// A language data file of any content, then reads and writes of the
// portable store driven by it: names taken from the file's own lines and
// from a set of awkward ones, values from a set of awkward ones. What must
// hold: nothing but a name that cannot be written is refused (or any write
// on a full disk, which leaves the file as it was); a written value reads
// back cut as documented; sections of other names stay as they were; and
// the store shows what its file holds, as a store opened afresh reads it.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "localizer/file_store.h"
#include "platform/memory/memory_machine.h"

namespace {

using localizer::FileStore;
using localizer::KeyedStore;

constexpr const char* kFile = "C:\\Lang\\fuzz.loc";
constexpr int kOperations = 24;

void Require(bool condition) {
  if (!condition) std::abort();
}

std::string Folded(std::string_view name) {
  if (!localizer::FitsPlatform(name)) return std::string(name);  // finds nothing anyway
  name = localizer::TrimBlanks(name.substr(0, name.find('\0')));
  std::string folded(name);
  for (char& c : folded) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return folded;
}

// What a read of a written value gives, worked out apart from the store.
std::string ValueReadBack(std::string_view value) {
  value = value.substr(0, value.find_first_of(std::string_view("\r\n\0", 3)));
  value = localizer::TrimBlanks(value);
  std::size_t limit = KeyedStore::kMaxValueLength;
  if (value.size() > 1 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
    value = value.substr(1, value.size() - 2);
    if (value.size() == KeyedStore::kMaxValueLength) limit = KeyedStore::kMaxValueLength - 1;
  }
  return std::string(value.substr(0, limit));
}

// Section and key names as the file's lines spell them, blanks included.
std::vector<std::string> NamesIn(std::string_view text) {
  std::vector<std::string> names;
  while (!text.empty() && names.size() < 64) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    text.remove_prefix(std::min(end + 1, text.size()));
    const std::size_t open = line.find('['), close = line.rfind(']');
    if (open != std::string_view::npos && close != std::string_view::npos && open < close) {
      names.emplace_back(line.substr(open + 1, close - open - 1));
    } else if (const std::size_t equals = line.find('='); equals != std::string_view::npos) {
      names.emplace_back(line.substr(0, equals));
    }
  }
  return names;
}

// What a section shows: its key names and the value of each.
std::vector<std::string> Show(KeyedStore& store, const std::string& section) {
  std::vector<std::string> shown;
  for (const std::string& key : store.ReadSection(section)) {
    shown.push_back(key + "=" + store.ReadString(section, key, "\x01"));
  }
  return shown;
}

std::vector<std::uint8_t> Content(platform::memory::MemoryFileSystem& files) {
  const auto head = files.ReadHead(kFile, 1 << 26);
  return head ? head->bytes : std::vector<std::uint8_t>{};
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::uint64_t state = 1469598103934665603ull;  // FNV-1a of the input steers the operations
  for (const char c : text) state = (state ^ static_cast<unsigned char>(c)) * 1099511628211ull;
  const auto next = [&state](std::size_t bound) {
    state ^= state << 13, state ^= state >> 7, state ^= state << 17;
    return static_cast<std::size_t>(state % bound);
  };

  std::vector<std::string> names = NamesIn(text);
  for (const char* name : {"", " s ", "Wellgrist.@Data", "NEW.Section", "a]b", "k=x", ";c", " [x",
                           "two\r\nlines"}) {
    names.emplace_back(name);
  }
  names.emplace_back("nul\0inside", 10);
  names.emplace_back(KeyedStore::kMaxTextLength + 1, 'n');
  const std::vector<std::string> values = {
      "", "v", "  padded\t", "\"quoted\"", "'", "\"", "one\r\ntwo=2\r\n[Injected]",
      std::string("a\0b", 3), '"' + std::string(KeyedStore::kMaxValueLength, 'q') + '"',
      std::string(KeyedStore::kMaxValueLength + 1, 'x'),
  };

  platform::memory::MemoryMachine machine;
  machine.files.AddFile(kFile, std::vector<std::uint8_t>(data, data + size));
  const bool fullDisk = next(4) == 0;
  if (fullDisk) machine.files.SetFreeSpace("C:", next(size + 64));
  FileStore store(machine.files, kFile);

  for (int i = 0; i < kOperations; ++i) {
    const std::string& section = names[next(names.size())];
    const std::string& key = names[next(names.size())];
    const std::string& other = names[next(names.size())];
    const bool otherSection = Folded(other) != Folded(section);
    const std::vector<std::string> otherBefore = Show(store, other);
    const std::size_t operation = next(6);
    const std::vector<std::uint8_t> before =
        operation < 2 ? Content(machine.files) : std::vector<std::uint8_t>{};
    switch (operation) {
      case 0: {
        const std::string& value = values[next(values.size())];
        const bool writable =
            localizer::WritableSectionName(section) && localizer::WritableKeyName(key);
        try {
          store.WriteString(section, key, value);
          Require(writable);
          Require(store.ReadString(section, key, "\x01") == ValueReadBack(value));
        } catch (const localizer::StoreError&) {
          Require(!writable || fullDisk);
          Require(Content(machine.files) == before);
        }
        break;
      }
      case 1: {
        const bool writable = localizer::WritableSectionName(section);
        try {
          store.EraseSection(section);
          Require(writable);
        } catch (const localizer::StoreError&) {
          Require(!writable || fullDisk);
          Require(Content(machine.files) == before);
        }
        break;
      }
      case 2: {
        const std::string value = store.ReadString(section, key, "\x01");
        Require(value == "\x01" || value.size() <= KeyedStore::kMaxValueLength);
        Require(value.find_first_of("\r\n") == std::string::npos);
        break;
      }
      case 3: {
        std::size_t bytes = 0;
        for (const std::string& name : store.ReadSection(section)) bytes += name.size() + 1;
        Require(bytes <= KeyedStore::kSectionNamesBuffer - 1);
        break;
      }
      case 4: {
        std::vector<std::string> lines;
        store.ReadSectionValues(section, lines);
        std::vector<std::string> seen;
        for (const std::string& line : lines) {
          const std::string name = line.substr(0, line.find('='));
          for (const std::string& earlier : seen) Require(Folded(earlier) != Folded(name));
          seen.push_back(name);
          Require(line.size() > name.size() + 1);  // an empty value leaves no line
        }
        break;
      }
      default:
        store.ReadInteger(section, key, 8);
        break;
    }
    if (otherSection) Require(Show(store, other) == otherBefore);
    FileStore fresh(machine.files, kFile);
    Require(Show(fresh, section) == Show(store, section));
    Require(Show(fresh, other) == Show(store, other));
  }
  return 0;
}
