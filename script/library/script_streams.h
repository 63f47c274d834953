#pragma once
// The streams of scripts: TStream (bytes and a position), TMemoryStream and
// TFileStream. A file stream works on the file's bytes in memory: it reads
// regular files only, and what it writes reaches the file through a
// temporary file renamed into place when the stream is freed (or its
// script cleared), so the file is never left half written. Counts and
// positions from scripts are clamped; a stream grows no larger than a
// string may.

#include "script/binding/object_refs.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace script {

class TfsStream : public TfsObject {
public:
    // Reads up to count bytes at the position (fewer at the end).
    std::string Read(std::int64_t count);
    // Writes the bytes at the position, growing the stream (with zero
    // bytes when the position is past its end); the number written.
    std::size_t Write(std::string_view bytes);
    // origin: 0 from the start, 1 from the position, 2 from the end; the
    // new position, never below 0.
    std::int64_t Seek(std::int64_t offset, int origin);
    std::int64_t Position() const noexcept { return static_cast<std::int64_t>(pos_); }
    void SetPosition(std::int64_t p);
    std::int64_t Size() const noexcept { return static_cast<std::int64_t>(data_.size()); }
    void SetSize(std::int64_t n);
    // From source's position (count 0: all of source from its start).
    std::int64_t CopyFrom(TfsStream& source, std::int64_t count);
    // Everything from the position to the end.
    std::string Rest();
    const std::string& Bytes() const noexcept { return data_; }
    void ReplaceBytes(std::string bytes);

protected:
    virtual void checkWritable() const {}
    virtual void changed() {}
    std::string data_;
    std::size_t pos_ = 0;
};

class TfsMemoryStream : public TfsStream {
public:
    void Clear();
};

class TfsFileStream : public TfsStream {
public:
    // The file mode constants of scripts.
    static constexpr int fmCreate = 0xFFFF;
    static constexpr int fmOpenRead = 0;
    static constexpr int fmOpenWrite = 1;
    static constexpr int fmOpenReadWrite = 2;

    ~TfsFileStream() override;
    // Opens (or, with fmCreate, starts) the file named in code page 1251.
    void Open(std::string_view fileName, int mode);
    // Writes what changed; errors are raised. Done again by the destructor
    // if needed, which cannot raise them.
    void Flush();
    void BeforeFree() override { Flush(); }

private:
    void checkWritable() const override;
    void changed() override { dirty_ = true; }
    std::string fileName_;
    bool open_ = false;
    bool writable_ = false;
    bool dirty_ = false;
};

} // namespace script
