#pragma once
#include <string>
#include <vector>

// The show against its reference output (tests/reference): the mesh reader's
// progress text and, at 10 fps, the first, a middle and the last frame of
// every scene. With VOK_UPDATE_REFERENCE=1 the reference test writes them
// anew instead, on purpose: only a change of the data set may change them,
// and the commit shows it.

// One run of `vokdemo --render --fps 10 --hash` with the data set in `data`.
struct ReferenceRender {
    std::string text;                     // what comes before the first frame line
    std::vector<std::string> frameLines;  // "frame K T_MS SCENE SHA256", frame K at [K]
};
ReferenceRender renderForReference(const std::string& demo, const std::string& data);

// The lines of the reference: the first, the middle and the last frame of
// every scene, in order.
std::vector<std::string> sampledFrames(const std::vector<std::string>& frameLines);

// What differs from the reference files in `directory`, one message each.
// A frame that differs is written as a PNG picture into `pictureDir`, and its
// message names the picture and the expected and actual hashes.
std::vector<std::string> referenceDifferences(const ReferenceRender& render, const std::string& directory,
                                              const std::string& pictureDir, const std::string& demo,
                                              const std::string& data);

// Writes the reference files in `directory` from the render; false with the
// reason when one cannot be written.
bool recordReference(const ReferenceRender& render, const std::string& directory, std::string& error);

// VOK_UPDATE_REFERENCE=1 in the environment.
bool recordingReference();
