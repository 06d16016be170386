// The window runtime: builds a window and its controls from a description, dispatches their
// events to the bound handlers, and reads and writes control properties by id.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "ui/description.h"
#include "ui/dpi_win.h"
#include "ui/handles_win.h"
#include "ui/message_loop_win.h"  // the loops are reached through this header too

namespace ui {

class PictureBoxContent;
class PictureBoxPainter;

// The message a tray icon added for a window sends back to it.
inline constexpr UINT trayMessage = WM_APP + 1;

enum class Alignment { left, center, right };

// What the font of a control is made of; size in points, 0 for the font's default height.
struct FontSpec {
    std::wstring face;
    int pointSize = 0;
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strikeOut = false;
};

class Window {
public:
    // Creates the window and its controls, runs the Created handler, shows the window. Every
    // handler gets the context in its event arguments; the painter draws its picture boxes.
    static std::unique_ptr<Window> Create(const WindowSpec& description, int showCommand = SW_SHOW,
                                          void* context = nullptr,
                                          PictureBoxPainter* painter = nullptr);
    // Whether a top-level window was built from a description (and so gets dialog keys).
    static bool BuiltByRuntime(HWND window);

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;
    ~Window();

    HWND Handle() const { return handle_; }
    HWND Control(int id) const;
    const WindowSpec& Description() const { return spec_; }
    // The resolution the window is shown at; its description is for 96 dpi.
    int Dpi() const { return dpi_; }

    void SetTitle(std::wstring_view title);

    std::wstring Text(int id) const;
    void SetText(int id, std::wstring_view text);
    bool Checked(int id) const;
    void SetChecked(int id, bool checked);
    bool Enabled(int id) const;
    void SetEnabled(int id, bool enabled);
    bool Bold(int id) const;
    void SetBold(int id, bool bold);
    FontSpec ControlFont(int id) const;
    void SetControlFont(int id, const FontSpec& font);
    COLORREF TextColor(int id) const;
    void SetTextColor(int id, COLORREF color);
    void SetAlignment(int id, Alignment alignment);

    // The most characters an edit box takes from the user.
    void SetTextLimit(int id, std::size_t characters);

    // Drop-down lists: the items, in order, nothing chosen; the index of the item chosen, -1 for
    // none; choosing one (-1 for none) raises no Changed event, as only the user's choice does.
    void SetListItems(int id, const std::vector<std::wstring>& items);
    int ListSelection(int id) const;
    void SelectListItem(int id, int index);

    void SetStatusText(int id, int part, std::wstring_view text);
    std::wstring StatusText(int id, int part) const;

    // What a picture box shows, null for nothing; the box repaints when it is set.
    std::shared_ptr<const PictureBoxContent> PictureContent(int id) const;
    void SetPictureContent(int id, std::shared_ptr<const PictureBoxContent> content);
    // How a picture box shows its picture; it starts as its description says.
    PictureBoxSpec PictureSettings(int id) const;
    void SetPictureMode(int id, PictureMode mode);
    void SetPictureBackground(int id, std::uint32_t color);  // systemFaceColor for the face colour
    void SetPictureAnimation(int id, bool animate);

    // Timer components: interval in milliseconds, 0 stops the timer.
    unsigned TimerInterval(int id) const;
    void SetTimerInterval(int id, unsigned milliseconds);

    // The caption of a menu item, found by its id in any of the window's menus.
    std::wstring MenuItemText(int id) const;
    void SetMenuItemText(int id, std::wstring_view text);
    bool MenuItemEnabled(int id) const;
    void SetMenuItemEnabled(int id, bool enabled);

    // The pop-up menu made of a top menu item's children.
    HMENU PopupMenu(int topId) const;
    // Shows a pop-up menu owned by this window and runs the command of the chosen item.
    void ShowPopupMenu(int topId, Point screen, UINT alignment = TPM_LEFTALIGN | TPM_TOPALIGN);

    // Runs the handler bound to an event of a source, if any.
    void Raise(int source, Event event, int code = 0, Point screen = {});

    // Offers a key press of the message loop to the KeyDown handler of the window it is for;
    // true when the handler took it.
    static bool TakeKey(const MSG& message);

private:
    struct ControlState;

    Window(const WindowSpec& description, void* context, PictureBoxPainter* painter);
    // Runs the handler bound to the event of args.source; false when there is none.
    bool Dispatch(Event event, EventArgs& args);
    bool Build();
    void CreateControl(const ControlSpec& control);
    void BuildMenus();
    ControlState* Find(int id);
    const ControlState* Find(int id) const;
    // The default GUI font at the window's resolution.
    HFONT GuiFont() const;
    // Sized and placed as its description says, at the window's resolution.
    void PlaceForDpi();
    // WM_DPICHANGED: the window to the suggested rectangle, its controls and fonts rescaled.
    void ChangeDpi(int dpi, const RECT& suggested);
    bool WantsOwnMessages(int id) const;
    void RaiseFilesDropped(int source, WPARAM drop);  // WM_DROPFILES

    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK ControlProcedure(HWND control, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR window);
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT HandleControlMessage(ControlState& state, UINT message, WPARAM wParam, LPARAM lParam);
    HBRUSH ControlColors(HDC dc, HWND control);

    const WindowSpec& spec_;
    void* context_ = nullptr;
    PictureBoxPainter* painter_ = nullptr;
    HWND handle_ = nullptr;
    std::vector<std::unique_ptr<ControlState>> controls_;
    Menu menuBar_;
    std::vector<Menu> popups_;  // detached pop-up menus for the hidden top items
    std::vector<std::pair<int, HMENU>> topMenus_;  // top item id -> its submenu
    Brush editBackground_;
    int dpi_ = 96;
    Font guiFont_;  // null while the stock font fits the window's resolution
};

// What a picture box shows: made by the program, drawn by the box's painter, only kept by ui/,
// which knows nothing of pictures. Several boxes can show one content.
class PictureBoxContent {
public:
    virtual ~PictureBoxContent() = default;
};

// What a painter keeps for one picture box between repaints: the picture already drawn at the
// box's size, the animation's timer. The box drops it when its content or its animation switch
// change and when it is destroyed.
class PictureBoxMemo {
public:
    virtual ~PictureBoxMemo() = default;
};

// One picture box as its painter sees it during one call.
struct PictureBoxView {
    HWND window = nullptr;
    const std::shared_ptr<const PictureBoxContent>& content;  // never null
    PictureMode mode = PictureMode::natural;
    COLORREF background = 0;  // the face colour already put in for systemFaceColor
    bool animate = false;
    std::unique_ptr<PictureBoxMemo>& memo;
};

// Draws the pictures of picture boxes; ui/ itself decodes nothing. A window made without a
// painter shows only the background in its picture boxes.
class PictureBoxPainter {
public:
    virtual ~PictureBoxPainter() = default;
    // Paints the whole client area, background included.
    virtual void Paint(HDC dc, const RECT& client, PictureBoxView& box) = 0;
    // A timer the painter set on the box window has fired.
    virtual void Tick(PictureBoxView& box, UINT_PTR timer) = 0;
};

// The program icon is resource 1 of the executable.
inline constexpr int programIconResource = 1;

// The whole text of a window or control.
std::wstring WindowText(HWND window);

}  // namespace ui
