// SPDX-License-Identifier: MIT
#pragma once

#include "catalogue/FaceFile.h"

// Tells the user, in a message box, why the face file's home refused what a window asked.
void tellRefusal(const FaceFileRefusal &refusal);
