#pragma once
// A Safekeeping for removal tests: says it kept whatever it is handed,
// except what it was told to refuse, and records it all.

#include <set>
#include <string>
#include <vector>

#include "scanner/removal.h"

namespace scanner::testing {

class RecordingKeeper : public Safekeeping {
 public:
  std::set<std::string> refuse;  // paths or entries it cannot keep
  std::vector<std::string> kept;
  std::vector<std::string> discarded;

  Kept KeepFile(const std::string& path) override { return Keep(path); }
  Kept KeepKey(const std::string& entry, platform::RegKey, const std::string&) override {
    return Keep(entry);
  }
  void Discard(const std::string& id) override { discarded.push_back(kept.at(std::stoul(id))); }

 private:
  Kept Keep(const std::string& what) {
    if (refuse.contains(what)) return {std::nullopt, "refused"};
    kept.push_back(what);
    return {std::to_string(kept.size() - 1), ""};
  }
};

}  // namespace scanner::testing
