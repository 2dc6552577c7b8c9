// Memory handles and blocks of the root library: ids, zero filling, resizing and the live
// counts that prove everything handed out came back.
#include "VX/Memory.hpp"

#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <vector>

namespace {

class MemoryHandleTest : public ::testing::Test {
protected:
	void SetUp() override { liveAtStart = VX::LiveHandleCount(); }
	void TearDown() override { EXPECT_EQ(VX::LiveHandleCount(), liveAtStart) << "a handle leaked"; }

	std::size_t liveAtStart = 0;
};

TEST_F(MemoryHandleTest, AllocatedHandleIsZeroFilledAndCounted)
{
	const VX::HandleId handle = VX::AllocateHandle(64);
	ASSERT_NE(handle, VX::NoHandle);
	EXPECT_EQ(VX::LiveHandleCount(), liveAtStart + 1);
	EXPECT_EQ(VX::GetHandleSize(handle), 64u);
	const auto* bytes = static_cast<const unsigned char*>(VX::GetHandleData(handle));
	ASSERT_NE(bytes, nullptr);
	for (std::size_t i = 0; i < 64; ++i)
		EXPECT_EQ(bytes[i], 0u) << "byte " << i;
	EXPECT_TRUE(VX::FreeHandle(handle));
	EXPECT_EQ(VX::LiveHandleCount(), liveAtStart);
}

TEST_F(MemoryHandleTest, ResizeKeepsContentAndZeroesGrowth)
{
	const VX::HandleId handle = VX::AllocateHandle(4);
	std::memcpy(VX::GetHandleData(handle), "abcd", 4);
	ASSERT_TRUE(VX::ResizeHandle(handle, 10));
	EXPECT_EQ(VX::GetHandleSize(handle), 10u);
	const auto* bytes = static_cast<const char*>(VX::GetHandleData(handle));
	EXPECT_EQ(std::memcmp(bytes, "abcd\0\0\0\0\0\0", 10), 0);
	ASSERT_TRUE(VX::ResizeHandle(handle, 2));
	EXPECT_EQ(VX::GetHandleSize(handle), 2u);
	EXPECT_EQ(std::memcmp(VX::GetHandleData(handle), "ab", 2), 0);
	EXPECT_EQ(VX::LiveHandleCount(), liveAtStart + 1);
	VX::FreeHandle(handle);
}

TEST_F(MemoryHandleTest, NoHandleAndStaleIdsAreHarmlessAndNotReusedAtOnce)
{
	EXPECT_TRUE(VX::FreeHandle(VX::NoHandle));
	const VX::HandleId handle = VX::AllocateHandle(8);
	EXPECT_TRUE(VX::FreeHandle(handle));
	EXPECT_FALSE(VX::FreeHandle(handle)) << "a second free must be refused";
	EXPECT_EQ(VX::GetHandleSize(handle), 0u);
	EXPECT_EQ(VX::GetHandleData(handle), nullptr);
	EXPECT_FALSE(VX::ResizeHandle(handle, 16));
	EXPECT_EQ(VX::GetHandleData(VX::NoHandle), nullptr);
	const VX::HandleId next = VX::AllocateHandle(1);
	EXPECT_NE(next, handle) << "a stale id would name the new handle";
	VX::FreeHandle(next);
}

class MemoryBlockTest : public ::testing::Test {
protected:
	void SetUp() override { liveAtStart = VX::LiveBlockCount(); }
	void TearDown() override { EXPECT_EQ(VX::LiveBlockCount(), liveAtStart) << "a block leaked"; }

	std::size_t liveAtStart = 0;
};

TEST_F(MemoryBlockTest, BlocksAreZeroFilledCountedAndFreedOnceAndForeignPointersLeftAlone)
{
	void* block = VX::AllocateBlock(32);
	ASSERT_NE(block, nullptr);
	EXPECT_EQ(VX::LiveBlockCount(), liveAtStart + 1);
	const auto* bytes = static_cast<const unsigned char*>(block);
	for (std::size_t i = 0; i < 32; ++i)
		EXPECT_EQ(bytes[i], 0u);
	EXPECT_TRUE(VX::FreeBlock(block));
	EXPECT_EQ(VX::LiveBlockCount(), liveAtStart);
	EXPECT_FALSE(VX::FreeBlock(block));
	int notABlock = 0;
	EXPECT_FALSE(VX::FreeBlock(&notABlock));
	EXPECT_TRUE(VX::FreeBlock(nullptr));
	void* empty = VX::AllocateBlock(0);
	ASSERT_NE(empty, nullptr);
	EXPECT_TRUE(VX::FreeBlock(empty));
}

} // namespace
