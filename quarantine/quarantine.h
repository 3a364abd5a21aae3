#pragma once
// The quarantine: what a removal stores before it deletes, in
// %ProgramData%\Quorvex Remover\Quarantine, one item file "<id>.qri" per
// finding. Items can be listed, put back where they were, and purged.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/machine.h"
#include "quarantine/item_format.h"
#include "scanner/removal.h"

namespace quarantine {

struct ItemInfo {
  std::string id;
  ItemKind kind = ItemKind::File;
  std::int64_t time = 0;
  std::string originalPath;  // a full file path, or a registry entry "HKLM\..."
  std::uint32_t attributes = 0;
  std::uint64_t size = 0;  // bytes of the stored file or key tree
  Digest sha256{};
};

struct Listing {
  std::vector<ItemInfo> items;  // by id
  std::vector<std::string> damaged;  // ids of items that cannot be read
  // The folder exists but is not the administrators' own: nothing in it
  // was read.
  bool untrusted = false;
};

class Quarantine : public scanner::Safekeeping {
 public:
  explicit Quarantine(platform::Machine machine) : machine_(machine) {}

  // The folder, from %ProgramData%; nullopt when it is not set.
  std::optional<std::string> Folder();

  scanner::Kept KeepFile(const std::string& path) override;
  scanner::Kept KeepKey(const std::string& entry, platform::RegKey root,
                        const std::string& path) override;
  void Discard(const std::string& id) override;

  Listing List();
  // Each returns nullopt on success or a message saying what went wrong.
  // Restoring refuses to overwrite what exists at the original place unless
  // `force`; a restored item leaves the quarantine.
  std::optional<std::string> Restore(const std::string& id, bool force);
  std::optional<std::string> Purge(const std::string& id);

 private:
  // The folder when it exists and only the system and the administrators
  // can change it.
  struct ExistingFolder {
    std::optional<std::string> path;
    bool untrusted = false;
  };
  ExistingFolder FindFolder();
  // The item's file in a trusted folder, or the message saying why there is
  // none.
  std::optional<std::string> ItemPath(const std::string& id, std::string* failure);
  // Creates the folder with its parents once, the administrators' own;
  // nullopt when that fails.
  std::optional<std::string> PrepareFolder();
  // The largest id in the folder.
  std::uint64_t LargestId(const std::string& folder);
  // Writes header, payload and trailer to a new item file and flushes it;
  // the id or the reason it failed.
  template <class Payload>
  scanner::Kept Store(const ItemHeader& header, Payload&& payload);

  platform::Machine machine_;
  std::optional<std::string> preparedFolder_;
  // The id the next item takes; found by listing the folder once, so that
  // storing many findings does not list it for each.
  std::uint64_t nextId_ = 0;
};

}  // namespace quarantine
