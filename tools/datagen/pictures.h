#pragma once
#include "canvas.h"

// The painters of the show's pictures, one a file name (pictures.cpp says which). The full-screen
// pictures are 320x240; the sprites are small, on black.
Canvas paintTitle();      // vok_zumber.pcx: the picture the show fades in
Canvas paintLogo();       // vok_logo.pcx: the group's logo, for the rising wave warp
Canvas paintMarble();     // vok_lomur.pcx: the falling wave warp, behind the letters
Canvas paintPortrait();   // vok_girl.pcx: behind the sprites, drifting channels
Canvas paintFractal();    // vok_vesk.pcx: under the lens and the last scenes
Canvas paintCredits();    // vok_credit.pcx: overlay, bright text on black
Canvas paintThanks();     // vok_thanks.pcx: overlay
Canvas paintGreetings();  // vok_greets.pcx: overlay
Canvas paintMask();       // vok_mask.pcx: grey weights of the cross-fade
Canvas paintSunOrb();     // part1.pcx
Canvas paintStar();       // part2.pcx
Canvas paintRingedOrb();  // part3.pcx

// The sprite sizes, kept so that the sprites stay on screen along the paths
// of the sprite scene.
constexpr int sunOrbSize = 64;
constexpr int starSize = 56;
constexpr int ringedOrbSize = 48;
