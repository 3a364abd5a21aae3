#include "localizer/file_store.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <utility>

namespace localizer {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kLineEnd = "\r\n";
constexpr std::size_t kReadChunk = 64 * 1024;
// Temporary names tried beside the file before a write gives up.
constexpr int kTemporaryNames = 16;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

std::string Fold(std::string_view text) {
  std::string folded(text);
  for (char& c : folded) c = Lower(c);
  return folded;
}

bool SameName(std::string_view a, std::string_view b) {
  return std::ranges::equal(a, b, [](char x, char y) { return Lower(x) == Lower(y); });
}

// A name or value as the profile functions see it: a NUL ends it, blanks
// around it carry no meaning.
std::string_view Clean(std::string_view text) { return TrimBlanks(text.substr(0, text.find('\0'))); }

// The name of a section line: after any blanks a "[", and what lies between
// it and the line's last "]". A line without that "]" opens no section.
std::optional<std::string_view> SectionName(std::string_view line) {
  std::size_t open = 0;
  while (open < line.size() && IsBlank(line[open])) ++open;
  if (open == line.size() || line[open] != '[') return std::nullopt;
  const std::size_t close = line.rfind(']');
  if (close == std::string_view::npos || close < open) return std::nullopt;
  return Clean(line.substr(open + 1, close - open - 1));
}

struct Entry {
  std::string_view key;
  std::string_view value;
};

// A line key=value; the first "=" divides it. Other lines are kept in the
// file but hold no entry.
std::optional<Entry> EntryOf(std::string_view line) {
  const std::size_t equals = line.find('=');
  if (equals == std::string_view::npos) return std::nullopt;
  return Entry{Clean(line.substr(0, equals)), Clean(line.substr(equals + 1))};
}

// A value as a read returns it: one pair of enclosing quotes dropped, then
// cut to the longest value. A quoted value of exactly the longest length
// loses one more character, as the profile functions' buffer handling
// does under Wine.
std::string ValueRead(std::string_view value) {
  std::size_t limit = KeyedStore::kMaxValueLength;
  if (value.size() > 1 && (value.front() == '"' || value.front() == '\'') &&
      value.back() == value.front()) {
    value = value.substr(1, value.size() - 2);
    if (value.size() == KeyedStore::kMaxValueLength) --limit;
  }
  return std::string(value.substr(0, limit));
}

}  // namespace

FileStore::FileStore(platform::FileSystem& files, std::string fileName)
    : files_(files), fileName_(std::move(fileName)) {}

void FileStore::Load() {
  if (state_ != State::Unread) return;
  byteOrderMark_ = false;
  Parse({});
  const auto reader = files_.OpenReader(fileName_);
  if (!reader) {
    // A folder, or a file someone holds locked, reads as empty but must
    // not be written over.
    state_ = files_.GetAttributes(fileName_) ? State::Unreadable : State::Missing;
    return;
  }
  std::string text;
  std::vector<std::uint8_t> chunk(kReadChunk);
  for (;;) {
    const auto got = reader->Read(chunk.data(), chunk.size());
    if (!got) {
      state_ = State::Unreadable;
      return;
    }
    if (*got == 0) break;
    text.append(reinterpret_cast<const char*>(chunk.data()), *got);
  }
  std::string_view body = text;
  if (body.starts_with(kByteOrderMark)) {
    byteOrderMark_ = true;
    body.remove_prefix(kByteOrderMark.size());
  }
  Parse(body);
  state_ = State::Read;
}

void FileStore::Parse(std::string_view text) {
  sections_.clear();
  first_.clear();
  sections_.push_back({});
  first_.emplace("", sections_.begin());
  while (!text.empty()) {
    const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
    const std::string_view line = text.substr(0, end);
    std::size_t next = end;
    if (next < text.size()) next += text.compare(next, 2, kLineEnd) == 0 ? 2 : 1;
    text.remove_prefix(next);
    if (const auto name = SectionName(line)) {
      sections_.push_back({std::string(line), Fold(*name), {}});
      first_.emplace(sections_.back().folded, std::prev(sections_.end()));
    } else {
      sections_.back().lines.emplace_back(line);
    }
  }
}

FileStore::SectionList::iterator FileStore::Find(std::string_view name) {
  const auto found = first_.find(Fold(Clean(name)));
  return found == first_.end() ? sections_.end() : found->second;
}

void FileStore::RequireWritable() {
  Load();
  if (state_ == State::Unreadable) throw StoreError(fileName_);
}

std::string FileStore::ReadString(const std::string& section, const std::string& key,
                                  const std::string& byDefault) {
  if (!FitsPlatform(section) || !FitsPlatform(key)) return byDefault;
  Load();
  const auto found = Find(section);
  if (found == sections_.end()) return byDefault;
  const std::string_view wanted = Clean(key);
  for (const std::string& line : found->lines) {
    const auto entry = EntryOf(line);
    if (entry && SameName(entry->key, wanted)) return ValueRead(entry->value);
  }
  return byDefault;
}

std::vector<std::string> FileStore::ReadSection(const std::string& section) {
  if (!FitsPlatform(section)) return {};
  Load();
  const auto found = Find(section);
  if (found == sections_.end()) return {};
  // The names as the platform's buffer carries them: each with its NUL,
  // comments left out, everything past the buffer's last two bytes cut.
  const std::size_t room = kSectionNamesBuffer - 2;
  std::string buffer;
  for (const std::string& line : found->lines) {
    const auto entry = EntryOf(line);
    if (!entry || entry->key.starts_with(';')) continue;
    buffer.append(entry->key);
    buffer.push_back('\0');
    if (buffer.size() >= room) break;
  }
  if (buffer.size() > room) buffer.resize(room);
  return SplitKeyNames(buffer);
}

void FileStore::WriteString(const std::string& section, const std::string& key,
                            const std::string& value) {
  if (!WritableSectionName(section) || !WritableKeyName(key)) throw StoreError(fileName_);
  RequireWritable();
  const std::string_view name = TrimBlanks(section);
  const std::string_view keyName = TrimBlanks(key);
  const std::string_view text = TrimBlanks(WritableValue(value));
  auto found = Find(name);
  if (found == sections_.end()) {
    sections_.push_back({"[" + std::string(name) + "]", Fold(name), {}});
    found = std::prev(sections_.end());
    first_.emplace(found->folded, found);
  }
  auto& lines = found->lines;
  const auto same = std::ranges::find_if(lines, [&](const std::string& line) {
    const auto entry = EntryOf(line);
    return entry && SameName(entry->key, keyName);
  });
  if (same != lines.end()) {
    // The key keeps the spelling it has in the file.
    *same = std::string(EntryOf(*same)->key) + "=" + std::string(text);
  } else {
    // After the section's last line that is not blank, so that blank lines
    // before the next section stay there.
    auto at = lines.end();
    while (at != lines.begin() && TrimBlanks(*std::prev(at)).empty()) --at;
    lines.insert(at, std::string(keyName) + "=" + std::string(text));
  }
  Save();
}

void FileStore::EraseSection(const std::string& section) {
  if (!WritableSectionName(section)) throw StoreError(fileName_);
  RequireWritable();
  if (state_ == State::Missing) {
    // Nothing to erase; the platform still refuses a file in a folder
    // that is not there.
    const std::size_t slash = fileName_.find_last_of("\\/");
    const auto folder =
        slash == std::string::npos ? std::nullopt : files_.GetAttributes(fileName_.substr(0, slash));
    if (!folder || !(*folder & platform::kAttributeDirectory)) throw StoreError(fileName_);
    return;
  }
  const auto found = Find(section);
  if (found == sections_.end()) return;
  if (found == sections_.begin()) {
    // The lines before the first section line have no line of their own to
    // remove.
    found->lines.clear();
  } else {
    const std::string folded = found->folded;
    const auto after = sections_.erase(found);
    const auto next = std::find_if(after, sections_.end(),
                                   [&](const Section& s) { return s.folded == folded; });
    if (next == sections_.end()) {
      first_.erase(folded);
    } else {
      first_[folded] = next;
    }
  }
  Save();
}

void FileStore::Save() {
  std::size_t size = byteOrderMark_ ? kByteOrderMark.size() : 0;
  for (const Section& section : sections_) {
    if (!section.header.empty()) size += section.header.size() + kLineEnd.size();
    for (const std::string& line : section.lines) size += line.size() + kLineEnd.size();
  }
  std::string text;
  text.reserve(size);
  if (byteOrderMark_) text += kByteOrderMark;
  for (const Section& section : sections_) {
    if (!section.header.empty()) (text += section.header) += kLineEnd;
    for (const std::string& line : section.lines) (text += line) += kLineEnd;
  }

  for (int n = 1; n <= kTemporaryNames; ++n) {
    const std::string temporary = fileName_ + ".~" + std::to_string(n);
    auto writer = files_.CreateWriter(temporary, false);
    if (!writer) {
      if (files_.GetAttributes(temporary)) continue;  // a leftover of an earlier write
      break;
    }
    const bool written =
        (text.empty() || writer->Write(reinterpret_cast<const std::uint8_t*>(text.data()),
                                       text.size())) &&
        writer->Flush();
    writer.reset();
    if (written && files_.MoveOver(temporary, fileName_)) {
      state_ = State::Read;
      return;
    }
    files_.RemoveFile(temporary);
    break;
  }
  // The change never reached the file: read it afresh next time.
  state_ = State::Unread;
  throw StoreError(fileName_);
}

StoreOpener FileStoreOpener(platform::FileSystem& files) {
  return [&files](const std::string& fileName) {
    return std::make_unique<FileStore>(files, fileName);
  };
}

}  // namespace localizer
