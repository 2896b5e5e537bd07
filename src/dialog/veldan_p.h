// The settings dialog.
#pragma once

#include <memory>

#include "platform/forms.h"

namespace mirane {

struct App;

class Veldan_P : public platform::FormEvents {
 public:
  explicit Veldan_P(App& app);
  ~Veldan_P() override;

  // Loads the dialog and shows it modally; returns once it has closed.
  void ShowModal();

 private:
  App& app_;
  std::unique_ptr<platform::Form> form_;
};

}  // namespace mirane
