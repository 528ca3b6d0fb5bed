// Windows' app mode as the user's registry holds it now (utility/cursor/app_mode.h checks it).
#pragma once
#include "utility/cursor/app_mode.h"

AppMode ReadAppMode();
