#pragma once
// Whole-file reading and crash-safe writing. Paths are in the encoding of
// the file system (UTF-8).

#include <string>
#include <string_view>

namespace platform {

// Reads the whole file. False (with a message in *error) when it cannot be
// opened or read.
bool readFile(const std::string& path, std::string& out, std::string* error = nullptr);

// Reads a regular file of at most maxBytes bytes. Anything else (a pipe, a
// device, a folder) is refused without waiting on it, and so is a file
// that is, or grows, larger than the limit.
bool readRegularFile(const std::string& path, std::string& out, std::size_t maxBytes,
                     std::string* error = nullptr);

// Writes the bytes to a temporary file beside the target, flushes it and
// renames it into place, so the target is either the old or the new file,
// never half written. An existing target keeps its permission bits; a
// symbolic link is followed and stays a link; a file its owner may not
// write is refused (see OutputFile).
bool writeFileAtomic(const std::string& path, std::string_view bytes, std::string* error = nullptr);

bool fileExists(const std::string& path) noexcept;       // a regular file (or a link to one)
bool directoryExists(const std::string& path) noexcept;

// The folder part with its trailing '/', or empty when there is none.
std::string extractFilePath(std::string_view path);
// The part after the last '/'.
std::string extractFileName(std::string_view path);
// The extension with its dot, or empty.
std::string extractFileExt(std::string_view path);
// The path with its extension replaced (ext with its dot).
std::string changeFileExt(std::string_view path, std::string_view ext);

// The system's message for errno, in UTF-8.
std::string systemErrorText(int err);

} // namespace platform
