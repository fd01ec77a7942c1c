#pragma once

#include <string>
#include <vector>

// The forum's fixed test accounts. The second has a Chinese name, so the
// percent-encoding of the login's user name is exercised; the third a
// password with non-ASCII characters, "&" and "=", and a long nickname.
struct TestAccount {
    std::string username;
    std::string password;
    std::string uid;
    std::string nickname;
};

const std::vector<TestAccount>& testAccounts();
const TestAccount* findAccountByName(const std::string& username);
const TestAccount* findAccountByUid(const std::string& uid);
class JsonValue;

// The avatar address the login answer gives; it redirects to the picture.
std::string avatarUrl(const std::string& baseUrl, const TestAccount& account);
// The user as the login answer and the outside-account login page give it:
// "uid", "nickname" and "avatar".
JsonValue accountJson(const std::string& baseUrl, const TestAccount& account);
