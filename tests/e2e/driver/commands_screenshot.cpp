#include <string>
#include <vector>

#include "commands.h"
#include "win_handles.h"

namespace e2e {
namespace {

constexpr WORD bitsPerPixel = 24;
constexpr WORD bitmapSignature = 0x4D42;  // "BM"
constexpr LONG rowAlignmentBytes = 4;

RECT CaptureArea(const Arguments& arguments) {
  RECT area{};
  if (arguments.Count() > 1) {
    GetWindowRect(arguments.Window(1), &area);
  } else {
    area.left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    area.top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    area.right = area.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    area.bottom = area.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  }
  if (area.right <= area.left || area.bottom <= area.top) throw CommandError("nothing to capture: empty rectangle");
  return area;
}

void WriteFileBytes(const std::wstring& path, const void* data, DWORD size) {
  const KernelHandle file = OwnFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  if (!file) throw CommandError(SystemError("CreateFile"));
  DWORD written = 0;
  if (!WriteFile(file.Get(), data, size, &written, nullptr) || written != size) {
    throw CommandError(SystemError("WriteFile"));
  }
}

// What is on the screen, as the user sees it, into a 24-bit BMP file.
void Screenshot(Session&, const Arguments& arguments, JsonWriter& json) {
  const RECT area = CaptureArea(arguments);
  const LONG width = area.right - area.left;
  const LONG height = area.bottom - area.top;
  const WindowDc screen(nullptr);
  const MemoryDc memory(CreateCompatibleDC(screen.Get()));
  const GdiBitmap bitmap(CreateCompatibleBitmap(screen.Get(), width, height));
  if (!memory || !bitmap) throw CommandError(SystemError("creating the capture bitmap"));
  {
    const SelectedObject selected(memory.Get(), bitmap.Get());
    if (!BitBlt(memory.Get(), 0, 0, width, height, screen.Get(), area.left, area.top, SRCCOPY)) {
      throw CommandError(SystemError("BitBlt"));
    }
  }
  const LONG stride = ((width * bitsPerPixel / 8) + rowAlignmentBytes - 1) / rowAlignmentBytes * rowAlignmentBytes;
  BITMAPINFO format{};
  format.bmiHeader.biSize = sizeof format.bmiHeader;
  format.bmiHeader.biWidth = width;
  format.bmiHeader.biHeight = height;
  format.bmiHeader.biPlanes = 1;
  format.bmiHeader.biBitCount = bitsPerPixel;
  format.bmiHeader.biCompression = BI_RGB;
  std::vector<BYTE> pixels(static_cast<size_t>(stride) * height);
  if (GetDIBits(memory.Get(), bitmap.Get(), 0, height, pixels.data(), &format, DIB_RGB_COLORS) != height) {
    throw CommandError(SystemError("GetDIBits"));
  }
  BITMAPFILEHEADER header{};
  header.bfType = bitmapSignature;
  header.bfOffBits = sizeof header + sizeof format.bmiHeader;
  header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
  std::vector<BYTE> file(reinterpret_cast<const BYTE*>(&header), reinterpret_cast<const BYTE*>(&header) + sizeof header);
  const auto* info = reinterpret_cast<const BYTE*>(&format.bmiHeader);
  file.insert(file.end(), info, info + sizeof format.bmiHeader);
  file.insert(file.end(), pixels.begin(), pixels.end());
  WriteFileBytes(arguments.Text(0), file.data(), static_cast<DWORD>(file.size()));
  json.Key("width").Int(width).Key("height").Int(height);
  json.Key("left").Int(area.left).Key("top").Int(area.top);
}

}  // namespace

void AddScreenshotCommands(CommandTable& table) {
  table.Add({"screenshot", "screenshot <file.bmp> [hwnd] -> width, height, left, top: the screen or a window's area", 1,
             2, {}, Screenshot});
}

}  // namespace e2e
