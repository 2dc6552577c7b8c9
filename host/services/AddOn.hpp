// One add-on module as the host holds it: the loaded shared library, its two exported
// functions, the export record it filled, what it said about itself, and its place in the
// lifecycle. Each lifecycle step is one call into the module and can be made on its own, in
// any order, so tests can drive the raw lifecycle (an entry point before the table is set,
// an unload without release); Host::LoadAddOn runs the steps in the host's order.
//
// Every call into the module is made inside an AddOnCallStack scope, so the host knows which
// add-on is running when a call comes back without a token (the menu registration).
#pragma once

#include "HostSdk/HostFunctions.hpp"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace ReferenceHost {

using HostSdk::HostStatus;
using HostSdk::ModuleToken;

class AddOn;

// The add-ons the host is calling into right now, innermost last (calls nest: an add-on's
// menu handler may make the host call another of its callbacks).
class AddOnCallStack {
public:
	class Scope {
	public:
		Scope(AddOnCallStack& stack, AddOn& addOn) : calls(stack) { calls.stack.push_back(&addOn); }
		~Scope() { calls.stack.pop_back(); }
		Scope(const Scope&) = delete;
		Scope& operator=(const Scope&) = delete;

	private:
		AddOnCallStack& calls;
	};

	// The add-on of the innermost call, null outside any call.
	AddOn* Current() const { return stack.empty() ? nullptr : stack.back(); }
	std::size_t Depth() const { return stack.size(); }

private:
	std::vector<AddOn*> stack;
};

class AddOn {
public:
	// Nothing is loaded yet; the token is what InitializeAddOn will be handed.
	AddOn(std::filesystem::path file, ModuleToken token, AddOnCallStack& calls);
	// Unloads a module still loaded, without ReleaseAddOn (the host releases first on its
	// own orderly paths).
	~AddOn();
	AddOn(const AddOn&) = delete;
	AddOn& operator=(const AddOn&) = delete;

	// dlopen, look up the two exports and open the module's resources. False with a message
	// when the file cannot be loaded or lacks an export (the library is then closed again).
	bool Open(std::string& error);
	bool IsLoaded() const { return library != nullptr; }

	const std::filesystem::path& File() const { return file; }
	ModuleToken Token() const { return token; }
	// The module's load address: what the platform calls the module's instance handle.
	void* InstanceHandle() const { return instance; }
	// The host's own opening of the module's resources (the menu texts are read from it);
	// -1 when the module carries none.
	std::int32_t ResourceModule() const { return resourceModule; }
	// Reads a string list of the module's resources, item 1 first; empty when it is missing.
	std::vector<std::string> ReadStringList(std::int32_t listId) const;
	// Any other symbol of the module (test add-ons export a control block); null when absent.
	void* Symbol(const char* name) const;

	// ---- The lifecycle, one call into the module each ----------------------------------

	// SetImportedFuncAddrs with the slots as they are now.
	HostStatus HandOverTable(const HostSdk::HostFunction* table);
	// GetExportedFuncAddrs into a record first filled with 0xFF bytes, so what the module
	// left uncleared shows.
	void ReadExportRecord();
	bool ExportRecordRead() const { return exportsRead; }
	const HostSdk::ExportRecord& Exports() const { return exports; }
	std::span<const std::byte> ExportRecordBytes() const;

	// The four entry points. One the module did not provide (or whose export record has not
	// been read) is not called and answers StatusMissingEntry.
	HostStatus Identify();
	HostStatus RegisterMenuCommand();
	HostStatus Initialize();
	HostStatus Initialize(ModuleToken chosenToken);
	HostStatus Release();

	// Closes the module's resources, then dlclose: whatever the module's unloading writes
	// happens now.
	void Unload();

	// ---- What the host knows of it -------------------------------------------------------

	// The name and description it gave in IdentifyAddOn; the name is the file's stem until then.
	const std::string& Name() const { return name; }
	const std::string& Description() const { return description; }
	bool TableHandedOver() const { return tableHandedOver; }
	bool Identified() const { return identified; }
	// InitializeAddOn was called / answered 0.
	bool InitializeCalled() const { return initializeCalled; }
	bool Initialized() const { return initialized; }
	bool Released() const { return released; }
	// The environment record IdentifyAddOn was handed, as the module left it.
	const HostSdk::EnvironmentRecord& Environment() const { return environment; }

	// Calls one of the module's callbacks inside a call scope.
	template <typename Function, typename... Arguments>
	auto Call(Function function, Arguments... arguments)
	{
		AddOnCallStack::Scope scope(calls, *this);
		return function(arguments...);
	}

private:
	std::filesystem::path file;
	ModuleToken token;
	AddOnCallStack& calls;
	void* library = nullptr;
	void* instance = nullptr;
	std::int32_t resourceModule = -1;
	HostSdk::GetExportedFuncAddrsFunction getExports = nullptr;
	HostSdk::SetImportedFuncAddrsFunction setImports = nullptr;
	HostSdk::ExportRecord exports {};
	std::array<std::byte, sizeof(HostSdk::ExportRecord)> exportBytes {};
	HostSdk::EnvironmentRecord environment {};
	std::string name;
	std::string description;
	bool exportsRead = false;
	bool tableHandedOver = false;
	bool identified = false;
	bool initializeCalled = false;
	bool initialized = false;
	bool released = false;
};

} // namespace ReferenceHost
