// Resource ids shared by the resource script and the code.
#pragma once

#define PROGRAM_ICON_RESOURCE 1
#define TRAY_ICON_RESOURCE 101
#define BACKGROUND_PICTURE_RESOURCE 102
#define UPDATER_PAYLOAD_RESOURCE 103
