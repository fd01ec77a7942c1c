#include "WizardNotices.h"

const wchar_t* const kWorkerStartFailedText = L"后台任务启动失败！";
const wchar_t* const kExtractFailedText = L"程序文件解压失败！";
const wchar_t* const kRegistryWriteFailedText = L"注册表信息写入失败！";
