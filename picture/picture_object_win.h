// Picture objects: a picture file's bytes made into something that can be drawn, and a table
// of integer handles through which commands pass pictures to each other.
#pragma once

#include <windows.h>

#include <map>
#include <optional>
#include <string>

#include "picture/picture_data.h"
#include "ui/handles_win.h"

namespace picture {

// The icon Windows makes of the image that an icon or cursor file holds for the program (see
// SelectIconImage), with that image's size; no icon when the file has none it can use.
struct FileIcon {
    ui::Icon icon;
    int width = 0;
    int height = 0;
};
FileIcon IconFromFileBytes(Bytes bytes);

// A picture with its kind and size in pixels: decoded pixels, or for icons and cursors the icon
// Windows made from the file.
class PictureObject {
public:
    // nullopt when the bytes are not a picture the program knows or cannot be decoded; a
    // picture whose data ends early is made of what it holds (see Complete). page: of a file of
    // several pages (TIFF), counted from 0.
    static std::optional<PictureObject> FromBytes(Bytes bytes, int page = 0);
    // nullopt also when the file cannot be read.
    static std::optional<PictureObject> FromFile(const std::wstring& path);
    // Pixels already decoded (or made from decoded ones, such as a turned picture).
    static PictureObject FromImage(Kind kind, Image image);

    Kind GetKind() const { return kind_; }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // False when the file's data ended early and part of the picture is filler.
    bool Complete() const { return !image_ || image_->complete; }
    // The decoded pixels; null for icons and cursors.
    const Image* Pixels() const { return image_ ? &*image_ : nullptr; }
    // Icons and cursors only; null otherwise.
    HICON IconHandle() const { return icon_.get(); }

private:
    PictureObject(Kind kind, int width, int height) : kind_(kind), width_(width), height_(height) {}
    static std::optional<PictureObject> FromIconFile(Bytes bytes, Kind kind);

    Kind kind_ = Kind::None;
    int width_ = 0;
    int height_ = 0;
    std::optional<Image> image_;
    ui::Icon icon_;
};

// Picture objects by handle. 0 is never a handle, and a freed handle is not given out again
// soon, so a stale handle finds nothing rather than another picture. Used on the GUI thread.
class PictureTable {
public:
    // The new picture's handle, or 0 when the bytes or the file give no picture.
    int Load(Bytes bytes);
    int LoadFile(const std::wstring& path);
    int Add(PictureObject picture);

    // Null for 0 and for handles that name no live picture.
    const PictureObject* Find(int handle) const;
    void Free(int handle);
    std::size_t Count() const { return pictures_.size(); }

private:
    std::map<int, PictureObject> pictures_;
    int next_ = 1;
};

// Frees a picture of a table at the end of a scope.
class ScopedPicture {
public:
    ScopedPicture(PictureTable& table, int handle) : table_(table), handle_(handle) {}
    ScopedPicture(const ScopedPicture&) = delete;
    ScopedPicture& operator=(const ScopedPicture&) = delete;
    ~ScopedPicture() { table_.Free(handle_); }
    int get() const { return handle_; }
    const PictureObject* Find() const { return table_.Find(handle_); }

private:
    PictureTable& table_;
    int handle_;
};

}  // namespace picture
