// The file library: locations and names as the module walks from its own file to the
// configuration file beside it, files created when missing and read as bytes, and the table
// of location ids that travel through host records.
#include "IO/File.hpp"
#include "IO/Location.hpp"
#include "IO/LocationTable.hpp"
#include "IO/Name.hpp"

#include "HostSdk/HostTypes.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <type_traits>
#include <vector>

namespace {

static_assert(std::is_same_v<IO::LocationId, HostSdk::LocationId>, "location ids fill the SDK's 32-bit slots");

TEST(NameTest, ExtensionIsTheTextAfterTheLastDotOfAVisibleName)
{
	const struct {
		const char* name;
		bool hasExtension;
		const char* extension;
		const char* withoutExtension;
	} cases[] = {
		{"Facetally.addon", true, "addon", "Facetally"},
		{"archive.tar.gz", true, "gz", "archive.tar"},
		{"Facetally", false, "", "Facetally"},
		// A leading dot starts a hidden name.
		{".profile", false, "", ".profile"},
		{"", false, "", ""},
		{"trailing.", true, "", "trailing"},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.name);
		IO::Name name(row.name);
		EXPECT_EQ(name.HasExtension(), row.hasExtension);
		EXPECT_EQ(name.GetExtension(), row.extension);
		name.DeleteExtension();
		EXPECT_EQ(name.ToString(), row.withoutExtension);
	}
	IO::Name name("Facetally");
	name.AppendExtension("txt");
	EXPECT_EQ(name.ToString(), "Facetally.txt");
}

TEST(LocationTest, PathsAreKeptWithoutTrailingSlashesAndEmptyOrNulPathsAreErrors)
{
	EXPECT_EQ(IO::Location("/opt/host/addons/Facetally.addon").GetStatus(), IO::Status::Ok);
	EXPECT_EQ(IO::Location("/opt/host/addons/Facetally.addon").ToPath(), "/opt/host/addons/Facetally.addon");
	EXPECT_EQ(IO::Location("/a/b//").ToPath(), "/a/b");
	EXPECT_EQ(IO::Location("/").ToPath(), "/");
	EXPECT_EQ(IO::Location().GetStatus(), IO::Status::BadPath);
	EXPECT_EQ(IO::Location("").GetStatus(), IO::Status::BadPath);
	EXPECT_EQ(IO::Location(std::string_view("/a\0b", 4)).GetStatus(), IO::Status::BadPath);
	IO::Location cleared("/a");
	cleared.Clear();
	EXPECT_EQ(cleared.GetStatus(), IO::Status::BadPath);
}

TEST(LocationTest, BadNamesAreRefused)
{
	IO::Location location("/a/b");
	for (const char* bad : {"", ".", "..", "x/y"}) {
		SCOPED_TRACE(bad);
		EXPECT_EQ(location.SetLastLocalName(IO::Name(bad)), IO::Status::BadName);
		EXPECT_EQ(location.AppendToLocal(IO::Name(bad)), IO::Status::BadName);
	}
	EXPECT_EQ(location.SetLastLocalName(IO::Name(std::string_view("a\0b", 3))), IO::Status::BadName);
	EXPECT_EQ(location.ToPath(), "/a/b") << "a refused name leaves the location as it was";
}

TEST(LocationTest, UpAndDownTheFolders)
{
	IO::Location location("/a/b");
	ASSERT_EQ(location.AppendToLocal(IO::Name("c.txt")), IO::Status::Ok);
	EXPECT_EQ(location.ToPath(), "/a/b/c.txt");
	ASSERT_EQ(location.DeleteLastLocalName(), IO::Status::Ok);
	ASSERT_EQ(location.DeleteLastLocalName(), IO::Status::Ok);
	EXPECT_EQ(location.ToPath(), "/a");
	ASSERT_EQ(location.DeleteLastLocalName(), IO::Status::Ok);
	EXPECT_EQ(location.ToPath(), "/");
	ASSERT_EQ(location.AppendToLocal(IO::Name("x")), IO::Status::Ok);
	EXPECT_EQ(location.ToPath(), "/x");
	EXPECT_EQ(IO::Location().AppendToLocal(IO::Name("x")), IO::Status::BadPath);
}

// Files in a folder of their own under the build folder, removed after each test.
class FileTest : public ::testing::Test {
protected:
	void SetUp() override
	{
		folder = std::filesystem::path(FACETALLY_BINARY_DIR) / "tests" / "platform" /
			("io_" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
		std::filesystem::remove_all(folder);
		std::filesystem::create_directories(folder);
	}
	void TearDown() override { std::filesystem::remove_all(folder); }

	IO::Location At(const std::string& name) const { return IO::Location((folder / name).string()); }

	void Write(const std::string& name, const std::string& bytes) const
	{
		std::ofstream(folder / name, std::ios::binary) << bytes;
	}

	std::filesystem::path folder;
};

TEST_F(FileTest, FilesThatCannotBeOpenedSayWhy)
{
	std::filesystem::create_directories(folder / "folder.txt");
	const struct {
		IO::Location location;
		IO::File::OnNotFound onNotFound;
		IO::Status status;
	} cases[] = {
		{At("absent.txt"), IO::File::OnNotFound::Fail, IO::Status::NotFound},
		// A missing folder on the way stops creation whoever runs the test.
		{At("no-such-folder/Facetally.txt"), IO::File::OnNotFound::Create, IO::Status::CannotCreate},
		{At("folder.txt"), IO::File::OnNotFound::Create, IO::Status::NotAFile},
		{IO::Location(), IO::File::OnNotFound::Create, IO::Status::BadPath},
	};
	for (const auto& row : cases) {
		SCOPED_TRACE(row.location.ToPath().ToStd());
		IO::File file(row.location, row.onNotFound);
		EXPECT_EQ(file.GetStatus(), row.status);
		EXPECT_EQ(file.Open(IO::File::OpenMode::Read), row.status);
		EXPECT_FALSE(file.IsOpen());
	}
	EXPECT_FALSE(std::filesystem::exists(folder / "absent.txt"));
}

TEST_F(FileTest, ReadingInPiecesAndPastTheEnd)
{
	Write("data.bin", "abcdef");
	IO::File file(At("data.bin"));
	ASSERT_EQ(file.Open(IO::File::OpenMode::Read), IO::Status::Ok);
	EXPECT_EQ(file.Open(IO::File::OpenMode::Read), IO::Status::AlreadyOpen);
	char buffer[8] = {};
	ASSERT_EQ(file.ReadBytes(buffer, 4), IO::Status::Ok);
	std::uint64_t available = 0;
	ASSERT_EQ(file.GetAvailableBytes(&available), IO::Status::Ok);
	EXPECT_EQ(available, 2u);
	std::uint64_t read = 0;
	EXPECT_EQ(file.ReadBytes(buffer + 4, 4, &read), IO::Status::EndOfFile);
	EXPECT_EQ(read, 2u);
	EXPECT_STREQ(buffer, "abcdef");
	EXPECT_EQ(file.ReadBytes(buffer, 0), IO::Status::Ok) << "nothing asked, nothing missing";
	EXPECT_EQ(file.ReadBytes(nullptr, 1), IO::Status::BadParameter);
	EXPECT_EQ(file.GetAvailableBytes(nullptr), IO::Status::BadParameter);
}

TEST_F(FileTest, ClosedFileRefusesReads)
{
	Write("data.bin", "abc");
	IO::File file(At("data.bin"));
	char byte = 0;
	std::uint64_t available = 7;
	EXPECT_EQ(file.ReadBytes(&byte, 1), IO::Status::NotOpen);
	EXPECT_EQ(file.GetAvailableBytes(&available), IO::Status::NotOpen);
	EXPECT_EQ(available, 0u);
	ASSERT_EQ(file.Open(IO::File::OpenMode::Read), IO::Status::Ok);
	ASSERT_EQ(file.Close(), IO::Status::Ok);
	EXPECT_EQ(file.ReadBytes(&byte, 1), IO::Status::NotOpen);
	ASSERT_EQ(file.Open(IO::File::OpenMode::Read), IO::Status::Ok) << "a closed file can be opened again";
	ASSERT_EQ(file.ReadBytes(&byte, 1), IO::Status::Ok);
	EXPECT_EQ(byte, 'a');
}

class LocationTableTest : public ::testing::Test {
protected:
	void SetUp() override { liveAtStart = IO::LiveLocationCount(); }
	void TearDown() override { EXPECT_EQ(IO::LiveLocationCount(), liveAtStart) << "a location was not released"; }

	std::size_t liveAtStart = 0;
};

TEST_F(LocationTableTest, PublishedLocationIsFoundByIdUntilReleasedOnce)
{
	const IO::LocationId id = IO::PublishLocation(IO::Location("/help/folder"));
	ASSERT_NE(id, IO::NoLocation);
	EXPECT_EQ(IO::LiveLocationCount(), liveAtStart + 1);
	IO::Location found;
	ASSERT_TRUE(IO::LookUpLocation(id, &found));
	EXPECT_EQ(found.ToPath(), "/help/folder");
	EXPECT_TRUE(IO::ReleaseLocation(id));
	EXPECT_FALSE(IO::ReleaseLocation(id));
	EXPECT_EQ(IO::LiveLocationCount(), liveAtStart);
	EXPECT_FALSE(IO::LookUpLocation(id, &found));
	EXPECT_EQ(found.GetStatus(), IO::Status::BadPath) << "a failed look-up clears the result";
	EXPECT_TRUE(IO::ReleaseLocation(IO::NoLocation));
	EXPECT_FALSE(IO::LookUpLocation(IO::NoLocation, nullptr));
}

} // namespace
