// Nothing lost: on random machines, with random choices in the results
// dialog, a check removes exactly the findings the user left checked and
// changes nothing else, byte for byte. Seeded and reproducible; a failure
// names its seed.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "app/check_workflow.h"
#include "app/tests/fake_check_windows.h"
#include "app/tests/machine_seeds.h"
#include "scanner/drive_scan.h"
#include "scanner/system_scan.h"
#include "scanner/tests/memory_scan.h"

namespace app::testing {
namespace {

using platform::kLocalMachine;
using scanner::Findings;

constexpr int kMachines = 1000;
constexpr char kServices[] = "System\\CurrentControlSet\\Services\\";

std::string Upper(std::string text) {
  std::transform(text.begin(), text.end(), text.begin(),
                 [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  return text;
}

class RandomMachine {
 public:
  explicit RandomMachine(unsigned seed) : random_(seed) {}

  void Seed(MemoryMachine& machine) {
    AddBaseSystem(machine);
    machine.registry.SetString(kLocalMachine, "Software\\Victim", "Owner", "someone else");
    machine.registry.SetString(kLocalMachine, "Software\\Victim\\Deep", "Data", "keep");
    machine.files.AddFile("C:\\Users\\me\\thesis.doc", Bytes("mine"));
    for (const char* name : {"MrxNet", "MrxCls", "MRXNETX", "MrxNet2", "Mrx", "Beep"}) {
      if (Chance(2)) AddService(machine, name);
    }
    for (const char* name : {"oem7A.PNF", "oem6C.PNF", "mdmcpq3.PNF", "mdmeric3.PNF", "oem7.PNF"}) {
      if (Chance(2)) machine.files.AddFile("C:\\WINDOWS\\inf\\" + std::string(name), Bytes("l"));
    }
    if (Chance(4)) return;
    machine.drives.AddDrive("E:\\", platform::kDriveRemovable);
    machine.files.AddDirectory("E:\\");
    const char* names[] = {"a.lnk",  "b.LNK",       "c.lnk.txt", "d.tmp",     "e.TMP", "f.tmp.exe",
                           "autorun.inf", "AUTORUN.INF.bak", "g.tmp", "h.lnk"};
    for (const char* name : names) {
      const std::string path = std::string("E:\\") + name;
      switch (Pick(5)) {
        case 0: machine.files.AddFile(path, scanner::testing::ControlPanelShortcut(), Attributes()); break;
        case 1: machine.files.AddFile(path, scanner::testing::BytesStartingWith("MZ", 600), Attributes()); break;
        case 2: machine.files.AddFile(path, scanner::testing::BytesStartingWith("MZ", 100)); break;
        case 3: machine.files.AddDirectory(path); break;
        default: break;
      }
    }
  }

  // Which of the listed rows the user unchecks, and how the dialogs close.
  std::vector<std::string> Unchecked(const Findings& keys, const Findings& files) {
    std::vector<std::string> unchecked;
    for (const Findings* list : {&keys, &files}) {
      for (const std::string& value : *list) {
        // A value listed twice (two services naming one driver) is
        // unchecked in its first row only, as the test windows do.
        if (std::find(unchecked.begin(), unchecked.end(), value) != unchecked.end()) continue;
        if (Chance(3)) unchecked.push_back(value);
      }
    }
    return unchecked;
  }
  bool Chance(int oneIn) { return Pick(oneIn) == 0; }
  int Pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

 private:
  static std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }
  std::uint32_t Attributes() {
    return Chance(2) ? platform::kAttributeArchive
                     : platform::kAttributeHidden | platform::kAttributeSystem |
                           platform::kAttributeReadOnly;
  }

  void AddService(MemoryMachine& machine, const std::string& name) {
    const std::string key = kServices + name;
    const char* targets[] = {"\\??\\C:\\WINDOWS\\system32\\drivers\\" , "\\SystemRoot\\System32\\drivers\\",
                             "system32\\drivers\\", "C:\\Users\\me\\"};
    const char* files[] = {"mrxnet.sys", "mrxcls.sys", "thesis.doc", "tcpip.sys"};
    const std::string path = std::string(targets[Pick(4)]) + files[Pick(4)];
    const std::uint32_t types[] = {platform::kRegSz, platform::kRegExpandSz, platform::kRegBinary,
                                   platform::kRegDword, 7};
    if (!Chance(4)) {
      const std::uint32_t type = types[Pick(5)];
      if (type == platform::kRegDword) {
        machine.registry.SetValue(kLocalMachine, key, "ImagePath", type, {1, 0, 0, 0});
      } else {
        machine.registry.SetString(kLocalMachine, key, "ImagePath", path, type);
      }
    } else {
      machine.registry.AddKey(kLocalMachine, key);
    }
    if (Chance(2)) machine.registry.SetValue(kLocalMachine, key + "\\Enum\\Root", "Count", 4, {1, 0, 0, 0});
    if (Chance(3)) machine.registry.AddLink(kLocalMachine, key + "\\Elsewhere", "\\Registry\\Machine\\Software\\Victim");
    const std::string file = "C:\\WINDOWS\\system32\\drivers\\" + std::string(files[Pick(2)]);
    if (Chance(2) && !machine.files.Exists(file)) {
      machine.files.AddFile(file, scanner::testing::BytesStartingWith("MZ", 600), Attributes());
    }
  }

  std::mt19937 random_;
};

// The snapshot's lines, without the quarantine, which a removal fills.
std::set<std::string> Lines(const MemoryMachine& machine) {
  std::set<std::string> lines;
  const std::string snapshot = machine.Snapshot();
  for (std::size_t at = 0; at < snapshot.size();) {
    const std::size_t end = std::min(snapshot.find('\n', at), snapshot.size());
    const std::string line = snapshot.substr(at, end - at);
    if (!line.starts_with("C:\\ProgramData\\Quorvex Remover")) lines.insert(line);
    at = end + 1;
  }
  return lines;
}

// Whether a snapshot line is a removed finding or lies below one.
bool Removed(const std::string& line, const Findings& keys, const Findings& files) {
  const std::string upper = Upper(line);
  for (const std::string& key : keys) {
    const std::string prefix = "HKEY_LOCAL_MACHINE" + Upper(key.substr(4));
    if (upper.starts_with(prefix) &&
        (upper.size() == prefix.size() || upper[prefix.size()] == '\\' || upper[prefix.size()] == ' ')) {
      return true;
    }
  }
  for (const std::string& file : files) {
    if (upper.starts_with(Upper(file) + " ATTRIBUTES")) return true;
  }
  return false;
}

TEST(NothingLost, ACheckRemovesExactlyTheRowsLeftCheckedAndTouchesNothingElse) {
  const unsigned first = std::random_device{}();
  // The random machines must reach removals of both kinds, or the property
  // says nothing.
  int keyRemovals = 0;
  int fileRemovals = 0;
  for (int n = 0; n < kMachines; ++n) {
    const unsigned seed = first + static_cast<unsigned>(n);
    SCOPED_TRACE("seed " + std::to_string(seed));
    RandomMachine random(seed);
    MemoryMachine machine;
    random.Seed(machine);
    scanner::ScanContext context{machine.machine(), ""};

    // What the dialog will list, found the way the check finds it.
    Findings keys;
    Findings files;
    scanner::GetWindowsDir(context);
    const bool infected = scanner::ScanSystem(context, &keys, &files);
    if (!infected) {
      keys.clear();
      files.clear();
      scanner::ScanRemovableDrives(context, files);
    }
    FakeCheckWindows windows;
    const bool confirm = !random.Chance(4);
    const std::vector<std::string> unchecked = random.Unchecked(keys, files);
    windows.resultsAnswers = {{confirm ? kModalResultOk : kModalResultCancel, unchecked}};
    windows.driveAnswers = {random.Chance(3) ? kModalResultCancel : kModalResultOk};
    // OK for a message, No for the restart question, whichever comes.
    windows.messageBoxAnswers = {1, kIdNo, kIdNo};
    const bool drivesChecked = windows.driveAnswers.front() == kModalResultOk;
    const std::set<std::string> before = Lines(machine);

    RunCheck(context, windows);

    // The rows left checked: each unchecked value takes its first row away.
    Findings removedKeys;
    Findings removedFiles;
    if (confirm && (infected || drivesChecked)) {
      removedKeys = keys;
      removedFiles = files;
      for (const std::string& value : unchecked) {
        for (Findings* rows : {&removedKeys, &removedFiles}) {
          const auto row = std::find(rows->begin(), rows->end(), value);
          if (row != rows->end()) {
            rows->erase(row);
            break;
          }
        }
      }
    }
    keyRemovals += removedKeys.empty() ? 0 : 1;
    fileRemovals += removedFiles.empty() ? 0 : 1;
    machine.files.Restart();  // what was scheduled goes too
    const std::set<std::string> after = Lines(machine);
    for (const std::string& line : before) {
      const bool gone = !after.contains(line);
      if (gone) {
        ASSERT_TRUE(Removed(line, removedKeys, removedFiles)) << "lost: " << line;
      } else if (Removed(line, removedKeys, removedFiles) && line.find(" attributes ") != std::string::npos) {
        ADD_FAILURE() << "a checked file is still there: " << line;
      }
    }
    for (const std::string& line : after) {
      ASSERT_TRUE(before.contains(line)) << "new or changed: " << line;
    }
    for (const std::string& key : removedKeys) {
      EXPECT_FALSE(machine.registry.HasKey(kLocalMachine, key.substr(5))) << key;
    }
    if (HasFailure()) return;
  }
  EXPECT_GT(keyRemovals, kMachines / 10);
  EXPECT_GT(fileRemovals, kMachines / 10);
}

}  // namespace
}  // namespace app::testing
