// The importers' long fuzz run: damaged and random interchange-format
// buffers and texts (ImportFuzz.h), built with the sanitizers by
// "make fuzz".
//
//   fuzz_import [--count N] [--seed S]

#include "ImportFuzz.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

int main(int argc, char** argv)
{
    int count = 100000;
    uint32_t seed = 1;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--count") == 0)
            count = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = static_cast<uint32_t>(std::strtoul(argv[i + 1], nullptr, 10));
    }
    if (!std::getenv("QT_QPA_PLATFORM"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    QApplication application(argc, argv);
    TImportFuzzer fuzzer(seed);
    try {
        fuzzer.Run(count);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "fuzz_import: %s; input of %zu bytes:\n", error.what(), fuzzer.LastInput.size());
        for (unsigned char c : fuzzer.LastInput)
            std::fprintf(stderr, "%02X", c);
        std::fprintf(stderr, "\n");
        return 1;
    }
    std::printf("fuzz_import: %d inputs: %d format errors, %d clean imports, %d aborted at the prompt\n", count,
                fuzzer.FormatErrors, fuzzer.CleanImports, fuzzer.Aborts);
    return 0;
}
