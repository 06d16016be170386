// The program's files on disk as the replacement and its recovery move them, and the removal of
// the updater's working folders.
#pragma once

#include <string>

#include "update/replacement.h"

namespace update {

class DiskFiles final : public ReplacementFiles {
public:
    bool Exists(const std::wstring& path) override;
    bool IsFolder(const std::wstring& path) override;
    bool MakeFolder(const std::wstring& path) override;
    bool RemoveFolder(const std::wstring& path) override;
    // The old program may still be ending and hold its file: a move is tried again for a while.
    bool Move(const std::wstring& from, const std::wstring& to) override;
};

// Removes a folder with everything in it. A link inside is removed itself, never what it
// points to. True when nothing of it is left.
bool RemoveTree(const std::wstring& folder);

}  // namespace update
