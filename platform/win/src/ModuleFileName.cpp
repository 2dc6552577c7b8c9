// GetModuleFileNameA and the instance handles of loaded modules. A module's path is the one
// the kernel keeps for its first mapping (/proc/self/maps), so it is absolute and resolved
// whatever path the module was loaded by; the loader's own name serves when the kernel's
// record cannot be read.
#include "Win/Windows.hpp"

#include <dlfcn.h>
#include <link.h>

#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>

namespace {

// Where the object's ELF header lies in memory: its instance handle.
std::uintptr_t LoadAddress(const dl_phdr_info* info)
{
	for (ElfW(Half) index = 0; index < info->dlpi_phnum; ++index) {
		const ElfW(Phdr)& segment = info->dlpi_phdr[index];
		if (segment.p_type == PT_LOAD && segment.p_offset == 0)
			return info->dlpi_addr + segment.p_vaddr;
	}
	return info->dlpi_addr;
}

struct ModuleSearch {
	HMODULE module = nullptr;
	bool first = true;
	bool found = false;
	std::uintptr_t loadAddress = 0;
	std::string loaderName;
};

int VisitLoadedObject(dl_phdr_info* info, std::size_t, void* data)
{
	auto* search = static_cast<ModuleSearch*>(data);
	const bool isMainProgram = search->first;
	search->first = false;
	const std::uintptr_t loadAddress = LoadAddress(info);
	if (search->module == nullptr ? !isMainProgram : loadAddress != reinterpret_cast<std::uintptr_t>(search->module))
		return 0;
	search->found = true;
	search->loadAddress = loadAddress;
	search->loaderName = info->dlpi_name != nullptr ? info->dlpi_name : "";
	return 1;
}

// The file mapped at address with offset 0, as the kernel names it.
std::optional<std::string> MappedFileAt(std::uintptr_t address)
{
	std::ifstream maps("/proc/self/maps");
	std::string line;
	while (std::getline(maps, line)) {
		std::istringstream fields(line);
		std::string range, permissions, offset, device, inode;
		fields >> range >> permissions >> offset >> device >> inode;
		if (std::strtoull(range.c_str(), nullptr, 16) != address || std::strtoull(offset.c_str(), nullptr, 16) != 0)
			continue;
		std::string path;
		std::getline(fields >> std::ws, path);
		if (path.empty() || path[0] != '/')
			return std::nullopt;
		return path;
	}
	return std::nullopt;
}

std::optional<std::string> ResolvedPath(const std::string& path)
{
	char resolved[PATH_MAX];
	if (path.empty() || realpath(path.c_str(), resolved) == nullptr)
		return std::nullopt;
	return std::string(resolved);
}

std::optional<std::string> ModulePath(HMODULE module)
{
	ModuleSearch search;
	search.module = module;
	dl_iterate_phdr(VisitLoadedObject, &search);
	if (!search.found)
		return std::nullopt;
	if (std::optional<std::string> mapped = MappedFileAt(search.loadAddress))
		return mapped;
	return ResolvedPath(module == nullptr ? "/proc/self/exe" : search.loaderName);
}

} // namespace

extern "C" DWORD GetModuleFileNameA(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
	if (lpFilename == nullptr || nSize == 0) {
		SetLastError(ERROR_INSUFFICIENT_BUFFER);
		return 0;
	}
	const std::optional<std::string> path = ModulePath(hModule);
	if (!path) {
		lpFilename[0] = '\0';
		SetLastError(ERROR_MOD_NOT_FOUND);
		return 0;
	}
	if (path->size() >= nSize) {
		std::memcpy(lpFilename, path->data(), nSize - 1);
		lpFilename[nSize - 1] = '\0';
		SetLastError(ERROR_INSUFFICIENT_BUFFER);
		return nSize;
	}
	std::memcpy(lpFilename, path->c_str(), path->size() + 1);
	return static_cast<DWORD>(path->size());
}

namespace Win {

HMODULE ModuleFromAddress(const void* address)
{
	Dl_info information {};
	if (address == nullptr || dladdr(address, &information) == 0)
		return nullptr;
	return information.dli_fbase;
}

} // namespace Win
