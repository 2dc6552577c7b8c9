// Fuzz target: the reference host's project file reader on arbitrary text.
//
// Checked beyond "no crash": a refused text gets one message that names the file and a place;
// an accepted project written as a file reads back, and that file written again is the same
// text (nothing the reader took is lost or changed by the writer); a project read and written
// leaves no memory handle alive.
#include "FuzzCheck.hpp"

#include "ProjectFile.hpp"

#include "VX/Memory.hpp"

#include <cstdint>
#include <string>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	const std::string_view text(reinterpret_cast<const char*>(data), size);
	const std::size_t liveHandles = VX::LiveHandleCount();
	{
		std::string problem;
		const auto project = ReferenceHost::ParseProjectText(text, "fuzz.json", problem);
		if (project == nullptr) {
			FUZZ_CHECK(problem.rfind("fuzz.json: at ", 0) == 0);
		} else {
			FUZZ_CHECK(problem.empty());
			const std::string written = ReferenceHost::ProjectText(*project);
			std::string again;
			const auto reread = ReferenceHost::ParseProjectText(written, "written.json", again);
			FUZZ_CHECK(reread != nullptr);
			FUZZ_CHECK(ReferenceHost::ProjectText(*reread) == written);
		}
	}
	FUZZ_CHECK(VX::LiveHandleCount() == liveHandles);
	return 0;
}
