// On Windows the builder keeps its preferences in the current user's registry.
#include "builder/prefs/preference_rules.h"

namespace vandrel::builder::prefs {

BuilderPreferences storedPreferences(platform::Machine& machine) {
  return readRegistryPreferences(machine.registry());
}

}  // namespace vandrel::builder::prefs
