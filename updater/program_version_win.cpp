#include "updater/program_version_win.h"

#include <windows.h>

#include <vector>

#include "update/update_rules.h"

namespace updater {

std::optional<double> ProgramVersion(const std::wstring& path) {
    DWORD unused = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &unused);
    if (size == 0) return std::nullopt;
    std::vector<std::uint8_t> information(size);
    if (!GetFileVersionInfoW(path.c_str(), 0, size, information.data())) return std::nullopt;
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(information.data(), L"\\", &value, &length) || length < sizeof(VS_FIXEDFILEINFO)) {
        return std::nullopt;
    }
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (fixed->dwSignature != VS_FFI_SIGNATURE) return std::nullopt;
    return update::FileVersionNumber(HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS));
}

}  // namespace updater
