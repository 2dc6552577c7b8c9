// The resource manager: finding a module's resource note in its loaded image, the table of
// added modules and the active-module rules.
#include "VX/ResourceManager.hpp"

#include <link.h>

#include <cstring>
#include <limits>
#include <map>
#include <mutex>
#include <optional>

namespace {

struct ResourceState {
	std::mutex lock;
	// Ordered by id, and ids only grow, so the last entry is the most recently added module.
	std::map<VX::ResourceModuleId, VX::ResourceBlob> modules;
	VX::ResourceModuleId nextId = 0;
	VX::ResourceModuleId active = VX::NoResourceModule;
};

ResourceState& State()
{
	// Never destroyed: modules remove their resources from destructors at process exit.
	static ResourceState* state = new ResourceState;
	return *state;
}

std::size_t AlignUp(std::size_t value, std::size_t alignment)
{
	return (value + alignment - 1) / alignment * alignment;
}

// The blob in one PT_NOTE segment, if the segment holds our note.
std::optional<std::span<const std::uint8_t>> FindNoteInSegment(
	const std::uint8_t* notes, std::size_t size, std::size_t alignment)
{
	using namespace VX::ResourceBlobFormat;
	std::size_t position = 0;
	while (size - position >= sizeof(ElfW(Nhdr))) {
		ElfW(Nhdr) header;
		std::memcpy(&header, notes + position, sizeof header);
		const std::size_t nameAt = position + sizeof header;
		const std::size_t descriptorAt = AlignUp(nameAt + header.n_namesz, alignment);
		if (descriptorAt > size || header.n_descsz > size - descriptorAt)
			return std::nullopt;
		if (header.n_type == NoteType && header.n_namesz == sizeof NoteName &&
			std::memcmp(notes + nameAt, NoteName, sizeof NoteName) == 0)
			return std::span<const std::uint8_t>(notes + descriptorAt, header.n_descsz);
		position = AlignUp(descriptorAt + header.n_descsz, alignment);
	}
	return std::nullopt;
}

struct NoteSearch {
	const void* instanceHandle = nullptr;
	bool found = false; // the module is loaded
	bool first = true;
	std::optional<std::span<const std::uint8_t>> blob;
};

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

int VisitLoadedObject(dl_phdr_info* info, std::size_t, void* data)
{
	auto* search = static_cast<NoteSearch*>(data);
	const bool isMainProgram = search->first;
	search->first = false;
	const bool wanted = search->instanceHandle == nullptr
		? isMainProgram
		: LoadAddress(info) == reinterpret_cast<std::uintptr_t>(search->instanceHandle);
	if (!wanted)
		return 0;
	search->found = true;
	for (ElfW(Half) index = 0; index < info->dlpi_phnum && !search->blob; ++index) {
		const ElfW(Phdr)& segment = info->dlpi_phdr[index];
		if (segment.p_type != PT_NOTE)
			continue;
		const auto* notes = reinterpret_cast<const std::uint8_t*>(info->dlpi_addr + segment.p_vaddr);
		search->blob = FindNoteInSegment(notes, segment.p_memsz, segment.p_align > 4 ? segment.p_align : 4);
	}
	return 1;
}

const VX::ResourceBlob* Resolve(ResourceState& state, VX::ResourceModuleId module)
{
	if (module == VX::ActiveResourceModule)
		module = state.active;
	const auto found = state.modules.find(module);
	return found == state.modules.end() ? nullptr : &found->second;
}

} // namespace

VX::ResourceModuleId RSAddModule(void* instanceHandle)
{
	NoteSearch search;
	search.instanceHandle = instanceHandle;
	dl_iterate_phdr(VisitLoadedObject, &search);
	if (!search.blob)
		return VX::NoResourceModule;
	std::optional<VX::ResourceBlob> blob = VX::ResourceBlob::Open(*search.blob);
	if (!blob)
		return VX::NoResourceModule;

	ResourceState& state = State();
	std::lock_guard guard(state.lock);
	if (state.nextId == std::numeric_limits<VX::ResourceModuleId>::max())
		return VX::NoResourceModule;
	const VX::ResourceModuleId id = state.nextId++;
	state.modules.emplace(id, std::move(*blob));
	state.active = id;
	return id;
}

bool RSRemoveModule(VX::ResourceModuleId module)
{
	ResourceState& state = State();
	std::lock_guard guard(state.lock);
	if (state.modules.erase(module) == 0)
		return false;
	if (state.active == module)
		state.active = state.modules.empty() ? VX::NoResourceModule : state.modules.rbegin()->first;
	return true;
}

VX::ResourceModuleId RSGetActiveModule()
{
	ResourceState& state = State();
	std::lock_guard guard(state.lock);
	return state.active;
}

bool RSSetActiveModule(VX::ResourceModuleId module)
{
	ResourceState& state = State();
	std::lock_guard guard(state.lock);
	if (module == VX::ActiveResourceModule)
		return true;
	if (module != VX::NoResourceModule && !state.modules.contains(module))
		return false;
	state.active = module;
	return true;
}

bool RSGetIndString(char* text, std::size_t textSize, std::int32_t listId, std::int32_t item,
	VX::ResourceModuleId module, std::int32_t stringType)
{
	if (text == nullptr || textSize == 0)
		return false;
	text[0] = '\0';
	if (stringType != VX::ByteStringType)
		return false;
	std::uint32_t size = 0;
	const void* list = RSLoadResource(VX::ResourceTypes::StringList, listId, module, &size);
	if (list == nullptr)
		return false;
	const std::optional<std::string_view> found =
		VX::GetStringListItem(std::span(static_cast<const std::uint8_t*>(list), size), item);
	if (!found)
		return false;
	const std::size_t length = found->size() < textSize - 1 ? found->size() : textSize - 1;
	std::memcpy(text, found->data(), length);
	text[length] = '\0';
	return true;
}

const void* RSLoadResource(VX::ResourceType type, std::int32_t id, VX::ResourceModuleId module, std::uint32_t* size)
{
	if (size != nullptr)
		*size = 0;
	ResourceState& state = State();
	std::lock_guard guard(state.lock);
	const VX::ResourceBlob* blob = Resolve(state, module);
	if (blob == nullptr)
		return nullptr;
	const std::optional<std::span<const std::uint8_t>> bytes = blob->Find(type, id);
	if (!bytes)
		return nullptr;
	if (size != nullptr)
		*size = static_cast<std::uint32_t>(bytes->size());
	return bytes->data();
}
