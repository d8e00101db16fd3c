#pragma once
// zigwalk-check --snap IN OUT: IN snapped to the colour key (check/Snap.h),
// written to OUT so that no failure can cost the painting.

#include <QString>

// Prints how many pixels changed, per colour. Exit status: 0 when OUT holds
// the snapped picture, 1 when IN cannot be read as a picture, 2 when OUT
// cannot be written (the reason on stderr; OUT, and IN, stay as they were).
int snapCommand(const QString& in, const QString& out);
