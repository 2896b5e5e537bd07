#include "dialog/veldan_p.h"

#include "startup/app.h"

namespace mirane {

namespace {

platform::FormDesign DialogDesign() {
  platform::FormDesign design;
  design.title = std::u16string(kDialogTitle);
  design.client_width = 7185;
  design.client_height = 3780;
  design.border = platform::Border::FixedSingle;
  design.back_colour = 0x00C0C0C0;
  design.icon = 1;
  return design;
}

}  // namespace

Veldan_P::Veldan_P(App& app) : app_(app) {}
Veldan_P::~Veldan_P() = default;

void Veldan_P::ShowModal() {
  form_ = app_.os.forms().Create(DialogDesign(), *this);
  form_->Load();
  form_->Show(platform::ShowMode::Modal);
}

}  // namespace mirane
