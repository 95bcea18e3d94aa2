#pragma once

#include <QtGlobal>

// Where stopwatches read the time; tests substitute a clock they advance themselves.
class TTETimeSource
{
public:
    virtual ~TTETimeSource() = default;

    // Milliseconds from an arbitrary fixed origin, never decreasing.
    virtual double nowMs() const = 0;

    // The monotonic clock of the system.
    static const TTETimeSource &steady();
};
