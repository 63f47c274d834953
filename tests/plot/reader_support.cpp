#include "tests/plot/reader_support.h"

#include "tests/test_support.h"

#include <QImage>

#include <cstdlib>
#include <fstream>
#include <sys/wait.h>

namespace readers {

Run run(const std::string& command, const std::string& dir)
{
    std::string log = dir + "reader.log";
    // The VRML checker is built with the sanitizers but calls a library
    // that keeps its memory to the end: no leak check for the readers.
    std::string line = "env -u LSAN_OPTIONS ASAN_OPTIONS=detect_leaks=0 " + command + " >'" + log + "' 2>&1";
    int st = std::system(line.c_str());
    return {WIFEXITED(st) ? WEXITSTATUS(st) : -1, testsupport::readAll(log)};
}

Picture readPpm(const std::string& path)
{
    Picture p;
    std::ifstream in(path, std::ios::binary);
    // Header fields, with ghostscript's "# ..." comment lines between them.
    auto field = [&in](std::string& token) {
        while (in >> token && token[0] == '#') {
            std::string rest;
            std::getline(in, rest);
        }
        return bool(in);
    };
    std::string magic, w, h, maxval;
    if (!field(magic) || !field(w) || !field(h) || !field(maxval))
        return {};
    in.get();
    p.width = std::atoi(w.c_str());
    p.height = std::atoi(h.c_str());
    if (magic != "P6" || maxval != "255" || p.width < 1 || p.height < 1 || p.width > 20000 || p.height > 20000)
        return {};
    p.rgb.resize(std::size_t(p.width) * p.height * 3);
    in.read(reinterpret_cast<char*>(p.rgb.data()), std::streamsize(p.rgb.size()));
    if (!in)
        return {};
    return p;
}

Picture readImage(const std::string& path)
{
    QImage image(QString::fromStdString(path));
    if (image.isNull())
        return {};
    image = image.convertToFormat(QImage::Format_RGB888);
    Picture p;
    p.width = image.width();
    p.height = image.height();
    p.rgb.resize(std::size_t(p.width) * p.height * 3);
    for (int y = 0; y < p.height; ++y)
        std::copy(image.constScanLine(y), image.constScanLine(y) + std::size_t(p.width) * 3,
                  p.rgb.begin() + std::ptrdiff_t(std::size_t(y) * p.width * 3));
    return p;
}

Run ghostscript(const std::string& eps, const std::string& ppm, const std::string& dir)
{
    return run("gs -q -dSAFER -dBATCH -dNOPAUSE -dEPSCrop -r72 -sDEVICE=ppmraw -sOutputFile='" + ppm + "' '" + eps +
                   "'",
               dir);
}

Run povray(const std::string& pov, const std::string& png, int width, int height, const std::string& dir)
{
    // -D: no display; +A0.1: antialiased like the picture's smoothed lines.
    return run("povray -D +FN +A0.1 +W" + std::to_string(width) + " +H" + std::to_string(height) + " +I'" + pov +
                   "' +O'" + png + "'",
               dir);
}

std::vector<bool> mask(const Picture& p, int tolerance)
{
    std::vector<bool> m(std::size_t(p.width) * p.height, false);
    const std::uint8_t bg[3] = {255, 255, 255};
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const std::uint8_t* c = p.at(x, y);
            bool on = false;
            for (int k = 0; k < 3; ++k)
                on |= std::abs(int(c[k]) - int(bg[k])) > tolerance;
            m[std::size_t(y) * p.width + x] = on;
        }
    return m;
}

double maskDifference(const std::vector<bool>& a, const std::vector<bool>& b)
{
    if (a.size() != b.size())
        return 1.0;
    std::size_t either = 0, one = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        either += (a[k] || b[k]) ? 1 : 0;
        one += a[k] != b[k] ? 1 : 0;
    }
    return either ? double(one) / double(either) : 0.0;
}

int count(const std::vector<bool>& m)
{
    int n = 0;
    for (bool b : m)
        n += b ? 1 : 0;
    return n;
}

} // namespace readers
