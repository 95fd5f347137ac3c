// The operating system underneath: files, the executable's place, local time,
// the GBK code page and (for the tests) processes. Platform.cpp is the only
// source that includes POSIX or Win32 headers; it holds one implementation
// for each. Paths cross this interface as std::filesystem::path (wide on
// Windows) or as UTF-8 text, never in the Windows ANSI code page.
#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace zelto {

// UTF-8 text <-> path. On Windows the path is UTF-16, so a folder named in
// Chinese works whatever the system code page; elsewhere the bytes pass as
// they are.
std::filesystem::path PathFromUtf8(std::string_view utf8);
// The path in UTF-8 with "/" between its parts ("C:/ZELTO" on Windows).
std::string Utf8FromPath(const std::filesystem::path& path);

// The bytes of a regular file; false when it is missing, not a regular file
// or cannot be read.
bool ReadWholeFile(const std::filesystem::path& path, std::string& bytes);

// Writes bytes to a new temporary file beside target, flushes it to the disk
// and puts it in target's place in one step (MoveFileExW with
// MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH on Windows, rename and a
// flush of the directory elsewhere). Afterwards target holds either its old
// bytes (on false, with error a short description) or the new ones; no
// temporary file is left behind. A read-only target is replaced on POSIX
// (keeping its permissions; the directory decides) and refused on Windows.
bool ReplaceFileAtomically(const std::filesystem::path& target, const std::string& bytes,
                           std::string& error);

// The running program's file (GetModuleFileNameW, /proc/self/exe); empty
// when it cannot be found.
std::filesystem::path ExecutablePath();

// A program's file name: "zelto-batch" -> "zelto-batch.exe" on Windows.
std::string ExecutableFileName(std::string_view base);

// A new, empty directory under the system's temporary directory, named
// prefix + a random part; empty when none could be made.
std::filesystem::path MakeTemporaryDirectory(std::string_view prefix);

// The running process's id (to keep scratch names of parallel runs apart).
unsigned long CurrentProcessId();

// Broken-down local time (localtime_s on Windows, localtime_r elsewhere).
std::tm LocalTime(std::time_t t);

// Code page 936 / GBK, one character at a time (iconv, or
// MultiByteToWideChar/WideCharToMultiByte with code page 936 on Windows).
// bytes is one GBK character (one or two bytes); false when the code page
// gives it no Unicode character.
bool GbkCharToCodePoint(std::string_view bytes, char32_t& codePoint);
// Appends the GBK bytes of codePoint; false (nothing appended) when the code
// page has no exact character for it (no "best fit" substitutes).
bool CodePointToGbkChar(char32_t codePoint, std::string& out);

// The program's arguments in UTF-8 (on Windows taken from the wide command
// line, as argv is in the ANSI code page there).
std::vector<std::string> Utf8Arguments(int argc, char** argv);

// Standard output and error write bytes as they are (no "\n" -> "\r\n" on
// Windows), so that reports are the same bytes on every system.
void UseBinaryStandardStreams();

// A shared library (LoadLibraryW, dlopen with RTLD_NOW | RTLD_LOCAL) by its
// UTF-8 file name or path; nullptr when it cannot be loaded. It stays loaded.
void* OpenSharedLibrary(const std::string& name);
// The address of a function of a library OpenSharedLibrary loaded, or nullptr.
void* SharedLibrarySymbol(void* library, const char* name);

// Sets (value given) or removes (nullptr) a variable of this process's
// environment, seen by getenv and by the programs it starts.
void SetEnvironmentValue(const std::string& name, const std::string* value);

// For the tests: runs program with args, its standard output and error going
// to the files named; returns its exit status, or -1 when it could not run
// or did not exit normally.
int RunProgram(const std::filesystem::path& program, const std::vector<std::string>& args,
               const std::filesystem::path& outFile, const std::filesystem::path& errFile);

// For the tests: while an object lives, no file of this process may grow
// beyond `bytes` (setrlimit RLIMIT_FSIZE, as a nearly full disk would);
// Active() is false where the system has no such limit (Windows).
class FileSizeLimit {
 public:
  explicit FileSizeLimit(std::uint64_t bytes);
  ~FileSizeLimit();
  FileSizeLimit(const FileSizeLimit&) = delete;
  FileSizeLimit& operator=(const FileSizeLimit&) = delete;
  bool Active() const { return active_; }

 private:
  bool active_ = false;
  std::uint64_t saved_ = 0;
  void* savedHandler_ = nullptr;
};

}  // namespace zelto
