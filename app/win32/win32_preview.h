#pragma once
#include <windows.h>

#include "common/show_context.h"

// The screensaver's preview: the show, looping and silent, drawn through GDI
// as large as it fits into a child window of `parent` (the preview of
// Windows' screensaver settings), until that window goes away. Returns the
// exit code: 0 then, 1 when the show could not start.
int runPreview(HINSTANCE instance, HWND parent, const ShowContext& context, bool gentle);
