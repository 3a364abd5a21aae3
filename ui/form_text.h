#pragma once
// The stored-form text format, parsed into objects without knowing any
// class. A form is one object; objects nest:
//
//   // a comment
//   object frmMain: TfrmMain
//     Caption = "Quorvex Remover"      text, with \" \\ \n \t escapes
//     Width = 458                      integer (also 0x8000000F)
//     Color = #EFF3FF                  colour as #RRGGBB
//     Visible = false                  identifier: boolean, enumeration value, handler
//     Font.Style = [fsBold]            set; a dotted name reaches an owned object
//     Items = ["one", "two"]           string list
//     Glyph = bitmap("GLYPH_CHECK")    bitmap resource of the program
//     object btCheck: TOffice97Button  an owned component (name may be left out)
//     end
//   end

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

struct FormValue {
  enum class Type { Text, Integer, Colour, Identifier, List, Bitmap };
  Type type = Type::Text;
  std::string text;           // Text, Identifier, Bitmap (the resource name)
  std::int64_t number = 0;    // Integer, Colour (0x00BBGGRR)
  // List: the items; `listOfText` tells quoted texts from identifiers (an
  // empty list is either).
  std::vector<std::string> items;
  bool listOfText = false;
};

struct FormProperty {
  std::vector<std::string> path;  // "Font.Size" is {"Font", "Size"}
  FormValue value;
  int line = 0;
};

struct FormObject {
  std::string name;
  std::string className;
  int line = 0;
  std::vector<FormProperty> properties;
  std::vector<FormObject> children;
};

// Throws FormError (naming `formName` and the line) on a syntax error.
FormObject ParseForm(std::string_view formName, std::string_view text);

}  // namespace ui
