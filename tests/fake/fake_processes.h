// The fake's process starts: programs started by path, each behaving as the
// test scripted it on the fake's virtual clock.
//
// A started program can fail to start (the file is missing, or the script
// says so), open a top-level window with a title after some time or never,
// close that window again, and exit.  Windows and exits happen lazily: the
// model catches up with the clock whenever the program looks (FindWindowA,
// ProcessRunning), which is the only way the program can observe them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/forms.h"
#include "platform/processes.h"

namespace fake {

class FakePlatform;

// How the next started program behaves; times count from its start.
struct ProgramScript {
  bool starts = true;                                   // false: the start fails, Shell returns 0
  std::string window_title = "ミラネVC";                // UTF-8
  std::optional<std::uint64_t> window_after_ms = 0;     // nullopt: never opens a window
  std::optional<std::uint64_t> window_closes_after_ms;  // nullopt: keeps it open
  std::optional<std::uint64_t> exits_after_ms;          // nullopt: runs on; exit takes the window
};

struct StartedProgram {
  std::uint32_t task_id = 0;
  std::string path;  // UTF-8, as passed
  std::int32_t window_style = 0;
  std::uint64_t started_at = 0;
  ProgramScript script;
  platform::Hwnd window = 0;  // while it is open
  bool window_opened = false;
  bool exited = false;
};

class FakeProcesses : public platform::Processes {
 public:
  explicit FakeProcesses(FakePlatform& owner) : owner_(owner) {}

  std::uint32_t Shell(std::string_view path, std::int32_t window_style) override;
  bool ProcessRunning(std::uint32_t task_id) override;

  // Brings every started program up to the clock.
  void Sync();

  // The behaviour of every program started from now on.
  ProgramScript script;
  // Every start that succeeded, in order.
  std::vector<StartedProgram> started;
  StartedProgram* Find(std::uint32_t task_id);

 private:
  FakePlatform& owner_;
  std::uint32_t next_task_ = 0x1200;
};

}  // namespace fake
