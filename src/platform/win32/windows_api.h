#pragma once

// The Windows API for the Win32 backends. <windows.h> defines the names of its ANSI/Unicode
// function pairs as macros; the ports have methods of the same names (FindWindow,
// CreateProcess), so those macros are removed here and the backends call the ...A functions
// by their full names.
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CreateProcess
#undef FindWindow
