#pragma once
// Per-user settings of a product, kept in
// $XDG_CONFIG_HOME/<vendor>/<product>.conf as an INI document with one
// section named after the product.

#include <optional>
#include <string>
#include <string_view>

namespace platform {

class UserSettings {
public:
    UserSettings(std::string vendor, std::string product);

    const std::string& path() const noexcept { return path_; }

    std::optional<std::string> readString(std::string_view name) const;
    // The integer value, or the default when absent or not an integer.
    int readInt(std::string_view name, int defaultValue) const;
    // Written atomically; the folder is made when missing.
    bool writeString(std::string_view name, std::string_view value) const;
    bool writeInt(std::string_view name, int value) const;

private:
    std::string product_;
    std::string path_;
};

} // namespace platform
