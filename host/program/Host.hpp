// The reference host: a building-modelling host reduced to what an add-on can observe. It
// owns the function table handed to add-ons, the loaded add-ons, the menus, the project and
// its events, the palettes, the report window and the transcript of the session, and it
// offers the actions a person takes (choose a menu item, open, save or close a project, hide
// the palettes, quit). Scripts and the command line drive a Host; tests drive it directly.
//
// Only one Host may exist at a time: the function table's slots dispatch to it.
#pragma once

#include "AddOnList.hpp"
#include "HelpFolder.hpp"
#include "HostFunctionTable.hpp"
#include "MenuBar.hpp"
#include "ModalDialogs.hpp"
#include "ModuleDataService.hpp"
#include "PaletteRegistry.hpp"
#include "ProgressWindow.hpp"
#include "Project.hpp"
#include "ProjectEvents.hpp"
#include "ProjectOperations.hpp"
#include "ReportWindow.hpp"
#include "Transcript.hpp"
#include "Win/Windows.hpp"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace ReferenceHost {

struct HostOptions {
	// Where LoadAddOns looks for *.addon files.
	std::filesystem::path addOnFolder;
	// The folder the environment operation names for the help folder code.
	std::filesystem::path helpFolder;
};

// The default folders of an installed host: "addons" and "help" beside the folder of the
// running program (so <build>/addons for <build>/bin/facetally-host).
HostOptions DefaultHostOptions();

// How a person's action went; problem says what went wrong, for the person.
struct Outcome {
	bool ok = true;
	std::string problem;

	static Outcome Success() { return {}; }
	static Outcome Failure(std::string why) { return {false, std::move(why)}; }
	explicit operator bool() const { return ok; }
};

// The add-on file extension the host loads.
inline constexpr std::string_view AddOnExtension = ".addon";

class Host {
public:
	explicit Host(HostOptions options = DefaultHostOptions());
	// Releases and unloads every add-on still loaded (without the quit event: that is Quit's).
	~Host();
	Host(const Host&) = delete;
	Host& operator=(const Host&) = delete;

	const HostOptions& Options() const { return options; }

	// ---- The host's parts ----------------------------------------------------------------

	HostFunctionTable& Table() { return table; }
	AddOnList& AddOns() { return addOns; }
	MenuBar& Menus() { return menus; }
	ProjectEvents& Events() { return events; }
	PaletteRegistry& Palettes() { return palettes; }
	ReportWindow& Report() { return report; }
	ModuleDataService& ModuleData() { return moduleData; }
	HelpFolder& Help() { return help; }
	ModalDialogs& Dialogs() { return dialogs; }
	ProgressWindow& Progress() { return progress; }
	ProjectOperations& ProjectAnswers() { return projectOperations; }
	Transcript& SessionTranscript() { return transcript; }
	// The open project; null when none is open.
	Project* CurrentProject() { return project.get(); }
	// Warning beeps heard since the host started (each is also in the transcript).
	std::size_t BeepsHeard() const { return beepsHeard; }

	// ---- Add-ons -------------------------------------------------------------------------

	// Every *.addon file of the add-ons folder, in file-name order, through the whole
	// lifecycle. Answers how many are running; what failed is in the transcript.
	std::size_t LoadAddOns();
	// One module through the whole lifecycle: hand over the table, read the export record
	// (the interface version must match), identify, register the menu command, initialise.
	// Null when a step failed; the module is then unloaded again (released first when its
	// initialisation failed, so it can clean up).
	AddOn* LoadAddOn(const std::filesystem::path& file);
	// The lifecycle of LoadAddOn for a module already opened with OpenAddOn (a test sets up
	// its test add-on in between). False when a step failed; the module is then unloaded.
	bool StartAddOn(AddOn& addOn);
	// Only loads the module (dlopen, exports, resources) and lists it, for a caller that
	// drives the lifecycle step by step with AddOn's calls. Null with the reason in error.
	AddOn* OpenAddOn(const std::filesystem::path& file, std::string& error);
	// Hands the table as it is now to an add-on (again, after a seam changed it).
	HostStatus HandOverTable(AddOn& addOn);
	// ReleaseAddOn first when asked and InitializeAddOn was called and no release yet;
	// then the host forgets its menus, handlers, events and palettes, and unloads it.
	void UnloadAddOn(AddOn& addOn, bool release = true);
	void UnloadAllAddOns(bool release = true);

	// ---- A person's actions --------------------------------------------------------------

	// Chooses the menu item with the text a person sees.
	Outcome ChooseMenuItem(std::string_view text);
	// Chooses a menu item; fails when its add-on installed no handler for it or the handler
	// answered a failure.
	Outcome ChooseMenuItem(const MenuItem& item);
	// Events: 32 for the project that was open, then 1.
	Outcome NewProject();
	// Events: 32 for the project that was open, then 4. A file that cannot be read fails
	// with the reason (file and place), and the open project stays open, untouched.
	Outcome OpenProject(const std::filesystem::path& file);
	// The person presses the progress window's stop when the next IFC file opened has n
	// elements read (0 never).
	void StopIfcReadingAt(std::size_t n) { ifcStopAt = n; }
	// Opens a project made in memory (a generator's, a test's) as a file's would be: events 32
	// for the project that was open, then 4.
	Outcome OpenProject(std::unique_ptr<Project> opened);
	// Event 8, then the file is written. Fails without an open project, or for an untitled
	// one (use SaveProjectAs); when the file cannot be written it stays as it was.
	Outcome SaveProject();
	// Event 128, then the file is written and the project carries the new name. An existing
	// file that is not a project is written over only when replace says so; a symbolic link
	// stays, and the file it names is written.
	Outcome SaveProjectAs(const std::filesystem::path& file, bool replace = false);
	// Event 8 (the add-ons store their module data, which the file carries), then writes the
	// project, read from an IFC file, as a lighter IFC file: each library part's body
	// at the level its placements show. The project and its IFC file stay as they are; an
	// existing file that is not an export is written over only when replace says so.
	Outcome ExportLighterIfc(const std::filesystem::path& file, bool replace = false);
	// Event 32. Fails without an open project.
	Outcome CloseProject();
	// A person edits the project: event 16. Fails without an open project.
	Outcome ChangeProject();
	// Event 2, then every add-on is released and unloaded. Nothing is done after a quit.
	void Quit();
	bool HasQuit() const { return quit; }

	// Raises any event code, as the actions above do.
	std::vector<EventDelivery> RaiseProjectEvent(std::int32_t code);
	// The host's palette control messages to every registered palette.
	std::size_t HidePalettes();
	std::size_t ShowPalettes();

private:
	void Forget(const AddOn& addOn);
	// An IFC file through the converter, with its progress and its summary.
	Outcome OpenIfcFile(const std::filesystem::path& file);
	// Runs work (which gets the converter's progress callback) under the progress window
	// titled title; a stop asked for by the person or by Ctrl+C stops the converter.
	bool WithConverterProgress(const std::string& title,
		const std::function<bool(const std::function<bool(std::size_t, std::size_t)>&)>& work);
	// Events 32 for the project that was open, then 4; the notice tells what was opened.
	Outcome Open(std::unique_ptr<Project> opened, const std::string& notice);

	HostOptions options;
	Transcript transcript;
	HostFunctionTable table;
	AddOnList addOns;
	MenuBar menus;
	ProjectEvents events;
	PaletteRegistry palettes;
	ReportWindow report;
	ModuleDataService moduleData;
	HelpFolder help;
	ModalDialogs dialogs;
	ProgressWindow progress;
	ProjectOperations projectOperations;
	std::unique_ptr<Project> project;
	bool quit = false;
	std::size_t beepsHeard = 0;
	std::size_t ifcStopAt = 0;
	Win::BeepObserver previousBeepObserver;
};

} // namespace ReferenceHost
