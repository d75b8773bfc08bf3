// The arguments of the tools that write the benchmark files: "--help"
// answers with the usage, and a name starting with '-' is refused, so that
// a mistyped option never becomes a file of that name.
#pragma once

#include <cstring>
#include <iostream>

namespace fudeline::bench {

// -1 when the `count` arguments after the program's name may be used;
// otherwise the status to exit with, the usage or the refusal printed.
inline int CheckToolArguments(int argc, char** argv, const char* usage, int count) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::cout << "usage: " << usage << "\n";
            return 0;
        }
    }
    if (argc != count + 1) {
        std::cerr << "usage: " << usage << "\n";
        return 2;
    }
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') {
            std::cerr << argv[0] << ": \"" << argv[i]
                      << "\" is not a file name (names starting with '-' are taken as options; "
                         "write ./" << argv[i] << ")\nusage: " << usage << "\n";
            return 2;
        }
    }
    return -1;
}

}  // namespace fudeline::bench
