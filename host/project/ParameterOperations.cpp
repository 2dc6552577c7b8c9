// Library-part parameters for add-ons, and the element change that takes them over. An add-on
// opens the parameters of a part or of a placed element ('OPAR'), gets them as a handle of
// records ('GPAR'), may change values of its working copy ('CHGP'), asks for a parameter's
// value list ('GPVL') and closes them ('CPAR'). The element itself changes only when the
// add-on hands a parameter list to the element change (entry 152), as on the platform.
#include "HostRecordTexts.hpp"
#include "HostText.hpp"
#include "ParameterRecords.hpp"
#include "ProjectOperations.hpp"

#include <cmath>
#include <cstring>
#include <limits>

namespace ReferenceHost {

namespace {

using namespace OperationNames;

using Sessions = std::map<ModuleToken, ParameterSession>;

// The session the add-on has open on the current project; null when none (a session of a
// project that was closed since is dropped).
ParameterSession* OpenSession(Sessions& sessions, ModuleToken token, const Project& project)
{
	const auto found = sessions.find(token);
	if (found == sessions.end())
		return nullptr;
	if (found->second.projectSerial != project.Serial()) {
		sessions.erase(found);
		return nullptr;
	}
	return &found->second;
}

HostStatus OpenParameters(ProjectAccess& access, Sessions& sessions, ModuleToken token, void* first)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	const auto* owner = static_cast<const HostSdk::ParameterOwnerRecord*>(first);
	if (owner == nullptr)
		return StatusBadParameter;
	ParameterSession session;
	session.projectSerial = project->Serial();
	if (owner->libPartIndex != 0) {
		const LibraryPart* part = project->FindLibraryPart(owner->libPartIndex);
		if (part == nullptr || part->missing)
			return StatusBadIndex;
		session.owner = "library part " + std::to_string(part->index);
		session.parameters = part->parameters;
	} else {
		const Element* element = project->FindElement(owner->elementType, owner->elementIndex);
		if (element == nullptr || element->deleted)
			return StatusBadIndex;
		if (element->type < HostSdk::ElementTypes::Window || element->type > HostSdk::ElementTypes::Lamp)
			return StatusBadParameter;
		session.owner = ElementIdText(element->Id());
		session.parameters = element->parameters;
	}
	sessions[token] = std::move(session);
	return 0;
}

HostStatus GetParameters(ProjectAccess& access, Sessions& sessions, ModuleToken token, void* first)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	auto* list = static_cast<HostSdk::ParameterListRecord*>(first);
	if (list == nullptr)
		return StatusBadParameter;
	const ParameterSession* session = OpenSession(sessions, token, *project);
	if (session == nullptr)
		return StatusRefused;
	const VX::HandleId handle = MakeParameterListHandle(session->parameters, project->Damage());
	if (handle == VX::NoHandle)
		return StatusRefused;
	list->parameters = handle;
	return 0;
}

// The longest value text a parameter record carries.
constexpr std::size_t LongestValueText = sizeof(HostSdk::ParameterRecord::value.text) - 1;

HostStatus ChangeParameter(ProjectAccess& access, Sessions& sessions, ModuleToken token, void* first)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	const auto* request = static_cast<const HostSdk::ChangeParameterRequest*>(first);
	if (request == nullptr || request->newValue == nullptr)
		return StatusBadParameter;
	ParameterSession* session = OpenSession(sessions, token, *project);
	if (session == nullptr)
		return StatusRefused;
	Parameter* parameter = FindParameter(session->parameters, ReadTextField(request->name, sizeof request->name));
	if (parameter == nullptr || parameter->isArray)
		return StatusBadParameter;
	// Read no further than a value can be long, whether or not the text ends.
	const std::size_t length = strnlen(request->newValue, LongestValueText + 1);
	if (length > LongestValueText)
		return StatusBadParameter;
	const std::string_view value(request->newValue, length);
	if (parameter->IsText()) {
		parameter->text = value;
		return 0;
	}
	const std::optional<double> number = ParseNumber(value);
	if (!number)
		return StatusBadParameter;
	parameter->number = *number;
	return 0;
}

HostStatus CloseParameters(ProjectAccess& access, Sessions& sessions, ModuleToken token)
{
	if (access.Caller(token) == nullptr)
		return StatusRefused;
	sessions.erase(token);
	return 0;
}

HostStatus GetValueList(ProjectAccess& access, Sessions& sessions, ModuleToken token, void* first)
{
	const Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	auto* request = static_cast<HostSdk::ValueListRequest*>(first);
	if (request == nullptr)
		return StatusBadParameter;
	request->count = 0;
	request->values = VX::NoHandle;
	request->extra = VX::NoHandle;
	const ParameterSession* session = OpenSession(sessions, token, *project);
	if (session == nullptr)
		return StatusRefused;
	const Parameter* parameter = FindParameter(session->parameters, ReadTextField(request->name, sizeof request->name));
	if (parameter == nullptr)
		return StatusBadParameter;

	std::vector<std::string> values = parameter->valueList;
	if (values.size() > static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()))
		values.resize(static_cast<std::size_t>(std::numeric_limits<std::int16_t>::max()));
	const AnswerDamage& damage = project->Damage();
	const VX::HandleId texts = MakeTextListHandle(values, damage.textsUnterminated);
	// One 32-bit word of flags per value; this host sets none.
	const VX::HandleId flags = VX::AllocateHandle(values.size() * sizeof(std::uint32_t));
	if (texts == VX::NoHandle || flags == VX::NoHandle) {
		VX::FreeHandle(texts);
		VX::FreeHandle(flags);
		return StatusRefused;
	}
	const std::size_t claimed = values.size() + (damage.valueListCountTooLarge ? 2 : 0);
	request->count =
		static_cast<std::int16_t>(std::min<std::size_t>(claimed, std::numeric_limits<std::int16_t>::max()));
	request->values = texts;
	request->extra = flags;
	return 0;
}

std::string ChangedValuesText(const std::vector<Parameter>& before, const std::vector<Parameter>& after)
{
	std::string text;
	for (std::size_t i = 0; i < after.size() && i < before.size(); ++i)
		if (!before[i].HasSameValue(after[i]))
			text += (text.empty() ? "" : ", ") + after[i].name + " = " + after[i].ValueText();
	return text.empty() ? "no value changed" : text;
}

HostStatus ChangeElement(ProjectAccess& access, ModuleToken token, HostSdk::ElementRecord* record,
	const HostSdk::ElementMemo* memo, std::uint32_t memoMask)
{
	Project* project = access.ProjectFor(token);
	if (project == nullptr)
		return StatusRefused;
	if (record == nullptr)
		return StatusBadParameter;
	Element* element = project->FindElement(record->type, record->index);
	if (element == nullptr || element->deleted)
		return StatusBadIndex;
	if (element->refusesChanges)
		return StatusRefused;
	if ((memoMask & HostSdk::MemoMaskParameters) == 0 || memo == nullptr || memo->parameters == VX::NoHandle)
		return 0;

	std::vector<Parameter> given;
	std::string problem;
	if (!ReadParameterListHandle(memo->parameters, given, problem))
		return StatusBadParameter;
	// Everything is checked before anything changes.
	std::vector<Parameter> changed = element->parameters;
	for (const Parameter& value : given) {
		Parameter* target = FindParameter(changed, value.name);
		if (target == nullptr || target->typeCode != value.typeCode || target->isArray != value.isArray)
			return StatusBadParameter;
		target->text = value.text;
		target->number = value.number;
		target->texts = value.texts;
		target->numbers = value.numbers;
	}
	const std::string what = ChangedValuesText(element->parameters, changed);
	element->parameters = std::move(changed);
	project->MarkModified();
	const AddOn* caller = access.Caller(token);
	access.SessionTranscript().Add(
		TranscriptKind::Detail, caller->Name() + " changed " + ElementIdText(element->Id()) + ": " + what);
	return 0;
}

} // namespace

void InstallParameterOperations(HostFunctionTable& table, ProjectAccess& access, Sessions& sessions)
{
	const auto install = [&](std::uint32_t selector, auto operation) {
		table.ImplementSelector(
			Entry::Utilities, selector, [&access, &sessions, operation](ModuleToken token, void* first, void*) {
				return operation(access, sessions, token, first);
			});
	};
	install(Selectors::OpenParameters, OpenParameters);
	install(Selectors::GetParameters, GetParameters);
	install(Selectors::ChangeParameter, ChangeParameter);
	install(Selectors::GetParameterValues, GetValueList);
	table.ImplementSelector(Entry::Utilities, Selectors::CloseParameters,
		[&access, &sessions](ModuleToken token, void*, void*) { return CloseParameters(access, sessions, token); });
	table.Implement<Entry::ElementChange>(
		[&access](ModuleToken token, HostSdk::ElementRecord* element, const HostSdk::ElementRecord* /*mask*/,
			const HostSdk::ElementMemo* memo, std::uint32_t memoMask,
			std::int32_t /*withDelete*/) { return ChangeElement(access, token, element, memo, memoMask); });
}

} // namespace ReferenceHost
