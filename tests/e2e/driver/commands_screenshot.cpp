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

class OutputFile {
 public:
  explicit OutputFile(const std::wstring& path)
      : file_(OwnFile(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr))) {
    if (!file_) throw CommandError(SystemError("CreateFile"));
  }

  void Write(const void* data, size_t size) {
    DWORD written = 0;
    if (!WriteFile(file_.Get(), data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
      throw CommandError(SystemError("WriteFile"));
    }
  }

 private:
  KernelHandle file_;
};

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
  OutputFile file(arguments.Text(0));
  file.Write(&header, sizeof header);
  file.Write(&format.bmiHeader, sizeof format.bmiHeader);
  file.Write(pixels.data(), pixels.size());
  json.Key("width").Int(width).Key("height").Int(height);
  json.Key("left").Int(area.left).Key("top").Int(area.top);
}

}  // namespace

void AddScreenshotCommands(CommandTable& table) {
  table.Add({"screenshot",
             "screenshot <file.bmp> [hwnd] -> width, height, left, top: the screen or a window's area",
             1,
             2,
             {},
             Screenshot});
}

}  // namespace e2e
