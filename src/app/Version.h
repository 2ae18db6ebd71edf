#pragma once

#include <QString>

namespace kalnor {

// The version is written once, in the top CMakeLists.txt (project VERSION);
// the package, the manual pages, the metainfo and every window take it here.
QString version();

// As the Spanish texts write it: "1,05".
QString versionConComa();

} // namespace kalnor
