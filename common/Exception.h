#pragma once

#include <exception>
#include <string>

// The program's general failure: a GBK message and the name of the failure's class, both of
// which reach the user through the error report.
class Exception : public std::exception {
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}

    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }
    virtual const char* ClassName() const noexcept { return "Exception"; }

private:
    std::string message_;
};
