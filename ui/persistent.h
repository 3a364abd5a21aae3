#pragma once
// The root of every class that publishes properties: components and the
// objects they own behind object properties (fonts, string lists, bitmaps).

namespace ui {

class ClassInfo;

class Persistent {
 public:
  virtual ~Persistent() = default;
  // The object's most derived published class.
  virtual const ClassInfo& Class() const = 0;

 protected:
  Persistent() = default;
  Persistent(const Persistent&) = default;
  Persistent& operator=(const Persistent&) = default;
};

}  // namespace ui
