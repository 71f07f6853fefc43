#include "effects/screen_picture.h"

#include <cstdio>
#include <string>

#include "image/pcx.h"

namespace {

bool fileOpens(const DataFolder& data, const char* name) {
    FILE* file = data.open(name, "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

}  // namespace

void warnUnusablePicture(const ShowContext& context, const char* fileName, const Image& picture,
                         const std::string& needed) {
    MessageSink& messages = context.messages;
    if (!fileOpens(context.data, fileName)) {
        messages.warning(std::string("missing picture: ") + fileName);
        return;
    }
    messages.warning(std::string("picture ") + fileName + " reads as " + std::to_string(picture.width) + "x" +
                     std::to_string(picture.height) + needed + "; vokkit check tells why");
}

std::unique_ptr<Image> loadScreenPicture(const ShowContext& context, const char* fileName) {
    std::unique_ptr<Image> picture = loadPcx(context, fileName);
    if (picture->isScreenSized() && picture->pixels) return picture;
    warnUnusablePicture(context, fileName, *picture, ", not 320x240");
    return std::make_unique<Image>();
}
