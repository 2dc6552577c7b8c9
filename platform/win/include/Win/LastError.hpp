// The calling thread's last error, as Windows keeps it: a failing call sets it, a
// succeeding call leaves it as it was.
#pragma once

#include "Win/WindowsTypes.hpp"

// Last-error codes.
constexpr DWORD ERROR_INVALID_PARAMETER = 87;
constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
constexpr DWORD ERROR_INVALID_FLAGS = 1004;

extern "C" {

DWORD GetLastError(void);
void SetLastError(DWORD dwErrCode);

} // extern "C"
