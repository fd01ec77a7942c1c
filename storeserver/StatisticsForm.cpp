#include "StatisticsForm.h"

#include <vector>

namespace {

const char* const kMachineKeys[] = {"timestamp", "sign", "app_id",  "type_id", "status", "visitor_id", "pc_name",
                                    "user_name", "os",   "memory",  "cpu",     "gpu",    "metrics",    "pc_type"};

} // namespace

bool isWizardStatus(const std::string& status)
{
    return status == "install" || status == "update" || status == "uninstall";
}

std::string wizardFormProblem(const FormFields& form)
{
    const std::string status = formValue(form, "status");
    if (!isWizardStatus(status))
        return {};
    std::vector<std::string> expected(std::begin(kMachineKeys), std::end(kMachineKeys));
    size_t vmTypeAt = expected.size();
    bool hasVmType = form.size() > vmTypeAt && form[vmTypeAt].first == "vm_type";
    if (hasVmType)
        expected.push_back("vm_type");
    if (status == "update") {
        expected.push_back("old_version");
        expected.push_back("new_version");
    }
    for (size_t i = 0; i < expected.size(); ++i) {
        if (i >= form.size())
            return "missing key " + expected[i];
        if (form[i].first != expected[i])
            return "key " + std::to_string(i + 1) + " is " + form[i].first + ", expected " + expected[i];
    }
    if (form.size() > expected.size())
        return "unexpected key " + form[expected.size()].first;
    return {};
}
