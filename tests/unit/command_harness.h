// An image button on a form of the fake, and readers of what it drew.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/command.h"
#include "fake/fake_platform.h"

namespace testing_support {

struct NoEvents : platform::FormEvents {};

struct ButtonBench {
  // A form at screen pixel (100, 100) with one button at (15, 15) twips.
  explicit ButtonBench(double width = 1875, double height = 375) {
    form = os.Create(platform::FormDesign{u"Form", 6000, 3000}, events);
    fake_form().left = 1500;
    fake_form().top = 1500;
    button = std::make_unique<mirane::Command>(os, *form, u"Cmd", 15, 15, ambient);
    button->Click = [this] { ++clicks; };
    button->ReadProperties(mirane::PropertyBag{});
    button->site().Move(15, 15, width, height);
  }

  fake::FakeForm& fake_form() { return dynamic_cast<fake::FakeForm&>(*form); }
  fake::FakeUserControl& site() { return dynamic_cast<fake::FakeUserControl&>(button->site()); }

  // Starts a fresh stretch of the log.
  void Mark() {
    mark = os.log.size();
    clicks = 0;
  }
  std::vector<std::string> Since() const {
    return {os.log.begin() + static_cast<std::ptrdiff_t>(mark), os.log.end()};
  }
  // The entries since the mark that contain the text.
  std::vector<std::string> With(std::string_view text) const {
    std::vector<std::string> out;
    for (const auto& e : Since()) {
      if (e.find(text) != std::string::npos) out.push_back(e);
    }
    return out;
  }
  // The picture of each face drawn since the mark, in order.
  std::vector<std::string> Faces() const {
    std::vector<std::string> out;
    bool open = false;
    for (const auto& e : Since()) {
      if (e == "Cmd.Cls()") open = true;
      const auto at = e.find("PaintPicture(");
      if (open && at != std::string::npos) {
        const auto from = at + 13;
        out.push_back(e.substr(from, e.find(',', from) - from));
        open = false;
      }
    }
    return out;
  }
  // The pointer somewhere on the form, off the button.
  void PointerOffButton() { os.ui.PointAt(100 + 300, 100 + 150); }

  fake::FakePlatform os;
  NoEvents events;
  platform::FontRef ambient = mirane::DesignFont();
  std::unique_ptr<platform::Form> form;
  std::unique_ptr<mirane::Command> button;
  int clicks = 0;
  std::size_t mark = 0;
};

}  // namespace testing_support
