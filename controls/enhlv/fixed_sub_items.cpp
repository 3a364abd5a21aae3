#include "controls/enhlv/fixed_sub_items.h"

#include <stdexcept>

namespace controls {
namespace {

void Check(bool inside) {
  if (!inside) throw std::out_of_range("no such cell");
}

}  // namespace

// Column n + 1 shows cell n: the row's own text is column 0.
void TFixedSubItems::Add(const std::string& text) {
  texts_.push_back(text);
  images_.push_back(-1);
  row_.RefreshColumn(Count());
}

void TFixedSubItems::Insert(int index, const std::string& text) {
  Check(index >= 0 && index <= Count());
  texts_.insert(texts_.begin() + index, text);
  images_.insert(images_.begin() + index, -1);
  // Every cell from the new one on has moved one column to the right.
  for (int column = index + 1; column <= Count(); ++column) row_.RefreshColumn(column);
}

void TFixedSubItems::Replace(int index, const std::string& text) {
  Check(index >= 0 && index < Count());
  texts_[static_cast<std::size_t>(index)] = text;
  row_.RefreshColumn(index + 1);
}

void TFixedSubItems::Delete(int index) {
  Check(index >= 0 && index < Count());
  texts_.erase(texts_.begin() + index);
  images_.erase(images_.begin() + index);
  row_.RedrawRow();
}

void TFixedSubItems::Clear() {
  texts_.clear();
  images_.clear();
}

}  // namespace controls
