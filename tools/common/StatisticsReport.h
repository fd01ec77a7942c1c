#pragma once

#include <string>

// The wizards' statistics report: a signed form posted to the store's "/hits".

// The shared signing salt, appended to the signed text as data.
extern const char* const kSigningSalt;

// One report's values, narrow and in the order they are sent; the machine
// texts are already in the OEM code page.
struct StatisticsFields {
    std::string timestamp;
    std::string sign;
    std::string status;      // "install", "update" or "uninstall"
    std::string visitorId;   // MAC text, may be empty
    std::string pcName;
    std::string userName;
    std::string os;
    std::string memory;
    std::string cpu;
    std::string gpu;
    std::string metrics;
    std::string pcType;
    std::string vmType;      // empty outside a virtual machine: the key is left out
    bool hasVersions = false;  // the updater's old and new version follow
    std::string oldVersion;
    std::string newVersion;
};

// A value with the characters that would change the form's structure
// ("&", "=", "%", "+") percent-encoded; every other byte as it is.
std::string EncodeFormValue(const std::string& value);

// The form body in the report's field order.
std::string BuildStatisticsForm(const StatisticsFields& fields);

// Timestamp, sign and the machine description for a report with this status.
StatisticsFields CollectStatisticsFields(const char* status);

// Posts a report; nothing is posted without a sign. Reply and code are ignored.
void PostStatistics(const StatisticsFields& fields);

// The installer's and uninstaller's report: "install" or "uninstall".
void ReportInstallStatistics(const char* status);
