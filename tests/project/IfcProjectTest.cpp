// IFC files opened in the host through the converter program: what a building becomes, that
// it becomes the same on every run, how a project read from IFC is saved, and files that are
// refused with the open project left as it was.
#include "IfcProjectFile.hpp"
#include "PlanarFaces.hpp"
#include "ProjectFile.hpp"
#include "ProjectTestSupport.hpp"
#include "Win/LocaleSettings.hpp"

#include <clocale>
#include <cmath>
#include <map>
#include <numeric>

namespace ReferenceHost::Testing {
namespace {

std::filesystem::path TestIfc(const std::string& name)
{
	return std::filesystem::path(FACETALLY_SOURCE_DIR) / "tests" / "project" / "ifc" / name;
}

std::filesystem::path DuplexFile()
{
	return std::filesystem::path(FACETALLY_SOURCE_DIR) / "examples" / "duplex.ifc";
}

// Everything counting depends on, as one text: stories, each element's type, story, part
// and polygons, each part's models.
std::string Fingerprint(const Project& project)
{
	std::string text = std::to_string(project.StoryList().first) + ".." + std::to_string(project.StoryList().last);
	for (const std::string& name : project.StoryList().names)
		text += "|" + name;
	for (std::int32_t type = 0; type < ElementTypeCount; ++type)
		for (const Element& element : project.ElementsOf(type))
			text += "\n" + std::to_string(type) + ":" + std::to_string(element.index) + " s" +
				std::to_string(element.story) + " p" + std::to_string(element.libPartIndex) + " " +
				std::to_string(project.PolygonsOf(element));
	for (const LibraryPart& part : project.LibraryParts()) {
		text += "\n" + part.name + " " + part.uniqueId;
		for (const auto& [value, model] : part.models)
			for (std::int32_t polygons : model)
				text += " " + value + std::to_string(polygons);
	}
	return text;
}

class IfcOpenTest : public ProjectHostTest {
protected:
	std::string LastNotice() const
	{
		const auto notices = host->SessionTranscript().Texts(TranscriptKind::Notice);
		return notices.empty() ? std::string() : notices.back();
	}
	void OpenOrFail(const std::filesystem::path& file)
	{
		const Outcome opened = host->OpenProject(file);
		ASSERT_TRUE(opened.ok) << opened.problem;
	}
	std::int64_t Polygons(std::int32_t type) const
	{
		std::int64_t sum = 0;
		for (const Element& element : host->CurrentProject()->ElementsOf(type))
			sum += host->CurrentProject()->PolygonsOf(element);
		return sum;
	}
};

TEST_F(IfcOpenTest, TheDuplexBecomesStoriesTypedElementsAndPartsWithLevelsOfDetail)
{
	OpenOrFail(DuplexFile());
	const Project& project = CurrentProject();
	EXPECT_EQ(project.IfcSchema(), "IFC2X3");
	EXPECT_EQ(project.StoryList().first, -1);
	EXPECT_EQ(project.StoryList().last, 2);
	EXPECT_EQ(project.StoryList().names, (std::vector<std::string> {"T/FDN", "Level 1", "Level 2", "Roof"}));
	EXPECT_EQ(project.ElementCount(HostSdk::ElementTypes::Door), 14);
	EXPECT_EQ(project.ElementCount(HostSdk::ElementTypes::Window), 24);
	EXPECT_EQ(project.ElementCount(HostSdk::ElementTypes::Zone), 21); // spaces
	EXPECT_EQ(project.ElementCount(HostSdk::ElementTypes::Roof), 1);  // its slabs are its components

	// Every window is placed from a window type, and a type's placements share its model.
	std::map<std::int32_t, int> placements;
	for (const Element& window : project.ElementsOf(HostSdk::ElementTypes::Window)) {
		const LibraryPart* part = project.PartOf(window);
		ASSERT_NE(part, nullptr);
		EXPECT_EQ(part->typeId, HostSdk::ElementTypes::Window);
		EXPECT_EQ(part->modelParameter, "detail3D");
		EXPECT_EQ(part->file, DuplexFile().string());
		EXPECT_EQ(part->models.at("Simple"), ComponentList {6});
		EXPECT_TRUE(part->models.at("Off").empty());
		EXPECT_EQ(
			project.PolygonsOf(window), std::accumulate(part->model.begin(), part->model.end(), std::int64_t {0}));
		++placements[part->index];
	}
	EXPECT_GT(placements.size(), 1u);
	EXPECT_LT(placements.size(), 24u);

	// Elements on the storey that contains them, also through a space, as the file says.
	const struct {
		const char* globalId;
		std::int16_t story;
	} contained[] = {
		{"2O2Fr$t4X7Zf8NOew3FK80", -1}, // a foundation wall in T/FDN
		{"2O2Fr$t4X7Zf8NOew3FNtn", 0},  // an exterior wall in Level 1
		{"2O2Fr$t4X7Zf8NOew3FKau", 1},  // a party wall in Level 2
		{"0jf0rYHfX3RAB3bSIRjmxl", 2},  // the roof
		{"2gRXFgjRn2HPE$YoDLX0vP", 0},  // a vanity cabinet in bathroom A104, a space of Level 1
	};
	for (const auto& [globalId, story] : contained) {
		const Element* found = nullptr;
		for (std::int32_t type = 0; type < ElementTypeCount && found == nullptr; ++type)
			for (const Element& element : project.ElementsOf(type))
				if (element.unknownFields.find(globalId) != std::string::npos)
					found = &element;
		ASSERT_NE(found, nullptr) << globalId;
		EXPECT_EQ(found->story, story) << globalId;
	}

	const std::string notice = LastNotice();
	EXPECT_EQ(notice.rfind("Project \"duplex.ifc\" opened (IFC2X3): 229 elements on 4 stories, ", 0), 0u) << notice;
	EXPECT_NE(notice.find(" polygons"), std::string::npos) << notice;
}

TEST_F(IfcOpenTest, TheSameFileGivesTheSameProjectOnEveryRun)
{
	for (const std::filesystem::path& file : {DuplexFile(), TestIfc("Office_A_20110811.ifc")}) {
		OpenOrFail(file);
		const std::string first = Fingerprint(CurrentProject());
		for (int run = 1; run < 5; ++run) {
			OpenOrFail(file);
			ASSERT_EQ(Fingerprint(CurrentProject()), first) << file << " run " << run;
		}
	}
}

TEST_F(IfcOpenTest, EverySampleFileOpensWithGeometry)
{
	for (const char* name : {"slab-standard-case.ifc", "beam-extruded-solid.ifc", "basin-tessellation.ifc",
			 "air-terminal-element.ifc", "Office_A_20110811.ifc"}) {
		OpenOrFail(TestIfc(name));
		EXPECT_EQ(CurrentProject().IfcSchema(), std::string(name).starts_with("Office") ? "IFC2X3" : "IFC4");
		EXPECT_EQ(LastNotice().find("without geometry"), std::string::npos) << LastNotice();
	}
	// The slab's profile is an indexed poly curve with two arcs: top, bottom, two straight
	// sides and each arc's facets.
	OpenOrFail(TestIfc("slab-standard-case.ifc"));
	EXPECT_EQ(Polygons(HostSdk::ElementTypes::Slab), 8);

	// A zipped file reads as the file inside it.
	OpenOrFail(TestIfc("beam-extruded-solid.ifc"));
	const std::string unzipped = Fingerprint(CurrentProject());
	OpenOrFail(TestIfc("beam-extruded-solid.ifczip"));
	EXPECT_EQ(Fingerprint(CurrentProject()), unzipped);
	WriteWholeFile(scratch / "bad.ifczip", ReadWholeFile(TestIfc("beam-extruded-solid.ifc")));
	EXPECT_NE(
		host->OpenProject(scratch / "bad.ifczip").problem.find("bad.ifczip: not a zip archive"), std::string::npos);
}

TEST_F(IfcOpenTest, AFaceListingItsHoleFirstKeepsItsOutlineAndABodyOfNothingIsCounted)
{
	OpenOrFail(TestIfc("odd-faces.ifc"));
	EXPECT_EQ(Polygons(HostSdk::ElementTypes::Object), 6); // the block's six faces, the holed top one too
	EXPECT_NE(LastNotice().find(", 6 polygons, 1 element without geometry the reader can convert"), std::string::npos)
		<< LastNotice();
}

TEST_F(IfcOpenTest, AProjectReadFromIfcIsSavedOnlyAsAProjectFileAndReopensTheSame)
{
	OpenOrFail(DuplexFile());
	const std::string read = Fingerprint(CurrentProject());
	const Outcome saved = host->SaveProject();
	EXPECT_FALSE(saved.ok);
	EXPECT_NE(saved.problem.find("save it as a project file"), std::string::npos) << saved.problem;
	EXPECT_FALSE(host->SaveProjectAs(scratch / "copy.ifc").ok);
	EXPECT_FALSE(std::filesystem::exists(scratch / "copy.ifc"));

	ASSERT_TRUE(host->SaveProjectAs(scratch / "duplex.json").ok);
	EXPECT_TRUE(host->SaveProject().ok); // now a project file of its own
	OpenOrFail(scratch / "duplex.json");
	EXPECT_EQ(Fingerprint(CurrentProject()), read);
}

TEST_F(IfcOpenTest, AStoppedReadingLeavesTheOpenProjectAsItWas)
{
	OpenOrFail(SampleProjectFile());
	host->StopIfcReadingAt(50);
	const Outcome stopped = host->OpenProject(DuplexFile());
	EXPECT_FALSE(stopped.ok);
	EXPECT_NE(stopped.problem.find("was stopped"), std::string::npos) << stopped.problem;
	EXPECT_EQ(CurrentProject().Name(), "sample-project.json");
	EXPECT_TRUE(host->SessionTranscript().Contains(
		TranscriptKind::Progress, "Reading \"duplex.ifc\"... (stopped by the person with the bar at 51 of 229)"));
}

// The small slab file with pieces of its text replaced.
std::string SlabWith(std::initializer_list<std::pair<std::string, std::string>> replacements)
{
	std::string text = ReadWholeFile(TestIfc("slab-standard-case.ifc"));
	for (const auto& [from, to] : replacements) {
		const std::size_t at = text.find(from);
		if (at == std::string::npos)
			throw std::logic_error("the slab file has no " + from);
		text.replace(at, from.size(), to);
	}
	return text;
}

TEST_F(IfcOpenTest, DamagedFilesAreRefusedByNameAndPlace)
{
	const std::string slab = ReadWholeFile(TestIfc("slab-standard-case.ifc"));
	const struct {
		const char* what;
		std::string text;
		const char* problem;
	} cases[] = {
		{"empty", "", "bad.ifc: the file is empty"},
		{"not STEP", "{\"format\": \"facetally-project\"}", "bad.ifc: not an IFC file in STEP form"},
		{"truncated", slab.substr(0, slab.size() / 2), "may have been cut short"},
		{"unknown schema", SlabWith({{"FILE_SCHEMA (('IFC4'))", "FILE_SCHEMA (('IFC9'))"}}), "unknown schema \"IFC9\""},
		{"dangling reference", SlabWith({{"IFCEXTRUDEDAREASOLID(#310,", "IFCEXTRUDEDAREASOLID(#999,"}}),
			"#314 IFCEXTRUDEDAREASOLID refers to #999, which the file does not define"},
		{"unterminated string", SlabWith({{"'Slab Perim',#308);", "'Slab Perim,#308);"}}),
			"#310 IFCARBITRARYCLOSEDPROFILEDEF: a text that is never closed"},
		{"cyclic placements",
			SlabWith({{"#51= IFCLOCALPLACEMENT($,", "#51= IFCLOCALPLACEMENT(#307,"},
				{"#307= IFCLOCALPLACEMENT($,", "#307= IFCLOCALPLACEMENT(#51,"}}),
			"#51 IFCLOCALPLACEMENT: placements relative to each other in a cycle"},
		{"huge coordinate", SlabWith({{"#304= IFCCARTESIANPOINT((0.0,", "#304= IFCCARTESIANPOINT((1e308,"}}),
			"#304 IFCCARTESIANPOINT: a coordinate out of range"},
	};
	OpenOrFail(SampleProjectFile());
	for (const auto& bad : cases) {
		WriteWholeFile(scratch / "bad.ifc", bad.text);
		const Outcome refused = host->OpenProject(scratch / "bad.ifc");
		EXPECT_FALSE(refused.ok) << bad.what;
		EXPECT_NE(refused.problem.find(bad.problem), std::string::npos) << bad.what << ": " << refused.problem;
		EXPECT_EQ(CurrentProject().Name(), "sample-project.json") << bad.what;
		EXPECT_EQ(host->SessionTranscript().Texts(TranscriptKind::Progress).back(),
			"Reading \"bad.ifc\"... (closed: it failed)")
			<< bad.what;
	}
	// What is not a regular file is refused before the converter starts.
	std::filesystem::create_directory(scratch / "folder.ifc");
	const Outcome folder = host->OpenProject(scratch / "folder.ifc");
	EXPECT_EQ(folder.problem.rfind("Cannot read the IFC file " + (scratch / "folder.ifc").string() + ": ", 0), 0u)
		<< folder.problem;
}

TEST_F(IfcOpenTest, AClassIfc4DroppedIsSkippedAndCounted)
{
	std::string text = ReadWholeFile(TestIfc("Office_A_20110811.ifc"));
	text.insert(text.find("ENDSEC;", text.find("DATA;")),
		"#999999= IFCELECTRICALELEMENT('2O2Fr$t4X7Zf8NOew3FNr2',$,$,$,$,$,$,$);\n");
	WriteWholeFile(scratch / "older.ifc", text);
	OpenOrFail(scratch / "older.ifc");
	EXPECT_NE(LastNotice().find("1 entity of classes the reader does not know skipped"), std::string::npos)
		<< LastNotice();
}

TEST_F(IfcOpenTest, OpeningLeavesTheProcessLocaleAndRegionalSettingsAsTheyWere)
{
	const std::string before = std::setlocale(LC_ALL, nullptr);
	const Win::LocaleSettings settings = Win::UserLocaleSettings();
	OpenOrFail(TestIfc("beam-extruded-solid.ifc"));
	EXPECT_EQ(std::setlocale(LC_ALL, nullptr), before);
	EXPECT_EQ(Win::UserLocaleSettings(), settings);
}

// ---- Planar faces ---------------------------------------------------------------------------

IfcReading::FaceMesh Prism(int sides, bool triangulateCaps)
{
	// A regular n-gon extruded by 1; caps as one face each or as fans of triangles.
	IfcReading::FaceMesh mesh;
	for (int level = 0; level < 2; ++level)
		for (int i = 0; i < sides; ++i)
			mesh.positions.push_back({std::cos(2 * M_PI * i / sides), std::sin(2 * M_PI * i / sides), double(level)});
	const auto n = static_cast<std::uint32_t>(sides);
	for (std::uint32_t i = 0; i < n; ++i)
		mesh.faces.push_back({i, (i + 1) % n, n + (i + 1) % n, n + i});
	std::vector<std::uint32_t> bottom, top;
	for (std::uint32_t i = 0; i < n; ++i) {
		bottom.push_back(n - 1 - i);
		top.push_back(n + i);
	}
	if (!triangulateCaps) {
		mesh.faces.push_back(bottom);
		mesh.faces.push_back(top);
		return mesh;
	}
	for (const auto& cap : {bottom, top})
		for (std::size_t i = 1; i + 1 < cap.size(); ++i)
			mesh.faces.push_back({cap[0], cap[i], cap[i + 1]});
	return mesh;
}

TEST(PlanarFacesTest, CoplanarNeighboursAreOnePolygonAndBentFacesCountTheirTriangles)
{
	EXPECT_EQ(IfcReading::CountPlanarFaces(Prism(4, false)), 6);
	EXPECT_EQ(IfcReading::CountPlanarFaces(Prism(4, true)), 6);
	EXPECT_EQ(IfcReading::CountPlanarFaces(Prism(7, true)), 9);

	IfcReading::FaceMesh reversed = Prism(7, true);
	std::reverse(reversed.faces.begin(), reversed.faces.end());
	EXPECT_EQ(IfcReading::CountPlanarFaces(reversed), 9);

	// A quad whose corner is lifted is no plane: its two triangles.
	IfcReading::FaceMesh bent;
	bent.positions = {{0, 0, 0}, {1, 0, 0}, {1, 1, 0.5}, {0, 1, 0}};
	bent.faces = {{0, 1, 2, 3}};
	EXPECT_EQ(IfcReading::CountPlanarFaces(bent), 2);

	// Two coplanar triangles that touch only at a corner stay two polygons.
	IfcReading::FaceMesh corner;
	corner.positions = {{0, 0, 0}, {1, 0, 0}, {0, 1, 0}, {-1, 0, 0}, {0, -1, 0}};
	corner.faces = {{0, 1, 2}, {0, 3, 4}};
	EXPECT_EQ(IfcReading::CountPlanarFaces(corner), 2);
}

} // namespace
} // namespace ReferenceHost::Testing
