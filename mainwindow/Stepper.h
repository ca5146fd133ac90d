#pragma once
// The stepper and the colour well live with the barcode settings panes.
#include "barcode/generation/panes/Stepper.h"
