#include "Ccommon.h"
#include "StandInLog.h"
#include "StatisticsReport.h"

#include <gtest/gtest.h>

#include <string>

namespace {

StatisticsFields SampleFields(const char* status)
{
    StatisticsFields fields;
    fields.timestamp = "1700000000";
    fields.sign = "0123456789abcdef0123456789abcdef";
    fields.status = status;
    fields.visitorId = "00:1A:2B:3C:4D:5E";
    fields.pcName = "DESKTOP-1";
    fields.userName = "player";
    fields.os = "Microsoft Windows 7 Ultimate Edition (build 7601), 32-bit";
    fields.memory = "15G ( 7G available )";
    fields.cpu = "Intel(R) CPU";
    fields.gpu = "Wine Adapter";
    fields.metrics = "1920 * 1080 ( 60Hz / 32Bit )";
    fields.pcType = "desktop:1/128/255%";
    return fields;
}

const std::string kMachinePart = "&app_id=1002&type_id=0&status=";
const std::string kDescription =
    "&pc_name=DESKTOP-1&user_name=player&os=Microsoft Windows 7 Ultimate Edition (build 7601), 32-bit"
    "&memory=15G ( 7G available )&cpu=Intel(R) CPU&gpu=Wine Adapter&metrics=1920 * 1080 ( 60Hz / 32Bit )"
    "&pc_type=desktop:1/128/255%25";

TEST(StatisticsFormTest, FieldsGoInOrderWithOnlyStructuralCharactersEncoded)
{
    struct Row {
        const char* what;
        StatisticsFields fields;
        std::string body;
    };
    const std::string head = "timestamp=1700000000&sign=0123456789abcdef0123456789abcdef" + kMachinePart;
    StatisticsFields vm = SampleFields("install");
    vm.vmType = "vmware";
    StatisticsFields update = SampleFields("update");
    update.hasVersions = true;
    update.oldVersion = "1.1.1.81";
    update.newVersion = "1.1.2.0";
    StatisticsFields updateInVm = update;
    updateInVm.vmType = "vpc";
    StatisticsFields noMac = SampleFields("uninstall");
    noMac.visitorId.clear();
    StatisticsFields odd = SampleFields("install");
    odd.pcName = "A&B=C+D 100%";
    odd.cpu = "\xC4\xFA CPU";  // OEM bytes go out as they are
    const Row rows[] = {
        {"install", SampleFields("install"), head + "install&visitor_id=00:1A:2B:3C:4D:5E" + kDescription},
        {"install in a VM", vm, head + "install&visitor_id=00:1A:2B:3C:4D:5E" + kDescription + "&vm_type=vmware"},
        {"uninstall, no MAC", noMac, head + "uninstall&visitor_id=" + kDescription},
        {"update", update,
         head + "update&visitor_id=00:1A:2B:3C:4D:5E" + kDescription + "&old_version=1.1.1.81&new_version=1.1.2.0"},
        {"update in a VM", updateInVm,
         head + "update&visitor_id=00:1A:2B:3C:4D:5E" + kDescription
             + "&vm_type=vpc&old_version=1.1.1.81&new_version=1.1.2.0"},
        {"structural characters", odd,
         head + "install&visitor_id=00:1A:2B:3C:4D:5E&pc_name=A%26B%3DC%2BD 100%25&user_name=player"
             "&os=Microsoft Windows 7 Ultimate Edition (build 7601), 32-bit&memory=15G ( 7G available )"
             "&cpu=\xC4\xFA CPU&gpu=Wine Adapter&metrics=1920 * 1080 ( 60Hz / 32Bit )&pc_type=desktop:1/128/255%25"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(BuildStatisticsForm(row.fields), row.body);
    }
}

TEST(StatisticsFormTest, CollectedFieldsAreSignedOverTimestampAndSalt)
{
    StatisticsFields fields = CollectStatisticsFields("install");
    ASSERT_FALSE(fields.timestamp.empty());
    EXPECT_EQ(std::string(kSigningSalt), "kwintep!~#@%$&^)(*");
    Ccommon md5;
    EXPECT_EQ(fields.sign, md5.Md5String((fields.timestamp + "kwintep!~#@%$&^)(*").c_str()));
    EXPECT_EQ(fields.sign.size(), 32u);
    EXPECT_EQ(fields.status, "install");
    EXPECT_TRUE(fields.vmType.empty());
    EXPECT_FALSE(fields.os.empty());
    EXPECT_FALSE(fields.cpu.empty());
}

TEST(StatisticsFormTest, ReportReachesTheStandInInOrderAndSigned)
{
    size_t before = StandInLogLines().size();
    StatisticsFields fields = CollectStatisticsFields("uninstall");
    fields.pcName = "A&B PC";
    PostStatistics(fields);
    std::vector<std::string> lines = StandInLogLines();
    ASSERT_EQ(lines.size(), before + 1);
    const std::string& line = lines.back();
    EXPECT_EQ(JsonMember(line, "path"), "/hits");
    EXPECT_EQ(JsonMember(line, "verdict"), "ok");
    EXPECT_NE(line.find("\"pc_name\":\"A&B PC\""), std::string::npos) << line;
}

TEST(StatisticsFormTest, NothingIsPostedWithoutASign)
{
    size_t before = StandInLogLines().size();
    StatisticsFields fields = SampleFields("install");
    fields.sign.clear();
    PostStatistics(fields);
    EXPECT_EQ(StandInLogLines().size(), before);
}

} // namespace
