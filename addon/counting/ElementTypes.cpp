// Element type names, read from the module's own string list.
#include "counting/ElementTypes.hpp"

#include "shell/ResourceModuleScope.hpp"

#include <cstring>

namespace {

constexpr std::int32_t TypeNameStringList = 151;

} // namespace

const char* ElementTypeName(std::int32_t type)
{
	// One buffer for every call, as callers expect of this name.
	static char name[256];
	if (type < 0 || type >= ElementTypes::NamedCount) {
		std::memcpy(name, "???", sizeof("???"));
		return name;
	}
	const ResourceModuleScope scope;
	LoadResourceString(TypeNameStringList, type + 1, name);
	return name;
}
