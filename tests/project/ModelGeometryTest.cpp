// The geometry block read back: a sound one whole, a damaged or short one refused with a reason.
#include "ModelGeometry.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>

namespace ReferenceHost {
namespace {

ModelGeometry OnePartTwice()
{
	ModelGeometry geometry;
	const std::int32_t mesh = geometry.meshes.Add({0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 2}, {0, 1, 2, 0, 2, 3});
	geometry.parts.push_back({mesh, -1});
	geometry.instances.push_back({{6, 1}, 1, -1, IdentityTransform});
	geometry.instances.push_back({{6, 2}, 1, -1, IdentityTransform});
	return geometry;
}

TEST(ModelGeometry, ABlockReadsBackAndItsPartsGetBoxes)
{
	ModelGeometry geometry = OnePartTwice();
	std::string problem;
	auto read = ModelGeometry::FromBlock(geometry.Block(), problem);
	ASSERT_NE(read, nullptr) << problem;
	EXPECT_EQ(read->Block(), geometry.Block());
	read->AddPartBoxes();
	EXPECT_EQ(read->meshes.TriangleCount(read->MeshAt(read->instances[0], "Simple")), 12U);
	EXPECT_EQ(read->MeshAt(read->instances[1], "Off"), -1);
	EXPECT_EQ(read->meshes.TriangleCount(read->MeshAt(read->instances[1], "Detailed")), 2U);
}

TEST(ModelGeometry, DamagedBlocksAreRefused)
{
	const std::string block = OnePartTwice().Block();
	const std::size_t indices = block.size() - 6 * 4;
	const struct {
		const char* what;
		std::function<std::string(std::string)> damage;
		const char* problem;
	} cases[] = {
		{"empty", [](std::string) { return std::string(); }, "does not begin as geometry does"},
		{"other magic", [](std::string b) { return b.replace(0, 1, "X"); }, "does not begin as geometry does"},
		{"cut short", [](std::string b) { return b.substr(0, b.size() - 1); }, "cut short"},
		{"bytes after", [](std::string b) { return b + "x"; }, "bytes after its end"},
		{"huge count", [](std::string b) { return b.replace(8, 4, "\xff\xff\xff\xff", 4); }, "more than a building"},
		{"corner outside", [&](std::string b) { return b.replace(indices, 4, "\x09\0\0\0", 4); }, "corner its mesh does not have"},
		{"part's mesh outside", [](std::string b) { return b.replace(32 + 16, 4, "\x05\0\0\0", 4); }, "names a mesh"},
	};
	for (const auto& test : cases) {
		std::string problem;
		EXPECT_EQ(ModelGeometry::FromBlock(test.damage(block), problem), nullptr) << test.what;
		EXPECT_NE(problem.find(test.problem), std::string::npos) << test.what << ": " << problem;
	}
}

} // namespace
} // namespace ReferenceHost
