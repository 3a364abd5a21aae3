#include "app/e2e/remote_list_view.h"

#include <commctrl.h>

#include <stdexcept>

namespace e2e {
namespace {

constexpr SIZE_T kBlockSize = 4096;
// In the block: the structure at its start, a text buffer after it.
constexpr SIZE_T kTextOffset = 512;
constexpr int kTextCapacity = static_cast<int>((kBlockSize - kTextOffset) / sizeof(wchar_t));
// How far into a row the hit test looks for its check box.
constexpr int kCheckBoxSearchWidth = 48;

}  // namespace

RemoteListView::RemoteListView(HWND list) : list_(list) {
  DWORD id = 0;
  GetWindowThreadProcessId(list, &id);
  process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, id);
  if (process_ == nullptr) throw std::runtime_error("cannot open the list view's process");
  remote_ = static_cast<char*>(
      VirtualAllocEx(process_, nullptr, kBlockSize, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE));
  if (remote_ == nullptr) {
    CloseHandle(process_);
    throw std::runtime_error("cannot allocate memory in the list view's process");
  }
}

RemoteListView::~RemoteListView() {
  VirtualFreeEx(process_, remote_, 0, MEM_RELEASE);
  CloseHandle(process_);
}

void RemoteListView::Write(const void* data, SIZE_T size) const {
  SIZE_T done = 0;
  if (!WriteProcessMemory(process_, remote_, data, size, &done) || done != size) {
    throw std::runtime_error("cannot write into the list view's process");
  }
}

void RemoteListView::Read(void* data, SIZE_T size, SIZE_T offset) const {
  SIZE_T done = 0;
  if (!ReadProcessMemory(process_, remote_ + offset, data, size, &done) || done != size) {
    throw std::runtime_error("cannot read from the list view's process");
  }
}

int RemoteListView::Count() const {
  return static_cast<int>(SendMessageW(list_, LVM_GETITEMCOUNT, 0, 0));
}

bool RemoteListView::Checked(int row) const {
  const auto state = SendMessageW(list_, LVM_GETITEMSTATE, row, LVIS_STATEIMAGEMASK);
  return ((state & LVIS_STATEIMAGEMASK) >> 12) == 2;
}

std::wstring RemoteListView::Text(int row, int column) const {
  LVITEMW item{};
  item.iSubItem = column;
  item.pszText = reinterpret_cast<wchar_t*>(remote_ + kTextOffset);
  item.cchTextMax = kTextCapacity;
  Write(&item, sizeof item);
  const auto length = SendMessageW(list_, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote_));
  std::wstring text(static_cast<std::size_t>(length), L'\0');
  if (length > 0) Read(text.data(), static_cast<SIZE_T>(length) * sizeof(wchar_t), kTextOffset);
  return text;
}

POINT RemoteListView::CheckBox(int row) const {
  RECT bounds{};
  bounds.left = LVIR_BOUNDS;
  Write(&bounds, sizeof bounds);
  if (!SendMessageW(list_, LVM_GETITEMRECT, row, reinterpret_cast<LPARAM>(remote_))) {
    throw std::runtime_error("the list view has no row " + std::to_string(row));
  }
  Read(&bounds, sizeof bounds);
  const int y = (bounds.top + bounds.bottom) / 2;
  int first = -1;
  int last = -1;
  for (int x = bounds.left; x < bounds.left + kCheckBoxSearchWidth; ++x) {
    LVHITTESTINFO hit{};
    hit.pt = {x, y};
    Write(&hit, sizeof hit);
    SendMessageW(list_, LVM_HITTEST, 0, reinterpret_cast<LPARAM>(remote_));
    Read(&hit, sizeof hit);
    if (hit.iItem == row && (hit.flags & LVHT_ONITEMSTATEICON) != 0) {
      if (first < 0) first = x;
      last = x;
    }
  }
  if (first < 0) throw std::runtime_error("row " + std::to_string(row) + " shows no check box");
  POINT centre{(first + last) / 2, y};
  ClientToScreen(list_, &centre);
  return centre;
}

}  // namespace e2e
