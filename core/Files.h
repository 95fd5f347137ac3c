// Whole-file reading and safe whole-file writing. Paths are UTF-8 text with
// "/" between their parts (Windows accepts it as well as "\\").
#pragma once

#include <string>

namespace zelto {

// Reads the file's bytes; false when it does not exist or cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);

// Reads at most maxBytes bytes from the start of the file; cut is set when the
// file holds more. False when it does not exist or cannot be read.
bool ReadFilePrefix(const std::string& path, size_t maxBytes, std::string& bytes, bool& cut);

// Writes bytes to a temporary file in the same directory, flushes it to the
// disk and puts it in path's place only when complete, so a failure never
// leaves a truncated file: path then holds either its old or its new bytes.
// On failure returns false and sets error to a short system description.
bool WriteFileAtomic(const std::string& path, const std::string& bytes, std::string& error);

bool FileExists(const std::string& path);

// Directory holding the running executable (no trailing separator; "/"
// between its parts on every system, "C:/ZELTO" on Windows).
std::string ExecutableDirectory();

// Joins a directory and a file name with "/".
std::string JoinPath(const std::string& dir, const std::string& name);

}  // namespace zelto
