#pragma once
// The system's headers, as every Windows-calling file of this backend includes them: without
// the rarely used parts, and without the min and max macros that break std::min and std::max.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
