#include "quarantine/quarantine.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <memory>

#include "platform/utf8.h"
#include "quarantine/key_tree.h"

namespace quarantine {
namespace {

constexpr std::size_t kChunk = 64 * 1024;
// A key tree is held in memory whole when it is put back; no service key
// comes near this.
constexpr std::uint64_t kLargestKeyTree = 64 * 1024 * 1024;
constexpr const char* kItemExtension = ".qri";
constexpr std::size_t kLongestId = 9;

// Reads exactly `count` bytes.
bool ReadExact(platform::FileReader& reader, std::uint8_t* bytes, std::size_t count) {
  while (count > 0) {
    const auto got = reader.Read(bytes, count);
    if (!got || *got == 0) return false;
    bytes += *got;
    count -= *got;
  }
  return true;
}

bool IsId(const std::string& id) {
  return !id.empty() && id.size() <= kLongestId &&
         std::all_of(id.begin(), id.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::optional<platform::RegKey> RootOf(const std::string& entry) {
  const std::string prefix = entry.substr(0, 4);
  if (prefix == "HKLM") return platform::kLocalMachine;
  if (prefix == "HKCU") return platform::kCurrentUser;
  if (prefix == "HKCR") return platform::kClassesRoot;
  return std::nullopt;
}

std::u16string KeyPathOf(const std::string& entry) {
  std::string path = entry.substr(4);
  if (path.starts_with("\\")) path.erase(0, 1);
  return platform::Utf8ToUtf16(path);
}

// An opened item: where its payload lies and what its header and trailer say.
struct OpenItem {
  std::unique_ptr<platform::FileReader> reader;
  ItemInfo info;
  std::uint64_t payloadOffset = 0;
};

std::optional<OpenItem> ReadItem(platform::FileSystem& files, const std::string& path,
                                 const std::string& id) {
  OpenItem item;
  item.reader = files.OpenReader(path);
  if (!item.reader) return std::nullopt;
  const std::uint64_t size = item.reader->Size();
  if (size < kFixedHeaderSize + kTrailerSize) return std::nullopt;
  std::array<std::uint8_t, kFixedHeaderSize> fixed;
  if (!ReadExact(*item.reader, fixed.data(), fixed.size())) return std::nullopt;
  std::uint32_t pathLength = 0;
  const auto header = DecodeFixedHeader(fixed.data(), &pathLength);
  if (!header || kFixedHeaderSize + std::uint64_t{pathLength} + kTrailerSize > size) {
    return std::nullopt;
  }
  std::string original(pathLength, '\0');
  if (!ReadExact(*item.reader, reinterpret_cast<std::uint8_t*>(original.data()), pathLength)) {
    return std::nullopt;
  }
  std::array<std::uint8_t, kTrailerSize> tail;
  if (!item.reader->Seek(size - kTrailerSize) || !ReadExact(*item.reader, tail.data(), tail.size())) {
    return std::nullopt;
  }
  const auto trailer = DecodeTrailer(tail.data());
  item.payloadOffset = kFixedHeaderSize + pathLength;
  if (!trailer || trailer->payloadSize != size - item.payloadOffset - kTrailerSize) {
    return std::nullopt;
  }
  item.info = {id,       header->kind,         header->time,    std::move(original),
               header->attributes, trailer->payloadSize, trailer->sha256};
  return item;
}

// Streams the unmasked payload to `sink` (which may be null) and checks it
// against the stored checksum.
template <class Sink>
bool ReadPayload(OpenItem& item, Sink&& sink) {
  if (!item.reader->Seek(item.payloadOffset)) return false;
  std::vector<std::uint8_t> buffer(kChunk);
  Sha256 sha;
  std::uint64_t offset = 0;
  while (offset < item.info.size) {
    const auto want = static_cast<std::size_t>(std::min<std::uint64_t>(kChunk, item.info.size - offset));
    if (!ReadExact(*item.reader, buffer.data(), want)) return false;
    Mask(buffer.data(), want, offset);
    sha.Update(buffer.data(), want);
    if (!sink(buffer.data(), want)) return false;
    offset += want;
  }
  return sha.Finish() == item.info.sha256;
}

bool Verify(OpenItem& item) {
  return ReadPayload(item, [](const std::uint8_t*, std::size_t) { return true; });
}

}  // namespace

std::optional<std::string> Quarantine::Folder() {
  const auto programData = machine_.files.ExpandEnvironment("%ProgramData%");
  if (!programData || programData->empty() || programData->find('%') != std::string::npos) {
    return std::nullopt;
  }
  return *programData + "\\Quorvex Remover\\Quarantine";
}

namespace {

// The two folders of ours below %ProgramData%.
std::vector<std::string> OwnFolders(const std::string& folder) {
  return {folder.substr(0, folder.find_last_of('\\')), folder};
}

}  // namespace

Quarantine::ExistingFolder Quarantine::FindFolder() {
  const auto folder = Folder();
  if (!folder || !machine_.files.GetAttributes(*folder)) return {};
  // Both exist already, so this only asks who owns them.
  for (const std::string& own : OwnFolders(*folder)) {
    if (!machine_.files.MakeAdministratorsDirectory(own)) return {std::nullopt, true};
  }
  return {folder, false};
}

std::optional<std::string> Quarantine::ItemPath(const std::string& id, std::string* failure) {
  const ExistingFolder folder = FindFolder();
  if (folder.untrusted) {
    *failure = "the quarantine folder is not the administrators' own, so nothing in it is used";
    return std::nullopt;
  }
  const std::optional<std::string> path =
      folder.path && IsId(id) ? std::optional(*folder.path + "\\" + id + kItemExtension)
                              : std::nullopt;
  if (!path || !machine_.files.GetAttributes(*path)) {
    *failure = "there is no quarantine item " + id;
    return std::nullopt;
  }
  return path;
}

std::optional<std::string> Quarantine::PrepareFolder() {
  if (preparedFolder_) return preparedFolder_;
  const auto folder = Folder();
  if (!folder) return std::nullopt;
  const auto own = OwnFolders(*folder);
  if (!machine_.files.MakeDirectory(own[0].substr(0, own[0].find_last_of('\\')))) {
    return std::nullopt;
  }
  for (const std::string& directory : own) {
    if (!machine_.files.MakeAdministratorsDirectory(directory)) return std::nullopt;
  }
  preparedFolder_ = folder;
  return folder;
}

std::uint64_t Quarantine::LargestId(const std::string& folder) {
  std::uint64_t largest = 0;
  for (const platform::DirEntry& entry : machine_.files.ListDirectory(folder + "\\*.*")) {
    const std::string& name = entry.name;
    std::uint64_t number = 0;
    const auto [end, error] = std::from_chars(name.data(), name.data() + name.size(), number);
    if (error == std::errc() && end != name.data()) largest = std::max(largest, number);
  }
  return largest;
}

template <class Payload>
scanner::Kept Quarantine::Store(const ItemHeader& header, Payload&& payload) {
  const auto folder = PrepareFolder();
  if (!folder) {
    return {std::nullopt, "the quarantine folder cannot be made, or is not the administrators' own"};
  }
  platform::FileSystem& files = machine_.files;
  // The item is written under its own name, shared with nobody until it is
  // closed; an item cut short by a crash fails its trailer and reads as
  // damaged, and its original was never touched. (A rename from a
  // temporary name would cost more than the whole copy.) A name another
  // program took meanwhile sends us back to the listing.
  std::unique_ptr<platform::FileWriter> writer;
  std::string id;
  std::string path;
  for (int attempt = 0; attempt < 2 && !writer; ++attempt) {
    if (nextId_ == 0 || attempt > 0) nextId_ = LargestId(*folder) + 1;
    id = std::to_string(nextId_);
    path = *folder + "\\" + id + kItemExtension;
    writer = files.CreateWriter(path, false);
  }
  if (!writer) return {std::nullopt, "the quarantine copy could not be written"};
  ++nextId_;

  // Written in pieces of kChunk at most, header and trailer with the
  // payload, so a small finding takes one write.
  std::vector<std::uint8_t> out = EncodeHeader(header);
  std::vector<std::uint8_t> buffer(kChunk);
  ItemTrailer trailer;
  Sha256 sha;
  bool ok = true;
  while (ok) {
    const auto got = payload(buffer.data(), buffer.size());
    if (!got) ok = false;
    if (!ok || *got == 0) break;
    sha.Update(buffer.data(), *got);
    Mask(buffer.data(), *got, trailer.payloadSize);
    trailer.payloadSize += *got;
    out.insert(out.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(*got));
    if (out.size() >= kChunk) {
      ok = writer->Write(out.data(), out.size());
      out.clear();
    }
  }
  if (ok) {
    trailer.sha256 = sha.Finish();
    const auto tail = EncodeTrailer(trailer);
    out.insert(out.end(), tail.begin(), tail.end());
    ok = writer->Write(out.data(), out.size()) && writer->Flush();
  }
  writer.reset();  // closed before it can be removed
  if (!ok) {
    files.RemoveFile(path);
    return {std::nullopt, "the quarantine copy could not be written"};
  }
  return {id, ""};
}

scanner::Kept Quarantine::KeepFile(const std::string& path) {
  platform::FileSystem& files = machine_.files;
  const auto attributes = files.GetAttributes(path);
  auto reader = files.OpenReader(path);
  if (!attributes || !reader) return {std::nullopt, "the file cannot be read"};
  const ItemHeader header{ItemKind::File, machine_.clock.UtcSeconds(), *attributes, path};
  return Store(header, [&](std::uint8_t* buffer, std::size_t capacity) {
    return reader->Read(buffer, capacity);
  });
}

scanner::Kept Quarantine::KeepKey(const std::string& entry, platform::RegKey root,
                                  const std::string& path) {
  std::string relative = path;
  if (relative.starts_with("\\")) relative.erase(0, 1);
  const auto tree =
      CaptureKeyTree(machine_.wideRegistry, root, platform::Utf8ToUtf16(relative));
  if (!tree) return {std::nullopt, "the key cannot be read whole"};
  const std::vector<std::uint8_t> bytes = EncodeKeyTree(*tree);
  const ItemHeader header{ItemKind::Key, machine_.clock.UtcSeconds(), 0, entry};
  std::size_t offset = 0;
  return Store(header, [&](std::uint8_t* buffer, std::size_t capacity) -> std::optional<std::size_t> {
    const std::size_t count = std::min(capacity, bytes.size() - offset);
    std::copy_n(bytes.begin() + static_cast<std::ptrdiff_t>(offset), count, buffer);
    offset += count;
    return count;
  });
}

void Quarantine::Discard(const std::string& id) {
  if (preparedFolder_ && IsId(id)) {
    machine_.files.RemoveFile(*preparedFolder_ + "\\" + id + kItemExtension);
  }
}

Listing Quarantine::List() {
  Listing listing;
  const ExistingFolder existing = FindFolder();
  listing.untrusted = existing.untrusted;
  if (!existing.path) return listing;
  const std::string* folder = &*existing.path;
  std::vector<std::pair<std::uint64_t, std::string>> ids;
  for (const platform::DirEntry& entry : machine_.files.ListDirectory(*folder + "\\*.qri")) {
    if (entry.attributes & platform::kAttributeDirectory) continue;
    const std::string id = entry.name.substr(0, entry.name.size() - 4);
    if (!IsId(id) || entry.name.size() < 5) continue;
    ids.emplace_back(std::stoull(id), id);
  }
  std::sort(ids.begin(), ids.end());
  for (const auto& [number, id] : ids) {
    const auto item = ReadItem(machine_.files, *folder + "\\" + id + kItemExtension, id);
    if (item) {
      listing.items.push_back(item->info);
    } else {
      listing.damaged.push_back(id);
    }
  }
  return listing;
}

std::optional<std::string> Quarantine::Restore(const std::string& id, bool force) {
  std::string failure;
  const auto itemPath = ItemPath(id, &failure);
  if (!itemPath) return failure;
  auto item = ReadItem(machine_.files, *itemPath, id);
  if (!item || !Verify(*item)) return "quarantine item " + id + " is damaged";
  const std::string& original = item->info.originalPath;

  if (item->info.kind == ItemKind::Key) {
    const auto root = RootOf(original);
    if (!root || original.size() <= 4 || item->info.size > kLargestKeyTree) {
      return "quarantine item " + id + " is damaged";
    }
    std::vector<std::uint8_t> bytes;
    ReadPayload(*item, [&](const std::uint8_t* data, std::size_t count) {
      bytes.insert(bytes.end(), data, data + count);
      return true;
    });
    const auto tree = DecodeKeyTree(bytes);
    if (!tree) return "quarantine item " + id + " is damaged";
    platform::RegKey existing = 0;
    if (machine_.wideRegistry.OpenKeyNoFollow(*root, KeyPathOf(original), platform::kKeyRead,
                                              &existing) == platform::kErrorSuccess) {
      machine_.wideRegistry.CloseKey(existing);
      if (!force) return original + " exists; restore it with /force to overwrite it";
    }
    if (WriteKeyTree(machine_.wideRegistry, *root, KeyPathOf(original), *tree) !=
        platform::kErrorSuccess) {
      return original + " could not be written back completely";
    }
  } else {
    platform::FileSystem& files = machine_.files;
    const bool exists = files.GetAttributes(original).has_value();
    if (exists && !force) return original + " exists; restore it with /force to overwrite it";
    // The folders on the way, as far as they are missing.
    for (std::size_t at = original.find('\\', 3); at != std::string::npos;
         at = original.find('\\', at + 1)) {
      files.MakeDirectory(original.substr(0, at));
    }
    // A hidden, system or read-only file cannot be replaced as it is.
    if (exists) files.SetAttributes(original, platform::kAttributeNormal);
    auto writer = files.CreateWriter(original, exists);
    if (!writer) return original + " could not be written";
    const bool ok = ReadPayload(*item, [&](const std::uint8_t* data, std::size_t count) {
      return writer->Write(data, count);
    }) && writer->Flush();
    writer.reset();
    if (!ok) {
      files.RemoveFile(original);
      return original + " could not be written back completely";
    }
    files.SetAttributes(original, item->info.attributes);
  }
  item->reader.reset();
  machine_.files.RemoveFile(*itemPath);
  return std::nullopt;
}

std::optional<std::string> Quarantine::Purge(const std::string& id) {
  std::string failure;
  const auto path = ItemPath(id, &failure);
  if (!path) return failure;
  if (!machine_.files.RemoveFile(*path)) return "quarantine item " + id + " could not be deleted";
  return std::nullopt;
}

}  // namespace quarantine
