// SPDX-License-Identifier: GPL-3.0-or-later
// RGB565 surfaces to PNG files through libpng.
#include "platform/png_writer.h"

#include <png.h>

#include <fstream>
#include <vector>

#include "base/utf8_path.h"

namespace platform {

namespace {

// libpng writes through this into a file stream, which opens any path the system can name
// (on Windows a UTF-16 one, which fopen cannot).
void writeToStream(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::ofstream*>(png_get_io_ptr(png));
    out->write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(length));
}

void flushStream(png_structp png) { static_cast<std::ofstream*>(png_get_io_ptr(png))->flush(); }

}  // namespace

bool WritePng(const Surface& surface, const std::filesystem::path& file, std::string& error) {
    std::ofstream f(file, std::ios::binary | std::ios::trunc);
    if (!f) {
        error = "cannot write " + base::Utf8FromPath(file);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        error = "PNG encoding failed for " + base::Utf8FromPath(file);
        return false;
    }
    png_set_write_fn(png, &f, writeToStream, flushStream);
    png_set_IHDR(png, info, surface.width(), surface.height(), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(static_cast<size_t>(surface.width()) * 3);
    for (int32_t y = 0; y < surface.height(); ++y) {
        const uint16_t* s = surface.row(y);
        for (int32_t x = 0; x < surface.width(); ++x) {
            const uint16_t v = s[x];
            const unsigned r = v >> 11, g = (v >> 5) & 63, b = v & 31;
            row[x * 3 + 0] = static_cast<png_byte>((r << 3) | (r >> 2));
            row[x * 3 + 1] = static_cast<png_byte>((g << 2) | (g >> 4));
            row[x * 3 + 2] = static_cast<png_byte>((b << 3) | (b >> 2));
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    f.close();
    if (!f) error = "cannot write " + base::Utf8FromPath(file);
    return static_cast<bool>(f);
}

}  // namespace platform
