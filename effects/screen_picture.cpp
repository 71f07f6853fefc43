#include "effects/screen_picture.h"

#include <cstdio>

#include "image/pcx.h"

Image* loadScreenPicture(const char* fileName) {
    Image* picture = loadPcx(fileName);
    if (picture->isScreenSized() && picture->pixels) return picture;
    if (picture->count == 0) {
        std::fprintf(stderr, "missing picture: %s\n", fileName);
    } else {
        std::fprintf(stderr, "picture %s is %dx%d, not 320x240\n", fileName, picture->width, picture->height);
    }
    delete picture;
    return new Image();
}
