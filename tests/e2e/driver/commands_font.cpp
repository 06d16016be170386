#include <array>
#include <string_view>

#include "commands.h"
#include "window_query.h"

namespace e2e {
namespace {

struct StockFont {
  int object;
  std::string_view name;
};

constexpr std::array stockFonts{
    StockFont{DEFAULT_GUI_FONT, "DEFAULT_GUI_FONT"}, StockFont{SYSTEM_FONT, "SYSTEM_FONT"},
    StockFont{ANSI_VAR_FONT, "ANSI_VAR_FONT"},       StockFont{ANSI_FIXED_FONT, "ANSI_FIXED_FONT"},
    StockFont{OEM_FIXED_FONT, "OEM_FIXED_FONT"},     StockFont{SYSTEM_FIXED_FONT, "SYSTEM_FIXED_FONT"},
    StockFont{DEVICE_DEFAULT_FONT, "DEVICE_DEFAULT_FONT"},
};

// Font handles belong to the process that made them. Stock fonts have the same handle
// everywhere; for any other handle GetObject here describes whatever this process has
// under that number, if anything, so the answer says which case it is.
void Font(Session&, const Arguments& arguments, JsonWriter& json) {
  DWORD_PTR answer = 0;
  if (!SendMessageTimeoutW(arguments.Window(0), WM_GETFONT, 0, 0, SMTO_ABORTIFHUNG, answerTimeoutMs, &answer)) {
    throw CommandError(SystemError("WM_GETFONT"));
  }
  const auto font = reinterpret_cast<HFONT>(answer);
  json.Key("handle").Int(static_cast<long long>(answer));
  json.Key("stock");
  std::string_view stock;
  for (const StockFont& candidate : stockFonts) {
    if (GetStockObject(candidate.object) == font) stock = candidate.name;
  }
  if (!font) stock = "SYSTEM_FONT";
  if (stock.empty()) json.Null(); else json.String(stock);
  LOGFONTW description{};
  const bool readable = font && GetObjectType(font) == OBJ_FONT &&
                        GetObjectW(font, sizeof description, &description) == sizeof description;
  json.Key("readable").Bool(readable);
  if (!readable) return;
  json.Key("face").String(std::wstring_view(description.lfFaceName));
  json.Key("height").Int(description.lfHeight);
  json.Key("weight").Int(description.lfWeight);
  json.Key("italic").Bool(description.lfItalic != 0);
  json.Key("underline").Bool(description.lfUnderline != 0);
  json.Key("strikeout").Bool(description.lfStrikeOut != 0);
  json.Key("charset").Int(description.lfCharSet);
}

}  // namespace

void AddFontCommands(CommandTable& table) {
  table.Add({"font", "font <hwnd> -> handle, stock, readable, face, height, weight, ...: the control's WM_GETFONT", 1,
             1, {}, Font});
}

}  // namespace e2e
