#include "plot/model/colormaps.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <unistd.h>

namespace halvex {

namespace {

constexpr std::string_view kHeader = "Corvane Colormap";

// A little-endian reader over bytes that never reads past the end.
struct ByteReader {
    std::string_view bytes;
    std::size_t pos = 0;

    std::size_t left() const noexcept { return bytes.size() - pos; }
    bool u8(std::uint32_t& v)
    {
        if (left() < 1)
            return false;
        v = static_cast<unsigned char>(bytes[pos++]);
        return true;
    }
    bool u16(std::uint32_t& v)
    {
        if (left() < 2)
            return false;
        v = static_cast<unsigned char>(bytes[pos]) | static_cast<unsigned char>(bytes[pos + 1]) << 8;
        pos += 2;
        return true;
    }
    bool u32(std::uint32_t& v)
    {
        if (left() < 4)
            return false;
        v = 0;
        for (int k = 3; k >= 0; --k)
            v = v << 8 | static_cast<unsigned char>(bytes[pos + std::size_t(k)]);
        pos += 4;
        return true;
    }
    // Text with the archive's length prefix: a byte, 0xFF then 16 bits,
    // 0xFFFF then 32 bits.
    bool text(std::string_view& out)
    {
        std::uint32_t n = 0;
        if (!u8(n))
            return false;
        if (n == 0xFF && (!u16(n) || (n == 0xFFFF && !u32(n))))
            return false;
        if (n > left())
            return false;
        out = bytes.substr(pos, n);
        pos += n;
        return true;
    }
};

bool endsWithCmp(const char* name)
{
    std::size_t n = std::strlen(name);
    return n >= 4 && std::strcmp(name + n - 4, ".cmp") == 0;
}

// Reads at most limit bytes of a regular file.
bool readSmallFile(const std::string& path, std::string& out)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return false;
    char buf[65536];
    std::size_t n;
    bool ok = true;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        // No colour map needs more than a few megabytes; a larger file is
        // not one.
        if (out.size() + n > (std::size_t(64) << 20)) {
            ok = false;
            break;
        }
        out.append(buf, n);
    }
    ok = ok && !std::ferror(f);
    std::fclose(f);
    return ok;
}

} // namespace

bool ParseColormapFile(std::string_view bytes, std::string name, Colormap& out)
{
    ByteReader r{bytes};
    std::string_view header;
    if (!r.text(header) || header != kHeader)
        return false;
    std::uint32_t raw = 0;
    if (!r.u32(raw))
        return false;
    auto count = static_cast<std::int32_t>(raw);
    if (count <= 0 || std::size_t(count) > r.left() / 4)
        return false;
    Colormap map;
    map.name = std::move(name);
    map.colors.resize(std::size_t(count));
    for (std::uint32_t& c : map.colors) {
        r.u32(c);
        c |= 0xFF000000u;
    }
    out = std::move(map);
    return true;
}

ColormapList& ColormapList::instance()
{
    static ColormapList* list = [] {
        auto* l = new ColormapList;
        l->Load();
        return l;
    }();
    return *list;
}

std::string ColormapFolder()
{
    std::string exe(4096, '\0');
    ssize_t n = ::readlink("/proc/self/exe", exe.data(), exe.size() - 1);
    if (n <= 0)
        return "cmaps/";
    exe.resize(std::size_t(n));
    return exe.substr(0, exe.rfind('/') + 1) + "cmaps/";
}

void ColormapList::Load()
{
    LoadFrom(ColormapFolder());
}

void ColormapList::LoadFrom(const std::string& folder)
{
    maps_.clear();
    std::vector<std::string> names;
    if (DIR* dir = ::opendir(folder.c_str())) {
        while (dirent* e = ::readdir(dir))
            if (endsWithCmp(e->d_name))
                names.emplace_back(e->d_name);
        ::closedir(dir);
    }
    std::sort(names.begin(), names.end());
    std::string prefix = folder;
    if (!prefix.empty() && prefix.back() != '/')
        prefix += '/';
    for (const std::string& file : names) {
        std::string bytes;
        if (!readSmallFile(prefix + file, bytes))
            continue;
        Colormap map;
        if (ParseColormapFile(bytes, file.substr(0, file.size() - 4), map))
            maps_.push_back(std::move(map));
    }
}

bool LookupColormap(std::size_t k, float t, Rgb& out)
{
    const ColormapList& list = ColormapList::instance();
    if (k >= list.size())
        return false;
    const std::vector<std::uint32_t>& c = list.at(k).colors;
    t = ClampRamp(t);
    std::size_t n = c.size();
    double x = double(n - 1) * double(t);
    auto m = static_cast<std::size_t>(std::floor(x));
    if (m > n - 1)
        m = n - 1;
    auto channel = [](std::uint32_t color, int shift) { return double((color >> shift) & 0xFFu) / 255.0; };
    for (int ch = 0; ch < 3; ++ch) {
        double v = channel(c[m], 8 * ch);
        if (m + 1 < n) {
            double t0 = double(m) / double(n - 1), t1 = double(m + 1) / double(n - 1);
            double f = (double(t) - t0) / (t1 - t0);
            v += (channel(c[m + 1], 8 * ch) - v) * f;
        }
        out[std::size_t(ch)] = static_cast<float>(v);
    }
    return true;
}

float RampPosition(const BoundingRecord& box, const float* p, std::int32_t dir) noexcept
{
    const auto& lo = box.min;
    const auto& hi = box.max;
    auto dist2 = [](float a, float b) { return std::sqrt(a * a + b * b); };
    float v = 0.0f, from = 0.0f, to = 0.0f;
    switch (dir) {
    case 1:
        v = p[2], from = lo[2], to = hi[2];
        break;
    case 2:
        v = p[0], from = lo[0], to = hi[0];
        break;
    case 4:
        v = p[1], from = lo[1], to = hi[1];
        break;
    case 3:
        v = dist2(p[2] - lo[2], p[0] - lo[0]), to = dist2(hi[2] - lo[2], hi[0] - lo[0]);
        break;
    case 5:
        v = dist2(p[2] - lo[2], p[1] - lo[1]), to = dist2(hi[2] - lo[2], hi[1] - lo[1]);
        break;
    case 6:
        v = dist2(p[0] - lo[0], p[1] - lo[1]), to = dist2(hi[0] - lo[0], hi[1] - lo[1]);
        break;
    case 7: {
        float dx = p[0] - lo[0], dy = p[1] - lo[1], dz = p[2] - lo[2];
        float ex = hi[0] - lo[0], ey = hi[1] - lo[1], ez = hi[2] - lo[2];
        v = std::sqrt(dx * dx + dy * dy + dz * dz), to = std::sqrt(ex * ex + ey * ey + ez * ez);
        break;
    }
    default:
        return 0.0f;
    }
    return ClampRamp((v - from) / (to - from));
}

Rgb HueRamp(float t) noexcept
{
    float h = 4.6f - 4.55f * t;
    float w = (t + 1.0f) * 0.5f;
    int s = static_cast<int>(h);
    float f = h - float(s);
    float q = w * (1.0f - f), r = w * f;
    switch (s) {
    case 0:
        return {w, r, 0.0f};
    case 1:
        return {q, w, 0.0f};
    case 2:
        return {0.0f, w, r};
    case 3:
        return {0.0f, q, w};
    case 4:
        return {r, 0.0f, w};
    default:
        return {w, 0.0f, q};
    }
}

Rgb SpectrumRgb(std::int32_t index, float t)
{
    t = ClampRamp(t);
    if (index == 1)
        return {t, t, t};
    Rgb c;
    if (index >= 2 && LookupColormap(std::size_t(index - 2), t, c))
        return c;
    return HueRamp(t);
}

} // namespace halvex
