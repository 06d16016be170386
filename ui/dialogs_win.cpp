#include "ui/dialogs_win.h"

#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <iterator>
#include <string>
#include <vector>

#include "ui/dialog_template_win.h"
#include "ui/integer_input.h"
#include "ui/window_placement_win.h"
#include "ui/window_win.h"

namespace ui {
namespace {

enum InputBoxItem : WORD { promptItem = 100, editItem = 101 };

// Dialog units.
constexpr short boxWidth = 230;
constexpr short boxHeight = 84;
constexpr short margin = 7;
constexpr short promptHeight = 26;
constexpr short editTop = 38;
constexpr short editHeight = 13;
constexpr short buttonWidth = 56;
constexpr short buttonHeight = 15;
constexpr short buttonTop = 60;

struct InputBoxState {
    std::wstring prompt;
    std::wstring caption;
    std::wstring initialText;
    int value = 0;
};

LRESULT CALLBACK IntegerEditProcedure(HWND edit, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR) {
    if (message == WM_CHAR && !IsIntegerInputChar(static_cast<char32_t>(wParam))) return 0;
    if (message == WM_NCDESTROY) RemoveWindowSubclass(edit, IntegerEditProcedure, id);
    return DefSubclassProc(edit, message, wParam, lParam);
}

INT_PTR CALLBACK InputBoxProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        state = reinterpret_cast<InputBoxState*>(lParam);
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        SetWindowTextW(dialog, state->caption.empty() ? defaultInputCaption : state->caption.c_str());
        SetDlgItemTextW(dialog, promptItem, state->prompt.c_str());
        HWND edit = GetDlgItem(dialog, editItem);
        SetWindowTextW(edit, state->initialText.c_str());
        SetWindowSubclass(edit, IntegerEditProcedure, editItem, 0);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        SetFocus(edit);
        // Centre on the screen: the box may have no visible owner.
        CentreOnScreen(dialog);
        return FALSE;  // the focus was set here
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK && state != nullptr) {
            const std::wstring text = WindowText(GetDlgItem(dialog, editItem));
            state->value = LeadingInteger(
                std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()));
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        }
        break;
    default: break;
    }
    return FALSE;
}

}  // namespace

int ShowMessage(std::wstring_view text, std::wstring_view caption, UINT style) {
    if (!(style & (MB_SYSTEMMODAL | MB_TASKMODAL))) style |= MB_TASKMODAL;
    const std::wstring shownCaption = caption.empty() ? defaultMessageCaption : std::wstring(caption);
    return MessageBoxW(nullptr, std::wstring(text).c_str(), shownCaption.c_str(), style);
}

bool AskQuestion(std::wstring_view text, std::wstring_view caption) {
    return ShowMessage(text, caption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

bool InputInteger(HWND owner, std::wstring_view prompt, std::wstring_view caption,
                  std::wstring_view initialText, int& value) {
    DialogTemplate dialog(WS_POPUP | WS_CAPTION | WS_SYSMENU, boxWidth, boxHeight);
    const short contentWidth = boxWidth - 2 * margin;
    dialog.AddItem(staticClass, SS_LEFT | SS_NOPREFIX, margin, margin, contentWidth, promptHeight,
                   promptItem, L"");
    dialog.AddItem(editClass, WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL, margin, editTop,
                   contentWidth, editHeight, editItem, L"");
    dialog.AddItem(buttonClass, BS_DEFPUSHBUTTON | WS_TABSTOP,
                   boxWidth - margin - 2 * buttonWidth - margin / 2, buttonTop, buttonWidth,
                   buttonHeight, IDOK, okCaption);
    dialog.AddItem(buttonClass, BS_PUSHBUTTON | WS_TABSTOP, boxWidth - margin - buttonWidth,
                   buttonTop, buttonWidth, buttonHeight, IDCANCEL, cancelCaption);

    InputBoxState state{std::wstring(prompt), std::wstring(caption), std::wstring(initialText)};
    const INT_PTR result = DialogBoxIndirectParamW(GetModuleHandleW(nullptr), dialog.get(), owner,
                                                   InputBoxProcedure,
                                                   reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    value = state.value;
    return true;
}

}  // namespace ui
