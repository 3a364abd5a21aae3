// What the portable store does where Wine cannot show it: a full disk, a
// read-only file (Wine run as root writes it) and a file another program
// holds open for writing (the profile functions write into it in place;
// a whole new file cannot replace it) refuse the write, and nothing
// half-written or temporary stays behind.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "localizer/file_store.h"
#include "platform/memory/memory_machine.h"

namespace localizer::tests {
namespace {

constexpr const char* kFile = "C:\\Lang\\german.loc";
const std::string kOld = "[Wellgrist.frmExMes]\r\nCaption=Alt\r\n";

std::vector<std::uint8_t> Data(const std::string& text) { return {text.begin(), text.end()}; }

std::vector<std::string> Listing(platform::memory::MemoryFileSystem& files) {
  std::vector<std::string> names;
  for (const auto& entry : files.ListDirectory("C:\\Lang\\*.*")) names.push_back(entry.name);
  return names;
}

TEST(FileStoreInMemory, ARefusedWriteLeavesTheOldFileAloneAndNothingBeside) {
  const struct {
    const char* what;
    std::uint32_t attributes;
    std::uint64_t freeSpace;  // 0: no limit
    bool heldOpen;
  } cases[] = {
      {"full disk", platform::kAttributeArchive, 20, false},
      {"read-only file", platform::kAttributeReadOnly, 0, false},
      {"held open for writing", platform::kAttributeArchive, 0, true},
  };
  for (const auto& c : cases) {
    platform::memory::MemoryMachine machine;
    machine.files.AddFile(kFile, Data(kOld), c.attributes);
    if (c.freeSpace) machine.files.SetFreeSpace("C:", c.freeSpace);
    if (c.heldOpen) machine.files.HoldOpenForWriting(kFile);
    FileStore store(machine.files, kFile);
    try {
      store.WriteString("Wellgrist.frmExMes", "Caption", "Neu");
      ADD_FAILURE() << c.what << ": no error";
    } catch (const StoreError& e) {
      EXPECT_STREQ(e.what(), "Unable to write to C:\\Lang\\german.loc") << c.what;
    }
    if (c.heldOpen) machine.files.Restart();  // to read it back
    EXPECT_EQ(machine.files.ReadHead(kFile, 1000)->bytes, Data(kOld)) << c.what;
    EXPECT_EQ(Listing(machine.files), (std::vector<std::string>{".", "..", "german.loc"})) << c.what;
    EXPECT_EQ(store.ReadString("Wellgrist.frmExMes", "Caption", "-"), "Alt")
        << c.what << ": the store shows the file, not the change it could not make";
  }
}

TEST(FileStoreInMemory, OpeningTouchesNoFileAndALeftoverTemporaryIsSteppedAround) {
  platform::memory::MemoryMachine machine;
  machine.files.AddFile(kFile, Data(kOld));
  machine.files.AddFile(std::string(kFile) + ".~1", Data("leftover"));
  const std::string before = machine.Snapshot();
  { FileStore store(machine.files, kFile); }
  EXPECT_EQ(machine.Snapshot(), before);

  FileStore store(machine.files, kFile);
  store.WriteString("Wellgrist.frmExMes", "Hint", "Hinweis");
  EXPECT_EQ(machine.files.ReadHead(kFile, 1000)->bytes, Data(kOld + "Hint=Hinweis\r\n"));
  EXPECT_EQ(machine.files.ReadHead(std::string(kFile) + ".~1", 100)->bytes, Data("leftover"));
  EXPECT_EQ(Listing(machine.files),
            (std::vector<std::string>{".", "..", "german.loc", "german.loc.~1"}));
}

}  // namespace
}  // namespace localizer::tests
