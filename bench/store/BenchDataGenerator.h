#pragma once

#include <array>
#include <cstdint>
#include <string>

// Writes a large, realistic pair of data files (Main.xml and Result.xml) for
// the store benchmarks. The text is produced directly, in the layout the store
// itself writes (line-broken, no indentation, CR LF), so generating tens of
// megabytes takes well under a second. The same options and seed always give
// the same bytes.
class CBenchDataGenerator
{
public:
    static constexpr int kKinds = 15;

    int m_nLocations = 1000;
    int m_nGroups = 50;
    // Locations filed under no group; the others are spread over the groups.
    int m_nUngrouped = 100;
    int m_nResults = 20000;
    // Share of results whose ID names no location.
    double m_dUnassignedShare = 0.05;
    std::uint64_t m_nSeed = 0x51A7D00DULL;

    // What the last Generate wrote.
    std::uint64_t m_nMainBytes = 0;
    std::uint64_t m_nResultBytes = 0;
    int m_nUnassignedResults = 0;
    int m_nContinueEntries = 0;
    std::array<int, kKinds> m_kindCounts{};

    // The "Function" words, in the order of m_kindCounts.
    static const char* KindName(int nKind);

    // Writes both files into the folder (made when missing). Returns false
    // with a message when a file cannot be written.
    bool Generate(const std::string& strFolder, std::string& strError);
};
