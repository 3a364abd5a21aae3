#pragma once
// TFixedSubItems: the text cells of one list-view row after its first
// column, each with an image index (-1 for none), keeping the platform list
// view in step with every change.

#include <string>
#include <vector>

namespace controls {

// What a row's cells tell the list view they belong to.
class ListRowLink {
 public:
  virtual ~ListRowLink() = default;
  // The text of `column` of this row is to be asked for again (and the
  // column re-measured when it follows its content).
  virtual void RefreshColumn(int column) = 0;
  virtual void RedrawRow() = 0;
  // A batch of changes: the list view redraws once, at the end.
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
};

class TFixedSubItems {
 public:
  explicit TFixedSubItems(ListRowLink& row) : row_(row) {}

  int Count() const { return static_cast<int>(texts_.size()); }
  const std::string& Text(int index) const { return texts_.at(static_cast<std::size_t>(index)); }
  int ImageIndex(int index) const { return images_.at(static_cast<std::size_t>(index)); }

  void Add(const std::string& text);
  // Throws std::out_of_range for an index outside 0..Count().
  void Insert(int index, const std::string& text);
  // Throws std::out_of_range for an index outside 0..Count()-1.
  void Replace(int index, const std::string& text);
  void Delete(int index);
  void Clear();
  void BeginUpdate() { row_.BeginUpdate(); }
  void EndUpdate() { row_.EndUpdate(); }

 private:
  ListRowLink& row_;
  std::vector<std::string> texts_;
  std::vector<int> images_;
};

}  // namespace controls
