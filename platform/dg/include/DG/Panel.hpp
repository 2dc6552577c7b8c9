// Panels: everything that holds items. A panel has an id unique among the live panels, is
// valid when it could be built (its dialog resource was found and readable), and keeps its
// items' state; item objects (Item.hpp) are handles on it. Dialogs add a title, a position and
// window types; modal dialogs are shown with Invoke, palettes are modeless, and tab pages live
// inside a tab control item of another panel.
#pragma once

#include "DG/Geometry.hpp"
#include "DG/Keys.hpp"
#include "DG/ResourceFormat.hpp"
#include "VX/Guid.hpp"

#include <memory>
#include <string>
#include <string_view>

namespace DG {

class PanelObserver;
class TabControl;

namespace detail {
struct PanelState;
struct PanelAccess;
} // namespace detail

enum class PanelKind { ModalDialog, ModelessDialog, Palette, TabPage };

class Panel {
public:
	virtual ~Panel();
	Panel(const Panel&) = delete;
	Panel& operator=(const Panel&) = delete;

	// Unique among the live panels, from 1.
	short GetId() const;
	bool IsValid() const;
	// Why the panel is not valid; empty when it is.
	const std::string& GetProblem() const;
	// The dialog resource it was built from; 0 for a panel built without one.
	short GetResourceId() const;
	PanelKind GetKind() const;

	short GetItemCount() const;
	// Adds an item at run time and returns its number (0 when the panel is not valid). Layout
	// code adds its tab controls this way; resource items come first, in resource order.
	short AddItem(ItemKind kind, const Rect& rect, std::string_view text = {});

	short GetWidth() const;
	short GetHeight() const;
	void SetWidth(short width);
	void SetHeight(short height);
	void SetSize(short width, short height);

	// Makes all items unusable at once while code runs, without changing any item's own
	// enabled state: EnableItems brings back exactly the state each item had.
	void DisableItems();
	void EnableItems();
	bool AreItemsDisabled() const;

	void Attach(PanelObserver& observer);
	void Detach(PanelObserver& observer);

	// Hot keys reach the panel's observers only while enabled. Register answers the hot key's
	// id (from 1), or 0 when that key and modifier combination is already registered.
	void EnableHotKeys();
	void DisableHotKeys();
	bool AreHotKeysEnabled() const;
	short RegisterHotKey(short key, unsigned modifiers = Modifier::None);
	void UnregisterHotKey(short hotKeyId);

protected:
	Panel(PanelKind kind, ResourceModule module, short resourceId);
	Panel(PanelKind kind, short width, short height);

private:
	friend struct detail::PanelAccess;
	std::unique_ptr<detail::PanelState> state;
};

class Dialog : public Panel {
public:
	enum GrowType : short { NoGrow = 0, HGrow = 1, VGrow = 2, HVGrow = 3 };
	// Any close type but NoClose gives the dialog a close box.
	enum CloseType : short { NoClose = 0, Close = 4 };
	enum CaptionType : short { TopCaption = 0, LeftCaption = 1, NoCaption = 2 };
	enum FrameType : short { NormalFrame = 0, ThinFrame = 1, NoFrame = 2 };

	std::string GetTitle() const;
	void SetTitle(std::string_view title);

	Point GetPosition() const;
	void SetPosition(Point position);
	short GetClientWidth() const;
	short GetClientHeight() const;
	void SetClientSize(short width, short height);

	GrowType GetGrowType() const;
	void SetGrowType(GrowType growType);
	CloseType GetCloseType() const;
	CaptionType GetCaptionType() const;
	FrameType GetFrameType() const;
	void DisableGrowBox();
	void EnableGrowBox();
	bool HasGrowBox() const;

	// Brackets a batch of item moves and resizes, which a screen would show at once. Pairs nest.
	void BeginMoveResizeItems();
	void EndMoveResizeItems();
	bool IsMovingResizingItems() const;

protected:
	Dialog(PanelKind kind, ResourceModule module, short resourceId);
	Dialog(PanelKind kind, const Rect& rect, GrowType growType, CloseType closeType, CaptionType captionType,
		FrameType frameType);
};

class ModalDialog : public Dialog {
public:
	enum ModalResponse : short { NoResponse = 0, Accept = 1, Cancel = 2 };

	ModalDialog(ResourceModule module, short resourceId);
	~ModalDialog() override;

	// Shows the dialog: raises PanelOpened, records the dialog (ModalRecord.hpp), hands it to
	// the installed user agent (UserAgent.hpp) and returns when it is closed: true when it was
	// closed with Accept. A dialog the agent leaves open, or shown with no agent, closes with
	// Cancel. A dialog that is not valid is not shown and answers false.
	bool Invoke();
	// Closes the open dialog with response; no event is raised. Ignored while not open.
	void PostCloseRequest(ModalResponse response);
	bool IsOpen() const;
	// The response of the last close; NoResponse before the first.
	ModalResponse GetResponse() const;
};

class ModelessBase : public Dialog {
public:
	// A modeless dialog answers a person only while it processes events and is shown. The first
	// time both hold it is opened: PanelOpened goes to it and then to its tab pages.
	void BeginEventProcessing();
	void EndEventProcessing();
	bool IsProcessingEvents() const;
	void Show();
	void Hide();
	bool IsVisible() const;

protected:
	using Dialog::Dialog;
};

class ModelessDialog : public ModelessBase {
public:
	ModelessDialog(ResourceModule module, short resourceId);
};

class Palette : public ModelessBase {
public:
	Palette(const Rect& rect, const VX::Guid& guid, GrowType growType = NoGrow, CloseType closeType = Close,
		CaptionType captionType = TopCaption, FrameType frameType = NormalFrame);
	Palette(ResourceModule module, short resourceId, const VX::Guid& guid);

	const VX::Guid& GetGuid() const;

private:
	VX::Guid guid;
};

// The live panel with that id; null when there is none.
Panel* FindPanel(short id);

// A page of a tab control item that another panel holds. The page is not valid when the
// control is not, or when the control already has a page of that number.
class TabPage : public Panel {
public:
	TabPage(const TabControl& control, short pageIndex, ResourceModule module, short resourceId);
	~TabPage() override;

	// The dialog holding the tab control; null once that dialog is gone.
	Dialog* GetParentDialog() const;
	short GetPageIndex() const;
};

} // namespace DG
