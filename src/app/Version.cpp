#include "Version.h"

namespace kalnor {

// KALNOR_VERSION is defined for this file only, so that a new version
// rebuilds one file.
QString version() {
    return QStringLiteral(KALNOR_VERSION);
}

QString versionConComa() {
    return version().replace(u'.', u',');
}

} // namespace kalnor
