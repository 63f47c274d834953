#include "viewer/ui/jpeg_image.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <jpeglib.h>

namespace tavrin {

namespace {

// libjpeg reports fatal errors through error_exit, which must not return:
// it jumps back to the decoder. Everything the decoder owns lives in this
// heap-free struct, so nothing with a destructor is skipped by the jump.
struct Decoder {
    jpeg_decompress_struct info;
    jpeg_error_mgr errors;
    std::jmp_buf failed;
    unsigned char* pixels = nullptr;
};

void onError(j_common_ptr info)
{
    auto* d = reinterpret_cast<Decoder*>(reinterpret_cast<char*>(info) - offsetof(Decoder, info));
    std::longjmp(d->failed, 1);
}

void onMessage(j_common_ptr) {}

} // namespace

QImage DecodeJpeg(std::span<const unsigned char> bytes)
{
    if (bytes.empty())
        return {};
    auto* d = static_cast<Decoder*>(std::calloc(1, sizeof(Decoder)));
    if (!d)
        return {};
    d->info.err = jpeg_std_error(&d->errors);
    d->errors.error_exit = onError;
    d->errors.output_message = onMessage;
    int width = 0, height = 0;
    if (setjmp(d->failed) == 0) {
        jpeg_create_decompress(&d->info);
        jpeg_mem_src(&d->info, bytes.data(), static_cast<unsigned long>(bytes.size()));
        jpeg_read_header(&d->info, TRUE);
        d->info.out_color_space = JCS_RGB;
        jpeg_start_decompress(&d->info);
        width = static_cast<int>(d->info.output_width);
        height = static_cast<int>(d->info.output_height);
        std::size_t stride = static_cast<std::size_t>(width) * 3;
        if (width <= 0 || height <= 0 || width > 16384 || height > 16384 || d->info.output_components != 3)
            std::longjmp(d->failed, 1);
        d->pixels = static_cast<unsigned char*>(std::malloc(stride * static_cast<std::size_t>(height)));
        if (!d->pixels)
            std::longjmp(d->failed, 1);
        while (d->info.output_scanline < d->info.output_height) {
            JSAMPROW row = d->pixels + stride * d->info.output_scanline;
            jpeg_read_scanlines(&d->info, &row, 1);
        }
        jpeg_finish_decompress(&d->info);
    } else {
        width = height = 0;
    }
    jpeg_destroy_decompress(&d->info);
    QImage image;
    if (width > 0 && d->pixels) {
        QImage view(d->pixels, width, height, width * 3, QImage::Format_RGB888);
        image = view.copy();
    }
    std::free(d->pixels);
    std::free(d);
    return image;
}

} // namespace tavrin
