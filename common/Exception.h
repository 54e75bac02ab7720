#pragma once

#include <exception>
#include <string>

// The program's general failure: a GBK message and the name of the failure's class, both of
// which reach the user through the error report.
class Exception : public std::exception {
public:
    // Not inlined, so that the address taken is the code that raised the failure.
    [[gnu::noinline]] explicit Exception(std::string message)
        : message_(std::move(message)), address_(__builtin_return_address(0))
    {
    }

    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }
    virtual const char* ClassName() const noexcept { return "Exception"; }
    const void* Address() const noexcept { return address_; }

private:
    std::string message_;
    const void* address_;
};
