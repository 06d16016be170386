// The version both executables carry in their version information.
#pragma once

#define MOZHOU_VERSION_NUMBERS 3,2,0,0
#define MOZHOU_VERSION_TEXT "3.2"
