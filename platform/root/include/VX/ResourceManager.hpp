// The root library's resource manager. A module's resources (string lists, dialogs, icons,
// identity) travel inside its file as one compiled blob in an ELF note; adding the module by
// its instance handle (its load address) finds that note in the loaded image and reads the
// blob in place. Reads name a module by id, or -2 for the active one, which is how a module
// makes sure its own texts are read while the host's resources are also loaded.
//
// Active-module rules: a module that is added becomes the active one; removing the active
// module makes the most recently added remaining module active (none, -1, when no module is
// left); the active module can be set to any added module or to none.
#pragma once

#include "VX/ResourceBlob.hpp"

#include <cstddef>
#include <cstdint>

namespace VX {

// Id of an added resource module: 0 or more; -1 none; -2 "the active one" in reads.
using ResourceModuleId = std::int32_t;
inline constexpr ResourceModuleId NoResourceModule = -1;
inline constexpr ResourceModuleId ActiveResourceModule = -2;

// The only string type: single-byte texts exactly as stored.
inline constexpr std::int32_t ByteStringType = 0;

} // namespace VX

// Adds the resources of the loaded module whose load address is instanceHandle (null: the
// main program) and makes it the active module. Answers its id, or -1 (the active module
// unchanged) when the module is not loaded or carries no well-formed resources.
VX::ResourceModuleId RSAddModule(void* instanceHandle);

// Forgets an added module; false for an id that is not added.
bool RSRemoveModule(VX::ResourceModuleId module);

// The active module's id; -1 when none is active.
VX::ResourceModuleId RSGetActiveModule();

// Makes an added module, or none (-1), the active one; -2 leaves it as it is. False (nothing
// changed) for an id that is not added.
bool RSSetActiveModule(VX::ResourceModuleId module);

// Loads item `item` (from 1) of string list `listId` of `module` (-2: the active one) into
// text, cut to textSize - 1 bytes and always NUL-terminated. False, with an empty text when
// textSize allows, when the module, the list or the item does not exist or the string type
// is not ByteStringType.
bool RSGetIndString(char* text, std::size_t textSize, std::int32_t listId, std::int32_t item,
	VX::ResourceModuleId module, std::int32_t stringType);

// The bytes of resource (type, id) of `module` (-2: the active one), valid while the module
// stays added and loaded; its length goes to size when given. Null (size 0) when missing.
const void* RSLoadResource(VX::ResourceType type, std::int32_t id, VX::ResourceModuleId module, std::uint32_t* size);
