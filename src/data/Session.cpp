#include "data/Session.h"

#include <algorithm>

void TSession::AddPassword(const std::string& password)
{
    if (password.empty())
        return;
    if (std::find(FPasswords.begin(), FPasswords.end(), password) == FPasswords.end())
        FPasswords.push_back(password);
}

void TSession::RemovePassword(const std::string& password)
{
    std::erase(FPasswords, password);
}

void TSession::RemoveAllPasswords()
{
    FPasswords.clear();
}

TSession& Session()
{
    static TSession session;
    return session;
}
