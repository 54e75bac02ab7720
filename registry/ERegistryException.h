#pragma once

#include "common/Exception.h"

#include <string>

// The only failure TRegistry raises; the message names the value as the caller passed it.
class ERegistryException : public Exception {
public:
    using Exception::Exception;
    const char* ClassName() const noexcept override { return "ERegistryException"; }

    static ERegistryException InvalidDataType(const std::string& valueName)
    {
        return ERegistryException("Invalid data type for '" + valueName + "'");
    }
    static ERegistryException FailedToGetData(const std::string& valueName)
    {
        return ERegistryException("Failed to get data for '" + valueName + "'");
    }
    static ERegistryException FailedToSetData(const std::string& valueName)
    {
        return ERegistryException("Failed to set data for '" + valueName + "'");
    }
};
