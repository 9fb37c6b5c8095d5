#include "platform/Exceptions.h"

#include <algorithm>
#include <cstdio>

namespace {

void AppendLine(std::vector<std::string>& lines, const std::string& text)
{
    if (text.empty())
        return;
    if (std::find(lines.begin(), lines.end(), text) == lines.end())
        lines.push_back(text);
}

} // namespace

EDBEngineError::EDBEngineError(uint16_t errorCode, std::string statusText, std::vector<TDBError> stack)
    : EDatabaseError(BuildMessage(errorCode, statusText, stack)),
      FErrorCode(errorCode),
      FErrors(std::move(stack))
{
    if (FErrors.empty() || FErrors.front().ErrorCode != errorCode)
        FErrors.insert(FErrors.begin(), TDBError{errorCode, std::move(statusText)});
}

std::string EDBEngineError::BuildMessage(uint16_t errorCode, const std::string& statusText,
                                         const std::vector<TDBError>& stack)
{
    std::vector<std::string> lines;
    AppendLine(lines, statusText);
    for (const TDBError& entry : stack)
        AppendLine(lines, entry.Message);
    if (lines.empty()) {
        char buffer[32];
        std::snprintf(buffer, sizeof buffer, "BDE error $%.4x", errorCode);
        return buffer;
    }
    std::string message;
    for (const std::string& line : lines) {
        if (!message.empty())
            message += '\n';
        message += line;
    }
    return message;
}
