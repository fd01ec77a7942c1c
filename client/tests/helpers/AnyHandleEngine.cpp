// A download engine stand-in that takes every handle, the null one too, as
// a task: its task calls succeed and its queries fill the record. Loaded in
// place of the engine, it shows which calls the client's binding lets through.

#include "xldl.h"

extern "C" {

XLDL_API XlBool XL_Init(void)
{
    return 1;
}

XLDL_API XlBool XL_UnInit(void)
{
    return 1;
}

XLDL_API XlBool XL_DeleteTask(XlTaskHandle)
{
    return 1;
}

XLDL_API XlBool XL_StartTask(XlTaskHandle)
{
    return 1;
}

XLDL_API XlBool XL_StopTask(XlTaskHandle)
{
    return 1;
}

XLDL_API XlBool XL_ForceStopTask(XlTaskHandle)
{
    return 1;
}

XLDL_API XlBool XL_QueryTaskInfo(XlTaskHandle, XlTaskInfo *info)
{
    info->state = XL_STATE_COMPLETE;
    return 1;
}

XLDL_API XlBool XL_QueryTaskInfoEx(XlTaskHandle, XlTaskInfo *info)
{
    info->state = XL_STATE_COMPLETE;
    return 1;
}

XLDL_API int32_t XL_SetAdditionInfo(XlTaskHandle, int32_t, const XlChar *, int32_t)
{
    return 1;
}

XLDL_API int32_t XL_SetFileIdAndSize(XlTaskHandle, const XlChar *, uint64_t)
{
    return 1;
}

} // extern "C"
