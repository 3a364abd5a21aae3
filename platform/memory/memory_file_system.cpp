#include <algorithm>
#include <cctype>
#include <cstdio>
#include <map>
#include <stdexcept>
#include <string_view>
#include <utility>

#include "platform/memory/memory_machine.h"
#include "platform/memory/unicode.h"

namespace platform::memory {
namespace {

constexpr std::size_t kWindowsDirBuffer = 255;
constexpr std::size_t kExpandBuffer = 260;

struct FsNode {
  std::string name;
  bool directory = false;
  std::uint32_t attributes = 0;
  std::vector<std::uint8_t> head;  // the stored bytes; beyond them the file reads as zeros
  std::uint64_t size = 0;
  FileLock lock = FileLock::None;
  bool ownedByUser = false;  // made by an ordinary user, not by an administrator
  std::optional<std::size_t> failListingAfter;
  std::map<std::string, std::unique_ptr<FsNode>> children;  // by folded name
};

struct ParsedPath {
  std::string drive;  // "C:"
  std::vector<std::string> parts;
  // The path ends in a separator: it names a directory only, and no name
  // to search for.
  bool endsInSeparator = false;
};

constexpr std::string_view kLiteralPrefix = "\\\\?\\";

// A full path "X:\..." as the W file functions read it, as measured under
// Wine. With the "\\?\" prefix it is taken literally: a part may end in
// dots or spaces, while '/', an empty part or a "." or ".." part make it
// invalid. Without the prefix it is normalised first: '/' separates too,
// empty and "." parts vanish, ".." drops the part before it (never the
// drive), a part followed by a separator loses one trailing dot and the last
// part all its trailing dots and spaces. Neither form has a length limit:
// Wine has none for these functions (Windows without the prefix has
// MAX_PATH). nullopt for anything else.
std::optional<ParsedPath> Parse(const std::string& path) {
  const bool literal = path.starts_with(kLiteralPrefix);
  const std::string_view rest =
      std::string_view(path).substr(literal ? kLiteralPrefix.size() : 0);
  if (rest.size() < 2 || rest[1] != ':' || !std::isalpha(static_cast<unsigned char>(rest[0]))) {
    return std::nullopt;
  }
  if (literal && (rest.size() < 3 || rest[2] != '\\')) return std::nullopt;
  ParsedPath parsed;
  parsed.drive = {static_cast<char>(std::toupper(static_cast<unsigned char>(rest[0]))), ':'};
  // What lies between the separators, empty parts included.
  std::vector<std::string> raw(1);
  for (const char c : rest.substr(2)) {
    if (c == '\\' || (!literal && c == '/')) {
      raw.emplace_back();
    } else {
      raw.back() += c;
    }
  }
  parsed.endsInSeparator = raw.back().empty();

  if (literal) {
    // raw[0] is the nothing between the drive and its separator.
    for (std::size_t i = 1; i < raw.size(); ++i) {
      const std::string& part = raw[i];
      if (part.empty() && i + 1 == raw.size()) break;
      if (part.empty() || part == "." || part == ".." || part.find('/') != std::string::npos) {
        return std::nullopt;
      }
      parsed.parts.push_back(part);
    }
    return parsed;
  }

  for (std::size_t i = 0; i < raw.size(); ++i) {
    std::string part = raw[i];
    if (part.empty() || part == ".") continue;
    if (part == "..") {
      if (!parsed.parts.empty()) parsed.parts.pop_back();
      continue;
    }
    if (i + 1 == raw.size()) {
      const std::size_t end = part.find_last_not_of(". ");
      if (end == std::string::npos) {
        // Nothing left of the last part: the path names its directory.
        parsed.endsInSeparator = true;
        continue;
      }
      part.erase(end + 1);
    } else if (part.back() == '.') {
      part.pop_back();
    }
    parsed.parts.push_back(part);
  }
  // "..." before a separator became "..", which names nothing.
  if (std::ranges::find(parsed.parts, "..") != parsed.parts.end()) return std::nullopt;
  return parsed;
}

// Case-insensitive wildcard match with '*' and '?'; "*.*" matches every name.
bool Matches(const std::string& pattern, const std::string& name) {
  if (pattern == "*.*") return true;
  const std::string p = FoldAscii(pattern);
  const std::string n = FoldAscii(name);
  std::size_t pi = 0, ni = 0, starP = std::string::npos, starN = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi, ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      starP = pi++, starN = ni;
    } else if (starP != std::string::npos) {
      pi = starP + 1, ni = ++starN;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*') ++pi;
  return pi == p.size();
}

std::uint32_t ReportedAttributes(const FsNode& node) {
  if (node.directory) return node.attributes | kAttributeDirectory;
  return node.attributes == 0 ? kAttributeNormal : node.attributes;
}

std::string Hex(const std::vector<std::uint8_t>& bytes) {
  std::string out;
  for (std::uint8_t b : bytes) {
    char hex[4];
    std::snprintf(hex, sizeof hex, " %02x", b);
    out += hex;
  }
  return out;
}

void DumpNode(const FsNode& node, const std::string& path, std::string& out) {
  char line[96];
  if (node.directory) {
    std::snprintf(line, sizeof line, "\\ attributes %08x", ReportedAttributes(node));
    out += path + line + (node.failListingAfter ? " [listing fails]" : "") + "\n";
    for (const auto& [folded, child] : node.children) {
      DumpNode(*child, path + "\\" + child->name, out);
    }
    return;
  }
  std::snprintf(line, sizeof line, " attributes %08x size %llu", ReportedAttributes(node),
                static_cast<unsigned long long>(node.size));
  const char* lock = node.lock == FileLock::Exclusive ? " [locked]"
                     : node.lock == FileLock::HeldOpenForWriting ? " [held open]"
                                                                 : "";
  out += path + line + lock + " =" + Hex(node.head) + "\n";
}

// Reads a file's bytes: the stored ones, then zeros up to its size.
class NodeReader : public FileReader {
 public:
  NodeReader(const FsNode& node, std::size_t& largestRead)
      : head_(node.head), size_(node.size), largestRead_(largestRead) {}
  std::uint64_t Size() const override { return size_; }
  bool Seek(std::uint64_t offset) override {
    position_ = offset;
    return true;
  }
  std::optional<std::size_t> Read(std::uint8_t* buffer, std::size_t count) override {
    if (position_ >= size_) return 0;
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(count, size_ - position_));
    largestRead_ = std::max(largestRead_, n);
    for (std::size_t i = 0; i < n; ++i) {
      const std::uint64_t at = position_ + i;
      buffer[i] = at < head_.size() ? head_[static_cast<std::size_t>(at)] : 0;
    }
    position_ += n;
    return n;
  }

 private:
  // A copy: the file may be deleted while it is open.
  std::vector<std::uint8_t> head_;
  std::uint64_t size_;
  std::size_t& largestRead_;
  std::uint64_t position_ = 0;
};

// Appends to a new file, which nobody else may open until it is closed.
class NodeWriter : public FileWriter {
 public:
  NodeWriter(FsNode& node, std::uint64_t* freeSpace) : node_(node), freeSpace_(freeSpace) {}
  ~NodeWriter() override { node_.lock = FileLock::None; }
  NodeWriter(const NodeWriter&) = delete;
  NodeWriter& operator=(const NodeWriter&) = delete;

  bool Write(const std::uint8_t* bytes, std::size_t count) override {
    std::size_t fits = count;
    if (freeSpace_) fits = static_cast<std::size_t>(std::min<std::uint64_t>(count, *freeSpace_));
    node_.head.insert(node_.head.end(), bytes, bytes + fits);
    node_.size += fits;
    if (freeSpace_) *freeSpace_ -= fits;
    return fits == count;
  }
  bool Flush() override { return true; }

 private:
  FsNode& node_;
  std::uint64_t* freeSpace_;
};

}  // namespace

struct MemoryFileSystem::State {
  std::map<std::string, std::unique_ptr<FsNode>> drives;  // by "C:"
  std::map<std::string, std::uint64_t> freeSpace;        // by "C:"; unlimited when absent
  std::vector<std::string> pendingRemovals;
  std::optional<std::string> windowsDirectory = std::string("C:\\WINDOWS");
  std::map<std::string, std::pair<std::string, std::string>> environment;  // folded -> name, value
  std::size_t largestRead = 0;

  FsNode* Find(const std::string& path) const {
    const auto parsed = Parse(path);
    return parsed ? Find(*parsed) : nullptr;
  }

  FsNode* Find(const ParsedPath& parsed) const {
    const auto drive = drives.find(parsed.drive);
    if (drive == drives.end()) return nullptr;
    FsNode* node = drive->second.get();
    for (const auto& part : parsed.parts) {
      const auto it = node->children.find(FoldAscii(part));
      if (it == node->children.end()) return nullptr;
      node = it->second.get();
    }
    if (parsed.endsInSeparator && !node->directory) return nullptr;
    return node;
  }

  // The directory holding the last part of `parsed`, which must exist;
  // 0 when the part exists there too, else the error a lookup gives.
  std::uint32_t FindChild(const std::optional<ParsedPath>& parsed, FsNode** parent) const {
    if (!parsed || parsed->parts.empty() || parsed->endsInSeparator) return kFileErrorPathNotFound;
    ParsedPath up = *parsed;
    up.parts.pop_back();
    FsNode* dir = Find(up);
    if (!dir || !dir->directory) return kFileErrorPathNotFound;
    *parent = dir;
    return dir->children.contains(FoldAscii(parsed->parts.back())) ? 0 : kFileErrorNotFound;
  }

  std::uint64_t* FreeSpaceOf(const std::string& drive) {
    const auto it = freeSpace.find(drive);
    return it == freeSpace.end() ? nullptr : &it->second;
  }

  // The node of `path`, created with its parent directories; the last part
  // becomes a file when `file` is set (replacing whatever was there).
  FsNode& Create(const std::string& path, bool file) {
    const auto parsed = Parse(path);
    if (!parsed || (file && (parsed->parts.empty() || parsed->endsInSeparator))) {
      throw std::invalid_argument("not a full Windows path: " + path);
    }
    auto& drive = drives[parsed->drive];
    if (!drive) {
      drive = std::make_unique<FsNode>();
      drive->name = parsed->drive;
      drive->directory = true;
    }
    FsNode* node = drive.get();
    for (std::size_t i = 0; i < parsed->parts.size(); ++i) {
      const bool last = i + 1 == parsed->parts.size();
      auto& slot = node->children[FoldAscii(parsed->parts[i])];
      if (!slot || (last && file) || !slot->directory) {
        slot = std::make_unique<FsNode>();
        slot->name = parsed->parts[i];
        slot->directory = !(last && file);
      }
      node = slot.get();
    }
    return *node;
  }

  // The entries of a directory that match `pattern`; "." and ".." are
  // listed for every directory but a drive root, as Windows does.
  static std::vector<DirEntry> Entries(const FsNode& dir, bool root, const std::string& pattern) {
    std::vector<DirEntry> entries;
    if (!root) {
      for (const char* dots : {".", ".."}) {
        if (Matches(pattern, dots)) entries.push_back({dots, kAttributeDirectory});
      }
    }
    for (const auto& [folded, child] : dir.children) {
      if (Matches(pattern, child->name)) {
        entries.push_back({child->name, ReportedAttributes(*child)});
      }
    }
    return entries;
  }

  // Lists the entries of "<dir>\<pattern>" (the path's last part is the
  // pattern); nullopt when the directory is missing.
  std::optional<std::vector<DirEntry>> Search(const std::string& path, const FsNode** dir) const {
    auto parsed = Parse(path);
    if (!parsed || parsed->endsInSeparator || parsed->parts.empty()) return std::nullopt;
    const std::string pattern = parsed->parts.back();
    parsed->parts.pop_back();
    const FsNode* node = Find(*parsed);
    if (!node || !node->directory) return std::nullopt;
    if (dir) *dir = node;
    return Entries(*node, parsed->parts.empty(), pattern);
  }
};

MemoryFileSystem::MemoryFileSystem() : state_(std::make_unique<State>()) {
  SetEnvironment("SystemRoot", "C:\\WINDOWS");
  SetEnvironment("windir", "C:\\WINDOWS");
  SetEnvironment("ProgramData", "C:\\ProgramData");
  AddDirectory("C:\\ProgramData");
}
MemoryFileSystem::~MemoryFileSystem() = default;

void MemoryFileSystem::SetWindowsDirectory(std::optional<std::string> directory) {
  state_->windowsDirectory = std::move(directory);
}

void MemoryFileSystem::SetEnvironment(const std::string& name, const std::string& value) {
  state_->environment[FoldAscii(name)] = {name, value};
}

void MemoryFileSystem::AddFile(const std::string& path, const std::vector<std::uint8_t>& content,
                               std::uint32_t attributes) {
  FsNode& node = state_->Create(path, true);
  node.head = content;
  node.size = content.size();
  node.attributes = attributes & ~kAttributeDirectory;
}

void MemoryFileSystem::AddSparseFile(const std::string& path, std::uint64_t size,
                                     const std::vector<std::uint8_t>& head) {
  FsNode& node = state_->Create(path, true);
  node.head.assign(head.begin(), head.begin() + static_cast<std::ptrdiff_t>(
                                                    std::min<std::uint64_t>(head.size(), size)));
  node.size = size;
  node.attributes = kAttributeArchive;
}

void MemoryFileSystem::AddDirectory(const std::string& path) { state_->Create(path, false); }

void MemoryFileSystem::AddUserDirectory(const std::string& path) {
  state_->Create(path, false).ownedByUser = true;
}

void MemoryFileSystem::LockFile(const std::string& path) {
  FsNode* node = state_->Find(path);
  if (!node || node->directory) throw std::invalid_argument("no such file to lock: " + path);
  node->lock = FileLock::Exclusive;
}

void MemoryFileSystem::HoldOpenForWriting(const std::string& path) {
  FsNode* node = state_->Find(path);
  if (!node || node->directory) throw std::invalid_argument("no such file to hold: " + path);
  node->lock = FileLock::HeldOpenForWriting;
}

void MemoryFileSystem::SetFreeSpace(const std::string& drive, std::uint64_t bytes) {
  state_->freeSpace[drive] = bytes;
}

const std::vector<std::string>& MemoryFileSystem::PendingRemovals() const {
  return state_->pendingRemovals;
}

void MemoryFileSystem::Restart() {
  // Every process is gone: nothing holds a file any more.
  std::vector<FsNode*> stack;
  for (auto& [drive, node] : state_->drives) stack.push_back(node.get());
  while (!stack.empty()) {
    FsNode* node = stack.back();
    stack.pop_back();
    node->lock = FileLock::None;
    for (auto& [folded, child] : node->children) stack.push_back(child.get());
  }
  for (const std::string& path : std::exchange(state_->pendingRemovals, {})) {
    const auto parsed = Parse(path);
    FsNode* node = parsed ? state_->Find(*parsed) : nullptr;
    if (!node || node->directory) continue;
    ParsedPath parent = *parsed;
    parent.parts.pop_back();
    state_->Find(parent)->children.erase(FoldAscii(parsed->parts.back()));
  }
}

void MemoryFileSystem::FailListing(const std::string& directory, std::size_t entriesBeforeError) {
  state_->Create(directory, false).failListingAfter = entriesBeforeError;
}

bool MemoryFileSystem::Exists(const std::string& path) const {
  return state_->Find(path) != nullptr;
}

std::optional<std::uint32_t> MemoryFileSystem::Attributes(const std::string& path) const {
  const FsNode* node = state_->Find(path);
  if (!node) return std::nullopt;
  return ReportedAttributes(*node);
}

std::string MemoryFileSystem::Dump() const {
  std::string out;
  for (const auto& [drive, node] : state_->drives) DumpNode(*node, node->name, out);
  return out;
}

std::size_t MemoryFileSystem::LargestRead() const { return state_->largestRead; }

std::optional<std::string> MemoryFileSystem::WindowsDirectory() {
  const auto& dir = state_->windowsDirectory;
  if (!dir || Utf8ToUtf16(*dir).size() + 1 > kWindowsDirBuffer) return std::nullopt;
  return dir;
}

std::optional<std::string> MemoryFileSystem::ExpandEnvironment(const std::string& text) {
  // Like the system: a known %NAME% is replaced, an unknown one is copied
  // with both percent signs, and a lone percent sign stays as it is.
  std::string out;
  std::size_t i = 0;
  while (i < text.size()) {
    const std::size_t open = text.find('%', i);
    if (open == std::string::npos) {
      out += text.substr(i);
      break;
    }
    out += text.substr(i, open - i);
    const std::size_t close = text.find('%', open + 1);
    if (close == std::string::npos) {
      out += text.substr(open);
      break;
    }
    const auto it = state_->environment.find(FoldAscii(text.substr(open + 1, close - open - 1)));
    out += it != state_->environment.end() ? it->second.second
                                           : text.substr(open, close - open + 1);
    i = close + 1;
  }
  if (Utf8ToUtf16(out).size() + 1 > kExpandBuffer) return std::nullopt;
  return out;
}

bool MemoryFileSystem::FileExists(const std::string& path) {
  const auto entries = state_->Search(path, nullptr);
  return entries && !entries->empty() && !(entries->front().attributes & kAttributeDirectory);
}

std::vector<DirEntry> MemoryFileSystem::ListDirectory(const std::string& pattern) {
  const FsNode* dir = nullptr;
  auto entries = state_->Search(pattern, &dir);
  if (!entries) return {};
  if (dir->failListingAfter && *dir->failListingAfter < entries->size()) {
    entries->resize(*dir->failListingAfter);
  }
  return *entries;
}

std::optional<FileHead> MemoryFileSystem::ReadHead(const std::string& path, std::size_t maxBytes) {
  const FsNode* node = state_->Find(path);
  // Reading denies others write access: a file someone holds open fails.
  if (!node || node->directory || node->lock != FileLock::None) return std::nullopt;
  const auto count = static_cast<std::size_t>(std::min<std::uint64_t>(maxBytes, node->size));
  state_->largestRead = std::max(state_->largestRead, count);
  FileHead head;
  head.size = node->size;
  head.bytes.assign(count, 0);
  std::copy_n(node->head.begin(), std::min(count, node->head.size()), head.bytes.begin());
  return head;
}

bool MemoryFileSystem::SetAttributes(const std::string& path, std::uint32_t attributes) {
  FsNode* node = state_->Find(path);
  if (!node) return false;
  node->attributes = attributes & ~kAttributeDirectory;
  return true;
}

FileResult MemoryFileSystem::RemoveFile(const std::string& path) {
  FsNode* parent = nullptr;
  const auto parsed = Parse(path);
  if (const auto error = state_->FindChild(parsed, &parent)) return {error};
  FsNode* node = parent->children.at(FoldAscii(parsed->parts.back())).get();
  if (node->directory || (node->attributes & kAttributeReadOnly)) return {kFileErrorAccessDenied};
  if (node->lock != FileLock::None) return {kFileErrorSharingViolation};
  parent->children.erase(FoldAscii(parsed->parts.back()));
  return {};
}

std::optional<std::uint32_t> MemoryFileSystem::GetAttributes(const std::string& path) {
  return Attributes(path);
}

std::unique_ptr<FileReader> MemoryFileSystem::OpenReader(const std::string& path) {
  const FsNode* node = state_->Find(path);
  if (!node || node->directory || node->lock == FileLock::Exclusive) return nullptr;
  return std::make_unique<NodeReader>(*node, state_->largestRead);
}

std::unique_ptr<FileWriter> MemoryFileSystem::CreateWriter(const std::string& path, bool replace) {
  FsNode* parent = nullptr;
  const auto parsed = Parse(path);
  const auto error = state_->FindChild(parsed, &parent);
  if (error == kFileErrorPathNotFound || (error && error != kFileErrorNotFound)) return nullptr;
  if (!error) {
    const FsNode& existing = *parent->children.at(FoldAscii(parsed->parts.back()));
    // CREATE_ALWAYS with normal attributes refuses a hidden, system or
    // read-only file, as the system does.
    if (!replace || existing.directory || existing.lock != FileLock::None ||
        (existing.attributes & (kAttributeReadOnly | kAttributeHidden | kAttributeSystem))) {
      return nullptr;
    }
  }
  auto& slot = parent->children[FoldAscii(parsed->parts.back())];
  slot = std::make_unique<FsNode>();
  slot->name = parsed->parts.back();
  slot->attributes = kAttributeArchive;
  slot->lock = FileLock::Exclusive;
  return std::make_unique<NodeWriter>(*slot, state_->FreeSpaceOf(parsed->drive));
}

bool MemoryFileSystem::MakeAdministratorsDirectory(const std::string& path) {
  FsNode* parent = nullptr;
  const auto parsed = Parse(path);
  if (!state_->FindChild(parsed, &parent)) {
    const FsNode& existing = *parent->children.at(FoldAscii(parsed->parts.back()));
    return existing.directory && !existing.ownedByUser;
  }
  return MakeDirectory(path);
}

bool MemoryFileSystem::MakeDirectory(const std::string& path) {
  FsNode* parent = nullptr;
  const auto parsed = Parse(path);
  const auto error = state_->FindChild(parsed, &parent);
  if (!error) return parent->children.at(FoldAscii(parsed->parts.back()))->directory;
  if (error != kFileErrorNotFound) return false;
  auto& slot = parent->children[FoldAscii(parsed->parts.back())];
  slot = std::make_unique<FsNode>();
  slot->name = parsed->parts.back();
  slot->directory = true;
  return true;
}

bool MemoryFileSystem::MoveOver(const std::string& from, const std::string& to) {
  FsNode* fromParent = nullptr;
  FsNode* toParent = nullptr;
  const auto source = Parse(from);
  const auto target = Parse(to);
  if (state_->FindChild(source, &fromParent)) return false;
  const auto error = state_->FindChild(target, &toParent);
  if (error && error != kFileErrorNotFound) return false;
  // MoveFileEx without MOVEFILE_COPY_ALLOWED stays on one volume.
  if (source->drive != target->drive) return false;
  auto& node = fromParent->children.at(FoldAscii(source->parts.back()));
  if (node->directory || node->lock != FileLock::None) return false;
  if (!error) {
    const FsNode& existing = *toParent->children.at(FoldAscii(target->parts.back()));
    if (&existing == node.get()) return true;
    if (existing.directory || existing.lock != FileLock::None ||
        (existing.attributes & kAttributeReadOnly)) {
      return false;
    }
  }
  std::unique_ptr<FsNode> moved = std::move(node);
  fromParent->children.erase(FoldAscii(source->parts.back()));
  moved->name = target->parts.back();
  toParent->children[FoldAscii(target->parts.back())] = std::move(moved);
  return true;
}

bool MemoryFileSystem::RemoveAtRestart(const std::string& path) {
  // The system records the name without checking it.
  if (!Parse(path)) return false;
  state_->pendingRemovals.push_back(path);
  return true;
}

}  // namespace platform::memory
