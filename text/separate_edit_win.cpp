#include "text/separate_edit_win.h"

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "app/edit_commands_win.h"
#include "app/font_choice.h"
#include "app/main_window_description.h"
#include "app/program_files_win.h"
#include "app/program_state_win.h"
#include "text/separate_edit_description.h"
#include "text/separate_edit_texts.h"
#include "ui/dialogs_win.h"
#include "ui/file_dialog_win.h"
#include "ui/handles_win.h"
#include "ui/text_win.h"
#include "ui/window_win.h"

namespace text {
namespace {

constexpr wchar_t saveAsFilter[] = L"*.txt";
constexpr int contextMenuOffset = 3;

// What one opening of the window keeps; made afresh each time it opens.
struct SeparateEditState {
    std::unique_ptr<ui::Window> window;
    app::FontChoice font;
    ui::FileDialog dialog;
};

std::unique_ptr<SeparateEditState> state;
// A window destroyed by its own close cannot free itself from inside its handlers; the next
// opening does.
std::unique_ptr<SeparateEditState> closed;

HWND EditOf(ui::Window& window) { return window.Control(separateEditBox); }

std::wstring BackupPath() { return app::ProgramPath(ui::Widen(backupFileName)); }

std::vector<std::uint8_t> GbkBytes(const std::wstring& text) {
    const std::string gbk = ui::ToGbk(text);
    return {gbk.begin(), gbk.end()};
}

// Replaces the backup file as a whole, so a failed write keeps the previous backup.
void SaveBackup(ui::Window& window) {
    app::ReplaceWholeFile(BackupPath(), GbkBytes(window.Text(separateEditBox)));
}

void AppendBackup(ui::Window& window) {
    const std::wstring path = BackupPath();
    ui::KernelHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return;
    file.reset();
    const std::vector<std::uint8_t> bytes = app::ReadWholeFile(path);
    const std::wstring text = ui::FromGbk(BackupTextPrefix(
        std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())));
    HWND edit = EditOf(window);
    const int end = GetWindowTextLengthW(edit);
    SendMessageW(edit, EM_SETSEL, end, end);
    SendMessageW(edit, EM_SCROLLCARET, 0, 0);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
}

void MoveControl(HWND control, int x, int y, int width, int height) {
    SetWindowPos(control, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetPointSize(ui::Window& window, int id, int points) {
    ui::FontSpec font = window.ControlFont(id);
    font.pointSize = points;
    window.SetControlFont(id, font);
}

void OnCreated(ui::EventArgs& event) {
    ui::Window& window = event.window;
    HWND handle = window.Handle();
    // Centred at the size it is given here.
    const int left = std::max(0, (GetSystemMetrics(SM_CXSCREEN) - separateWindowWidth) / 2);
    const int top = std::max(0, (GetSystemMetrics(SM_CYSCREEN) - separateWindowHeight) / 2);
    SetWindowPos(handle, nullptr, left, top, separateWindowWidth, separateWindowHeight,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    const int editWidth = separateWindowWidth - separateEditWidthMargin;
    const int editHeight = separateWindowHeight - separateEditHeightMargin;
    MoveControl(EditOf(window), separateEditLeft, separateEditTop, editWidth, editHeight);
    SetPointSize(window, separateEditBox, separateEditPointSize);

    RECT edit;
    GetWindowRect(EditOf(window), &edit);
    window.SetTitle(ui::Widen(SeparateEditTitle(edit.right - edit.left, edit.bottom - edit.top)));

    const ui::ControlSpec* vertical = ui::FindControl(window.Description(), verticalRuler);
    MoveControl(window.Control(verticalRuler), 0, vertical->rect.y, verticalRulerWidth,
                separateWindowHeight);
    SetPointSize(window, verticalRuler, verticalRulerPointSize);
    window.SetText(verticalRuler, ui::Widen(VerticalRulerText()));

    const ui::ControlSpec* horizontal = ui::FindControl(window.Description(), horizontalRuler);
    MoveControl(window.Control(horizontalRuler), horizontal->rect.x, 0,
                edit.right - edit.left, horizontalRulerHeight);
    SetPointSize(window, horizontalRuler, horizontalRulerPointSize);
    window.SetText(horizontalRuler, ui::Widen(HorizontalRulerText()));

    app::separateEditOpen = handle;
}

// Asks whether to keep a non-empty text: Yes saves it to the backup file, No empties the box.
void SettleText(ui::Window& window) {
    if (GetWindowTextLengthW(EditOf(window)) == 0) return;
    if (ui::AskQuestion(ui::Widen(savePrompt), std::wstring_view())) {
        SaveBackup(window);
    } else {
        window.SetText(separateEditBox, L"");
    }
}

void OnCloseRequested(ui::EventArgs& event) { SettleText(event.window); }

void OnDestroyed(ui::EventArgs&) {
    app::separateEditOpen = nullptr;
    closed = std::move(state);
}

// The main window's print button follows this edit box while the window is open.
void OnEditChanged(ui::EventArgs& event) {
    if (ui::Window* main = app::MainWindow()) {
        main->SetEnabled(app::printButton, GetWindowTextLengthW(EditOf(event.window)) > 0);
    }
}

void OnEditRightButton(ui::EventArgs& event) {
    event.window.ShowPopupMenu(separateMenu, {event.screen.x + contextMenuOffset,
                                              event.screen.y + contextMenuOffset});
}

void OnCopy(ui::EventArgs& event) { app::CopySelection(EditOf(event.window)); }
void OnPaste(ui::EventArgs& event) { app::PasteOverSelection(EditOf(event.window)); }
void OnFont(ui::EventArgs& event) {
    if (state) app::ChooseEditFont(event.window, separateEditBox, state->font);
}
void OnAlignLeft(ui::EventArgs& event) {
    event.window.SetAlignment(separateEditBox, ui::Alignment::left);
}
void OnAlignCenter(ui::EventArgs& event) {
    event.window.SetAlignment(separateEditBox, ui::Alignment::center);
}
void OnAlignRight(ui::EventArgs& event) {
    event.window.SetAlignment(separateEditBox, ui::Alignment::right);
}
void OnClear(ui::EventArgs& event) { event.window.SetText(separateEditBox, L""); }
void OnAppendBackup(ui::EventArgs& event) { AppendBackup(event.window); }
void OnSave(ui::EventArgs& event) { SaveBackup(event.window); }

void OnSaveAs(ui::EventArgs& event) {
    if (!state) return;
    ui::FileDialog& dialog = state->dialog;
    dialog.filter = saveAsFilter;
    if (!dialog.ShowSave(event.window.Handle())) return;
    app::WriteWholeFile(SaveAsFileName(dialog.fileName),
                        GbkBytes(event.window.Text(separateEditBox)));
}

using ui::Binding;
using ui::Event;

constexpr std::array events{
    Binding{ui::windowItself, Event::Created, OnCreated},
    Binding{ui::windowItself, Event::CloseRequested, OnCloseRequested},
    Binding{ui::windowItself, Event::Destroyed, OnDestroyed},
    Binding{separateEditBox, Event::Changed, OnEditChanged},
    Binding{separateEditBox, Event::RightButtonDown, OnEditRightButton},
    Binding{separateCopyItem, Event::Clicked, OnCopy},
    Binding{separatePasteItem, Event::Clicked, OnPaste},
    Binding{separateFontItem, Event::Clicked, OnFont},
    Binding{separateAlignLeftItem, Event::Clicked, OnAlignLeft},
    Binding{separateAlignCenterItem, Event::Clicked, OnAlignCenter},
    Binding{separateAlignRightItem, Event::Clicked, OnAlignRight},
    Binding{separateClearItem, Event::Clicked, OnClear},
    Binding{appendBackupItem, Event::Clicked, OnAppendBackup},
    Binding{saveItem, Event::Clicked, OnSave},
    Binding{saveAsItem, Event::Clicked, OnSaveAs},
};

const ui::WindowSpec& SeparateEditSpec() {
    static const ui::WindowSpec description{
        "MozhouSeparateEdit",
        "",
        separateDesignWidth,
        separateDesignHeight,
        ui::fixedBorder | ui::minimizeBox | ui::centered,
        SeparateEditControls(),
        SeparateEditMenu(),
        events,
    };
    return description;
}

}  // namespace

void OnSeparateEditChosen(ui::EventArgs&) {
    if (ui::Window* open = SeparateEditWindow()) {
        HWND handle = open->Handle();
        if (IsIconic(handle)) {
            ShowWindow(handle, SW_RESTORE);
        } else {
            SetForegroundWindow(handle);
        }
        return;
    }
    closed.reset();
    auto opening = std::make_unique<SeparateEditState>();
    SeparateEditState* made = opening.get();
    state = std::move(opening);
    made->window = ui::Window::Create(SeparateEditSpec());
    if (!made->window && state.get() == made) state.reset();
}

ui::Window* SeparateEditWindow() {
    return state && state->window && state->window->Handle() != nullptr ? state->window.get()
                                                                         : nullptr;
}

void CloseSeparateEdit() {
    ui::Window* window = SeparateEditWindow();
    if (window == nullptr) return;
    SettleText(*window);
    DestroyWindow(window->Handle());
}

}  // namespace text
