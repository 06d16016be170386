#include "app/command_line_print_win.h"

#include <windows.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "app/main_document_win.h"
#include "app/main_window_win.h"
#include "app/page_setup_file_win.h"
#include "app/program_texts.h"
#include "device/printer_object_win.h"
#include "picture/picture_data.h"
#include "text/print_text_job_win.h"
#include "text/text_file_win.h"
#include "ui/files_win.h"
#include "ui/handles_win.h"
#include "ui/paths.h"
#include "ui/text_win.h"

namespace app {
namespace {

// One job: a text file's text, or pictures.
struct CommandLineJob {
    std::wstring name;  // for the spooler: the (first) file's name
    std::u16string fileName;
    std::optional<std::wstring> text;
    std::vector<LoadedPicture> pictures;
};

std::wstring FullPath(const std::wstring& name) {
    const DWORD length = GetFullPathNameW(name.c_str(), 0, nullptr, nullptr);
    if (length == 0) return name;
    std::wstring full(length, L'\0');
    const DWORD written = GetFullPathNameW(name.c_str(), length, full.data(), nullptr);
    if (written == 0 || written >= length) return name;
    full.resize(written);
    return full;
}

std::vector<std::wstring> Matching(const std::wstring& pattern) {
    const std::size_t cut = pattern.find_last_of(L"\\/");
    const std::wstring folder = cut == std::wstring::npos ? L"" : pattern.substr(0, cut + 1);
    const std::u16string namePattern = ui::ToUtf16(std::wstring_view(pattern).substr(folder.size()));
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(pattern.c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        // The system also matches short 8.3 names ("*.htm" finds "a.html"): the long name decides.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
            WildcardMatch(namePattern, ui::ToUtf16(found.cFileName))) {
            names.emplace_back(found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end(), [](const std::wstring& a, const std::wstring& b) {
        return CompareStringOrdinal(a.c_str(), -1, b.c_str(), -1, TRUE) == CSTR_LESS_THAN;
    });
    for (std::wstring& name : names) name = folder + name;
    return names;
}

// Runs one job to its end from a message loop of its own; its end as the printer object tells it.
device::PrintEnd RunJob(device::PrinterObject& printer, device::LayOut layOut,
                        const device::PaperChoice& paper, bool silent) {
    device::PrintRequest request;
    request.layOut = std::move(layOut);
    request.paper = paper;
    request.showDialog = false;
    request.showProgress = !silent;
    std::optional<device::PrintEnd> end;
    request.done = [&end](const device::PrintResult& result) { end = result.end; };
    printer.Print(std::move(request));
    MSG message;
    while (!end && GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return end.value_or(device::PrintEnd::aborted);
}

device::LayOut TextJobLayOut(const CommandLineJob& job, const text::PageSetup& setup, int width,
                             device::PrinterObject& printer) {
    auto text = std::make_shared<const std::wstring>(*job.text);
    text::PreparedText base;
    base.setup = &setup;
    base.fileName = job.fileName;
    // Without a width, as many characters as fill the printable line in the printer's font,
    // beside the line numbers when they are printed (as wide as the largest number and a digit).
    return [text, width, base, &printer](HDC dc, const device::PaperSpec& paper) {
        auto prepared = std::make_shared<text::PreparedText>(base);
        prepared->lines = text::LinesOf(*text, width > 0 ? width : text::mostCharsPerLine, text::SpaceMode::Keep);
        if (width <= 0) {
            int line = paper.PrintableWidth();
            if (base.setup->lineNumbers && !prepared->lines.numbers.empty()) {
                const int largest = *std::max_element(prepared->lines.numbers.begin(), prepared->lines.numbers.end());
                line -= printer.TextWidth(dc, std::u16string(std::to_string(largest).size() + 1, u'0'));
            }
            const int chars = FillingCharsPerLine(line, printer.TextWidth(dc, u"中"));
            if (chars != text::mostCharsPerLine) prepared->lines = text::LinesOf(*text, chars, text::SpaceMode::Keep);
        }
        return text::TextLayOut(std::move(prepared), printer)(dc, paper);
    };
}

device::LayOut PictureJobLayOut(const CommandLineJob& job, picture::PictureLayout layout) {
    return [pictures = PagePictures(job.pictures), layout](HDC, const device::PaperSpec& paper) {
        // Photo sizes: one print of each, so that a folder of photos takes as few sheets as it can.
        return picture::PlanPictures(paper, pictures, layout, 1).plan;
    };
}

}  // namespace

std::vector<std::wstring> ExpandFileNames(const std::vector<std::u16string>& names) {
    std::vector<std::wstring> files;
    for (const std::u16string& name : names) {
        const std::wstring full = FullPath(ui::FromUtf16(name));
        std::vector<std::wstring> matching;
        if (HasWildcard(name)) matching = Matching(full);
        if (matching.empty()) matching.push_back(full);
        files.insert(files.end(), matching.begin(), matching.end());
    }
    return files;
}

int PrintFromCommandLine(const CommandLineRequest& request, const std::vector<std::wstring>& files) {
    device::PrinterObject printer;
    if (!printer.UsePrinter(ui::FromUtf16(request.printer))) return printerUnusable;
    const text::PageSetup setup = LoadPageSetup().setup;
    device::PrinterSettings& settings = printer.Settings();
    settings.marginLeft = setup.marginLeft;
    settings.marginTop = setup.marginTop;
    settings.marginRight = setup.marginRight;
    settings.marginBottom = setup.marginBottom;

    bool skipped = false;
    std::vector<CommandLineJob> jobs;
    std::optional<std::size_t> pictureSheet;  // the job all pictures go into, in a layout of several a page
    for (const std::wstring& path : files) {
        ui::FileContents file = ui::ReadFileContents(path);
        if (file.failure != ui::ReadFailure::none || file.bytes.empty()) {
            skipped = true;
            continue;
        }
        CommandLineJob job{std::wstring(ui::FileNamePart(path)), ui::ToUtf16(ui::FileNamePart(path)), {}, {}};
        if (picture::RecognizeKind(file.bytes) == picture::Kind::None) {
            job.text = text::LoadTextFile(file.bytes).text;
            jobs.push_back(std::move(job));
            continue;
        }
        // Decoded whole once, so that a picture that does not decode is skipped rather than
        // printed as an empty page.
        std::shared_ptr<const picture::DecodedPicture> decoded;
        std::vector<LoadedPicture> loaded = LoadPictures(std::move(file.bytes), &decoded);
        if (loaded.empty() || !decoded->Picture()) {
            skipped = true;
            continue;
        }
        decoded.reset();
        // Every page of a TIFF file, as the pictures of so many files would be.
        for (LoadedPicture& page : loaded) {
            if (OnePicturePerPage(request.layout) || !pictureSheet) {
                if (!OnePicturePerPage(request.layout)) pictureSheet = jobs.size();
                CommandLineJob pageJob = job;
                pageJob.pictures.push_back(std::move(page));
                jobs.push_back(std::move(pageJob));
            } else {
                jobs[*pictureSheet].pictures.push_back(std::move(page));
            }
        }
    }

    int code = skipped ? someFileNotPrinted : printedAll;
    for (const CommandLineJob& job : jobs) {
        printer.documentName = job.name;
        const device::PrintEnd end =
            job.text ? RunJob(printer, TextJobLayOut(job, setup, request.charsPerLine, printer),
                              text::PaperFor(setup), request.silent)
                     : RunJob(printer, PictureJobLayOut(job, request.layout), device::PaperChoice{},
                              request.silent);
        if (end == device::PrintEnd::printed) continue;
        if (end == device::PrintEnd::aborted) return std::max(code, someFileNotPrinted);
        code = printerUnusable;
    }
    return code;
}

int ShowCommandLineUsage() {
    MessageBoxW(nullptr, ui::Widen(commandLineUsage).c_str(), ui::Widen(productName).c_str(),
                MB_OK | MB_ICONINFORMATION);
    return commandLineNotUnderstood;
}

}  // namespace app
