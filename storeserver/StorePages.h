#pragma once

#include "Reply.h"
#include "StoreContext.h"

#include <string>

namespace httplib {
struct Request;
}

// The store's HTML pages. Each page holds a "mivo" link for every command its
// client form accepts, and the callbacks "status_callback", "login_callback",
// "logout_callback" and "jump_callback", which show what they received in the
// elements "status-callback", "login-callback", "logout-callback" and
// "jump-callback" and append it to the array "orbelaCalls". Pages load nothing
// from other addresses.
//
// Page names: "index", "activity", "exchange", "task", "user", "version",
// "recharge", "feedback", "third-login", "web-login", "web-logout", "register",
// "lostpasswd". An unknown name gives 404.
// The store and activity pages show game cards only; withCommandLinks adds a
// bare link for each of their other commands (the test twin of the page).
Reply storePage(const std::string& page, const httplib::Request& request, const StoreContext& context,
                bool withCommandLinks = false);

// Shared by the stand-in's pages.
std::string escapeHtml(const std::string& text);
// The head of a page with the four callbacks, its title and the callback display.
std::string pageStart(const std::string& title, const std::string& pageName);
extern const char* const kPageEnd;
