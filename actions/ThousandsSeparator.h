#pragma once

#include "actions/Machine.h"

// The thousands separator after the user changed the regional settings: the thread's locale is
// set back to the user's default first, so the new setting is the one read. For
// WM_WININICHANGE and the "TaskbarCreated" message.
char RefreshThousandsSeparator(Machine& machine);
