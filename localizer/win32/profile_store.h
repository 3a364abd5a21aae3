#pragma once
// The keyed store over the system's profile functions
// (GetPrivateProfileStringA, WritePrivateProfileStringA). Text crosses into
// the system's ANSI code page here; a character it lacks becomes "?",
// never a look-alike such as "\" or "=" that would change the line.

#include <string>
#include <vector>

#include "localizer/loccommon.h"

namespace localizer::win32 {

class ProfileStore : public KeyedStore {
 public:
  explicit ProfileStore(std::string fileName);

  std::string ReadString(const std::string& section, const std::string& key,
                         const std::string& byDefault) override;
  void WriteString(const std::string& section, const std::string& key,
                   const std::string& value) override;
  void EraseSection(const std::string& section) override;
  std::vector<std::string> ReadSection(const std::string& section) override;

 private:
  std::string fileName_;  // UTF-8, as the error names it
  std::string ansiName_;  // as the system gets it
};

// Opens a ProfileStore for each file name.
StoreOpener ProfileStoreOpener();

}  // namespace localizer::win32
