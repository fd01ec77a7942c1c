#pragma once

#include "Reply.h"

#include <string>

// A test page built from a fixture file of page links, one a line ("#" starts
// a comment line): each link is offered three ways, as a link ("link-N"), as a
// button whose script navigates to it ("script-N") and as a form that posts
// to it ("form-N"), N counting the links from 0. Without the file: 404.
Reply linkFixturePage(const std::string& fixtureFile);
