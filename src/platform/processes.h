// Starting other programs, and watching whether they still run.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

class Processes {
 public:
  virtual ~Processes() = default;
  // Starts the program file at path as a new process, without waiting, with
  // the path itself as the whole command line (no quotes, no arguments) and
  // the given window style (SW_SHOWNORMAL is 1).  Returns the task id of the
  // new process, 0 when it could not be started.
  virtual std::uint32_t Shell(std::string_view path, std::int32_t window_style) = 0;
  // True while the process that Shell returned this task id for still runs.
  virtual bool ProcessRunning(std::uint32_t task_id) = 0;
};

}  // namespace platform
