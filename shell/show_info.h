#pragma once
#include <cstdint>
#include <string>

// What the live player and the page tell the viewer about the moment: the
// screenshot's file name and the lines of the I overlay.

// "vokdemo-061.250s-scene09.png": the show time and the scene (0..13; 14 is
// the end).
std::string screenshotName(uint32_t showMs, int scene);

// The overlay's lines: the show time, the scene with its name, the frame
// rate and how far the picture is ahead of the music; where that is not
// known (a negative `musicMs`) `musicNote` takes the last line.
std::string overlayText(uint32_t showMs, int scene, double framesPerSecond, double musicMs,
                        const char* musicNote = "no music");
