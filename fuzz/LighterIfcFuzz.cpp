// Fuzz target: an IFC file's text through the export's own reading and editing: the STEP
// model, and the lightening of a part whose maps and body the input chooses.
//
// Checked beyond "no crash": the model's text reads back as the same model; a lighter file
// reads back, keeps every GlobalId of its source, and refers to nothing it does not define.
#include "FuzzCheck.hpp"

#include "LighterIfc.hpp"
#include "StepModel.hpp"

#include <cstdint>
#include <set>
#include <string>

namespace {

using namespace IfcReading;

std::set<std::string> GlobalIds(const StepModel& model)
{
	std::set<std::string> ids;
	for (const auto& [id, instance] : model.Instances())
		if (const StepValue* first = instance.Attribute(0);
			first && first->kind == StepValue::Kind::Text && first->token.size() == 24 &&
			first->token.find_first_not_of(
				"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$", 1) == first->token.size() - 1)
			ids.insert(first->token);
	return ids;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
	const std::string text(reinterpret_cast<const char*>(data), size);
	std::string problem;
	const std::optional<StepModel> model = StepModel::Parse(text, problem);
	if (!model) {
		FUZZ_CHECK(!problem.empty());
		return 0;
	}
	const std::string written = model->Text();
	const std::optional<StepModel> again = StepModel::Parse(written, problem);
	FUZZ_CHECK(again && again->Text() == written);

	// The input's first map and first shape are a part's, at a level its size chooses.
	PartLightening part;
	part.level = size % 3 == 0 ? DetailLevel::Detailed : size % 3 == 1 ? DetailLevel::Simple : DetailLevel::Off;
	part.box = BodyBox {{0, 0, 0}, {1, 2, 3}};
	for (const auto& [id, instance] : model->Instances()) {
		if (instance.className == "IFCREPRESENTATIONMAP" && part.maps.empty())
			part.maps.push_back(id);
		if (instance.className == "IFCSHAPEREPRESENTATION" && part.ownBody == 0)
			part.ownBody = id;
		if (instance.className == "IFCFURNISHINGELEMENT" && part.product == 0)
			part.product = id;
	}
	if (size % 2 == 0)
		part.maps.clear();
	const std::optional<std::string> lighter =
		LighterIfcText(text, {part}, {{"Fuzz", 1, 2, {3}}}, {"fuzz.ifc", "2026-01-01T00:00:00"}, problem);
	if (!lighter) {
		FUZZ_CHECK(!problem.empty());
		return 0;
	}
	const std::optional<StepModel> result = StepModel::Parse(*lighter, problem);
	FUZZ_CHECK(result.has_value());
	const std::set<std::string> before = GlobalIds(*model), after = GlobalIds(*result);
	for (const std::string& id : before)
		FUZZ_CHECK(after.contains(id));
	for (const auto& [id, instance] : result->Instances())
		for (long target : instance.References())
			FUZZ_CHECK(result->Find(target) != nullptr || model->Find(target) == nullptr);
	return 0;
}
