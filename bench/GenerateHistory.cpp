// Writes a reproducible synthetic draw history as CSV that `nanazubario-cli import` takes:
//   nanazubario-genhistory DRAWS SEED [--gaps PERCENT] [--incomplete PERCENT]
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <random>

int main(int argc, char *argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s DRAWS SEED [--gaps PERCENT] [--incomplete PERCENT]\n", argv[0]);
        return 2;
    }
    const int draws = std::atoi(argv[1]);
    std::mt19937 random(std::uint32_t(std::strtoul(argv[2], nullptr, 10)));
    int gapPercent = 0, incompletePercent = 0;
    for (int i = 3; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--gaps") == 0)
            gapPercent = std::atoi(argv[i + 1]);
        else if (std::strcmp(argv[i], "--incomplete") == 0)
            incompletePercent = std::atoi(argv[i + 1]);
    }
    std::uniform_int_distribution<int> percent(0, 99);
    std::printf("回数,抽せん日,第1数字,第2数字,第3数字,第4数字,第5数字,第6数字,第7数字,ボーナス数字1,ボーナス数字2\n");
    std::array<int, 37> pool;
    int number = 0;
    for (int written = 0; written < draws;) {
        ++number;
        if (gapPercent && percent(random) < gapPercent)
            continue; // a draw number missing from the history
        std::iota(pool.begin(), pool.end(), 1);
        std::shuffle(pool.begin(), pool.end(), random);
        std::sort(pool.begin(), pool.begin() + 7);
        const bool incomplete = incompletePercent && percent(random) < incompletePercent;
        std::printf("%d,", number);
        for (int k = 0; k < 9; ++k) {
            // An incomplete draw lacks its second bonus number, as a half-typed row would.
            if (incomplete && k == 8)
                std::printf(",");
            else
                std::printf(",%d", pool[k]);
        }
        std::printf("\n");
        ++written;
    }
    return 0;
}
