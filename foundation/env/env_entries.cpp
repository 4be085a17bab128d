#include "foundation/env/env_entries.h"

namespace n_env {

// Each entry is registered under its own name as it is constructed.
#define KAVREL_ENV_DEFINE(type, name, ...) t_envEntry<type> name(L## #name, __VA_ARGS__);
KAVREL_ENV_ENTRIES(KAVREL_ENV_DEFINE)
#undef KAVREL_ENV_DEFINE

namespace {
#define KAVREL_ENV_POINTER(type, name, ...) &name,
const t_envEntryBase* const c_all[] = {KAVREL_ENV_ENTRIES(KAVREL_ENV_POINTER)};
#undef KAVREL_ENV_POINTER
}  // namespace

const t_envEntryBase* const* AllEntries(size_t& count)
{
    count = sizeof(c_all) / sizeof(c_all[0]);
    return c_all;
}

}  // namespace n_env
