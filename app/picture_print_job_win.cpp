// PrintPictureJob: the pictures loaded, laid out as the layout chosen in the preview says
// (stretched over the printable area until one is chosen), or each on its own page at a size the
// user enters.
#include <algorithm>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "app/adjust_window_win.h"
#include "app/main_window_win.h"
#include "app/program_win.h"
#include "device/device_texts.h"
#include "picture/picture_job_texts.h"
#include "picture/page_picture_win.h"
#include "picture/picture_layout.h"
#include "picture/picture_object_win.h"
#include "text/print_messages.h"
#include "ui/dialogs_win.h"
#include "ui/files_win.h"
#include "ui/text_win.h"
#include "ui/timed_message_win.h"
#include "ui/window_win.h"

namespace app {
namespace {

// Asks for a whole number; nullopt when the user cancels.
std::optional<int> AskNumber(std::string_view prompt, std::string_view caption,
                             const std::wstring& initialText) {
    int value = 0;
    if (!ui::InputInteger(nullptr, ui::Widen(prompt), ui::Widen(caption), initialText, value)) {
        return std::nullopt;
    }
    return value;
}

void Warn(std::string_view message) {
    ui::ShowTimedMessage(ui::Widen(message), ui::promptCaption, MB_ICONINFORMATION);
}

// The status line while a sized picture is asked for and printed.
std::string PictureSizeMessage(device::PrinterObject& printer, const Program& program) {
    return picture::PictureSizeMessage(ui::Narrow(printer.GetPrinterName()),
                                       printer.Settings().Copies(), printer.CopiesPrinted(),
                                       program.printWidthPx, program.printHeightPx,
                                       program.printDpi);
}

}  // namespace

// As the page plans place them: decoded from its file when drawn, at the
// size it is drawn at, the job's pictures sharing what was decoded.
std::vector<picture::LayoutPicture> PagePictures(std::span<const LoadedPicture> loadedPictures) {
    auto cache = std::make_shared<picture::PlacedPixelsCache>();
    std::vector<picture::LayoutPicture> pictures;
    for (const LoadedPicture& loaded : loadedPictures) {
        const picture::PictureInfo& info = loaded.info;
        pictures.push_back({std::make_shared<const picture::FilePagePicture>(
                                loaded.file, info.kind, info.width, info.height, cache, info.page),
                            info.dpiX, info.dpiY});
    }
    return pictures;
}

std::optional<PreparedPicture> PreparePictureJob(ui::Window& main, Program& program) {
    device::PrinterObject& printer = program.printer;
    const auto status = [&main](const std::string& message) {
        SetStatusMessage(main, ui::Widen(message));
    };
    const auto cancelled = [&status] { status(std::string(text::printCancelledMessage)); };
    // A picture that does not decode would print as an empty page reported as printed. One that
    // ends early prints as far as it goes, as the picture box shows it.
    const MainDocument& document = program.document;
    if (document.Pictures().empty() || (document.Pictures().size() == 1 && !document.Picture())) {
        status(std::string(picture::undecodableMessage));
        return std::nullopt;
    }
    PreparedPicture prepared;
    prepared.pictures = PagePictures(document.Pictures());

    // A cancelled prompt cancels the command, as in the text job; a resolution below 1 would
    // divide by zero in the size message.
    const std::optional<int> dpi = AskNumber(picture::resolutionPrompt, picture::resolutionCaption,
                                             ui::Widen(picture::resolutionInitialText));
    if (!dpi) {
        cancelled();
        return std::nullopt;
    }
    program.printDpi = *dpi;
    if (*dpi <= 0) {
        Warn(picture::resolutionTooLowMessage);
        return std::nullopt;
    }

    prepared.bySize = ui::AskQuestion(ui::Widen(picture::adjustSizeQuestion), std::wstring_view());
    if (!prepared.bySize) return prepared;
    // One side, starting from the preview panel's; false when the command ends there.
    const auto askSide = [&](std::string_view prompt, std::string_view caption, int& side,
                             int start, std::string_view emptyMessage) {
        side = start;
        const std::optional<int> asked = AskNumber(prompt, caption, std::to_wstring(side));
        if (!asked) {
            cancelled();
            return false;
        }
        side = *asked;
        status(PictureSizeMessage(printer, program));
        // A negative size would mirror the picture off the page.
        if (side > 0) return true;
        Warn(emptyMessage);
        return false;
    };
    main.SetBold(statusBar, false);
    if (!askSide(picture::widthPrompt, picture::widthCaption, program.printWidthPx,
                 program.adjustWindow.PreviewWidth(), picture::widthEmptyMessage) ||
        !askSide(picture::heightPrompt, picture::heightCaption, program.printHeightPx,
                 program.adjustWindow.PreviewHeight(), picture::heightEmptyMessage)) {
        return std::nullopt;
    }
    prepared.width = program.printWidthPx;
    prepared.height = program.printHeightPx;
    return prepared;
}

device::LayOut PictureLayOut(const PreparedPicture& prepared, const Program& program,
                             std::shared_ptr<bool> shrunk) {
    return [prepared, &program, shrunk](HDC, const device::PaperSpec& paper) {
        if (prepared.bySize) {
            return picture::PlanPicturesAtSize(paper, prepared.pictures, prepared.width,
                                               prepared.height);
        }
        picture::LaidOut laid = picture::PlanPictures(paper, prepared.pictures,
                                                      program.pictureLayout, program.photoCount);
        if (shrunk) *shrunk = laid.shrunkToFit;
        return std::move(laid.plan);
    };
}

void PrintPreparedPicture(ui::Window& main, Program& program, const PreparedPicture& prepared,
                          std::shared_ptr<const device::PagePlan> planned, int presetPage) {
    device::PrinterObject& printer = program.printer;
    const auto status = [&main](const std::string& message) {
        SetStatusMessage(main, ui::Widen(message));
    };
    device::PrintRequest request;
    request.layOut = PictureLayOut(prepared, program);
    request.planned = std::move(planned);
    request.presetPage = presetPage;
    // One page has no range to choose; a layout of several pages does.
    request.offerPageRange = prepared.pictures.size() > 1 || picture::IsPhotoSize(program.pictureLayout);
    // The size and the copies once the job runs; the size figures are those asked for.
    request.started = [status, bySize = prepared.bySize, width = program.printWidthPx,
                       height = program.printHeightPx, dpi = program.printDpi,
                       &printer](const device::PrintResult& result) {
        const std::string name = ui::Narrow(result.printer);
        status(bySize ? picture::PictureSizeMessage(name, result.copies, printer.CopiesPrinted(),
                                                    width, height, dpi)
                      : picture::DefaultPictureSizeMessage(name, result.copies,
                                                           printer.CopiesPrinted()));
    };
    request.done = [status](const device::PrintResult& result) {
        switch (result.end) {
        case device::PrintEnd::printed: return;
        case device::PrintEnd::cancelled: return status(std::string(device::printCancelledMessage));
        case device::PrintEnd::busy: return status(std::string(device::printBusyMessage));
        case device::PrintEnd::aborted:
            return status(device::AbortedMessage(result.pagesPrinted, result.pageCount));
        case device::PrintEnd::failed:
            return status(device::FailureMessage(ui::Narrow(ui::SystemErrorText(result.error))));
        }
    };
    printer.Print(std::move(request));
}

void PrintPictureJob(ui::Window& main, Program& program) {
    if (const std::optional<PreparedPicture> prepared = PreparePictureJob(main, program)) {
        PrintPreparedPicture(main, program, *prepared);
    }
}

}  // namespace app
