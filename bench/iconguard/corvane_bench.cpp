// Times GetIconLocation + Extract for 1,000 harmless shortcuts, once through
// CorvaneExt and once straight on the system's shortcut object, and prints
// the ratio. usage: corvane_bench [directory for the shortcuts]

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "corvane_dll.h"
#include "shell_link_file.h"

namespace {

constexpr int kShortcuts = 1000;

struct Tally {
  int located = 0;    // GetIconLocation answered S_OK
  int extracted = 0;  // Extract answered S_OK
};

// What the shell does with an icon handler: Load, GetIconLocation, Extract.
void AskIcon(IPersistFile* file, const std::wstring& path, Tally& tally) {
  if (FAILED(file->Load(path.c_str(), STGM_READ))) return;
  IExtractIconW* extract = nullptr;
  if (FAILED(file->QueryInterface(IID_IExtractIconW, reinterpret_cast<void**>(&extract)))) return;
  wchar_t location[MAX_PATH] = {};
  int index = 0;
  UINT flags = 0;
  if (extract->GetIconLocation(GIL_FORSHELL, location, MAX_PATH, &index, &flags) == S_OK) {
    ++tally.located;
  }
  HICON large = nullptr;
  HICON small = nullptr;
  if (extract->Extract(location, index, &large, &small, MAKELONG(32, 16)) == S_OK) {
    ++tally.extracted;
    DestroyIcon(large);
    DestroyIcon(small);
  }
  extract->Release();
}

double Run(const std::vector<std::wstring>& paths, IClassFactory* factory, Tally& tally) {
  const auto start = std::chrono::steady_clock::now();
  for (const std::wstring& path : paths) {
    IPersistFile* file = nullptr;
    const HRESULT hr =
        factory != nullptr
            ? factory->CreateInstance(nullptr, IID_IPersistFile, reinterpret_cast<void**>(&file))
            : CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IPersistFile,
                               reinterpret_cast<void**>(&file));
    if (FAILED(hr)) continue;
    AskIcon(file, path, tally);
    file->Release();
  }
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
      .count();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const std::wstring directory = argc > 1 ? argv[1] : L"C:\\corvane-bench";
  CoInitialize(nullptr);
  CreateDirectoryW(directory.c_str(), nullptr);
  std::vector<std::wstring> paths;
  for (int i = 0; i < kShortcuts; ++i) {
    paths.push_back(directory + L"\\shortcut " + std::to_wstring(i) + L".lnk");
    if (!corvane_test::WriteLink(paths.back(), nullptr, L"C:\\windows\\notepad.exe")) {
      std::fprintf(stderr, "cannot write shortcut %d\n", i);
      return 1;
    }
  }

  const corvane_test::CorvaneExports dll = corvane_test::LoadCorvane();
  IClassFactory* factory = nullptr;
  if (dll.getClassObject == nullptr ||
      FAILED(dll.getClassObject(corvane_test::kClsidCorvaneExt, IID_IClassFactory,
                                reinterpret_cast<void**>(&factory)))) {
    std::fprintf(stderr, "cannot load Corvane.dll\n");
    return 1;
  }

  // Warm both paths up once so neither pays for first-time loading.
  Tally warm;
  Run({paths.front()}, nullptr, warm);
  Run({paths.front()}, factory, warm);

  Tally direct;
  Tally guarded;
  const double directMs = Run(paths, nullptr, direct);
  const double guardedMs = Run(paths, factory, guarded);
  factory->Release();

  std::printf("shortcuts: %d\n", kShortcuts);
  std::printf("CLSID_ShellLink directly: %.1f ms (GetIconLocation S_OK %d, Extract S_OK %d)\n",
              directMs, direct.located, direct.extracted);
  std::printf("through CorvaneExt:       %.1f ms (GetIconLocation S_OK %d, Extract S_OK %d)\n",
              guardedMs, guarded.located, guarded.extracted);
  std::printf("ratio: %.2f (target <= 2.0)\n", guardedMs / directMs);
  if (direct.located == 0) {
    std::printf("note: the system shortcut object offers no IExtractIconW here, so the direct "
                "run stops after Load and the guarded run after its own inspection\n");
  }
  for (const std::wstring& path : paths) DeleteFileW(path.c_str());
  RemoveDirectoryW(directory.c_str());
  CoUninitialize();
  return 0;
}
