// A fuzz program for one driver: mutants of the corpus's real tables (or
// saved inputs) run through the driver, built with AddressSanitizer and
// UndefinedBehaviorSanitizer so that a memory fault ends the run.
//
//   fuzz_<driver> [--mutants N] [--seed S] [--max-seed-bytes B] [--shared DIR]
//                 [--only I] [--last-input FILE]
//   fuzz_<driver> --replay FILE...
//
// Mutant i of seed S is the same on every machine: --seed S --only I runs it
// alone.  Before each run the input is saved to the --last-input file, so
// a crash or a hang leaves the input that caused it.  The closing line gives
// the mutants run, how many opened, how many the driver refused with its
// error, and the slowest input.

#include "FuzzMutator.h"
#include "FuzzTarget.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr unsigned HangSeconds = 30;

struct TOptions {
    long Mutants = 200;
    uint64_t Seed = 1;
    long Only = -1;
    size_t MaxSeedBytes = 256 * 1024;
    std::string Shared = TM_SHARED_DIR;
    std::string LastInput;
    std::vector<std::string> Replay;
};

void OnHang(int)
{
    const char message[] = "An input ran longer than the hang limit; it is the last input saved.\n";
    (void)!write(2, message, sizeof message - 1);
    std::abort();
}

TOptions ParseOptions(int argc, char** argv)
{
    TOptions o;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&]() -> std::string {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", arg.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (arg == "--mutants") o.Mutants = std::stol(value());
        else if (arg == "--seed") o.Seed = std::stoull(value());
        else if (arg == "--only") o.Only = std::stol(value());
        else if (arg == "--max-seed-bytes") o.MaxSeedBytes = std::stoul(value());
        else if (arg == "--shared") o.Shared = value();
        else if (arg == "--last-input") o.LastInput = value();
        else if (arg == "--replay") {
            while (i + 1 < argc)
                o.Replay.push_back(argv[++i]);
        } else {
            std::fprintf(stderr, "unknown option %s\n", arg.c_str());
            std::exit(2);
        }
    }
    return o;
}

std::string ScratchFolder()
{
    const fs::path base = fs::exists("/dev/shm") && access("/dev/shm", W_OK) == 0 ? fs::path("/dev/shm")
                                                                                   : fs::temp_directory_path();
    std::string pattern = (base / "tm-fuzz-XXXXXX").string();
    if (!mkdtemp(pattern.data())) {
        std::perror("mkdtemp");
        std::exit(2);
    }
    return pattern;
}

struct TTally {
    long Run = 0, Opened = 0, Refused = 0;
    double Slowest = 0;
    std::string SlowestName;

    void Add(TFuzzOutcome outcome, double seconds, const std::string& name)
    {
        ++Run;
        (outcome == TFuzzOutcome::Opened ? Opened : Refused) += 1;
        if (seconds > Slowest) {
            Slowest = seconds;
            SlowestName = name;
        }
    }
};

TFuzzOutcome RunTimed(const std::string& input, const std::string& folder, const std::string& lastInput,
                      double& seconds)
{
    if (!lastInput.empty())
        std::ofstream(lastInput, std::ios::binary | std::ios::trunc) << input;
    alarm(HangSeconds);
    const auto start = std::chrono::steady_clock::now();
    const TFuzzOutcome outcome =
        RunFuzzInput(FuzzDriver(), reinterpret_cast<const uint8_t*>(input.data()), input.size(), folder);
    seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    alarm(0);
    return outcome;
}

} // namespace

int main(int argc, char** argv)
{
    const TOptions options = ParseOptions(argc, argv);
    std::signal(SIGALRM, OnHang);
    const std::string folder = ScratchFolder();
    const TFuzzDriver& driver = FuzzDriver();
    TTally tally;
    double seconds = 0;

    if (!options.Replay.empty()) {
        for (const std::string& file : options.Replay) {
            std::ifstream in(file, std::ios::binary);
            std::ostringstream bytes;
            bytes << in.rdbuf();
            tally.Add(RunTimed(bytes.str(), folder, options.LastInput, seconds), seconds, file);
        }
    } else {
        const std::vector<TFuzzSeed> seeds = driver.Seeds(options.Shared, options.MaxSeedBytes);
        if (seeds.empty()) {
            std::fprintf(stderr, "%s: no seed tables under %s\n", driver.Name.c_str(), options.Shared.c_str());
            return 2;
        }
        for (long i = 0; i < options.Mutants; ++i) {
            if (options.Only >= 0 && i != options.Only)
                continue;
            const TFuzzSeed& seed = seeds[static_cast<size_t>(i) % seeds.size()];
            std::mt19937_64 random(options.Seed * 1000003u + static_cast<uint64_t>(i));
            std::vector<TFuzzPart> parts = seed.Parts;
            MutateFuzzParts(parts, random);
            const std::string input = PackFuzzInput(parts);
            tally.Add(RunTimed(input, folder, options.LastInput, seconds), seconds,
                      "mutant " + std::to_string(i) + " of " + seed.Name);
        }
        std::printf("%s: %zu seed tables\n", driver.Name.c_str(), seeds.size());
    }
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    std::printf("%s: %ld inputs run, %ld opened, %ld refused with the driver's error, 0 crashes; "
                "slowest %.3f s (%s)\n",
                driver.Name.c_str(), tally.Run, tally.Opened, tally.Refused, tally.Slowest, tally.SlowestName.c_str());
    return 0;
}
