// The lightening of an IFC file's text on a small building of two placements of one type: what
// a part's level does to its maps, their styles and the placements' shapes, and what stays.
#include "LighterIfc.hpp"
#include "StepModel.hpp"

#include <gtest/gtest.h>

namespace IfcReading {
namespace {

// A type with one body map (a brep with a style) and a plan map; two placements map both; an
// orphan solid that only a style holds; a layer holding the brep.
constexpr const char* Building = R"(ISO-10303-21;
HEADER;
FILE_DESCRIPTION((''),'2;1');
FILE_NAME('in.ifc','2020-01-01T00:00:00',('a'),('b'),'Maker 1.0','Maker','');
FILE_SCHEMA(('IFC2X3'));
ENDSEC;
DATA;
#1=IFCPROJECT('0YvctVUKr0kugbFTf53O9L',#2,'P',$,$,$,$,$,$);
#2=IFCOWNERHISTORY($,$,$,.ADDED.,$,$,$,0);
#3=IFCGEOMETRICREPRESENTATIONCONTEXT($,'Model',3,1.E-05,#4,$);
#4=IFCAXIS2PLACEMENT3D(#5,$,$);
#5=IFCCARTESIANPOINT((0.,0.,0.));
#10=IFCFURNITURETYPE('1YvctVUKr0kugbFTf53O9L',#2,'Chair',$,$,$,(#11,#12),$,$,$);
#11=IFCREPRESENTATIONMAP(#4,#13);
#12=IFCREPRESENTATIONMAP(#4,#14);
#13=IFCSHAPEREPRESENTATION(#3,'Body','Brep',(#15));
#14=IFCSHAPEREPRESENTATION(#3,'Plan','Curve2D',(#16));
#15=IFCFACETEDBREP(#17);
#16=IFCPOLYLINE((#5,#5));
#17=IFCCLOSEDSHELL((#18));
#18=IFCFACE((#19));
#19=IFCFACEOUTERBOUND(#20,.T.);
#20=IFCPOLYLOOP((#5,#5,#5));
#21=IFCSTYLEDITEM(#15,(#22),$);
#22=IFCPRESENTATIONSTYLEASSIGNMENT(());
#23=IFCSTYLEDITEM(#24,(#22),$);
#24=IFCEXTRUDEDAREASOLID($,$,$,1.);
#25=IFCPRESENTATIONLAYERASSIGNMENT('L',$,(#15),$);
#30=IFCFURNISHINGELEMENT('2YvctVUKr0kugbFTf53O9L',#2,'A',$,$,$,#32,$);
#31=IFCFURNISHINGELEMENT('3YvctVUKr0kugbFTf53O9L',#2,'B',$,$,$,#33,$);
#32=IFCPRODUCTDEFINITIONSHAPE($,$,(#34,#36));
#33=IFCPRODUCTDEFINITIONSHAPE($,$,(#35));
#34=IFCSHAPEREPRESENTATION(#3,'Body','MappedRepresentation',(#37));
#35=IFCSHAPEREPRESENTATION(#3,'Body','MappedRepresentation',(#38));
#36=IFCSHAPEREPRESENTATION(#3,'Plan','MappedRepresentation',(#39));
#37=IFCMAPPEDITEM(#11,#40);
#38=IFCMAPPEDITEM(#11,#40);
#39=IFCMAPPEDITEM(#12,#40);
#40=IFCCARTESIANTRANSFORMATIONOPERATOR3D($,$,#5,1.,$);
#41=IFCRELDEFINESBYTYPE('4YvctVUKr0kugbFTf53O9L',#2,$,$,(#30,#31),#10);
ENDSEC;
END-ISO-10303-21;
)";

StepModel Lightened(DetailLevel level, const std::vector<ModuleDataProperties>& data = {}, bool bounded = true)
{
	PartLightening part;
	part.level = level;
	part.key = "1YvctVUKr0kugbFTf53O9L";
	part.maps = {11};
	if (bounded)
		part.box = BodyBox {{-1, -2, 0}, {1, 2, 3}};
	std::string problem;
	const std::optional<std::string> text =
		LighterIfcText(Building, {part}, data, {"out.ifc", "2026-12-07T10:00:00"}, problem);
	EXPECT_TRUE(text) << problem;
	std::optional<StepModel> model = StepModel::Parse(text.value_or(""), problem);
	EXPECT_TRUE(model) << problem;
	return model ? std::move(*model) : StepModel {};
}

std::string Text(const StepModel& model, long id)
{
	const StepInstance* instance = model.Find(id);
	return instance ? instance->className + StepValueText(StepValue::List(instance->attributes)) : "(gone)";
}

TEST(LighterIfcTest, SimplePutsABoxInTheMapWithItsStyleAndLayerAndDropsTheBrep)
{
	const StepModel model = Lightened(DetailLevel::Simple);
	const std::string shape = Text(model, 13);
	EXPECT_EQ(shape.rfind("IFCSHAPEREPRESENTATION(#3,'Body','SweptSolid',(#", 0), 0u) << shape;
	const long box = model.Find(13)->attributes[3].items[0].reference;
	EXPECT_EQ(model.Find(box)->className, "IFCEXTRUDEDAREASOLID");
	EXPECT_EQ(Text(model, 21), "IFCSTYLEDITEM(#" + std::to_string(box) + ",(#22),$)");
	EXPECT_EQ(Text(model, 25), "IFCPRESENTATIONLAYERASSIGNMENT('L',$,(#" + std::to_string(box) + "),$)");
	for (long gone : {15, 17, 18, 19, 20})
		EXPECT_EQ(Text(model, gone), "(gone)") << gone;
	// The 4 by 2 by 3 box, centred on the body's bounds in plan, from its bottom up.
	const StepInstance& solid = *model.Find(box);
	EXPECT_EQ(StepValueText(solid.attributes[3]), "3.");
	EXPECT_EQ(Text(model, solid.attributes[1].reference).find("IFCAXIS2PLACEMENT3D(#"), 0u);
	EXPECT_NE(Text(model, model.Find(solid.attributes[0].reference)->attributes[2].reference), "(gone)");
	EXPECT_EQ(StepValueText(model.Find(solid.attributes[0].reference)->attributes[3]), "2.");
	EXPECT_EQ(StepValueText(model.Find(solid.attributes[0].reference)->attributes[4]), "4.");
}

TEST(LighterIfcTest, SimpleWithoutBoundsLeavesTheBodyAsRead)
{
	const StepModel model = Lightened(DetailLevel::Simple, {}, false);
	EXPECT_EQ(Text(model, 13), "IFCSHAPEREPRESENTATION(#3,'Body','Brep',(#15))");
	EXPECT_EQ(Text(model, 21), "IFCSTYLEDITEM(#15,(#22),$)");
}

TEST(LighterIfcTest, OffTakesTheBodyOutOfTheTypeAndThePlacementsKeepingTheirOtherShapes)
{
	const StepModel model = Lightened(DetailLevel::Off);
	EXPECT_EQ(Text(model, 10), "IFCFURNITURETYPE('1YvctVUKr0kugbFTf53O9L',#2,'Chair',$,$,$,(#12),$,$,$)");
	EXPECT_EQ(Text(model, 32), "IFCPRODUCTDEFINITIONSHAPE($,$,(#36))");
	// B had only its body: its shape goes and the element keeps "$".
	EXPECT_EQ(Text(model, 31), "IFCFURNISHINGELEMENT('3YvctVUKr0kugbFTf53O9L',#2,'B',$,$,$,$,$)");
	for (long gone : {11, 13, 15, 21, 25, 33, 34, 35, 37, 38})
		EXPECT_EQ(Text(model, gone), "(gone)") << gone;
	// What the source held beside the building stays: the orphan solid and its style.
	EXPECT_NE(Text(model, 23), "(gone)");
	EXPECT_NE(Text(model, 24), "(gone)");
	EXPECT_NE(Text(model, 41), "(gone)");
}

TEST(LighterIfcTest, TheHeaderNamesTheExportAndTheProjectCarriesModuleDataAndLevels)
{
	const StepModel model = Lightened(DetailLevel::Simple, {{"Facetally", 2, 0x5657, {0x01, 0xAB}}});
	std::string header;
	for (const StepValue& value : model.FileName())
		header += StepValueText(value) + ",";
	EXPECT_EQ(header, "'out.ifc','2026-12-07T10:00:00',('a'),('b'),'Facetally','Maker','',");
	std::string properties;
	for (const auto& [id, instance] : model.Instances())
		if (instance.className == "IFCPROPERTYSINGLEVALUE")
			properties += StepValueText(instance.attributes[0]) + "=" + StepValueText(instance.attributes[2]) + " ";
	EXPECT_EQ(properties, "'Bytes'=IFCTEXT('01AB') 'DataVersion'=IFCINTEGER(2) 'PlatformMark'=IFCINTEGER(22103) "
						  "'Levels'=IFCTEXT('1YvctVUKr0kugbFTf53O9L=Simple;') ");
}

} // namespace
} // namespace IfcReading
