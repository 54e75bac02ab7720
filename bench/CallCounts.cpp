#include "bench/CallCounts.h"

#include "testkit/RegistryCallHook.h"

namespace bench {

CountedRegistryCalls::CountedRegistryCalls() : saved_(ActiveRegistryApi())
{
    RegistryCallHook::Install([this](const RegistryCallFacts& facts, const std::function<LSTATUS()>& system) {
        switch (facts.call) {
        case RegistryCall::OpenKeyEx: ++counts.open; break;
        case RegistryCall::QueryValueEx: ++counts.query; break;
        case RegistryCall::SetValueEx: ++counts.set; break;
        case RegistryCall::QueryInfoKey: ++counts.info; break;
        case RegistryCall::EnumKeyEx: ++counts.enumerate; break;
        case RegistryCall::DeleteOpenedKey: ++counts.remove; break;
        case RegistryCall::CloseKey: ++counts.close; break;
        }
        return system();
    });
}

CountedRegistryCalls::~CountedRegistryCalls()
{
    ActiveRegistryApi() = saved_;
    RegistryCallHook::hook = nullptr;
}

} // namespace bench
