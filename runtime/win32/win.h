// The Win32 API, without the macros that would rename the program's own names.
#pragma once
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <windowsx.h>

// rt::MessageBox is the program's service; the API's function is called by its wide name.
#undef MessageBox
