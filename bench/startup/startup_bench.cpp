// Start-up time: from CreateProcess until the program's first top-level
// window is visible and the program waits for input, for the program under
// test and for a minimal one-window program, alternating, in one run.
//   startup_bench.exe <program> <baseline> [rounds]
// Prints the medians and their ratio; each program is closed with WM_CLOSE
// after every round.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Search {
  DWORD process;
  HWND found;
};

BOOL CALLBACK FindVisible(HWND window, LPARAM data) {
  auto* search = reinterpret_cast<Search*>(data);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner != search->process || !IsWindowVisible(window) || GetWindow(window, GW_OWNER)) {
    return TRUE;
  }
  search->found = window;
  return FALSE;
}

// Milliseconds until the program shows its window and idles; -1 on failure.
double TimeOneStart(const std::wstring& program) {
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  std::wstring commandLine = L"\"" + program + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  QueryPerformanceCounter(&start);
  if (!CreateProcessW(program.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      nullptr, &startup, &process)) {
    return -1;
  }
  Search search{process.dwProcessId, nullptr};
  for (int i = 0; i < 20000 && search.found == nullptr; ++i) {
    EnumWindows(FindVisible, reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) Sleep(1);
  }
  if (search.found != nullptr) WaitForInputIdle(process.hProcess, 10000);
  QueryPerformanceCounter(&end);
  if (search.found != nullptr) PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.hProcess, 10000) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (search.found == nullptr) return -1;
  return 1000.0 * static_cast<double>(end.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: startup_bench <program> <baseline> [rounds]\n");
    return 2;
  }
  const int rounds = argc > 3 ? std::max(1, _wtoi(argv[3])) : 15;
  std::vector<double> program, baseline;
  // One start of each first: the system's own first-start costs are paid
  // by neither side.
  TimeOneStart(argv[1]);
  TimeOneStart(argv[2]);
  for (int i = 0; i < rounds; ++i) {
    const double a = TimeOneStart(argv[1]);
    const double b = TimeOneStart(argv[2]);
    if (a < 0 || b < 0) {
      std::fprintf(stderr, "a program did not show its window\n");
      return 1;
    }
    program.push_back(a);
    baseline.push_back(b);
  }
  const double p = Median(program);
  const double b = Median(baseline);
  std::printf("start-up until visible and idle, median of %d rounds\n", rounds);
  std::printf("  program  : %.1f ms\n  baseline : %.1f ms (one plain window of the same size)\n",
              p, b);
  std::printf("  ratio    : %.2f (target at most 1.50)\n", p / b);
  return 0;
}
