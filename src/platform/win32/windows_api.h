// <windows.h> for the Win32 edge, without the macros that clash with the ports' names.
//
// Include it after every header of the ports: <windows.h> defines MB_OK, IDYES,
// FILE_ATTRIBUTE_READONLY and their kin as macros of the same values as the ports' constants,
// which those headers would otherwise fail to declare, and it maps CopyFile, DeleteFile,
// CreateDirectory and MessageBox onto their A or W forms, which would rename the ports' methods.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#undef CopyFile
#undef DeleteFile
#undef CreateDirectory
#undef MessageBox
