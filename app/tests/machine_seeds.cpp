#include "app/tests/machine_seeds.h"

#include <cstdint>
#include <vector>

namespace app::testing {
namespace {

using namespace platform;

constexpr char kServices[] = "System\\CurrentControlSet\\Services\\";

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

// An executable image large enough to count as one on removable media.
std::vector<std::uint8_t> Executable() {
  std::vector<std::uint8_t> image(600, 0);
  image[0] = 'M';
  image[1] = 'Z';
  return image;
}

}  // namespace

void AddBaseSystem(MemoryMachine& machine, const std::string& windowsDir) {
  machine.files.SetWindowsDirectory(windowsDir);
  machine.files.AddFile(windowsDir + "\\notepad.exe", Executable());
  machine.files.AddFile(windowsDir + "\\system32\\drivers\\tcpip.sys", Executable());
  machine.files.AddFile(windowsDir + "\\inf\\machine.inf", Bytes("[Version]"));
  machine.registry.SetString(kLocalMachine, std::string(kServices) + "Tcpip", "ImagePath",
                             "system32\\DRIVERS\\tcpip.sys", kRegExpandSz);
  machine.drives.AddDrive("C:\\", kDriveFixed);
}

void AddMrxNetService(MemoryMachine& machine) {
  const std::string key = std::string(kServices) + "MrxNet";
  machine.registry.SetString(kLocalMachine, key, "ImagePath",
                             "\\??\\C:\\WINDOWS\\system32\\Drivers\\mrxnet.sys");
  machine.registry.SetValue(kLocalMachine, key + "\\Enum", "Count", kRegDword, {1, 0, 0, 0});
}

void AddMrxNetDriver(MemoryMachine& machine) {
  machine.files.AddFile("C:\\WINDOWS\\system32\\Drivers\\mrxnet.sys", Executable(),
                        kAttributeReadOnly | kAttributeHidden | kAttributeSystem);
}

void AddMrxClsService(MemoryMachine& machine) {
  machine.registry.SetString(kLocalMachine, std::string(kServices) + "MrxCls", "ImagePath",
                             "\\SystemRoot\\System32\\drivers\\mrxcls.sys", kRegExpandSz);
}

void AddMrxClsDriver(MemoryMachine& machine) {
  machine.files.AddFile("C:\\WINDOWS\\system32\\drivers\\mrxcls.sys", Executable());
}

void AddInfection(MemoryMachine& machine) {
  AddMrxNetService(machine);
  AddMrxNetDriver(machine);
  AddMrxClsService(machine);
  AddMrxClsDriver(machine);
}

void AddLoaderFile(MemoryMachine& machine, const std::string& name,
                   const std::string& windowsDir) {
  machine.files.AddFile(windowsDir + "\\inf\\" + name, Bytes("loader"));
}

void AddRemovableDrive(MemoryMachine& machine) {
  machine.drives.AddDrive("E:\\", kDriveRemovable);
  machine.files.AddFile("E:\\holiday.jpg", Bytes("JFIF"));
  machine.files.AddFile("E:\\notes.tmp", std::vector<std::uint8_t>(600, 'x'));
}

void AddAutorun(MemoryMachine& machine) {
  machine.files.AddFile(kAutorun, Bytes("[autorun]\r\nopen=~WTR4141.tmp\r\n"),
                        kAttributeHidden | kAttributeSystem);
}

void AddDisguisedExecutable(MemoryMachine& machine) {
  machine.files.AddFile(kDisguisedExecutable, Executable(), kAttributeHidden);
}

}  // namespace app::testing
