// vokkit: converts pictures and models into the files the show reads, and
// checks a data folder the way the show will read it.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "commands.h"

namespace {

const char* const usage =
    "usage: vokkit COMMAND ...\n"
    "\n"
    "  vokkit picture IN OUT.pcx [--fit|--crop] [--as NAME]\n"
    "      A PNG or JPEG picture (at most 4096x4096) becomes a 24-bit PCX the show\n"
    "      reads. The slot comes from OUT's file name (or --as NAME, one of the\n"
    "      show's picture names). The nine full-screen pictures become 320x240:\n"
    "      --crop (the default) fills the screen and cuts what sticks out; --fit\n"
    "      shows all of the picture with black bars. Sprites (part1.pcx to\n"
    "      part3.pcx) keep their size.\n"
    "\n"
    "  vokkit mesh IN OUT.ase [--faces N] [--as NAME] [--up y|z]\n"
    "      A model (OBJ, glTF 2.0 .gltf/.glb, STL, PLY, 3DS) becomes an ASE mesh\n"
    "      for the slot named by OUT (or --as: v.ase, o.ase, k.ase, e.ase,\n"
    "      test.ase), triangulated, centred and scaled to stay on screen at every\n"
    "      angle and distance the show gives that slot. --faces N reduces it to\n"
    "      at most N triangles (the show reads at most 9999). --up names the\n"
    "      model's up axis (default z for STL, y for the others).\n"
    "\n"
    "  vokkit check [DIR] [--no-flashes] [--table]\n"
    "      Reads the show's data files in DIR (default: the working directory)\n"
    "      as the show will and prints one line a file, with the fix for each\n"
    "      problem, then the verdict of the flash check below (a few seconds;\n"
    "      --no-flashes leaves it out). --table then writes DIR/frames.sha256,\n"
    "      the hash of every frame at 60 fps, which vokdemo --verify compares\n"
    "      a machine's show with. Exit status 0 when every file plays as\n"
    "      intended and the show passes, 1 otherwise.\n"
    "\n"
    "  vokkit flashes [DIR] [--fps N] [--plot FILE.png] [--verdict FILE]\n"
    "  vokkit flashes --raw FILE --fps N [--plot FILE.png]\n"
    "      Checks the show for flashes that can cause seizures (WCAG 2.3.1): more\n"
    "      than three general or three red flashes in any one second, over\n"
    "      107x80 pixels' worth of one 214x160 field. Renders the show of DIR\n"
    "      (default: the data set vokdemo would use) at 60 frames a second (or\n"
    "      N) and prints one line a scene, the worst moment and the verdict;\n"
    "      --raw checks a stream of 320x240 BGRA frames instead (\"-\": standard\n"
    "      input), such as vokdemo --render --raw.\n"
    "      --plot draws the flashes a second over the whole show; --verdict\n"
    "      writes the verdict for the players (a first line \"pass\" or \"fail\").\n"
    "      Exit status 0 when it passes, 1 when it fails.\n"
    "\n"
    "Exit status 2: a file that cannot be read, an input that is refused, or a\n"
    "bad command line; no output file is left behind.\n";

}  // namespace

int refuse(const std::string& subject, const std::string& reason) {
    std::fprintf(stderr, "vokkit: %s: %s\n", subject.c_str(), reason.c_str());
    return exitBadInput;
}

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fputs(usage, stderr);
        return exitBadInput;
    }
    const std::string command = argv[1];
    const std::vector<std::string> args(argv + 2, argv + argc);
    if (command == "--help" || command == "-h" || command == "help") {
        std::fputs(usage, stdout);
        return exitOk;
    }
    if (command == "picture") return runPicture(args);
    if (command == "mesh") return runMesh(args);
    if (command == "check") return runCheck(args);
    if (command == "flashes") return runFlashes(args);
    std::fprintf(stderr, "vokkit: unknown command '%s'\n\n%s", command.c_str(), usage);
    return exitBadInput;
}
