#pragma once

// The program's resources, named in vokdemo.rc and the code that uses them.
#define IDD_SCREENSAVER_SETTINGS 100
#define IDC_SCREENSAVER_SOUND 101
