#pragma once
// A pasted or dropped annotation: a picture, or an embedded object, placed
// at a rectangle in control pixels over the 3-D picture and saved with the
// control's state. The control keeps the bytes; the window decodes and
// draws them.
//
// A picture is the bytes of an image file (PNG or SVG; empty: an empty
// picture). An embedded object is its item record (embedded_item.h), kept
// byte for byte as it was made or loaded, so an object of a kind this
// program cannot run still goes back out unchanged.

#include <cstdint>
#include <climits>
#include <vector>

namespace halvex {

enum AnnotationType : std::int32_t { kPictureAnnotation = 0, kObjectAnnotation = 1 };

struct AnnotationRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool contains(int x, int y) const noexcept { return x >= left && x < right && y >= top && y < bottom; }
    // Width and height, 0 for a rectangle turned inside out; a loaded
    // rectangle may hold any numbers, so these never overflow.
    std::int32_t width() const noexcept { return extentOf(left, right); }
    std::int32_t height() const noexcept { return extentOf(top, bottom); }
    // The same size with its top-left corner at (x, y), kept within 32 bits.
    AnnotationRect movedTo(std::int32_t x, std::int32_t y) const noexcept
    {
        return {x, y, clamped(std::int64_t(x) + width()), clamped(std::int64_t(y) + height())};
    }
    friend bool operator==(const AnnotationRect&, const AnnotationRect&) = default;

private:
    static std::int32_t clamped(std::int64_t v) noexcept
    {
        return v > INT32_MAX ? INT32_MAX : v < INT32_MIN ? INT32_MIN : std::int32_t(v);
    }
    static std::int32_t extentOf(std::int32_t from, std::int32_t to) noexcept
    {
        return to > from ? clamped(std::int64_t(to) - from) : 0;
    }
};

struct Annotation {
    std::int32_t type = kPictureAnnotation;
    AnnotationRect rect;
    // The host format the annotation was made from, or 0.
    std::uint16_t clipFormat = 0;
    std::vector<std::uint8_t> picture; // type 0
    std::vector<std::uint8_t> item;    // type 1
    // The host format's own data, kept for a later copy.
    std::vector<std::uint8_t> hostData;
    // Distinguishes annotations for the window's cache of decoded
    // pictures; given by the control, never saved.
    std::uint64_t serial = 0;
};

} // namespace halvex
