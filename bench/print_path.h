// A job on the default printer the way the program prints, without the dialog: the printer
// chosen as a print without the dialog takes it, the job laid out on its paper, the document
// started behind its progress dialog (into a file when one is named, as "打印到文件" does); and such a job run from a message loop by the job runner,
// measuring how long the loop keeps a message waiting meanwhile.
#pragma once

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <utility>

#include "bench/bench_support.h"
#include "device/job_runner_win.h"
#include "device/print_job_win.h"
#include "device/printer_object_win.h"
#include "ui/handles_win.h"

namespace bench {

struct StartedJob {
    std::unique_ptr<device::PrintJob> job;  // null when it did not start
    std::size_t pages = 0;
    std::wstring printer;
};

inline StartedJob StartJob(device::PrinterObject& printer, const device::LayOut& layOut,
                           const wchar_t* document, const wchar_t* outputFile = nullptr) {
    device::PrinterChooser chooser;
    device::ChooseResult chosen = chooser.Choose(nullptr, false, device::PaperChoice{}, printer.Settings());
    if (!chosen.printer) {
        std::fprintf(stderr, "no default printer (error %lu)\n", chosen.error);
        return {};
    }
    if (outputFile != nullptr) chosen.printer->outputFile = outputFile;
    HDC dc = chosen.printer->dc.get();
    const auto plan = std::make_shared<const device::PagePlan>(layOut(dc, printer.PaperOf(dc)));
    StartedJob started{nullptr, plan->pages.size(), chosen.printer->device};
    device::JobSetup setup{document, device::PagesToPrint(started.pages, 1, -1, 1, true), true, nullptr};
    device::JobOutcome failure;
    started.job = device::PrintJob::Start(std::move(*chosen.printer), plan, std::move(setup), failure);
    if (!started.job) {
        std::fprintf(stderr, "the job did not start (error %lu)%s\n", failure.error,
                     failure.error == ERROR_SHARING_VIOLATION ? ": is another program printing in this Wine prefix?" : "");
    }
    return started;
}

inline device::LayOut TextLayOut(const device::PrinterObject& printer, const std::vector<std::u16string>& lines) {
    return [&printer, &lines](HDC dc, const device::PaperSpec& paper) { return printer.PlanTextLines(dc, paper, lines); };
}

struct LoopWaits {
    // The longest a posted message waited to be handled while the pages were drawn, and while
    // the runner's last turn ended the document.
    double longestMs = 0;
    double endMs = 0;
    int messages = 0;      // posted and handled while the job ran
    double seconds = 0;    // the job, from Run until it had ended
    device::JobOutcome outcome;
};

namespace detail {

inline constexpr UINT probeMessage = WM_APP + 1;
inline constexpr DWORD probeIntervalMs = 5;

struct Prober {
    DWORD thread = 0;
    std::atomic<bool> stop{false};
};

// Posts the probe with the low half of the clock at the time, every few milliseconds.
inline DWORD WINAPI Probe(void* parameter) {
    auto* prober = static_cast<Prober*>(parameter);
    while (!prober->stop) {
        PostThreadMessageW(prober->thread, probeMessage, 0, static_cast<LPARAM>(static_cast<DWORD>(Now())));
        Sleep(probeIntervalMs);
    }
    return 0;
}

}  // namespace detail

// Runs the job from a plain message loop with the job runner until it has ended, while another
// thread posts a message to the loop every few milliseconds.
inline LoopWaits RunMeasuringWaits(std::unique_ptr<device::PrintJob> job) {
    LoopWaits waits;
    device::JobRunner runner;
    bool done = false;
    const LONGLONG start = Now();
    runner.Run(std::move(job), [&](const device::JobOutcome& outcome) {
        waits.outcome = outcome;
        done = true;
    });
    detail::Prober prober;
    prober.thread = GetCurrentThreadId();
    const ui::KernelHandle thread(CreateThread(nullptr, 0, detail::Probe, &prober, 0, nullptr));
    const auto note = [&waits](const MSG& probe, DWORD handled, double& longest) {
        const auto waited = static_cast<std::int32_t>(handled - static_cast<DWORD>(probe.lParam));
        if (waited < 0) return;  // posted after the job had ended
        longest = std::max(longest, Seconds(waited) * 1000);
        ++waits.messages;
    };
    MSG message;
    while (!done && GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (message.hwnd == nullptr && message.message == detail::probeMessage) {
            note(message, static_cast<DWORD>(Now()), waits.longestMs);
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    const LONGLONG ended = Now();
    waits.seconds = Seconds(ended - start);
    prober.stop = true;
    WaitForSingleObject(thread.get(), INFINITE);
    // Those still queued were posted during the last turn and waited until it ended.
    while (PeekMessageW(&message, nullptr, detail::probeMessage, detail::probeMessage, PM_REMOVE)) {
        note(message, static_cast<DWORD>(ended), waits.endMs);
    }
    return waits;
}

}  // namespace bench
