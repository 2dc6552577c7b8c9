// The last error of each thread, set by the Windows calls that fail.
#include "Win/LastError.hpp"

#include "LocaleLookup.hpp"

namespace {
thread_local DWORD lastError = 0;
} // namespace

extern "C" DWORD GetLastError(void)
{
	return lastError;
}

extern "C" void SetLastError(DWORD dwErrCode)
{
	lastError = dwErrCode;
}

namespace Win::detail {

void SetLastErrorCode(DWORD code)
{
	SetLastError(code);
}

} // namespace Win::detail
