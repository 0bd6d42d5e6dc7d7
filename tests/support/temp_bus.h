// Gives one test its own window bus, so that it never sees or disturbs a user's windows.
#pragma once

#include "support/temp_folder.h"

class TempBus : public TempFolderVariable {
public:
    TempBus() : TempFolderVariable("TORVA_BUS_DIR", "torva-bus") {}
};
