#include "effects/screen_picture.h"

#include <string>

#include "image/pcx.h"

std::unique_ptr<Image> loadScreenPicture(const char* fileName, MessageSink& messages) {
    std::unique_ptr<Image> picture = loadPcx(fileName, messages);
    if (picture->isScreenSized() && picture->pixels) return picture;
    if (picture->count == 0) {
        messages.warning(std::string("missing picture: ") + fileName);
    } else {
        messages.warning(std::string("picture ") + fileName + " is " + std::to_string(picture->width) + "x" +
                         std::to_string(picture->height) + ", not 320x240");
    }
    return std::make_unique<Image>();
}
