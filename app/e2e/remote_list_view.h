#pragma once
// The list view of another process. List view messages that carry a
// pointer do not cross processes, so their structures and texts live in a
// block of memory allocated inside the list's own process; the messages
// without one (count, item state) are sent plainly.

#include <windows.h>

#include <string>

namespace e2e {

class RemoteListView {
 public:
  // Throws std::runtime_error when the list's process cannot be reached.
  explicit RemoteListView(HWND list);
  ~RemoteListView();
  RemoteListView(const RemoteListView&) = delete;
  RemoteListView& operator=(const RemoteListView&) = delete;

  int Count() const;
  bool Checked(int row) const;
  std::wstring Text(int row, int column) const;
  // The screen point in the middle of the row's check box, as the list's
  // own hit test reports the box; throws when the row shows none.
  POINT CheckBox(int row) const;

 private:
  void Write(const void* data, SIZE_T size) const;
  void Read(void* data, SIZE_T size, SIZE_T offset = 0) const;

  HWND list_;
  HANDLE process_ = nullptr;
  char* remote_ = nullptr;  // an address in the list's process
};

}  // namespace e2e
