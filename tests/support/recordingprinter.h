#pragma once

#include "recordingsurface.h"

// A recording 600 dpi printer, unbounded: every bar is recorded.
class RecordingPrinter final : public RecordingSurface
{
public:
    RecordingPrinter()
        : RecordingSurface(2.4f)
    { }
};
