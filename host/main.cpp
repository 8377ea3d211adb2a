#include <iostream>

#include "host_main.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return host::host_main(args, std::cout, std::cerr);
}
