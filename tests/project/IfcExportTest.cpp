// A project read from IFC exported as a lighter IFC file and read back: the counts the person
// saw, the levels chosen, and everything of the building that is not its parts' geometry, as
// it was; exports the host refuses leave nothing written.
#include "IfcExportFile.hpp"
#include "ProjectTestSupport.hpp"
#include "StepModel.hpp"

#include <algorithm>
#include <map>
#include <set>

namespace ReferenceHost::Testing {
namespace {

using IfcReading::StepInstance;
using IfcReading::StepModel;
using IfcReading::StepValue;

std::filesystem::path DuplexFile()
{
	return std::filesystem::path(FACETALLY_SOURCE_DIR) / "examples" / "duplex.ifc";
}

StepModel ModelOf(const std::filesystem::path& file)
{
	std::string problem;
	std::optional<StepModel> model = StepModel::Parse(ReadWholeFile(file), problem);
	if (!model)
		throw std::runtime_error(file.string() + ": " + problem);
	return std::move(*model);
}

std::map<std::string, long> ClassCounts(const StepModel& model)
{
	std::map<std::string, long> counts;
	for (const auto& [id, instance] : model.Instances())
		++counts[instance.className];
	return counts;
}

// The classes of the source's geometry: representations, maps, shapes and all they reach.
std::set<std::string> GeometryClasses(const StepModel& model)
{
	static const std::set<std::string> Starts = {"IFCSHAPEREPRESENTATION", "IFCREPRESENTATIONMAP",
		"IFCPRODUCTDEFINITIONSHAPE", "IFCSTYLEDITEM", "IFCPRESENTATIONLAYERASSIGNMENT", "IFCMAPPEDITEM"};
	std::set<std::string> classes;
	std::set<long> seen;
	std::vector<long> open;
	for (const auto& [id, instance] : model.Instances())
		if (Starts.contains(instance.className))
			open.push_back(id);
	while (!open.empty()) {
		const long id = open.back();
		open.pop_back();
		const StepInstance* instance = model.Find(id);
		if (instance == nullptr || !seen.insert(id).second)
			continue;
		classes.insert(instance->className);
		for (long target : instance->References())
			open.push_back(target);
	}
	return classes;
}

std::set<std::string> GlobalIds(const StepModel& model)
{
	std::set<std::string> ids;
	for (const auto& [id, instance] : model.Instances())
		if (const StepValue* first = instance.Attribute(0);
			first && first->kind == StepValue::Kind::Text && first->token.size() == 24)
			ids.insert(first->PlainText());
	return ids;
}

// An instance's text with each reference replaced by the text of what it refers to.
std::string Resolved(const StepModel& model, const StepValue& value)
{
	if (value.kind == StepValue::Kind::Reference) {
		const StepInstance* target = model.Find(value.reference);
		return target ? target->className + Resolved(model, StepValue::List(target->attributes)) : "?";
	}
	if (value.kind != StepValue::Kind::List && value.kind != StepValue::Kind::Typed)
		return IfcReading::StepValueText(value);
	std::string text = value.token + "(";
	for (const StepValue& item : value.items)
		text += Resolved(model, item) + ",";
	return text + ")";
}

// The property sets each object has, by the relation's GlobalId: the objects' GlobalIds and
// the set's properties.
std::map<std::string, std::string> PropertySets(const StepModel& model)
{
	std::map<std::string, std::string> sets;
	for (const auto& [id, instance] : model.Instances()) {
		if (instance.className != "IFCRELDEFINESBYPROPERTIES")
			continue;
		std::string text;
		for (const StepValue& object : instance.attributes[4].items)
			text += model.Find(object.reference)->attributes[0].PlainText() + " ";
		sets[instance.attributes[0].PlainText()] = text + Resolved(model, instance.attributes[5]);
	}
	return sets;
}

class IfcExportTest : public ProjectHostTest {
protected:
	void OpenOrFail(const std::filesystem::path& file)
	{
		const Outcome opened = host->OpenProject(file);
		ASSERT_TRUE(opened.ok) << opened.problem;
	}

	// Sets every placement of the named part to the level, as Set Level of Detail does.
	void SetLevel(const std::string& partName, const std::string& level)
	{
		Project& project = CurrentProject();
		std::int32_t index = 0;
		for (const LibraryPart& part : project.LibraryParts())
			if (part.name == partName)
				index = part.index;
		ASSERT_NE(index, 0) << partName;
		for (std::int32_t type = 0; type < ElementTypeCount; ++type)
			for (const Element& element : project.ElementsOf(type))
				if (element.libPartIndex == index) {
					std::string problem;
					ASSERT_TRUE(project.SetElementParameter(element.Id(), "detail3D", level, problem)) << problem;
				}
	}

	// Polygons per element type and per library part (by name), and each part's models.
	std::map<std::string, std::int64_t> Counts()
	{
		const Project& project = CurrentProject();
		std::map<std::string, std::int64_t> counts;
		for (std::int32_t type = 0; type < ElementTypeCount; ++type)
			for (const Element& element : project.ElementsOf(type)) {
				counts["type " + std::to_string(type)] += project.PolygonsOf(element);
				if (const LibraryPart* part = project.PartOf(element))
					counts[part->name] += project.PolygonsOf(element);
			}
		return counts;
	}

	std::string LevelOf(const std::string& partName)
	{
		const Project& project = CurrentProject();
		for (std::int32_t type = 0; type < ElementTypeCount; ++type)
			for (const Element& element : project.ElementsOf(type))
				if (const LibraryPart* part = project.PartOf(element); part && part->name == partName)
					return FindParameter(element.parameters, "detail3D")->text;
		return "(no placement)";
	}

	const LibraryPart& Part(const std::string& name)
	{
		for (const LibraryPart& part : CurrentProject().LibraryParts())
			if (part.name == name)
				return part;
		throw std::logic_error("no part " + name);
	}
};

TEST_F(IfcExportTest, TheLighterFileCountsWhatThePaletteShowedAndKeepsEverythingElse)
{
	OpenOrFail(DuplexFile());
	SetLevel("1000 mm (2)", "Simple");
	SetLevel("1000mm (3)", "Simple");
	SetLevel("819mm x 759mm", "Off");
	CurrentProject().StoreModuleData("Probe", {7, 0x5657, {0x00, 0x41, 0xFF}});
	const std::map<std::string, std::int64_t> shown = Counts();
	const std::filesystem::path exported = scratch / "duplex-light.ifc";
	const Outcome done = host->ExportLighterIfc(exported);
	ASSERT_TRUE(done.ok) << done.problem;
	EXPECT_EQ(host->SessionTranscript().Texts(TranscriptKind::Notice).back().rfind(
				  "Exported \"duplex-light.ifc\" (IFC2X3): 2 library parts as a box (\"Simple\"), 1 without a body (\"Off\"), ",
				  0),
		0u);
	EXPECT_EQ(CurrentProject().File(), DuplexFile()); // an export, not a save

	OpenOrFail(exported);
	EXPECT_EQ(Counts(), shown);
	EXPECT_EQ(Part("1000 mm (2)").models.at("Detailed"), (ComponentList {6}));
	EXPECT_TRUE(Part("819mm x 759mm").models.at("Detailed").empty());
	EXPECT_EQ(LevelOf("1000 mm (2)"), "Simple");
	EXPECT_EQ(LevelOf("1000mm (3)"), "Simple");
	EXPECT_EQ(LevelOf("819mm x 759mm"), "Off");
	ASSERT_NE(CurrentProject().FindModuleData("Probe"), nullptr);
	EXPECT_EQ(*CurrentProject().FindModuleData("Probe"), (ModuleDataBlock {7, 0x5657, {0x00, 0x41, 0xFF}}));

	const StepModel source = ModelOf(DuplexFile());
	const StepModel light = ModelOf(exported);
	const std::set<std::string> kept = GlobalIds(light), all = GlobalIds(source);
	EXPECT_TRUE(std::includes(kept.begin(), kept.end(), all.begin(), all.end()));
	// Our two property sets on the project, with three and one properties.
	std::map<std::string, long> expected = ClassCounts(source);
	expected["IFCPROPERTYSET"] += 2;
	expected["IFCRELDEFINESBYPROPERTIES"] += 2;
	expected["IFCPROPERTYSINGLEVALUE"] += 4;
	const std::set<std::string> geometry = GeometryClasses(source);
	std::map<std::string, long> found = ClassCounts(light);
	for (const std::string& name : geometry) {
		expected.erase(name);
		found.erase(name);
	}
	EXPECT_EQ(found, expected);
	const std::map<std::string, std::string> before = PropertySets(source), after = PropertySets(light);
	for (const auto& [globalId, text] : before)
		EXPECT_EQ(after.at(globalId), text) << globalId;
	EXPECT_LT(std::filesystem::file_size(exported), std::filesystem::file_size(DuplexFile()));
}

TEST_F(IfcExportTest, EveryPartDetailedReopensToTheSourceAndAnExportOfAnExportReplacesItsSets)
{
	OpenOrFail(DuplexFile());
	const std::map<std::string, std::int64_t> source = Counts();
	ASSERT_TRUE(host->ExportLighterIfc(scratch / "same.ifc").ok);
	OpenOrFail(scratch / "same.ifc");
	EXPECT_EQ(Counts(), source);

	SetLevel("1000 mm (2)", "Simple");
	ASSERT_TRUE(host->ExportLighterIfc(scratch / "again.ifc").ok);
	const std::map<std::string, long> once = ClassCounts(ModelOf(scratch / "same.ifc"));
	const std::map<std::string, long> twice = ClassCounts(ModelOf(scratch / "again.ifc"));
	EXPECT_EQ(twice.at("IFCPROPERTYSET"), once.at("IFCPROPERTYSET"));
	OpenOrFail(scratch / "again.ifc");
	EXPECT_EQ(LevelOf("1000 mm (2)"), "Simple");
	EXPECT_EQ(Counts().at("1000 mm (2)"), 4 * 6);
}

// The office's walls are cut by openings, and the engine's cuts depend on memory addresses:
// its export with every part a box must still count each wall as the source did.
TEST_F(IfcExportTest, EveryPartABoxKeepsTheCountOfEveryCutWall)
{
	OpenOrFail(std::filesystem::path(FACETALLY_SOURCE_DIR) / "tests" / "project" / "ifc" / "Office_A_20110811.ifc");
	for (const LibraryPart& part : std::vector<LibraryPart>(CurrentProject().LibraryParts()))
		SetLevel(part.name, "Simple");
	const std::map<std::string, std::int64_t> shown = Counts();
	const std::size_t elements = CurrentProject().TotalElementCount();
	ASSERT_TRUE(host->ExportLighterIfc(scratch / "office-boxes.ifc").ok);
	OpenOrFail(scratch / "office-boxes.ifc");
	EXPECT_EQ(Counts(), shown);
	EXPECT_EQ(CurrentProject().TotalElementCount(), elements);
}

TEST_F(IfcExportTest, RefusedExportsSayWhyAndWriteNothing)
{
	const std::filesystem::path source = scratch / "duplex.ifc";
	std::filesystem::copy_file(DuplexFile(), source);
	const std::string other = "not a building\n";
	WriteWholeFile(scratch / "notes.ifc", other);

	EXPECT_NE(host->ExportLighterIfc(scratch / "x.ifc").problem.find("No project is open"), std::string::npos);
	Open(SmallProjectText);
	EXPECT_NE(host->ExportLighterIfc(scratch / "x.ifc").problem.find("was not read from an IFC file"),
		std::string::npos);
	OpenOrFail(source);
	const struct {
		std::filesystem::path target;
		std::string problem;
	} refused[] = {
		{source, "it is the IFC file the project was read from"},
		{scratch / "missing" / "x.ifc", "the folder " + (scratch / "missing").string() + " does not exist"},
		{scratch / "x.json", "A lighter IFC file is written as .ifc"},
		{scratch / "notes.ifc", "it is not a lighter IFC file exported before"},
	};
	for (const auto& [target, problem] : refused) {
		const Outcome outcome = host->ExportLighterIfc(target);
		EXPECT_FALSE(outcome.ok) << target;
		EXPECT_NE(outcome.problem.find(problem), std::string::npos) << outcome.problem;
	}
	EXPECT_EQ(ReadWholeFile(source), ReadWholeFile(DuplexFile()));
	EXPECT_EQ(ReadWholeFile(scratch / "notes.ifc"), other);
	EXPECT_FALSE(std::filesystem::exists(scratch / "missing"));
	EXPECT_FALSE(std::filesystem::exists(scratch / "x.json"));
	EXPECT_FALSE(std::filesystem::exists(scratch / "x.ifc"));
	// Asked for, it replaces the other file.
	EXPECT_TRUE(host->ExportLighterIfc(scratch / "notes.ifc", true).ok);
	EXPECT_TRUE(IsLighterIfcFile(scratch / "notes.ifc"));
}

} // namespace
} // namespace ReferenceHost::Testing
