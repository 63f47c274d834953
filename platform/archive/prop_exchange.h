#pragma once
// A property exchange: one routine per object walks its values in order,
// each under its name, and the exchange either writes them or reads them
// back. Two exchanges exist: a byte stream (names unused, every value in
// order) and a named property bag.
//
// On loading, each call returns true and stores the value when it is
// there; when it is absent it returns false and leaves the caller's value
// alone, so the caller decides between "unchanged" and a default. Floats
// and doubles that are not finite count as absent.

#include "platform/archive/byte_archive.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct Guid;
class PropertyBag;

class PropExchange {
public:
    virtual ~PropExchange() = default;

    bool loading() const noexcept { return loading_; }

    virtual bool Bool(std::string_view name, bool& value) = 0;     // 1 byte, 0 or 1
    virtual bool Short(std::string_view name, std::int16_t& value) = 0;
    virtual bool Long(std::string_view name, std::int32_t& value) = 0;
    virtual bool ULong(std::string_view name, std::uint32_t& value) = 0;
    virtual bool Float(std::string_view name, float& value) = 0;
    virtual bool Double(std::string_view name, double& value) = 0;
    virtual bool Text(std::string_view name, std::string& value) = 0;
    virtual bool Blob(std::string_view name, std::vector<std::uint8_t>& value) = 0;

    // A boolean held in a 16-bit value; any non-zero value reads as true.
    bool ShortBool(std::string_view name, bool& value);
    // The version of the record that follows: writes current, or reads the
    // stored one (current when absent).
    std::uint32_t Version(std::uint32_t current);

    // A persisted object under name: its class identifier, then its own
    // record in a blob. Saving writes classId and what body writes. Loading
    // runs body on the stored record when the stored class is classId and
    // returns true; an object of another class is passed over, a null one
    // is absent. Objects live only in streams: a bag holds none.
    virtual bool Object(std::string_view name, const Guid& classId,
                        const std::function<void(PropExchange&)>& body)
    {
        (void)name;
        (void)classId;
        (void)body;
        return false;
    }

    // Where a stream is read (0 for a bag), for error messages.
    virtual std::size_t position() const noexcept { return 0; }
    // Throws ArchiveError at the current position.
    [[noreturn]] void fail(ArchiveError::Kind kind, const std::string& what) const
    {
        throw ArchiveError(kind, position(), what);
    }

    // With a default: an absent value takes it.
    template <class T>
    void WithDefault(bool (PropExchange::*exchange)(std::string_view, T&), std::string_view name, T& value,
                     const T& fallback)
    {
        if (!(this->*exchange)(name, value) && loading_)
            value = fallback;
    }

protected:
    explicit PropExchange(bool loading) noexcept : loading_(loading) {}

private:
    bool loading_;
};

// The byte stream: values in order, little-endian, names unused.
class ArchiveExchange final : public PropExchange {
public:
    explicit ArchiveExchange(ArchiveReader& in) noexcept : PropExchange(true), in_(&in) {}
    explicit ArchiveExchange(ArchiveWriter& out) noexcept : PropExchange(false), out_(&out) {}

    bool Bool(std::string_view name, bool& value) override;
    bool Short(std::string_view name, std::int16_t& value) override;
    bool Long(std::string_view name, std::int32_t& value) override;
    bool ULong(std::string_view name, std::uint32_t& value) override;
    bool Float(std::string_view name, float& value) override;
    bool Double(std::string_view name, double& value) override;
    bool Text(std::string_view name, std::string& value) override;
    bool Blob(std::string_view name, std::vector<std::uint8_t>& value) override;
    bool Object(std::string_view name, const Guid& classId,
                const std::function<void(PropExchange&)>& body) override;

    std::size_t position() const noexcept override;
    ArchiveReader* reader() const noexcept { return in_; }
    ArchiveWriter* writer() const noexcept { return out_; }

private:
    ArchiveReader* in_ = nullptr;
    ArchiveWriter* out_ = nullptr;
};

// A named property bag: one value per name, names compared ignoring case.
class BagExchange final : public PropExchange {
public:
    BagExchange(PropertyBag& bag, bool loading) noexcept : PropExchange(loading), bag_(bag) {}

    bool Bool(std::string_view name, bool& value) override;
    bool Short(std::string_view name, std::int16_t& value) override;
    bool Long(std::string_view name, std::int32_t& value) override;
    bool ULong(std::string_view name, std::uint32_t& value) override;
    bool Float(std::string_view name, float& value) override;
    bool Double(std::string_view name, double& value) override;
    bool Text(std::string_view name, std::string& value) override;
    bool Blob(std::string_view name, std::vector<std::uint8_t>& value) override;

private:
    PropertyBag& bag_;
};

} // namespace platform
