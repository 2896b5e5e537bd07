#include "contract/contract_env.h"
#include "fake/fake_platform.h"

namespace contract {

namespace {

// The machine of the Wine bench: no CD driver, one wave output device.
class FakeEnv : public Env {
 public:
  FakeEnv() {
    fake_.mci.cd.driver = false;
    fake_.mci.wave_devices = 1;
  }
  platform::Platform& os() override { return fake_; }
  std::string Folder() override {
    const std::string folder = "C:\\試験 ミラネ\\フォルダ" + std::to_string(++count_);
    fake_.AddFolder(folder);
    return fake::Sjis(folder);
  }
  void WriteFile(const std::string& path, const std::string& bytes) override {
    fake_.AddFile(Utf8(path), bytes);
  }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return fake_.FileBytes(Utf8(path));
  }
  void MakeFolder(const std::string& path) override { fake_.AddFolder(Utf8(path)); }
  // Reading does not lock a file, so there is nothing to model.
  std::shared_ptr<void> HoldOpenForReading(const std::string&) override { return nullptr; }
  bool CopyMusic(const std::string& name, const std::string& to) override {
    fake_.AddFile(Utf8(to), "tone");
    // The bench's tone as the device plays it: two seconds long.
    if (name.ends_with(".mp3")) fake_.mci.AddMp3(Utf8(to), 2000);
    return true;
  }
  void Wait(std::uint32_t milliseconds) override { fake_.Advance(milliseconds); }

 private:
  std::string Utf8(const std::string& ansi) { return fake::Utf8(fake_.codec().FromAnsi(ansi)); }
  fake::FakePlatform fake_;
  int count_ = 0;
};

}  // namespace

std::unique_ptr<Env> MakeEnv() {
  return std::make_unique<FakeEnv>();
}

}  // namespace contract
