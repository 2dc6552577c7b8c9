// The host's add-on lifecycle and the actions of a person, with the project events each
// action raises (the list is in docs/host.md).
#include "Host.hpp"

#include "FileChecks.hpp"
#include "Suggestion.hpp"

#include "HostText.hpp"
#include "IfcExportFile.hpp"
#include "IfcProjectFile.hpp"
#include "ProjectFile.hpp"
#include "StatusText.hpp"

#include <algorithm>
#include <atomic>
#include <climits>
#include <csignal>
#include <system_error>

namespace ReferenceHost {

namespace Events = HostSdk::ProjectEvents;

namespace {

std::filesystem::path RunningProgramFolder()
{
	std::error_code error;
	const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
	return error ? std::filesystem::current_path() : program.parent_path();
}

char HexDigit(unsigned value)
{
	return "0123456789ABCDEF"[value & 0xF];
}

std::string VersionText(std::uint32_t version)
{
	std::string text = "0x";
	for (int shift = 28; shift >= 0; shift -= 4)
		text += HexDigit(version >> shift);
	return text;
}

std::string ProjectSummary(const Project& opened)
{
	const Stories& stories = opened.StoryList();
	return Counted(opened.TotalElementCount(), "element") + ", " +
		Counted(opened.LibraryParts().size(), "library part") + ", " +
		Counted(static_cast<std::uint64_t>(stories.last - stories.first + 1), "story", "stories");
}

// Why a file the host is to write must not be written, empty when it may be: a name with a
// zero character, a missing folder, something other than a regular file, or another kind of
// file (the person's work too, replaced only when asked for). A symbolic link is followed.
std::string WriteOverProblem(const std::filesystem::path& file, const std::string& kindOfFile, bool replace,
	bool (*isOurs)(const std::filesystem::path&), const std::string& notOurs)
{
	const std::string cannot = "Cannot write the " + kindOfFile + " " + file.string();
	if (HoldsZeroCharacter(file))
		return cannot + ": the name holds a zero character";
	const std::filesystem::path target = FileBehindLinks(file);
	std::error_code error;
	const std::filesystem::path folder = target.parent_path().empty() ? "." : target.parent_path();
	if (!std::filesystem::is_directory(folder, error))
		return cannot + ": the folder " + folder.string() + " does not exist";
	const std::filesystem::file_type kind = std::filesystem::status(target, error).type();
	if (kind != std::filesystem::file_type::not_found && kind != std::filesystem::file_type::regular)
		return cannot + ": it is not a regular file";
	if (kind == std::filesystem::file_type::regular && !replace && !isOurs(target))
		return "Will not write over " + file.string() + ": " + notOurs;
	return {};
}

} // namespace

HostOptions DefaultHostOptions()
{
	const std::filesystem::path prefix = RunningProgramFolder().parent_path();
	return {prefix / "addons", prefix / "help"};
}

Host::Host(HostOptions hostOptions)
	: options(std::move(hostOptions)),
	  menus(addOns, transcript, [](const AddOn& addOn, std::int32_t listId) { return addOn.ReadStringList(listId); }),
	  events(addOns, transcript), palettes(addOns, transcript), report(addOns, transcript),
	  moduleData(addOns, transcript, [this] { return project.get(); }), help(addOns, options.helpFolder),
	  dialogs(transcript), progress(addOns, transcript),
	  projectOperations(addOns, transcript, [this] { return project.get(); })
{
	menus.Install(table);
	events.Install(table);
	palettes.Install(table);
	report.Install(table);
	moduleData.Install(table);
	help.Install(table);
	progress.Install(table);
	projectOperations.Install(table);
	previousBeepObserver = Win::SetBeepObserver([this](UINT type) {
		++beepsHeard;
		transcript.Add(TranscriptKind::Sound, type == MB_ICONEXCLAMATION ? "warning beep" : "beep");
	});
}

Host::~Host()
{
	UnloadAllAddOns(true);
	Win::SetBeepObserver(std::move(previousBeepObserver));
}

// ---- Add-ons ----------------------------------------------------------------------------

std::size_t Host::LoadAddOns()
{
	std::error_code error;
	if (!std::filesystem::is_directory(options.addOnFolder, error)) {
		transcript.Add(TranscriptKind::Error, "The add-ons folder " + options.addOnFolder.string() + " does not exist");
		return 0;
	}
	std::vector<std::filesystem::path> files;
	for (const auto& entry : std::filesystem::directory_iterator(options.addOnFolder, error))
		if (entry.path().extension() == AddOnExtension && !entry.is_directory(error))
			files.push_back(entry.path());
	std::sort(files.begin(), files.end());
	std::size_t running = 0;
	for (const std::filesystem::path& file : files)
		if (LoadAddOn(file) != nullptr)
			++running;
	if (files.empty())
		transcript.Add(TranscriptKind::Notice, "No add-ons in " + options.addOnFolder.string());
	return running;
}

AddOn* Host::OpenAddOn(const std::filesystem::path& file, std::string& error)
{
	AddOn& addOn = addOns.Add(file);
	if (!addOn.Open(error))
		return nullptr;
	return &addOn;
}

HostStatus Host::HandOverTable(AddOn& addOn)
{
	return addOn.HandOverTable(table.Slots());
}

AddOn* Host::LoadAddOn(const std::filesystem::path& file)
{
	std::string error;
	AddOn* addOn = OpenAddOn(file, error);
	if (addOn == nullptr) {
		transcript.Add(TranscriptKind::Error, "Cannot load the add-on " + file.filename().string() + ": " + error);
		return nullptr;
	}
	return StartAddOn(*addOn) ? addOn : nullptr;
}

bool Host::StartAddOn(AddOn& addOn)
{
	const std::string fileName = addOn.File().filename().string();
	const auto fail = [&](const std::string& why, bool release) {
		const std::string who = addOn.Identified() ? Quoted(addOn.Name()) + " (" + fileName + ")" : fileName;
		transcript.Add(TranscriptKind::Error, "The add-on " + who + " " + why);
		UnloadAddOn(addOn, release);
		return false;
	};
	if (!addOn.IsLoaded())
		return fail("is not loaded", false);

	const HostStatus tableStatus = HandOverTable(addOn);
	transcript.Add(
		TranscriptKind::Detail, fileName + ": function table handed over, answered " + StatusText(tableStatus));
	if (tableStatus != 0)
		return fail("refused the function table (status " + StatusText(tableStatus) + ")", false);

	addOn.ReadExportRecord();
	if (addOn.Exports().version != HostSdk::InterfaceVersion)
		return fail("was made for interface version " + VersionText(addOn.Exports().version) + ", this host offers " +
				VersionText(HostSdk::InterfaceVersion),
			false);

	const HostStatus identity = addOn.Identify();
	transcript.Add(TranscriptKind::Detail,
		fileName + ": identified as " + Quoted(addOn.Name()) + ", answered " + StatusText(identity));
	if (!addOn.Identified())
		return fail("did not identify itself", false);

	const HostStatus menuStatus = addOn.RegisterMenuCommand();
	transcript.Add(TranscriptKind::Detail, addOn.Name() + ": menu registration answered " + StatusText(menuStatus));
	// An add-on without its menu can still serve through events and palettes.
	if (menuStatus != 0)
		transcript.Add(TranscriptKind::Error,
			"The add-on " + addOn.Name() + " could not register its menu command (status " + StatusText(menuStatus) +
				")");

	const HostStatus initialisation = addOn.Initialize();
	transcript.Add(TranscriptKind::Detail,
		addOn.Name() + ": initialisation with token " + StatusText(static_cast<HostStatus>(addOn.Token())) +
			" answered " + StatusText(initialisation));
	if (initialisation != 0)
		return fail("failed to initialise (status " + StatusText(initialisation) + ")", true);

	transcript.Add(TranscriptKind::Notice,
		"Add-on " + Quoted(addOn.Name()) + " loaded" + (addOn.Description().empty() ? "" : ": " + addOn.Description()));
	return true;
}

void Host::UnloadAddOn(AddOn& addOn, bool release)
{
	if (!addOn.IsLoaded())
		return;
	if (release && addOn.InitializeCalled() && !addOn.Released()) {
		const HostStatus status = addOn.Release();
		transcript.Add(TranscriptKind::Detail, addOn.Name() + ": release answered " + StatusText(status));
	}
	Forget(addOn);
	addOn.Unload();
	transcript.Add(TranscriptKind::Detail, addOn.Name() + " unloaded");
}

void Host::UnloadAllAddOns(bool release)
{
	// Last loaded first, as a stack of libraries is taken down.
	std::vector<AddOn*> loaded = addOns.Loaded();
	for (auto addOn = loaded.rbegin(); addOn != loaded.rend(); ++addOn)
		UnloadAddOn(**addOn, release);
}

void Host::Forget(const AddOn& addOn)
{
	menus.Forget(addOn);
	events.Forget(addOn);
	palettes.Forget(addOn);
	moduleData.Forget(addOn);
}

// ---- A person's actions -------------------------------------------------------------------

Outcome Host::ChooseMenuItem(std::string_view text)
{
	const MenuItem* item = menus.Find(text);
	if (item == nullptr) {
		std::vector<std::string> texts;
		for (const MenuItem& known : menus.Items())
			texts.push_back(known.text);
		return Outcome::Failure("There is no menu item " + Quoted(text) + DidYouMean(text, texts));
	}
	return ChooseMenuItem(*item);
}

Outcome Host::ChooseMenuItem(const MenuItem& item)
{
	const std::string text = item.text;
	const MenuChoice choice = menus.Choose(item);
	if (!choice.dispatched)
		return Outcome::Failure(
			"The menu item " + Quoted(text) + " does nothing: its add-on installed no handler for it");
	if (choice.status != 0)
		return Outcome::Failure(
			"The menu command " + Quoted(text) + " failed (status " + StatusText(choice.status) + ")");
	return Outcome::Success();
}

Outcome Host::NewProject()
{
	if (project != nullptr)
		RaiseProjectEvent(Events::Close);
	project = std::make_unique<Project>();
	transcript.Add(TranscriptKind::Notice, "New project " + Quoted(project->Name()));
	RaiseProjectEvent(Events::New);
	return Outcome::Success();
}

Outcome Host::OpenProject(const std::filesystem::path& file)
{
	if (file.empty())
		return Outcome::Failure("No project file was named");
	if (IsIfcFile(file))
		return OpenIfcFile(file);
	std::string problem;
	std::unique_ptr<Project> opened = ReadProjectFile(file, problem);
	if (opened == nullptr)
		return Outcome::Failure(problem);
	return OpenProject(std::move(opened));
}

Outcome Host::OpenProject(std::unique_ptr<Project> opened)
{
	if (opened == nullptr)
		return Outcome::Failure("No project was given");
	const std::string notice = "Project " + Quoted(opened->Name()) + " opened: " + ProjectSummary(*opened);
	return Open(std::move(opened), notice);
}

Outcome Host::Open(std::unique_ptr<Project> opened, const std::string& notice)
{
	if (project != nullptr)
		RaiseProjectEvent(Events::Close);
	project = std::move(opened);
	transcript.Add(TranscriptKind::Notice, notice);
	RaiseProjectEvent(Events::Open);
	return Outcome::Success();
}

bool Host::WithConverterProgress(const std::string& title,
	const std::function<bool(const std::function<bool(std::size_t, std::size_t)>&)>& work)
{
	// Ctrl+C while the converter runs stops it, not the host: the open project stays.
	static std::atomic<bool> interrupted;
	interrupted = false;
	const auto previousInterrupt = std::signal(SIGINT, [](int) { interrupted = true; });
	progress.OpenForHost(title);
	bool ranged = false;
	const auto reporting = [&](std::size_t done, std::size_t total) {
		if (!ranged && total > 0) {
			progress.RangeForHost("Elements read:", static_cast<std::int32_t>(std::min<std::size_t>(total, INT32_MAX)));
			ranged = true;
		}
		if ((ifcStopAt != 0 && done >= ifcStopAt) || interrupted)
			progress.StopAtCancelQuestion(1);
		return !progress.StepForHost(static_cast<std::int32_t>(std::min<std::size_t>(done, INT32_MAX)));
	};
	const bool done = work(reporting);
	progress.CloseForHost(!done);
	std::signal(SIGINT, previousInterrupt);
	ifcStopAt = 0;
	return done;
}

Outcome Host::OpenIfcFile(const std::filesystem::path& file)
{
	const std::string name = Quoted(file.filename().string());
	IfcReadSummary read;
	std::string problem;
	std::unique_ptr<Project> opened;
	WithConverterProgress("Reading " + name + "...", [&](const IfcReadProgress& reading) {
		opened = ReadIfcProjectFile(RunningProgramFolder() / IfcReaderProgramName, file, reading, read, problem);
		return opened != nullptr;
	});
	if (opened == nullptr) {
		if (problem == "stopped")
			return Outcome::Failure("Reading " + name + " was stopped; the open project stays as it was");
		return Outcome::Failure(problem);
	}
	const Stories& stories = opened->StoryList();
	std::string notice = "Project " + name + " opened (" + read.schema +
		"): " + Counted(opened->TotalElementCount(), "element") + " on " +
		Counted(static_cast<std::uint64_t>(stories.last - stories.first + 1), "story", "stories") + ", " +
		Counted(opened->LibraryParts().size(), "library part") + ", " +
		Counted(static_cast<std::uint64_t>(opened->TotalPolygons()), "polygon");
	if (read.withoutGeometry > 0)
		notice += ", " + Counted(static_cast<std::uint64_t>(read.withoutGeometry), "element") +
			" without geometry the reader can convert";
	if (read.skippedEntities > 0)
		notice += ", " + Counted(static_cast<std::uint64_t>(read.skippedEntities), "entity", "entities") +
			" of classes the reader does not know skipped";
	return Open(std::move(opened), notice);
}

Outcome Host::SaveProject()
{
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	if (!project->HasFile())
		return Outcome::Failure("The project " + Quoted(project->Name()) + " has no file yet: save it under a name");
	if (!project->IfcSchema().empty())
		return Outcome::Failure("The project was read from the IFC file " + Quoted(project->Name()) +
			", which is never written over: save it as a project file (save-as NAME.json)");
	RaiseProjectEvent(Events::Save);
	std::string problem;
	if (!WriteProjectFile(*project, project->File(), problem))
		return Outcome::Failure(problem);
	project->MarkSaved();
	transcript.Add(TranscriptKind::Notice, "Project " + Quoted(project->Name()) + " saved");
	return Outcome::Success();
}

Outcome Host::SaveProjectAs(const std::filesystem::path& file, bool replace)
{
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	if (file.empty())
		return Outcome::Failure("No project file was named");
	if (IsIfcFile(file))
		return Outcome::Failure("Projects are saved as project files (.json); IFC files are only read: " +
			Quoted(file.filename().string()));
	if (const std::string problem = WriteOverProblem(file, "project file", replace, IsProjectFile,
			"it is not a project file (saving over it must be asked for: save-as --replace)");
		!problem.empty())
		return Outcome::Failure(problem);
	RaiseProjectEvent(Events::SaveAs);
	std::string problem;
	if (!WriteProjectFile(*project, file, problem))
		return Outcome::Failure(problem);
	project->SetFile(file);
	project->SetIfcSchema({});
	project->MarkSaved();
	transcript.Add(TranscriptKind::Notice, "Project saved as " + Quoted(project->Name()));
	return Outcome::Success();
}

Outcome Host::ExportLighterIfc(const std::filesystem::path& file, bool replace)
{
	if (project == nullptr)
		return Outcome::Failure("No project is open: a project read from an IFC file can be exported as a lighter IFC file");
	if (project->IfcSchema().empty())
		return Outcome::Failure("The project " + Quoted(project->Name()) +
			" was not read from an IFC file: only a project read from IFC can be exported as a lighter IFC file");
	if (file.empty())
		return Outcome::Failure("No IFC file was named");
	// Written as plain text, never zipped: the name ends in .ifc (any case).
	if (!IsIfcFile(file.string() + "zip"))
		return Outcome::Failure("A lighter IFC file is written as .ifc: " + Quoted(file.filename().string()));
	std::error_code error;
	if (!HoldsZeroCharacter(file) && std::filesystem::equivalent(FileBehindLinks(file), project->File(), error))
		return Outcome::Failure("Will not write over " + Quoted(file.filename().string()) +
			": it is the IFC file the project was read from; export under another name");
	if (const std::string problem = WriteOverProblem(file, "IFC file", replace, IsLighterIfcFile,
			"it is not a lighter IFC file exported before (writing over it must be asked for: export-ifc --replace)");
		!problem.empty())
		return Outcome::Failure(problem);

	// The add-ons store their module data at a save; an export carries them, so it asks alike.
	RaiseProjectEvent(Events::Save);
	const std::string name = Quoted(file.filename().string());
	IfcExportSummary summary;
	std::string problem;
	const bool exported = WithConverterProgress("Exporting " + name + "...", [&](const IfcReadProgress& reading) {
		return ExportLighterIfcFile(RunningProgramFolder() / IfcReaderProgramName, *project, project->File(), file,
			reading, summary, problem);
	});
	if (!exported) {
		if (problem == "stopped")
			return Outcome::Failure("Exporting " + name + " was stopped; nothing was written");
		return Outcome::Failure(problem);
	}
	std::string notice = "Exported " + name + " (" + project->IfcSchema() + "): " +
		std::to_string(summary.simple) + (summary.simple == 1 ? " library part" : " library parts") +
		" as a box (\"Simple\"), " +
		std::to_string(summary.off) + " without a body (\"Off\"), " + Counted(summary.bytes, "byte");
	if (summary.mixed > 0)
		notice += "; " + Counted(static_cast<std::uint64_t>(summary.mixed), "part") +
			" with placements at different levels took the level most of them show";
	transcript.Add(TranscriptKind::Notice, notice);
	return Outcome::Success();
}

Outcome Host::CloseProject()
{
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	RaiseProjectEvent(Events::Close);
	transcript.Add(TranscriptKind::Notice, "Project " + Quoted(project->Name()) + " closed");
	project.reset();
	return Outcome::Success();
}

Outcome Host::ChangeProject()
{
	if (project == nullptr)
		return Outcome::Failure("No project is open");
	project->MarkModified();
	RaiseProjectEvent(Events::Changed);
	return Outcome::Success();
}

void Host::Quit()
{
	if (quit)
		return;
	RaiseProjectEvent(Events::Quit);
	UnloadAllAddOns(true);
	quit = true;
	transcript.Add(TranscriptKind::Notice, "Quit");
}

std::vector<EventDelivery> Host::RaiseProjectEvent(std::int32_t code)
{
	return events.Raise(code);
}

std::size_t Host::HidePalettes()
{
	return palettes.SendToAll(HostSdk::PaletteMessageHide);
}

std::size_t Host::ShowPalettes()
{
	return palettes.SendToAll(HostSdk::PaletteMessageShow);
}

} // namespace ReferenceHost
