// The client finds the engine's functions by name in the library file.
#include "LoadedEngine.h"

#include <gtest/gtest.h>

#include <dlfcn.h>

namespace {

// In the order the client looks them up.
const char *const kBoundNames[] = {
    "XL_Init", "XL_UnInit", "XL_CreateTask", "XL_DeleteTask", "XL_StartTask", "XL_StopTask", "XL_QueryTaskInfo",
    "XL_QueryTaskInfoEx", "XL_SetSpeedLimit", "XL_SetUploadSpeedLimit", "XL_DelTempFile", "XL_SetProxy",
    "XL_SetUserAgent", "XL_GetFileSizeWithUrl", "XL_ParseThunderPrivateUrl", "XL_SetAdditionInfo",
    "XL_SetFileIdAndSize", "XL_CreateTaskByThunder", "XL_CreateBTTaskByThunder", "XL_CreateTaskByURL",
    "XL_ForceStopTask",
};

TEST(ExportedNames, EveryBoundNameIsExported)
{
    ASSERT_EQ(sizeof kBoundNames / sizeof kBoundNames[0], 21u);
    void *module = dlopen(XLDL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    for (const char *name : kBoundNames)
        EXPECT_NE(dlsym(module, name), nullptr) << name;
}

TEST(ExportedNames, InternalsStayHidden)
{
    void *module = dlopen(XLDL_LIBRARY_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    EXPECT_EQ(dlsym(module, "_ZN4xldl9TaskTable8instanceEv"), nullptr);
    EXPECT_EQ(dlsym(module, "_ZN4xldl4Task5startEv"), nullptr);
}

TEST(ExportedNames, LoaderBindsAllFunctions)
{
    LoadedEngine engine;
    EXPECT_TRUE(engine.load(XLDL_LIBRARY_PATH));
    EXPECT_TRUE(engine.missing.empty());
}

} // namespace
