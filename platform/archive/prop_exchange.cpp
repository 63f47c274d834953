#include "platform/archive/prop_exchange.h"

#include "platform/archive/byte_archive.h"
#include "platform/archive/property_bag.h"
#include "platform/automation/guid.h"

#include <cmath>
#include <limits>

namespace platform {

bool PropExchange::ShortBool(std::string_view name, bool& value)
{
    std::int16_t v = value ? 1 : 0;
    if (!Short(name, v))
        return false;
    value = v != 0;
    return true;
}

std::uint32_t PropExchange::Version(std::uint32_t current)
{
    std::uint32_t v = current;
    ULong("Version", v);
    return loading() ? v : current;
}

// The byte stream.

std::size_t ArchiveExchange::position() const noexcept
{
    return in_ ? in_->position() : out_->bytes().size();
}

bool ArchiveExchange::Bool(std::string_view, bool& value)
{
    if (out_) {
        out_->writeU8(value ? 1 : 0);
        return true;
    }
    value = in_->readU8() != 0;
    return true;
}

bool ArchiveExchange::Short(std::string_view, std::int16_t& value)
{
    if (out_)
        out_->writeI16(value);
    else
        value = in_->readI16();
    return true;
}

bool ArchiveExchange::Long(std::string_view, std::int32_t& value)
{
    if (out_)
        out_->writeI32(value);
    else
        value = in_->readI32();
    return true;
}

bool ArchiveExchange::ULong(std::string_view, std::uint32_t& value)
{
    if (out_)
        out_->writeU32(value);
    else
        value = in_->readU32();
    return true;
}

bool ArchiveExchange::Float(std::string_view, float& value)
{
    if (out_) {
        out_->writeFloat(value);
        return true;
    }
    float v = in_->readFloat();
    if (!std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ArchiveExchange::Double(std::string_view, double& value)
{
    if (out_) {
        out_->writeDouble(value);
        return true;
    }
    double v = in_->readDouble();
    if (!std::isfinite(v))
        return false;
    value = v;
    return true;
}

bool ArchiveExchange::Text(std::string_view, std::string& value)
{
    if (out_)
        out_->writeText(value);
    else
        value = in_->readText();
    return true;
}

bool ArchiveExchange::Blob(std::string_view, std::vector<std::uint8_t>& value)
{
    if (out_)
        out_->writeBlob(value);
    else
        value = in_->readBlob();
    return true;
}

bool ArchiveExchange::Object(std::string_view, const Guid& classId, const std::function<void(PropExchange&)>& body)
{
    if (out_) {
        out_->writeGuid(classId);
        ArchiveWriter record;
        ArchiveExchange inner(record);
        body(inner);
        out_->writeBlob(record.bytes());
        return true;
    }
    Guid stored = in_->readGuid();
    if (stored == Guid{})
        return false;
    std::size_t count = in_->readU32();
    std::size_t start = in_->position();
    std::span<const std::uint8_t> bytes = in_->readBytes(count);
    if (stored != classId)
        return false;
    ArchiveReader record(bytes);
    ArchiveExchange inner(record);
    try {
        body(inner);
    } catch (const ArchiveError& e) {
        // Reported where the object's record lies in the whole stream.
        throw ArchiveError(e.kind(), start + e.offset(), "in an object's record: " + std::string(e.what()));
    }
    return true;
}

// The property bag. A value that does not convert counts as absent.

namespace {

template <class T>
bool readInteger(const PropertyBag& bag, std::string_view name, T& value)
{
    const Variant* v = bag.Read(name);
    if (!v)
        return false;
    try {
        std::int64_t x = v->toInt64();
        if (x < std::numeric_limits<T>::min() || x > std::numeric_limits<T>::max())
            return false;
        value = static_cast<T>(x);
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool readDouble(const PropertyBag& bag, std::string_view name, double& value)
{
    const Variant* v = bag.Read(name);
    if (!v)
        return false;
    try {
        double x = v->toDouble();
        if (!std::isfinite(x))
            return false;
        value = x;
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

bool BagExchange::Bool(std::string_view name, bool& value)
{
    if (!loading()) {
        bag_.Write(name, Variant(value));
        return true;
    }
    const Variant* v = bag_.Read(name);
    if (!v)
        return false;
    try {
        value = v->toBool();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool BagExchange::Short(std::string_view name, std::int16_t& value)
{
    if (!loading()) {
        bag_.Write(name, Variant::fromInt16(value));
        return true;
    }
    return readInteger(bag_, name, value);
}

bool BagExchange::Long(std::string_view name, std::int32_t& value)
{
    if (!loading()) {
        bag_.Write(name, Variant::fromInt32(value));
        return true;
    }
    return readInteger(bag_, name, value);
}

bool BagExchange::ULong(std::string_view name, std::uint32_t& value)
{
    if (!loading()) {
        bag_.Write(name, Variant::fromUInt32(value));
        return true;
    }
    // Colours are often written as signed 32-bit numbers.
    std::int64_t x = 0;
    if (!readInteger(bag_, name, x) || x < std::numeric_limits<std::int32_t>::min() ||
        x > std::numeric_limits<std::uint32_t>::max())
        return false;
    value = static_cast<std::uint32_t>(x);
    return true;
}

bool BagExchange::Float(std::string_view name, float& value)
{
    if (!loading()) {
        bag_.Write(name, Variant::fromSingle(value));
        return true;
    }
    double x = 0;
    if (!readDouble(bag_, name, x) || std::fabs(x) > std::numeric_limits<float>::max())
        return false;
    value = static_cast<float>(x);
    return true;
}

bool BagExchange::Double(std::string_view name, double& value)
{
    if (!loading()) {
        bag_.Write(name, Variant(value));
        return true;
    }
    return readDouble(bag_, name, value);
}

bool BagExchange::Text(std::string_view name, std::string& value)
{
    if (!loading()) {
        bag_.Write(name, Variant(value));
        return true;
    }
    const Variant* v = bag_.Read(name);
    if (!v)
        return false;
    try {
        value = v->toString();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

bool BagExchange::Blob(std::string_view name, std::vector<std::uint8_t>& value)
{
    if (!loading()) {
        bag_.Write(name, Variant(std::string_view(reinterpret_cast<const char*>(value.data()), value.size())));
        return true;
    }
    std::string bytes;
    if (!Text(name, bytes))
        return false;
    value.assign(bytes.begin(), bytes.end());
    return true;
}

} // namespace platform
