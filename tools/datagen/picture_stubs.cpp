#include "pictures.h"
Canvas paintCredits() { return Canvas(320, 240); }
Canvas paintThanks() { return Canvas(320, 240); }
Canvas paintGreetings() { return Canvas(320, 240); }
Canvas paintMask() { return Canvas(320, 240); }
Canvas paintSunOrb() { return Canvas(64, 64); }
Canvas paintStar() { return Canvas(56, 56); }
Canvas paintRingedOrb() { return Canvas(48, 48); }
