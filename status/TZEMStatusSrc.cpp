#include "status/TZEMStatusSrc.h"

#include <array>

namespace {

struct JobRow {
    const char* name;
    std::int32_t pow, vit, dex, intl, phi, sol, wtr, fir, wnd;
    float hpBase, mpBase, powGrowth, vitGrowth, dexGrowth, intGrowth, phiGrowth;
};

// The coefficients are the floats nearest to the decimals; the level formulas depend on them.
constexpr std::array<JobRow, TZEMStatusSrc::JobCount> jobTable{{
    {"侍", 5, 5, 3, 3, 2, 5, 5, 5, 5, 28.0f, 24.0f, 2.8f, 2.8f, 1.8f, 1.8f, 1.8f},
    {"僧", 4, 4, 2, 4, 4, 6, 7, 6, 6, 26.8f, 25.6f, 2.2f, 2.4f, 1.8f, 2.4f, 1.8f},
    {"神職", 2, 2, 4, 5, 5, 7, 6, 6, 7, 22.0f, 26.8f, 1.8f, 1.8f, 2.2f, 2.6f, 2.8f},
    {"陰陽師", 2, 2, 4, 6, 4, 7, 7, 7, 7, 22.0f, 28.0f, 1.7f, 1.7f, 2.0f, 2.8f, 2.5f},
    {"忍者", 4, 4, 5, 3, 2, 6, 6, 6, 6, 24.4f, 23.2f, 2.6f, 2.0f, 2.8f, 2.0f, 2.0f},
    {"鍛冶屋", 4, 4, 5, 2, 3, 5, 5, 5, 5, 25.6f, 22.0f, 2.4f, 2.6f, 2.4f, 1.8f, 2.2f},
    {"薬師", 3, 3, 4, 5, 3, 6, 6, 7, 6, 23.2f, 24.4f, 1.9f, 2.2f, 2.6f, 2.2f, 2.3f},
}};

struct FactionRow {
    const char* name;
    std::int32_t pow, vit, dex, intl, phi, sol, wtr, fir, wnd;
};

constexpr std::array<FactionRow, TZEMStatusSrc::FactionCount> factionTable{{
    {"上杉", 2, 0, 0, 0, 0, 0, 0, 0, 0},
    {"織田", 0, 0, 0, 0, 1, 0, 0, 1, 0},
    {"斎藤", 0, 0, 0, 1, 1, 0, 0, 0, 0},
    {"徳川", 1, 1, 0, 0, 0, 0, 0, 0, 0},
    {"武田", 1, 0, 0, 1, 0, 0, 0, 0, 0},
    {"今川", 0, -1, 0, 2, 0, 0, 1, 0, 0},
    {"北条", 0, 2, 0, 0, 0, 0, 0, 0, 0},
    {"浅井", 0, 1, 1, 0, 0, 0, 0, 0, 0},
    {"朝倉", 0, -1, 1, 0, 1, 0, 0, 0, 1},
    {"本願寺", 0, 1, 0, 1, 0, 0, 0, 0, 0},
    {"足利", 0, 0, 0, 0, 2, 0, 0, 0, 0},
    {"三好", 0, 0, 0, 0, 0, 0, 1, 0, 1},
    {"雑賀衆", 1, 0, 1, 0, 0, 0, 0, 0, 0},
    {"伊賀忍", 0, 0, 2, 0, -1, 1, 0, 0, 0},
}};

}  // namespace

void TZEMStatusSrc::SetINF(std::uint8_t code) {
    INF = code;
    Calc();
}

void TZEMStatusSrc::SetJOB(std::uint8_t code) {
    JOB = code;
    Calc();
}

void TZEMStatusSrc::Calc() {
    // Step 1 overwrites everything step 2 adds to, so Calc may run any number of times. An
    // unknown job gives a zero row rather than keeping the old values, which the faction step
    // would otherwise raise again on every run.
    JobRow job{};
    if (JOB < jobTable.size()) {
        job = jobTable[JOB];
    }
    POW = job.pow;
    VIT = job.vit;
    DEX = job.dex;
    INT = job.intl;
    PHI = job.phi;
    SOL = job.sol;
    WTR = job.wtr;
    FIR = job.fir;
    WND = job.wnd;
    HPBase = job.hpBase;
    MPBase = job.mpBase;
    POWGrowth = job.powGrowth;
    VITGrowth = job.vitGrowth;
    DEXGrowth = job.dexGrowth;
    INTGrowth = job.intGrowth;
    PHIGrowth = job.phiGrowth;

    if (INF < factionTable.size()) {
        const FactionRow& f = factionTable[INF];
        POW += f.pow;
        VIT += f.vit;
        DEX += f.dex;
        INT += f.intl;
        PHI += f.phi;
        SOL += f.sol;
        WTR += f.wtr;
        FIR += f.fir;
        WND += f.wnd;
    }
}

void TZEMStatusSrc::Assign(const TZEMStatusSrc& other) {
    *this = other;
}

const char* TZEMStatusSrc::jobName(int code) {
    return code >= 0 && code < JobCount ? jobTable[static_cast<std::size_t>(code)].name : "";
}

const char* TZEMStatusSrc::factionName(int code) {
    return code >= 0 && code < FactionCount ? factionTable[static_cast<std::size_t>(code)].name
                                            : "";
}
