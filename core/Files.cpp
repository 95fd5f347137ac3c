// Whole-file reading and crash-safe whole-file writing.
#include "core/Files.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <vector>

namespace zelto {

bool ReadFileBytes(const std::string& path, std::string& bytes) {
  int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string data;
  char buf[65536];
  for (;;) {
    ssize_t n = ::read(fd, buf, sizeof buf);
    if (n < 0) {
      if (errno == EINTR) continue;
      ::close(fd);
      return false;
    }
    if (n == 0) break;
    data.append(buf, static_cast<size_t>(n));
  }
  ::close(fd);
  bytes.swap(data);
  return true;
}

bool ReadFilePrefix(const std::string& path, size_t maxBytes, std::string& bytes, bool& cut) {
  cut = false;
  std::error_code ec;
  if (!std::filesystem::is_regular_file(path, ec)) return false;
  std::ifstream in(path, std::ios::binary);
  if (!in) return false;
  std::string data;
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

namespace {

std::string DirectoryOf(const std::string& path) {
  size_t slash = path.rfind('/');
  if (slash == std::string::npos) return ".";
  if (slash == 0) return "/";
  return path.substr(0, slash);
}

std::string SystemError(const char* what, int err) {
  return std::string(what) + ": " + std::strerror(err);
}

}  // namespace

bool WriteFileAtomic(const std::string& path, const std::string& bytes, std::string& error) {
  error.clear();
  if (path.empty() || path.back() == '/') {
    error = "invalid file name";
    return false;
  }
  std::string base = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
  std::string tmpl = JoinPath(DirectoryOf(path), "." + base + ".tmpXXXXXX");
  if (path.find('/') == std::string::npos) tmpl = "." + base + ".tmpXXXXXX";
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  int fd = ::mkstemp(name.data());
  if (fd < 0) {
    error = SystemError("cannot create file", errno);
    return false;
  }
  std::string tmp(name.data());
  // Keep the permissions of a file being replaced; new files get rw-r--r--.
  struct stat st {};
  mode_t mode = 0644;
  if (::stat(path.c_str(), &st) == 0) mode = st.st_mode & 07777;
  ::fchmod(fd, mode);
  size_t done = 0;
  while (done < bytes.size()) {
    ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      error = SystemError("cannot write file", errno);
      ::close(fd);
      ::unlink(tmp.c_str());
      return false;
    }
    done += static_cast<size_t>(n);
  }
  if (::fsync(fd) != 0 && errno != EINVAL && errno != EROFS) {
    error = SystemError("cannot write file", errno);
    ::close(fd);
    ::unlink(tmp.c_str());
    return false;
  }
  if (::close(fd) != 0) {
    error = SystemError("cannot write file", errno);
    ::unlink(tmp.c_str());
    return false;
  }
  if (::rename(tmp.c_str(), path.c_str()) != 0) {
    error = SystemError("cannot replace file", errno);
    ::unlink(tmp.c_str());
    return false;
  }
  return true;
}

bool FileExists(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

std::string ExecutableDirectory() {
  std::vector<char> buf(4096);
  for (int attempt = 0; attempt < 6; ++attempt) {
    ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return ".";
    if (static_cast<size_t>(n) < buf.size()) {
      return DirectoryOf(std::string(buf.data(), static_cast<size_t>(n)));
    }
    buf.resize(buf.size() * 2);
  }
  return ".";
}

std::string JoinPath(const std::string& dir, const std::string& name) {
  if (dir.empty()) return name;
  if (dir.back() == '/') return dir + name;
  return dir + "/" + name;
}

}  // namespace zelto
