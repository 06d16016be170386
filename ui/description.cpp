#include "ui/description.h"

namespace ui {

const ControlSpec* FindControl(const WindowSpec& window, int id) {
    for (const ControlSpec& control : window.controls) {
        if (control.id == id) return &control;
    }
    return nullptr;
}

const ControlSpec* FindControlByName(const WindowSpec& window, std::string_view name) {
    for (const ControlSpec& control : window.controls) {
        if (control.name == name) return &control;
    }
    return nullptr;
}

Rect ClientRect(const WindowSpec& window, const ControlSpec& control) {
    Rect rect = control.rect;
    // Group boxes may nest; each level adds its own offset. The step limit stops a broken
    // description whose parents form a cycle.
    int parent = control.parent;
    for (std::size_t step = 0; parent != windowItself && step < window.controls.size(); ++step) {
        const ControlSpec* box = FindControl(window, parent);
        if (box == nullptr) break;
        rect.x += box->rect.x;
        rect.y += box->rect.y;
        parent = box->parent;
    }
    return rect;
}

Handler FindHandler(const WindowSpec& window, int source, Event event) {
    for (const Binding& binding : window.events) {
        if (binding.source == source && binding.event == event) return binding.handler;
    }
    return nullptr;
}

MenuRange SubtreeOf(std::span<const MenuItemSpec> menu, std::size_t index) {
    if (index >= menu.size()) return {menu.size(), menu.size()};
    std::size_t last = index + 1;
    while (last < menu.size() && menu[last].depth > menu[index].depth) ++last;
    return {index, last};
}

const MenuItemSpec* FindMenuItem(std::span<const MenuItemSpec> menu, int id) {
    for (const MenuItemSpec& item : menu) {
        if (item.id == id) return &item;
    }
    return nullptr;
}

}  // namespace ui
