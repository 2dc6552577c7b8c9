// The level-of-detail parameter of library parts: found once per part and run, and written
// into placed elements where it differs from the wanted level.
#include "lod/LevelOfDetailChange.hpp"

#include "counting/RecordText.hpp"
#include "lod/DetailLevelTable.hpp"
#include "lod/Dlg_ErrorMessage.hpp"
#include "lod/LevelCodes.hpp"
#include "lod/ParameterList.hpp"
#include "shell/HostCalls.hpp"

#include "VX/Memory.hpp"

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

namespace {

constexpr std::int16_t DuplicateValueMessage = 132;
constexpr std::int16_t ChangeRefusedMessage = 133;

// The host fills these for every part and element; they live as long as the add-on.
struct SharedParameterRecords {
	HostSdk::ParameterOwnerRecord owner;
	HostSdk::ParameterListRecord list;
	HostSdk::ValueListRequest valueList;
	HostSdk::ChangeParameterRequest change;
	HostSdk::ElementMemo memo;
	// The new value handed to the host with a change request; its capacity is kept, so
	// changing element after element allocates nothing.
	std::string newValue;
};

SharedParameterRecords& Shared()
{
	static SharedParameterRecords records {};
	return records;
}

// The texts a value list's handle really holds: no more than the count the host claims, and
// no text read past the handle's end.
class ValueListTexts {
public:
	explicit ValueListTexts(const HostSdk::ValueListRequest& request)
	{
		if (request.count <= 0 || request.values == VX::NoHandle)
			return;
		block = static_cast<const char*>(VX::GetHandleData(request.values));
		size = block != nullptr ? VX::GetHandleSize(request.values) : 0;
		claimed = request.count;
	}

	// Calls visit(text) for each text in order while it answers true; false when stopped.
	template <typename Visit>
	bool ForEach(Visit&& visit) const
	{
		TextBlockReader reader(block, size);
		std::string_view text;
		for (int read = 0; read < claimed && reader.Next(text); ++read)
			if (!visit(text))
				return false;
		return true;
	}

private:
	const char* block = nullptr;
	std::size_t size = 0;
	int claimed = 0;
};

void ReleaseValueList(HostSdk::ValueListRequest& request)
{
	VX::FreeHandle(request.values);
	VX::FreeHandle(request.extra);
	request.values = VX::NoHandle;
	request.extra = VX::NoHandle;
}

void ShowMessage(std::int16_t stringList)
{
	Dlg_ErrorMessage message(stringList, false);
	message.Invoke();
}

bool OffersDefault(const bool (&available)[LevelCodes::ChoiceCount], std::int16_t defaultLevel)
{
	return LevelCodes::IsChoice(defaultLevel) && available[defaultLevel];
}

// Tries one row of the configuration file against the parameter's value list; true when
// the row holds every value, and then the row's flags and value text are taken.
bool TakeRowIfItFits(CountResult& result, long partIndex, LibRow& row, std::int16_t wanted,
	const DetailLevelTable::Row& fileRow, const ValueListTexts& values)
{
	bool available[LevelCodes::ChoiceCount] = {false, false, false, true, true};
	std::string_view chosen;
	const bool fits = values.ForEach([&](std::string_view value) {
		std::size_t matches = 0;
		std::size_t position = 0;
		for (std::size_t k = 0; k < fileRow.GetSize(); ++k) {
			if (fileRow[k].View() == value) {
				++matches;
				position = k;
			}
		}
		if (matches == 0)
			return false;
		if (matches > 1) {
			// An ambiguous value marks nothing, but it does not make the row unfit.
			ShowMessage(DuplicateValueMessage);
			return true;
		}
		// Positions past the five choices match a value but offer nothing.
		if (LevelCodes::IsChoice(static_cast<std::int32_t>(position))) {
			const auto level = static_cast<std::int16_t>(position);
			available[level] = true;
			if (level == wanted || (wanted == LevelCodes::Default && level == result.defaultLod))
				chosen = value;
		}
		return true;
	});
	if (!fits)
		return false;
	if (!chosen.empty())
		result.lodValueTexts.Put(partIndex, VX::String(chosen));
	std::copy(std::begin(available), std::end(available), std::begin(row.available));
	if (wanted == LevelCodes::Default && !OffersDefault(row.available, result.defaultLod))
		row.lod = LevelCodes::Custom;
	return true;
}

// Step 5 of the detection: the parameter's value list against the file's rows of its name.
void MatchValueList(CountResult& result, long partIndex, LibRow& row, std::int16_t wanted, const VX::String& name)
{
	HostSdk::ValueListRequest& request = Shared().valueList;
	HostSdk::ClearRecord(request);
	// The name comes from a parameter record's 32-byte field and always fits the request's 38.
	const bool named = CopyTextIntoField(request.name, name.View());
	const bool listed = named && HostCalls::GetParameterValues(&request) == HostSdk::StatusOk;
	if (listed) {
		const ValueListTexts values(request);
		const auto [first, last] = DetailLevels().EqualRange(name);
		for (auto fileRow = first; fileRow != last; ++fileRow)
			if (TakeRowIfItFits(result, partIndex, row, wanted, fileRow->second, values))
				break;
	}
	// Whatever the host left in the request is ours, also after a failure.
	ReleaseValueList(request);
}

} // namespace

bool RowOffersLevel(const LibRow& row, std::int32_t code)
{
	return LevelCodes::IsChoice(code) && row.available[code];
}

void DetectPartLod(CountResult& result, long partIndex, API_ElemTypeID bookingType)
{
	LibRow* row = nullptr;
	if (auto* rows = result.partRows.GetPtr(bookingType))
		row = rows->GetPtr(partIndex);
	if (row == nullptr)
		return;

	std::int16_t wanted = LevelCodes::NoParameter;
	result.partLodWanted.Get(partIndex, &wanted);

	SharedParameterRecords& shared = Shared();
	HostSdk::ClearRecord(shared.owner);
	shared.owner.libPartIndex = static_cast<std::int32_t>(partIndex);
	HostSdk::ClearRecord(shared.list);
	if (HostCalls::OpenParameters(&shared.owner) == HostSdk::StatusOk &&
		HostCalls::GetParameters(&shared.list) == HostSdk::StatusOk) {
		bool found = false;
		VX::String parameterName;
		{
			const ParameterList parameters(shared.list.parameters);
			for (std::size_t position = 0; position < parameters.Count(); ++position) {
				const ParameterView parameter = parameters.At(position);
				if (!parameter.IsSingleText())
					continue;
				VX::String name(parameter.name);
				if (DetailLevels().Find(name) == DetailLevels().End())
					continue;
				if (wanted == LevelCodes::NoParameter)
					wanted = LevelCodes::Custom;
				row->lod = wanted;
				result.lodParamNames.Put(partIndex, name);
				result.lodParamIndex.Put(partIndex, static_cast<long>(position));
				parameterName = std::move(name);
				found = true;
				break;
			}
		}
		ReleaseParameterList(shared.list.parameters);
		if (found)
			MatchValueList(result, partIndex, *row, wanted, parameterName);
	} else {
		// A list the host handed out before failing is still ours to release.
		ReleaseParameterList(shared.list.parameters);
	}
	HostCalls::CloseParameters();
}

void ApplyPartLod(CountResult& result, API_ElemTypeID bookingType, API_ElemTypeID elementType,
	std::int32_t elementIndex, long partIndex, HostSdk::ElementRecord& element)
{
	const LibRow* row = nullptr;
	if (const auto* rows = result.partRows.GetPtr(bookingType))
		row = rows->GetPtr(partIndex);
	if (row == nullptr)
		return;
	const std::int16_t level = row->lod;
	if (level >= LevelCodes::NoParameter || level == LevelCodes::Custom ||
		(level == LevelCodes::Default && result.defaultLod == LevelCodes::Custom))
		return;
	// Without a value text there is nothing to write, whatever the element holds.
	const VX::String* valueText = result.lodValueTexts.GetPtr(partIndex);
	const VX::String* parameterName = result.lodParamNames.GetPtr(partIndex);
	const long* parameterPosition = result.lodParamIndex.GetPtr(partIndex);
	if (valueText == nullptr || parameterName == nullptr || parameterPosition == nullptr)
		return;
	if (level == LevelCodes::Default && !RowOffersLevel(*row, result.defaultLod))
		return;

	SharedParameterRecords& shared = Shared();
	HostSdk::ClearRecord(shared.owner);
	shared.owner.elementType = elementType;
	shared.owner.elementIndex = elementIndex;
	if (HostCalls::OpenParameters(&shared.owner) != HostSdk::StatusOk)
		return;

	HostSdk::ClearRecord(shared.list);
	if (HostCalls::GetParameters(&shared.list) == HostSdk::StatusOk) {
		bool needsChange = true;
		{
			const ParameterList parameters(shared.list.parameters);
			// A position past the element's own list is never read: the element is given the
			// value by name, as one whose list holds another parameter there.
			if (*parameterPosition >= 0 && static_cast<std::size_t>(*parameterPosition) < parameters.Count()) {
				const ParameterView parameter = parameters.At(static_cast<std::size_t>(*parameterPosition));
				if (parameter.IsSingleText() && parameter.name == parameterName->View() &&
					parameter.text == valueText->View())
					needsChange = false;
			}
		}
		ReleaseParameterList(shared.list.parameters);

		if (needsChange) {
			HostSdk::ClearRecord(shared.change);
			// The name was read from a 32-byte field and always fits the request's 44.
			if (CopyTextIntoField(shared.change.name, parameterName->View())) {
				shared.newValue.assign(valueText->View());
				shared.change.newValue = shared.newValue.c_str();
				// A refused parameter change would hand the element its old value: the change failed.
				HostSdk::HostStatus status = HostCalls::ChangeParameter(&shared.change);
				HostSdk::ClearRecord(shared.list);
				// The host is handed whole parameter records only, whatever it handed out.
				const bool changedListRead = status == HostSdk::StatusOk &&
					HostCalls::GetParameters(&shared.list) == HostSdk::StatusOk &&
					TrimToWholeRecords(shared.list.parameters);
				status = HostSdk::StatusRefused;
				// Without the changed list the element would be handed no parameters at all.
				if (changedListRead) {
					HostSdk::ClearRecord(shared.memo);
					shared.memo.parameters = shared.list.parameters;
					status = HostCalls::ChangeElement(&element, nullptr, &shared.memo, HostSdk::MemoMaskParameters, 1);
				}
				if (status != HostSdk::StatusOk)
					ShowMessage(ChangeRefusedMessage);
				ReleaseParameterList(shared.list.parameters);
			}
		}
	} else {
		ReleaseParameterList(shared.list.parameters);
	}
	HostCalls::CloseParameters();
}
