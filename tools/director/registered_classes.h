#pragma once

#include <string>
#include <vector>

namespace director {

// The ProgIDs of the classes registered in the machine folder's registry as a served class's
// self-registration writes them: a key HKLM\SOFTWARE\Classes\CLSID\{id} with a LocalServer32 key
// and a ProgID whose own CLSID names {id} again. Sorted. Only reads: a folder or registry that is
// not there registers none, and so does one that cannot be read.
std::vector<std::string> RegisteredProgIds();

}  // namespace director
