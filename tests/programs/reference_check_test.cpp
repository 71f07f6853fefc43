// The reference test's own checks, on a scratch copy of tests/reference (the
// real files are never touched): a deliberately wrong hash is reported with
// both hashes and the actual frame as a PNG picture, and the record mode
// writes the reference anew.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "programs/reference_check.h"
#include "support/command.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

TEST(ReferenceCheck, AWrongHashGivesBothHashesAndThePictureAndRecordingWritesTheReferenceAnew) {
    TempDir scratch;
    const std::string reference = scratch.file("reference"), pictures = scratch.file("pictures");
    fs::create_directory(reference);
    for (const char* name : {"mesh-text.txt", "frames-10fps.txt"})
        fs::copy_file(std::string(VOK_REFERENCE_DIR) + "/" + name, reference + "/" + name);

    // The fifth line, frame 164 of the lomur wave, gets a wrong hash.
    std::istringstream lines(readText(reference + "/frames-10fps.txt"));
    std::string text, line, rightHash;
    for (int n = 1; std::getline(lines, line); ++n) {
        if (n == 5) rightHash = line.substr(line.size() - 64), line.replace(line.size() - 64, 64, std::string(64, '0'));
        text += line + "\n";
    }
    scratch.write("reference/frames-10fps.txt", text);

    const ReferenceRender render = renderForReference(VOK_DEMO_BINARY, VOK_DATA_DIR);
    const std::vector<std::string> differences =
        referenceDifferences(render, reference, pictures, VOK_DEMO_BINARY, VOK_DATA_DIR);
    ASSERT_EQ(differences.size(), 1u);
    const std::string& message = differences[0];
    EXPECT_NE(message.find("expected " + std::string(64, '0') + ", actual " + rightHash), std::string::npos) << message;
    const size_t at = message.find("the actual frame: ");
    ASSERT_NE(at, std::string::npos) << message;
    const std::string picture = message.substr(at + 18);
    EXPECT_EQ(message.rfind("frame ", 0), 0u) << message;

    // The picture is the rendered frame, pixel for pixel.
    const std::string frame = message.substr(6, message.find(' ', 6) - 6);
    const std::string raw = scratch.file("frame.bgra");
    ASSERT_EQ(runCommand(std::string(VOK_DEMO_BINARY) + " --data " VOK_DATA_DIR " --render --fps 10 --frames " + frame +
                         "-" + frame + " --raw " + raw + " >/dev/null 2>&1")
                  .exitCode,
              0);
    const CommandRun decoded = runCommand("ffmpeg -v error -i " + picture + " -f rawvideo -pix_fmt bgr0 -");
    ASSERT_EQ(decoded.exitCode, 0) << picture;
    std::string expected = readText(raw), got = decoded.out;
    for (std::string* bytes : {&expected, &got})
        for (size_t i = 3; i < bytes->size(); i += 4) (*bytes)[i] = 0;  // the fourth byte carries no colour
    EXPECT_TRUE(got == expected) << picture << " is not frame " << frame;

    // The record mode writes the reference anew: the real files, byte for byte.
    std::string error;
    ASSERT_TRUE(recordReference(render, reference, error)) << error;
    for (const char* name : {"mesh-text.txt", "frames-10fps.txt"})
        EXPECT_EQ(readText(reference + "/" + name), readText(std::string(VOK_REFERENCE_DIR) + "/" + name)) << name;
    EXPECT_TRUE(referenceDifferences(render, reference, pictures, VOK_DEMO_BINARY, VOK_DATA_DIR).empty());
}
