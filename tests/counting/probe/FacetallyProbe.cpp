// The probe's own export: reaches the module's palette, preferences and current count result
// from inside the module, and puts recording stand-ins into the module's copy of the host
// function table that pass every call on to the host.
#include "ProbeControl.hpp"

#include "counting/CountElement.hpp"
#include "counting/CountResult.hpp"
#include "counting/SelectCountedElements.hpp"
#include "palette/RollDownDialogGeneralPage1.hpp"
#include "palette/RollDownDialogGeneralPage2.hpp"
#include "palette/RollDownDialogGeneralPage3.hpp"
#include "palette/RollDownDialogGeneralPage5.hpp"
#include "palette/RollDownPalette.hpp"
#include "shell/ModuleState.hpp"
#include "shell/Preferences.hpp"

#include "HostSdk/HostFunctions.hpp"

#include <cstring>

namespace {

using namespace HostSdk;

std::vector<ProbeCall> recorded;
std::array<HostFunction, HostFunctionCount> passedOn {};
bool recording = false;

template <int EntryNumber>
EntryFunction<EntryNumber> Original()
{
	return reinterpret_cast<EntryFunction<EntryNumber>>(passedOn[EntryNumber]);
}

HostStatus RecordedLibPartRead(ModuleToken token, LibPartRecord* record)
{
	recorded.push_back({Entry::LibPartRead, 0, 0, record != nullptr ? record->index : 0, 0});
	return Original<Entry::LibPartRead>()(token, record);
}

bool RecordedFilter(ModuleToken token, std::int32_t type, std::int32_t index, std::uint32_t bits)
{
	recorded.push_back({Entry::ElementFilter, 0, type, index, bits});
	return Original<Entry::ElementFilter>()(token, type, index, bits);
}

HostStatus RecordedRead(ModuleToken token, ElementRecord* record)
{
	recorded.push_back({Entry::ElementRead, 0, record->type, record->index, 0});
	return Original<Entry::ElementRead>()(token, record);
}

HostStatus RecordedMemoRead(ModuleToken token, std::int32_t type, std::int32_t index, ElementMemo* memo)
{
	recorded.push_back({Entry::ElementMemoRead, 0, type, index, 0});
	return Original<Entry::ElementMemoRead>()(token, type, index, memo);
}

HostStatus RecordedChange(ModuleToken token, ElementRecord* element, const ElementRecord* mask, const ElementMemo* memo,
	std::uint32_t memoMask, std::int32_t withDelete)
{
	recorded.push_back({Entry::ElementChange, 0, element->type, element->index, memoMask});
	return Original<Entry::ElementChange>()(token, element, mask, memo, memoMask, withDelete);
}

HostStatus Recorded3DInfo(ModuleToken token, std::int32_t type, std::int32_t index, Element3DInfo* info)
{
	recorded.push_back({Entry::Element3DInfo, 0, type, index, 0});
	return Original<Entry::Element3DInfo>()(token, type, index, info);
}

HostStatus RecordedUtilities(ModuleToken token, std::uint32_t selector, void* first, void* second)
{
	ProbeCall call {Entry::Utilities, selector, 0, 0, 0};
	if (selector == Selectors::OpenParameters && first != nullptr) {
		const auto* owner = static_cast<const ParameterOwnerRecord*>(first);
		call.type = owner->elementType;
		call.index = owner->libPartIndex != 0 ? owner->libPartIndex : owner->elementIndex;
	}
	recorded.push_back(call);
	return Original<Entry::Utilities>()(token, selector, first, second);
}

template <int EntryNumber, typename Function>
void Replace(Function function)
{
	ModuleState& state = Module();
	passedOn[EntryNumber] = state.hostTable[EntryNumber];
	if (passedOn[EntryNumber] != nullptr)
		state.hostTable[EntryNumber] = reinterpret_cast<HostFunction>(function);
}

void StartLog()
{
	recorded.clear();
	if (recording)
		return;
	recording = true;
	Replace<Entry::LibPartRead>(&RecordedLibPartRead);
	Replace<Entry::ElementFilter>(&RecordedFilter);
	Replace<Entry::ElementRead>(&RecordedRead);
	Replace<Entry::ElementMemoRead>(&RecordedMemoRead);
	Replace<Entry::ElementChange>(&RecordedChange);
	Replace<Entry::Element3DInfo>(&Recorded3DInfo);
	Replace<Entry::Utilities>(&RecordedUtilities);
}

std::vector<ProbeCall> StopLog()
{
	if (recording) {
		ModuleState& state = Module();
		for (int entry : {Entry::LibPartRead, Entry::ElementFilter, Entry::ElementRead, Entry::ElementMemoRead,
				 Entry::ElementChange, Entry::Element3DInfo, Entry::Utilities})
			if (passedOn[entry] != nullptr)
				state.hostTable[entry] = passedOn[entry];
		recording = false;
	}
	return std::move(recorded);
}

// The pages' settings as code sets them, without the events a person's changes raise.
bool SetSettings(const ProbeSettings& settings)
{
	RollDownPalette* palette = GetOpenPalette();
	if (palette == nullptr)
		return false;
	const RollDownDialogGeneralPage1& stories = *palette->GetPage1();
	DG::RadioButton(stories, settings.allStories ? 1 : 2).Select();
	DG::IntEdit(stories, 3).SetValue(settings.fromStory);
	DG::IntEdit(stories, 5).SetValue(settings.toStory);
	DG::RadioButton(*palette->GetPage2(), settings.selectionOnly ? 1 : 2).Select();
	palette->GetPage3()->SelectDefaultLevel(settings.defaultLevel);
	return true;
}

bool GetSettings(ProbeSettings& settings)
{
	const RollDownPalette* palette = GetOpenPalette();
	if (palette == nullptr)
		return false;
	settings = {palette->GetPage2()->IsSelectionOnly(), palette->GetPage1()->IsAllStories(),
		palette->GetPage1()->GetFromStory(), palette->GetPage1()->GetToStory(), palette->GetPage3()->GetDefaultLevel()};
	return true;
}

bool Refresh()
{
	RollDownPalette* palette = GetOpenPalette();
	if (palette == nullptr)
		return false;
	palette->GetPage5()->RefreshCommand();
	return true;
}

void ReadResult(ProbeResult& copy)
{
	copy = ProbeResult {};
	const CountResult* result = CurrentCountResult();
	if (result == nullptr)
		return;
	copy.exists = true;
	copy.totalPolygons = result->totalPolygons;
	copy.defaultLod = result->defaultLod;
	copy.elementsPerType = result->elementsPerType;
	copy.polygonsPerType = result->polygonsPerType;
	for (const auto& rows : result->sortedRows.Pairs()) {
		std::vector<ProbeRow>& copied = copy.sortedRows[rows.GetKey()];
		for (const LibRow& row : rows.GetValue()) {
			ProbeRow probeRow;
			probeRow.name = row.name.ToStd();
			probeRow.guid = row.guid.ToCStr();
			probeRow.objects = row.objects;
			probeRow.polygons = row.polygons;
			probeRow.lod = row.lod;
			std::copy(std::begin(row.available), std::end(row.available), probeRow.available.begin());
			probeRow.lockFlags = row.lockFlags;
			copied.push_back(probeRow);
		}
	}
	for (const auto& entry : result->lodParamNames.Pairs())
		copy.lodParamNames[entry.GetKey()] = entry.GetValue().ToStd();
	for (const auto& entry : result->lodParamIndex.Pairs())
		copy.lodParamIndex[entry.GetKey()] = entry.GetValue();
	for (const auto& entry : result->lodValueTexts.Pairs())
		copy.lodValueTexts[entry.GetKey()] = entry.GetValue().ToStd();
	for (const auto& entry : result->partLodWanted.Pairs())
		copy.partLodWanted[entry.GetKey()] = entry.GetValue();
}

void SetPartLevel(const char* guid, std::int16_t level)
{
	GetPreferences().levelTable.Put(GuidStr(guid), level);
}

bool PartLevel(const char* guid, std::int16_t& level)
{
	short stored = 0;
	if (!GetPreferences().levelTable.Get(GuidStr(guid), &stored))
		return false;
	level = stored;
	return true;
}

std::int16_t PreferencesDefaultLevel()
{
	return GetPreferences().defaultLevel;
}

void ForgetPartLevel(const char* guid)
{
	GetPreferences().levelTable.Delete(GuidStr(guid));
}

const ProbeControl control {SetSettings, GetSettings, Refresh, ReadResult, SetPartLevel, PartLevel,
	PreferencesDefaultLevel, MissingPartMessagesOff, StartLog, StopLog, SelectCountedElements, ForgetPartLevel};

} // namespace

extern "C" __attribute__((visibility("default"))) const ProbeControl* FacetallyProbeControl()
{
	return &control;
}
