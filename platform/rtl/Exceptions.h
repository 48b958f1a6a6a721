// The exception classes raised by the system's routines.  Each carries a
// fixed English message that callers show to the user as it stands.
#pragma once

#include <stdexcept>
#include <string>

namespace rtl {

class Exception : public std::exception {
public:
    explicit Exception(std::string message) : FMessage(std::move(message)) {}
    const std::string& Message() const { return FMessage; }
    void SetMessage(std::string m) { FMessage = std::move(m); }
    const char* what() const noexcept override { return FMessage.c_str(); }

private:
    std::string FMessage;
};

#define RTL_DECLARE_EXCEPTION(Name, Base)                   \
    class Name : public Base {                              \
    public:                                                 \
        using Base::Base;                                   \
    };

RTL_DECLARE_EXCEPTION(EConvertError, Exception)
RTL_DECLARE_EXCEPTION(EAbort, Exception)
RTL_DECLARE_EXCEPTION(EInOutError, Exception)
RTL_DECLARE_EXCEPTION(EListError, Exception)
RTL_DECLARE_EXCEPTION(EStringListError, Exception)
RTL_DECLARE_EXCEPTION(EStreamError, Exception)
RTL_DECLARE_EXCEPTION(EFilerError, EStreamError)
RTL_DECLARE_EXCEPTION(EReadError, EFilerError)
RTL_DECLARE_EXCEPTION(EWriteError, EFilerError)
RTL_DECLARE_EXCEPTION(EFOpenError, EStreamError)
RTL_DECLARE_EXCEPTION(EFCreateError, EStreamError)
RTL_DECLARE_EXCEPTION(EComponentError, Exception)
RTL_DECLARE_EXCEPTION(EInvalidOperation, Exception)
RTL_DECLARE_EXCEPTION(EInvalidPointer, Exception)
RTL_DECLARE_EXCEPTION(EOutOfMemory, Exception)
RTL_DECLARE_EXCEPTION(EMathError, Exception)
RTL_DECLARE_EXCEPTION(EInvalidArgument, EMathError)
RTL_DECLARE_EXCEPTION(EZeroDivide, EMathError)
RTL_DECLARE_EXCEPTION(EOverflow, EMathError)
RTL_DECLARE_EXCEPTION(ERangeError, Exception)
RTL_DECLARE_EXCEPTION(EIntOverflow, Exception)
RTL_DECLARE_EXCEPTION(EDivByZero, Exception)
RTL_DECLARE_EXCEPTION(EOSError, Exception)
RTL_DECLARE_EXCEPTION(ENotSupportedException, Exception)

// Raises EAbort: the silent exception that ends an operation without a
// message to the user.
[[noreturn]] void Abort();

} // namespace rtl
