// Switching to the module's own resources and reading its string lists.
#include "shell/ResourceModuleScope.hpp"

#include "shell/ModuleState.hpp"

#include "VX/ResourceManager.hpp"

#include <cstring>
#include <vector>

ResourceModuleScope::ResourceModuleScope() : previousModule(RSGetActiveModule())
{
	// A module whose resources are missing makes none active: reading another module's list
	// of the same number would show a stranger's text.
	if (!RSSetActiveModule(Module().resourceModuleId)) {
		RSSetActiveModule(VX::NoResourceModule);
	}
}

ResourceModuleScope::~ResourceModuleScope()
{
	RSSetActiveModule(previousModule);
}

bool LoadResourceString(std::int32_t stringListId, std::int32_t item, char* buffer, std::size_t bufferSize)
{
	if (buffer == nullptr || bufferSize == 0) {
		return false;
	}
	return RSGetIndString(buffer, bufferSize, stringListId, item, VX::ActiveResourceModule, VX::ByteStringType);
}

std::string LoadResourceString(std::int32_t stringListId, std::int32_t item)
{
	// The resource manager cuts a text at the buffer's end; a text that fills the buffer may
	// have been cut, so it is read again with more room.
	std::vector<char> buffer(256);
	for (;;) {
		if (!LoadResourceString(stringListId, item, buffer.data(), buffer.size())) {
			return {};
		}
		const std::size_t length = std::strlen(buffer.data());
		if (length + 1 < buffer.size()) {
			return std::string(buffer.data(), length);
		}
		buffer.assign(buffer.size() * 2, '\0');
	}
}
