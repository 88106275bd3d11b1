#include "PlatformDescription.h"

#include "TextUtil.h"

#include <sys/utsname.h>

bool GetPlatformDescription(char* out, size_t size) {
    struct utsname name;
    if (uname(&name) != 0) {
        CopyBounded(out, size, "");
        return false;
    }
    DescribeOtherPlatform(name.sysname, name.release, name.machine, out, size);
    return true;
}
