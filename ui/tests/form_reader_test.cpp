// Reading stored forms: the whole form built through setters, and every
// kind of bad text reported with the form's name and line, leaving nothing
// half-built.

#include <gtest/gtest.h>

#include <any>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "ui/form_error.h"
#include "ui/form_reader.h"
#include "ui/tests/sample_classes.h"

namespace ui::testing {
namespace {

// A 2 x 1 bitmap resource: info header, 24 bits per pixel, one padded row.
std::vector<std::uint8_t> TinyBitmapResource() {
  std::vector<std::uint8_t> bytes(40 + 8, 0);
  bytes[0] = 40;
  bytes[4] = 2;   // width
  bytes[8] = 1;   // height
  bytes[12] = 1;  // planes
  bytes[14] = 24;
  return bytes;
}

class FormReaderTest : public ::testing::Test {
 protected:
  FormReaderTest()
      : environment_{classes_,
                     [](const std::string& name) -> std::optional<std::vector<std::uint8_t>> {
                       if (name == "TINY") return TinyBitmapResource();
                       if (name == "BROKEN") return std::vector<std::uint8_t>(10, 0);
                       return std::nullopt;
                     },
                     [this](const std::string& name) -> std::any {
                       const auto it = handlers_.find(name);
                       return it == handlers_.end() ? std::any() : it->second;
                     }} {
    g_journal.clear();
    handlers_["btCheckClick"] = std::function<void(Component&)>(
        [this](Component& sender) { clicks_.push_back(sender.Name()); });
    handlers_["FormShow"] = std::function<void()>([] {});
  }

  void Read(const std::string& text) { ReadForm(form_, "Sample", text, environment_); }

  ClassRegistry classes_ = SampleClasses();
  std::map<std::string, std::any> handlers_;
  std::vector<std::string> clicks_;
  FormEnvironment environment_;
  SampleForm form_;
};

const char kForm[] = R"(// the whole form
object frmSample: TSampleForm
  Caption = "Quorvex \"Remover\""
  Width = 458
  Color = #EFF3FF
  object pnlTop: TSamplePanel
    Align = alTop
    Color = 0x8000000F
    object btCheck: TSampleControl
      Caption = "Check Me Now!"
      Enabled = false
      Font.Name = "Tahoma"
      Font.Style = [fsBold, fsUnderline]
      Font.Size = 10
      Items = ["one", "", "three"]
      Glyph = bitmap("TINY")
      OnClick = btCheckClick
    end
  end
  object : TSampleNonVisual
    Heading.Charset = 238
  end
  object lblInfo: TSampleControl
    Font.Style = []
  end
end
)";

TEST_F(FormReaderTest, BuildsTheWholeFormThroughItsSetters) {
  Read(kForm);
  EXPECT_EQ(form_.Name(), "frmSample");
  EXPECT_EQ(form_.Caption(), "Quorvex \"Remover\"");
  EXPECT_EQ(form_.Width(), 458);
  EXPECT_EQ(form_.Color(), 0x00FFF3EFu) << "#RRGGBB is the colour value 0x00BBGGRR";

  // Every component is owned by the form, in the order the text gives them.
  ASSERT_EQ(form_.ComponentCount(), 4u);
  EXPECT_EQ(form_.Components(0).Name(), "pnlTop");
  EXPECT_EQ(form_.Components(1).Name(), "btCheck");
  EXPECT_EQ(form_.Components(2).Name(), "");
  EXPECT_EQ(form_.Components(3).Name(), "lblInfo");

  auto& panel = static_cast<SamplePanel&>(form_.Components(0));
  auto& check = static_cast<SampleControl&>(form_.Components(1));
  auto& other = static_cast<SampleNonVisual&>(form_.Components(2));
  EXPECT_EQ(panel.ParentComponent(), &form_);
  EXPECT_EQ(check.ParentComponent(), &panel) << "nesting gives the parent, not the owner";
  EXPECT_EQ(panel.Alignment(), Align::Top);
  EXPECT_EQ(panel.Color(), 0x8000000Fu);
  EXPECT_FALSE(check.Enabled());
  EXPECT_EQ(check.GetFont()->Name(), "Tahoma");
  EXPECT_EQ(check.GetFont()->Style(), Font::kBold | Font::kUnderline);
  EXPECT_EQ(check.GetFont()->Size(), 10);
  EXPECT_EQ(check.GetItems()->Lines(), (std::vector<std::string>{"one", "", "three"}));
  EXPECT_EQ(check.GetGlyph()->Width(), 2);
  EXPECT_EQ(other.GetHeading()->Charset(), 238);

  check.OnClick(check);
  EXPECT_EQ(clicks_, std::vector<std::string>{"btCheck"});
  EXPECT_EQ(check.OnClick.handlerName, "btCheckClick");

  // Setters ran in text order; everything was loaded after everything was set.
  EXPECT_EQ(g_journal, (std::vector<std::string>{
                           "caption frmSample = Quorvex \"Remover\"",
                           "caption btCheck = Check Me Now!",
                           "loaded pnlTop",
                           "loaded btCheck",
                           "loaded lblInfo",
                           "loaded frmSample",
                       }));
}

TEST_F(FormReaderTest, BadTextIsReportedWithFormAndLineAndLeavesNothingBehind) {
  const struct {
    const char* name;
    const char* text;
    int line;
    const char* message;
  } kCases[] = {
      {"not an object", "Width = 1", 1, "expected \"object\""},
      {"missing class", "object frm\nend", 2, "expected \":\""},
      {"wrong root class", "object frm: TSamplePanel\nend", 1, "not a TSamplePanel"},
      {"no end", "object frm: TSampleForm\n  Width = 1\n", 3, "without \"end\""},
      {"text after the end", "object frm: TSampleForm\nend\nend", 3, "after the form's end"},
      {"unknown class", "object frm: TSampleForm\n object x: TNothing\n end\nend", 2,
       "unknown class TNothing"},
      {"unknown property", "object frm: TSampleForm\n Captoin = \"x\"\nend", 2,
       "unknown property Captoin of TSampleForm"},
      {"unknown sub-property", "object frm: TSampleForm\n Font.Bold = true\nend", 2,
       "unknown property Bold of TFont"},
      {"dotted through a scalar", "object frm: TSampleForm\n Width.Low = 1\nend", 2,
       "holds no properties"},
      {"text for an integer", "object frm: TSampleForm\n Width = \"wide\"\nend", 2,
       "Width takes an integer"},
      {"integer out of range", "object frm: TSampleForm\n Width = 10001\nend", 2,
       "Width takes 0 to 10000"},
      {"setter refuses", "object frm: TSampleForm\n\n Width = 13\nend", 3, "13 is unlucky"},
      {"bad boolean", "object frm: TSampleForm\n Enabled = yes\nend", 2, "true or false"},
      {"unknown enum value", "object frm: TSampleForm\n Align = alLeft\nend", 2,
       "alLeft is no value of Align"},
      {"unknown set value", "object frm: TSampleForm\n Font.Style = [fsBold, fsWide]\nend", 2,
       "fsWide is no value of Style"},
      {"texts in a set", "object frm: TSampleForm\n Font.Style = [fsBold, \"x\"]\nend", 2,
       "a set holds only value names"},
      {"colour too short", "object frm: TSampleForm\n Color = #FFF\nend", 2, "six hexadecimal"},
      {"negative colour", "object frm: TSampleForm\n Color = -1\nend", 2, "Color takes a colour"},
      {"object set whole", "object frm: TSampleForm\n Font = \"Tahoma\"\nend", 2,
       "set through its own properties"},
      {"missing bitmap", "object frm: TSampleForm\n Glyph = bitmap(\"NONE\")\nend", 2,
       "no bitmap resource NONE"},
      {"broken bitmap", "object frm: TSampleForm\n Glyph = bitmap(\"BROKEN\")\nend", 2,
       "not a valid bitmap"},
      {"unknown handler", "object frm: TSampleForm\n OnClick = btNothing\nend", 2,
       "no handler btNothing"},
      {"handler of another type", "object frm: TSampleForm\n OnClick = FormShow\nend", 2,
       "does not fit event OnClick"},
      {"open text", "object frm: TSampleForm\n Caption = \"abc\nend", 2, "closing quote"},
      {"bad escape", "object frm: TSampleForm\n Caption = \"a\\qb\"\nend", 2, "unknown escape"},
      {"huge number", "object frm: TSampleForm\n Width = 99999999999999999999\nend", 2,
       "out of range"},
      {"stray character", "object frm: TSampleForm\n Width = 1;\nend", 2, "unexpected character"},
      {"property after an object",
       "object frm: TSampleForm\n object a: TSampleControl\n end\n Width = 1\nend", 4,
       "properties come before"},
      {"duplicate name",
       "object frm: TSampleForm\n object a: TSampleControl\n end\n object A: TSampleControl\n "
       "end\nend",
       4, "already exists"},
      {"parent refused",
       "object frm: TSampleForm\n object a: TSampleControl\n  object b: TSampleControl\n  end\n "
       "end\nend",
       3, "cannot sit in"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    SampleForm form;
    try {
      ReadForm(form, "Sample", c.text, environment_);
      ADD_FAILURE() << "no error";
    } catch (const FormError& e) {
      EXPECT_EQ(e.form(), "Sample");
      EXPECT_EQ(e.line(), c.line);
      EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
      EXPECT_EQ(std::string(e.what()).rfind("form Sample, line " + std::to_string(c.line), 0), 0u)
          << e.what();
    }
    EXPECT_EQ(form.ComponentCount(), 0u) << "nothing half-built stays";
  }
}

TEST_F(FormReaderTest, AFailureLateInTheFormTakesBackWhatWasBuilt) {
  std::string text = kForm;
  text.replace(text.find("Font.Style = []"), 15, "Font.Style = [fsHuge]");
  EXPECT_THROW(Read(text), FormError);
  EXPECT_EQ(form_.ComponentCount(), 0u);
  for (const std::string& event : g_journal) EXPECT_EQ(event.rfind("loaded", 0), std::string::npos);
}

}  // namespace
}  // namespace ui::testing
