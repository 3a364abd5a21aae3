// Times the scanner's drive-root scan against the plain-Win32 baseline on
// the same directory, alternating the two, and reports the scanner's peak
// memory; then an unattended check of the same drive (system scan, drive
// scan, JSON report, event log entry) against the scanner's time.
//   drive_scan_bench <root such as R:> [repetitions] [name of a file that must be found]

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/command_line/check_report.h"
#include "app/command_line/unattended_check.h"
#include "baseline_scan.h"
#include "platform/win32/win32_event_log.h"
#include "platform/win32/win32_machine.h"
#include "scanner/drive_scan.h"

namespace {

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double MiB(SIZE_T bytes) { return static_cast<double>(bytes) / (1024.0 * 1024.0); }

std::wstring Wide(const std::string& text) {
  const int length =
      MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(length, 0)), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                      length);
  return wide;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: drive_scan_bench <root> [repetitions] [file that must be found]\n");
    return 2;
  }
  std::string root = argv[1];
  if (root.back() != '\\') root += '\\';
  const int repetitions = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
  const std::string mustFind = argc > 3 ? root + argv[3] : std::string();

  platform::win32::Win32Machine win32;
  scanner::ScanContext context{win32.machine(), ""};

  std::vector<double> scannerMs;
  std::vector<double> baselineMs;
  std::vector<double> unattendedMs;
  platform::win32::Win32EventLog events;
  std::size_t reportBytes = 0;
  scanner::Findings findings;
  bench::BaselineResult baseline;
  // The first round warms the file cache for both and is not counted.
  for (int round = 0; round <= repetitions; ++round) {
    findings.clear();
    const auto scanStart = Clock::now();
    scanner::ScanDriveRoot(context, root, findings);
    const auto scanEnd = Clock::now();
    baseline = bench::BaselineScan(Wide(root));
    const auto baselineEnd = Clock::now();
    const app::CheckRun run = app::RunUnattendedCheck(context, {true, false, false});
    const std::string report = app::CheckReportJson(run, "BENCH");
    events.Report(app::kEventSource, app::CheckEventType(run), app::CheckSummary(run));
    reportBytes = report.size();
    const auto unattendedEnd = Clock::now();
    if (round == 0) continue;
    unattendedMs.push_back(
        std::chrono::duration<double, std::milli>(unattendedEnd - baselineEnd).count());
    scannerMs.push_back(std::chrono::duration<double, std::milli>(scanEnd - scanStart).count());
    baselineMs.push_back(
        std::chrono::duration<double, std::milli>(baselineEnd - scanEnd).count());
  }

  PROCESS_MEMORY_COUNTERS memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);

  const double scannerMedian = Median(scannerMs);
  const double baselineMedian = Median(baselineMs);
  const bool found = !mustFind.empty() &&
                     std::find(findings.begin(), findings.end(), mustFind) != findings.end();
  std::printf("entries listed:        %zu (baseline read %zu files)\n", baseline.entries,
              baseline.filesRead);
  std::printf("findings:              %zu\n", findings.size());
  std::printf("scanner median:        %.2f ms over %d runs\n", scannerMedian, repetitions);
  std::printf("baseline median:       %.2f ms\n", baselineMedian);
  std::printf("ratio scanner/baseline: %.2f (target <= 1.5)\n", scannerMedian / baselineMedian);
  std::printf("peak working set:      %.2f MiB (target < 32)\n", MiB(memory.PeakWorkingSetSize));
  std::printf("peak pagefile usage:   %.2f MiB (target < 32)\n", MiB(memory.PeakPagefileUsage));
  const double unattendedMedian = Median(unattendedMs);
  std::printf("unattended check median: %.2f ms (report of %zu bytes)\n", unattendedMedian,
              reportBytes);
  std::printf("ratio unattended/scanner: %.2f (target <= 1.2)\n", unattendedMedian / scannerMedian);
  if (!mustFind.empty()) std::printf("%s found:  %s\n", mustFind.c_str(), found ? "yes" : "no");
  return 0;
}
