#include "core/settings/SettingsStore.h"

#include "core/settings/RegFileStore.h"

namespace {

std::shared_ptr<SettingsStore> &installed()
{
    static std::shared_ptr<SettingsStore> store;
    return store;
}

} // namespace

SettingsStore::~SettingsStore() = default;

SettingsStore &SettingsStore::current()
{
    std::shared_ptr<SettingsStore> &store = installed();
    if (!store)
        store = std::make_shared<RegFileStore>();
    return *store;
}

std::shared_ptr<SettingsStore> SettingsStore::setCurrent(std::shared_ptr<SettingsStore> store)
{
    std::shared_ptr<SettingsStore> previous = std::move(installed());
    installed() = std::move(store);
    return previous;
}
