// bench_gen: writes a large, realistic Main.xml and Result.xml for the store
// benchmarks into a folder.

#include "bench/store/BenchDataGenerator.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void Usage()
{
    std::fprintf(stderr,
                 "usage: bench_gen [FOLDER] [--results N] [--locations N] [--groups N] [--ungrouped N] [--seed N]\n"
                 "Writes FOLDER/Main.xml and FOLDER/Result.xml (default folder: bench-data).\n"
                 "Defaults: 20000 results, 1000 locations in 50 groups, 100 of them in no group.\n");
}

bool ReadInt(int argc, char** argv, int& i, long long& nValue)
{
    if (i + 1 >= argc)
        return false;
    char* end = nullptr;
    nValue = std::strtoll(argv[++i], &end, 10);
    return end && *end == 0 && nValue >= 0;
}

} // namespace

int main(int argc, char** argv)
{
    CBenchDataGenerator gen;
    std::string strFolder = "bench-data";
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        long long n = 0;
        if (arg == "--help" || arg == "-h") {
            Usage();
            return 0;
        } else if (arg == "--results" && ReadInt(argc, argv, i, n)) {
            gen.m_nResults = static_cast<int>(n);
        } else if (arg == "--locations" && ReadInt(argc, argv, i, n)) {
            gen.m_nLocations = static_cast<int>(n);
        } else if (arg == "--groups" && ReadInt(argc, argv, i, n)) {
            gen.m_nGroups = static_cast<int>(n);
        } else if (arg == "--ungrouped" && ReadInt(argc, argv, i, n)) {
            gen.m_nUngrouped = static_cast<int>(n);
        } else if (arg == "--seed" && ReadInt(argc, argv, i, n)) {
            gen.m_nSeed = static_cast<std::uint64_t>(n);
        } else if (!arg.empty() && arg[0] != '-') {
            strFolder = arg;
        } else {
            Usage();
            return 2;
        }
    }

    const auto t0 = std::chrono::steady_clock::now();
    std::string strError;
    if (!gen.Generate(strFolder, strError)) {
        std::fprintf(stderr, "bench_gen: %s\n", strError.c_str());
        return 1;
    }
    const double dSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();

    std::printf("Wrote %s/Main.xml   %12llu bytes (%.1f MiB): %d locations, %d groups\n", strFolder.c_str(),
                static_cast<unsigned long long>(gen.m_nMainBytes), gen.m_nMainBytes / 1048576.0, gen.m_nLocations,
                gen.m_nGroups);
    std::printf("Wrote %s/Result.xml %12llu bytes (%.1f MiB): %d results, %d with an ID of no location\n",
                strFolder.c_str(), static_cast<unsigned long long>(gen.m_nResultBytes),
                gen.m_nResultBytes / 1048576.0, gen.m_nResults, gen.m_nUnassignedResults);
    std::printf("Results by kind:\n");
    for (int k = 0; k < CBenchDataGenerator::kKinds; ++k)
        std::printf("  %-28s %6d\n", CBenchDataGenerator::KindName(k), gen.m_kindCounts[static_cast<std::size_t>(k)]);
    std::printf("  (continuous series hold %d entries in all)\n", gen.m_nContinueEntries);
    std::printf("Generated in %.2f s\n", dSeconds);
    return 0;
}
