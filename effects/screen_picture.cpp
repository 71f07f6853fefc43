#include "effects/screen_picture.h"

#include <cstdio>
#include <string>

#include "image/pcx.h"
#include "platform/platform.h"

namespace {

bool fileOpens(const char* name) {
    FILE* file = platform::openDataFile(name, "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

}  // namespace

void warnUnusablePicture(const char* fileName, const Image& picture, const std::string& needed,
                         MessageSink& messages) {
    if (!fileOpens(fileName)) {
        messages.warning(std::string("missing picture: ") + fileName);
        return;
    }
    messages.warning(std::string("picture ") + fileName + " reads as " + std::to_string(picture.width) + "x" +
                     std::to_string(picture.height) + needed + "; vokkit check tells why");
}

std::unique_ptr<Image> loadScreenPicture(const char* fileName, MessageSink& messages) {
    std::unique_ptr<Image> picture = loadPcx(fileName, messages);
    if (picture->isScreenSized() && picture->pixels) return picture;
    warnUnusablePicture(fileName, *picture, ", not 320x240", messages);
    return std::make_unique<Image>();
}
