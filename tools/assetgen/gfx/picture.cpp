#include "picture.hpp"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace assetgen {

namespace {

uint8_t toByte(float v) { return static_cast<uint8_t>(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); }

struct File {
    explicit File(const std::filesystem::path& path) : f(std::fopen(path.c_str(), "wb")) {
        if (!f) throw std::runtime_error("cannot write " + path.string());
    }
    ~File() {
        if (f) std::fclose(f);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    FILE* f;
};

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

}  // namespace

uint32_t packRgb(float r, float g, float b) {
    uint32_t p = 0xFF000000u | (uint32_t{toByte(r)} << 16) | (uint32_t{toByte(g)} << 8) | toByte(b);
    if (p == kMagenta) p = 0xFFFE00FFu;
    return p;
}

void Picture::paste(const Picture& src, int x0, int y0) {
    for (int y = 0; y < src.height; ++y) {
        for (int x = 0; x < src.width; ++x) {
            const int tx = x0 + x;
            const int ty = y0 + y;
            if (tx < 0 || ty < 0 || tx >= width || ty >= height) continue;
            at(tx, ty) = src.at(x, y);
        }
    }
}

Picture keyed(const Layer& layer, Rgb matte, float threshold) {
    Picture out(layer.width(), layer.height(), kMagenta);
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const Rgba& p = layer.at(x, y);
            if (p.a < threshold) continue;
            const float k = 1.0f - std::min(1.0f, p.a);
            out.at(x, y) = packRgb(p.r + matte.r * k, p.g + matte.g * k, p.b + matte.b * k);
        }
    }
    return out;
}

Picture overBlack(const Layer& layer) {
    Picture out(layer.width(), layer.height());
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const Rgba& p = layer.at(x, y);
            out.at(x, y) = packRgb(p.r, p.g, p.b);
        }
    }
    return out;
}

Picture blackKeyed(const Layer& layer, float threshold) {
    Picture out(layer.width(), layer.height());
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const Rgba& p = layer.at(x, y);
            const float light = std::max({p.r, p.g, p.b});
            if (light < threshold) continue;
            out.at(x, y) = packRgb(p.r, p.g, p.b);
        }
    }
    return out;
}

Picture opaque(const Layer& layer, Rgb bg) {
    Picture out(layer.width(), layer.height());
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const Rgba& p = layer.at(x, y);
            const float k = 1.0f - std::min(1.0f, p.a);
            out.at(x, y) = packRgb(p.r + bg.r * k, p.g + bg.g * k, p.b + bg.b * k);
        }
    }
    return out;
}

Picture withAlpha(const Layer& layer) {
    Picture out(layer.width(), layer.height(), 0);
    out.withAlpha = true;
    for (int y = 0; y < layer.height(); ++y) {
        for (int x = 0; x < layer.width(); ++x) {
            const Rgba& p = layer.at(x, y);
            if (p.a <= 0.0f) continue;
            const float a = std::min(1.0f, p.a);
            out.at(x, y) = (uint32_t{toByte(a)} << 24) | (uint32_t{toByte(p.r / a)} << 16) | (uint32_t{toByte(p.g / a)} << 8) |
                           toByte(p.b / a);
        }
    }
    return out;
}

void writePng(const std::filesystem::path& file, const Picture& picture) {
    File out(file);
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    const int channels = picture.withAlpha ? 4 : 3;
    std::vector<uint8_t> row(static_cast<size_t>(picture.width * channels));
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        throw std::runtime_error("cannot encode " + file.string());
    }
    png_init_io(png, out.f);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height), 8,
                 picture.withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(png, 6);
    png_write_info(png, info);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.at(x, y);
            uint8_t* d = &row[static_cast<size_t>(x * channels)];
            d[0] = static_cast<uint8_t>(p >> 16);
            d[1] = static_cast<uint8_t>(p >> 8);
            d[2] = static_cast<uint8_t>(p);
            if (channels == 4) d[3] = static_cast<uint8_t>(p >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
}

Picture readPng(const std::filesystem::path& file) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, file.c_str())) throw std::runtime_error("cannot read " + file.string());
    image.format = PNG_FORMAT_BGRA;
    Picture out(static_cast<int>(image.width), static_cast<int>(image.height));
    if (!png_image_finish_read(&image, nullptr, out.pixels.data(), 0, nullptr))
        throw std::runtime_error("cannot decode " + file.string());
    return out;
}

void writeJpeg(const std::filesystem::path& file, const Picture& picture, int quality) {
    File out(file);
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, out.f);
    cinfo.image_width = static_cast<JDIMENSION>(picture.width);
    cinfo.image_height = static_cast<JDIMENSION>(picture.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    // Full-resolution colour keeps thin gold lines and stars from bleeding.
    for (int c = 0; c < cinfo.num_components; ++c) {
        cinfo.comp_info[c].h_samp_factor = 1;
        cinfo.comp_info[c].v_samp_factor = 1;
    }
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(picture.width * 3));
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.at(x, y);
            row[static_cast<size_t>(x * 3)] = static_cast<uint8_t>(p >> 16);
            row[static_cast<size_t>(x * 3 + 1)] = static_cast<uint8_t>(p >> 8);
            row[static_cast<size_t>(x * 3 + 2)] = static_cast<uint8_t>(p);
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
}

void writeBmp(const std::filesystem::path& file, const Picture& picture) {
    // 24-bit BI_RGB: a 14-byte file header, a 40-byte info header, rows bottom-up, each padded to
    // four bytes, pixels blue, green, red.
    const uint32_t rowBytes = (static_cast<uint32_t>(picture.width) * 3 + 3) & ~3u;
    const uint32_t imageBytes = rowBytes * static_cast<uint32_t>(picture.height);
    std::vector<uint8_t> out;
    out.push_back('B');
    out.push_back('M');
    put32(out, 54 + imageBytes);  // file size
    put32(out, 0);                // reserved
    put32(out, 54);               // offset of the pixels
    put32(out, 40);               // info header size
    put32(out, static_cast<uint32_t>(picture.width));
    put32(out, static_cast<uint32_t>(picture.height));  // positive: bottom-up
    put16(out, 1);                                      // planes
    put16(out, 24);                                     // bits per pixel
    put32(out, 0);                                      // BI_RGB
    put32(out, imageBytes);
    put32(out, 2835);  // 72 dpi, horizontal
    put32(out, 2835);  // vertical
    put32(out, 0);     // palette colours
    put32(out, 0);     // important colours
    for (int y = picture.height - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width; ++x) {
            const uint32_t p = picture.at(x, y);
            out.push_back(static_cast<uint8_t>(p));
            out.push_back(static_cast<uint8_t>(p >> 8));
            out.push_back(static_cast<uint8_t>(p >> 16));
        }
        for (uint32_t pad = static_cast<uint32_t>(picture.width) * 3; pad < rowBytes; ++pad) out.push_back(0);
    }
    File f(file);
    if (std::fwrite(out.data(), 1, out.size(), f.f) != out.size()) throw std::runtime_error("cannot write " + file.string());
}

void writePicture(const std::filesystem::path& file, const Picture& picture) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (ext == ".jpg" || ext == ".jpeg") {
        writeJpeg(file, picture, 92);
    } else if (ext == ".bmp") {
        writeBmp(file, picture);
    } else {
        writePng(file, picture);
    }
}

}  // namespace assetgen
