#include "startup/veldan_r.h"

#include "startup/app.h"

namespace mirane {

namespace {

platform::FormDesign PreviewDesign() {
  platform::FormDesign design;
  design.title = u"Preview Window";
  design.border = platform::Border::None;
  design.control_box = false;
  design.back_colour = 0x00000000;
  design.show_in_taskbar = false;
  return design;
}

}  // namespace

Veldan_R::Veldan_R(App& app) : app_(app) {}
Veldan_R::~Veldan_R() = default;

void Veldan_R::SetUp(std::u16string_view argument_text) {
  (void)argument_text;
  form_ = app_.os.forms().Create(PreviewDesign(), *this);
  form_->Load();
  form_->Show(platform::ShowMode::Modeless);
}

}  // namespace mirane
