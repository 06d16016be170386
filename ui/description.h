// Windows are described as data: a table of controls, a menu tree and an event map.
// This header is portable so that descriptions can be checked without a window system.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

namespace ui {

class Window;

struct Point {
    int x = 0;
    int y = 0;
    friend bool operator==(Point, Point) = default;
};

struct Rect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

enum class Kind : std::uint8_t {
    GroupBox,
    PictureBox,
    EditBox,
    RadioButton,
    CheckBox,
    PushButton,
    StatusBar,
    Label,
    ScrollBar,  // horizontal unless flagged vertical
    Timer,  // not visible: an interval and a tick event
    ComboBox,  // a drop-down list to choose one item from; its items are set at run time
    Custom, // a child window of a class the program registered; text is the class name, and
            // the window's context is its creation parameter
};

// Control flags; the window runtime maps them onto window styles.
enum ControlFlag : std::uint32_t {
    noFlags = 0,
    disabled = 1u << 0,
    hidden = 1u << 1,
    multiLine = 1u << 2,
    verticalScroll = 1u << 3,
    thinBorder = 1u << 4,
    keepSelection = 1u << 5,  // selection stays visible without the focus
    tabStop = 1u << 6,
    transparent = 1u << 8,
    vertical = 1u << 9,  // scroll bars
    defaultButton = 1u << 10,  // push button: drawn as the one Enter presses
};

// How a picture box places its picture.
enum class PictureMode : std::uint8_t {
    natural = 0,  // natural size at the top-left corner
    stretch = 1,  // stretched over the whole box, proportions not kept
    fit = 2,      // centred; scaled down, proportions kept, when larger than the box
    tiled = 3,    // natural size, repeated from the top-left corner over the whole box
};

// Colours are 0x00BBGGRR; this value stands for the system's button-face colour.
inline constexpr std::uint32_t systemFaceColor = 0xFF000000;

struct PictureBoxSpec {
    PictureMode mode = PictureMode::natural;
    std::uint32_t background = systemFaceColor;
    bool animate = false;  // GIF pictures with several frames are shown animated
};

// Ids below this are free for controls and menu items of one window.
inline constexpr int windowItself = 0;

struct ControlSpec {
    int id = 0;
    std::string_view name;  // the control's name in the window's description
    Kind kind = Kind::Label;
    std::string_view text;  // caption or initial content, UTF-8
    Rect rect;              // relative to the parent group box, or to the client area
    int parent = windowItself;  // id of the enclosing group box
    std::uint32_t flags = noFlags;
    std::span<const int> parts{};  // status bar: the width of each part; text goes to part 0
    PictureBoxSpec picture{};      // picture box: how it shows its picture
};

// Menus are listed in tree order; depth 0 items are the menu bar's entries. A hidden top item
// does not appear on the bar and serves as a pop-up menu.
struct MenuItemSpec {
    int id = 0;
    int depth = 0;
    std::string_view text;
    bool hiddenTop = false;
};

enum class Event : std::uint8_t {
    Created,         // window: after its controls exist, before it is shown
    CloseRequested,  // window: the user asked to close; a handler may refuse
    Destroyed,       // window: being destroyed
    TrayNotify,      // window: a mouse action on its tray icon; code holds the action
    Clicked,         // button, check box, radio button, menu item
    Changed,         // edit box content changed, another item chosen in a drop-down list
    RightButtonDown, // mouse position in screen coordinates
    LeftButtonDown,  // mouse position in screen coordinates
    Tick,            // timer
    SessionEnding,   // window: Windows is ending the session; the process ends right after
    FilesDropped,    // window or control: files dropped on it; files holds their paths, screen
                     // the drop point
    KeyDown,         // window: a key pressed in it or its controls, before the control sees it;
                     // code holds the virtual key and key modifiers, screen the mouse position
    MenuOpening,     // top menu item: its menu is about to open, from the menu bar or as a
                     // pop-up; the handler may enable and disable its items
};

// Added to a KeyDown event's virtual key while the key is held.
inline constexpr int keyControl = 1 << 16;
inline constexpr int keyShift = 1 << 17;
inline constexpr int keyAlt = 1 << 18;

struct EventArgs {
    Window& window;
    int source = windowItself;
    int code = 0;
    Point screen;          // mouse position where the event has one
    bool refuse = false;   // set by a CloseRequested handler to keep the window
    void* context = nullptr;  // what the window was created for, see Context()
    std::span<const std::wstring> files{};  // FilesDropped
    bool handled = false;  // set by a KeyDown handler that took the key from the control

    // The object the window was created with: the program for the main window, a window's own
    // state for the others.
    template <typename T>
    T& Context() const {
        return *static_cast<T*>(context);
    }
};

using Handler = void (*)(EventArgs&);

struct Binding {
    int source = windowItself;
    Event event = Event::Clicked;
    Handler handler = nullptr;
};

enum WindowFlag : std::uint32_t {
    fixedBorder = 1u << 0,
    minimizeBox = 1u << 1,
    maximizeBox = 1u << 2,
    centered = 1u << 3,
};

struct WindowSpec {
    std::string_view className;  // window class registered for this description
    std::string_view title;
    int width = 0;  // outer size
    int height = 0;
    std::uint32_t flags = noFlags;
    std::span<const ControlSpec> controls;
    std::span<const MenuItemSpec> menu;
    std::span<const Binding> events;
};

// Where a control lands in the window's client area: group box children are placed relative
// to their group box. Returns the rect unchanged for a control of the window itself.
Rect ClientRect(const WindowSpec& window, const ControlSpec& control);

const ControlSpec* FindControl(const WindowSpec& window, int id);
const ControlSpec* FindControlByName(const WindowSpec& window, std::string_view name);

// The handler bound to an event of a source, or nullptr.
Handler FindHandler(const WindowSpec& window, int source, Event event);

// Index range [first, last) of a top menu item and its descendants in the tree order list.
struct MenuRange {
    std::size_t first = 0;
    std::size_t last = 0;
};
MenuRange SubtreeOf(std::span<const MenuItemSpec> menu, std::size_t index);
const MenuItemSpec* FindMenuItem(std::span<const MenuItemSpec> menu, int id);

}  // namespace ui
