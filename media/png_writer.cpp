#include "media/png_writer.h"

#include <png.h>

#include <cerrno>
#include <cinttypes>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace {

// libpng's own handlers print; these keep quiet, and the caller's message
// names the file and errno's reason instead.
[[noreturn]] void quietError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void quietWarning(png_structp, png_const_charp) {}

}  // namespace

PngFrameWriter::PngFrameWriter(const std::string& directory, int scale) : directory_(directory), scale_(scale) {}

bool PngFrameWriter::prepareDirectory(std::string& error) {
    std::error_code code;
    std::filesystem::create_directories(directory_, code);
    if (!std::filesystem::is_directory(directory_)) {
        error = "cannot write into '" + directory_ + "': " + (code ? code.message() : "not a directory");
        return false;
    }
    return true;
}

std::string PngFrameWriter::framePath(int64_t frame) const {
    char name[32];
    std::snprintf(name, sizeof name, "frame_%05" PRId64 ".png", frame);
    return (std::filesystem::path(directory_) / name).string();
}

bool PngFrameWriter::write(const Image& image, int64_t frame, std::string& error) {
    return writePicture(image, framePath(frame), error);
}

bool PngFrameWriter::writePicture(const Image& image, const std::string& path, std::string& error) {
    if (writeFile(image, path, path, error)) return true;
    std::remove(path.c_str());
    return false;
}

bool PngFrameWriter::writeFile(const Image& image, const std::string& path, const std::string& shownPath,
                               std::string& error) {
    errno = 0;
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) {
        error = "cannot write '" + shownPath + "': " + std::strerror(errno);
        return false;
    }
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, quietError, quietWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        error = "cannot write '" + shownPath + "': " + (errno ? std::strerror(errno) : "PNG encoder failed");
        return false;
    }
    const int width = image.width * scale_, height = image.height * scale_;
    row_.resize(static_cast<size_t>(width) * 3);
    png_init_io(png, file);
    png_set_compression_level(png, 1);  // the frames are flat pictures; speed matters more
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < image.height; ++y) {
        const uint8_t* source = image.pixels + static_cast<size_t>(y) * image.width * 4;
        uint8_t* out = row_.data();
        for (int x = 0; x < image.width; ++x, source += 4) {
            for (int i = 0; i < scale_; ++i, out += 3) {
                out[0] = source[2];
                out[1] = source[1];
                out[2] = source[0];
            }
        }
        for (int i = 0; i < scale_; ++i) png_write_row(png, row_.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    errno = 0;
    if (std::fclose(file) != 0) {
        error = "cannot write '" + shownPath + "': " + std::strerror(errno);
        return false;
    }
    return true;
}
