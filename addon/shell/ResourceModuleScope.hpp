// Every text the user sees comes from the module's own string lists, but the resource
// manager reads from whichever module is active, and the host's or another add-on's may be.
// ResourceModuleScope makes the module's own resources active for its lifetime and puts the
// previous active module back; LoadResourceString reads from the active module, so it is
// called inside such a scope.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class ResourceModuleScope {
public:
	ResourceModuleScope();
	~ResourceModuleScope();
	ResourceModuleScope(const ResourceModuleScope&) = delete;
	ResourceModuleScope& operator=(const ResourceModuleScope&) = delete;

private:
	std::int32_t previousModule;
};

// Loads item `item` (from 1) of string list `stringListId` of the active resource module into
// buffer, cut to bufferSize - 1 characters and NUL-terminated. False, with an empty text
// (when bufferSize allows one), when the list or the item does not exist.
bool LoadResourceString(std::int32_t stringListId, std::int32_t item, char* buffer, std::size_t bufferSize);

template <std::size_t Size>
bool LoadResourceString(std::int32_t stringListId, std::int32_t item, char (&buffer)[Size])
{
	return LoadResourceString(stringListId, item, buffer, Size);
}

// The same read into a string; empty when the list or the item does not exist.
std::string LoadResourceString(std::int32_t stringListId, std::int32_t item);
