#include "LighterIfc.hpp"

#include "StepModel.hpp"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <set>
#include <unordered_map>
#include <unordered_set>

namespace IfcReading {

namespace {

constexpr std::string_view GlobalIdAlphabet = "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz_$";
// The smallest side of a box, in the file's units: a flat body still gets a closed box.
constexpr double ThinnestSide = 1e-4;

// Classes that point at geometry to show or group it, without the geometry needing them.
const std::set<std::string, std::less<>> PresentationClasses = {
	"IFCSTYLEDITEM", "IFCPRESENTATIONLAYERASSIGNMENT", "IFCPRESENTATIONLAYERWITHSTYLE"};

bool HasGlobalId(const StepInstance& instance)
{
	const StepValue* first = instance.Attribute(0);
	if (first == nullptr || first->kind != StepValue::Kind::Text || first->token.size() != 24)
		return false;
	return std::all_of(first->token.begin() + 1, first->token.end() - 1,
		[](char c) { return GlobalIdAlphabet.find(c) != std::string_view::npos; });
}

std::string RealText(double value)
{
	char buffer[64];
	auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 12);
	std::string text(buffer, error == std::errc() ? end : buffer);
	// STEP reals always hold a decimal point.
	if (text.find('.') == std::string::npos) {
		const std::size_t exponent = text.find('e');
		text.insert(exponent == std::string::npos ? text.size() : exponent, ".");
	}
	for (char& c : text)
		if (c == 'e')
			c = 'E';
	return text;
}

StepValue Real(double value)
{
	return StepValue::Token(RealText(value));
}

StepValue Point(std::initializer_list<double> coordinates)
{
	std::vector<StepValue> values;
	for (double c : coordinates)
		values.push_back(Real(c));
	return StepValue::List(std::move(values));
}

// A GlobalId made from a text, so an export of the same project names its additions alike.
std::string GlobalIdOf(std::string_view seed)
{
	std::uint64_t a = 0xcbf29ce484222325ULL, b = 0x84222325cbf29ce4ULL;
	for (unsigned char c : seed) {
		a = (a ^ c) * 0x100000001b3ULL;
		b = (b ^ c) * 0x100000001b3ULL ^ (a >> 29);
	}
	std::string id;
	id += GlobalIdAlphabet[(a >> 62) & 3];
	for (int i = 0; i < 21; ++i) {
		const std::uint64_t bits = i < 10 ? a >> (i * 6) : b >> ((i - 10) * 6);
		id += GlobalIdAlphabet[bits & 63];
	}
	return id;
}

StepInstance Make(std::string className, std::vector<StepValue> attributes)
{
	StepInstance instance;
	instance.className = std::move(className);
	instance.attributes = std::move(attributes);
	return instance;
}

class Lightening {
public:
	explicit Lightening(StepModel& edited) : model(edited)
	{
		StepIdSet referenced;
		for (const auto& [id, instance] : model.Instances())
			instance.ForEachReference([&referenced](long target) { referenced.insert(target); });
		for (const auto& [id, instance] : model.Instances()) {
			inSource.insert(id);
			alive.insert(id);
			if (HasGlobalId(instance))
				Keep(id);
			else if (!referenced.contains(id) && roots.insert(id))
				rootList.push_back(id);
			// A complex instance is kept as written, so what it names must stay.
			if (instance.className.empty())
				instance.ForEachReference([this](long target) { Keep(target); });
		}
		reachedBefore = Reach(false);
	}

	void Apply(const PartLightening& part)
	{
		if (part.level == DetailLevel::Detailed)
			return;
		if (part.level == DetailLevel::Simple) {
			// A body the engine gave nothing for has no bounds to box: it stays as read.
			if (!part.box)
				return;
			if (!part.maps.empty()) {
				if (PutBoxInMap(part.maps[0], *part.box))
					for (std::size_t i = 1; i < part.maps.size(); ++i)
						Remove(part.maps[i]);
			} else if (PutBoxOnProduct(part, *part.box)) {
				for (long body : part.absorbedBodies)
					Remove(body);
			}
			return;
		}
		for (long map : part.maps)
			Remove(map);
		Remove(part.ownBody);
		for (long body : part.absorbedBodies)
			Remove(body);
	}

	long AddNew(StepInstance instance)
	{
		const long id = model.Add(std::move(instance));
		alive.insert(id);
		Keep(id);
		return id;
	}

	// Takes out what no longer serves the building: until nothing more goes, the references
	// to removed instances are mended, and what nothing kept reaches is dropped.
	void Sweep()
	{
		for (bool changed = true; changed;) {
			changed = MendReferences();
			StepIdSet reached = Reach(false);
			changed = MendPresentation(reached) || changed;
			reached = Reach(true);
			for (auto it = model.Instances().begin(); it != model.Instances().end();)
				if (reached.contains(it->first)) {
					++it;
				} else {
					alive.erase(it->first);
					it = model.Instances().erase(it);
				}
		}
	}

private:
	void Keep(long id)
	{
		if (kept.insert(id))
			keptList.push_back(id);
	}

	void Remove(long id)
	{
		if (id == 0 || kept.contains(id))
			return;
		Erase(id);
	}

	void Erase(long id)
	{
		model.Instances().erase(id);
		alive.erase(id);
	}

	long AddBox(const BodyBox& box)
	{
		double size[3];
		for (int i = 0; i < 3; ++i)
			size[i] = std::max(box.max[static_cast<std::size_t>(i)] - box.min[static_cast<std::size_t>(i)], ThinnestSide);
		const long corner = AddNew(Make("IFCCARTESIANPOINT",
			{Point({(box.min[0] + box.max[0]) / 2, (box.min[1] + box.max[1]) / 2, box.min[2]})}));
		const long position = AddNew(Make(
			"IFCAXIS2PLACEMENT3D", {StepValue::Reference(corner), StepValue::Token("$"), StepValue::Token("$")}));
		const long centre = AddNew(Make("IFCCARTESIANPOINT", {Point({0.0, 0.0})}));
		const long profilePosition =
			AddNew(Make("IFCAXIS2PLACEMENT2D", {StepValue::Reference(centre), StepValue::Token("$")}));
		const long profile = AddNew(Make("IFCRECTANGLEPROFILEDEF", {StepValue::Token(".AREA."), StepValue::Token("$"),
			StepValue::Reference(profilePosition), Real(size[0]), Real(size[1])}));
		const long up = AddNew(Make("IFCDIRECTION", {Point({0.0, 0.0, 1.0})}));
		return AddNew(Make("IFCEXTRUDEDAREASOLID",
			{StepValue::Reference(profile), StepValue::Reference(position), StepValue::Reference(up), Real(size[2])}));
	}

	// A shape representation's items become the one box.
	void MakeBoxRepresentation(StepInstance& representation, long box)
	{
		if (const StepValue* items = representation.Attribute(3))
			for (long item : std::vector<long>(ReferencesIn(*items)))
				replacement.emplace(item, box);
		representation.attributes.resize(std::max<std::size_t>(representation.attributes.size(), 4));
		representation.attributes[1] = StepValue::Text("Body");
		representation.attributes[2] = StepValue::Text("SweptSolid");
		representation.attributes[3] = StepValue::List({StepValue::Reference(box)});
	}

	static std::vector<long> ReferencesIn(const StepValue& value)
	{
		std::vector<long> found;
		value.CollectReferences(found);
		return found;
	}

	StepInstance* RepresentationAt(const StepValue* value)
	{
		if (value == nullptr || value->kind != StepValue::Kind::Reference)
			return nullptr;
		StepInstance* instance = model.Find(value->reference);
		return instance && instance->className == "IFCSHAPEREPRESENTATION" ? instance : nullptr;
	}

	bool PutBoxInMap(long mapId, const BodyBox& box)
	{
		StepInstance* map = model.Find(mapId);
		if (map == nullptr || map->className != "IFCREPRESENTATIONMAP" || RepresentationAt(map->Attribute(1)) == nullptr)
			return false;
		const long solid = AddBox(box);
		MakeBoxRepresentation(*RepresentationAt(model.Find(mapId)->Attribute(1)), solid);
		return true;
	}

	bool PutBoxOnProduct(const PartLightening& part, const BodyBox& box)
	{
		if (StepInstance* own = model.Find(part.ownBody); own && own->className == "IFCSHAPEREPRESENTATION") {
			const long solid = AddBox(box);
			MakeBoxRepresentation(*model.Find(part.ownBody), solid);
			return true;
		}
		// A body of its own for an element whose parts had all of it, in their context.
		const StepInstance* product = model.Find(part.product);
		const StepValue* context = nullptr;
		for (long body : part.absorbedBodies)
			if (const StepInstance* representation = model.Find(body); representation && !context)
				context = representation->Attribute(0);
		if (product == nullptr || product->attributes.size() < 7 || context == nullptr ||
			context->kind != StepValue::Kind::Reference)
			return false;
		const long solid = AddBox(box);
		const long representation = AddNew(Make("IFCSHAPEREPRESENTATION",
			{*context, StepValue::Text("Body"), StepValue::Text("SweptSolid"),
				StepValue::List({StepValue::Reference(solid)})}));
		StepValue& shape = model.Find(part.product)->attributes[6];
		StepInstance* definition = shape.kind == StepValue::Kind::Reference ? model.Find(shape.reference) : nullptr;
		if (definition && definition->className == "IFCPRODUCTDEFINITIONSHAPE" && definition->attributes.size() >= 3 &&
			definition->attributes[2].kind == StepValue::Kind::List) {
			definition->attributes[2].items.push_back(StepValue::Reference(representation));
		} else {
			const long made = AddNew(Make("IFCPRODUCTDEFINITIONSHAPE",
				{StepValue::Token("$"), StepValue::Token("$"), StepValue::List({StepValue::Reference(representation)})}));
			model.Find(part.product)->attributes[6] = StepValue::Reference(made);
		}
		return true;
	}

	// References to removed instances: out of their lists; a list left empty, or a single
	// reference, takes its instance along, except an instance that stays (one with a GlobalId,
	// one a complex instance names), which keeps "$" instead. Answers whether an instance went.
	bool MendReferences()
	{
		std::vector<long> gone;
		for (auto& [id, instance] : model.Instances()) {
			bool emptied = false;
			mendingKept = kept.contains(id);
			for (StepValue& attribute : instance.attributes)
				emptied = MendValue(attribute, true) || emptied;
			if (emptied)
				gone.push_back(id);
		}
		mendingKept = false;
		for (long id : gone)
			Erase(id);
		return !gone.empty();
	}

	// Answers whether the value lost what it cannot do without; at the top, an instance that
	// stays keeps "$" instead.
	bool MendValue(StepValue& value, bool attribute)
	{
		bool lost = false;
		if (value.kind == StepValue::Kind::Reference) {
			// A reference the source left undefined is not ours to mend.
			lost = !alive.contains(value.reference) && inSource.contains(value.reference);
		} else if (value.kind == StepValue::Kind::List && !value.items.empty()) {
			std::erase_if(value.items, [this](StepValue& item) { return MendValue(item, false); });
			lost = value.items.empty();
		} else if (value.kind == StepValue::Kind::Typed && !value.items.empty()) {
			lost = MendValue(value.items[0], false);
		}
		if (lost && attribute && mendingKept) {
			value = StepValue::Token("$");
			return false;
		}
		return lost;
	}

	// What the kept instances reach; presentation instances count only when asked to.
	StepIdSet Reach(bool withPresentation)
	{
		StepIdSet reached;
		std::vector<const StepInstance*> open;
		auto start = [&](long id) {
			if (reached.contains(id))
				return;
			if (const StepInstance* instance = model.Find(id)) {
				reached.insert(id);
				open.push_back(instance);
			}
		};
		for (long id : keptList)
			start(id);
		for (long id : rootList)
			if (const StepInstance* root = model.Find(id); root && !PresentationClasses.contains(root->className))
				start(id);
		if (withPresentation)
			for (const auto& [id, instance] : model.Instances())
				if (PresentationClasses.contains(instance.className))
					start(id);
		while (!open.empty()) {
			const StepInstance* instance = open.back();
			open.pop_back();
			instance->ForEachReference(start);
		}
		return reached;
	}

	// Styles and layers of geometry that is no longer reached move to the box that replaced it,
	// or go.
	bool MendPresentation(const StepIdSet& reached)
	{
		std::vector<long> gone;
		for (auto& [id, instance] : model.Instances()) {
			if (!PresentationClasses.contains(instance.className))
				continue;
			auto moved = [&](long target) -> long {
				// Geometry only styles or layers held in the source stays as it was.
				if (reached.contains(target) || !reachedBefore.contains(target))
					return target;
				auto box = replacement.find(target);
				return box == replacement.end() ? 0 : box->second;
			};
			if (instance.className == "IFCSTYLEDITEM") {
				if (instance.attributes.empty() || instance.attributes[0].kind != StepValue::Kind::Reference)
					continue;
				const long target = moved(instance.attributes[0].reference);
				if (target == 0)
					gone.push_back(id);
				else
					instance.attributes[0].reference = target;
			} else if (instance.attributes.size() >= 3 && instance.attributes[2].kind == StepValue::Kind::List) {
				std::vector<StepValue> items;
				std::set<long> seen;
				for (StepValue& item : instance.attributes[2].items) {
					const long target = item.kind == StepValue::Kind::Reference ? moved(item.reference) : 0;
					if (target != 0 && seen.insert(target).second)
						items.push_back(StepValue::Reference(target));
				}
				if (items.empty())
					gone.push_back(id);
				instance.attributes[2].items = std::move(items);
			}
		}
		for (long id : gone)
			Erase(id);
		return !gone.empty();
	}

	StepModel& model;
	bool mendingKept = false; // the instance being mended stays whatever it loses
	StepIdSet kept;  // with a GlobalId, named by a complex instance, or added
	StepIdSet roots; // instances of the source nothing referred to
	std::vector<long> keptList, rootList; // the same, to go through
	std::unordered_map<long, long> replacement; // replaced body item → its box
	StepIdSet reachedBefore; // what the source's building reached
	StepIdSet inSource;      // every instance the source defines
	StepIdSet alive;         // every instance the model holds now
};

// A STEP text of any characters: plain ones as they are, others in the \X2\ or \X4\ form.
StepValue EncodedText(std::string_view utf8)
{
	std::string plain;
	for (std::size_t i = 0; i < utf8.size();) {
		const auto lead = static_cast<unsigned char>(utf8[i]);
		const int length = lead < 0x80 ? 1 : lead >> 5 == 6 ? 2 : lead >> 4 == 14 ? 3 : lead >> 3 == 30 ? 4 : 0;
		if (length == 0 || i + static_cast<std::size_t>(length) > utf8.size()) {
			plain += '?';
			++i;
			continue;
		}
		std::uint32_t code = length == 1 ? lead : lead & (0x7Fu >> length);
		for (int k = 1; k < length; ++k)
			code = code << 6 | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3Fu);
		i += static_cast<std::size_t>(length);
		if (code >= 0x20 && code < 0x7F) {
			plain += static_cast<char>(code);
			if (code == '\\')
				plain += '\\';
		} else {
			char escaped[24];
			std::snprintf(escaped, sizeof escaped, code > 0xFFFF ? "\\X4\\%08X\\X0\\" : "\\X2\\%04X\\X0\\", code);
			plain += escaped;
		}
	}
	return StepValue::Text(plain);
}

void StampHeader(StepModel& model, const ExportNames& names)
{
	std::vector<StepValue>& fileName = model.FileName();
	if (fileName.size() > 0)
		fileName[0] = EncodedText(names.fileName);
	if (fileName.size() > 1)
		fileName[1] = StepValue::Text(names.timeStamp);
	if (fileName.size() > 4)
		fileName[4] = StepValue::Text(ExportingSystem);
}

using PropertyValues = std::vector<std::pair<std::string, StepValue>>;

PropertyValues ModuleDataValues(const ModuleDataProperties& data)
{
	return {{ModuleBytesProperty, StepValue::Typed("IFCTEXT", StepValue::Text(HexOfBytes(data.bytes)))},
		{ModuleDataVersionProperty, StepValue::Typed("IFCINTEGER", StepValue::Token(std::to_string(data.dataVersion)))},
		{ModulePlatformMarkProperty,
			StepValue::Typed("IFCINTEGER", StepValue::Token(std::to_string(data.platformMark)))}};
}

// The project's property set of this name, with these values: the one an earlier export
// wrote, or a new one.
void StoreProjectProperties(
	StepModel& model, Lightening& lightening, long project, const std::string& setName, const PropertyValues& values)
{
	for (auto& [id, relation] : model.Instances()) {
		if (relation.className != "IFCRELDEFINESBYPROPERTIES" || relation.attributes.size() < 6 ||
			relation.attributes[5].kind != StepValue::Kind::Reference)
			continue;
		std::vector<long> related;
		relation.attributes[4].CollectReferences(related);
		const long setId = relation.attributes[5].reference;
		StepInstance* set = model.Find(setId);
		if (std::find(related.begin(), related.end(), project) == related.end() || set == nullptr ||
			set->className != "IFCPROPERTYSET" || set->attributes.size() < 5 ||
			set->attributes[2].PlainText() != setName || set->attributes[4].kind != StepValue::Kind::List)
			continue;
		std::vector<long> properties;
		set->attributes[4].CollectReferences(properties);
		for (const auto& [name, value] : values) {
			StepInstance* found = nullptr;
			for (long property : properties)
				if (StepInstance* single = model.Find(property); single &&
					single->className == "IFCPROPERTYSINGLEVALUE" && single->attributes.size() >= 3 &&
					single->attributes[0].PlainText() == name)
					found = single;
			if (found) {
				found->attributes[2] = value;
			} else {
				const long added = lightening.AddNew(Make("IFCPROPERTYSINGLEVALUE",
					{StepValue::Text(name), StepValue::Token("$"), value, StepValue::Token("$")}));
				model.Find(setId)->attributes[4].items.push_back(StepValue::Reference(added));
			}
		}
		return;
	}
	const StepInstance* projectInstance = model.Find(project);
	const std::string projectId = projectInstance->attributes[0].PlainText();
	const StepValue owner = projectInstance->attributes.size() > 1 ? projectInstance->attributes[1] : StepValue::Token("$");
	std::vector<StepValue> properties;
	for (const auto& [name, value] : values)
		properties.push_back(StepValue::Reference(lightening.AddNew(Make("IFCPROPERTYSINGLEVALUE",
			{StepValue::Text(name), StepValue::Token("$"), value, StepValue::Token("$")}))));
	const long set = lightening.AddNew(Make("IFCPROPERTYSET",
		{StepValue::Text(GlobalIdOf(projectId + "/set/" + setName)), owner, EncodedText(setName), StepValue::Token("$"),
			StepValue::List(std::move(properties))}));
	lightening.AddNew(Make("IFCRELDEFINESBYPROPERTIES",
		{StepValue::Text(GlobalIdOf(projectId + "/relation/" + setName)), owner, StepValue::Token("$"),
			StepValue::Token("$"), StepValue::List({StepValue::Reference(project)}), StepValue::Reference(set)}));
}

std::string LevelsText(const std::vector<PartLightening>& parts)
{
	std::string text;
	for (const PartLightening& part : parts)
		if (part.level != DetailLevel::Detailed && !part.key.empty())
			text += part.key + "=" + (part.level == DetailLevel::Simple ? SimpleLevelName : OffLevelName) + ";";
	return text;
}

} // namespace

std::string HexOfBytes(const std::vector<std::uint8_t>& bytes)
{
	static constexpr char Digits[] = "0123456789ABCDEF";
	std::string text;
	text.reserve(bytes.size() * 2);
	for (std::uint8_t byte : bytes) {
		text += Digits[byte >> 4];
		text += Digits[byte & 15];
	}
	return text;
}

std::optional<std::vector<std::uint8_t>> BytesOfHex(std::string_view hex)
{
	auto digit = [](char c) {
		return c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
	};
	if (hex.size() % 2 != 0)
		return std::nullopt;
	std::vector<std::uint8_t> bytes;
	bytes.reserve(hex.size() / 2);
	for (std::size_t i = 0; i < hex.size(); i += 2) {
		const int high = digit(hex[i]), low = digit(hex[i + 1]);
		if (high < 0 || low < 0)
			return std::nullopt;
		bytes.push_back(static_cast<std::uint8_t>(high * 16 + low));
	}
	return bytes;
}

std::optional<std::string> LighterIfcText(std::string_view source, const std::vector<PartLightening>& parts,
	const std::vector<ModuleDataProperties>& moduleData, const ExportNames& names, std::string& problem)
{
	std::optional<StepModel> model = StepModel::Parse(source, problem);
	if (!model)
		return std::nullopt;
	long project = 0;
	for (const auto& [id, instance] : model->Instances())
		if (instance.className == "IFCPROJECT" && HasGlobalId(instance)) {
			project = id;
			break;
		}
	if (project == 0) {
		problem = "the file has no IfcProject";
		return std::nullopt;
	}

	Lightening lightening(*model);
	for (const PartLightening& part : parts)
		lightening.Apply(part);
	for (const ModuleDataProperties& data : moduleData)
		StoreProjectProperties(*model, lightening, project, data.addOnName, ModuleDataValues(data));
	StoreProjectProperties(*model, lightening, project, LevelsPropertySet,
		{{LevelsProperty, StepValue::Typed("IFCTEXT", EncodedText(LevelsText(parts)))}});
	StampHeader(*model, names);
	lightening.Sweep();
	return model->Text();
}

} // namespace IfcReading
