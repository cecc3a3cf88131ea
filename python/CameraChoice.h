// Which camera nimbrel_model.open() opens: in a simulator build the caller
// may name a simulated one; the vendor's SDK opens the first camera it finds.
// The hosts' chooser decides; its usage error becomes a ValueError.
#pragma once

#include <optional>
#include <string>

namespace nimbrel_python {

// ValueError for a name the build cannot honour.
void chooseCamera(const std::optional<std::string>& name);

}  // namespace nimbrel_python
