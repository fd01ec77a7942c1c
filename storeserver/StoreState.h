#pragma once

#include <cstdint>
#include <map>
#include <mutex>
#include <string>

enum class UpdateMode { None, Optional, Forced };

// What the version service offers.
struct UpdateOffer {
    UpdateMode mode = UpdateMode::None;
    std::string version = "1.1.1.82";
    std::string note = "修复了若干问题，提升了下载速度。";
    std::string url;  // empty: the update package below the download folder of this server

    static bool parseMode(const std::string& text, UpdateMode& mode);
    static const char* modeName(UpdateMode mode);
};

// The store's state that changes at run time, shared by the request threads.
class StoreState {
public:
    UpdateOffer updateOffer() const;
    void setUpdateOffer(const UpdateOffer& offer);

    int64_t onlineLength(const std::string& uid) const;
    void setOnlineLength(const std::string& uid, int64_t seconds);

private:
    mutable std::mutex mutex_;
    UpdateOffer offer_;
    std::map<std::string, int64_t> onlineLengths_;
};
