#pragma once
// A whole file in one uninitialised heap block: no zero-filling and no
// second copy, for reading large data files.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

class FileBuffer {
public:
    FileBuffer() = default;
    explicit FileBuffer(std::string_view bytes);

    // Reads the whole file; false with a message in *error when it cannot
    // be opened or read, or memory runs out.
    bool load(const std::string& path, std::string* error = nullptr);
    // The same from a file already open for reading (the path only names it
    // in messages); the descriptor stays open.
    bool load(int fd, const std::string& path, std::string* error = nullptr);

    const char* data() const noexcept { return data_.get(); }
    std::size_t size() const noexcept { return size_; }
    bool empty() const noexcept { return size_ == 0; }
    std::string_view view() const noexcept { return {data_.get(), size_}; }

private:
    struct Free {
        void operator()(char* p) const noexcept;
    };
    std::unique_ptr<char, Free> data_;
    std::size_t size_ = 0;
};

} // namespace platform
