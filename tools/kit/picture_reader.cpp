#include "picture_reader.h"

#include <jpeglib.h>
#include <png.h>

#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

using File = std::unique_ptr<FILE, int (*)(FILE*)>;

bool sizeAllowed(uint32_t width, uint32_t height, std::string& error) {
    if (width == 0 || height == 0) {
        error = "the picture is empty";
        return false;
    }
    if (width > largestPictureSide || height > largestPictureSide) {
        error = "the picture is " + std::to_string(width) + "x" + std::to_string(height) + ", larger than " +
                std::to_string(largestPictureSide) + "x" + std::to_string(largestPictureSide);
        return false;
    }
    return true;
}

bool readPng(const std::string& path, RgbPicture& picture, std::string& error) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) {
        error = std::string("not a readable PNG: ") + image.message;
        return false;
    }
    if (!sizeAllowed(image.width, image.height, error)) {
        png_image_free(&image);
        return false;
    }
    image.format = PNG_FORMAT_RGB;
    picture.width = static_cast<int>(image.width);
    picture.height = static_cast<int>(image.height);
    picture.rgb.assign(PNG_IMAGE_SIZE(image), 0);
    const png_color black{0, 0, 0};
    if (!png_image_finish_read(&image, &black, picture.rgb.data(), 0, nullptr)) {
        error = std::string("not a readable PNG: ") + image.message;
        png_image_free(&image);
        return false;
    }
    return true;
}

// libjpeg reports errors through a callback that must not return.
struct JpegError {
    jpeg_error_mgr manager;
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void onJpegError(j_common_ptr info) {
    JpegError* error = reinterpret_cast<JpegError*>(info->err);
    (*info->err->format_message)(info, error->message);
    std::longjmp(error->escape, 1);
}

// A warning (level -1) means damaged data, which would decode as grey:
// refuse the file instead. Trace messages are dropped.
void onJpegMessage(j_common_ptr info, int level) {
    if (level < 0) onJpegError(info);
}

// Everything that lives across the setjmp is set up before it.
bool readJpeg(FILE* file, RgbPicture& picture, std::string& error) {
    jpeg_decompress_struct info{};
    JpegError jpegError{};
    info.err = jpeg_std_error(&jpegError.manager);
    jpegError.manager.error_exit = onJpegError;
    jpegError.manager.emit_message = onJpegMessage;
    if (setjmp(jpegError.escape)) {
        error = std::string("not a readable JPEG: ") + jpegError.message;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!sizeAllowed(info.image_width, info.image_height, error)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&info);
    picture.width = static_cast<int>(info.output_width);
    picture.height = static_cast<int>(info.output_height);
    picture.rgb.assign(static_cast<size_t>(picture.width) * picture.height * 3, 0);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = picture.rgb.data() + static_cast<size_t>(info.output_scanline) * picture.width * 3;
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

}  // namespace

bool readPicture(const std::string& path, RgbPicture& picture, std::string& error) {
    File file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        error = std::strerror(errno);
        return false;
    }
    unsigned char signature[8] = {};
    size_t got = std::fread(signature, 1, sizeof signature, file.get());
    if (got == sizeof signature && png_sig_cmp(signature, 0, sizeof signature) == 0) {
        file.reset();
        return readPng(path, picture, error);
    }
    if (got >= 3 && signature[0] == 0xFF && signature[1] == 0xD8 && signature[2] == 0xFF) {
        std::rewind(file.get());
        return readJpeg(file.get(), picture, error);
    }
    if (std::ferror(file.get())) {
        error = std::strerror(errno);
    } else {
        error = got == 0 ? "the file is empty" : "neither a PNG nor a JPEG picture";
    }
    return false;
}
