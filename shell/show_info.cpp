#include "shell/show_info.h"

#include <cstdio>

#include "demo/scenes.h"

std::string screenshotName(uint32_t showMs, int scene) {
    char name[64];
    std::snprintf(name, sizeof name, "vokdemo-%03u.%03us-scene%02d.png", showMs / 1000, showMs % 1000, scene);
    return name;
}

std::string overlayText(uint32_t showMs, int scene, double framesPerSecond, double musicMs, const char* musicNote) {
    char text[160];
    int length = std::snprintf(text, sizeof text, "%u.%03u s\nscene %d %s\n%.0f fps\n", showMs / 1000, showMs % 1000,
                               scene, sceneName(scene), framesPerSecond);
    if (musicMs < 0) {
        std::snprintf(text + length, sizeof text - length, "%s", musicNote);
    } else {
        std::snprintf(text + length, sizeof text - length, "picture %+.1f ms from music", showMs - musicMs);
    }
    return text;
}
