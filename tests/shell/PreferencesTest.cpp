// The preferences as the project keeps them: the real module loaded by the reference host, its
// module data in the host's project and project files. The module reads the project's data
// once per project, writes them back at each save with the default level under the palette's
// key, leaves data of another version alone, and merges another project's data.
#include "ModuleHost.hpp"
#include "ProjectFile.hpp"

#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using ReferenceHost::ModuleDataBlock;

const std::string Key = "{9349160F-1FF1-4be3-9909-314107CCB286}";
// The status as the add-on shows it, a bare number; the host's transcript names it.
const std::string BadVersionMessage = "Facetally error | -2130312810 (0x81060196: module data of another version) | "
									  "FacetallyModuleData, ReadValues () | Do not show again | OK";

const std::string LevelsNotStoredMessage =
	"Facetally error | Error | The chosen levels of detail could not be stored in the project! | OK";

std::string MessageOf(const std::string& status)
{
	return "Facetally error | " + status + " | FacetallyModuleData, ReadValues () | Do not show again | OK";
}

// The block's text: identifier, zero, level, zero, ...
std::string Entries(const std::vector<std::pair<std::string, std::string>>& entries)
{
	std::string bytes;
	for (const auto& [identifier, level] : entries)
		bytes += identifier + '\0' + level + '\0';
	return bytes;
}

ModuleDataBlock Block(const std::string& bytes, std::uint32_t dataVersion = 2)
{
	return {dataVersion, 0x5757, {bytes.begin(), bytes.end()}};
}

class Preferences : public ModuleHostTest {
protected:
	void SetUp() override
	{
		ModuleHostTest::SetUp();
		module = &LoadModule();
	}

	// A new project holding the block, with the palette opened and closed on it: the module
	// subscribes to the project events and reads the project's data.
	void BeginProject(const std::optional<ModuleDataBlock>& data)
	{
		ASSERT_TRUE(host->NewProject());
		if (data)
			host->CurrentProject()->StoreModuleData("Facetally", *data);
		ChooseFacetally();
	}

	std::string ProjectBytes()
	{
		const ModuleDataBlock* block = host->CurrentProject()->FindModuleData("Facetally");
		return block != nullptr ? std::string(block->bytes.begin(), block->bytes.end()) : "(no module data)";
	}

	void Save(const std::string& name) { ASSERT_TRUE(host->SaveProjectAs(scratch / name)); }

	void WriteProjectFile(const std::string& name, const ModuleDataBlock& data)
	{
		ReferenceHost::Project project(scratch / name);
		project.StoreModuleData("Facetally", data);
		std::string problem;
		ASSERT_TRUE(ReferenceHost::WriteProjectFile(project, scratch / name, problem)) << problem;
	}

	ReferenceHost::AddOn* module = nullptr;
};

// What the first save writes, from the data the project had and the host's answers.
TEST_F(Preferences, TheSaveWritesTheLevelsItReadWithTheDefaultLevel)
{
	using HostSdk::ModuleDataRecord;
	const std::string damaged = Entries({{"A", "1"}, {std::string(256, 'x'), "2"}, {"B", "0"}}) + "C";
	const std::string foreign = Entries({{"A", "1"}}) + "and a format to come";
	const struct {
		const char* what;
		std::optional<ModuleDataBlock> data;
		std::function<void(ReferenceHost::Host&, ReferenceHost::AddOn&)> careless;
		std::string written;
		std::vector<std::string> messages;
	} cases[] = {
		{"a new project: the custom default", {}, {}, Entries({{Key, "3"}}), {}},
		{"an empty block", Block(""), {}, Entries({{Key, "3"}}), {}},
		{"parts without parameter are left out", Block(Entries({{"A", "0"}, {"B", "5"}, {Key, "4"}})), {},
			Entries({{"A", "0"}, {Key, "4"}}), {}},
		{"a level that is no number is custom", Block(Entries({{"A", "detailed"}})), {},
			Entries({{"A", "3"}, {Key, "3"}}), {}},
		{"levels keep their sign and range", Block(Entries({{"low", "-32768"}, {"high", "32767"}})), {},
			Entries({{"low", "-32768"}, {"high", "32767"}, {Key, "3"}}), {}},
		{"damaged data keep their whole entries", Block(damaged), {}, Entries({{"A", "1"}, {"B", "0"}, {Key, "3"}}),
			{}},
		{"data of a newer version are not written over", Block(foreign, 3), {}, foreign, {BadVersionMessage}},
		{"data of an older version are replaced", Block(foreign, 1), {}, Entries({{Key, "0"}}), {BadVersionMessage}},
		{"a refused query is reported", Block(Entries({{"A", "1"}})),
			[](ReferenceHost::Host& careless, ReferenceHost::AddOn&) {
				careless.Table().ForceStatus(281, HostSdk::StatusRefused);
			},
			Entries({{Key, "0"}}), {MessageOf("-2130312960 (0x81060100: refused)")}},
		{"a refused read is reported", Block(Entries({{"A", "1"}})),
			[](ReferenceHost::Host& careless, ReferenceHost::AddOn&) {
				careless.Table().ForceStatus(282, HostSdk::StatusBadParameter);
			},
			Entries({{Key, "0"}}), {MessageOf("-2130312958 (0x81060102: bad parameter)")}},
		{"a host without the query is reported", Block(Entries({{"A", "1"}})),
			[](ReferenceHost::Host& careless, ReferenceHost::AddOn& addOn) {
				careless.Table().EmptyEntry(281);
				careless.HandOverTable(addOn);
			},
			Entries({{Key, "0"}}), {MessageOf("-2130312313 (0x81060387: the host has no such entry)")}},
		{"a block the query leaves behind is freed", Block(Entries({{"A", "1"}})),
			[](ReferenceHost::Host& careless, ReferenceHost::AddOn&) {
				careless.Table().Implement<281>([](HostSdk::ModuleToken, ModuleDataRecord* record) {
					record->dataVersion = 2;
					record->dataHandle = VX::AllocateHandle(3);
					return HostSdk::StatusOk;
				});
			},
			Entries({{"A", "1"}, {Key, "3"}}), {}},
		{"a refused store keeps the project's data", Block(Entries({{"A", "1"}})),
			[](ReferenceHost::Host& careless, ReferenceHost::AddOn&) {
				careless.Table().ForceStatus(280, HostSdk::StatusRefused);
			},
			Entries({{"A", "1"}}), {LevelsNotStoredMessage}},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		StartHost();
		module = &LoadModule();
		if (row.careless)
			row.careless(*host, *module);
		BeginProject(row.data);
		Save("house.json");
		EXPECT_EQ(ProjectBytes(), row.written);
		EXPECT_EQ(Messages(), row.messages);
	}
}

TEST_F(Preferences, OnlyTheSavesWriteAndTheDataAreReadOncePerProject)
{
	BeginProject(Block(Entries({{"A", "1"}})));
	for (const std::int32_t code : {1, 4, 16, 64, 256})
		host->RaiseProjectEvent(code);
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}}));
	Save("once.json");
	EXPECT_EQ(Calls(280), 1u);
	ASSERT_TRUE(host->SaveProject());
	EXPECT_EQ(Calls(280), 2u);
	EXPECT_EQ(Calls(282), 1u);

	// The next project's data, of another version: read after the project closed, so the
	// message comes, once per project, and the data stay.
	const ModuleDataBlock foreign = Block("of a format to come", 3);
	WriteProjectFile("newer.json", foreign);
	ASSERT_TRUE(host->CloseProject());
	EXPECT_TRUE(Messages().empty());
	ASSERT_TRUE(host->OpenProject(scratch / "newer.json"));
	ASSERT_TRUE(host->SaveProject());
	ASSERT_TRUE(host->SaveProject());
	EXPECT_EQ(Messages(), std::vector<std::string> {BadVersionMessage})
		<< "a module that had not read the second project's data would not have seen their version";
	EXPECT_EQ(*host->CurrentProject()->FindModuleData("Facetally"), foreign);
	EXPECT_EQ(Calls(280), 2u);
}

// Another project's data merged into this one's through the module's merge handler.
TEST_F(Preferences, AMergeKeepsThisProjectsLevelsAndAddsTheOthers)
{
	const struct {
		const char* what;
		std::optional<ModuleDataBlock> mine;
		ModuleDataBlock incoming;
		bool merged;
		std::string result;
	} cases[] = {
		{"this project's levels win", Block(Entries({{"A", "1"}})), Block(Entries({{"A", "2"}, {"B", "0"}})), true,
			Entries({{"A", "1"}, {"B", "0"}})},
		{"the default level merges like any part", Block(Entries({{"A", "1"}})),
			Block(Entries({{Key, "2"}, {"A", "0"}, {"C", "5"}})), true, Entries({{"A", "1"}, {Key, "2"}})},
		{"a project without data takes the others", {}, Block(Entries({{"B", "4"}})), true, Entries({{"B", "4"}})},
		{"damaged data merge their whole entries", {},
			Block(Entries({{"B", "0"}, {"C", std::string(300, '1')}, {"D", "2"}}) + "E"), true,
			Entries({{"B", "0"}, {"D", "2"}})},
		{"data of another version are not merged", Block(Entries({{"A", "1"}})), Block(Entries({{"B", "0"}}), 1), false,
			Entries({{"A", "1"}})},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.what);
		ASSERT_TRUE(host->NewProject());
		if (row.mine)
			host->CurrentProject()->StoreModuleData("Facetally", *row.mine);
		const ReferenceHost::ModuleDataMergeResult result = host->ModuleData().Merge("Facetally", row.incoming);
		EXPECT_EQ(result.merged, row.merged) << result.problem;
		EXPECT_EQ(result.status, row.merged ? HostSdk::StatusOk : HostSdk::StatusBadDataVersion);
		EXPECT_EQ(ProjectBytes(), row.result);
		if (row.merged) {
			EXPECT_EQ(host->CurrentProject()->FindModuleData("Facetally")->platformMark, 0x5757);
		}
	}
}

} // namespace
