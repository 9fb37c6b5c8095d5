#include "data/engine/Engine.h"

#include "data/engine/EngineStatus.h"

#include <algorithm>
#include <strings.h>

void TEngine::RegisterDriver(std::shared_ptr<TEngineDriver> driver)
{
    FDrivers.push_back(std::move(driver));
}

void TEngine::UnregisterDriver(const TEngineDriver* driver)
{
    std::erase_if(FDrivers, [driver](const auto& d) { return d.get() == driver; });
}

TEngineDriver* TEngine::FindDriver(const std::string& name) const
{
    // Later registrations win, so a test can stand in for a built-in driver.
    for (auto it = FDrivers.rbegin(); it != FDrivers.rend(); ++it)
        for (const std::string& n : (*it)->Names())
            if (strcasecmp(n.c_str(), name.c_str()) == 0)
                return it->get();
    return nullptr;
}

TEngineDriver& TEngine::Driver(const std::string& name) const
{
    if (TEngineDriver* driver = FindDriver(name))
        return *driver;
    RaiseEngineError(DBIERR_UNKNOWNTBLTYPE, {"Driver: " + name});
}
