#include "programs/reference_check.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "support/command.h"
#include "support/test_files.h"

namespace {

const char* const textFile = "mesh-text.txt";
const char* const framesFile = "frames-10fps.txt";

struct FrameFields {
    long long frame = -1, milliseconds = 0;
    int scene = -1;
    std::string hash;
};

FrameFields fieldsOf(const std::string& line) {
    FrameFields fields;
    std::istringstream in(line);
    std::string word;
    in >> word >> fields.frame >> fields.milliseconds >> fields.scene >> fields.hash;
    return fields;
}

// The rendered frame as a PNG picture in `pictureDir`: its path, or why not.
std::string writePicture(long long frame, const std::string& pictureDir, const std::string& demo,
                         const std::string& data) {
    const std::string frames = std::to_string(frame) + "-" + std::to_string(frame);
    const CommandRun run = runCommand(demo + " --data " + data + " --png " + pictureDir + " --fps 10 --scale 1 --frames " +
                                      frames + " >/dev/null 2>&1");
    char name[32];
    std::snprintf(name, sizeof name, "/frame_%05lld.png", frame);
    return run.exitCode == 0 ? pictureDir + name : "(no picture: vokdemo --png failed)";
}

// The message for a reference line the render does not match, or empty.
std::string frameDifference(const std::string& expected, const ReferenceRender& render, const std::string& pictureDir,
                            const std::string& demo, const std::string& data) {
    const FrameFields want = fieldsOf(expected);
    if (want.frame < 0) return "not a frame line in " + std::string(framesFile) + ": " + expected;
    if (want.frame >= static_cast<long long>(render.frameLines.size()))
        return "frame " + std::to_string(want.frame) + " is not rendered (the show has " +
               std::to_string(render.frameLines.size()) + " frames at 10 fps)";
    const std::string& actual = render.frameLines[static_cast<size_t>(want.frame)];
    if (actual == expected) return "";
    const FrameFields got = fieldsOf(actual);
    char where[96];
    std::snprintf(where, sizeof where, "frame %lld at %lld ms, scene %d", want.frame, want.milliseconds, want.scene);
    std::string message = std::string(where) + " differs: expected " + want.hash + ", actual " + got.hash;
    if (got.milliseconds != want.milliseconds || got.scene != want.scene) message += " (rendered as: " + actual + ")";
    return message + "; the actual frame: " + writePicture(want.frame, pictureDir, demo, data);
}

bool writeFile(const std::string& path, const std::string& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) error = "cannot write " + path;
    return static_cast<bool>(out);
}

}  // namespace

ReferenceRender renderForReference(const std::string& demo, const std::string& data) {
    const CommandRun run = runCommand(demo + " --render --fps 10 --hash --data " + data + " 2>/dev/null");
    ReferenceRender render;
    const size_t firstFrame = run.out.rfind("frame ", 0) == 0 ? 0 : run.out.find("\nframe ");
    if (firstFrame == std::string::npos) return {run.out, {}};
    render.text = run.out.substr(0, firstFrame == 0 ? 0 : firstFrame + 1);
    std::istringstream lines(run.out.substr(render.text.size()));
    for (std::string line; std::getline(lines, line);) render.frameLines.push_back(line);
    return render;
}

std::vector<std::string> sampledFrames(const std::vector<std::string>& frameLines) {
    std::vector<std::string> sampled;
    for (size_t first = 0; first < frameLines.size();) {
        const int scene = fieldsOf(frameLines[first]).scene;
        size_t last = first;
        while (last + 1 < frameLines.size() && fieldsOf(frameLines[last + 1]).scene == scene) ++last;
        for (size_t k : {first, first + (last - first) / 2, last}) sampled.push_back(frameLines[k]);
        first = last + 1;
    }
    return sampled;
}

std::vector<std::string> referenceDifferences(const ReferenceRender& render, const std::string& directory,
                                              const std::string& pictureDir, const std::string& demo,
                                              const std::string& data) {
    std::vector<std::string> differences;
    if (render.text != readText(directory + "/" + textFile))
        differences.push_back("the mesh reader's progress text differs from " + directory + "/" + textFile);
    std::istringstream reference(readText(directory + "/" + framesFile));
    for (std::string line; std::getline(reference, line);) {
        const std::string difference = frameDifference(line, render, pictureDir, demo, data);
        if (!difference.empty()) differences.push_back(difference);
    }
    return differences;
}

bool recordReference(const ReferenceRender& render, const std::string& directory, std::string& error) {
    std::string frames;
    for (const std::string& line : sampledFrames(render.frameLines)) frames += line + "\n";
    return writeFile(directory + "/" + textFile, render.text, error) &&
           writeFile(directory + "/" + framesFile, frames, error);
}

bool recordingReference() {
    const char* value = std::getenv("VOK_UPDATE_REFERENCE");
    return value && std::string(value) == "1";
}
