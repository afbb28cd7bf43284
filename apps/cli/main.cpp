// mycad: inspect, render and convert drawings without a window.
#include <cstdio>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 2 || std::strcmp(argv[1], "--help") == 0) {
        std::printf("usage: mycad COMMAND [ARGS]\n");
        return argc < 2 ? 2 : 0;
    }
    std::fprintf(stderr, "mycad: unknown command '%s'\n", argv[1]);
    return 2;
}
