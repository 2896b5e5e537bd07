// The hidden saver window: starts the engine and the music, and ends the
// program when the engine's window has gone.
#pragma once

#include <memory>

#include "platform/forms.h"

namespace mirane {

struct App;

class Veldan_S : public platform::FormEvents {
 public:
  explicit Veldan_S(App& app);
  ~Veldan_S() override;

  // Creates the window, never shown, and runs its load handler.
  void Load();

 private:
  App& app_;
  std::unique_ptr<platform::Form> form_;
};

}  // namespace mirane
