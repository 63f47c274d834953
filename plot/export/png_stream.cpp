#include "plot/export/png_stream.h"

#include "platform/system/output_file.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

namespace halvex {

namespace {

// libpng reports errors by a long jump back into the call that failed;
// every call into it goes through one of these functions, whose frames hold
// nothing that needs destroying.
struct Session {
    png_structp png = nullptr;
    png_infop info = nullptr;
    platform::OutputFile* file = nullptr;
    char message[200] = {};
};

void onError(png_structp png, png_const_charp text)
{
    auto* s = static_cast<Session*>(png_get_error_ptr(png));
    std::strncpy(s->message, text ? text : "PNG error", sizeof s->message - 1);
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}

void onWrite(png_structp png, png_bytep data, png_size_t size)
{
    auto* s = static_cast<Session*>(png_get_io_ptr(png));
    if (!s->file->Write(data, size))
        png_error(png, "cannot write the file");
}

void onFlush(png_structp) {}

bool beginPng(Session* s, int width, int height)
{
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    png_set_write_fn(s->png, s, onWrite, onFlush);
    png_set_IHDR(s->png, s->info, png_uint_32(width), png_uint_32(height), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(s->png, s->info);
    // The fourth byte of every pixel is skipped.
    png_set_filler(s->png, 0, PNG_FILLER_AFTER);
    return true;
}

bool writeRow(Session* s, png_bytep row)
{
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    png_write_row(s->png, row);
    return true;
}

bool endPng(Session* s)
{
    if (setjmp(png_jmpbuf(s->png)))
        return false;
    png_write_end(s->png, s->info);
    return true;
}

} // namespace

PngStream::~PngStream()
{
    if (png_) {
        auto* s = static_cast<Session*>(png_);
        png_destroy_write_struct(&s->png, &s->info);
        delete s;
    }
}

bool PngStream::Begin(platform::OutputFile& file, int width, int height)
{
    auto* s = new Session;
    png_ = s;
    s->file = &file;
    s->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, s, onError, onWarning);
    if (s->png)
        s->info = png_create_info_struct(s->png);
    if (!s->png || !s->info) {
        error_ = "not enough memory for the PNG encoder";
        return false;
    }
    width_ = width;
    if (!beginPng(s, width, height)) {
        error_ = file.error().empty() ? std::string(s->message) : file.error();
        return false;
    }
    return true;
}

bool PngStream::WriteRows(const std::uint8_t* rgba, int rows)
{
    auto* s = static_cast<Session*>(png_);
    if (!s || !s->info)
        return false;
    for (int y = 0; y < rows; ++y) {
        auto* row = const_cast<png_bytep>(rgba + std::size_t(y) * std::size_t(width_) * 4);
        if (!writeRow(s, row)) {
            error_ = s->file->error().empty() ? std::string(s->message) : s->file->error();
            return false;
        }
    }
    return true;
}

bool PngStream::End()
{
    auto* s = static_cast<Session*>(png_);
    if (!s || !s->info)
        return false;
    if (!endPng(s)) {
        error_ = s->file->error().empty() ? std::string(s->message) : s->file->error();
        return false;
    }
    return true;
}

} // namespace halvex
