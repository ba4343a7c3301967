// travex-host: the stand-in drawing host. Loading drawings and the plug-in comes next.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc > 1 && std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: travex-host DRAWING.svg COMMAND...\n");
        return 0;
    }
    std::fprintf(stderr, "travex-host: drawings and the plug-in cannot be loaded yet\n");
    return 1;
}
