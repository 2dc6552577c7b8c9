// The wrappers of the host operations. The slot lookup and the empty-entry rule live in
// one place (EntryOf and the Call helpers below), so no wrapper can forget either.
#include "shell/HostCalls.hpp"

#include "shell/ModuleState.hpp"

#include "IO/LocationTable.hpp"

namespace HostCalls {
namespace {

using namespace HostSdk;

// The only reader of the host function table: the slot cast to the entry's own signature,
// or null when the host left it empty.
template <int EntryNumber>
EntryFunction<EntryNumber> EntryOf()
{
	static_assert(EntryNumber >= 0 && EntryNumber < HostFunctionCount, "entry numbers lie inside the table");
	return reinterpret_cast<EntryFunction<EntryNumber>>(Module().hostTable[EntryNumber]);
}

// Calls an entry with the module token first; an empty slot gives emptyAnswer.
template <int EntryNumber, typename Result, typename... Arguments>
Result CallWithToken(Result emptyAnswer, Arguments... arguments)
{
	const auto function = EntryOf<EntryNumber>();
	if (function == nullptr) {
		return emptyAnswer;
	}
	return function(Module().token, arguments...);
}

template <int EntryNumber, typename... Arguments>
HostStatus Call(Arguments... arguments)
{
	return CallWithToken<EntryNumber, HostStatus>(StatusMissingEntry, arguments...);
}

// The selector operations (entries 70 to 74) all take the selector and two parameters.
template <int EntryNumber>
HostStatus CallSelector(std::uint32_t selector, void* first, void* second)
{
	return Call<EntryNumber>(selector, first, second);
}

HostStatus Interface(std::uint32_t selector, void* first, void* second)
{
	return CallSelector<Entry::Interface>(selector, first, second);
}

HostStatus Database(std::uint32_t selector, void* first)
{
	return CallSelector<Entry::Database>(selector, first, nullptr);
}

HostStatus Environment(std::uint32_t selector, void* first, void* second)
{
	return CallSelector<Entry::Environment>(selector, first, second);
}

HostStatus Utilities(std::uint32_t selector, void* first, void* second)
{
	return CallSelector<Entry::Utilities>(selector, first, second);
}

// The host only reads what the selector's contract calls an input; the operations'
// parameters are untyped, so read-only inputs lose their const here.
void* Input(const void* pointer)
{
	return const_cast<void*>(pointer);
}

} // namespace

HostStatus RegisterMenu(const MenuRegistrationRecord& record)
{
	const auto function = EntryOf<Entry::MenuRegistration>();
	if (function == nullptr) {
		return StatusMissingEntry;
	}
	return function(&record);
}

HostStatus InstallMenuHandler(std::int16_t menuStringListId, HostSdk::MenuCommandHandler handler)
{
	return Call<Entry::MenuHandlerInstallation>(menuStringListId, handler);
}

HostStatus InstallModuleDataMergeHandler(HostSdk::ModuleDataMergeHandler handler)
{
	return Call<Entry::MergeHandlerInstallation>(handler);
}

HostStatus RegisterModelessPalette(const PaletteRegistrationRecord& record)
{
	return Call<Entry::PaletteRegistration>(&record);
}

HostStatus RemoveModelessPalette(std::int32_t panelId)
{
	return Call<Entry::PaletteRemoval>(panelId);
}

HostStatus RegisterProjectEvents(std::uint32_t eventMask, HostSdk::ProjectEventHandler handler)
{
	return Call<Entry::EventRegistration>(eventMask, handler);
}

HostStatus SetProgressText(const char* text)
{
	return Call<Entry::ProgressText>(text);
}

HostStatus EndProgress()
{
	return Call<Entry::ProgressEnd>();
}

HostStatus OpenProgressWindow(const char* title, std::int16_t* phaseCount)
{
	return Interface(Selectors::OpenProgressWindow, Input(title), phaseCount);
}

HostStatus SetProgressPhase(const char* label, std::int32_t* barMaximum)
{
	return Interface(Selectors::SetProgressPhase, Input(label), barMaximum);
}

HostStatus SetProgressValue(std::int32_t* value)
{
	return Interface(Selectors::SetProgressValue, value, nullptr);
}

HostStatus AskProgressCancelled()
{
	return Interface(Selectors::ProgressCancelled, nullptr, nullptr);
}

HostStatus CloseProgressWindow()
{
	return Interface(Selectors::CloseProgressWindow, nullptr, nullptr);
}

HostStatus GetMenuItemFlags(MenuItemRef* item, std::uint32_t* flags)
{
	return Interface(Selectors::GetMenuItemFlags, item, flags);
}

HostStatus SetMenuItemFlags(MenuItemRef* item, std::uint32_t* flags)
{
	return Interface(Selectors::SetMenuItemFlags, item, flags);
}

HostStatus WriteReportLine(const char* text, std::int32_t flags)
{
	return CallWithToken<Entry::ReportLine, HostStatus>(StatusOk, text, flags);
}

HostStatus GetDataRecord(DataRecord* record)
{
	return Database(Selectors::GetDataRecord, record);
}

HostStatus ChangeDataRecord(DataRecord* record)
{
	return Database(Selectors::ChangeDataRecord, record);
}

HostStatus GetWindowInfo(WindowRecord* record)
{
	return Database(Selectors::GetWindowInfo, record);
}

HostStatus GetStoryInfo(StoryRecord* record)
{
	return Environment(Selectors::GetStoryInfo, record, nullptr);
}

HostStatus ChangeStory(StoryChangeRecord* record)
{
	return Environment(Selectors::ChangeStory, record, nullptr);
}

HostStatus GetSpecialFolder(std::int32_t folderCode, LocationId* folder)
{
	return Environment(Selectors::GetSpecialFolder, &folderCode, folder);
}

HostStatus ChangeWindow(WindowRecord* record)
{
	return CallSelector<Entry::Window>(Selectors::ChangeWindow, record, nullptr);
}

HostStatus ItemCodeToElementType(std::int32_t itemCode, std::int32_t* elementType)
{
	return Utilities(Selectors::ItemCodeToElementType, &itemCode, elementType);
}

HostStatus OpenParameters(ParameterOwnerRecord* owner)
{
	return Utilities(Selectors::OpenParameters, owner, nullptr);
}

HostStatus GetParameters(ParameterListRecord* list)
{
	return Utilities(Selectors::GetParameters, list, nullptr);
}

HostStatus GetParameterValues(ValueListRequest* request)
{
	return Utilities(Selectors::GetParameterValues, request, nullptr);
}

HostStatus ChangeParameter(ChangeParameterRequest* request)
{
	return Utilities(Selectors::ChangeParameter, request, nullptr);
}

HostStatus CloseParameters()
{
	return Utilities(Selectors::CloseParameters, nullptr, nullptr);
}

HostStatus SearchLibPart(LibPartRecord* record, bool warnings)
{
	return Call<Entry::LibPartSearch>(record, warnings);
}

HostStatus ReadLibPart(LibPartRecord* record)
{
	return Call<Entry::LibPartRead>(record);
}

void ReleaseLibPartLocation(LibPartRecord& record)
{
	if (record.location != IO::NoLocation)
		IO::ReleaseLocation(record.location);
	record.location = IO::NoLocation;
}

HostStatus CountElements(std::int32_t elementType, std::int32_t* count)
{
	return Call<Entry::ElementCount>(elementType, count);
}

bool PassesElementFilter(std::int32_t elementType, std::int32_t index, std::uint32_t filterBits)
{
	return CallWithToken<Entry::ElementFilter, bool>(false, elementType, index, filterBits);
}

HostStatus ReadElement(ElementRecord* record)
{
	return Call<Entry::ElementRead>(record);
}

HostStatus ReadElementMemo(std::int32_t elementType, std::int32_t index, ElementMemo* memo)
{
	return Call<Entry::ElementMemoRead>(elementType, index, memo);
}

HostStatus ChangeElement(ElementRecord* element, const ElementRecord* mask, const ElementMemo* memo,
	std::uint32_t memoMask, std::int32_t withDelete)
{
	return Call<Entry::ElementChange>(element, mask, memo, memoMask, withDelete);
}

HostStatus SelectItems(HandleId items, std::int32_t count, std::int32_t add)
{
	return Call<Entry::SelectItems>(items, count, add);
}

HostStatus ReadElement3DInfo(std::int32_t elementType, std::int32_t index, Element3DInfo* info)
{
	return Call<Entry::Element3DInfo>(elementType, index, info);
}

HostStatus ReadSelection(SelectionRecord* record, HandleId* items)
{
	return Call<Entry::SelectionRead>(record, items, std::int32_t {0});
}

HostStatus ReadComponent3D(Component3DRecord* component)
{
	return Call<Entry::Component3DRead>(component);
}

HostStatus StoreModuleData(const ModuleDataRecord* record)
{
	return Call<Entry::ModuleDataStore>(record);
}

HostStatus QueryModuleData(ModuleDataRecord* record)
{
	return Call<Entry::ModuleDataQuery>(record);
}

HostStatus ReadModuleData(ModuleDataRecord* record)
{
	return Call<Entry::ModuleDataRead>(record);
}

} // namespace HostCalls
