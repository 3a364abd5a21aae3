#pragma once
// The keyed store over a plain file system, for platforms without the
// profile functions: the same line syntax, rules and limits. Text is kept as
// the bytes it came as (on such a platform UTF-8 is the system's code page).
//
// The file is read once, at the first operation, and every change is
// written through at once: the whole text goes to a temporary file beside
// the original, which then replaces it in one step, so a failed write
// leaves the old file as it was. The store lives for one operation of the
// localizer; a change another program makes to the file meanwhile is
// overwritten by the next write.

#include <list>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "localizer/loccommon.h"
#include "platform/file_system.h"

namespace localizer {

class FileStore : public KeyedStore {
 public:
  FileStore(platform::FileSystem& files, std::string fileName);

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& byDefault) override;
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;
  void EraseSection(const std::string& section) override;
  std::vector<std::string> ReadSection(const std::string& section) override;

 private:
  // A section line and the lines up to the next one. The first section of
  // every file has no line of its own: it holds what comes before the
  // first section line, under the empty name.
  struct Section {
    std::string header;  // empty for the first
    std::string folded;  // the name as lookups compare it
    std::vector<std::string> lines;
  };
  using SectionList = std::list<Section>;

  enum class State { Unread, Missing, Unreadable, Read };

  void Load();
  void Parse(std::string_view text);
  // The first section of that name, or the end.
  SectionList::iterator Find(std::string_view name);
  // Throws unless the file may be written: read, or missing.
  void RequireWritable();
  void Save();

  platform::FileSystem& files_;
  std::string fileName_;
  State state_ = State::Unread;
  bool byteOrderMark_ = false;
  SectionList sections_;
  // The first section of each folded name: later ones of the same name
  // are never found, as with the profile functions.
  std::unordered_map<std::string, SectionList::iterator> first_;
};

// Opens a FileStore on `files` for each file name.
StoreOpener FileStoreOpener(platform::FileSystem& files);

}  // namespace localizer
