#include <array>
#include <memory>
#include <string_view>

#include "commands.h"
#include "delivery.h"
#include "remote_probe.h"
#include "window_query.h"

namespace e2e {
namespace {

struct StockFont {
  int object;
  std::string_view name;
};

constexpr std::array stockFonts{
    StockFont{DEFAULT_GUI_FONT, "DEFAULT_GUI_FONT"},
    StockFont{SYSTEM_FONT, "SYSTEM_FONT"},
    StockFont{ANSI_VAR_FONT, "ANSI_VAR_FONT"},
    StockFont{ANSI_FIXED_FONT, "ANSI_FIXED_FONT"},
    StockFont{OEM_FIXED_FONT, "OEM_FIXED_FONT"},
    StockFont{SYSTEM_FIXED_FONT, "SYSTEM_FIXED_FONT"},
    StockFont{DEVICE_DEFAULT_FONT, "DEVICE_DEFAULT_FONT"},
};

std::string_view StockName(HFONT font) {
  for (const StockFont& candidate : stockFonts) {
    if (GetStockObject(candidate.object) == font) return candidate.name;
  }
  return {};
}

void WriteFont(JsonWriter& json, const LOGFONTW& font) {
  json.Key("face").String(std::wstring_view(font.lfFaceName));
  json.Key("height").Int(font.lfHeight);
  json.Key("weight").Int(font.lfWeight);
  json.Key("italic").Bool(font.lfItalic != 0);
  json.Key("underline").Bool(font.lfUnderline != 0);
  json.Key("strikeout").Bool(font.lfStrikeOut != 0);
  json.Key("charset").Int(font.lfCharSet);
}

// A font handle belongs to the process that made it, so it is described from inside
// that process; a control that was never given a font draws with the system font.
void Font(Session&, const Arguments& arguments, JsonWriter& json) {
  const HWND window = arguments.Window(0);
  const std::optional<LRESULT> answer = AskWindow(window, WM_GETFONT, 0, 0, answerTimeoutMs);
  if (!answer) throw CommandError("the window did not answer WM_GETFONT");
  const auto font = reinterpret_cast<HFONT>(*answer);
  json.Key("handle").Int(static_cast<long long>(*answer));
  const std::string_view stock = font ? StockName(font) : "SYSTEM_FONT";
  json.Key("stock");
  if (stock.empty())
    json.Null();
  else
    json.String(stock);
  if (!font) {
    LOGFONTW system{};
    GetObjectW(GetStockObject(SYSTEM_FONT), sizeof system, &system);
    WriteFont(json, system);
    return;
  }
  auto request = std::make_unique<probe::Request>();
  request->operation = probe::Operation::DescribeFont;
  request->handle = static_cast<std::uint64_t>(reinterpret_cast<UINT_PTR>(font));
  RunProbe(ProcessOf(window), *request);
  WriteFont(json, request->font);
}

}  // namespace

void AddFontCommands(CommandTable& table) {
  table.Add({"font",
             "font <hwnd> -> handle, stock, face, height, weight, italic, underline, strikeout, charset",
             1,
             1,
             {},
             Font});
}

}  // namespace e2e
