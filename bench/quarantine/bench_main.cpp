// Times storing findings in the quarantine against copying the same files
// with CopyFileW into one folder, and against the same copy with each copy
// flushed to the disk as the quarantine flushes each item, alternating the
// three; then stores one huge finding and reports the process's peak memory.
//   quarantine_bench <folder such as R:> [repetitions] [name of a huge file in it]

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/win32/wide_text.h"
#include "platform/win32/win32_machine.h"
#include "quarantine/quarantine.h"

namespace {

using Clock = std::chrono::steady_clock;
using platform::win32::ToUtf8;
using platform::win32::ToWide;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Milliseconds(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

// The findings: every .lnk and .tmp file in `folder` but `huge`.
std::vector<std::wstring> Findings(const std::wstring& folder, const std::wstring& huge) {
  std::vector<std::wstring> files;
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((folder + L"\\*.*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return files;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (_wcsicmp(entry.cFileName, huge.c_str()) == 0) continue;
    const wchar_t* dot = wcsrchr(entry.cFileName, L'.');
    if (dot && (_wcsicmp(dot, L".lnk") == 0 || _wcsicmp(dot, L".tmp") == 0)) {
      files.push_back(folder + L"\\" + entry.cFileName);
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
  return files;
}

// Deletes every file in `folder`, untimed, between rounds.
void Empty(const std::wstring& folder) {
  WIN32_FIND_DATAW entry;
  const HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &entry);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
      DeleteFileW((folder + L"\\" + entry.cFileName).c_str());
    }
  } while (FindNextFileW(find, &entry));
  FindClose(find);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: quarantine_bench <folder> [repetitions] [huge file]\n");
    return 2;
  }
  std::wstring folder = ToWide(argv[1]);
  if (!folder.empty() && folder.back() == L'\\') folder.pop_back();
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::wstring huge = argc > 3 ? ToWide(argv[3]) : std::wstring();

  platform::win32::Win32Machine win32;
  quarantine::Quarantine keeper(win32.machine());
  const auto quarantineFolder = keeper.Folder();
  if (!quarantineFolder) {
    std::fprintf(stderr, "%%ProgramData%% is not set\n");
    return 1;
  }
  const std::wstring copies = ToWide(*quarantineFolder) + L" copies";
  CreateDirectoryW(copies.c_str(), nullptr);
  const std::vector<std::wstring> findings = Findings(folder, huge);

  std::vector<double> keepMs;
  std::vector<double> copyMs;
  std::vector<double> flushedMs;
  std::size_t kept = 0;
  // The first round warms the file cache for both and is not counted.
  for (int round = 0; round <= repetitions; ++round) {
    Empty(ToWide(*quarantineFolder));
    Empty(copies);
    kept = 0;
    const auto keepStart = Clock::now();
    for (const std::wstring& file : findings) kept += keeper.KeepFile(ToUtf8(file)).id ? 1 : 0;
    const auto copyStart = Clock::now();
    for (const std::wstring& file : findings) {
      const std::wstring name = file.substr(file.find_last_of(L'\\') + 1);
      CopyFileW(file.c_str(), (copies + L"\\" + name).c_str(), TRUE);
    }
    const auto copyEnd = Clock::now();
    Empty(copies);
    const auto flushedStart = Clock::now();
    for (const std::wstring& file : findings) {
      const std::wstring copy = copies + L"\\" + file.substr(file.find_last_of(L'\\') + 1);
      CopyFileW(file.c_str(), copy.c_str(), TRUE);
      const HANDLE written = CreateFileW(copy.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                         FILE_ATTRIBUTE_NORMAL, nullptr);
      FlushFileBuffers(written);
      CloseHandle(written);
    }
    const auto flushedEnd = Clock::now();
    if (round == 0) continue;
    keepMs.push_back(Milliseconds(keepStart, copyStart));
    copyMs.push_back(Milliseconds(copyStart, copyEnd));
    flushedMs.push_back(Milliseconds(flushedStart, flushedEnd));
  }
  Empty(ToWide(*quarantineFolder));
  Empty(copies);
  RemoveDirectoryW(copies.c_str());

  const double keepMedian = Median(keepMs);
  const double copyMedian = Median(copyMs);
  const double flushedMedian = Median(flushedMs);
  std::printf("findings stored:        %zu of %zu\n", kept, findings.size());
  std::printf("quarantine median:      %.2f ms over %d runs\n", keepMedian, repetitions);
  std::printf("CopyFileW median:       %.2f ms\n", copyMedian);
  std::printf("CopyFileW + flush:      %.2f ms\n", flushedMedian);
  std::printf("ratio quarantine/copy:  %.2f (target <= 1.5)\n", keepMedian / copyMedian);
  std::printf("ratio quarantine/copy + flush: %.2f\n", keepMedian / flushedMedian);

  if (!huge.empty()) {
    const auto start = Clock::now();
    const auto item = keeper.KeepFile(ToUtf8(folder + L"\\" + huge));
    const auto end = Clock::now();
    PROCESS_MEMORY_COUNTERS memory{};
    memory.cb = sizeof memory;
    GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
    std::printf("huge finding stored:    %s (%.1f s)\n", item.id ? "yes" : item.reason.c_str(),
                Milliseconds(start, end) / 1000.0);
    if (item.id) keeper.Purge(*item.id);
    std::printf("peak working set:       %.2f MiB (target < 32)\n", MiB(memory.PeakWorkingSetSize));
    std::printf("peak pagefile usage:    %.2f MiB\n", MiB(memory.PeakPagefileUsage));
  }
  return 0;
}
