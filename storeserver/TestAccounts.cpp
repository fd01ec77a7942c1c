#include "TestAccounts.h"

#include "JsonValue.h"

const std::vector<TestAccount>& testAccounts()
{
    static const std::vector<TestAccount> accounts = {
        {"tester", "orbela123", "10001", "测试玩家"},
        {"测试用户", "mima2024", "10002", "小明"},
        {"玩家三号", "密码&=1", "10003", "超级无敌玩家"},
    };
    return accounts;
}

const TestAccount* findAccountByName(const std::string& username)
{
    for (const auto& account : testAccounts())
        if (account.username == username)
            return &account;
    return nullptr;
}

const TestAccount* findAccountByUid(const std::string& uid)
{
    for (const auto& account : testAccounts())
        if (account.uid == uid)
            return &account;
    return nullptr;
}

std::string avatarUrl(const std::string& baseUrl, const TestAccount& account)
{
    return baseUrl + "/avatar?uid=" + account.uid;
}

JsonValue accountJson(const std::string& baseUrl, const TestAccount& account)
{
    JsonValue user = JsonValue::object();
    user.set("uid", account.uid);
    user.set("nickname", account.nickname);
    user.set("avatar", avatarUrl(baseUrl, account));
    return user;
}
