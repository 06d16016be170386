// Where the updater may write an entry of the downloaded ZIP archive inside its staging folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace update {

// The entry's path relative to the staging folder, with backslashes, or nothing when the entry
// must be refused because it could land outside the folder, on a device, in an alternate data
// stream, or on the same file as a differently spelled entry. Both / and \ separate folders;
// "." folders are dropped. A trailing separator marks a folder entry and is kept, so the caller
// can tell a folder from a file. Refused are: names that are empty or name the staging folder
// itself; a leading separator (absolute, UNC and device paths); any ':' (drive letters, streams);
// ".." and empty folders; device names such as CON or COM1, with or without an extension;
// names ending in a dot or a space, which Windows would strip; control characters and <>"|?*.
std::optional<std::wstring> SafeArchivePath(std::wstring_view entryName);

}  // namespace update
