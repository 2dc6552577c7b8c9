// Fuzz target: the geometry block the converter hands the host with an IFC project, as the
// host reads it before keeping and serving it.
//
// Checked beyond "no crash": a refusal says why; an accepted block writes back to a block
// that reads back the same, and every mesh an element can show lies inside the block.
#include "FuzzCheck.hpp"

#include "ModelGeometry.hpp"

#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	const std::string_view block(reinterpret_cast<const char*>(data), size);
	std::string problem;
	const std::unique_ptr<ReferenceHost::ModelGeometry> geometry = ReferenceHost::ModelGeometry::FromBlock(block, problem);
	if (geometry == nullptr) {
		FUZZ_CHECK(!problem.empty());
		return 0;
	}
	const std::string written = geometry->Block();
	const std::unique_ptr<ReferenceHost::ModelGeometry> again = ReferenceHost::ModelGeometry::FromBlock(written, problem);
	FUZZ_CHECK(again != nullptr && again->Block() == written);
	for (const ReferenceHost::GeometryInstance& instance : geometry->instances)
		for (const char* level : {"Detailed", "Simple", "Off"}) {
			const std::int32_t mesh = geometry->MeshAt(instance, level);
			FUZZ_CHECK(mesh >= -1 && mesh < static_cast<std::int32_t>(geometry->meshes.meshes.size()));
		}
	return 0;
}
