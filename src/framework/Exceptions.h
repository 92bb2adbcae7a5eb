#pragma once
// The program's error classes. Every error that leaves a handler carries a
// class name (shown by the start-up error box), a UTF-16 message and the code
// address at which it was raised.
#include <exception>
#include <string>

namespace snq {

class EException : public std::exception {
public:
    explicit EException(std::u16string message);
    const std::u16string& Message() const noexcept { return message_; }
    void SetMessage(std::u16string message) { message_ = std::move(message); }
    // The address of the code that raised the error (for the start-up box).
    const void* Address() const noexcept { return address_; }
    virtual const char* ClassName() const noexcept { return "Exception"; }
    const char* what() const noexcept override { return "snq::EException"; }

private:
    std::u16string message_;
    const void* address_;
};

#define SNQ_ERROR_CLASS(Name)                                                                      \
    class Name : public EException {                                                               \
    public:                                                                                        \
        using EException::EException;                                                              \
        const char* ClassName() const noexcept override { return #Name; }                          \
    }

SNQ_ERROR_CLASS(EOutOfResources);
SNQ_ERROR_CLASS(EOSError);
SNQ_ERROR_CLASS(EInvalidOperation);
SNQ_ERROR_CLASS(EClipboardException);
SNQ_ERROR_CLASS(ERegistryException);
SNQ_ERROR_CLASS(EOleError);
SNQ_ERROR_CLASS(EOleSysError);
SNQ_ERROR_CLASS(EOleException);

#undef SNQ_ERROR_CLASS

} // namespace snq
