// A picture box keeps its picture drawn at its own size, so that a repaint is a single copy
// however large the picture; the drawing is made again only when the box's size, mode,
// background colour or animation frame changes. The picture itself was decoded once by whoever
// gave it to the box, and boxes showing the same picture share it.
#include "picture/picture_box_painter_win.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "picture/box_display.h"
#include "picture/decoded_picture_win.h"
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

void FillBackground(HDC dc, const RECT& client, COLORREF background) {
    const ui::Brush brush(CreateSolidBrush(background));
    FillRect(dc, &client, brush.get());
}

class BoxMemo final : public ui::PictureBoxMemo {
public:
    BoxMemo(HWND box, std::shared_ptr<const DecodedPicture> shown, bool animate)
        : box_(box), shown_(std::move(shown)), picture_(shown_->Picture().get()) {
        if (animate && shown_->Frames().size() > 1) ShowFrame(0);
    }
    BoxMemo(const BoxMemo&) = delete;
    BoxMemo& operator=(const BoxMemo&) = delete;
    ~BoxMemo() override {
        if (Animated()) KillTimer(box_, animationTimer);
    }

    bool Animated() const { return animated_; }

    void NextFrame() {
        if (!Animated()) return;
        ShowFrame((frame_ + 1) % Frames().size());
        InvalidateRect(box_, nullptr, FALSE);
    }

    void Paint(HDC dc, const RECT& client, const ui::PictureBoxView& box) {
        const ViewKey key{client.right - client.left, client.bottom - client.top, box.mode,
                          box.background, frame_};
        if (key.width <= 0 || key.height <= 0) return;
        if (!view_ || key != viewKey_) {
            view_.reset();  // the old drawing goes before the new one is made
            ShrinkFor(key);
            view_ = Draw(dc, key);
            viewKey_ = key;
        }
        if (!view_) return FillBackground(dc, client, box.background);
        BitBlt(dc, client.left, client.top, key.width, key.height, view_->dc.get(), 0, 0, SRCCOPY);
    }

private:
    const std::vector<AnimationFrame>& Frames() const { return shown_->Frames(); }

    void ShowFrame(std::size_t frame) {
        animated_ = true;
        frame_ = frame;
        SetTimer(box_, animationTimer, static_cast<UINT>(FrameDelayMs(Frames()[frame].delayMs)),
                 nullptr);
    }

    // A photo the box shows smaller than it is, averaged down to the very size it is drawn at,
    // so that the screen copies it 1:1: Wine's halftone stretching of a large photo costs more.
    // Natural and tiled boxes show all of its pixels.
    void ShrinkFor(const ViewKey& key) {
        const Image* pixels = picture_->Pixels();
        if (pixels == nullptr || picture_->GetKind() != Kind::Jpeg ||
            key.mode == ui::PictureMode::tiled || key.mode == ui::PictureMode::natural) {
            return;
        }
        const Placement shown =
            PlaceInBox(key.mode, key.width, key.height, picture_->Width(), picture_->Height());
        const int width = std::min(shown.width, picture_->Width());
        const int height = std::min(shown.height, picture_->Height());
        if (shrunk_ && shrunk_->Width() == width && shrunk_->Height() == height) return;
        shrunk_.reset();  // the old one goes before the new one is made
        if (width == picture_->Width() && height == picture_->Height()) return;
        if (std::optional<Image> image = ShrinkImage(*pixels, width, height)) {
            shrunk_ = PictureObject::FromImage(Kind::Jpeg, std::move(*image));
        }
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
            const Image& image = Frames()[frame_].image;
            const Placement at =
                PlaceInBox(key.mode, key.width, key.height, image.width, image.height);
            RenderImage(memory, image, Kind::Gif, at.x, at.y, at.width, at.height, SRCCOPY,
                        key.background);
        } else if (key.mode == ui::PictureMode::tiled &&
                   (picture_->Width() < key.width || picture_->Height() < key.height)) {
            DrawTiles(dc, memory, area, key.background);
        } else {
            const Placement at = PlaceInBox(key.mode, key.width, key.height, picture_->Width(),
                                            picture_->Height());
            RenderPicture(memory, shrunk_ ? *shrunk_ : *picture_, at.x, at.y, at.width, at.height,
                          SRCCOPY, key.background);
        }
        DrawCaption(memory, area);
        return view;
    }

    // The caption in the bottom-right corner, dark on a light patch so that it reads over any
    // picture.
    void DrawCaption(HDC memory, const RECT& area) const {
        const std::wstring& caption = shown_->Caption();
        if (caption.empty()) return;
        const ui::SelectObjectScope font(memory, GetStockObject(DEFAULT_GUI_FONT));
        SIZE extent{};
        GetTextExtentPoint32W(memory, caption.data(), static_cast<int>(caption.size()), &extent);
        const int padding = std::max<int>(2, extent.cy / 4);
        const RECT patch{area.right - extent.cx - 2 * padding, area.bottom - extent.cy - padding,
                         area.right, area.bottom};
        FillRect(memory, &patch, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        SetBkMode(memory, TRANSPARENT);
        SetTextColor(memory, RGB(0, 0, 0));
        TextOutW(memory, patch.left + padding, patch.top + padding / 2, caption.data(),
                 static_cast<int>(caption.size()));
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
    std::shared_ptr<const DecodedPicture> shown_;
    const PictureObject* picture_;  // shown_'s
    std::optional<PictureObject> shrunk_;  // the picture at the size the box draws it, if smaller
    bool animated_ = false;
    std::size_t frame_ = 0;
    std::unique_ptr<View> view_;
    ViewKey viewKey_;
};

class Painter final : public ui::PictureBoxPainter {
public:
    void Paint(HDC dc, const RECT& client, ui::PictureBoxView& box) override {
        if (!box.memo) {
            auto shown = std::dynamic_pointer_cast<const DecodedPicture>(box.content);
            if (!shown) return FillBackground(dc, client, box.background);  // none of ours
            box.memo = std::make_unique<BoxMemo>(box.window, std::move(shown), box.animate);
        }
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
