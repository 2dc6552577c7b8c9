// The add-on's error message dialog on its own resources: the texts of both constructors, the
// dialog as a person sees it, and its answer, true only for a shown box ticked and OK.
#include "lod/Dlg_ErrorMessage.hpp"
#include "shell/ModuleState.hpp"

#include "DG/DG.hpp"
#include "VX/ResourceManager.hpp"

#include "OwnModuleResources.hpp"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <memory>

namespace {

constexpr const char* CheckBoxLabel = "Do not show again";

class ErrorMessageDialog : public ::testing::Test {
protected:
	void SetUp() override
	{
		ASSERT_TRUE(resources.Added()) << "the module's resources are linked into this program";
		DG::ClearShownModalDialogs();
	}
	void TearDown() override { DG::ClearShownModalDialogs(); }

	static std::string FirstText(const DG::Panel& dialog) { return DG::LeftText(dialog, 3).GetText(); }
	static std::string SecondText(const DG::Panel& dialog) { return DG::LeftText(dialog, 4).GetText(); }
	static bool CheckBoxShown(const DG::Panel& dialog) { return DG::CheckBox(dialog, 5).IsVisible(); }

	OwnModuleResources resources;
	DG::QueuedUserAgent agent;
	DG::UserAgentScope agentScope {agent};
};

TEST_F(ErrorMessageDialog, StringListFormShowsItemsOneAndTwoOfEachList)
{
	const struct {
		std::int16_t list;
		const char* first;
		const char* second;
	} messages[] = {
		{130, "Facetally.txt:",
			"Two or three parameter values are required, each between double quote marks (\"), after the parameter "
			"name!\r\n"},
		{131, "Facetally.txt:", "File not found and cannot be created!"},
		{132, "Facetally.txt:", "Two parameters are equal in a row!"},
		{133, "Operation failed!", "An error occured while changing an element's level of detail!"},
		{134, "Error", "A library part is missing!"},
	};
	for (const auto& message : messages) {
		SCOPED_TRACE("string list " + std::to_string(message.list));
		Dlg_ErrorMessage dialog(message.list, message.list == 134);
		EXPECT_EQ(FirstText(dialog), message.first);
		EXPECT_EQ(SecondText(dialog), message.second);
		EXPECT_EQ(CheckBoxShown(dialog), message.list == 134);
	}
}

TEST_F(ErrorMessageDialog, TextsComeFromTheModulesResourcesWhateverModuleIsActive)
{
	const VX::ResourceModuleId previous = RSGetActiveModule();
	RSSetActiveModule(VX::NoResourceModule);
	Dlg_ErrorMessage dialog(132, false);
	EXPECT_EQ(SecondText(dialog), "Two parameters are equal in a row!");
	EXPECT_EQ(RSGetActiveModule(), VX::NoResourceModule);
	RSSetActiveModule(previous);
}

// The dialog answers true only for a shown box a person ticked and then OK.
TEST_F(ErrorMessageDialog, AnswersTrueOnlyForATickedShownBoxAndOk)
{
	using Steps = std::function<void(DG::User&)>;
	const struct {
		const char* what;
		bool numberForm, boxShown, tickedByCode;
		Steps steps; // empty: no person answers
		bool answer;
	} cases[] = {
		{"a hidden box cannot be ticked", false, false, false,
			[](DG::User& user) {
				EXPECT_FALSE(user.SetCheck(CheckBoxLabel, true));
				EXPECT_FALSE(user.Click(5));
				EXPECT_TRUE(user.Click("OK"));
			},
			false},
		{"a hidden box ticked by code", false, false, true, [](DG::User& user) { EXPECT_TRUE(user.Click("OK")); },
			false},
		{"ticked and OK", false, true, false,
			[](DG::User& user) {
				EXPECT_TRUE(user.SetCheck(CheckBoxLabel, true));
				EXPECT_TRUE(user.Click("OK"));
			},
			true},
		{"the number form, ticked and OK", true, true, false,
			[](DG::User& user) {
				EXPECT_TRUE(user.SetCheck(CheckBoxLabel, true));
				EXPECT_TRUE(user.Click("OK"));
			},
			true},
		{"ticked, cleared and OK", false, true, false,
			[](DG::User& user) {
				EXPECT_TRUE(user.SetCheck(CheckBoxLabel, true));
				EXPECT_TRUE(user.SetCheck(CheckBoxLabel, false));
				EXPECT_TRUE(user.Click("OK"));
			},
			false},
		{"ticked and closed without OK", false, true, false,
			[](DG::User& user) {
				EXPECT_TRUE(user.SetCheck(CheckBoxLabel, true));
				EXPECT_TRUE(user.PressCloseBox());
			},
			false},
		{"nobody answers", false, true, false, {}, false},
	};
	for (const auto& each : cases) {
		SCOPED_TRACE(each.what);
		DG::ClearShownModalDialogs();
		if (each.steps)
			agent.Enqueue(each.steps);
		else
			DG::SetUserAgent(nullptr);
		const auto dialog = each.numberForm
			? std::make_unique<Dlg_ErrorMessage>(7, "seven")
			: std::make_unique<Dlg_ErrorMessage>(each.boxShown ? 134 : 133, each.boxShown);
		if (each.tickedByCode)
			DG::CheckBox(*dialog, 5).Check();
		EXPECT_EQ(dialog->Invoke(), each.answer);
		EXPECT_EQ(DG::GetShownModalDialogCount(), 1u);
		EXPECT_EQ(dialog->GetResponse(), each.answer ? DG::ModalDialog::Accept : DG::ModalDialog::Cancel);
	}
}

TEST_F(ErrorMessageDialog, NumberFormShowsTheDecimalNumberAndTheTextWithTheBoxShown)
{
	Dlg_ErrorMessage status(static_cast<std::int32_t>(0x81060196u), "Preferences.cpp:120");
	EXPECT_EQ(FirstText(status), "-2130312810");
	EXPECT_EQ(SecondText(status), "Preferences.cpp:120");
	EXPECT_TRUE(CheckBoxShown(status));

	Dlg_ErrorMessage smallest(INT32_MIN, "x");
	EXPECT_EQ(FirstText(smallest), "-2147483648");
	Dlg_ErrorMessage noText(42, nullptr);
	EXPECT_EQ(FirstText(noText), "42");
	EXPECT_EQ(SecondText(noText), "");
}

TEST_F(ErrorMessageDialog, RenderedAsAPersonSeesIt)
{
	Dlg_ErrorMessage hidden(131, false);
	EXPECT_EQ(hidden.GetClientWidth(), 450);
	EXPECT_EQ(hidden.GetClientHeight(), 130);
	EXPECT_EQ(DG::RenderText(hidden),
		"=== Facetally error ===\n"
		"(!)\n"
		"           Facetally.txt:\n"
		"           File not found and cannot be created!\n"
		"                              [ OK ]\n");
	Dlg_ErrorMessage shown(134, true);
	EXPECT_NE(DG::RenderText(shown).find("\n                              [ OK ]            [ ] Do not show again\n"),
		std::string::npos)
		<< DG::RenderText(shown);
}

TEST_F(ErrorMessageDialog, WithoutTheModulesResourcesNothingIsShown)
{
	const VX::ResourceModuleId own = Module().resourceModuleId;
	Module().resourceModuleId = VX::NoResourceModule;
	{
		Dlg_ErrorMessage dialog(131, false);
		EXPECT_FALSE(dialog.IsValid());
		EXPECT_FALSE(dialog.Invoke());
	}
	Module().resourceModuleId = own;
	EXPECT_EQ(DG::GetShownModalDialogCount(), 0u);
}

} // namespace
