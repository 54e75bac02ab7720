#pragma once

#include "registry/TRegistry.h"

// The registry object of one command. However the command ends, an error included, its
// current key is closed and then the object is freed.
class CommandRegistry : public TRegistry {
public:
    CommandRegistry() = default;
    ~CommandRegistry() override { CloseCurrent(); }
};
