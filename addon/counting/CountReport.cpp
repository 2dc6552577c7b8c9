// The report lines of a counting run, laid out in columns.
#include "counting/CountReport.hpp"

#include "counting/NumberFormat.hpp"
#include "counting/RowOrder.hpp"
#include "shell/ResourceModuleScope.hpp"
#include "shell/ShellServices.hpp"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::int32_t ReportStringList = 152;
constexpr std::size_t NameColumn = 30;
constexpr std::size_t CountColumn = 40;
constexpr std::size_t ObjectsHeaderColumn = 50;
constexpr std::size_t PolygonColumn = 60;
constexpr std::string_view TypeIndent = "    ";

struct ReportTexts {
	char totalPolygons[256];
	char nameHeader[256];
	char objectsHeader[256];
	char polygonsHeader[256];
};

// Loaded for each report; the texts live with the add-on rather than on the stack.
ReportTexts& Texts()
{
	static ReportTexts texts {};
	const ResourceModuleScope scope;
	LoadResourceString(ReportStringList, 1, texts.totalPolygons);
	LoadResourceString(ReportStringList, 2, texts.nameHeader);
	LoadResourceString(ReportStringList, 3, texts.objectsHeader);
	LoadResourceString(ReportStringList, 4, texts.polygonsHeader);
	return texts;
}

ReportLineBuilder& Line()
{
	static ReportLineBuilder line;
	line.Clear();
	return line;
}

void Write(const ReportLineBuilder& line)
{
	WriteHostReportLine(line.Text());
}

std::uint32_t Shown(std::int32_t count)
{
	return count > 0 ? static_cast<std::uint32_t>(count) : 0u;
}

} // namespace

void ReportLineBuilder::Append(std::string_view added)
{
	const std::size_t taken = std::min(added.size(), Capacity - length);
	// An empty view may have no data at all, which memcpy must not be handed.
	if (taken > 0)
		std::memcpy(text + length, added.data(), taken);
	length += taken;
}

void ReportLineBuilder::FillTo(std::size_t column)
{
	const std::size_t end = std::min(column, Capacity);
	if (length < end) {
		std::memset(text + length, ' ', end - length);
		length = end;
	}
}

void ReportLineBuilder::CountLine(
	std::string_view prefix, std::string_view name, std::int32_t count, std::int32_t polygons)
{
	Append(prefix);
	Append(name);
	FillTo(NameColumn);
	Append(" (");
	const VX::String countText = FormatCount(Shown(count));
	FillTo(CountColumn > countText.GetLength() ? CountColumn - countText.GetLength() : 0);
	Append(countText.View());
	Append(")");
	Append(" : ");
	const VX::String polygonText = FormatCount(Shown(polygons));
	FillTo(PolygonColumn > polygonText.GetLength() ? PolygonColumn - polygonText.GetLength() : 0);
	Append(polygonText.View());
}

void BuildSortedRows(CountResult& result, API_ElemTypeID bookingType)
{
	const VX::HashTable<long, LibRow>* rows = result.partRows.GetPtr(bookingType);
	if (rows == nullptr || rows->IsEmpty()) {
		result.sortedRows.Put(bookingType, std::vector<LibRow>());
		return;
	}
	result.sortedRows.Put(bookingType, OrderRows(*rows));
	for (const LibRow& row : result.sortedRows[bookingType]) {
		ReportLineBuilder& line = Line();
		line.CountLine({}, row.name.View(), row.objects, row.polygons);
		Write(line);
	}
}

void WriteCountReport(CountResult& result)
{
	const ReportTexts& texts = Texts();

	WriteHostReportLine({});

	ReportLineBuilder& total = Line();
	total.Append(texts.totalPolygons);
	total.Append(FormatCount(Shown(result.totalPolygons)).View());
	Write(total);

	ReportLineBuilder& header = Line();
	header.Append(texts.nameHeader);
	header.FillTo(NameColumn);
	header.Append(texts.objectsHeader);
	header.FillTo(ObjectsHeaderColumn);
	header.Append(texts.polygonsHeader);
	Write(header);

	WriteHostReportLine({});

	for (const API_ElemTypeID type : ElementTypes::Shown) {
		ReportLineBuilder& line = Line();
		const auto place = static_cast<std::size_t>(type);
		line.CountLine(TypeIndent, ElementTypeName(type), result.elementsPerType[place], result.polygonsPerType[place]);
		Write(line);
		if (IsRowBearingType(type))
			BuildSortedRows(result, type);
	}

	WriteHostReportLine({});
}
