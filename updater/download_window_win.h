// The download window "下载管理器": the task's name, size, progress and speed while the work runs
// on its own thread; at the end it reports a refusal, starts the program and closes.
#pragma once

#include <string>

#include "ui/description.h"
#include "updater/update_job_win.h"

namespace updater {

struct DownloadSession {
    UpdateJob& job;
    std::wstring title;        // 文件标题, shown as the task's name
    std::wstring programPath;  // started at the end, updated or not
    bool holdingSession = false;  // Windows is asked not to end the session meanwhile
};

// Created with a DownloadSession as its context; it starts the job and ends the message loop
// when it is destroyed.
const ui::WindowSpec& DownloadWindowSpec();

}  // namespace updater
