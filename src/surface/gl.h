// OpenGL 1.1 and GLU, as every drawing module includes them. windows.h must
// come first on Windows, but only platform code may include it, so the few
// definitions gl.h needs are supplied here.
#pragma once

#if defined(_WIN32) && !defined(APIENTRY)
#define APIENTRY __stdcall
#define WINGDIAPI __declspec(dllimport)
#define CALLBACK __stdcall
#endif

#include <GL/gl.h>
#include <GL/glu.h>
