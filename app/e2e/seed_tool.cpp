// Seeds the simulated infection on the prefix it runs in, or removes it:
//   qr_e2e_seed seed   DRIVE-ROOT   the infection, the drive's threats and
//                                   the harmless files beside them
//   qr_e2e_seed remove DRIVE-ROOT   every seed again

#include <cstdio>
#include <exception>
#include <string>

#include "app/e2e/seeds.h"

int wmain(int argc, wchar_t** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: qr_e2e_seed seed|remove DRIVE-ROOT\n");
    return 2;
  }
  const std::wstring command = argv[1];
  const std::wstring root = argv[2];
  try {
    if (command == L"seed") {
      e2e::SeedInfection();
      e2e::SeedDriveThreats(root);
      e2e::SeedDriveBystanders(root);
    } else if (command == L"remove") {
      e2e::RemoveSeeds(root);
    } else {
      std::fprintf(stderr, "unknown command\n");
      return 2;
    }
  } catch (const std::exception& error) {
    std::fprintf(stderr, "qr_e2e_seed: %s\n", error.what());
    return 1;
  }
  return 0;
}
