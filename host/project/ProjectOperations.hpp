// The host operations that answer add-ons from the open project: elements and their 3D
// models, library parts, parameters and element changes, the selection, stories, windows and
// the data record. Each group lives in a file of its own and is installed into the function
// table here. Every operation refuses (StatusRefused) a token of no loaded add-on and a call
// while no project is open; records and pointers are checked before anything is written; a
// failed call leaves nothing allocated. Whatever handle or location an answer leaves in a
// record is the caller's to release.
#pragma once

#include "AddOnList.hpp"
#include "ElementTypeTable.hpp"
#include "HostFunctionTable.hpp"
#include "Project.hpp"
#include "Transcript.hpp"

#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace ReferenceHost {

// The names the operation files answer with; each brings them in with a using-directive.
namespace OperationNames {
namespace Entry = HostSdk::Entry;
namespace Selectors = HostSdk::Selectors;
using HostSdk::StatusBadIndex;
using HostSdk::StatusBadParameter;
using HostSdk::StatusRefused;
} // namespace OperationNames

// What every project operation needs: who calls, and the open project.
class ProjectAccess {
public:
	using CurrentProjectFunction = std::function<Project*()>;

	ProjectAccess(AddOnList& addOns, Transcript& transcript, CurrentProjectFunction currentProject);

	// The open project, when the token is a loaded add-on's; null otherwise.
	Project* ProjectFor(ModuleToken token) const;
	// The loaded add-on of the token; null for any other token.
	AddOn* Caller(ModuleToken token) const { return addOns.FromToken(token); }
	Transcript& SessionTranscript() { return transcript; }

	// An element record was handed out; each element is kept once, however often it is read.
	void NoteElementRead(const ElementId& id) { elementsRead.insert(id); }
	std::size_t ElementsRead() const { return elementsRead.size(); }
	void ForgetElementsRead() { elementsRead.clear(); }

	// The elements whose 3D models the last count read. A count counts the types it takes
	// first and reads each model once: a type counted after models were read, or a model read
	// again, begins a new count.
	void NoteTypeCounted() { countBegun = countBegun || !modelsRead.empty(); }
	void NoteModelRead(const ElementId& id)
	{
		if (countBegun || modelsRead.contains(id))
			modelsRead.clear();
		countBegun = false;
		modelsRead.insert(id);
	}
	const std::set<ElementId>& ModelsOfLastCount() const { return modelsRead; }

private:
	AddOnList& addOns;
	Transcript& transcript;
	CurrentProjectFunction currentProject;
	std::set<ElementId> elementsRead;
	std::set<ElementId> modelsRead;
	bool countBegun = false;
};

// A parameter list an add-on opened: a working copy of a part's or an element's parameters
// that parameter changes edit; an element takes them over only through the element change.
struct ParameterSession {
	std::uint64_t projectSerial = 0; // the session ends with its project
	std::string owner;               // "library part 3" or "Door:2", for messages
	std::vector<Parameter> parameters;
};

class ProjectOperations {
public:
	ProjectOperations(AddOnList& addOns, Transcript& transcript, ProjectAccess::CurrentProjectFunction currentProject);

	// Offers entries 111, 112, 140, 142, 143, 144, 152, 158, 170, 190 and 211, and the
	// selectors 'GDAT', 'CDAT', 'GWIN' (70), 'GSTO', 'CSTO' (71), 'NTOE', 'OPAR', 'GPAR',
	// 'CHGP', 'CPAR', 'GPVL' (73) and 'CHWD' (74).
	void Install(HostFunctionTable& table);

	// The parameter list the add-on has open on the open project; null when none.
	const ParameterSession* OpenParameters(ModuleToken token) const;

	// The distinct elements whose records add-ons were given since the last forgetting.
	std::size_t ElementsRead() const { return access.ElementsRead(); }
	// The elements whose 3D models the last count of an add-on read.
	const std::set<ElementId>& ModelsOfLastCount() const { return access.ModelsOfLastCount(); }
	void ForgetElementsRead() { access.ForgetElementsRead(); }

private:
	ProjectAccess access;
	std::map<ModuleToken, ParameterSession> parameterSessions;
};

void InstallElementOperations(HostFunctionTable& table, ProjectAccess& access);
void InstallLibraryPartOperations(HostFunctionTable& table, ProjectAccess& access);
void InstallParameterOperations(
	HostFunctionTable& table, ProjectAccess& access, std::map<ModuleToken, ParameterSession>& sessions);
void InstallSelectionOperations(HostFunctionTable& table, ProjectAccess& access);
void InstallViewOperations(HostFunctionTable& table, ProjectAccess& access);

} // namespace ReferenceHost
