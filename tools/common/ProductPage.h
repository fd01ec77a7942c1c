#pragma once

#include <string>

// The maker's product page (written as "URLInfoAbout", opened by the logo):
// the environment variable ORBELA_PRODUCT_PAGE when set, otherwise the value
// the build was configured with.
std::wstring GetProductPage();

// True for an "http://" or "https://" address (case ignored), the only kind
// the wizards hand to the system browser.
bool IsWebAddress(const std::wstring& address);
