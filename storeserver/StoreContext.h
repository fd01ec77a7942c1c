#pragma once

#include <string>

class FixtureCatalogue;
class StoreState;

// What the routes read: the fixture games, the changing state and the address
// to fall back on when a request names no Host.
struct StoreContext {
    const FixtureCatalogue* catalogue = nullptr;
    StoreState* state = nullptr;
    std::string listenAddress;  // "127.0.0.1:<port>"
};

