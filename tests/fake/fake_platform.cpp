#include "fake/fake_platform.h"

#include <algorithm>

namespace fake {

namespace {

std::string Quote(std::string_view utf8) {
  return "\"" + std::string(utf8) + "\"";
}

// Folds ASCII letters only, after decoding, as the profile calls compare
// names: a trail byte of a double-byte character is never folded.
std::u16string Fold(std::u16string text) {
  for (char16_t& c : text) {
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  }
  return text;
}

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) {
    s.remove_suffix(1);
  }
  return s;
}

std::vector<std::string> SplitLines(const std::string& bytes) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < bytes.size()) {
    std::size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    std::string line = bytes.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string JoinLines(const std::vector<std::string>& lines) {
  std::string out;
  for (const auto& line : lines) out += line + "\r\n";
  return out;
}

// A section header's name, or nullopt when the line is no header.
std::optional<std::string_view> SectionName(std::string_view line) {
  line = Trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const std::size_t close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return Trim(line.substr(1, close - 1));
}

struct Entry {
  std::string_view name;
  std::string_view value;
};

Entry ParseEntry(std::string_view line) {
  const std::size_t eq = line.find('=');
  if (eq == std::string_view::npos) return {Trim(line), {}};
  return {Trim(line.substr(0, eq)), Trim(line.substr(eq + 1))};
}

}  // namespace

FakePlatform::FakePlatform() = default;
FakePlatform::~FakePlatform() = default;

std::vector<std::string> FakePlatform::Calls(std::initializer_list<std::string_view> names) const {
  std::vector<std::string> out;
  for (const auto& entry : log) {
    for (auto name : names) {
      if (entry.compare(0, name.size(), name) == 0 &&
          (entry.size() == name.size() || entry[name.size()] == '(' || entry[name.size()] == ' ')) {
        out.push_back(entry);
        break;
      }
    }
  }
  return out;
}

// --- Windows and cursor ---

platform::Hwnd FakePlatform::FindWindowA(std::string_view title) {
  programs.Sync();  // windows that started programs opened or closed by now
  platform::Hwnd found = 0;
  for (const auto& [hwnd, t] : foreign_windows_) {
    if (t == title) found = found ? found : hwnd;
  }
  for (FakeForm* form : forms_alive) {
    if (!found && codec_.ToAnsi(form->design().title) == title) found = form->hWnd();
  }
  Log("FindWindowA(NULL, " + Quote(Utf8(codec_.FromAnsi(title))) + ") -> " + std::to_string(found));
  return found;
}

platform::Hwnd FakePlatform::AddForeignWindow(std::string_view title_utf8) {
  const platform::Hwnd hwnd = next_hwnd_ += 0x10;
  foreign_windows_[hwnd] = Sjis(title_utf8);
  return hwnd;
}

void FakePlatform::RemoveForeignWindow(platform::Hwnd hwnd) {
  foreign_windows_.erase(hwnd);
}

std::int32_t FakePlatform::ShowCursor(std::int32_t show) {
  cursor_count += show ? 1 : -1;
  Log("ShowCursor(" + std::to_string(show) + ") -> " + std::to_string(cursor_count));
  return cursor_count;
}

// --- Files ---

std::string FakePlatform::PathKey(std::string_view ansi_path) const {
  std::u16string path = codec_.FromAnsi(ansi_path);
  std::replace(path.begin(), path.end(), u'/', u'\\');
  std::u16string collapsed;
  for (std::size_t i = 0; i < path.size(); ++i) {
    if (path[i] == u'\\' && i >= 2 && !collapsed.empty() && collapsed.back() == u'\\') continue;
    collapsed += path[i];
  }
  return Utf8(Fold(collapsed));
}

FakePlatform::File* FakePlatform::FindFile(std::string_view ansi_path) {
  auto it = files_.find(PathKey(ansi_path));
  return it == files_.end() ? nullptr : &it->second;
}

const FakePlatform::File* FakePlatform::FindFile(std::string_view ansi_path) const {
  auto it = files_.find(PathKey(ansi_path));
  return it == files_.end() ? nullptr : &it->second;
}

bool FakePlatform::FolderExists(std::string_view ansi_path) const {
  const std::string key = PathKey(ansi_path);
  const std::size_t sep = key.rfind('\\');
  if (sep == std::string::npos) return false;
  const std::string parent = key.substr(0, sep);
  if (parent.size() == 2 && parent[1] == ':') return true;  // a drive root
  auto it = files_.find(parent);
  return it != files_.end() && it->second.folder;
}

void FakePlatform::AddFolder(std::string_view path_utf8) {
  const std::string ansi = Sjis(path_utf8);
  const std::string key = PathKey(ansi);
  for (std::size_t sep = key.find('\\', 3); sep != std::string::npos;
       sep = key.find('\\', sep + 1)) {
    files_[key.substr(0, sep)].folder = true;
  }
  if (!(key.size() <= 3 && key.size() >= 2 && key[1] == ':')) files_[key].folder = true;
}

void FakePlatform::AddFile(std::string_view path_utf8, std::string bytes) {
  const std::string ansi = Sjis(path_utf8);
  const std::string key = PathKey(ansi);
  const std::size_t sep = key.rfind('\\');
  if (sep != std::string::npos && sep > 2) {
    AddFolder(Utf8(codec_.FromAnsi(ansi.substr(0, ansi.rfind('\\')))));
  }
  files_[key] = File{std::move(bytes), false, false, false};
}

void FakePlatform::RemoveFile(std::string_view path_utf8) {
  files_.erase(PathKey(Sjis(path_utf8)));
}

void FakePlatform::LockFile(std::string_view path_utf8) {
  if (File* f = FindFile(Sjis(path_utf8))) f->locked = true;
}

void FakePlatform::SetReadOnly(std::string_view path_utf8) {
  if (File* f = FindFile(Sjis(path_utf8))) f->read_only = true;
}

bool FakePlatform::HasFile(std::string_view path_utf8) const {
  const File* f = FindFile(Sjis(path_utf8));
  return f && !f->folder;
}

std::optional<std::string> FakePlatform::FileBytes(std::string_view path_utf8) const {
  const File* f = FindFile(Sjis(path_utf8));
  if (!f || f->folder) return std::nullopt;
  return f->bytes;
}

bool FakePlatform::TryOpenForReading(std::string_view path) {
  const File* f = path.empty() ? nullptr : FindFile(path);
  const bool ok = f && !f->folder && !f->locked;
  Log("TryOpenForReading(" + Quote(Utf8(codec_.FromAnsi(path))) + ") -> " +
      (ok ? "true" : "false"));
  return ok;
}

// --- Private-profile files ---

std::uint32_t FakePlatform::GetPrivateProfileStringA(std::string_view section, std::string_view key,
                                                     std::string_view default_value,
                                                     std::span<char> buffer,
                                                     std::string_view file) {
  std::string value(default_value);
  if (const File* f = FindFile(file); f && !f->folder && !f->locked) {
    const std::u16string want_section = Fold(codec_.FromAnsi(section));
    const std::u16string want_key = Fold(codec_.FromAnsi(key));
    bool in_section = false;
    bool found = false;
    for (const auto& line : SplitLines(f->bytes)) {
      if (auto name = SectionName(line)) {
        if (found) break;
        in_section = Fold(codec_.FromAnsi(*name)) == want_section;
        continue;
      }
      if (!in_section) continue;
      const Entry entry = ParseEntry(line);
      if (!entry.name.empty() && Fold(codec_.FromAnsi(entry.name)) == want_key) {
        std::string_view v = entry.value;
        // Matching quotes around a value are taken off, as the system does.
        if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
          v = v.substr(1, v.size() - 2);
        }
        value = std::string(v);
        found = true;
        break;
      }
    }
  }
  std::uint32_t copied = 0;
  if (!buffer.empty()) {
    copied = static_cast<std::uint32_t>(std::min(value.size(), buffer.size() - 1));
    std::copy_n(value.data(), copied, buffer.data());
    buffer[copied] = '\0';  // the rest of the buffer is left as it was
  }
  Log("GetPrivateProfileStringA(" + Quote(Utf8(codec_.FromAnsi(section))) + ", " +
      Quote(Utf8(codec_.FromAnsi(key))) + ", " + Quote(Utf8(codec_.FromAnsi(default_value))) +
      ", " + std::to_string(buffer.size()) + ", " + Quote(Utf8(codec_.FromAnsi(file))) + ") -> " +
      std::to_string(copied));
  return copied;
}

std::int32_t FakePlatform::WritePrivateProfileStringA(std::string_view section,
                                                      std::string_view key, std::string_view value,
                                                      std::string_view file) {
  std::int32_t result = 0;
  File* f = FindFile(file);
  if (f == nullptr && FolderExists(file)) {
    f = &files_[PathKey(file)];
  }
  if (f && !f->folder && !f->locked && !f->read_only) {
    std::vector<std::string> lines = SplitLines(f->bytes);
    const std::u16string want_section = Fold(codec_.FromAnsi(section));
    const std::u16string want_key = Fold(codec_.FromAnsi(key));
    // Blanks before a value are not written (the system drops them).
    std::string_view stored = value;
    while (!stored.empty() && (stored.front() == ' ' || stored.front() == '\t')) {
      stored.remove_prefix(1);
    }
    const std::string new_line = std::string(key) + "=" + std::string(stored);
    std::optional<std::size_t> section_at;
    std::optional<std::size_t> insert_at;
    bool done = false;
    for (std::size_t i = 0; i < lines.size() && !done; ++i) {
      if (auto name = SectionName(lines[i])) {
        if (section_at) break;
        if (Fold(codec_.FromAnsi(*name)) == want_section) section_at = insert_at = i + 1;
        continue;
      }
      if (!section_at) continue;
      const Entry entry = ParseEntry(lines[i]);
      if (entry.name.empty()) continue;
      if (Fold(codec_.FromAnsi(entry.name)) == want_key) {
        // The stored spelling of the key is kept.
        lines[i] = std::string(entry.name) + "=" + std::string(stored);
        done = true;
      } else {
        insert_at = i + 1;
      }
    }
    if (!done && section_at) {
      lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*insert_at), new_line);
    } else if (!done) {
      lines.push_back("[" + std::string(section) + "]");
      lines.push_back(new_line);
    }
    f->bytes = JoinLines(lines);
    result = 1;
  }
  Log("WritePrivateProfileStringA(" + Quote(Utf8(codec_.FromAnsi(section))) + ", " +
      Quote(Utf8(codec_.FromAnsi(key))) + ", " + Quote(Utf8(codec_.FromAnsi(value))) + ", " +
      Quote(Utf8(codec_.FromAnsi(file))) + ") -> " + std::to_string(result));
  return result;
}

// --- Program, message box, process ---

std::string FakePlatform::ProgramFolder() {
  Log("ProgramFolder() -> " + Quote(Utf8(codec_.FromAnsi(program_folder_))));
  return program_folder_;
}

std::string FakePlatform::CommandArguments() {
  Log("CommandArguments() -> " + Quote(Utf8(codec_.FromAnsi(arguments_))));
  return arguments_;
}

std::int32_t FakePlatform::MessageBoxA(platform::Hwnd owner, std::string_view text,
                                       std::string_view caption, std::uint32_t style) {
  message_boxes.push_back({std::string(text), std::string(caption), style});
  Log("MessageBoxA(" + std::to_string(owner) + ", " + Quote(Utf8(codec_.FromAnsi(text))) + ", " +
      Quote(Utf8(codec_.FromAnsi(caption))) + ", " + std::to_string(style) + ") -> " +
      std::to_string(message_box_answer));
  return message_box_answer;
}

void FakePlatform::EndProcess(std::uint32_t code) {
  Log("EndProcess(" + std::to_string(code) + ")");
  exit_code = code;
  throw platform::ProcessEnded{code};
}

}  // namespace fake
