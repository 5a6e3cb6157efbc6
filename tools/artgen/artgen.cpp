// Draws the program's artwork: six LED lamps (32 x 16, 24-bit), the banner (1359 x 344,
// 24-bit) and the application icon (32 x 32 and 16 x 16, 32-bit). Run at build time:
//   artgen OUTPUT_DIR
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Rgb { int r, g, b; };

struct Image {
    int width, height;
    std::vector<Rgb> pixels;
    Image(int w, int h) : width(w), height(h), pixels(static_cast<size_t>(w) * h) {}
    Rgb& at(int x, int y) { return pixels[static_cast<size_t>(y) * width + x]; }
};

void put16(std::vector<uint8_t>& out, uint32_t v) { out.push_back(v & 0xFF); out.push_back((v >> 8) & 0xFF); }
void put32(std::vector<uint8_t>& out, uint32_t v) { put16(out, v & 0xFFFF); put16(out, v >> 16); }

int clamp255(double v) { return std::clamp(static_cast<int>(std::lround(v)), 0, 255); }

// CreateMappedBitmap replaces these four colours with system colours; a lamp never uses them.
Rgb avoidMappedColours(Rgb c) {
    auto is = [&](int r, int g, int b) { return c.r == r && c.g == g && c.b == b; };
    if (is(0, 0, 0) || is(128, 128, 128) || is(192, 192, 192) || is(255, 255, 255)) c.b = c.b ? c.b - 1 : 1;
    return c;
}

void writeBmp(const std::string& path, const Image& img) {
    const uint32_t rowBytes = (img.width * 3 + 3) & ~3u;
    const uint32_t dataSize = rowBytes * img.height;
    std::vector<uint8_t> out;
    out.push_back('B'); out.push_back('M');
    put32(out, 54 + dataSize); put32(out, 0); put32(out, 54);
    put32(out, 40); put32(out, img.width); put32(out, img.height);
    put16(out, 1); put16(out, 24); put32(out, 0); put32(out, dataSize);
    put32(out, 2835); put32(out, 2835); put32(out, 0); put32(out, 0);
    for (int y = img.height - 1; y >= 0; --y) {
        uint32_t written = 0;
        for (int x = 0; x < img.width; ++x) {
            const Rgb& p = img.pixels[static_cast<size_t>(y) * img.width + x];
            out.push_back(p.b); out.push_back(p.g); out.push_back(p.r);
            written += 3;
        }
        for (; written < rowBytes; ++written) out.push_back(0);
    }
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size()) { std::perror(path.c_str()); std::exit(1); }
    std::fclose(f);
}

// A lamp: the colour at full strength in the centre, about 60 % at the corners.
Image drawLed(Rgb centre) {
    Image img(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x) {
            const double dx = (x + 0.5 - 16.0) / 16.0, dy = (y + 0.5 - 8.0) / 8.0;
            const double d = std::min(1.0, std::sqrt(dx * dx + dy * dy) / std::sqrt(2.0));
            const double k = 1.0 - 0.4 * d * d * 1.7;
            img.at(x, y) = avoidMappedColours({clamp255(centre.r * std::max(k, 0.58)),
                                               clamp255(centre.g * std::max(k, 0.58)),
                                               clamp255(centre.b * std::max(k, 0.58))});
        }
    // The centre pixels carry the lamp colour exactly.
    for (int y = 7; y <= 8; ++y)
        for (int x = 15; x <= 16; ++x) img.at(x, y) = centre;
    return img;
}

// The banner: a deep blue field, a row of switch ports with their link lamps, and a
// band of light, readable when squeezed into the body's corner.
Image drawBanner() {
    Image img(1359, 344);
    for (int y = 0; y < img.height; ++y)
        for (int x = 0; x < img.width; ++x) {
            const double t = static_cast<double>(y) / img.height, u = static_cast<double>(x) / img.width;
            img.at(x, y) = {clamp255(20 + 30 * u), clamp255(40 + 60 * (1 - t)), clamp255(90 + 90 * (1 - t * 0.6))};
        }
    for (int x = 0; x < img.width; ++x)
        for (int y = 150; y < 162; ++y) img.at(x, y) = {clamp255(150 + 80.0 * x / img.width), 200, 235};
    for (int port = 0; port < 10; ++port) {
        const int left = 70 + port * 125, top = 200;
        for (int y = top; y < top + 90; ++y)
            for (int x = left; x < left + 100; ++x) {
                const bool border = y < top + 6 || y >= top + 84 || x < left + 6 || x >= left + 94;
                img.at(x, y) = border ? Rgb{210, 220, 235} : Rgb{25, 30, 45};
            }
        const Rgb lamp = port % 3 == 2 ? Rgb{255, 205, 5} : Rgb{57, 217, 57};
        for (int y = top + 20; y < top + 36; ++y)
            for (int x = left + 34; x < left + 66; ++x) img.at(x, y) = lamp;
    }
    for (int x = 70; x < 1290; ++x)
        for (int y = 40; y < 110; ++y)
            if (((x - 70) / 40) % 2 == 0 && y > 60 && y < 90) img.at(x, y) = {230, 238, 250};
    return img;
}

// The icon: a blue tile with a green lamp, at 32 x 32 and 16 x 16, 32-bit with alpha.
std::vector<uint8_t> iconImage(int size) {
    std::vector<uint8_t> out;
    put32(out, 40); put32(out, size); put32(out, size * 2);
    put16(out, 1); put16(out, 32); put32(out, 0); put32(out, size * size * 4);
    put32(out, 0); put32(out, 0); put32(out, 0); put32(out, 0);
    for (int y = size - 1; y >= 0; --y)
        for (int x = 0; x < size; ++x) {
            const double cx = x + 0.5 - size / 2.0, cy = y + 0.5 - size / 2.0;
            const bool lamp = cx * cx + cy * cy < (size * 0.28) * (size * 0.28);
            const bool edge = x == 0 || y == 0 || x == size - 1 || y == size - 1;
            const Rgb c = lamp ? Rgb{57, 217, 57} : edge ? Rgb{20, 60, 120} : Rgb{25, 121, 202};
            out.push_back(c.b); out.push_back(c.g); out.push_back(c.r); out.push_back(255);
        }
    const int maskRow = ((size + 31) / 32) * 4;
    out.insert(out.end(), static_cast<size_t>(maskRow) * size, 0);
    return out;
}

void writeIcon(const std::string& path) {
    const std::vector<uint8_t> big = iconImage(32), small = iconImage(16);
    std::vector<uint8_t> out;
    put16(out, 0); put16(out, 1); put16(out, 2);
    uint32_t offset = 6 + 16 * 2;
    for (const auto* img : {&big, &small}) {
        const int size = img == &big ? 32 : 16;
        out.push_back(size); out.push_back(size); out.push_back(0); out.push_back(0);
        put16(out, 1); put16(out, 32); put32(out, static_cast<uint32_t>(img->size())); put32(out, offset);
        offset += static_cast<uint32_t>(img->size());
    }
    out.insert(out.end(), big.begin(), big.end());
    out.insert(out.end(), small.begin(), small.end());
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(out.data(), 1, out.size(), f) != out.size()) { std::perror(path.c_str()); std::exit(1); }
    std::fclose(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) { std::fprintf(stderr, "usage: artgen OUTPUT_DIR\n"); return 2; }
    const std::string dir = argv[1];
    struct { int id; Rgb centre; } leds[] = {
        {130, {5, 122, 205}}, {131, {57, 217, 57}}, {132, {128, 160, 205}},
        {133, {255, 205, 5}}, {134, {255, 5, 5}},   {135, {255, 255, 5}}};
    for (const auto& led : leds) writeBmp(dir + "/led" + std::to_string(led.id) + ".bmp", drawLed(led.centre));
    writeBmp(dir + "/banner136.bmp", drawBanner());
    writeIcon(dir + "/app128.ico");
    return 0;
}
