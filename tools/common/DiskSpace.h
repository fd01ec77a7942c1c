#pragma once

#include "core/UIString.h"

// Free space of a drive ("C:\") in gigabytes; 0.0 when it cannot be read.
double GetFreeDiskGB(DirectUI::CUIString root);
