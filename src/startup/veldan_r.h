// The preview window shown inside the host's pane.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

#include "platform/platform.h"

namespace mirane {

struct App;

class Veldan_R : public platform::FormEvents {
 public:
  explicit Veldan_R(App& app);
  ~Veldan_R() override;

  // The preview branch of the start procedure: turns the form into a child
  // of the host's pane, covering it, and shows it.
  void SetUp(std::u16string_view argument_text);

  void Form_Unload(bool& cancel) override;

  // How often the preview looks whether its host's pane still exists.
  static constexpr std::uint32_t kHostCheckMs = 250;

 private:
  // Ends the program once the pane has gone, in case nobody told us.
  void CheckHost();

  App& app_;
  std::unique_ptr<platform::Form> form_;
  platform::Hwnd host_ = 0;
};

// The host's window handle from the argument text: the lenient leading
// number from the fourth character on, 0 when there is none or it does not
// fit 32 bits.
platform::Hwnd PreviewHostHandle(std::u16string_view argument_text);

// A length in pixels as twips, 0 when it does not fit 32 bits.
std::int32_t PixelsToTwips(std::int64_t pixels, std::int32_t twips_per_pixel);

}  // namespace mirane
