// In-memory dialog templates, for the program's small dialogs.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstring>
#include <iterator>
#include <vector>

namespace ui {

constexpr wchar_t dialogFace[] = L"MS Shell Dlg";
constexpr WORD dialogPointSize = 9;

constexpr WORD buttonClass = 0x0080;
constexpr WORD editClass = 0x0081;
constexpr WORD staticClass = 0x0082;

// Builds an in-memory DLGTEMPLATE, with the title left empty; items start on DWORD boundaries.
class DialogTemplate {
public:
    DialogTemplate(DWORD style, short width, short height) {
        Add<DWORD>(style | DS_SETFONT | DS_MODALFRAME);
        Add<DWORD>(0);  // extended style
        countAt_ = words_.size();
        Add<WORD>(0);  // item count, filled in by AddItem
        Add<short>(0);
        Add<short>(0);
        Add<short>(width);
        Add<short>(height);
        Add<WORD>(0);  // no menu
        Add<WORD>(0);  // default class
        Add<WORD>(0);  // empty title, set at WM_INITDIALOG
        Add<WORD>(dialogPointSize);
        AddString(dialogFace);
    }

    void AddItem(WORD classAtom, DWORD style, short x, short y, short width, short height, WORD id,
                 const wchar_t* text) {
        if (words_.size() % 2 != 0) words_.push_back(0);
        Add<DWORD>(style | WS_CHILD | WS_VISIBLE);
        Add<DWORD>(0);
        Add<short>(x);
        Add<short>(y);
        Add<short>(width);
        Add<short>(height);
        Add<WORD>(id);
        Add<WORD>(0xFFFF);  // a predefined class follows as an atom
        Add<WORD>(classAtom);
        AddString(text);
        Add<WORD>(0);  // no creation data
        ++words_[countAt_];
    }

    const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

private:
    template <typename T>
    void Add(T value) {
        static_assert(sizeof(T) % sizeof(WORD) == 0);
        WORD parts[sizeof(T) / sizeof(WORD)];
        std::memcpy(parts, &value, sizeof(T));
        for (WORD part : parts) words_.push_back(part);
    }
    void AddString(const wchar_t* text) {
        for (; *text != L'\0'; ++text) words_.push_back(static_cast<WORD>(*text));
        words_.push_back(0);
    }

    std::vector<WORD> words_;
    std::size_t countAt_ = 0;
};

}  // namespace ui
