// Whole-file reading and crash-safe whole-file writing, over the system
// calls of core/Platform.h. Paths are UTF-8 text.
#include "core/Files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <system_error>

#include "core/Platform.h"

namespace zelto {

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  return ReadWholeFile(PathFromUtf8(path), bytes);
}

bool ReadFilePrefix(const std::string& path, size_t maxBytes, std::string& bytes, bool& cut) {
  cut = false;
  const std::filesystem::path p = PathFromUtf8(path);
  std::error_code ec;
  if (!std::filesystem::is_regular_file(p, ec)) return false;
  std::ifstream in(p, std::ios::binary);
  if (!in) return false;
  std::string data;
  // Room for the whole file at once (a guess only: the file may change while
  // it is read), so that a large file is not copied as the text grows.
  const uintmax_t size = std::filesystem::file_size(p, ec);
  if (!ec) data.reserve(static_cast<size_t>(std::min<uintmax_t>(size, maxBytes)));
  char buf[65536];
  while (data.size() < maxBytes) {
    const size_t want = std::min(sizeof buf, maxBytes - data.size());
    in.read(buf, static_cast<std::streamsize>(want));
    data.append(buf, static_cast<size_t>(in.gcount()));
    if (in.bad()) return false;
    if (!in) break;  // end of file
  }
  if (data.size() == maxBytes) cut = in.peek() != std::char_traits<char>::eof();
  if (in.bad()) return false;
  bytes.swap(data);
  return true;
}

bool WriteFileAtomic(const std::string& path, const std::string& bytes, std::string& error) {
  error.clear();
  if (path.empty() || path.back() == '/' || path.back() == '\\') {
    error = "invalid file name";
    return false;
  }
  return ReplaceFileAtomically(PathFromUtf8(path), bytes, error);
}

bool FileExists(const std::string& path) {
  std::error_code ec;
  return std::filesystem::is_regular_file(PathFromUtf8(path), ec);
}

std::string ExecutableDirectory() {
  const std::filesystem::path exe = ExecutablePath();
  if (exe.empty()) return ".";
  return Utf8FromPath(exe.parent_path());
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

}  // namespace zelto
