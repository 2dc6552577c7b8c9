// Making and reading handles of parameter records.
#include "ParameterRecords.hpp"

#include "HostRecordTexts.hpp"
#include "HostText.hpp"

#include <cstring>

namespace ReferenceHost {

namespace {

using HostSdk::ParameterRecord;

// Stray bytes a careless host leaves after the last whole record.
constexpr std::size_t RaggedTail = 100;

VX::HandleId MakeNumberListHandle(const std::vector<double>& numbers)
{
	const VX::HandleId handle = VX::AllocateHandle(numbers.size() * sizeof(double));
	if (handle != VX::NoHandle && !numbers.empty())
		std::memcpy(VX::GetHandleData(handle), numbers.data(), numbers.size() * sizeof(double));
	return handle;
}

void WriteName(ParameterRecord& record, const std::string& name, const AnswerDamage& damage)
{
	constexpr std::size_t width = sizeof record.name;
	if (damage.textsUnterminated)
		WriteTextField(record.name, width, name, true);
	else
		WriteTextField(record.name, width, name, damage.parameterNamesOverlong && name.size() >= width);
}

bool WriteRecord(ParameterRecord& record, const Parameter& parameter, const AnswerDamage& damage)
{
	record.typeCode = parameter.typeCode;
	record.arrayFlag = parameter.isArray ? HostSdk::ParameterArrayValue : HostSdk::ParameterSingleValue;
	WriteName(record, parameter.name, damage);
	if (parameter.isArray) {
		const VX::HandleId values =
			parameter.IsText() ? MakeTextListHandle(parameter.texts, false) : MakeNumberListHandle(parameter.numbers);
		if (values == VX::NoHandle)
			return false;
		record.value.arrayValues = values;
	} else if (parameter.IsText()) {
		WriteTextField(record.value.text, sizeof record.value.text, parameter.text, damage.textsUnterminated);
	} else {
		record.value.number = parameter.number;
	}
	return true;
}

std::vector<std::string> SplitTexts(const char* bytes, std::size_t size)
{
	std::vector<std::string> texts;
	std::size_t start = 0;
	while (start < size) {
		const void* zero = std::memchr(bytes + start, 0, size - start);
		const std::size_t end =
			zero == nullptr ? size : static_cast<std::size_t>(static_cast<const char*>(zero) - bytes);
		texts.emplace_back(bytes + start, end - start);
		start = end + 1;
	}
	return texts;
}

} // namespace

VX::HandleId MakeTextListHandle(const std::vector<std::string>& texts, bool dropLastZero)
{
	std::size_t size = 0;
	for (const std::string& text : texts)
		size += text.size() + 1;
	if (dropLastZero && size > 0)
		--size;
	const VX::HandleId handle = VX::AllocateHandle(size);
	if (handle == VX::NoHandle)
		return handle;
	auto* bytes = static_cast<char*>(VX::GetHandleData(handle));
	std::size_t offset = 0;
	for (const std::string& text : texts) {
		std::memcpy(bytes + offset, text.data(), text.size());
		offset += text.size() + 1; // the handle came zeroed
	}
	return handle;
}

VX::HandleId MakeParameterListHandle(const std::vector<Parameter>& parameters, const AnswerDamage& damage)
{
	const std::size_t size =
		parameters.size() * sizeof(ParameterRecord) + (damage.parameterHandleRagged ? RaggedTail : 0);
	const VX::HandleId handle = VX::AllocateHandle(size);
	if (handle == VX::NoHandle)
		return handle;
	auto* bytes = static_cast<std::uint8_t*>(VX::GetHandleData(handle));
	for (std::size_t i = 0; i < parameters.size(); ++i) {
		ParameterRecord record {};
		const bool written = WriteRecord(record, parameters[i], damage);
		// Array handles go in as soon as they exist, so a failure can release them all.
		std::memcpy(bytes + i * sizeof record, &record, sizeof record);
		if (!written) {
			ReleaseParameterListHandle(handle);
			return VX::NoHandle;
		}
	}
	if (damage.parameterHandleRagged)
		std::memset(bytes + parameters.size() * sizeof(ParameterRecord), 0x5A, RaggedTail);
	return handle;
}

void ReleaseParameterListHandle(VX::HandleId handle)
{
	const std::size_t count = VX::GetHandleSize(handle) / sizeof(ParameterRecord);
	const auto* bytes = static_cast<const std::uint8_t*>(VX::GetHandleData(handle));
	for (std::size_t i = 0; i < count; ++i) {
		ParameterRecord record;
		std::memcpy(&record, bytes + i * sizeof record, sizeof record);
		if (record.arrayFlag == HostSdk::ParameterArrayValue)
			VX::FreeHandle(record.value.arrayValues);
	}
	VX::FreeHandle(handle);
}

bool ReadParameterListHandle(VX::HandleId handle, std::vector<Parameter>& parameters, std::string& problem)
{
	parameters.clear();
	const void* data = VX::GetHandleData(handle);
	if (data == nullptr) {
		problem = "the parameter handle is not a live memory handle";
		return false;
	}
	const std::size_t size = VX::GetHandleSize(handle);
	if (size % sizeof(ParameterRecord) != 0) {
		problem = "the parameter handle's size " + std::to_string(size) + " is no whole number of " +
			std::to_string(sizeof(ParameterRecord)) + "-byte records";
		return false;
	}
	const auto* bytes = static_cast<const std::uint8_t*>(data);
	for (std::size_t i = 0; i < size / sizeof(ParameterRecord); ++i) {
		ParameterRecord record;
		std::memcpy(&record, bytes + i * sizeof record, sizeof record);
		Parameter parameter;
		parameter.typeCode = record.typeCode;
		parameter.name = ReadTextField(record.name, sizeof record.name);
		if (record.arrayFlag == HostSdk::ParameterArrayValue) {
			parameter.isArray = true;
			const VX::HandleId values = record.value.arrayValues;
			const auto* valueBytes = static_cast<const char*>(VX::GetHandleData(values));
			const std::size_t valueSize = VX::GetHandleSize(values);
			if (valueBytes == nullptr) {
				problem =
					"the array values of the parameter " + Quoted(parameter.name) + " are not in a live memory handle";
				return false;
			}
			if (parameter.IsText()) {
				parameter.texts = SplitTexts(valueBytes, valueSize);
			} else {
				if (valueSize % sizeof(double) != 0) {
					problem = "the array values of the parameter " + Quoted(parameter.name) +
						" are no whole number of numbers";
					return false;
				}
				parameter.numbers.resize(valueSize / sizeof(double));
				if (valueSize > 0)
					std::memcpy(parameter.numbers.data(), valueBytes, valueSize);
			}
		} else if (record.arrayFlag == HostSdk::ParameterSingleValue) {
			if (parameter.IsText())
				parameter.text = ReadTextField(record.value.text, sizeof record.value.text);
			else
				parameter.number = record.value.number;
		} else {
			problem =
				"the parameter " + Quoted(parameter.name) + " has the array flag " + std::to_string(record.arrayFlag);
			return false;
		}
		parameters.push_back(std::move(parameter));
	}
	return true;
}

} // namespace ReferenceHost
