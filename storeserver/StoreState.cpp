#include "StoreState.h"

bool UpdateOffer::parseMode(const std::string& text, UpdateMode& mode)
{
    if (text == "none")
        mode = UpdateMode::None;
    else if (text == "optional")
        mode = UpdateMode::Optional;
    else if (text == "forced")
        mode = UpdateMode::Forced;
    else
        return false;
    return true;
}

const char* UpdateOffer::modeName(UpdateMode mode)
{
    switch (mode) {
    case UpdateMode::Optional: return "optional";
    case UpdateMode::Forced: return "forced";
    default: return "none";
    }
}

UpdateOffer StoreState::updateOffer() const
{
    std::lock_guard<std::mutex> lock(mutex_);
    return offer_;
}

void StoreState::setUpdateOffer(const UpdateOffer& offer)
{
    std::lock_guard<std::mutex> lock(mutex_);
    offer_ = offer;
}

int64_t StoreState::onlineLength(const std::string& uid) const
{
    std::lock_guard<std::mutex> lock(mutex_);
    auto found = onlineLengths_.find(uid);
    return found == onlineLengths_.end() ? 0 : found->second;
}

void StoreState::setOnlineLength(const std::string& uid, int64_t seconds)
{
    std::lock_guard<std::mutex> lock(mutex_);
    onlineLengths_[uid] = seconds;
}
