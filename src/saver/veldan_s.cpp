#include "saver/veldan_s.h"

#include "startup/app.h"

namespace mirane {

namespace {

platform::FormDesign SaverDesign() {
  platform::FormDesign design;
  design.title = std::u16string(kSaverTitle);
  design.client_width = 3705;
  design.client_height = 2385;
  design.show_in_taskbar = false;
  return design;
}

}  // namespace

Veldan_S::Veldan_S(App& app) : app_(app) {}
Veldan_S::~Veldan_S() = default;

void Veldan_S::Load() {
  form_ = app_.os.forms().Create(SaverDesign(), *this);
  form_->Load();
}

}  // namespace mirane
