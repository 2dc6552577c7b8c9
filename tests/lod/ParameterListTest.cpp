// Parameter lists as the host hands them out: whole records only, texts bounded by their
// fields, and every handle in them released.
#include "lod/ParameterList.hpp"
#include "LeakCheck.hpp"

#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using HostSdk::ParameterRecord;

class ParameterListTest : public ::testing::Test {
protected:
	// A handle of the records, followed by extra bytes.
	static VX::HandleId ListOf(const std::vector<ParameterRecord>& records, std::size_t extra = 0)
	{
		const VX::HandleId handle = VX::AllocateHandle(records.size() * sizeof(ParameterRecord) + extra);
		if (!records.empty())
			std::memcpy(VX::GetHandleData(handle), records.data(), records.size() * sizeof(ParameterRecord));
		std::memset(
			static_cast<char*>(VX::GetHandleData(handle)) + records.size() * sizeof(ParameterRecord), 0x5A, extra);
		return handle;
	}

	static ParameterRecord Text(const char* name, const char* value)
	{
		ParameterRecord record {};
		record.typeCode = HostSdk::ParameterTypeText;
		std::strncpy(record.name, name, sizeof record.name - 1);
		std::strncpy(record.value.text, value, sizeof record.value.text - 1);
		return record;
	}

	const LeakCheck leaks;
};

TEST_F(ParameterListTest, APieceOfARecordAtTheEndIsNotARecord)
{
	VX::HandleId list = ListOf({Text("a", "1")}, 100);
	EXPECT_EQ(ParameterList(list).Count(), 1u);
	ReleaseParameterList(list);
	VX::HandleId piece = ListOf({}, sizeof(ParameterRecord) - 1);
	EXPECT_EQ(ParameterList(piece).Count(), 0u);
	ReleaseParameterList(piece);
	VX::HandleId none = VX::NoHandle;
	ReleaseParameterList(none);
	EXPECT_EQ(ParameterList(none).Count(), 0u) << "no list is an empty one";
}

TEST_F(ParameterListTest, NamesAndTextsWithoutTheirZeroEndWithTheirFields)
{
	ParameterRecord record = Text("", "");
	std::memset(record.name, 'n', sizeof record.name);
	std::memset(record.value.text, 'v', sizeof record.value.text);
	VX::HandleId list = ListOf({record});
	{
		const ParameterView view = ParameterList(list).At(0);
		EXPECT_EQ(view.name, std::string(32, 'n'));
		EXPECT_EQ(view.text, std::string(256, 'v'));
	}
	ReleaseParameterList(list);
}

TEST_F(ParameterListTest, ReleasingFreesTheArrayValuesOfWholeRecordsAndTheList)
{
	ParameterRecord array {};
	array.typeCode = HostSdk::ParameterTypeText;
	array.arrayFlag = HostSdk::ParameterArrayValue;
	array.value.arrayValues = VX::AllocateHandle(16);
	VX::HandleId list = ListOf({Text("a", "1"), array}, 40);
	EXPECT_EQ(ParameterList(list).At(1).arrayValues, array.value.arrayValues);
	ReleaseParameterList(list);
	EXPECT_EQ(VX::GetHandleSize(array.value.arrayValues), 0u) << "the array's handle is no longer live";
}

} // namespace
