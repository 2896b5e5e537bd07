#include "contract/contract_env.h"
#include "fake/fake_platform.h"

namespace contract {

namespace {

class FakeEnv : public Env {
 public:
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
