// The library's exported functions: argument checks and conversions, then the
// task table. Nothing may leave through the C interface as an exception.
#include "Task.h"
#include "TaskTable.h"
#include "TextFields.h"
#include "xldl.h"

#include <cstring>

using namespace xldl;

namespace {

template <typename Result, typename Body>
Result guarded(Result failure, Body body)
{
    try {
        return body();
    } catch (...) {
        return failure;
    }
}

template <size_t N>
bool readArray(const XlChar (&field)[N], std::string &utf8)
{
    return readField(field, N, utf8);
}

// Longest text accepted through a plain pointer argument.
constexpr size_t kTextLimit = 65536;

XlBool withTask(XlTaskHandle handle, bool (Task::*operation)())
{
    return guarded<XlBool>(0, [&] {
        const auto task = TaskTable::instance().find(handle);
        return task && (task.get()->*operation)() ? 1 : 0;
    });
}

XlBool queryTask(XlTaskHandle handle, XlTaskInfo *info)
{
    return guarded<XlBool>(0, [&] {
        const auto task = info ? TaskTable::instance().find(handle) : nullptr;
        if (!task)
            return 0;
        task->fill(*info);
        return 1;
    });
}

} // namespace

extern "C" {

XLDL_API XlBool XL_Init(void)
{
    return guarded<XlBool>(0, [] { return TaskTable::instance().init() ? 1 : 0; });
}

XLDL_API XlBool XL_UnInit(void)
{
    return guarded<XlBool>(0, [] { return TaskTable::instance().uninit() ? 1 : 0; });
}

XLDL_API XlTaskHandle XL_CreateTask(const XlTaskParams *params)
{
    return guarded<XlTaskHandle>(nullptr, [&]() -> XlTaskHandle {
        std::string url, name, folder;
        if (!params || !readArray(params->url, url) || !readArray(params->fileName, name)
            || !readArray(params->saveFolder, folder))
            return nullptr;
        return TaskTable::instance().create(url, name, folder, params->resume != 0);
    });
}

XLDL_API XlBool XL_DeleteTask(XlTaskHandle task)
{
    return guarded<XlBool>(0, [&] { return TaskTable::instance().erase(task) ? 1 : 0; });
}

XLDL_API XlBool XL_StartTask(XlTaskHandle task)
{
    return withTask(task, &Task::start);
}

XLDL_API XlBool XL_StopTask(XlTaskHandle task)
{
    return withTask(task, &Task::stop);
}

XLDL_API XlBool XL_ForceStopTask(XlTaskHandle task)
{
    return withTask(task, &Task::stop);
}

XLDL_API XlBool XL_QueryTaskInfo(XlTaskHandle task, XlTaskInfo *info)
{
    return queryTask(task, info);
}

XLDL_API XlBool XL_QueryTaskInfoEx(XlTaskHandle task, XlTaskInfo *info)
{
    return queryTask(task, info);
}

XLDL_API void XL_SetSpeedLimit(int32_t kibPerSecond)
{
    guarded<int>(0, [&] {
        TaskTable::instance().setSpeedLimit(int64_t(kibPerSecond) * 1024);
        return 0;
    });
}

XLDL_API void XL_SetUploadSpeedLimit(int32_t, int32_t)
{
    // Nothing is ever uploaded, so there is nothing to limit.
}

XLDL_API XlBool XL_DelTempFile(const XlTaskParams *params)
{
    return guarded<XlBool>(0, [&] {
        std::string name, folder;
        if (!params || !readArray(params->fileName, name) || !readArray(params->saveFolder, folder))
            return 0;
        return TaskTable::instance().deleteTempFile(name, folder) ? 1 : 0;
    });
}

XLDL_API XlBool XL_SetProxy(const XlProxyInfo *proxy)
{
    return guarded<XlBool>(0, [&] {
        ProxySetting setting;
        if (!proxy)
            return 0;
        if (proxy->useSystemProxy == 1) {
            setting.mode = ProxySetting::System;
        } else if (proxy->useSystemProxy != 0) {
            return 0;
        } else if (proxy->proxyType == 1) {
            setting.mode = ProxySetting::Http;
            setting.port = proxy->port;
            if (!readArray(proxy->host, setting.host) || setting.host.empty() || proxy->port <= 0
                || proxy->port > 65535 || !readArray(proxy->user, setting.user)
                || !readArray(proxy->password, setting.password))
                return 0;
        } else if (proxy->proxyType != 0) {
            return 0;
        }
        TaskTable::instance().setProxy(std::move(setting));
        return 1;
    });
}

XLDL_API void XL_SetUserAgent(const XlChar *userAgent)
{
    guarded<int>(0, [&] {
        std::string text;
        if (!userAgent || readText(userAgent, kTextLimit, text))
            TaskTable::instance().setUserAgent(text);
        return 0;
    });
}

XLDL_API XlBool XL_GetFileSizeWithUrl(const XlChar *url, int64_t *size)
{
    return guarded<XlBool>(0, [&] {
        std::string text;
        if (!size || !readText(url, kTextLimit, text) || !isUsableUrl(text) || !TaskTable::instance().ready())
            return 0;
        return queryRemoteSize(TaskTable::instance().transferOptions(text), *size) ? 1 : 0;
    });
}

XLDL_API XlBool XL_ParseThunderPrivateUrl(const XlChar *thunderUrl, XlChar *normalUrl, int32_t capacity)
{
    return guarded<XlBool>(0, [&] {
        std::string text, url;
        if (!normalUrl || capacity <= 0 || !readText(thunderUrl, kTextLimit, text) || !decodeThunderUrl(text, url))
            return 0;
        return writeField(normalUrl, size_t(capacity), url) ? 1 : 0;
    });
}

XLDL_API int32_t XL_SetAdditionInfo(XlTaskHandle, int32_t, const XlChar *, int32_t)
{
    return 0;
}

XLDL_API int32_t XL_SetFileIdAndSize(XlTaskHandle, const XlChar *, uint64_t)
{
    return 0;
}

XLDL_API int32_t XL_CreateTaskByThunder(const XlChar *, const XlChar *, const XlChar *, const XlChar *,
                                        const XlChar *)
{
    return XL_FAIL_UNSUPPORTED;
}

XLDL_API int32_t XL_CreateBTTaskByThunder(const XlChar *)
{
    return 0;
}

XLDL_API XlTaskHandle XL_CreateTaskByURL(const XlChar *url, const XlChar *saveFolder, const XlChar *fileName,
                                         int32_t start)
{
    return guarded<XlTaskHandle>(nullptr, [&]() -> XlTaskHandle {
        std::string urlText, folder, name;
        if (!readText(url, kTextLimit, urlText) || !readText(saveFolder, kTextLimit, folder)
            || !readText(fileName, kTextLimit, name))
            return nullptr;
        TaskTable &table = TaskTable::instance();
        XlTaskHandle handle = table.create(urlText, name, folder, true);
        if (handle && start != 0) {
            const auto task = table.find(handle);
            if (!task || !task->start()) {
                table.erase(handle);
                return nullptr;
            }
        }
        return handle;
    });
}

} // extern "C"
