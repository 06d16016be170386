#pragma once

#include "command_table.h"

namespace e2e {

void AddProcessCommands(CommandTable& table);
void AddWindowCommands(CommandTable& table);
void AddControlCommands(CommandTable& table);
void AddDialogCommands(CommandTable& table);
void AddStatusBarCommands(CommandTable& table);
void AddFontCommands(CommandTable& table);
void AddMenuCommands(CommandTable& table);
void AddInputCommands(CommandTable& table);
void AddClipboardCommands(CommandTable& table);
void AddMessageCommands(CommandTable& table);
void AddScreenshotCommands(CommandTable& table);
void AddSessionCommands(CommandTable& table);

}  // namespace e2e
