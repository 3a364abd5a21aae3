#include "app/e2e/shortcut_bytes.h"

#include <initializer_list>

namespace e2e {
namespace {

// A class identifier as it is stored: the first three groups little-endian.
struct Clsid {
  std::uint32_t data1;
  std::uint16_t data2;
  std::uint16_t data3;
  std::uint8_t data4[8];
};

constexpr Clsid kShellLink = {0x00021401, 0x0000, 0x0000, {0xC0, 0, 0, 0, 0, 0, 0, 0x46}};
constexpr Clsid kMyComputer = {0x20D04FE0, 0x3AEA, 0x1069,
                               {0xA2, 0xD8, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};
constexpr Clsid kControlPanel = {0x21EC2020, 0x3AEA, 0x1069,
                                 {0xA2, 0xDD, 0x08, 0x00, 0x2B, 0x30, 0x30, 0x9D}};

constexpr std::uint32_t kHasLinkTargetIdList = 0x01;
constexpr std::uint32_t kIsUnicode = 0x80;
constexpr std::uint32_t kShowNormal = 1;

void Put16(Bytes& out, std::uint16_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(Bytes& out, std::uint32_t value) {
  Put16(out, static_cast<std::uint16_t>(value));
  Put16(out, static_cast<std::uint16_t>(value >> 16));
}

void Put(Bytes& out, const Clsid& id) {
  Put32(out, id.data1);
  Put16(out, id.data2);
  Put16(out, id.data3);
  out.insert(out.end(), std::begin(id.data4), std::end(id.data4));
}

// The 76-byte header of a shortcut that carries a target item list.
Bytes Header() {
  Bytes out;
  Put32(out, 76);
  Put(out, kShellLink);
  Put32(out, kHasLinkTargetIdList | kIsUnicode);
  Put32(out, 0);                           // file attributes
  out.insert(out.end(), 3 * 8, 0);         // creation, access and write times
  Put32(out, 0);                           // target size
  Put32(out, 0);                           // icon index
  Put32(out, kShowNormal);
  out.insert(out.end(), 2 + 2 + 4 + 4, 0); // hot key and the reserved fields
  return out;
}

// A shell folder item: size, type, sort byte, class identifier.
Bytes FolderItem(std::uint8_t type, std::uint8_t sort, const Clsid& id) {
  Bytes item;
  Put16(item, 20);
  item.push_back(type);
  item.push_back(sort);
  Put(item, id);
  return item;
}

Bytes Shortcut(std::initializer_list<Bytes> items) {
  Bytes list;
  for (const Bytes& item : items) list.insert(list.end(), item.begin(), item.end());
  Put16(list, 0);  // the list's end
  Bytes out = Header();
  Put16(out, static_cast<std::uint16_t>(list.size()));
  out.insert(out.end(), list.begin(), list.end());
  return out;
}

}  // namespace

Bytes ControlPanelShortcut() {
  // An applet item of the Control Panel: only its place matters here.
  const Bytes applet = {12, 0, 0x00, 0x00, 'a', 0, 'p', 0, 'p', 0, 0, 0};
  return Shortcut({FolderItem(0x1F, 0x50, kMyComputer), FolderItem(0x2E, 0x80, kControlPanel),
                   applet});
}

Bytes DriveShortcut() {
  Bytes drive = {25, 0, 0x2F, 'C', ':', '\\'};
  drive.resize(25, 0);
  return Shortcut({FolderItem(0x1F, 0x50, kMyComputer), drive});
}

}  // namespace e2e
