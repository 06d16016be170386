// A picture box decodes its bytes once and keeps the picture drawn at its own size, so that a
// repaint is a single copy however large the picture; the drawing is made again only when the
// box's size, mode, background colour or animation frame changes. A JPEG is decoded only as
// large as the box shows it, which for a large photo in a small box is many times faster.
#include "picture/picture_box_painter_win.h"

#include <algorithm>
#include <memory>
#include <new>
#include <optional>
#include <vector>

#include "picture/box_display.h"
#include "picture/decoders.h"
#include "picture/picture_object_win.h"
#include "picture/render_win.h"
#include "picture/shrink.h"
#include "ui/handles_win.h"
#include "ui/window_win.h"

namespace picture {
namespace {

constexpr UINT_PTR animationTimer = 1;

// What the box's drawing was made for.
struct ViewKey {
    int width = 0;
    int height = 0;
    ui::PictureMode mode = ui::PictureMode::natural;
    COLORREF background = 0;
    std::size_t frame = 0;
    friend bool operator==(const ViewKey&, const ViewKey&) = default;
};

class BoxMemo final : public ui::PictureBoxMemo {
public:
    BoxMemo(HWND box, std::span<const std::uint8_t> bytes, bool animate) : box_(box) {
        if (animate && RecognizeKind(bytes) == Kind::Gif) {
            if (std::optional<Animation> animation = DecodeGifAnimation(bytes);
                animation && animation->frames.size() > 1) {
                frames_ = std::move(animation->frames);
                ShowFrame(0);
                return;
            }
        }
        if (RecognizeKind(bytes) == Kind::Jpeg) {
            jpegSize_ = ReadJpegSize(bytes);
            if (jpegSize_) return;  // decoded when painted, at the size the box needs
        }
        picture_ = PictureObject::FromBytes(bytes);
    }
    BoxMemo(const BoxMemo&) = delete;
    BoxMemo& operator=(const BoxMemo&) = delete;
    ~BoxMemo() override {
        if (Animated()) KillTimer(box_, animationTimer);
    }

    bool Animated() const { return frames_.size() > 1; }

    void NextFrame() {
        if (!Animated()) return;
        ShowFrame((frame_ + 1) % frames_.size());
        InvalidateRect(box_, nullptr, FALSE);
    }

    void Paint(HDC dc, const RECT& client, const ui::PictureBoxView& box) {
        const ViewKey key{client.right - client.left, client.bottom - client.top, box.mode,
                          box.background, frame_};
        if (key.width <= 0 || key.height <= 0) return;
        if (!view_ || key != viewKey_) {
            view_.reset();  // the old drawing goes before the new one is made
            DecodeJpegFor(box.bytes, key);
            view_ = Draw(dc, key);
            viewKey_ = key;
        }
        if (!view_) {
            const ui::Brush brush(CreateSolidBrush(box.background));
            FillRect(dc, &client, brush.get());
            return;
        }
        BitBlt(dc, client.left, client.top, key.width, key.height, view_->dc.get(), 0, 0, SRCCOPY);
    }

private:
    void ShowFrame(std::size_t frame) {
        frame_ = frame;
        SetTimer(box_, animationTimer, static_cast<UINT>(FrameDelayMs(frames_[frame].delayMs)),
                 nullptr);
    }

    // A JPEG at the smallest of libjpeg's quick scales that still has as many pixels as the box
    // shows of it (all of them in the natural and tiled modes); decoded again, larger, when the
    // box grows past that. One that cannot be decoded leaves the box empty, as any other does.
    void DecodeJpegFor(Bytes bytes, const ViewKey& key) {
        if (!jpegSize_) return;
        const Placement shown =
            PlaceInBox(key.mode, key.width, key.height, jpegSize_->width, jpegSize_->height);
        const int wantedWidth = std::min(shown.width, jpegSize_->width);
        const int wantedHeight = std::min(shown.height, jpegSize_->height);
        if (picture_ && picture_->Width() >= wantedWidth && picture_->Height() >= wantedHeight) {
            return;
        }
        picture_.reset();  // the smaller decode goes before the larger one is made
        std::optional<Image> image;
        try {
            image = DecodeJpegScaled(bytes, wantedWidth, wantedHeight);
        } catch (const std::bad_alloc&) {
            image.reset();  // too large for the memory left, as PictureObject::FromBytes treats it
        }
        // Averaged down to the very size it is drawn at, so that the screen copies it 1:1.
        if (image && (image->width > wantedWidth || image->height > wantedHeight) &&
            key.mode != ui::PictureMode::tiled && key.mode != ui::PictureMode::natural) {
            if (std::optional<Image> shrunk = ShrinkImage(*image, wantedWidth, wantedHeight)) {
                image = std::move(shrunk);
            }
        }
        if (image) {
            picture_ = PictureObject::FromImage(Kind::Jpeg, std::move(*image));
        } else {
            jpegSize_.reset();  // not tried again at every change of the box
        }
    }

    // The picture's own size, which places it: a JPEG's decoded pixels may be fewer.
    PictureSize FullSize() const {
        if (jpegSize_) return *jpegSize_;
        return {picture_->Width(), picture_->Height()};
    }

    // The box's drawing, kept selected in its own DC so that a repaint is one BitBlt.
    struct View {
        ui::Bitmap bitmap;
        ui::MemoryDc dc;
        std::unique_ptr<ui::SelectObjectScope> select;  // destroyed first, then the DC and bitmap
    };

    // The box's whole content: its background, and the picture placed as the mode says.
    std::unique_ptr<View> Draw(HDC dc, const ViewKey& key) const {
        auto view = std::make_unique<View>();
        view->bitmap.reset(CreateCompatibleBitmap(dc, key.width, key.height));
        view->dc.reset(CreateCompatibleDC(dc));
        if (!view->bitmap || !view->dc) return nullptr;
        view->select = std::make_unique<ui::SelectObjectScope>(view->dc.get(), view->bitmap.get());
        const HDC memory = view->dc.get();
        const RECT area{0, 0, key.width, key.height};
        const ui::Brush brush(CreateSolidBrush(key.background));
        FillRect(memory, &area, brush.get());
        if (Animated()) {
            const Image& image = frames_[frame_].image;
            const Placement at =
                PlaceInBox(key.mode, key.width, key.height, image.width, image.height);
            RenderImage(memory, image, Kind::Gif, at.x, at.y, at.width, at.height, SRCCOPY,
                        key.background);
        } else if (picture_ && key.mode == ui::PictureMode::tiled &&
                   (FullSize().width < key.width || FullSize().height < key.height)) {
            DrawTiles(dc, memory, area, key.background);  // tiles are decoded at full size
        } else if (picture_) {
            const PictureSize full = FullSize();
            const Placement at =
                PlaceInBox(key.mode, key.width, key.height, full.width, full.height);
            RenderPicture(memory, *picture_, at.x, at.y, at.width, at.height, SRCCOPY,
                          key.background);
        }
        return view;
    }

    // The picture drawn once at its own size, then repeated from the top-left corner as a
    // pattern: one fill however small the picture and large the box.
    void DrawTiles(HDC screen, HDC memory, const RECT& area, COLORREF background) const {
        const int width = picture_->Width();
        const int height = picture_->Height();
        ui::Bitmap tile(CreateCompatibleBitmap(screen, width, height));
        ui::MemoryDc tileDc(CreateCompatibleDC(screen));
        if (!tile || !tileDc) return;
        {
            const ui::SelectObjectScope select(tileDc.get(), tile.get());
            const RECT whole{0, 0, width, height};
            const ui::Brush fill(CreateSolidBrush(background));
            FillRect(tileDc.get(), &whole, fill.get());
            RenderPicture(tileDc.get(), *picture_, 0, 0, width, height, SRCCOPY, background);
        }
        const ui::Brush pattern(CreatePatternBrush(tile.get()));
        if (!pattern) return;
        SetBrushOrgEx(memory, 0, 0, nullptr);
        FillRect(memory, &area, pattern.get());
    }

    HWND box_;
    std::optional<PictureObject> picture_;
    std::optional<PictureSize> jpegSize_;  // from the header, for a JPEG decoded at paint time
    std::vector<AnimationFrame> frames_;  // two or more when the box animates
    std::size_t frame_ = 0;
    std::unique_ptr<View> view_;
    ViewKey viewKey_;
};

class Painter final : public ui::PictureBoxPainter {
public:
    void Paint(HDC dc, const RECT& client, ui::PictureBoxView& box) override {
        if (!box.memo) box.memo = std::make_unique<BoxMemo>(box.window, box.bytes, box.animate);
        if (auto* memo = dynamic_cast<BoxMemo*>(box.memo.get())) memo->Paint(dc, client, box);
    }

    void Tick(ui::PictureBoxView& box, UINT_PTR timer) override {
        if (timer != animationTimer) return;
        if (auto* memo = dynamic_cast<BoxMemo*>(box.memo.get())) memo->NextFrame();
    }
};

}  // namespace

ui::PictureBoxPainter& PicturePainter() {
    static Painter painter;
    return painter;
}

}  // namespace picture
