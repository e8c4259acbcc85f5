#pragma once

// The fonts moved to the kit, where the screens outside the application reach them too.
#include "kit/RobotoFont.h"
