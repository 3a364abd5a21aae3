#pragma once
// A harmless simulated infection on a Wine prefix, seeded through the real
// registry and file system: the two driver services with placeholder driver
// files and the four loader files, and on a removable drive the three kinds
// of files that the drive scan counts as threats, beside harmless files that
// every removal must leave. Nothing seeded can run: the "drivers" and
// loaders are text, the disguised executable is "MZ" and padding.
//
// Every function throws std::runtime_error naming what could not be made.

#include <string>
#include <vector>

namespace e2e {

// Paths of the services key under HKEY_LOCAL_MACHINE.
inline constexpr wchar_t kServicesKey[] = L"System\\CurrentControlSet\\Services";

// The Windows directory as the system reports it.
std::wstring WindowsDirectory();

// Both driver services (with their "ImagePath"), their driver files and the
// four loader files in the Windows "inf" directory.
void SeedInfection();
// A Control Panel shortcut, a disguised executable and "AUTORUN.INF" in the
// root of `root` (a drive root such as R:\).
void SeedDriveThreats(const std::wstring& root);
// Harmless files in `root` and one folder below it that look like threats
// by name or content but are none.
void SeedDriveBystanders(const std::wstring& root);
// Removes everything that the three functions above may have made, and
// nothing else; missing pieces are skipped.
void RemoveSeeds(const std::wstring& root);

// The seeded pieces, for checks: service keys relative to HKEY_LOCAL_MACHINE
// and full file paths.
std::vector<std::wstring> InfectionKeys();
std::vector<std::wstring> InfectionFiles();
std::vector<std::wstring> DriveThreatFiles(const std::wstring& root);
std::vector<std::wstring> DriveBystanderFiles(const std::wstring& root);

}  // namespace e2e
