#pragma once
// TSession: the engine with its drivers and the passwords given for
// encrypted tables.  The program has one, the default session.

#include "data/engine/Engine.h"

#include <functional>
#include <string>
#include <vector>

class TSession {
public:
    TEngine& Engine() { return FEngine; }
    void AddPassword(const std::string& password);
    void RemovePassword(const std::string& password);
    void RemoveAllPasswords();
    const std::vector<std::string>& Passwords() const { return FPasswords; }
    // Asked when a table needs a password the session lacks; true = the user gave one, retry the open.
    std::function<bool(TSession& session, const std::string& tableName)> OnPassword;

private:
    TEngine FEngine;
    std::vector<std::string> FPasswords;
};

TSession& Session();   // the default session
