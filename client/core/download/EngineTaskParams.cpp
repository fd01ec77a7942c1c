#include "core/download/EngineTaskParams.h"

#include <cstring>

namespace {

template <size_t N>
bool fillText(XlChar (&field)[N], const QString &text)
{
    if (static_cast<size_t>(text.size()) + 1 > N)
        return false;
    std::memcpy(field, text.utf16(), static_cast<size_t>(text.size()) * sizeof(XlChar));
    field[text.size()] = 0;
    return true;
}

std::unique_ptr<XlTaskParams> zeroParams()
{
    auto params = std::make_unique<XlTaskParams>();
    std::memset(params.get(), 0, sizeof(XlTaskParams));
    return params;
}

} // namespace

std::unique_ptr<XlTaskParams> engineStartParams(const QString &url, const QString &name, const QString &folder)
{
    std::unique_ptr<XlTaskParams> params = zeroParams();
    if (!fillText(params->url, url) || !fillText(params->fileName, name) || !fillText(params->saveFolder, folder))
        return nullptr;
    params->reserved18096 = 0;
    params->reserved18356 = 0;
    params->reserved18360 = 0;
    params->resume = 1;
    params->reserved18368 = 1;
    return params;
}

std::unique_ptr<XlTaskParams> engineTargetParams(const QString &name, const QString &folder)
{
    std::unique_ptr<XlTaskParams> params = zeroParams();
    if (!fillText(params->fileName, name) || !fillText(params->saveFolder, folder))
        return nullptr;
    params->reserved18360 = 5;
    params->resume = 0;
    params->reserved18368 = 1;
    return params;
}
