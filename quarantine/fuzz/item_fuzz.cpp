// A quarantine item file of any content: listed, restored over whatever is
// at its original place, and its payload read as a key tree.

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/memory/memory_machine.h"
#include "quarantine/key_tree.h"
#include "quarantine/quarantine.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::vector<std::uint8_t> bytes(data, data + size);
  platform::memory::MemoryMachine machine;
  machine.files.AddDirectory("E:\\");
  machine.files.AddFile("C:\\ProgramData\\Quorvex Remover\\Quarantine\\1.qri", bytes);
  quarantine::Quarantine keeper(machine.machine());
  keeper.List();
  keeper.Restore("1", true);
  quarantine::DecodeKeyTree(bytes);
  return 0;
}
