// Installing the project operations, and the access they share.
#include "ProjectOperations.hpp"

namespace ReferenceHost {

ProjectAccess::ProjectAccess(AddOnList& addOnList, Transcript& sessionTranscript, CurrentProjectFunction current)
	: addOns(addOnList), transcript(sessionTranscript), currentProject(std::move(current))
{
}

Project* ProjectAccess::ProjectFor(ModuleToken token) const
{
	if (addOns.FromToken(token) == nullptr || !currentProject)
		return nullptr;
	return currentProject();
}

ProjectOperations::ProjectOperations(
	AddOnList& addOns, Transcript& transcript, ProjectAccess::CurrentProjectFunction currentProject)
	: access(addOns, transcript, std::move(currentProject))
{
}

void ProjectOperations::Install(HostFunctionTable& table)
{
	InstallElementOperations(table, access);
	InstallLibraryPartOperations(table, access);
	InstallParameterOperations(table, access, parameterSessions);
	InstallSelectionOperations(table, access);
	InstallViewOperations(table, access);
}

const ParameterSession* ProjectOperations::OpenParameters(ModuleToken token) const
{
	const auto found = parameterSessions.find(token);
	const Project* project = access.ProjectFor(token);
	if (found == parameterSessions.end() || project == nullptr || found->second.projectSerial != project->Serial())
		return nullptr;
	return &found->second;
}

} // namespace ReferenceHost
