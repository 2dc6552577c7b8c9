// The preferences end to end: the real module loaded by the reference host, its module data
// in the host's project and project files. The module writes at the project's save (events 8
// and 128), forgets what it read when the project closes (event 32), reads the next project's
// data at their next use, and merges another project's data through its merge handler. Each
// test starts a fresh host with a freshly loaded module and ends with no memory handle alive.
#include "Host.hpp"
#include "ProjectFile.hpp"

#include "IO/LocationTable.hpp"
#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

using ReferenceHost::Host;
using ReferenceHost::ModuleDataBlock;
using ReferenceHost::TranscriptKind;

const std::string Key = "{9349160F-1FF1-4be3-9909-314107CCB286}";
constexpr const char* AddOnName = "Facetally";
const std::string BadVersionMessage =
	"Facetally error | OK | -2130312810 | FacetallyModuleData, ReadValues () | Do not show again";

std::vector<std::uint8_t> Entries(const std::vector<std::pair<std::string, std::string>>& entries)
{
	std::vector<std::uint8_t> bytes;
	for (const auto& [identifier, level] : entries) {
		bytes.insert(bytes.end(), identifier.begin(), identifier.end());
		bytes.push_back(0);
		bytes.insert(bytes.end(), level.begin(), level.end());
		bytes.push_back(0);
	}
	return bytes;
}

std::vector<std::uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

ModuleDataBlock Block(std::vector<std::uint8_t> bytes, std::uint32_t dataVersion = 2)
{
	ModuleDataBlock block;
	block.dataVersion = dataVersion;
	block.platformMark = 0x5757;
	block.bytes = std::move(bytes);
	return block;
}

class PreferencesThroughHost : public ::testing::Test {
protected:
	void SetUp() override
	{
		static std::atomic<int> serial {0};
		folder = std::filesystem::temp_directory_path() /
				 ("facetally-prefs-" + std::to_string(::getpid()) + "-" + std::to_string(serial++));
		std::filesystem::create_directories(folder);
		liveHandles = VX::LiveHandleCount();
		liveLocations = IO::LiveLocationCount();
		StartHost();
	}

	void TearDown() override
	{
		host.reset();
		EXPECT_EQ(VX::LiveHandleCount(), liveHandles) << "memory handles left alive";
		EXPECT_EQ(IO::LiveLocationCount(), liveLocations) << "file locations left published";
		std::error_code ignored;
		std::filesystem::remove_all(folder, ignored);
	}

	// A host with the module loaded; no project yet.
	void StartHost()
	{
		host = std::make_unique<Host>(
			ReferenceHost::HostOptions {FACETALLY_ADDON_DIR, std::filesystem::path(FACETALLY_BINARY_DIR) / "help"});
		ASSERT_NE(host->LoadAddOn(std::filesystem::path(FACETALLY_ADDON_DIR) / "Facetally.addon"), nullptr)
			<< host->SessionTranscript().ToText(true);
	}

	// The same host with the module unloaded and loaded again: nothing of the session is kept
	// but the project files.
	void RestartHost()
	{
		host.reset();
		StartHost();
	}

	// The palette is opened once, which subscribes the module to the project events and makes
	// it read the project's module data.
	void OpenPalette() { ASSERT_TRUE(host->ChooseMenuItem(AddOnName)) << host->SessionTranscript().ToText(true); }

	// A new project holding the block (none when null), with the palette opened on it.
	void BeginProject(const ModuleDataBlock* data = nullptr)
	{
		ASSERT_TRUE(host->NewProject());
		if (data != nullptr)
			SetProjectData(*data);
		OpenPalette();
	}
	void BeginProject(const ModuleDataBlock& data) { BeginProject(&data); }

	// A project file holding the block.
	void WriteProjectFile(const std::filesystem::path& file, const ModuleDataBlock& data)
	{
		ReferenceHost::Project project(file);
		project.StoreModuleData(AddOnName, data);
		std::string problem;
		ASSERT_TRUE(ReferenceHost::WriteProjectFile(project, file, problem)) << problem;
	}

	ReferenceHost::Project& Project() { return *host->CurrentProject(); }

	void SetProjectData(ModuleDataBlock block) { Project().StoreModuleData(AddOnName, std::move(block)); }

	const ModuleDataBlock* ProjectData() { return Project().FindModuleData(AddOnName); }

	std::vector<std::uint8_t> ProjectBytes()
	{
		const ModuleDataBlock* block = ProjectData();
		return block != nullptr ? block->bytes : Bytes("(no module data)");
	}

	std::vector<std::string> Messages() { return host->SessionTranscript().Texts(TranscriptKind::Message); }

	std::filesystem::path File(const std::string& name) { return folder / name; }

	// The module data the project file carries, as a host would read them.
	ModuleDataBlock FileData(const std::filesystem::path& file)
	{
		std::string problem;
		const std::unique_ptr<ReferenceHost::Project> read = ReferenceHost::ReadProjectFile(file, problem);
		EXPECT_NE(read, nullptr) << problem;
		if (read == nullptr || read->FindModuleData(AddOnName) == nullptr)
			return Block(Bytes("(no module data in the file)"), 0);
		return *read->FindModuleData(AddOnName);
	}

	std::unique_ptr<Host> host;
	std::filesystem::path folder;

private:
	std::size_t liveHandles = 0;
	std::size_t liveLocations = 0;
};

// ---- Writing at the save --------------------------------------------------------------------

TEST_F(PreferencesThroughHost, SaveWritesEachLevelAndTheDefaultLevelButNoPartWithoutParameter)
{
	BeginProject(Block(Entries({{"A", "0"}, {"B", "5"}, {Key, "4"}})));
	ASSERT_TRUE(host->SaveProjectAs(File("house.json")));
	const ModuleDataBlock* written = ProjectData();
	ASSERT_NE(written, nullptr);
	EXPECT_EQ(written->bytes, Entries({{"A", "0"}, {Key, "4"}}));
	EXPECT_EQ(written->dataVersion, 2u);
	EXPECT_EQ(written->platformMark, 0x5757);
	EXPECT_EQ(FileData(File("house.json")), *written) << "the file carries the data written at the save";
	EXPECT_TRUE(Messages().empty());
}

TEST_F(PreferencesThroughHost, ANewProjectGetsTheCustomDefaultLevel)
{
	BeginProject();
	ASSERT_TRUE(host->SaveProjectAs(File("new.json")));
	EXPECT_EQ(ProjectBytes(), Entries({{Key, "3"}}));
}

TEST_F(PreferencesThroughHost, AnEmptyBlockGivesNoPartsAndTheCustomDefault)
{
	BeginProject(Block({}));
	ASSERT_TRUE(host->SaveProjectAs(File("empty.json")));
	EXPECT_EQ(ProjectBytes(), Entries({{Key, "3"}}));
	EXPECT_TRUE(Messages().empty());
}

TEST_F(PreferencesThroughHost, ALevelThatIsNoNumberIsReadAsCustom)
{
	BeginProject(Block(Entries({{"A", "detailed"}})));
	ASSERT_TRUE(host->SaveProjectAs(File("words.json")));
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "3"}, {Key, "3"}}));
}

TEST_F(PreferencesThroughHost, OnlyTheSaveEventsWrite)
{
	BeginProject(Block(Entries({{"A", "1"}})));
	for (const std::int32_t code : {1, 4, 16, 64, 256})
		host->RaiseProjectEvent(code);
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}}));
	ASSERT_TRUE(host->SaveProjectAs(File("once.json")));
	EXPECT_EQ(host->Table().CallCount(280), 1u);
	ASSERT_TRUE(host->SaveProject());
	EXPECT_EQ(host->Table().CallCount(280), 2u);
	EXPECT_EQ(host->Table().CallCount(282), 1u) << "the stored preferences are read once per project";
}

// ---- Reading back -----------------------------------------------------------------------------

TEST_F(PreferencesThroughHost, SaveCloseAndReopenKeepTheLevels)
{
	BeginProject(Block(Entries({{"A", "0"}, {"B", "5"}, {Key, "4"}})));
	ASSERT_TRUE(host->SaveProjectAs(File("house.json")));
	const std::vector<std::uint8_t> written = ProjectBytes();

	ASSERT_TRUE(host->CloseProject());
	ASSERT_TRUE(host->OpenProject(File("house.json")));
	EXPECT_EQ(ProjectBytes(), written);
	ASSERT_TRUE(host->SaveProject());
	EXPECT_EQ(ProjectBytes(), written);
	EXPECT_EQ(host->Table().CallCount(282), 2u) << "the project closing made the module read the data again";

	// A fresh module knows nothing but what the file carries.
	RestartHost();
	ASSERT_TRUE(host->OpenProject(File("house.json")));
	OpenPalette();
	ASSERT_TRUE(host->SaveProjectAs(File("copy.json")));
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "0"}, {Key, "4"}}));
	EXPECT_EQ(FileData(File("copy.json")).bytes, written);
	EXPECT_TRUE(Messages().empty());
}

TEST_F(PreferencesThroughHost, TheNextProjectsDataAreReadAfterTheProjectCloses)
{
	WriteProjectFile(File("second.json"), Block(Entries({{"B", "1"}}), 7));
	BeginProject();
	ASSERT_TRUE(host->SaveProjectAs(File("first.json")));
	ASSERT_TRUE(host->CloseProject());
	EXPECT_TRUE(Messages().empty());
	ASSERT_TRUE(host->OpenProject(File("second.json")));
	ASSERT_TRUE(host->SaveProject());
	EXPECT_EQ(Messages(), std::vector<std::string> {BadVersionMessage})
		<< "a module that had not read the second project's data would not have seen their version";
	EXPECT_EQ(ProjectBytes(), Entries({{"B", "1"}}));
}

// ---- Data the module cannot take ------------------------------------------------------------

TEST_F(PreferencesThroughHost, DataOfAnotherVersionAreReportedAndNotWrittenOver)
{
	const ModuleDataBlock foreign = Block(Entries({{"A", "1"}, {"format", "of version 3"}}), 3);
	BeginProject(foreign);
	ASSERT_TRUE(host->SaveProjectAs(File("newer.json")));
	EXPECT_EQ(Messages(), std::vector<std::string> {BadVersionMessage});
	ASSERT_NE(ProjectData(), nullptr);
	EXPECT_EQ(*ProjectData(), foreign);
	EXPECT_EQ(FileData(File("newer.json")), foreign);
	EXPECT_EQ(host->Table().CallCount(280), 0u);

	ASSERT_TRUE(host->SaveProject());
	EXPECT_EQ(Messages().size(), 1u) << "the message comes once per project";
	EXPECT_EQ(*ProjectData(), foreign);
}

TEST_F(PreferencesThroughHost, TheMessageCanBeAnsweredAsAPersonWould)
{
	ASSERT_TRUE(host->NewProject());
	SetProjectData(Block(Entries({{"A", "1"}}), 1));
	ReferenceHost::DialogAnswer answer;
	std::string problem;
	ASSERT_TRUE(ReferenceHost::ParseDialogAnswer({"tick", "Do not show again", "ok"}, answer, problem)) << problem;
	host->Dialogs().PlanAnswer(answer);
	OpenPalette();
	ASSERT_TRUE(host->SaveProjectAs(File("answered.json")));
	EXPECT_EQ(Messages(), std::vector<std::string> {BadVersionMessage});
	EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Action, "(in the dialog) tick \"Do not show again\""));
	EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Action, "(in the dialog) press \"OK\""));
	EXPECT_TRUE(host->SessionTranscript().Contains(TranscriptKind::Detail, "dialog \"Facetally error\" accepted"));
	EXPECT_TRUE(host->Dialogs().RefusedSteps().empty());
}

TEST_F(PreferencesThroughHost, DamagedDataKeepTheirWholeEntries)
{
	std::vector<std::uint8_t> damaged = Entries({{"A", "1"}, {std::string(256, 'x'), "2"}, {"B", "0"}});
	const std::vector<std::uint8_t> cutOff = Bytes("C");
	damaged.insert(damaged.end(), cutOff.begin(), cutOff.end());
	BeginProject(Block(damaged));
	ASSERT_TRUE(host->SaveProjectAs(File("damaged.json")));
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}, {"B", "0"}, {Key, "3"}}));
	EXPECT_TRUE(Messages().empty());
}

TEST_F(PreferencesThroughHost, AFailingReadIsReportedWithTheHostsStatus)
{
	ASSERT_TRUE(host->NewProject());
	SetProjectData(Block(Entries({{"A", "1"}})));
	host->Table().ForceStatus(281, static_cast<HostSdk::HostStatus>(0x81060100u));
	OpenPalette();
	ASSERT_TRUE(host->SaveProjectAs(File("refused.json")));
	EXPECT_EQ(Messages(), std::vector<std::string> {
							  "Facetally error | OK | -2130312960 | FacetallyModuleData, ReadValues () | Do not show again"});
}

// ---- Merging ----------------------------------------------------------------------------------

TEST_F(PreferencesThroughHost, AMergeKeepsThisProjectsLevelsAndAddsTheOthers)
{
	ASSERT_TRUE(host->NewProject());
	SetProjectData(Block(Entries({{"A", "1"}})));
	const ReferenceHost::ModuleDataMergeResult result =
		host->ModuleData().Merge(AddOnName, Block(Entries({{"A", "2"}, {"B", "0"}})));
	EXPECT_TRUE(result.merged) << result.problem;
	EXPECT_EQ(result.status, 0);
	ASSERT_NE(ProjectData(), nullptr);
	EXPECT_EQ(ProjectData()->bytes, Entries({{"A", "1"}, {"B", "0"}}));
	EXPECT_EQ(ProjectData()->dataVersion, 2u);
	EXPECT_EQ(ProjectData()->platformMark, 0x5757);
}

TEST_F(PreferencesThroughHost, AnotherProjectFilesDataAreMergedIn)
{
	ASSERT_TRUE(host->NewProject());
	SetProjectData(Block(Entries({{"A", "1"}})));
	WriteProjectFile(File("other.json"), Block(Entries({{"A", "2"}, {"B", "0"}})));
	std::string problem;
	std::unique_ptr<ReferenceHost::Project> read = ReferenceHost::ReadProjectFile(File("other.json"), problem);
	ASSERT_NE(read, nullptr) << problem;
	const std::vector<ReferenceHost::ModuleDataMergeResult> results = host->ModuleData().MergeAll(*read);
	ASSERT_EQ(results.size(), 1u);
	EXPECT_TRUE(results[0].merged) << results[0].problem;
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}, {"B", "0"}}));

	// The merged data are what the module reads, and saves with the default level added.
	OpenPalette();
	ASSERT_TRUE(host->SaveProjectAs(File("merged.json")));
	EXPECT_EQ(FileData(File("merged.json")).bytes, Entries({{"A", "1"}, {"B", "0"}, {Key, "3"}}));
}

TEST_F(PreferencesThroughHost, WhatAMergeBroughtIsKeptAtTheNextSave)
{
	// The module has read this project's data before the merge.
	BeginProject(Block(Entries({{"A", "1"}, {Key, "2"}})));
	const ReferenceHost::ModuleDataMergeResult result =
		host->ModuleData().Merge(AddOnName, Block(Entries({{"A", "2"}, {"B", "0"}, {Key, "4"}})));
	ASSERT_TRUE(result.merged) << result.problem;
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}, {Key, "2"}, {"B", "0"}}));
	ASSERT_TRUE(host->SaveProjectAs(File("merged.json")));
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}, {"B", "0"}, {Key, "2"}}));
}

TEST_F(PreferencesThroughHost, AProjectWithoutDataTakesTheOthers)
{
	ASSERT_TRUE(host->NewProject());
	const ReferenceHost::ModuleDataMergeResult result = host->ModuleData().Merge(AddOnName, Block(Entries({{"B", "4"}})));
	EXPECT_TRUE(result.merged) << result.problem;
	EXPECT_EQ(ProjectBytes(), Entries({{"B", "4"}}));
}

TEST_F(PreferencesThroughHost, DataOfAnotherVersionAreNotMerged)
{
	ASSERT_TRUE(host->NewProject());
	SetProjectData(Block(Entries({{"A", "1"}})));
	const ReferenceHost::ModuleDataMergeResult result =
		host->ModuleData().Merge(AddOnName, Block(Entries({{"B", "0"}}), 1));
	EXPECT_FALSE(result.merged);
	EXPECT_EQ(result.status, static_cast<HostSdk::HostStatus>(0x81060196u));
	EXPECT_EQ(ProjectBytes(), Entries({{"A", "1"}}));
}

TEST_F(PreferencesThroughHost, DamagedDataMergeTheirWholeEntries)
{
	std::vector<std::uint8_t> damaged = Entries({{"B", "0"}, {"C", std::string(300, '1')}, {"D", "2"}});
	damaged.push_back('E');
	ASSERT_TRUE(host->NewProject());
	const ReferenceHost::ModuleDataMergeResult result = host->ModuleData().Merge(AddOnName, Block(damaged));
	EXPECT_TRUE(result.merged) << result.problem;
	EXPECT_EQ(ProjectBytes(), Entries({{"B", "0"}, {"D", "2"}}));
}

} // namespace
