#include "fake/fake_processes.h"

#include "fake/fake_platform.h"

namespace fake {

std::uint32_t FakeProcesses::Shell(std::string_view path, std::int32_t window_style) {
  const std::string path_utf8 = Utf8(owner_.codec().FromAnsi(path));
  std::uint32_t task = 0;
  // The file must be there and be runnable, as the system needs it.
  if (script.starts && owner_.HasFile(path_utf8)) {
    task = next_task_ += 4;
    started.push_back({task, path_utf8, window_style, owner_.now(), script});
  }
  owner_.Log("Shell(\"" + path_utf8 + "\", " + std::to_string(window_style) + ") -> " +
             std::to_string(task));
  Sync();
  return task;
}

bool FakeProcesses::ProcessRunning(std::uint32_t task_id) {
  Sync();
  const StartedProgram* p = Find(task_id);
  const bool running = p && !p->exited;
  owner_.Log("ProcessRunning(" + std::to_string(task_id) + ") -> " + (running ? "true" : "false"));
  return running;
}

StartedProgram* FakeProcesses::Find(std::uint32_t task_id) {
  for (auto& p : started) {
    if (p.task_id == task_id) return &p;
  }
  return nullptr;
}

void FakeProcesses::Sync() {
  const std::uint64_t now = owner_.now();
  for (auto& p : started) {
    if (p.exited) continue;
    const std::uint64_t age = now - p.started_at;
    const auto& s = p.script;
    const bool exits = s.exits_after_ms && age >= *s.exits_after_ms;
    // A window that would have opened before the exit did open.
    const std::uint64_t end = exits ? *s.exits_after_ms : age;
    if (!p.window_opened && s.window_after_ms && end >= *s.window_after_ms) {
      p.window_opened = true;
      const bool closed_already =
          s.window_closes_after_ms && end >= *s.window_after_ms + *s.window_closes_after_ms;
      if (!closed_already) p.window = owner_.AddForeignWindow(s.window_title);
    }
    if (p.window && s.window_closes_after_ms && s.window_after_ms &&
        end >= *s.window_after_ms + *s.window_closes_after_ms) {
      owner_.RemoveForeignWindow(p.window);
      p.window = 0;
    }
    if (exits) {
      // The system takes the windows of an ended process with it.
      if (p.window) owner_.RemoveForeignWindow(p.window);
      p.window = 0;
      p.exited = true;
    }
  }
}

}  // namespace fake
