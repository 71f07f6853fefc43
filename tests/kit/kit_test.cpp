// vokkit: pictures and models in, files the show reads out; bad input refused
// with one line and nothing left behind; the data check.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#include "image/pcx.h"
#include "kit/kit_support.h"
#include "kit/test_models.h"
#include "support/command.h"
#include "support/test_files.h"
#include "wire3d/ase.h"
#include "wire3d/mesh.h"

namespace {

namespace fs = std::filesystem;

void imageMagick(const std::string& arguments) {
    ASSERT_EQ(runCommand("convert " + arguments).exitCode, 0) << "convert " << arguments;
}

int field16(const std::vector<uint8_t>& bytes, size_t offset) { return bytes[offset] | (bytes[offset + 1] << 8); }

uint32_t pixelRgb(const Image& image, int x, int y) {
    const uint8_t* p = image.pixels + 4 * (static_cast<size_t>(y) * image.width + x);
    return (p[2] << 16) | (p[1] << 8) | p[0];
}

// What the show's reader prints for a mesh of v vertices and f faces.
std::string frenchText(const std::string& name, int v, int f) {
    std::string text = "nombre vertex de " + name + " " + std::to_string(v) + "\nnombre face de " + name + " " +
                       std::to_string(f) + "\n";
    for (int i = 0; i < v; ++i) text += i % 50 == 0 ? "." : "";
    text += "lecture vertex ok !\n";
    for (int i = 0; i < f; ++i) text += std::string(i % 50 == 0 ? "." : "") + " \b";
    return text + "lecture faces ok !\n";
}

// Only the expected files: no temporary left behind.
std::vector<std::string> listing(const std::string& directory) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(directory)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(KitPicture, ImageMagickPictureReadsPixelForPixelWithTheSizeInBothPlaces) {
    TempDir dir;
    imageMagick("-seed 5 -size 320x240 plasma:fractal -depth 8 " + dir.file("in.png"));
    imageMagick(dir.file("in.png") + " -depth 8 rgb:" + dir.file("in.rgb"));
    const CommandResult run = runKit("picture " + dir.file("in.png") + " " + dir.file("vok_girl.pcx"));
    ASSERT_EQ(run.exitCode, 0) << run.err;

    const std::vector<uint8_t> pcx = readFileBytes(dir.file("vok_girl.pcx"));
    ASSERT_GE(pcx.size(), 128u);
    EXPECT_EQ(field16(pcx, 8) - field16(pcx, 4) + 1, 320);
    EXPECT_EQ(field16(pcx, 10) - field16(pcx, 6) + 1, 240);
    EXPECT_EQ(field16(pcx, 12), 320);
    EXPECT_EQ(field16(pcx, 14), 240);

    const std::vector<uint8_t> rgb = readFileBytes(dir.file("in.rgb"));
    ASSERT_EQ(rgb.size(), 320u * 240 * 3);
    MessageLog messages;
    const std::unique_ptr<Image> shown = loadPcx(ShowContext(messages), dir.file("vok_girl.pcx").c_str());
    ASSERT_EQ(shown->width, 320);
    ASSERT_EQ(shown->height, 240);
    int differing = 0;
    for (int y = 0; y < 240; ++y)
        for (int x = 0; x < 320; ++x) {
            const uint8_t* p = &rgb[(y * 320 + x) * 3];
            differing += pixelRgb(*shown, x, y) != static_cast<uint32_t>((p[0] << 16) | (p[1] << 8) | p[2]);
        }
    EXPECT_EQ(differing, 0);
}

struct ShapeCase {
    const char* input;      // ImageMagick's description of the picture
    const char* file;       // input file name (its type decides the format)
    const char* arguments;  // output name and options
    int width, height;      // what the show reads
    int barRows;            // black rows expected at top and bottom (--fit)
};

TEST(KitPicture, ScreenPicturesBecome320x240AndSpritesKeepTheirSize) {
    const ShapeCase cases[] = {
        {"-size 640x240 gradient:red-yellow", "wide.png", "vok_logo.pcx --fit", 320, 240, 60},
        {"-size 640x240 gradient:red-yellow", "wide.png", "vok_logo.pcx --crop", 320, 240, 0},
        {"-size 640x240 gradient:red-yellow", "wide.png", "vok_logo.pcx", 320, 240, 0},
        {"-size 400x300 plasma:fractal", "photo.jpg", "vok_vesk.pcx", 320, 240, 0},
        {"-size 50x30 xc:orange", "ball.jpg", "part2.pcx", 50, 30, 0},
        {"-size 33x17 xc:cyan", "odd.png", "any.pcx --as part3.pcx", 33, 17, 0},
    };
    for (const ShapeCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " " + c.arguments);
        TempDir dir;
        imageMagick(std::string(c.input) + " " + dir.file(c.file));
        const CommandResult run = runKit("picture " + dir.file(c.file) + " " + dir.path() + "/" + c.arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string out = dir.file(std::string(c.arguments).substr(0, std::string(c.arguments).find(' ')));
        MessageLog messages;
        const std::unique_ptr<Image> shown = loadPcx(ShowContext(messages), out.c_str());
        ASSERT_EQ(shown->width, c.width);
        ASSERT_EQ(shown->height, c.height);
        auto rowIsBlack = [&](int y) {
            for (int x = 0; x < shown->width; ++x)
                if (pixelRgb(*shown, x, y) != 0) return false;
            return true;
        };
        EXPECT_EQ(rowIsBlack(0), c.barRows > 0);
        EXPECT_EQ(rowIsBlack(c.height - 1), c.barRows > 0);
        if (c.barRows > 0) {
            EXPECT_TRUE(rowIsBlack(c.barRows - 1));
            EXPECT_FALSE(rowIsBlack(c.barRows + 1));
            EXPECT_TRUE(rowIsBlack(c.height - c.barRows));
        }
    }
}

struct RefusalCase {
    const char* name;
    std::function<std::string(const TempDir&)> arguments;  // writes the inputs, returns the arguments
    const char* output;                                     // must not exist afterwards
    const char* reason;                                     // in the one line on standard error
};

TEST(KitRefusals, BadInputGivesOneLineStatus2AndNoOutput) {
    const RefusalCase cases[] = {
        {"missing picture", [](const TempDir& d) { return "picture " + d.file("none.png") + " " + d.file("vok_logo.pcx"); },
         "vok_logo.pcx", "none.png: No such file or directory"},
        {"text as picture", [](const TempDir& d) { return "picture " + d.write("a.png", "hello\n") + " " + d.file("vok_logo.pcx"); },
         "vok_logo.pcx", "neither a PNG nor a JPEG"},
        {"truncated PNG",
         [](const TempDir& d) {
             imageMagick("-size 320x240 plasma:fractal " + d.file("full.png"));
             std::vector<uint8_t> bytes = readFileBytes(d.file("full.png"));
             bytes.resize(bytes.size() / 2);
             return "picture " + d.write("cut.png", bytes) + " " + d.file("vok_logo.pcx");
         },
         "vok_logo.pcx", "not a readable PNG"},
        {"truncated JPEG",
         [](const TempDir& d) {
             imageMagick("-size 320x240 plasma:fractal " + d.file("full.jpg"));
             std::vector<uint8_t> bytes = readFileBytes(d.file("full.jpg"));
             bytes.resize(bytes.size() / 2);
             return "picture " + d.write("cut.jpg", bytes) + " " + d.file("vok_logo.pcx");
         },
         "vok_logo.pcx", "not a readable JPEG"},
        {"picture too large",
         [](const TempDir& d) {
             imageMagick("-size 4097x8 xc:white " + d.file("big.png"));
             return "picture " + d.file("big.png") + " " + d.file("vok_logo.pcx");
         },
         "vok_logo.pcx", "larger than 4096x4096"},
        {"picture for no slot",
         [](const TempDir& d) {
             imageMagick("-size 8x8 xc:white " + d.file("small.png"));
             return "picture " + d.file("small.png") + " " + d.file("logo.pcx");
         },
         "logo.pcx", "not one of the show's pictures"},
        {"sprite with --fit",
         [](const TempDir& d) {
             imageMagick("-size 8x8 xc:white " + d.file("small.png"));
             return "picture " + d.file("small.png") + " " + d.file("part1.pcx") + " --fit";
         },
         "part1.pcx", "sprites keep their size"},
        {"output folder missing",
         [](const TempDir& d) {
             imageMagick("-size 8x8 xc:white " + d.file("small.png"));
             return "picture " + d.file("small.png") + " " + d.file("nowhere/part1.pcx");
         },
         "nowhere", "cannot write there"},
        {"missing model", [](const TempDir& d) { return "mesh " + d.file("none.obj") + " " + d.file("v.ase"); },
         "v.ase", "none.obj: No such file or directory"},
        {"model of lines only",
         [](const TempDir& d) { return "mesh " + d.write("l.obj", "v 0 0 0\nv 1 0 0\nv 0 1 0\nl 1 2 3\n") + " " + d.file("v.ase"); },
         "v.ase", "no triangles"},
        {"model of collapsed triangles",
         [](const TempDir& d) { return "mesh " + d.write("p.obj", "v 1 1 1\nv 1 1 1\nv 1 1 1\nf 1 2 3\n") + " " + d.file("v.ase"); },
         "v.ase", "no triangles"},
        {"too many triangles", [](const TempDir& d) { return "mesh " + d.write("g.obj", gridObj(71)) + " " + d.file("test.ase"); },
         "test.ase", "10082 triangles; the show's reader takes at most 9999: add --faces"},
        {"model for no slot", [](const TempDir& d) { return "mesh " + d.write("b.obj", boxObj(1, 1, 1)) + " " + d.file("x.ase"); },
         "x.ase", "not one of the show's meshes"},
        {"face limit out of range",
         [](const TempDir& d) { return "mesh " + d.write("b.obj", boxObj(1, 1, 1)) + " " + d.file("v.ase") + " --faces 10000"; },
         "v.ase", "--faces takes a number from 1 to 9999"},
    };
    for (const RefusalCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        const std::string arguments = c.arguments(dir);
        const std::vector<std::string> before = listing(dir.path());
        const CommandResult run = runKit(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(c.reason), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
        EXPECT_EQ(run.err.rfind("vokkit: ", 0), 0u) << run.err;
        EXPECT_FALSE(fileExists(dir.file(c.output)));
        EXPECT_EQ(listing(dir.path()), before);
    }
}

struct ModelCase {
    const char* file;
    std::string text;
    const char* arguments;  // output name and options
    int vertices, faces;    // as the show reads them; 0: at most maxFaces
    int maxFaces;
};

// Every converted model: the show's reader prints its usual text for it, and
// every face stays on screen at every angle the show turns it through.
TEST(KitMesh, ModelsInEveryFormatLoadAndStayOnScreen) {
    const ModelCase cases[] = {
        {"box.obj", boxObj(40, 20, 10), "v.ase", 8, 12, 0},
        {"far.obj", boxObj(4, 2, 1, 1000, -50, 3), "e.ase", 8, 12, 0},
        {"octa.gltf", octahedronGltf(250, 40), "test.ase", 6, 8, 0},
        {"tetra.stl", tetrahedronStl(), "k.ase", 4, 4, 0},
        {"tetra.ply", tetrahedronPly(), "o.ase", 4, 4, 0},
        {"grid.obj", gridObj(80), "test.ase --faces 500", 0, 0, 500},
    };
    for (const ModelCase& c : cases) {
        SCOPED_TRACE(std::string(c.file) + " -> " + c.arguments);
        TempDir dir;
        copyDataSet(dir.path());
        const CommandResult run = runKit("mesh " + dir.write(c.file, c.text) + " " + dir.path() + "/" + c.arguments);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string slot = std::string(c.arguments).substr(0, std::string(c.arguments).find(' '));

        Mesh mesh{};
        MessageLog messages;
        ASSERT_TRUE(loadAse(ShowContext(messages, DataFolder(dir.path())), slot.c_str(), mesh));
        if (c.vertices > 0) {
            EXPECT_EQ(mesh.vertexCount, c.vertices);
            EXPECT_EQ(mesh.faceCount, c.faces);
        } else {
            EXPECT_GT(mesh.faceCount, c.maxFaces / 2);
            EXPECT_LE(mesh.faceCount, c.maxFaces);
        }
        EXPECT_EQ(messages.textOut, frenchText(slot, mesh.vertexCount, mesh.faceCount));
        resetMesh(mesh);

        const CommandResult check = runKit("check " + dir.path() + " --no-flashes");
        EXPECT_EQ(check.exitCode, 0) << check.out;
        EXPECT_NE(check.out.find(" faces, on screen at every angle of its scenes"), std::string::npos);
    }
}

struct BrokenCase {
    const char* name;
    std::function<void(const TempDir&)> breakIt;
    const char* line;  // the start of the file's line
    const char* says;  // and what it names
};

// Every file plays as intended; the turning object and the jittering
// overlays fail the flash check, which makes the status 1.
TEST(KitCheck, TheProjectsDataSetPlaysAsIntendedAndFailsTheFlashCheck) {
    const CommandResult run = runKit("check " VOK_DATA_DIR);
    EXPECT_EQ(run.exitCode, 1) << run.out;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 21) << run.out;
    EXPECT_NE(run.out.find("\nPROBLEM  flashes         FAIL (WCAG 2.3.1): "), std::string::npos) << run.out;
    size_t okLines = 0;
    for (size_t at = run.out.find("ok "); at != std::string::npos; at = run.out.find("\nok ", at + 1)) ++okLines;
    EXPECT_EQ(okLines, 18u) << run.out;
}

TEST(KitCheck, EachBrokenFileIsNamedWithItsFixAndStatus1) {
    const BrokenCase cases[] = {
        {"picture saved by ImageMagick",
         [](const TempDir& d) { imageMagick("-seed 2 -size 320x240 plasma:fractal " + d.file("vok_girl.pcx")); },
         "PROBLEM  vok_girl.pcx", "the size fields at offsets 12 and 14 read 0x0 (the picture is 320x240); the show "
                                  "sees 0x0; convert it with vokkit picture"},
        {"sprite gone", [](const TempDir& d) { fs::remove(d.file("part2.pcx")); }, "missing  part2.pcx",
         "the show draws nothing"},
        {"mesh gone", [](const TempDir& d) { fs::remove(d.file("k.ase")); }, "missing  k.ase", "ia pas le file k.ase"},
        {"picture of the wrong size",
         [](const TempDir& d) {
             imageMagick("-size 64x64 xc:red " + d.file("red.png"));
             runKit("picture " + d.file("red.png") + " " + d.file("vok_vesk.pcx") + " --as part1.pcx");
         },
         "PROBLEM  vok_vesk.pcx", "sees 64x64, needs 320x240"},
        {"letter too large",
         [](const TempDir& d) {
             std::string text = readText(d.file("o.ase"));
             const size_t at = text.find("*MESH_VERTEX    0\t") + 18;
             d.write("o.ase", text.substr(0, at) + "90" + text.substr(at));
         },
         "PROBLEM  o.ase", "faces leave the screen (and are not drawn) at "},
        {"mesh without faces", [](const TempDir& d) { d.write("test.ase", "*ASE\t200\n*MESH {\n*MESH_NUMVERTEX 0\n*MESH_NUMFACES 0\n}\n"); },
         "PROBLEM  test.ase", "no faces"},
        {"count beyond four digits",
         [](const TempDir& d) {
             std::string text = readText(d.file("v.ase"));
             const size_t at = text.find("*MESH_NUMVERTEX 14");
             d.write("v.ase", text.replace(at, 18, "*MESH_NUMVERTEX 12345"));
         },
         "PROBLEM  v.ase", "declares 12345 vertices and 24 faces; the show reads 1234 and 24"},
        {"module not a module", [](const TempDir& d) { d.write("zumber.xm", "not music"); }, "PROBLEM  zumber.xm",
         "cannot load the music"},
    };
    for (const BrokenCase& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        copyDataSet(dir.path());
        c.breakIt(dir);
        const CommandResult run = runKit("check " + dir.path());
        EXPECT_EQ(run.exitCode, 1);
        const size_t line = run.out.find(c.line);
        ASSERT_NE(line, std::string::npos) << run.out;
        const std::string text = run.out.substr(line, run.out.find('\n', line) - line);
        EXPECT_NE(text.find(c.says), std::string::npos) << text;
        EXPECT_NE(run.out.find("1 of 18 files need a fix"), std::string::npos) << run.out;
    }
}

}  // namespace
