#pragma once
// The exception family every layer raises.  A message is plain UTF-8 text
// meant for the user; the application shows an escaped exception's message
// in a message box, except for EAbort which is silent.

#include <cstdint>
#include <exception>
#include <string>
#include <vector>

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const noexcept { return FMessage; }
    void SetMessage(std::string message) { FMessage = std::move(message); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

// Silent exception: unwinds an operation without a message to the user.
class EAbort : public Exception {
public:
    EAbort() : Exception("Operation aborted") {}
    using Exception::Exception;
};

class EConvertError : public Exception { using Exception::Exception; };
class EVariantError : public Exception { using Exception::Exception; };
class EListError : public Exception { using Exception::Exception; };
class EStreamError : public Exception { using Exception::Exception; };
class EFCreateError : public EStreamError { using EStreamError::EStreamError; };
class EFOpenError : public EStreamError { using EStreamError::EStreamError; };
class EReadError : public EStreamError { using EStreamError::EStreamError; };
class EWriteError : public EStreamError { using EStreamError::EStreamError; };
class EInvalidGridOperation : public Exception { using Exception::Exception; };
class EOutOfResources : public Exception { using Exception::Exception; };
class EInvalidOperation : public Exception { using Exception::Exception; };
class EDatabaseError : public Exception { using Exception::Exception; };

// One entry of the engine's error stack.
struct TDBError {
    uint16_t ErrorCode = 0;
    std::string Message;
};

// A failure reported by the table engine.  Its message lists the engine's
// text for the status and the text of every stack entry, one per line and
// without repeating a line; "BDE error $xxxx" when that gives nothing.
class EDBEngineError : public EDatabaseError {
public:
    EDBEngineError(uint16_t errorCode, std::string statusText, std::vector<TDBError> stack = {});

    uint16_t ErrorCode() const noexcept { return FErrorCode; }
    const std::vector<TDBError>& Errors() const noexcept { return FErrors; }
    int ErrorCount() const noexcept { return static_cast<int>(FErrors.size()); }

    static std::string BuildMessage(uint16_t errorCode, const std::string& statusText,
                                    const std::vector<TDBError>& stack);

private:
    uint16_t FErrorCode;
    std::vector<TDBError> FErrors;
};
