// The update check's names and rules, UTF-8; its texts are in update_texts.h.
#pragma once

#include <string>
#include <string_view>

namespace update {

// Where the manifest and its signature lie on the update server.
inline constexpr std::string_view manifestPath = "/墨舟.xml";
inline constexpr std::string_view manifestSignaturePath = "/墨舟.xml.sig";

// The manifest's nodes and attributes.
inline constexpr std::string_view latestVersionNode = "最新版本";
inline constexpr std::string_view versionInfoNode = "版本信息";
inline constexpr std::string_view versionAttribute = "版本号";
inline constexpr std::string_view notesAttribute = "升级说明";
inline constexpr std::string_view downloadAddressAttribute = "下载地址";
inline constexpr std::string_view fileTitleAttribute = "文件标题";
inline constexpr std::string_view fileNameAttribute = "文件名";

// The updater is started with the token, the word "运行" and the program it restarts.
inline constexpr std::string_view launchToken = "接力口令";
inline constexpr std::string_view updaterFolder = "升级文件";
inline constexpr std::string_view updaterFileName = "update.exe";
inline constexpr std::string_view runInstruction = "运行";
inline constexpr std::string_view programFileName = "墨舟.exe";

// Versions closer than this are the same version: the manifest's text and the program's
// constant need not give the same double.
inline constexpr double versionTolerance = 1e-7;

// The number a version text starts with, 0 when it starts with none. Full-width digits, point
// and signs count as half-width ones; leading spaces, tabs and full-width spaces are skipped.
// Then an optional sign, digits and at most one point: "5." is 5, ".5" is 0.5, "+" or "." alone
// is 0. No exponent, no hexadecimal, no locale. A number too large for a double is infinite.
double VersionNumber(std::string_view text);

// Whether latest is later than current by more than versionTolerance.
bool IsNewerVersion(double latest, double current);

// A program file's version as the decimal number the program shows, from the first two numbers
// of its fixed version information: 3,2 is 3.2 and 3,21 is 3.21, as a manifest writes them. The
// build numbers after them do not count, as the program's own version has none.
double FileVersionNumber(unsigned major, unsigned minor);

// The offer: the version exactly as the manifest writes it and the download notes.
std::string UpdateOfferText(std::string_view version, std::string_view notes);

}  // namespace update
