#pragma once
// When the engine really runs a firing. It waits for the local wall clock to reach the firing's
// instant and reads the clock at least once a minute: a firing whose local time the clocks skip
// when they go forward (02:30 in Europe/Berlin on 29 March 2026) runs as the skipped hour ends,
// at the first minute that exists (03:00). The coming-up screen, the editor's next-run line and
// the clash question show this instant, through FormatFiringInstant.
#include "platform/core/Win32Core.h"

// The instant itself when its local time exists; else the first whole minute after it that
// does.
FILETIME RunInstant(const FILETIME& due);
