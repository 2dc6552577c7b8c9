// The Windows integer and text-pointer types with their Windows widths: DWORD and UINT stay
// 32 bits on 64-bit Linux, as code written against the Windows headers expects.
#pragma once

#include <cstdint>

typedef std::uint32_t DWORD;
typedef unsigned int UINT;
typedef DWORD LCID;
typedef DWORD LCTYPE;
typedef char* LPSTR;
typedef const char* LPCSTR;
