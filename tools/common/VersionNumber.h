#pragma once

// Dotted version texts such as "1.1.1.81". Only the first 99 characters are read.

// The parts' digits joined and read as a decimal number ("1.1.1.81" gives
// 11181); 0 without leading digits; INT_MAX when the number would not fit.
int VersionToNumber(const wchar_t* version);

// Compares two versions part by part as numbers (a missing part counts 0):
// negative when a is older than b, 0 when equal, positive when newer.
int CompareVersions(const wchar_t* a, const wchar_t* b);
