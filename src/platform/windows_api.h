// The Windows API as the platform layer's Windows files include it: without
// the rarely used parts and without the min and max macros, which would
// otherwise break std::min and std::max. Include it first, so that the C
// runtime headers that follow are read in its setting.
#pragma once

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#endif
