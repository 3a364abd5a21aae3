#pragma once
// Pieces of a machine for the check scenarios, and the findings texts the
// scans make of them. A scenario seeds the pieces it needs; the expected
// state after a removal is a second machine seeded with what must remain.

#include <string>

#include "platform/memory/memory_machine.h"

namespace app::testing {

using platform::memory::MemoryMachine;

inline constexpr char kMrxNetKey[] = "HKLM\\System\\CurrentControlSet\\Services\\MrxNet";
inline constexpr char kMrxClsKey[] = "HKLM\\System\\CurrentControlSet\\Services\\MrxCls";
inline constexpr char kMrxNetDriver[] = "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXNET.SYS";
inline constexpr char kMrxClsDriver[] = "C:\\WINDOWS\\SYSTEM32\\DRIVERS\\MRXCLS.SYS";
inline constexpr char kAutorun[] = "E:\\autorun.inf";
inline constexpr char kDisguisedExecutable[] = "E:\\~WTR4141.tmp";

// An uninfected installation in `windowsDir`: an ordinary driver service,
// ordinary files and a fixed drive C:.
void AddBaseSystem(MemoryMachine& machine, const std::string& windowsDir = "C:\\WINDOWS");
// The two driver services (with their "ImagePath") and their driver files.
void AddMrxNetService(MemoryMachine& machine);
void AddMrxNetDriver(MemoryMachine& machine);
void AddMrxClsService(MemoryMachine& machine);
void AddMrxClsDriver(MemoryMachine& machine);
void AddInfection(MemoryMachine& machine);  // all four of the above
// A loader file in `windowsDir`\inf.
void AddLoaderFile(MemoryMachine& machine, const std::string& name,
                   const std::string& windowsDir = "C:\\WINDOWS");
// Removable drive E: holding only harmless files.
void AddRemovableDrive(MemoryMachine& machine);
// What the drive scan counts as the rootkit's, on E:.
void AddAutorun(MemoryMachine& machine);
void AddDisguisedExecutable(MemoryMachine& machine);

}  // namespace app::testing
