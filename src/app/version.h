#ifndef GELMARCH_APP_VERSION_H
#define GELMARCH_APP_VERSION_H

// The one place the game's version is written: -v prints it after the name, and the build reads this
// line (CMakeLists.txt) to version the installable package, so keep it a plain string literal.
#define GELMARCH_VERSION "0.0.gx4.3"

#endif
