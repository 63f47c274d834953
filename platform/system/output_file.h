#pragma once
// A file that replaces (or creates) a user's file: written to a temporary
// file beside the real target and renamed into place by Commit, so a
// failure or a cancel never leaves it half written. A symbolic link is
// followed (the file it names is replaced and the link stays a link); an
// existing file that may not be written, or whose owner took its write
// permission away, is refused; the new file keeps the old one's permission
// bits. Without Commit the temporary file is removed.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

class OutputFile {
public:
    OutputFile() = default;
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    // Opens the temporary file for path. False with a message in error().
    bool Open(const std::string& path);
    bool isOpen() const noexcept { return fd_ >= 0; }

    // Buffered writes; false (and every later call false) after a failure.
    bool Write(std::string_view bytes);
    bool Write(const void* data, std::size_t size) { return Write({static_cast<const char*>(data), size}); }
    // Writes at an offset already written (a header whose sizes are known
    // only at the end).
    bool WriteAt(std::uint64_t offset, const void* data, std::size_t size);
    // Bytes written so far.
    std::uint64_t size() const noexcept { return written_; }

    // Flushes, syncs and renames into place. False with a message.
    bool Commit();
    // Removes the temporary file; the target stays as it was.
    void Discard() noexcept;

    const std::string& error() const noexcept { return error_; }
    // Where the file will land (the link's target for a symbolic link).
    const std::string& target() const noexcept { return target_; }
    // The temporary file, for a writer that opens files by name (it writes
    // over it in place; Commit then renames it).
    const std::string& temporaryPath() const noexcept { return temp_; }

private:
    bool Flush();
    bool Fail(const std::string& what, int err);

    int fd_ = -1;
    std::string temp_;
    std::string target_;
    std::string shown_; // the path as the user gave it, for messages
    unsigned mode_ = 0644;
    std::string buffer_;
    std::uint64_t written_ = 0;
    bool failed_ = false;
    std::string error_;
};

// The file a path names, symbolic links followed to the end (the last link's
// target when that does not exist yet). Empty for a loop of links.
std::string ResolveOutputPath(const std::string& path);

// True when both paths name the same existing file (links followed).
bool SameFile(const std::string& a, const std::string& b) noexcept;

} // namespace platform
