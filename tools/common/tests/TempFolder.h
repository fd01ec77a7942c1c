#pragma once

#include <string>

// A folder "<temp>\<topic>-<process id>\<name>" (name may hold several levels),
// created with its parents.
std::wstring FreshTempFolder(const wchar_t* topic, const wchar_t* name);
