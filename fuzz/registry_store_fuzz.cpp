// registry.ini as anything may have left it: reading ends without a fault,
// and what was read is written and read back unchanged.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/registry/registry_store.h"

namespace {

bool Same(const registry::RegistryContents& a, const registry::RegistryContents& b) {
  if (a.Keys().size() != b.Keys().size()) return false;
  for (size_t k = 0; k < a.Keys().size(); ++k) {
    const registry::StoredKey& x = a.Keys()[k];
    const registry::StoredKey& y = b.Keys()[k];
    if (x.path != y.path || x.values.size() != y.values.size()) return false;
    for (size_t v = 0; v < x.values.size(); ++v)
      if (x.values[v].name != y.values[v].name || x.values[v].data != y.values[v].data) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  registry::RegistryContents read = registry::ParseRegistryText(text);
  if (!Same(read, registry::ParseRegistryText(registry::RegistryText(read)))) std::abort();
  if (registry::UnescapeRegistryText(registry::EscapeRegistryText(text)) != text) std::abort();
  return 0;
}
