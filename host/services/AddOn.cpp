// Loading an add-on module with dlopen and making the single calls of its lifecycle. What the
// module writes into host-owned records is read with bounds: a text without its terminating
// zero is cut at the end of its field.
#include "AddOn.hpp"

#include "VX/ResourceManager.hpp"

#include <dlfcn.h>

#include <cstring>

namespace ReferenceHost {

namespace {

std::string BoundedText(const char* field, std::size_t capacity)
{
	return std::string(field, strnlen(field, capacity));
}

// What the host writes into its own part of the environment record.
constexpr char HostIdentification[] = "facetally-host";

} // namespace

AddOn::AddOn(std::filesystem::path moduleFile, ModuleToken moduleToken, AddOnCallStack& callStack)
	: file(std::move(moduleFile)), token(moduleToken), calls(callStack), name(file.stem().string())
{
}

AddOn::~AddOn()
{
	Unload();
}

bool AddOn::Open(std::string& error)
{
	if (library != nullptr)
		return true;
	dlerror();
	library = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL);
	if (library == nullptr) {
		const char* reason = dlerror();
		error = reason != nullptr ? reason : "the file cannot be loaded";
		return false;
	}
	getExports =
		reinterpret_cast<HostSdk::GetExportedFuncAddrsFunction>(dlsym(library, HostSdk::GetExportedFuncAddrsName));
	setImports =
		reinterpret_cast<HostSdk::SetImportedFuncAddrsFunction>(dlsym(library, HostSdk::SetImportedFuncAddrsName));
	if (getExports == nullptr || setImports == nullptr) {
		error = std::string("the module does not export ") +
			(getExports == nullptr ? HostSdk::GetExportedFuncAddrsName : HostSdk::SetImportedFuncAddrsName);
		Unload();
		return false;
	}
	Dl_info information {};
	if (dladdr(reinterpret_cast<void*>(getExports), &information) != 0)
		instance = information.dli_fbase;
	// Adding a module makes it the active one; the host's reads name it by id instead.
	const VX::ResourceModuleId active = RSGetActiveModule();
	resourceModule = instance != nullptr ? RSAddModule(instance) : VX::NoResourceModule;
	RSSetActiveModule(active);
	return true;
}

void* AddOn::Symbol(const char* symbolName) const
{
	return library != nullptr ? dlsym(library, symbolName) : nullptr;
}

HostStatus AddOn::HandOverTable(const HostSdk::HostFunction* table)
{
	if (setImports == nullptr)
		return HostSdk::StatusMissingEntry;
	const HostStatus status = Call(setImports, table);
	tableHandedOver = true;
	return status;
}

void AddOn::ReadExportRecord()
{
	if (getExports == nullptr)
		return;
	std::memset(&exports, 0xFF, sizeof exports);
	Call(getExports, &exports);
	std::memcpy(exportBytes.data(), &exports, sizeof exports);
	exportsRead = true;
}

std::vector<std::string> AddOn::ReadStringList(std::int32_t listId) const
{
	std::vector<std::string> texts;
	if (resourceModule == VX::NoResourceModule)
		return texts;
	// Items are numbered from 1 and end at the first that does not exist.
	constexpr std::int32_t MostItems = 4096;
	for (std::int32_t item = 1; item <= MostItems; ++item) {
		char text[1024];
		if (!RSGetIndString(text, sizeof text, listId, item, resourceModule, VX::ByteStringType))
			break;
		texts.emplace_back(text);
	}
	return texts;
}

std::span<const std::byte> AddOn::ExportRecordBytes() const
{
	return exportBytes;
}

HostStatus AddOn::Identify()
{
	if (!exportsRead || exports.identifyAddOn == nullptr)
		return HostSdk::StatusMissingEntry;
	environment = {};
	std::memcpy(environment.hostData, HostIdentification, sizeof HostIdentification);
	const HostStatus status = Call(exports.identifyAddOn, &environment);
	// 0 means the module did not identify itself (it answers so before it has the table).
	if (status != 0) {
		identified = true;
		const std::string givenName = BoundedText(environment.addOnName, sizeof environment.addOnName);
		if (!givenName.empty())
			name = givenName;
		description = BoundedText(environment.addOnDescription, sizeof environment.addOnDescription);
	}
	return status;
}

HostStatus AddOn::RegisterMenuCommand()
{
	if (!exportsRead || exports.registerMenuCommand == nullptr)
		return HostSdk::StatusMissingEntry;
	return Call(exports.registerMenuCommand);
}

HostStatus AddOn::Initialize()
{
	return Initialize(token);
}

HostStatus AddOn::Initialize(ModuleToken chosenToken)
{
	if (!exportsRead || exports.initializeAddOn == nullptr)
		return HostSdk::StatusMissingEntry;
	const HostStatus status = Call(exports.initializeAddOn, chosenToken);
	initializeCalled = true;
	initialized = status == 0;
	return status;
}

HostStatus AddOn::Release()
{
	if (!exportsRead || exports.releaseAddOn == nullptr)
		return HostSdk::StatusMissingEntry;
	const HostStatus status = Call(exports.releaseAddOn);
	released = true;
	return status;
}

void AddOn::Unload()
{
	if (library == nullptr)
		return;
	if (resourceModule != VX::NoResourceModule) {
		RSRemoveModule(resourceModule);
		resourceModule = VX::NoResourceModule;
	}
	dlclose(library);
	library = nullptr;
	instance = nullptr;
	getExports = nullptr;
	setImports = nullptr;
	exports = {};
	exportsRead = false;
}

} // namespace ReferenceHost
