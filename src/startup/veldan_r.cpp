#include "startup/veldan_r.h"

#include "settings/numbers.h"
#include "startup/app.h"
#include "startup/preview_picture.h"

namespace mirane {

namespace {

constexpr std::int32_t kPictureWidth = 152;  // pixels
constexpr std::int32_t kPictureHeight = 112;

platform::FormDesign PreviewDesign() {
  platform::FormDesign design;
  design.title = u"Preview Window";
  design.border = platform::Border::None;
  design.control_box = false;
  design.back_colour = 0x00000000;
  design.show_in_taskbar = false;
  return design;
}

// Twips back to pixels the toolkit's way: a single-precision quotient,
// rounded to the whole pixel.
std::int32_t TwipsToPixels(std::int32_t twips, std::int32_t twips_per_pixel) {
  if (twips_per_pixel == 0) return 0;
  const float pixels = static_cast<float>(twips) / static_cast<float>(twips_per_pixel);
  return numbers::ToInt32(pixels).value_or(0);
}

}  // namespace

platform::Hwnd PreviewHostHandle(std::u16string_view argument_text) {
  const std::u16string_view digits =
      argument_text.size() > 3 ? argument_text.substr(3) : std::u16string_view();
  const std::int32_t value = numbers::ToInt32(numbers::LeadingNumber(digits)).value_or(0);
  return static_cast<platform::Hwnd>(value);
}

std::int32_t PixelsToTwips(std::int64_t pixels, std::int32_t twips_per_pixel) {
  // In 32 bits: a 16-bit size would lose every pane wider than 2184 pixels.
  return numbers::ToInt32(static_cast<double>(pixels) * twips_per_pixel).value_or(0);
}

Veldan_R::Veldan_R(App& app) : app_(app) {}
Veldan_R::~Veldan_R() = default;

void Veldan_R::SetUp(std::u16string_view argument_text) {
  auto& sys = app_.os.system();
  auto& forms = app_.os.forms();
  host_ = PreviewHostHandle(argument_text);
  // Without a pane to live in the preview would sit on the desktop,
  // invisible and forever: a handle that names no window ends the program.
  if (sys.IsWindow(host_) == 0) sys.EndProcess(0);

  platform::Rect pane;
  app_.shared.LastApiResult = sys.GetWindowRect(host_, pane);
  const std::int32_t tx = forms.TwipsPerPixelX();
  const std::int32_t ty = forms.TwipsPerPixelY();
  const std::int32_t width = PixelsToTwips(static_cast<std::int64_t>(pane.right) - pane.left, tx);
  const std::int32_t height = PixelsToTwips(static_cast<std::int64_t>(pane.bottom) - pane.top, ty);

  form_ = forms.Create(PreviewDesign(), *this);
  platform::Image& picture =
      form_->AddImage(MIRANE_PREVIEW_PICTURE, 0, 0, kPictureWidth, kPictureHeight);
  form_->Load();

  const platform::Hwnd self = form_->hWnd();
  const std::int32_t style = sys.GetWindowLongA(self, platform::kGwlStyle);
  app_.shared.LastApiResult =
      sys.SetWindowLongA(self, platform::kGwlStyle, style | platform::kWsChild);
  app_.shared.LastApiResult = static_cast<std::int32_t>(sys.SetParent(self, host_));

  form_->Move(0, 0, width, height);
  picture.MovePixels(0, 0, TwipsToPixels(width, tx), TwipsToPixels(height, ty));

  // The child goes with its pane, and the toolkit ends the program when its
  // last window has gone.  When the pane's process dies the child may not
  // hear of it, so the preview also looks for itself.
  form_->AddTimer(kHostCheckMs, true, [this] { CheckHost(); });
  form_->Show(platform::ShowMode::Modeless);
}

void Veldan_R::CheckHost() {
  auto& sys = app_.os.system();
  if (sys.IsWindow(host_) == 0) sys.EndProcess(0);
}

void Veldan_R::Form_Unload(bool& cancel) {
  (void)cancel;
  auto& sys = app_.os.system();
  const platform::Hwnd self = form_->hWnd();
  (void)sys.GetWindow(self, platform::kGwOwner);
  app_.shared.LastApiResult = sys.PostMessageA(self, platform::kWmClose, 0, 0);
}

}  // namespace mirane
