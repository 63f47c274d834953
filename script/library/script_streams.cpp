#include "script/library/script_streams.h"

#include "platform/automation/value_limits.h"
#include "platform/system/file_io.h"
#include "platform/text/cp1251.h"
#include "script/binding/file_access.h"
#include "script/binding/host_ui.h"
#include "script/program/run_error.h"

#include <algorithm>

namespace script {

namespace {

std::size_t limit() noexcept
{
    return platform::valueLimits().maxStringBytes;
}

std::size_t clampCount(std::int64_t count, std::size_t available) noexcept
{
    if (count <= 0)
        return 0;
    return static_cast<std::size_t>(std::min<std::uint64_t>(static_cast<std::uint64_t>(count), available));
}

} // namespace

std::string TfsStream::Read(std::int64_t count)
{
    std::size_t available = pos_ < data_.size() ? data_.size() - pos_ : 0;
    std::size_t n = clampCount(count, available);
    std::string out = data_.substr(std::min(pos_, data_.size()), n);
    pos_ += n;
    return out;
}

std::size_t TfsStream::Write(std::string_view bytes)
{
    checkWritable();
    if (bytes.empty())
        return 0;
    if (pos_ > limit() || bytes.size() > limit() - pos_)
        RaiseRuntime("Out of memory");
    if (pos_ > data_.size())
        data_.resize(pos_, '\0');
    std::size_t overlap = std::min(bytes.size(), data_.size() - pos_);
    data_.replace(pos_, overlap, bytes.substr(0, overlap));
    data_.append(bytes.substr(overlap));
    pos_ += bytes.size();
    changed();
    return bytes.size();
}

std::int64_t TfsStream::Seek(std::int64_t offset, int origin)
{
    std::int64_t base = origin == 1 ? Position() : origin == 2 ? Size() : 0;
    std::int64_t p = base + std::clamp<std::int64_t>(offset, -(std::int64_t(1) << 40), std::int64_t(1) << 40);
    SetPosition(p);
    return Position();
}

void TfsStream::SetPosition(std::int64_t p)
{
    // Past the end is allowed (a write there fills the gap), not past what
    // a stream may hold.
    pos_ = static_cast<std::size_t>(std::clamp<std::int64_t>(p, 0, static_cast<std::int64_t>(limit())));
}

void TfsStream::SetSize(std::int64_t n)
{
    checkWritable();
    if (n < 0)
        n = 0;
    if (static_cast<std::uint64_t>(n) > limit())
        RaiseRuntime("Out of memory");
    data_.resize(static_cast<std::size_t>(n), '\0');
    pos_ = std::min(pos_, data_.size());
    changed();
}

std::int64_t TfsStream::CopyFrom(TfsStream& source, std::int64_t count)
{
    if (count == 0) {
        source.pos_ = 0;
        count = source.Size();
    }
    std::string bytes = source.Read(count);
    return static_cast<std::int64_t>(Write(bytes));
}

std::string TfsStream::Rest()
{
    return Read(Size() - Position());
}

void TfsStream::ReplaceBytes(std::string bytes)
{
    checkWritable();
    data_ = std::move(bytes);
    pos_ = 0;
    changed();
}

void TfsMemoryStream::Clear()
{
    data_.clear();
    pos_ = 0;
}

TfsFileStream::~TfsFileStream()
{
    try {
        Flush();
    } catch (const std::exception& e) {
        HostUi().ShowError(e.what());
    }
}

void TfsFileStream::Open(std::string_view fileName, int mode)
{
    const int access = mode & 3;
    const bool writes = mode == fmCreate || access == fmOpenWrite || access == fmOpenReadWrite;
    CheckFileAccess(writes, fileName);
    fileName_ = fileName;
    if (mode == fmCreate) {
        data_.clear();
        writable_ = true;
        dirty_ = true; // even an empty file is made
    } else {
        std::string error;
        if (!platform::readRegularFile(platform::cp1251ToUtf8(fileName), data_, limit(), &error))
            RaiseRuntime(platform::utf8ToCp1251(error));
        writable_ = access == fmOpenWrite || access == fmOpenReadWrite;
        dirty_ = false;
    }
    pos_ = 0;
    open_ = true;
}

void TfsFileStream::Flush()
{
    if (!open_ || !dirty_)
        return;
    CheckFileAccess(true, fileName_);
    std::string error;
    if (!platform::writeFileAtomic(platform::cp1251ToUtf8(fileName_), data_, &error))
        RaiseRuntime(platform::utf8ToCp1251(error));
    dirty_ = false;
}

void TfsFileStream::checkWritable() const
{
    if (!open_ || !writable_)
        RaiseRuntime("Stream write error");
}

} // namespace script
