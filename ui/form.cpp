#include "ui/form.h"

#include "ui/class_info.h"
#include "ui/publish.h"

namespace ui {
namespace {

// Every control of `parent` and of the windowed controls inside it, in
// child order, depth first; stops when `visit` answers true.
template <class Visit>
bool EachControl(WinControl& parent, Visit visit) {
  for (std::size_t i = 0; i < parent.ControlCount(); ++i) {
    Control& control = parent.Controls(i);
    if (visit(control)) return true;
    if (auto* windowed = dynamic_cast<WinControl*>(&control); windowed && EachControl(*windowed, visit)) {
      return true;
    }
  }
  return false;
}

}  // namespace

const ClassInfo& Form::StaticClass() {
  static const ClassInfo info(
      "TForm", &WinControl::StaticClass(),
      Publish<Form>()
          .Text("Caption", &Form::Caption, &Form::SetCaption, std::string())
          .Integer("ClientWidth", &Form::ClientWidth, &Form::SetClientWidth, std::nullopt, 0,
                   INT32_MAX)
          .Integer("ClientHeight", &Form::ClientHeight, &Form::SetClientHeight, std::nullopt, 0,
                   INT32_MAX)
          .Enumeration("BorderStyle", &Form::BorderStyle, &Form::SetBorderStyle,
                       {"bsNone", "bsSingle", "bsSizeable", "bsDialog"},
                       TFormBorderStyle::bsSizeable)
          .Enumeration("Position", &Form::Position, &Form::SetPosition,
                       {"poDesigned", "poScreenCenter"}, TPosition::poDesigned)
          .EventOf("OnShow", &Form::OnShow)
          .Done());
  return info;
}

Form::Form(WindowSystem& windows) : windows_(windows) {}

Form::~Form() { windows_.Removed(*this); }

void Form::SetCaption(const std::string& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  Changed();
}

void Form::SetClientWidth(int width) {
  if (width == clientWidth_) return;
  clientWidth_ = width;
  Changed();
  Realign();
}

void Form::SetClientHeight(int height) {
  if (height == clientHeight_) return;
  clientHeight_ = height;
  Changed();
  Realign();
}

int Form::ShowModal() {
  modalResult_ = mrNone;
  return windows_.ShowModal(*this);
}

void Form::Show() { windows_.Show(*this); }

void Form::Close() {
  if (modal_) {
    modalResult_ = mrCancel;
  } else {
    windows_.Close(*this);
  }
}

bool Form::OfferDialogKey(int key, ShiftState shift) {
  return EachControl(*this, [&](Control& control) { return control.DialogKey(key, shift); });
}

bool Form::OfferDialogChar(char32_t character) {
  return EachControl(*this, [&](Control& control) { return control.DialogChar(character); });
}

void Form::FocusControlChanged() {
  EachControl(*this, [](Control& control) {
    control.FocusChanged();
    return false;
  });
}

}  // namespace ui
