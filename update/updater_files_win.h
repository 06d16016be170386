// The updater beside the program: "升级文件\update.exe" in the program directory, written from
// the payload the program carries, and started with the manifest's values when the user takes
// an offer.
#pragma once

#include <windows.h>

#include <cstdint>
#include <span>
#include <string>

#include "update/manifest.h"

namespace update {

// "升级文件\update.exe" in the folder the program keeps its files in: the program directory
// while it can be written, where the updater finds the program as the parent of its own folder.
std::wstring UpdaterPath();

// Makes sure the updater is there and is this payload: the folder is made when missing, and
// "update.exe" is written unless the file there already has exactly these bytes (whatever else
// lies there, an older updater or a planted program, is replaced). It is written beside and
// then moved into place, so a failed write leaves the old file. A file named "升级文件" counts
// as the folder, and then writing fails. Failures are silent; an empty payload writes nothing.
void PrepareUpdater(std::span<const std::uint8_t> payload);

// The updater's arguments after its own path: the launch token, 下载地址, 文件标题, "运行",
// "墨舟.exe", 文件名 and 升级说明, each one argument however many spaces it holds. Release notes
// too long for a command line are cut short: the updater does not use them.
std::wstring UpdaterCommandLine(const std::wstring& updaterPath, const Manifest& manifest);

// Starts the updater with that command line in a normal window, without handing it any handle,
// and waits at most a second for it to be ready for input. ERROR_SUCCESS when it started, else
// the error that stopped it; the caller ends the program only when it started.
DWORD HandOverToUpdater(const Manifest& manifest);

}  // namespace update
