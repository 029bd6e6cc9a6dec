#pragma once
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace LoomTest {

// Writes 8-bit RGBA pixels as a PNG (deflate "stored" blocks, no
// compression), so the tests make the exact images they need.
class RenderTestPng {
public:
    static std::vector<uint8_t> Encode(int width, int height, const std::vector<uint32_t>& argb) {
        std::vector<uint8_t> raw;
        for (int y = 0; y < height; ++y) {
            raw.push_back(0);  // filter: none
            for (int x = 0; x < width; ++x) {
                uint32_t p = argb[y * width + x];
                raw.insert(raw.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p), uint8_t(p >> 24)});
            }
        }
        std::vector<uint8_t> z = {0x78, 0x01};
        for (size_t pos = 0; pos < raw.size() || pos == 0; pos += 65535) {
            size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
            z.push_back(pos + n >= raw.size() ? 1 : 0);
            z.insert(z.end(), {uint8_t(n), uint8_t(n >> 8), uint8_t(~n), uint8_t(~n >> 8)});
            z.insert(z.end(), raw.begin() + pos, raw.begin() + pos + n);
            if (raw.empty()) break;
        }
        uint32_t a = 1, b = 0;
        for (uint8_t c : raw) a = (a + c) % 65521, b = (b + a) % 65521;
        Put32(z, (b << 16) | a);

        std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
        std::vector<uint8_t> ihdr;
        Put32(ihdr, uint32_t(width));
        Put32(ihdr, uint32_t(height));
        ihdr.insert(ihdr.end(), {8, 6, 0, 0, 0});
        Chunk(png, "IHDR", ihdr);
        Chunk(png, "IDAT", z);
        Chunk(png, "IEND", {});
        return png;
    }

    static bool Write(const std::string& path, const std::vector<uint8_t>& bytes) {
        FILE* f = std::fopen(path.c_str(), "wb");
        if (!f) return false;
        bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
        return std::fclose(f) == 0 && ok;
    }

private:
    static void Put32(std::vector<uint8_t>& v, uint32_t x) {
        v.insert(v.end(), {uint8_t(x >> 24), uint8_t(x >> 16), uint8_t(x >> 8), uint8_t(x)});
    }
    static void Chunk(std::vector<uint8_t>& png, const char* type, const std::vector<uint8_t>& data) {
        Put32(png, uint32_t(data.size()));
        std::vector<uint8_t> body(type, type + 4);
        body.insert(body.end(), data.begin(), data.end());
        png.insert(png.end(), body.begin(), body.end());
        uint32_t crc = 0xFFFFFFFFu;
        for (uint8_t c : body) {
            crc ^= c;
            for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
        Put32(png, ~crc);
    }
};

}  // namespace LoomTest
