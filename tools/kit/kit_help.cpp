#include "kit_help.h"

#include <string>

#include "flash/flash_rules.h"

namespace {

const char* const pictureHelp =
    "  vokkit picture IN OUT.pcx [--fit|--crop] [--as NAME]\n"
    "      A PNG or JPEG picture (at most 4096x4096) becomes a 24-bit PCX the show\n"
    "      reads. The slot comes from OUT's file name (or --as NAME, one of the\n"
    "      show's picture names). The nine full-screen pictures become 320x240:\n"
    "      --crop (the default) fills the screen and cuts what sticks out; --fit\n"
    "      shows all of the picture with black bars. Sprites (part1.pcx to\n"
    "      part3.pcx) keep their size.\n";

const char* const meshHelp =
    "  vokkit mesh IN OUT.ase [--faces N] [--as NAME] [--up y|z]\n"
    "      A model (OBJ, glTF 2.0 .gltf/.glb, STL, PLY, 3DS) becomes an ASE mesh\n"
    "      for the slot named by OUT (or --as: v.ase, o.ase, k.ase, e.ase,\n"
    "      test.ase), triangulated, centred and scaled to stay on screen at every\n"
    "      angle and distance the show gives that slot. --faces N reduces it to\n"
    "      at most N triangles (the show reads at most 9999). --up names the\n"
    "      model's up axis (default z for STL, y for the others).\n";

const char* const checkHelp =
    "  vokkit check [DIR] [--no-flashes] [--table]\n"
    "      Reads the show's data files in DIR (default: the working directory)\n"
    "      as the show will and prints one line a file, with the fix for each\n"
    "      problem, then the verdict of the flash check (vokkit flashes, its\n"
    "      WCAG reading: PASS, PASS WITH WARNING or FAIL with the worst second\n"
    "      and where; a few seconds; --no-flashes leaves it out). --table then\n"
    "      writes DIR/frames.sha256, the hash of every frame at 60 fps, which\n"
    "      vokdemo --verify compares a machine's show with. Exit status 0 when\n"
    "      every file plays as intended and the show does not fail the flash\n"
    "      check (a warning passes), 1 otherwise.\n";

const char* const flashesHead =
    "  vokkit flashes [DIR] [--fps N] [--rule wcag|broadcast] [--field WxH]\n"
    "          [--csv FILE] [--heatmap FILE.png] [--plot FILE.png] [--verdict FILE]\n"
    "  vokkit flashes --raw FILE --fps N [the same, but --verdict]\n"
    "      Checks the show for flashes that can cause seizures in people with\n"
    "      photosensitive epilepsy. Renders the show of DIR (default: the data\n"
    "      set vokdemo would use) at 60 frames a second (or N); --raw checks a\n"
    "      stream of 320x240 BGRA frames instead (\"-\": standard input):\n"
    "        vokdemo --render --fps 60 --raw - | vokkit flashes --raw - --fps 60\n"
    "      A pixel makes a transition when its relative luminance moves by at\n"
    "      least 0.1 from its extreme since its last one, the darker state below\n"
    "      0.8; a red transition is a change of saturated red. Two readings:\n";

// The readings and statuses, with the figures of the rules.
std::string flashesRules() {
    using namespace flash;
    const std::string field = std::to_string(wcagField.width) + "x" + std::to_string(wcagField.height);
    return "        --rule wcag       (the default) WCAG 2.3.1, the frames shown full\n"
           "                          screen: any " + field + " rectangle of the frame is a\n"
           "                          field (a 10-degree view), and it changes when more\n"
           "                          than a quarter of it (" + std::to_string(wcagField.area() / 4) +
           " pixels) flashes at the\n"
           "                          same time; pixels that flash at different moments\n"
           "                          never add up\n"
           "        --rule broadcast  the same transitions over the whole screen (a\n"
           "                          quarter of it: " + std::to_string(wholeScreen.area() / 4) +
           " pixels), and extended\n"
           "                          flashing: seconds of " + std::to_string(warningFrom) + " to " +
           std::to_string(transitionLimit) + " transitions that add up\n"
           "                          to " + std::to_string(extendedLimitMs / 1000) + " s within " +
           std::to_string(extendedWindowMs / 1000) + " s fail\n"
           "      Each frame's figure is the most transitions in the second ending\n"
           "      with it: at most " + std::to_string(warningFrom - 1) + " PASS, " + std::to_string(warningFrom) +
           " to " + std::to_string(transitionLimit) + " PASS WITH WARNING, more than " +
           std::to_string(transitionLimit) + " FAIL.\n"
           "      Prints the status and worst seconds of each scene under both\n"
           "      readings, then the verdict of the reading --rule names.\n"
           "      --field WxH        another field, in frame pixels (at most 320x240),\n"
           "                         for another way of watching: in a window a\n"
           "                         fraction k of the screen's width, " +
           std::to_string(wcagField.width) + "/k x " + std::to_string(wcagField.height) + "/k\n"
           "                         (half the width: " + std::to_string(wcagField.width * 2) + "x" +
           std::to_string(wcagField.height * 2) + "); below about a third\n"
           "                         of the screen's width, the whole frame, 320x240\n";
}

const char* const flashesFiles =
    "      --csv FILE         one row a frame: time, scene, transitions in its\n"
    "                         second under both readings, the worst field\n"
    "      --heatmap FILE.png where fields went over the limit, over a frame of\n"
    "                         the worst scene\n"
    "      --plot FILE.png    transitions a second over the whole show, with the\n"
    "                         scenes and the limits\n"
    "      --verdict FILE     the verdict the players read (flashes.txt beside\n"
    "                         the data files): both readings, scene by scene\n"
    "      Exit status 0 for PASS and PASS WITH WARNING, 1 for FAIL (by --rule).\n";

const char* const exitHelp =
    "Exit status 2: a file that cannot be read, an input that is refused, or a\n"
    "bad command line; no output file is left behind.\n";

std::string commandHelp(const std::string& command) {
    if (command == "picture") return pictureHelp;
    if (command == "mesh") return meshHelp;
    if (command == "check") return checkHelp;
    if (command == "flashes") return flashesHead + flashesRules() + flashesFiles;
    return "";
}

}  // namespace

std::string commandUsage(const std::string& command) {
    const std::string help = commandHelp(command);
    return help.empty() ? help : help + "\n" + exitHelp;
}

std::string kitUsage() {
    std::string text = "usage: vokkit COMMAND ...   (vokkit COMMAND --help: that command's alone)\n\n";
    for (const char* command : {"picture", "mesh", "check", "flashes"}) text += commandHelp(command) + "\n";
    return text + exitHelp;
}
