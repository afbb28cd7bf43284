// The independent library encoder lives beside the fuzz seed writers, which
// build with it too.
#pragma once
#include "fuzz/LibraryEncoder.h"
