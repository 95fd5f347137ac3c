// The two implementations of core/Platform.h: Win32 (MinGW-w64 or MSVC) and
// POSIX (Linux). Everything else in the program is written once.
#include "core/Platform.h"

#include <atomic>
#include <random>
#include <system_error>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <shellapi.h>
#include <fcntl.h>
#include <io.h>
#include <process.h>
#include <stdio.h>
#else
#include <dlfcn.h>
#include <errno.h>
#include <fcntl.h>
#include <iconv.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#endif

namespace zelto {

namespace fs = std::filesystem;

// ---------------------------------------------------------------------------
// Written once for both systems.

std::filesystem::path PathFromUtf8(std::string_view utf8) {
  return fs::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Utf8FromPath(const std::filesystem::path& path) {
  const std::u8string s = path.generic_u8string();
  return std::string(s.begin(), s.end());
}

namespace {

// A name for the temporary file or directory: prefix, process id and 12
// random hexadecimal digits.
std::string RandomName(std::string_view prefix, unsigned long pid) {
  static std::atomic<unsigned> counter{0};
  std::random_device device;
  std::mt19937_64 mix((static_cast<uint64_t>(device()) << 32) ^ device() ^ (pid << 16) ^
                      counter.fetch_add(1));
  static const char digits[] = "0123456789abcdef";
  std::string name(prefix);
  name += std::to_string(pid);
  name += '-';
  uint64_t r = mix();
  for (int i = 0; i < 12; ++i, r >>= 4) name += digits[r & 15];
  return name;
}

}  // namespace

std::filesystem::path MakeTemporaryDirectory(std::string_view prefix) {
  std::error_code ec;
  const fs::path base = fs::temp_directory_path(ec);
  if (ec) return {};
  for (int attempt = 0; attempt < 100; ++attempt) {
    fs::path dir = base / PathFromUtf8(RandomName(prefix, CurrentProcessId()));
    if (fs::create_directory(dir, ec)) return dir;
  }
  return {};
}

std::string ExecutableFileName(std::string_view base) {
#ifdef _WIN32
  return std::string(base) + ".exe";
#else
  return std::string(base);
#endif
}

#ifdef _WIN32
// ---------------------------------------------------------------------------
// Win32

unsigned long CurrentProcessId() { return GetCurrentProcessId(); }

namespace {

std::string WindowsError(const char* what, DWORD code) {
  return std::string(what) + ": Windows error " + std::to_string(code);
}

std::wstring WideFromUtf8(std::string_view s) {
  if (s.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), nullptr, 0);
  std::wstring w(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, s.data(), static_cast<int>(s.size()), w.data(), n);
  return w;
}

std::string Utf8FromWide(const wchar_t* w, size_t len) {
  if (len == 0) return {};
  const int n = WideCharToMultiByte(CP_UTF8, 0, w, static_cast<int>(len), nullptr, 0, nullptr, nullptr);
  std::string s(static_cast<size_t>(n > 0 ? n : 0), '\0');
  if (n > 0) WideCharToMultiByte(CP_UTF8, 0, w, static_cast<int>(len), s.data(), n, nullptr, nullptr);
  return s;
}

const UINT kGbkCodePage = 936;

}  // namespace

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  // A directory cannot be opened this way (no FILE_FLAG_BACKUP_SEMANTICS).
  HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  if (GetFileType(h) != FILE_TYPE_DISK) {
    CloseHandle(h);
    return false;
  }
  std::string data;
  char buf[65536];
  for (;;) {
    DWORD n = 0;
    if (!ReadFile(h, buf, sizeof buf, &n, nullptr)) {
      CloseHandle(h);
      return false;
    }
    if (n == 0) break;
    data.append(buf, n);
  }
  CloseHandle(h);
  bytes.swap(data);
  return true;
}

bool ReplaceFileAtomically(const std::filesystem::path& target, const std::string& bytes,
                           std::string& error) {
  error.clear();
  // A read-only file is not replaced, as Windows itself would refuse; the
  // check comes first so that the result does not depend on how the file
  // system treats a rename onto it.
  const DWORD attributes = GetFileAttributesW(target.c_str());
  if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0) {
    error = WindowsError("cannot replace file", ERROR_ACCESS_DENIED);
    return false;
  }
  const fs::path dir = target.parent_path();
  const std::wstring base = target.filename().wstring();
  HANDLE h = INVALID_HANDLE_VALUE;
  fs::path tmp;
  for (int attempt = 0; attempt < 100 && h == INVALID_HANDLE_VALUE; ++attempt) {
    tmp = dir / (L"." + base + L".tmp" + PathFromUtf8(RandomName("", CurrentProcessId())).wstring());
    h = CreateFileW(tmp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) break;
  }
  if (h == INVALID_HANDLE_VALUE) {
    error = WindowsError("cannot create file", GetLastError());
    return false;
  }
  size_t done = 0;
  while (done < bytes.size()) {
    const DWORD want = static_cast<DWORD>(std::min<size_t>(bytes.size() - done, 1u << 20));
    DWORD n = 0;
    if (!WriteFile(h, bytes.data() + done, want, &n, nullptr) || n == 0) {
      error = WindowsError("cannot write file", GetLastError());
      CloseHandle(h);
      DeleteFileW(tmp.c_str());
      return false;
    }
    done += n;
  }
  if (!FlushFileBuffers(h)) {
    error = WindowsError("cannot write file", GetLastError());
    CloseHandle(h);
    DeleteFileW(tmp.c_str());
    return false;
  }
  CloseHandle(h);
  if (!MoveFileExW(tmp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = WindowsError("cannot replace file", GetLastError());
    DeleteFileW(tmp.c_str());
    return false;
  }
  return true;
}

std::filesystem::path ExecutablePath() {
  std::wstring buf(MAX_PATH, L'\0');
  for (int attempt = 0; attempt < 6; ++attempt) {
    const DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return fs::path(buf.substr(0, n));
    buf.resize(buf.size() * 2);
  }
  return {};
}

std::tm LocalTime(std::time_t t) {
  std::tm local{};
  localtime_s(&local, &t);
  return local;
}

bool GbkCharToCodePoint(std::string_view bytes, char32_t& codePoint) {
  wchar_t w[2];
  const int n = MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes.data(),
                                    static_cast<int>(bytes.size()), w, 2);
  if (n != 1) return false;
  codePoint = static_cast<char32_t>(w[0]);
  return true;
}

bool CodePointToGbkChar(char32_t codePoint, std::string& out) {
  // Code page 936 has no character outside the Basic Multilingual Plane.
  if (codePoint > 0xFFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) return false;
  const wchar_t w = static_cast<wchar_t>(codePoint);
  char buf[4];
  BOOL usedDefault = FALSE;
  const int n = WideCharToMultiByte(kGbkCodePage, WC_NO_BEST_FIT_CHARS, &w, 1, buf, sizeof buf,
                                    nullptr, &usedDefault);
  if (n <= 0 || usedDefault) return false;
  out.append(buf, static_cast<size_t>(n));
  return true;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  std::vector<std::string> args;
  int n = 0;
  wchar_t** w = CommandLineToArgvW(GetCommandLineW(), &n);
  if (w == nullptr) {
    for (int i = 0; i < argc; ++i) args.emplace_back(argv[i]);
    return args;
  }
  for (int i = 0; i < n; ++i) args.push_back(Utf8FromWide(w[i], wcslen(w[i])));
  LocalFree(w);
  return args;
}

void UseBinaryStandardStreams() {
  fflush(stdout);
  fflush(stderr);
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
}

namespace {

// One argument quoted for CommandLineToArgvW and the C runtime's parser:
// backslashes double only before a quote.
std::wstring QuotedArgument(const std::wstring& a) {
  if (!a.empty() && a.find_first_of(L" \t\n\v\"") == std::wstring::npos) return a;
  std::wstring q = L"\"";
  size_t backslashes = 0;
  for (wchar_t c : a) {
    if (c == L'\\') {
      ++backslashes;
    } else if (c == L'"') {
      q.append(backslashes * 2 + 1, L'\\');
      q += c;
      backslashes = 0;
    } else {
      q.append(backslashes, L'\\');
      q += c;
      backslashes = 0;
    }
  }
  q.append(backslashes * 2, L'\\');
  q += L'"';
  return q;
}

HANDLE InheritableFile(const fs::path& path) {
  SECURITY_ATTRIBUTES sa{};
  sa.nLength = sizeof sa;
  sa.bInheritHandle = TRUE;
  return CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &sa, CREATE_ALWAYS,
                     FILE_ATTRIBUTE_NORMAL, nullptr);
}

}  // namespace

int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& outFile, const std::filesystem::path& errFile) {
  std::wstring line = QuotedArgument(program.wstring());
  for (const std::string& a : args) line += L" " + QuotedArgument(WideFromUtf8(a));
  HANDLE out = InheritableFile(outFile), err = InheritableFile(errFile);
  if (out == INVALID_HANDLE_VALUE || err == INVALID_HANDLE_VALUE) {
    if (out != INVALID_HANDLE_VALUE) CloseHandle(out);
    if (err != INVALID_HANDLE_VALUE) CloseHandle(err);
    return -1;
  }
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  si.hStdOutput = out;
  si.hStdError = err;
  PROCESS_INFORMATION pi{};
  const BOOL started = CreateProcessW(program.c_str(), line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &si, &pi);
  CloseHandle(out);
  CloseHandle(err);
  if (!started) return -1;
  WaitForSingleObject(pi.hProcess, INFINITE);
  DWORD code = 0;
  const BOOL gotCode = GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return gotCode ? static_cast<int>(code) : -1;
}

void* OpenSharedLibrary(const std::string& name) {
  return reinterpret_cast<void*>(LoadLibraryW(PathFromUtf8(name).c_str()));
}

void* SharedLibrarySymbol(void* library, const char* name) {
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}

void SetEnvironmentValue(const std::string& name, const std::string* value) {
  // Both copies: the C runtime's (getenv) and Windows' (child processes).
  _putenv_s(name.c_str(), value ? value->c_str() : "");
  ::SetEnvironmentVariableW(WideFromUtf8(name).c_str(), value ? WideFromUtf8(*value).c_str() : nullptr);
}

FileSizeLimit::FileSizeLimit(std::uint64_t) {}
FileSizeLimit::~FileSizeLimit() = default;

#else
// ---------------------------------------------------------------------------
// POSIX

unsigned long CurrentProcessId() { return static_cast<unsigned long>(::getpid()); }

namespace {

std::string SystemError(const char* what, int err) {
  return std::string(what) + ": " + std::strerror(err);
}

// Flushes a directory's entries to the disk, so that a rename in it survives
// a power cut. Some file systems cannot; that is no error.
void FlushDirectory(const fs::path& dir) {
  const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return;
  ::fsync(fd);
  ::close(fd);
}

}  // namespace

bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    ::close(fd);
    return false;
  }
  std::string data;
  char buf[65536];
  for (;;) {
    const ssize_t n = ::read(fd, buf, sizeof buf);
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

bool ReplaceFileAtomically(const std::filesystem::path& target, const std::string& bytes,
                           std::string& error) {
  error.clear();
  const fs::path dir = target.parent_path();
  const std::string tmpl = (dir / ("." + target.filename().string() + ".tmpXXXXXX")).string();
  std::vector<char> name(tmpl.begin(), tmpl.end());
  name.push_back('\0');
  const int fd = ::mkstemp(name.data());
  if (fd < 0) {
    error = SystemError("cannot create file", errno);
    return false;
  }
  const std::string tmp(name.data());
  // Keep the permissions of a file being replaced; new files get rw-r--r--.
  struct stat st {};
  mode_t mode = 0644;
  if (::stat(target.c_str(), &st) == 0) mode = st.st_mode & 07777;
  ::fchmod(fd, mode);
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
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
  if (::rename(tmp.c_str(), target.c_str()) != 0) {
    error = SystemError("cannot replace file", errno);
    ::unlink(tmp.c_str());
    return false;
  }
  FlushDirectory(dir);
  return true;
}

std::filesystem::path ExecutablePath() {
  std::vector<char> buf(4096);
  for (int attempt = 0; attempt < 6; ++attempt) {
    const ssize_t n = ::readlink("/proc/self/exe", buf.data(), buf.size());
    if (n < 0) return {};
    if (static_cast<size_t>(n) < buf.size()) return fs::path(std::string(buf.data(), static_cast<size_t>(n)));
    buf.resize(buf.size() * 2);
  }
  return {};
}

std::tm LocalTime(std::time_t t) {
  std::tm local{};
  localtime_r(&t, &local);
  return local;
}

namespace {

// One converter each way per thread, opened on first use.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {}
  ~Converter() {
    if (ok()) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;
  bool ok() const { return cd_ != reinterpret_cast<iconv_t>(-1); }
  // The whole of in converted into out (at most outSize bytes); false when
  // iconv refuses any of it.
  bool Convert(const char* in, size_t inSize, char* out, size_t outSize, size_t& written) {
    if (!ok()) return false;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    char* inPtr = const_cast<char*>(in);
    char* outPtr = out;
    size_t inLeft = inSize, outLeft = outSize;
    const size_t rc = iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft);
    written = outSize - outLeft;
    return rc != static_cast<size_t>(-1) && inLeft == 0;
  }

 private:
  iconv_t cd_;
};

}  // namespace

bool GbkCharToCodePoint(std::string_view bytes, char32_t& codePoint) {
  thread_local Converter decoder("UTF-32LE", "GBK");
  unsigned char out[8];
  size_t n = 0;
  if (!decoder.Convert(bytes.data(), bytes.size(), reinterpret_cast<char*>(out), sizeof out, n) || n != 4) {
    return false;
  }
  codePoint = static_cast<char32_t>(out[0] | out[1] << 8 | out[2] << 16 | static_cast<uint32_t>(out[3]) << 24);
  return true;
}

bool CodePointToGbkChar(char32_t codePoint, std::string& out) {
  thread_local Converter encoder("GBK", "UTF-32LE");
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return false;
  const unsigned char in[4] = {static_cast<unsigned char>(codePoint), static_cast<unsigned char>(codePoint >> 8),
                               static_cast<unsigned char>(codePoint >> 16),
                               static_cast<unsigned char>(codePoint >> 24)};
  char buf[8];
  size_t n = 0;
  if (!encoder.Convert(reinterpret_cast<const char*>(in), 4, buf, sizeof buf, n) || n == 0) return false;
  out.append(buf, n);
  return true;
}

std::vector<std::string> Utf8Arguments(int argc, char** argv) {
  return std::vector<std::string>(argv, argv + argc);
}

void UseBinaryStandardStreams() {}

int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& outFile, const std::filesystem::path& errFile) {
  std::vector<char*> argv;
  const std::string exe = program.string();
  argv.push_back(const_cast<char*>(exe.c_str()));
  for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = ::fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    const int out = ::open(outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = ::open(errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0) _exit(127);
    ::dup2(out, 1);
    ::dup2(err, 2);
    ::execv(exe.c_str(), argv.data());
    _exit(127);
  }
  int status = 0;
  while (::waitpid(pid, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void* OpenSharedLibrary(const std::string& name) { return ::dlopen(name.c_str(), RTLD_NOW | RTLD_LOCAL); }

void* SharedLibrarySymbol(void* library, const char* name) { return ::dlsym(library, name); }

void SetEnvironmentValue(const std::string& name, const std::string* value) {
  if (value) {
    ::setenv(name.c_str(), value->c_str(), 1);
  } else {
    ::unsetenv(name.c_str());
  }
}

using SignalAction = struct sigaction;

FileSizeLimit::FileSizeLimit(std::uint64_t bytes) {
  struct rlimit saved {};
  if (::getrlimit(RLIMIT_FSIZE, &saved) != 0) return;
  // A write beyond the limit then fails with EFBIG instead of raising SIGXFSZ.
  struct sigaction ignore {};
  auto* old = new SignalAction();
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, old);
  struct rlimit small = saved;
  small.rlim_cur = bytes;
  if (::setrlimit(RLIMIT_FSIZE, &small) != 0) {
    ::sigaction(SIGXFSZ, old, nullptr);
    delete old;
    return;
  }
  saved_ = saved.rlim_cur;
  savedHandler_ = old;
  active_ = true;
}

FileSizeLimit::~FileSizeLimit() {
  if (!active_) return;
  struct rlimit limit {};
  ::getrlimit(RLIMIT_FSIZE, &limit);
  limit.rlim_cur = saved_;
  ::setrlimit(RLIMIT_FSIZE, &limit);
  auto* old = static_cast<SignalAction*>(savedHandler_);
  ::sigaction(SIGXFSZ, old, nullptr);
  delete old;
}

#endif

}  // namespace zelto
