// Controls inside forms: parents and children, tab order, click tracking,
// focus, dialog keys offered round the form, modal results.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"
#include "ui/form.h"
#include "ui/tests/fake_window_system.h"
#include "ui/win_control.h"

namespace ui::testing {
namespace {

// A windowed control that handles one dialog key and records what it saw.
class KeyTaker : public WinControl {
 public:
  explicit KeyTaker(int key) : key_(key) {}
  bool DialogKey(int key, ShiftState) override {
    offered.push_back(key);
    return key == key_;
  }
  std::vector<int> offered;

 private:
  int key_;
};

class ControlTest : public ::testing::Test {
 protected:
  template <class T, class... Args>
  T& Add(WinControl& parent, const std::string& name, Args&&... args) {
    T& control = form_.Adopt(std::make_unique<T>(std::forward<Args>(args)...));
    control.SetName(name);
    control.SetParent(&parent);
    return control;
  }

  FakeWindowSystem windows_;
  Form form_{windows_};
};

TEST_F(ControlTest, ParentsHoldChildrenInOrderAndTabOrderMoves) {
  auto& panel = Add<WinControl>(form_, "panel");
  auto& a = Add<WinControl>(form_, "a");
  auto& label = Add<Control>(form_, "label");
  auto& b = Add<WinControl>(form_, "b");
  auto& inner = Add<WinControl>(panel, "inner");
  ASSERT_EQ(form_.ControlCount(), 4u);
  EXPECT_EQ(&form_.Controls(2), &label);
  EXPECT_EQ(inner.ParentForm(), &form_);
  EXPECT_EQ(inner.Windows(), &windows_);
  EXPECT_EQ(form_.TabList(), (std::vector<WinControl*>{&panel, &a, &b})) << "no lightweight control";

  b.SetTabOrder(0);
  EXPECT_EQ(form_.TabList(), (std::vector<WinControl*>{&b, &panel, &a}));
  panel.SetTabOrder(99);
  EXPECT_EQ(form_.TabList(), (std::vector<WinControl*>{&b, &a, &panel}));
  EXPECT_EQ(panel.TabOrder(), 2);

  // Moving a control tells the window system; leaving the parent too.
  windows_.removed.clear();
  inner.SetParent(&form_);
  EXPECT_EQ(windows_.removed, std::vector<Control*>{&inner});
  EXPECT_EQ(panel.ControlCount(), 0u);
  EXPECT_THROW(panel.SetParent(&panel), std::invalid_argument);
  WinControl orphan;
  EXPECT_EQ(orphan.Windows(), nullptr);
  orphan.Invalidate();  // on no form: nothing to tell
}

TEST_F(ControlTest, AlignedChildrenShareTheClientArea) {
  form_.SetClientWidth(530);
  form_.SetClientHeight(366);
  auto& footer = Add<WinControl>(form_, "footer");
  footer.SetHeight(41);
  footer.SetAlign(TAlign::alBottom);
  auto& header = Add<WinControl>(form_, "header");
  header.SetBounds(7, 7, 10, 20);
  header.SetAlign(TAlign::alTop);
  auto& side = Add<Control>(form_, "side");
  side.SetWidth(50);
  side.SetAlign(TAlign::alRight);
  auto& body = Add<WinControl>(form_, "body");
  body.SetAlign(TAlign::alClient);
  auto& inner = Add<Control>(body, "inner");
  inner.SetAlign(TAlign::alClient);
  auto& loose = Add<Control>(form_, "loose");
  loose.SetBounds(333, 54, 174, 71);

  EXPECT_EQ(footer.BoundsRect(), (Rect{0, 325, 530, 366}));
  EXPECT_EQ(header.BoundsRect(), (Rect{0, 0, 530, 20}));
  EXPECT_EQ(side.BoundsRect(), (Rect{480, 20, 530, 325}));
  EXPECT_EQ(body.BoundsRect(), (Rect{0, 20, 480, 325}));
  EXPECT_EQ(inner.BoundsRect(), (Rect{0, 0, 480, 305})) << "a container lays out its own";
  EXPECT_EQ(loose.BoundsRect(), (Rect{333, 54, 507, 125})) << "unaligned controls stay";

  // A new client size, a taller footer, a hidden header: laid out again.
  form_.SetClientHeight(400);
  footer.SetHeight(50);
  header.SetVisible(false);
  EXPECT_EQ(footer.BoundsRect(), (Rect{0, 350, 530, 400}));
  EXPECT_EQ(body.BoundsRect(), (Rect{0, 0, 480, 350}));
  EXPECT_EQ(inner.BoundsRect(), (Rect{0, 0, 480, 350}));
  // Too small for everything: sizes stop at zero.
  form_.SetClientHeight(30);
  EXPECT_EQ(body.BoundsRect().Height(), 0);
}

TEST_F(ControlTest, APressAndAReleaseInsideIsAClick) {
  auto& button = Add<WinControl>(form_, "button");
  button.SetBounds(10, 10, 70, 23);
  int clicks = 0;
  button.OnClick.handler = [&](Component&) { ++clicks; };
  const struct {
    const char* name;
    Point up;
    bool clicks;
  } kCases[] = {
      {"inside", {5, 5}, true},
      {"bottom-right pixel", {69, 22}, true},
      {"just right of it", {70, 5}, false},
      {"above it", {5, -1}, false},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.name);
    clicks = 0;
    button.MouseDown(TMouseButton::mbLeft, {}, {5, 5});
    EXPECT_EQ(windows_.captured, &button);
    button.MouseUp(TMouseButton::mbLeft, {}, c.up);
    EXPECT_EQ(windows_.captured, nullptr);
    EXPECT_EQ(clicks, c.clicks ? 1 : 0);
  }
  // A release without a press, or of the right button, is no click.
  clicks = 0;
  button.MouseUp(TMouseButton::mbLeft, {}, {5, 5});
  button.MouseDown(TMouseButton::mbRight, {}, {5, 5});
  button.MouseUp(TMouseButton::mbRight, {}, {5, 5});
  EXPECT_EQ(clicks, 0);
}

TEST_F(ControlTest, FocusGoesOnlyWhereItCanAndTheFormHearsOfIt) {
  auto& a = Add<WinControl>(form_, "a");
  auto& panel = Add<WinControl>(form_, "panel");
  auto& inner = Add<WinControl>(panel, "inner");
  std::vector<std::string> seen;
  a.OnEnter.handler = [&](Component&) { seen.push_back("enter a"); };
  a.OnExit.handler = [&](Component&) { seen.push_back("exit a"); };
  EXPECT_TRUE(a.SetFocus());
  EXPECT_TRUE(a.Focused());
  panel.SetEnabled(false);
  EXPECT_FALSE(inner.CanFocus()) << "a disabled parent keeps the focus out";
  EXPECT_FALSE(inner.SetFocus());
  panel.SetEnabled(true);
  panel.SetVisible(false);
  EXPECT_FALSE(inner.SetFocus());
  panel.SetVisible(true);
  EXPECT_TRUE(inner.SetFocus());
  EXPECT_EQ(seen, (std::vector<std::string>{"enter a", "exit a"}));
  WinControl loose;
  EXPECT_FALSE(loose.CanFocus()) << "on no form";
}

TEST_F(ControlTest, DialogKeysGoRoundTheFormUntilOneTakesThem) {
  auto& first = Add<KeyTaker>(form_, "first", kVkEscape);
  auto& panel = Add<WinControl>(form_, "panel");
  auto& deep = Add<KeyTaker>(panel, "deep", kVkReturn);
  auto& last = Add<KeyTaker>(form_, "last", kVkReturn);
  EXPECT_TRUE(form_.OfferDialogKey(kVkReturn, {}));
  EXPECT_EQ(first.offered, std::vector<int>{kVkReturn});
  EXPECT_EQ(deep.offered, std::vector<int>{kVkReturn});
  EXPECT_TRUE(last.offered.empty()) << "the first taker ends the round";
  EXPECT_FALSE(form_.OfferDialogKey(kVkSpace, {}));
  EXPECT_EQ(last.offered, std::vector<int>{kVkSpace});
}

TEST_F(ControlTest, ClosingAModalFormCancelsAndTheLastResultCounts) {
  windows_.whileModal = [](Form& form) {
    form.Close();
    form.SetModalResult(mrOk);  // a confirming button: close, then OK
  };
  EXPECT_EQ(form_.ShowModal(), mrOk);
  windows_.whileModal = [](Form& form) { form.Close(); };
  EXPECT_EQ(form_.ShowModal(), mrCancel);
  EXPECT_TRUE(windows_.closed.empty()) << "a modal form only ends its loop";
  form_.Close();
  EXPECT_EQ(windows_.closed, std::vector<Form*>{&form_});
}

}  // namespace
}  // namespace ui::testing
