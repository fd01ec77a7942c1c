// The engine bound the way the client binds it: the library loaded by absolute
// path and each function looked up by name.
#pragma once

#include "xldl.h"

#include <dlfcn.h>
#include <string>
#include <vector>

#define XLDL_TEST_FUNCTIONS(X)                                                                                 \
    X(XL_Init) X(XL_UnInit) X(XL_CreateTask) X(XL_DeleteTask) X(XL_StartTask) X(XL_StopTask)                  \
    X(XL_QueryTaskInfo) X(XL_QueryTaskInfoEx) X(XL_SetSpeedLimit) X(XL_SetUploadSpeedLimit) X(XL_DelTempFile) \
    X(XL_SetProxy) X(XL_SetUserAgent) X(XL_GetFileSizeWithUrl) X(XL_ParseThunderPrivateUrl)                    \
    X(XL_SetAdditionInfo) X(XL_SetFileIdAndSize) X(XL_CreateTaskByThunder) X(XL_CreateBTTaskByThunder)         \
    X(XL_CreateTaskByURL) X(XL_ForceStopTask)

struct LoadedEngine {
#define XLDL_TEST_MEMBER(name) decltype(&::name) name = nullptr;
    XLDL_TEST_FUNCTIONS(XLDL_TEST_MEMBER)
#undef XLDL_TEST_MEMBER

    void *module = nullptr;
    std::vector<std::string> missing;

    bool load(const std::string &path)
    {
        module = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!module)
            return false;
#define XLDL_TEST_BIND(name)                                                                                   \
    name = reinterpret_cast<decltype(name)>(dlsym(module, #name));                                             \
    if (!name)                                                                                                 \
        missing.push_back(#name);
        XLDL_TEST_FUNCTIONS(XLDL_TEST_BIND)
#undef XLDL_TEST_BIND
        return missing.empty();
    }
};
