// The preview window shown inside the host's pane.
#pragma once

#include <memory>
#include <string_view>

#include "platform/forms.h"

namespace mirane {

struct App;

class Veldan_R : public platform::FormEvents {
 public:
  explicit Veldan_R(App& app);
  ~Veldan_R() override;

  // The preview branch of the start procedure.
  void SetUp(std::u16string_view argument_text);

 private:
  App& app_;
  std::unique_ptr<platform::Form> form_;
};

}  // namespace mirane
