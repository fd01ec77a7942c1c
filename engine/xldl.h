/*
 * xldl.h: the download engine library libxldl.so.
 *
 * The client loads the library at run time by absolute path from its own
 * folder and looks the 21 functions below up by name. Every function returns
 * a result and never throws; every function may be called from any thread.
 * The library runs its downloads on threads of its own and has no callbacks:
 * callers poll a task with XL_QueryTaskInfoEx (the client does so once a
 * second).
 *
 * Conventions
 *   - XlBool results are non-zero on success and 0 on failure.
 *   - Texts are UTF-16 (char16_t) and end with a NUL inside their field. A text
 *     field without its NUL is refused, never read past.
 *   - Task handles are opaque and pointer-sized. A handle that is unknown,
 *     deleted or from before XL_UnInit is refused (failure result), never
 *     dereferenced.
 *   - Every call except XL_Init, XL_UnInit, XL_ParseThunderPrivateUrl and the
 *     settings calls fails until XL_Init has succeeded.
 *
 * Files
 *   - While a task downloads "<folder>/<name>", its data goes to the temporary
 *     file "<folder>/<name>.xltd" beside the target, so that the final rename
 *     stays on one file system. On success the temporary file is renamed to
 *     the target, replacing a file of that name.
 *   - The engine's own files live in the folder "download" beside the library:
 *     one resume record "<16 hex digits>.xltask" per unfinished target (the
 *     digits are a hash of the target path). The record names the URL, the
 *     target, the bytes of the temporary file known to be good, the total size
 *     and the server's validators. A stopped, failed or interrupted task keeps
 *     both files; a later start of a task with the same URL and target resumes
 *     with the HTTP byte range "bytes=<good bytes>-". Without a matching record
 *     a temporary file is started afresh.
 *
 * Answers
 *   - 200: the whole file. Answering a resume, the temporary file restarts
 *     from 0 and the answer's body is taken from its first byte.
 *   - 206: accepted only when its Content-Range starts at the requested offset
 *     (0 without a resume), states a total, and agrees with the Content-Length
 *     and with the total the resume record knows; its bytes are appended.
 *   - 416: the download is complete when the total the server states equals
 *     the bytes already present; otherwise it restarts from 0.
 *   - Bodies of redirects (3xx) are never written; redirects are followed
 *     (at most 10, http and https only, to any host).
 *   - Every other answer (another 1xx or 2xx, a 3xx without a usable
 *     Location, 4xx, 5xx, headers whose numbers cannot be read) is a failure
 *     that leaves the temporary file as it was.
 *   - No byte past the end an answer states is written. A task is complete
 *     only when the file holds exactly the total stated (by Content-Length,
 *     Content-Range or the resume record); without any stated size (chunked
 *     or close-delimited) a clean end of the transfer is the end.
 *   - A failure keeps the bytes that are still valid for a later resume; a
 *     failed write or rename puts the task into the error state as well.
 */
#ifndef XLDL_H
#define XLDL_H

#include <stdint.h>

#ifdef __cplusplus
#include <cstddef>
extern "C" {
#else
#include <stddef.h>
#include <uchar.h>
#endif

#define XLDL_API __attribute__((visibility("default")))

typedef char16_t XlChar;
typedef int32_t XlBool;
typedef struct XlTask *XlTaskHandle;

/* Task states (XlTaskInfo.state). */
enum {
    XL_STATE_IDLE = 0,        /* created, never started */
    XL_STATE_ERROR = 1,       /* stopped by a failure; XlTaskInfo.failCode says which */
    XL_STATE_PAUSED = 2,      /* stopped by XL_StopTask or XL_ForceStopTask; data kept */
    XL_STATE_DOWNLOADING = 3, /* the server's answer arrived; body being received */
    XL_STATE_COMPLETE = 4,    /* the target file is in place */
    XL_STATE_WAITING = 5      /* started, waiting for the server's answer headers */
};

/*
 * Failure codes (XlTaskInfo.failCode in XL_STATE_ERROR). Codes 100 to 599 are
 * the HTTP status of a final answer that carries no file (404, 500, 204, a 3xx
 * without a target, ...). The client reports a failure as the code plus 1000
 * and uses 1068 and 64250 for its own findings, so the engine never uses 68
 * or 63250.
 */
enum {
    XL_FAIL_NONE = 0,
    XL_FAIL_CONNECT = 10,     /* host not found or connection refused */
    XL_FAIL_NETWORK = 11,     /* connection broken or answer cut short */
    XL_FAIL_TIMEOUT = 12,     /* no answer or no data for 60 seconds */
    XL_FAIL_WRITE = 13,       /* the save folder or temporary file cannot be written */
    XL_FAIL_RENAME = 14,      /* the finished file cannot be moved to the target */
    XL_FAIL_REDIRECT = 15,    /* too many redirects */
    XL_FAIL_BAD_URL = 16,     /* malformed URL or a scheme other than http and https */
    XL_FAIL_TARGET_BUSY = 17, /* another task is downloading the same target */
    XL_FAIL_RANGE = 18,       /* a 206 that does not fit the request or the file, or 416 again and again */
    XL_FAIL_BAD_ANSWER = 19,  /* no valid status line, a number in the headers that cannot be read,
                                 a body that does not end where its headers said */
    XL_FAIL_UNSUPPORTED = 20  /* the operation needs something this engine has not */
};

#pragma pack(push, 1)

/*
 * Task parameters (26,564 bytes). The caller zero-fills the record and sets
 * the URL, the file name and the save folder.
 */
typedef struct XlTaskParams {
    int32_t reserved0;        /*     0: ignored */
    XlChar url[8264];         /*     4: source URL (http or https) */
    XlChar fileName[520];     /* 16532: target file name; no "/", not "." or ".." */
    XlChar saveFolder[262];   /* 17572: absolute folder without ".."; created when missing */
    int32_t reserved18096;    /* 18096: ignored (the client sets 0) */
    uint8_t reserved18100[256];
    int32_t reserved18356;    /* 18356: ignored (the client sets 0) */
    int32_t reserved18360;    /* 18360: ignored (the client sets 0, or 5 for XL_DelTempFile) */
    int32_t resume;           /* 18364: 1 continues a matching temporary file, 0 starts afresh */
    int32_t reserved18368;    /* 18368: ignored (the client sets 1) */
    uint8_t reserved18372[8192];
} XlTaskParams;

/*
 * Task information (1,429 bytes, packed). XL_QueryTaskInfoEx writes the fields
 * named here and leaves every reserved byte as the caller set it.
 */
typedef struct XlTaskInfo {
    int32_t state;            /*    0: one of XL_STATE_* */
    int32_t failCode;         /*    4: one of XL_FAIL_* or an HTTP status, in XL_STATE_ERROR */
    XlChar fileName[520];     /*    8: the task's file name */
    int64_t totalSize;        /* 1048: bytes of the whole file; 0 while unknown */
    int64_t downloadedSize;   /* 1056: bytes received, counting those of earlier runs */
    uint8_t reserved1064[100];
    uint8_t reserved1164;
    int32_t reserved1165;     /* 1165: unaligned, as the record is packed */
    uint8_t reserved1169[260];
} XlTaskInfo;

/*
 * Proxy settings (8,412 bytes) for XL_SetProxy. With useSystemProxy 1 the
 * environment's http_proxy, https_proxy and no_proxy apply; with 0,
 * proxyType 0 connects directly (the default) and 1 goes through the HTTP
 * proxy host:port, with user and password when user is not empty.
 */
typedef struct XlProxyInfo {
    int32_t useSystemProxy;   /*    0 */
    int32_t proxyType;        /*    4 */
    XlChar host[2048];        /*    8 */
    int32_t port;             /* 4104 */
    XlChar user[1076];        /* 4108 */
    XlChar password[1076];    /* 6260 */
} XlProxyInfo;

#pragma pack(pop)

#ifdef __cplusplus
#define XLDL_STATIC_ASSERT static_assert
#else
#define XLDL_STATIC_ASSERT _Static_assert
#endif
XLDL_STATIC_ASSERT(sizeof(XlTaskParams) == 26564, "XlTaskParams size");
XLDL_STATIC_ASSERT(offsetof(XlTaskParams, url) == 4, "XlTaskParams url");
XLDL_STATIC_ASSERT(offsetof(XlTaskParams, fileName) == 16532, "XlTaskParams fileName");
XLDL_STATIC_ASSERT(offsetof(XlTaskParams, saveFolder) == 17572, "XlTaskParams saveFolder");
XLDL_STATIC_ASSERT(offsetof(XlTaskParams, reserved18096) == 18096, "XlTaskParams 18096");
XLDL_STATIC_ASSERT(offsetof(XlTaskParams, reserved18356) == 18356, "XlTaskParams 18356");
XLDL_STATIC_ASSERT(offsetof(XlTaskParams, reserved18360) == 18360, "XlTaskParams 18360");
XLDL_STATIC_ASSERT(offsetof(XlTaskParams, resume) == 18364, "XlTaskParams resume");
XLDL_STATIC_ASSERT(offsetof(XlTaskParams, reserved18368) == 18368, "XlTaskParams 18368");
XLDL_STATIC_ASSERT(sizeof(XlTaskInfo) == 1429, "XlTaskInfo size");
XLDL_STATIC_ASSERT(offsetof(XlTaskInfo, failCode) == 4, "XlTaskInfo failCode");
XLDL_STATIC_ASSERT(offsetof(XlTaskInfo, totalSize) == 1048, "XlTaskInfo totalSize");
XLDL_STATIC_ASSERT(offsetof(XlTaskInfo, downloadedSize) == 1056, "XlTaskInfo downloadedSize");
XLDL_STATIC_ASSERT(offsetof(XlTaskInfo, reserved1064) == 1064, "XlTaskInfo 1064");
XLDL_STATIC_ASSERT(offsetof(XlTaskInfo, reserved1164) == 1164, "XlTaskInfo 1164");
XLDL_STATIC_ASSERT(offsetof(XlTaskInfo, reserved1165) == 1165, "XlTaskInfo 1165");
XLDL_STATIC_ASSERT(sizeof(XlProxyInfo) == 8412, "XlProxyInfo size");
XLDL_STATIC_ASSERT(offsetof(XlProxyInfo, port) == 4104, "XlProxyInfo port");
XLDL_STATIC_ASSERT(sizeof(XlTaskHandle) == sizeof(void *), "pointer-sized handles");
#undef XLDL_STATIC_ASSERT

/* Starts the engine (creates the "download" folder). Repeated calls succeed. */
XLDL_API XlBool XL_Init(void);
/* Stops every task (keeping its data for a later resume) and forgets all
   handles. Idempotent: a second call succeeds and does nothing. XL_Init may
   follow. */
XLDL_API XlBool XL_UnInit(void);

/* Creates a task in XL_STATE_IDLE; NULL when a field is missing, unterminated
   or unsafe (a file name with "/", a relative folder, a folder with ".."). */
XLDL_API XlTaskHandle XL_CreateTask(const XlTaskParams *params);
/* Stops the task when it runs and forgets the handle; its temporary data stays. */
XLDL_API XlBool XL_DeleteTask(XlTaskHandle task);
/* Starts (or resumes) the task: XL_STATE_WAITING at once. A task that runs or
   is complete is left as it is. */
XLDL_API XlBool XL_StartTask(XlTaskHandle task);
/* Stops the task and returns once its data and resume record are on disk:
   XL_STATE_PAUSED (a complete task stays complete). */
XLDL_API XlBool XL_StopTask(XlTaskHandle task);
/* Same as XL_StopTask: every stop already ends the transfer at once. */
XLDL_API XlBool XL_ForceStopTask(XlTaskHandle task);
/* Fills the task's fields of *info. XL_QueryTaskInfo is the same call. */
XLDL_API XlBool XL_QueryTaskInfo(XlTaskHandle task, XlTaskInfo *info);
XLDL_API XlBool XL_QueryTaskInfoEx(XlTaskHandle task, XlTaskInfo *info);

/* Receive limit per transfer in KiB/s (0 or less: none), for transfers
   started afterwards. */
XLDL_API void XL_SetSpeedLimit(int32_t kibPerSecond);
/* Accepted and kept; the engine never uploads, so it has no effect. */
XLDL_API void XL_SetUploadSpeedLimit(int32_t tcpKibPerSecond, int32_t otherKibPerSecond);
/* Deletes the temporary file and the resume record of the target named by
   fileName and saveFolder (the URL is not needed). Succeeds when neither is
   left; fails while a task downloads that target. */
XLDL_API XlBool XL_DelTempFile(const XlTaskParams *params);
/* Proxy for transfers started afterwards (see XlProxyInfo). */
XLDL_API XlBool XL_SetProxy(const XlProxyInfo *proxy);
/* User-Agent header for transfers started afterwards; NULL or empty: none. */
XLDL_API void XL_SetUserAgent(const XlChar *userAgent);
/* Asks the server (HEAD, redirects followed, 15 s at most) for the size of the
   file at url. Fails when the size is not stated. */
XLDL_API XlBool XL_GetFileSizeWithUrl(const XlChar *url, int64_t *size);
/* Decodes "thunder://" + Base64("AA" + url + "ZZ") into normalUrl (capacity
   in characters, NUL included). */
XLDL_API XlBool XL_ParseThunderPrivateUrl(const XlChar *thunderUrl, XlChar *normalUrl,
                                          int32_t capacity);
/* No kind of additional information is supported: always 0. */
XLDL_API int32_t XL_SetAdditionInfo(XlTaskHandle task, int32_t kind, const XlChar *value,
                                    int32_t length);
/* Peer file ids are not supported: always 0. */
XLDL_API int32_t XL_SetFileIdAndSize(XlTaskHandle task, const XlChar *fileId, uint64_t size);
/* Handing a download to a separate download program is not supported: always
   XL_FAIL_UNSUPPORTED (non-zero; 0 would be success). */
XLDL_API int32_t XL_CreateTaskByThunder(const XlChar *url, const XlChar *fileName,
                                        const XlChar *referer, const XlChar *comment,
                                        const XlChar *cookie);
/* BitTorrent is not supported: always 0. */
XLDL_API int32_t XL_CreateBTTaskByThunder(const XlChar *torrentPath);
/* XL_CreateTask from separate texts (resume on), then XL_StartTask when start
   is non-zero. NULL on failure. */
XLDL_API XlTaskHandle XL_CreateTaskByURL(const XlChar *url, const XlChar *saveFolder,
                                         const XlChar *fileName, int32_t start);

#ifdef __cplusplus
}
#endif

#endif
