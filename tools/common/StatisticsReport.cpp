#include "StatisticsReport.h"

#include "AppApiHost.h"
#include "Ccommon.h"
#include "HttpPost.h"
#include "MachineDescription.h"
#include "OemText.h"
#include "OsDescription.h"
#include "VirtualMachineProbe.h"

#include <windows.h>
#include <lmcons.h>

#include <ctime>

const char* const kSigningSalt = "kwintep!~#@%$&^)(*";

namespace {

std::wstring ComputerName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = {0};
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &size) ? std::wstring(name) : std::wstring();
}

std::wstring UserName()
{
    wchar_t name[UNLEN + 1] = {0};
    DWORD size = UNLEN + 1;
    return GetUserNameW(name, &size) ? std::wstring(name) : std::wstring();
}

void AppendField(std::string& form, const char* key, const std::string& value)
{
    form += '&';
    form += key;
    form += '=';
    form += EncodeFormValue(value);
}

} // namespace

std::string EncodeFormValue(const std::string& value)
{
    std::string encoded;
    encoded.reserve(value.size());
    for (char c : value) {
        switch (c) {
        case '&': encoded += "%26"; break;
        case '=': encoded += "%3D"; break;
        case '%': encoded += "%25"; break;
        case '+': encoded += "%2B"; break;
        default: encoded += c;
        }
    }
    return encoded;
}

std::string BuildStatisticsForm(const StatisticsFields& fields)
{
    std::string form = "timestamp=" + EncodeFormValue(fields.timestamp);
    AppendField(form, "sign", fields.sign);
    AppendField(form, "app_id", "1002");
    AppendField(form, "type_id", "0");
    AppendField(form, "status", fields.status);
    AppendField(form, "visitor_id", fields.visitorId);
    AppendField(form, "pc_name", fields.pcName);
    AppendField(form, "user_name", fields.userName);
    AppendField(form, "os", fields.os);
    AppendField(form, "memory", fields.memory);
    AppendField(form, "cpu", fields.cpu);
    AppendField(form, "gpu", fields.gpu);
    AppendField(form, "metrics", fields.metrics);
    AppendField(form, "pc_type", fields.pcType);
    if (!fields.vmType.empty())
        AppendField(form, "vm_type", fields.vmType);
    if (fields.hasVersions) {
        AppendField(form, "old_version", fields.oldVersion);
        AppendField(form, "new_version", fields.newVersion);
    }
    return form;
}

StatisticsFields CollectStatisticsFields(const char* status)
{
    StatisticsFields fields;
    fields.timestamp = FormatString("%d", static_cast<int>(static_cast<unsigned int>(std::time(NULL))));
    Ccommon md5;
    fields.sign = md5.Md5String((fields.timestamp + kSigningSalt).c_str());
    fields.status = status ? status : "";
    GetMacAddress(fields.visitorId);
    fields.pcName = WideToOemString(ComputerName());
    fields.userName = WideToOemString(UserName());
    fields.os = WideToOemString(GetOsDescription());
    fields.memory = WideToOemString(GetMemoryText());
    fields.cpu = WideToOemString(GetCpuBrand());
    fields.gpu = WideToOemString(GetGpuName());
    fields.metrics = WideToOemString(GetMetricsText());
    GetPcType(fields.pcType);
    if (IsVirtualPC())
        fields.vmType = "vpc";
    else if (IsVMware())
        fields.vmType = "vmware";
    return fields;
}

void PostStatistics(const StatisticsFields& fields)
{
    if (fields.sign.empty())
        return;
    std::string reply;
    HttpPost(StatisticsUrl(), BuildStatisticsForm(fields), reply);
}

void ReportInstallStatistics(const char* status)
{
    PostStatistics(CollectStatisticsFields(status));
}
