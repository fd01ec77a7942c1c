#pragma once

#include "core/download/XLDL.h"

#include <QLibrary>
#include <QString>

// Loads the engine library and binds its functions by name. The library stays
// loaded until the process ends.
class XLDLImpl : public XLDL
{
public:
    // The library in the application folder.
    XLDLImpl();
    explicit XLDLImpl(const QString &libraryPath);
    ~XLDLImpl() override;

    // The library's absolute path in the application folder.
    static QString defaultLibraryPath();

    XlTaskHandle CreateTask(const XlTaskParams *params) override;
    bool DeleteTask(XlTaskHandle task) override;
    bool StartTask(XlTaskHandle task) override;
    bool StopTask(XlTaskHandle task) override;
    bool ForceStopTask(XlTaskHandle task) override;
    bool QueryTaskInfo(XlTaskHandle task, XlTaskInfo *info) override;
    bool QueryTaskInfoEx(XlTaskHandle task, XlTaskInfo *info) override;
    void SetSpeedLimit(int32_t kibPerSecond) override;
    void SetUploadSpeedLimit(int32_t tcpKibPerSecond, int32_t otherKibPerSecond) override;
    bool DelTempFile(const XlTaskParams *params) override;
    bool SetProxy(const XlProxyInfo *proxy) override;
    void SetUserAgent(const XlChar *userAgent) override;
    bool GetFileSizeWithUrl(const XlChar *url, int64_t *size) override;
    bool ParseThunderPrivateUrl(const XlChar *thunderUrl, XlChar *normalUrl, int32_t capacity) override;
    int32_t SetAdditionInfo(XlTaskHandle task, int32_t kind, const XlChar *value, int32_t length) override;
    int32_t SetFileIdAndSize(XlTaskHandle task, const XlChar *fileId, uint64_t size) override;
    bool CreateTaskByThunder(const XlChar *url, const XlChar *fileName, const XlChar *referer,
                             const XlChar *comment, const XlChar *cookie) override;
    int32_t CreateBTTaskByThunder(const XlChar *torrentPath) override;
    XlTaskHandle CreateTaskByURL(const XlChar *url, const XlChar *saveFolder, const XlChar *fileName,
                                 int32_t start) override;
    bool UseIEProxy() override;
    bool Init() override;
    bool UnInit() override;

private:
    void bind();

    QLibrary module;
    decltype(&XL_Init) pInit = nullptr;
    decltype(&XL_UnInit) pUnInit = nullptr;
    decltype(&XL_CreateTask) pCreateTask = nullptr;
    decltype(&XL_DeleteTask) pDeleteTask = nullptr;
    decltype(&XL_StartTask) pStartTask = nullptr;
    decltype(&XL_StopTask) pStopTask = nullptr;
    decltype(&XL_QueryTaskInfo) pQueryTaskInfo = nullptr;
    decltype(&XL_QueryTaskInfoEx) pQueryTaskInfoEx = nullptr;
    decltype(&XL_SetSpeedLimit) pSetSpeedLimit = nullptr;
    decltype(&XL_SetUploadSpeedLimit) pSetUploadSpeedLimit = nullptr;
    decltype(&XL_DelTempFile) pDelTempFile = nullptr;
    decltype(&XL_SetProxy) pSetProxy = nullptr;
    decltype(&XL_SetUserAgent) pSetUserAgent = nullptr;
    decltype(&XL_GetFileSizeWithUrl) pGetFileSizeWithUrl = nullptr;
    decltype(&XL_ParseThunderPrivateUrl) pParseThunderPrivateUrl = nullptr;
    decltype(&XL_SetAdditionInfo) pSetAdditionInfo = nullptr;
    decltype(&XL_SetFileIdAndSize) pSetFileIdAndSize = nullptr;
    decltype(&XL_CreateTaskByThunder) pCreateTaskByThunder = nullptr;
    decltype(&XL_CreateBTTaskByThunder) pCreateBTTaskByThunder = nullptr;
    decltype(&XL_CreateTaskByURL) pCreateTaskByURL = nullptr;
    decltype(&XL_ForceStopTask) pForceStopTask = nullptr;
};
