#pragma once
// The client's binding to the download engine library: one operation per
// exported function. An operation whose function could not be bound (library
// missing, or the name not exported) calls nothing and returns its "unbound"
// result: false, 0 or a null handle. So does an operation on a task given a
// null handle (a task the engine refused to create).

#include "xldl.h"

class XLDL
{
public:
    // The process's one engine object, created on the first call. Deleting it
    // lets a later call create a new one, so the pointer never names a
    // destroyed object.
    static XLDL *instance();

    virtual XlTaskHandle CreateTask(const XlTaskParams *params) = 0;
    virtual bool DeleteTask(XlTaskHandle task) = 0;
    virtual bool StartTask(XlTaskHandle task) = 0;
    virtual bool StopTask(XlTaskHandle task) = 0;
    virtual bool ForceStopTask(XlTaskHandle task) = 0;
    virtual bool QueryTaskInfo(XlTaskHandle task, XlTaskInfo *info) = 0;
    virtual bool QueryTaskInfoEx(XlTaskHandle task, XlTaskInfo *info) = 0;
    virtual void SetSpeedLimit(int32_t kibPerSecond) = 0;
    virtual void SetUploadSpeedLimit(int32_t tcpKibPerSecond, int32_t otherKibPerSecond) = 0;
    virtual bool DelTempFile(const XlTaskParams *params) = 0;
    virtual bool SetProxy(const XlProxyInfo *proxy) = 0;
    virtual void SetUserAgent(const XlChar *userAgent) = 0;
    virtual bool GetFileSizeWithUrl(const XlChar *url, int64_t *size) = 0;
    virtual bool ParseThunderPrivateUrl(const XlChar *thunderUrl, XlChar *normalUrl, int32_t capacity) = 0;
    virtual int32_t SetAdditionInfo(XlTaskHandle task, int32_t kind, const XlChar *value, int32_t length) = 0;
    virtual int32_t SetFileIdAndSize(XlTaskHandle task, const XlChar *fileId, uint64_t size) = 0;
    // True when the library answers 0.
    virtual bool CreateTaskByThunder(const XlChar *url, const XlChar *fileName, const XlChar *referer,
                                     const XlChar *comment, const XlChar *cookie) = 0;
    virtual int32_t CreateBTTaskByThunder(const XlChar *torrentPath) = 0;
    virtual XlTaskHandle CreateTaskByURL(const XlChar *url, const XlChar *saveFolder, const XlChar *fileName,
                                         int32_t start) = 0;
    // The system proxy settings, through SetProxy.
    virtual bool UseIEProxy() = 0;
    virtual ~XLDL();
    virtual bool Init() = 0;
    virtual bool UnInit() = 0;

protected:
    XLDL() = default;
    XLDL(const XLDL &) = delete;
    XLDL &operator=(const XLDL &) = delete;
};
