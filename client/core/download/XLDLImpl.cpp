#include "core/download/XLDLImpl.h"

#include "platform/PlatformServices.h"

#include <QCoreApplication>

#include <cstring>
#include <type_traits>

XLDLImpl::XLDLImpl()
    : XLDLImpl(defaultLibraryPath())
{
}

XLDLImpl::XLDLImpl(const QString &libraryPath)
{
    // An absolute path: the copy beside the client, never one found elsewhere.
    module.setFileName(libraryPath);
    if (module.load())
        bind();
}

XLDLImpl::~XLDLImpl()
{
    if (pUnInit)
        pUnInit();
    // The library stays mapped: its threads may still be leaving.
}

QString XLDLImpl::defaultLibraryPath()
{
    return QCoreApplication::applicationDirPath() + QLatin1Char('/') + platform().downloadEngineFileName();
}

void XLDLImpl::bind()
{
    auto look = [this](auto &pointer, const char *name) {
        pointer = reinterpret_cast<std::remove_reference_t<decltype(pointer)>>(module.resolve(name));
    };
    look(pInit, "XL_Init");
    look(pUnInit, "XL_UnInit");
    look(pCreateTask, "XL_CreateTask");
    look(pDeleteTask, "XL_DeleteTask");
    look(pStartTask, "XL_StartTask");
    look(pStopTask, "XL_StopTask");
    look(pQueryTaskInfo, "XL_QueryTaskInfo");
    look(pQueryTaskInfoEx, "XL_QueryTaskInfoEx");
    look(pSetSpeedLimit, "XL_SetSpeedLimit");
    look(pSetUploadSpeedLimit, "XL_SetUploadSpeedLimit");
    look(pDelTempFile, "XL_DelTempFile");
    look(pSetProxy, "XL_SetProxy");
    look(pSetUserAgent, "XL_SetUserAgent");
    look(pGetFileSizeWithUrl, "XL_GetFileSizeWithUrl");
    look(pParseThunderPrivateUrl, "XL_ParseThunderPrivateUrl");
    look(pSetAdditionInfo, "XL_SetAdditionInfo");
    look(pSetFileIdAndSize, "XL_SetFileIdAndSize");
    look(pCreateTaskByThunder, "XL_CreateTaskByThunder");
    look(pCreateBTTaskByThunder, "XL_CreateBTTaskByThunder");
    look(pCreateTaskByURL, "XL_CreateTaskByURL");
    look(pForceStopTask, "XL_ForceStopTask");
}

XlTaskHandle XLDLImpl::CreateTask(const XlTaskParams *params)
{
    return pCreateTask ? pCreateTask(params) : nullptr;
}

bool XLDLImpl::DeleteTask(XlTaskHandle task)
{
    return task && pDeleteTask && pDeleteTask(task) != 0;
}

bool XLDLImpl::StartTask(XlTaskHandle task)
{
    return task && pStartTask && pStartTask(task) != 0;
}

bool XLDLImpl::StopTask(XlTaskHandle task)
{
    return task && pStopTask && pStopTask(task) != 0;
}

bool XLDLImpl::ForceStopTask(XlTaskHandle task)
{
    return task && pForceStopTask && pForceStopTask(task) != 0;
}

bool XLDLImpl::QueryTaskInfo(XlTaskHandle task, XlTaskInfo *info)
{
    return task && pQueryTaskInfo && pQueryTaskInfo(task, info) != 0;
}

bool XLDLImpl::QueryTaskInfoEx(XlTaskHandle task, XlTaskInfo *info)
{
    return task && pQueryTaskInfoEx && pQueryTaskInfoEx(task, info) != 0;
}

void XLDLImpl::SetSpeedLimit(int32_t kibPerSecond)
{
    if (pSetSpeedLimit)
        pSetSpeedLimit(kibPerSecond);
}

void XLDLImpl::SetUploadSpeedLimit(int32_t tcpKibPerSecond, int32_t otherKibPerSecond)
{
    if (pSetUploadSpeedLimit)
        pSetUploadSpeedLimit(tcpKibPerSecond, otherKibPerSecond);
}

bool XLDLImpl::DelTempFile(const XlTaskParams *params)
{
    return pDelTempFile && pDelTempFile(params) != 0;
}

bool XLDLImpl::SetProxy(const XlProxyInfo *proxy)
{
    return pSetProxy && pSetProxy(proxy) != 0;
}

void XLDLImpl::SetUserAgent(const XlChar *userAgent)
{
    if (pSetUserAgent)
        pSetUserAgent(userAgent);
}

bool XLDLImpl::GetFileSizeWithUrl(const XlChar *url, int64_t *size)
{
    return pGetFileSizeWithUrl && pGetFileSizeWithUrl(url, size) != 0;
}

bool XLDLImpl::ParseThunderPrivateUrl(const XlChar *thunderUrl, XlChar *normalUrl, int32_t capacity)
{
    return pParseThunderPrivateUrl && pParseThunderPrivateUrl(thunderUrl, normalUrl, capacity) != 0;
}

int32_t XLDLImpl::SetAdditionInfo(XlTaskHandle task, int32_t kind, const XlChar *value, int32_t length)
{
    return task && pSetAdditionInfo ? pSetAdditionInfo(task, kind, value, length) : 0;
}

int32_t XLDLImpl::SetFileIdAndSize(XlTaskHandle task, const XlChar *fileId, uint64_t size)
{
    return task && pSetFileIdAndSize ? pSetFileIdAndSize(task, fileId, size) : 0;
}

bool XLDLImpl::CreateTaskByThunder(const XlChar *url, const XlChar *fileName, const XlChar *referer,
                                   const XlChar *comment, const XlChar *cookie)
{
    return pCreateTaskByThunder && pCreateTaskByThunder(url, fileName, referer, comment, cookie) == 0;
}

int32_t XLDLImpl::CreateBTTaskByThunder(const XlChar *torrentPath)
{
    return pCreateBTTaskByThunder ? pCreateBTTaskByThunder(torrentPath) : 0;
}

XlTaskHandle XLDLImpl::CreateTaskByURL(const XlChar *url, const XlChar *saveFolder, const XlChar *fileName,
                                       int32_t start)
{
    return pCreateTaskByURL ? pCreateTaskByURL(url, saveFolder, fileName, start) : nullptr;
}

bool XLDLImpl::UseIEProxy()
{
    XlProxyInfo proxy;
    std::memset(&proxy, 0, sizeof proxy);
    proxy.useSystemProxy = 1;
    proxy.proxyType = 0;
    return SetProxy(&proxy);
}

bool XLDLImpl::Init()
{
    return pInit && pInit() != 0;
}

bool XLDLImpl::UnInit()
{
    return pUnInit && pUnInit() != 0;
}
