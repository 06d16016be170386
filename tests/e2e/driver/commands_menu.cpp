#include <memory>
#include <vector>

#include "caption.h"
#include "commands.h"
#include "remote_probe.h"
#include "window_query.h"

namespace e2e {
namespace {

// Writes the entries from index onwards that sit at depth, each with its submenu.
size_t WriteItems(JsonWriter& json, const probe::Request& request, size_t index, int depth) {
  json.BeginArray();
  while (index < request.menuEntryCount && request.menu[index].depth == depth) {
    const probe::MenuEntry& entry = request.menu[index++];
    const bool separator = (entry.type & MFT_SEPARATOR) != 0;
    json.BeginObject();
    const std::wstring_view text = separator ? std::wstring_view() : std::wstring_view(entry.text);
    json.Key("text").String(text);
    json.Key("caption").String(ReadableCaption(text));
    json.Key("id").Int(entry.id);
    json.Key("separator").Bool(separator);
    json.Key("enabled").Bool((entry.state & MFS_DISABLED) == 0);
    json.Key("checked").Bool((entry.state & MFS_CHECKED) != 0);
    json.Key("items");
    if (index < request.menuEntryCount && request.menu[index].depth > depth) {
      index = WriteItems(json, request, index, depth + 1);
    } else {
      json.BeginArray().EndArray();
    }
    json.EndObject();
  }
  json.EndArray();
  return index;
}

// Menus live inside the program that shows them; another process cannot read them.
void Menu(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND window = arguments.Window(0);
  auto request = std::make_unique<probe::Request>();
  request->operation = probe::Operation::ReadMenu;
  request->handle = static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(window));
  RunProbe(ProcessOf(window), *request);
  json.Key("items");
  WriteItems(json, *request, 0, 0);
}

}  // namespace

void AddMenuCommands(CommandTable& table) {
  table.Add({"menu",
             "menu <hwnd> -> items: [{text, caption, id, separator, enabled, checked, items}] of a menu bar or open "
             "#32768 pop-up",
             1,
             1,
             {},
             Menu});
}

}  // namespace e2e
