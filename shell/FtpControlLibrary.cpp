#include "FtpControlLibrary.h"

#include <dlfcn.h>

namespace orvane {

const FtpControlEntry* ftpControlEntry(QString* error)
{
    static const FtpControlEntry* entry = nullptr;
    if (entry)
        return entry;
    // Opened by name from the program itself, the module is looked for on the
    // program's own run path: the folder of its private libraries, in the
    // build tree and installed alike.
    void* module = dlopen(ORVANE_FTP_MODULE, RTLD_NOW | RTLD_LOCAL);
    if (!module) {
        *error = QString::fromLocal8Bit(dlerror());
        return nullptr;
    }
    using Lookup = const FtpControlEntry* (*)();
    auto lookup = reinterpret_cast<Lookup>(dlsym(module, QT_STRINGIFY(ORVANE_FTP_CONTROL_ENTRY)));
    if (!lookup) {
        *error = QString::fromLocal8Bit(dlerror());
        dlclose(module);
        return nullptr;
    }
    entry = lookup();
    return entry;
}

}  // namespace orvane
