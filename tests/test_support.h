#pragma once
// Helpers shared by the tests: temporary folders and small files.

#include <string>
#include <string_view>

namespace testsupport {

// A fresh folder under the temporary folder, removed with its contents when
// the object goes. path() ends with '/'.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    std::string file(std::string_view name) const { return path_ + std::string(name); }
    // Writes bytes to a file in the folder and returns its path.
    std::string write(std::string_view name, std::string_view bytes) const;

private:
    std::string path_;
};

std::string readAll(const std::string& path);

} // namespace testsupport
