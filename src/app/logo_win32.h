// Decoding the logo resource into a bitmap.
#pragma once

#include <windows.h>

// A bitmap the caller owns, or null. JPEG (and other picture formats) are
// decoded through OLE.
HBITMAP LoadImageResource(HINSTANCE instance, int id, const char* type);
