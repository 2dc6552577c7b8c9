// Library parts for add-ons: the search by unique identifier and the read by index. Both
// fill the library-part record and leave the part's file location in it, published in the
// file library's table for the caller to release. A missing part is neither found nor read.
#include "HostRecordTexts.hpp"
#include "ProjectOperations.hpp"

#include "IO/LocationTable.hpp"

namespace ReferenceHost {

namespace {

using namespace OperationNames;

HostStatus FillPartRecord(const LibraryPart& part, const AnswerDamage& damage, HostSdk::LibPartRecord& record)
{
	const IO::Location location(part.FileText());
	if (location.GetStatus() != IO::Status::Ok)
		return StatusRefused;
	const IO::LocationId id = IO::PublishLocation(location);
	if (id == IO::NoLocation)
		return StatusRefused;
	record.typeId = part.typeId;
	record.index = part.index;
	WriteTextField(record.name, sizeof record.name, part.name, damage.textsUnterminated);
	record.location = id;
	WriteTextField(record.uniqueId, sizeof record.uniqueId, part.uniqueId, damage.textsUnterminated);
	return 0;
}

HostStatus SearchPart(ProjectAccess& access, ModuleToken token, HostSdk::LibPartRecord* record, bool warnings)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (record == nullptr)
		return StatusBadParameter;
	const std::string uniqueId = ReadTextField(record->uniqueId, sizeof record->uniqueId);
	const LibraryPart* part = project->FindLibraryPartByUniqueId(uniqueId);
	if (part == nullptr || part->missing) {
		if (warnings)
			access.SessionTranscript().Add(
				TranscriptKind::Message, "The library part " + uniqueId + " is not in the loaded libraries");
		return StatusBadIndex;
	}
	return FillPartRecord(*part, project->Damage(), *record);
}

HostStatus ReadPart(ProjectAccess& access, ModuleToken token, HostSdk::LibPartRecord* record)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (record == nullptr)
		return StatusBadParameter;
	const LibraryPart* part = project->FindLibraryPart(record->index);
	if (part == nullptr || part->missing)
		return StatusBadIndex;
	return FillPartRecord(*part, project->Damage(), *record);
}

} // namespace

void InstallLibraryPartOperations(HostFunctionTable& table, ProjectAccess& access)
{
	table.Implement<Entry::LibPartSearch>([&access](ModuleToken token, HostSdk::LibPartRecord* record, bool warnings) {
		return SearchPart(access, token, record, warnings);
	});
	table.Implement<Entry::LibPartRead>(
		[&access](ModuleToken token, HostSdk::LibPartRecord* record) { return ReadPart(access, token, record); });
}

} // namespace ReferenceHost
