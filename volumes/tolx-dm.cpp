// The volume helper. Erasing a volume's free space or reformatting it is not offered on this
// platform: the helper checks its command line and refuses, and never opens the volume.
#include <cstdio>
#include <cstring>
#include <sysexits.h>

namespace {

constexpr const char* kUsage = "Usage: tolx-dm reformat MOUNT_PATH\n";

bool isAbsolutePath(const char* path)
{
    return path[0] == '/';
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc != 3 || std::strcmp(argv[1], "reformat") != 0 || !isAbsolutePath(argv[2])) {
        std::fputs(kUsage, stderr);
        return EX_USAGE;
    }
    std::fprintf(stderr,
                 "tolx-dm: %s: erasing free space and reformatting volumes is not available on "
                 "this platform; the volume was not touched\n",
                 argv[2]);
    return EX_UNAVAILABLE;
}
