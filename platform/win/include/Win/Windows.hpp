// The Windows calls the module makes, on Linux: the module file's path, the system beep and
// registered window messages, with the Windows signatures and C linkage so that code written
// against the Windows headers compiles and behaves unchanged. The regional number calls are in
// Win/Locale.hpp, included here. Below the Windows part, in namespace Win, are the seams a host
// and tests use: watching beeps, and finding a module's instance handle.
#pragma once

#include "Win/LastError.hpp"
#include "Win/Locale.hpp"
#include "Win/WindowsTypes.hpp"

#include <cstddef>
#include <functional>

typedef int BOOL;
typedef void* HMODULE;
typedef void* HINSTANCE;

#ifndef FALSE
#define FALSE 0
#endif
#ifndef TRUE
#define TRUE 1
#endif

// Beep kinds of MessageBeep.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;

// Last-error codes of the calls below.
constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
constexpr DWORD ERROR_MOD_NOT_FOUND = 126;

extern "C" {

// Copies the full, resolved path of the module whose instance handle (load address) is
// hModule, or of the main program for a null handle, into lpFilename, and answers its length
// without the NUL. A path longer than nSize - 1 is cut to nSize - 1 characters and still
// NUL-terminated; the answer is then nSize with the last error ERROR_INSUFFICIENT_BUFFER.
// An unknown module answers 0 (ERROR_MOD_NOT_FOUND), leaving an empty text when nSize allows.
DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize);

// Sounds the system beep of the given kind. Nothing is heard or printed here: the beep is
// counted and handed to the installed observer. Always TRUE.
BOOL MessageBeep(UINT uType);

// The message number registered for a name: the same number for the same name (compared
// without regard to ASCII case) for the life of the process, counted from 0xC000. 0, with a
// last error, for a null or empty name or when the range 0xC000 to 0xFFFF is used up.
UINT RegisterWindowMessageA(LPCSTR lpString);

} // extern "C"

namespace Win {

// Told of each beep, with its kind, on the thread that beeped.
using BeepObserver = std::function<void(UINT type)>;

// Installs an observer of beeps and answers the one it replaces; an empty one removes it.
BeepObserver SetBeepObserver(BeepObserver observer);
// Number of beeps sounded since the library loaded or the count was last reset.
std::size_t GetBeepCount();
void ResetBeepCount();

// The instance handle (load address) of the loaded module holding address; null when no
// loaded module holds it.
HMODULE ModuleFromAddress(const void* address);

} // namespace Win
